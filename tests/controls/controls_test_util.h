#pragma once
// Windows for the control tests: a shown popup that paints one colour and
// records the commands it receives.

#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/pixels.h"
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
