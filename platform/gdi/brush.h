#pragma once
// CBrush: solid, hatched (8 x 8 patterns; the background takes the DC's
// background colour), null, or a pattern from a bitmap (a monochrome pattern
// draws its 0 bits in the DC's text colour and its 1 bits in its background colour).

#include "platform/gdi/gdi_object.h"

class CBitmap;

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
    explicit CBrush(CBitmap* pattern) { CreatePatternBrush(pattern); }

    // Each returns FALSE when a brush is already held or the argument is invalid.
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* pattern);
    BOOL CreateBrushIndirect(const LOGBRUSH* record);
    // Attaches the shared brush of a system colour (GetSysColorBrush).
    BOOL CreateSysColorBrush(int index);
    BOOL GetLogBrush(LOGBRUSH* record) const;

    static CBrush* FromHandle(HBRUSH handle);
};

HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
