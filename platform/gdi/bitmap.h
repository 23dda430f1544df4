#pragma once
// CBitmap: a colour (32 bits per pixel inside) or monochrome bitmap. A bitmap
// selected into a memory DC receives that DC's drawing. Bitmap resources are
// embedded PNG or BMP files of type "BITMAP".

#include "platform/gdi/gdi_object.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    // 1 plane and 1 bit per pixel make a monochrome bitmap, anything else a colour
    // one (bitsPerPixel is reported back by GetBitmap). bits, when given, holds
    // rows padded to 16 bits for 1 bpp, or 0x00RRGGBB words for 32 bpp.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* record);
    // Same format as the bitmap selected in dc (monochrome for a fresh memory DC,
    // as on Windows), or colour for a window, printer or screen DC. Starts black.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateDiscardableBitmap(CDC* dc, int width, int height)
    {
        return CreateCompatibleBitmap(dc, width, height);
    }
    // From the embedded resource ("BITMAP", id). FALSE when missing or unreadable.
    BOOL LoadBitmap(UINT resourceId);
    int GetBitmap(BITMAP* record) const;
    // Raw pixel access: 32 bpp rows of 0x00RRGGBB words, top-down; 1 bpp bitmaps
    // read and write 16-bit padded rows. Return bytes copied.
    DWORD GetBitmapBits(DWORD count, void* bits) const;
    DWORD SetBitmapBits(DWORD count, const void* bits);
    CSize GetBitmapDimension() const;

    static CBitmap* FromHandle(HBITMAP handle);
};

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP LoadBitmap(void* module, UINT resourceId);
// Reads rows of a bitmap as a 24- or 32-bit DIB (blue, green, red byte order;
// a negative biHeight asks for rows top-down). With bits null only fills the
// header. Returns the number of rows copied, 0 on failure.
int GetDIBits(
    HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, void* bits, BITMAPINFO* info, UINT usage);
