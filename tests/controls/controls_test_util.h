#pragma once
// Windows for the control tests: a shown popup that paints one colour and
// records the commands it receives, and snapshots of windows as they paint.

#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/bitmap_file.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/input_seam.h"
#include "platform/wnd/paint_dc.h"
#include "platform/wnd/wnd.h"
#include "tests/support/ui_pump.h"

inline constexpr COLORREF kBackdrop = RGB(40, 120, 60);

struct CommandRecord {
    UINT id;
    UINT code;
    LPARAM control;
};

// A shown popup filled with one colour that records WM_COMMAND.
class CBackdropWnd : public CWnd {
public:
    COLORREF m_color = kBackdrop;
    std::vector<CommandRecord> m_commands;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnWm<WM_PAINT, &CBackdropWnd::OnPaint>(),
            });
        return &kMap;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back({ LOWORD(wParam), HIWORD(wParam), lParam });
        return TRUE;
    }

    int Count(UINT id, UINT code) const
    {
        int n = 0;
        for (const CommandRecord& r : m_commands)
            n += r.id == id && r.code == code;
        return n;
    }

    void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, m_color);
    }

    BOOL Show(int width = 360, int height = 240)
    {
        return CreateEx(0, nullptr, "backdrop", WS_POPUP | WS_VISIBLE, CRect(40, 40, 40 + width, 40 + height),
            nullptr, 0);
    }
};

// What a window paints (its own painting, not its children), read pixel by pixel.
class Snapshot {
public:
    explicit Snapshot(CWnd& window)
    {
        CRect client;
        window.GetClientRect(&client);
        m_width = client.Width();
        m_height = client.Height();
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateBitmap(m_width, m_height, 1, 32, nullptr);
        m_old = m_dc.SelectObject(&m_bitmap);
        m_ok = PrintWindow(window.GetSafeHwnd(), &m_dc);
    }
    ~Snapshot() { m_dc.SelectObject(m_old); }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    bool Ok() const { return m_ok != FALSE; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    CDC& Dc() { return m_dc; }
    int Count(COLORREF color, const CRect& area)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == color;
        return n;
    }
    int Count(COLORREF color) { return Count(color, CRect(0, 0, m_width, m_height)); }
    // Bounding box of the pixels of area that differ from background.
    CRect Ink(COLORREF background, const CRect& area) { return Box(background, false, area); }
    // Bounding box of the pixels of area in color.
    CRect InkOf(COLORREF color, const CRect& area) { return Box(color, true, area); }
    BOOL Save(const char* path) { return AfxSaveBitmapAsPng(m_bitmap, path); }

private:
    CRect Box(COLORREF color, bool equal, const CRect& area)
    {
        CRect box(area.right, area.bottom, area.left, area.top);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if ((At(x, y) == color) == equal) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.IsRectEmpty() ? CRect() : box;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
    int m_width = 0;
    int m_height = 0;
    BOOL m_ok = FALSE;
};

// Each channel minus a quarter of it, truncated.
inline COLORREF Darker(COLORREF c)
{
    const auto d = [](int v) { return static_cast<int>(v - v * 0.25); };
    return RGB(d(GetRValue(c)), d(GetGValue(c)), d(GetBValue(c)));
}

// Left-button click at point: down and up.
inline void Click(HWND hwnd, POINT point)
{
    AfxSimulateMouse(hwnd, WM_LBUTTONDOWN, point, MK_LBUTTON);
    AfxSimulateMouse(hwnd, WM_LBUTTONUP, point, 0);
}
