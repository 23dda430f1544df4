#pragma once
// CRgn: a region of pixels (right and bottom edges exclusive, as rectangles).

#include "platform/gdi/gdi_object.h"

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT* rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateEllipticRgnIndirect(const RECT* rect);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);

    // this = a op b (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY takes a). Returns
    // NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(const RECT* rect) { SetRectRgn(rect->left, rect->top, rect->right, rect->bottom); }
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(const RECT* rect) const;
    int GetRgnBox(RECT* rect) const;
    BOOL EqualRgn(const CRgn* other) const;

    static CRgn* FromHandle(HRGN handle);
};

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
int CombineRgn(HRGN destination, HRGN a, HRGN b, int mode);
