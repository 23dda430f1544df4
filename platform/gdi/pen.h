#pragma once
// CPen: a cosmetic or geometric pen. Styles PS_SOLID, PS_DASH, PS_DOT,
// PS_DASHDOT, PS_DASHDOTDOT, PS_ALTERNATE, PS_NULL and PS_INSIDEFRAME (lines of a
// wide inside-frame pen stay within the bounding rectangle of Rectangle, RoundRect
// and Ellipse). Width 0 and 1 draw one device pixel wide.

#include "platform/gdi/gdi_object.h"

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    CPen(int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr)
    {
        CreatePen(style, width, brush, styleCount, styles);
    }

    // FALSE when a pen is already held.
    BOOL CreatePen(int style, int width, COLORREF color);
    // Geometric form: the colour comes from a solid brush record.
    BOOL CreatePen(
        int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr);
    BOOL CreatePenIndirect(const LOGPEN* record);
    BOOL GetLogPen(LOGPEN* record) const;

    static CPen* FromHandle(HPEN handle);
};

HPEN CreatePen(int style, int width, COLORREF color);
