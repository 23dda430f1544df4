#pragma once
// CImageList: a row of equally sized images, each with an optional mask
// (ILC_MASK). Images added with a mask colour become transparent where they have
// that colour, and those pixels turn black in the image, as on Windows.

#include "platform/gdi/gdi_types.h"

class CBitmap;
class CDC;

class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // Empty list of cx x cy images. FALSE when a list is already held.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From the bitmap resource cut into cx-wide images, with a mask colour
    // (CLR_NONE: no mask).
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF maskColor);
    BOOL DeleteImageList();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    // Add the bitmap cut into images of the list's width; return the index of the
    // first image added, -1 on failure.
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask);
    int Replace(int index, HICON icon);
    // index -1 removes all.
    BOOL Remove(int index);
    int GetImageCount() const;
    BOOL GetImageInfo(int index, IMAGEINFO* info) const;
    BOOL GetIconSize(int* cx, int* cy) const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;

    // ILD_NORMAL draws over the list's background colour, or through the mask
    // when that is CLR_NONE; ILD_TRANSPARENT always through the mask; ILD_MASK
    // draws the mask; ILD_BLEND50/25 blend with the highlight colour.
    BOOL Draw(CDC* dc, int index, POINT point, UINT style);
    // A new icon of the image (the caller destroys it); null when out of range.
    HICON ExtractIcon(int index);

    static CImageList* FromHandle(HIMAGELIST list);
};
