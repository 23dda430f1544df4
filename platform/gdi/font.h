#pragma once
// CFont: a logical font. Faces are mapped onto installed fonts through a fixed
// substitution table (Korean faces onto NanumGothic, Latin faces onto DejaVu,
// with NanumGothic behind them for Hangul). A negative height is the character
// height, a positive one the cell height, in logical units of the DC that draws.

#include "platform/gdi/gdi_object.h"

class CDC;

class CFont : public CGdiObject {
public:
    // FALSE when a font is already held or the record is null.
    BOOL CreateFontIndirect(const LOGFONT* record);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
        BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
        BYTE pitchAndFamily, LPCTSTR faceName);
    // pointSize in tenths of a point; the height becomes logical units of dc (the
    // screen's 96 dpi without one): 90 gives -12.
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    // The same with record->lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* record, CDC* dc = nullptr);
    // Copies the record; FALSE without a font.
    int GetLogFont(LOGFONT* record) const;

    static CFont* FromHandle(HFONT handle);
};

HFONT CreateFontIndirect(const LOGFONT* record);

// The installed font family a face name is drawn with ("Verdana" -> "DejaVu Sans").
const char* GdiSubstituteFace(const char* faceName);
