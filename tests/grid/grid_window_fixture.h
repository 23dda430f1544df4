#pragma once
// A grid window on a fake owner that records every notification and
// WM_GRID_CELLEDITED in order.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_ctrl.h"
#include "grid/title_tip.h"
#include "grid_test_util.h"
#include "platform/wnd/core/keyboard.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

// Pseudo-code of WM_GRID_CELLEDITED in the recorded events.
inline constexpr int kCellEdited = 1124;

struct GridEvent {
    int code;
    int row;
    int col;
    friend bool operator==(const GridEvent& a, const GridEvent& b)
    {
        return a.code == b.code && a.row == b.row && a.col == b.col;
    }
};

inline std::ostream& operator<<(std::ostream& os, const GridEvent& e)
{
    return os << "{" << e.code << " " << e.row << "," << e.col << "}";
}

class COwnerWnd : public CWnd {
public:
    std::vector<GridEvent> events;
    LRESULT beginEditReply = 0;
    LRESULT endEditReply = 0;
    std::function<void(int, int)> onCellEdited;
    // Virtual mode: answers each display request (the item arrives filled
    // from the default cell); the requested cells and cache hints in order.
    std::function<void(GRIDITEM&)> onDispInfo;
    std::vector<GRIDITEM> displayRequests;
    std::vector<CGridCellRange> cacheHints;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&COwnerWnd::OnCellEdited>(WM_GRID_CELLEDITED),
            });
        return &kMap;
    }

    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        const auto* nm = reinterpret_cast<const GRIDNOTIFY*>(lParam);
        const int code = static_cast<int>(nm->hdr.code);
        if (code == GRIDNOTIFY_GETDISPINFO) {
            GRIDITEM& item = reinterpret_cast<GRIDDISPINFO*>(lParam)->item;
            displayRequests.push_back(item);
            if (onDispInfo)
                onDispInfo(item);
            return TRUE;
        }
        if (code == GRIDNOTIFY_CACHEHINT) {
            cacheHints.push_back(reinterpret_cast<const GRIDCACHEHINT*>(lParam)->range);
            return TRUE;
        }
        events.push_back({ code, nm->iRow, nm->iColumn });
        *result
            = code == GRIDNOTIFY_BEGINEDIT ? beginEditReply : (code == GRIDNOTIFY_ENDEDIT ? endEditReply : 0);
        return TRUE;
    }

    // WM_COMMAND messages from the grid: (wParam, lParam).
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.emplace_back(wParam, lParam);
        return TRUE;
    }

    LRESULT OnCellEdited(WPARAM wParam, LPARAM lParam)
    {
        events.push_back({ kCellEdited, static_cast<int>(wParam), static_cast<int>(lParam) });
        if (onCellEdited)
            onCellEdited(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    }

    // Events with these codes only, in order.
    std::vector<GridEvent> Only(std::initializer_list<int> codes) const
    {
        std::vector<GridEvent> out;
        for (const GridEvent& e : events)
            if (std::find(codes.begin(), codes.end(), e.code) != codes.end())
                out.push_back(e);
        return out;
    }
};

// A point as the mouse messages carry it.
inline LPARAM At(CPoint p)
{
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

// rows x cols with one heading row and column, every row and column of the
// given size.
inline void ShapeGrid(CGridCtrl& grid, int rows, int cols, int width, int height)
{
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int r = 0; r < rows; ++r)
        grid.SetRowHeight(r, height);
    for (int c = 0; c < cols; ++c)
        grid.SetColumnWidth(c, width);
}

// The grid as it paints, in a bitmap of its client size.
class GridPixels : public Canvas {
public:
    explicit GridPixels(CGridCtrl& grid)
        : Canvas(ClientOf(grid).Width(), ClientOf(grid).Height())
    {
        grid.OnDraw(&Dc());
    }

private:
    static CRect ClientOf(CGridCtrl& grid)
    {
        CRect client;
        grid.GetClientRect(client);
        return client;
    }
};

