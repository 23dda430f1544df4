#pragma once
// A memory DC over a colour bitmap, for drawing tests that read pixels back.

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), BOOL mono = FALSE)
    {
        m_dc.CreateCompatibleDC(nullptr);
        if (mono)
            m_bitmap.CreateBitmap(width, height, 1, 1, nullptr);
        else
            m_bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        m_old = m_dc.SelectObject(&m_bitmap);
        const RECT all { 0, 0, width, height };
        m_dc.FillSolidRect(&all, fill);
        m_dc.SetBkColor(RGB(255, 255, 255));
    }
    ~Canvas() { m_dc.SelectObject(m_old); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CDC& dc() { return m_dc; }
    CBitmap& bitmap() { return m_bitmap; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

    // Bounding box of the pixels that differ from background (empty rect if none).
    CRect Ink(COLORREF background)
    {
        BITMAP info;
        m_bitmap.GetBitmap(&info);
        CRect box(info.bmWidth, info.bmHeight, 0, 0);
        for (int y = 0; y < info.bmHeight; ++y)
            for (int x = 0; x < info.bmWidth; ++x)
                if (At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.IsRectEmpty() ? CRect() : box;
    }
    int Count(COLORREF color)
    {
        BITMAP info;
        m_bitmap.GetBitmap(&info);
        int n = 0;
        for (int y = 0; y < info.bmHeight; ++y)
            for (int x = 0; x < info.bmWidth; ++x)
                n += At(x, y) == color;
        return n;
    }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};