// A 20 x 6 grid (one heading row and column) of 50 x 20 cells in a 400 x 300
// client area, every cell "r,c".
class GridWindowTest : public ::testing::Test {
protected:
    static constexpr int kCellWidth = 50;
    static constexpr int kCellHeight = 20;

    void SetUp() override
    {
        ClearKeyStateOverrides();
        ASSERT_TRUE(
            owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 500), nullptr, 0));
        ASSERT_TRUE(grid.Create(CRect(10, 10, 410, 310), &owner, 1005, WS_CHILD | WS_VISIBLE));
        Shape(20, 6);
    }

    void TearDown() override
    {
        ClearKeyStateOverrides();
        SetDragLoopHook({});
        grid.DestroyWindow();
        owner.DestroyWindow();
    }

    void Shape(int rows, int cols)
    {
        ShapeGrid(grid, rows, cols, kCellWidth, kCellHeight);
        FillCoordinates(grid);
        grid.ResetScrollBars();
        owner.events.clear();
    }

    // Centre of a cell at scroll position 0.
    static CPoint Centre(int row, int col)
    {
        return CPoint(col * kCellWidth + kCellWidth / 2, row * kCellHeight + kCellHeight / 2);
    }

    void Key(UINT vk) { grid.SendMessage(WM_KEYDOWN, vk, 0); }
    void Char(UINT ch) { grid.SendMessage(WM_CHAR, ch, 0); }
    // A key pressed while modifier is held.
    void KeyWith(UINT modifier, UINT vk)
    {
        SetKeyStateOverride(modifier, TRUE);
        Key(vk);
        SetKeyStateOverride(modifier, FALSE);
    }

    // A mouse message at a client point.
    void Mouse(UINT message, CPoint p, WPARAM keys = 0) { grid.SendMessage(message, keys, At(p)); }
    void ClickAt(CPoint p, UINT keys = 0)
    {
        Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, p, keys);
    }
    void Click(int row, int col, UINT keys = 0) { ClickAt(Centre(row, col), keys); }
    // A press at from, a move to to and the release there.
    void Drag(CPoint from, CPoint to)
    {
        Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, to);
    }

    // Empties every cell, or only the heading row's.
    void Blank(bool headingsOnly = false)
    {
        for (int r = 0; r < (headingsOnly ? 1 : grid.GetRowCount()); ++r)
            for (int c = 0; c < grid.GetColumnCount(); ++c)
                grid.SetItemText(r, c, "");
    }

    // Opens the cell's editor with F2 and puts text in it: the editor's
    // window, or null when none opened.
    HWND OpenEditor(int row, int col, const char* text)
    {
        grid.SetFocusCell(row, col);
        Key(VK_F2);
        CWnd* editor = EditorOf(row, col);
        if (!editor)
            return nullptr;
        editor->SetWindowText(text);
        return editor->GetSafeHwnd();
    }

    // The open in-place editor of a cell, or null.
    CWnd* EditorOf(int row, int col)
    {
        CGridCellBase* cell = grid.GetCell(row, col);
        return cell && cell->IsEditing() ? cell->GetEditWnd() : nullptr;
    }

    // Types text into the open editor and ends it with key (a WM_CHAR key such
    // as VK_RETURN, or a WM_KEYDOWN arrow when arrow is TRUE).
    void FinishEdit(int row, int col, const char* text, UINT key, BOOL arrow = FALSE)
    {
        CWnd* editor = EditorOf(row, col);
        ASSERT_NE(editor, nullptr) << "no editor on " << row << "," << col;
        const HWND hwnd = editor->GetSafeHwnd();
        if (text)
            editor->SetWindowText(text);
        editor->SendMessage(arrow ? WM_KEYDOWN : WM_CHAR, key, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
    }

    COwnerWnd owner;
    CGridCtrl grid;
};
