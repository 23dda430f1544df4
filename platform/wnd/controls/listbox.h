#pragma once
// CListBox: a list of strings, each with an item data value. The strings and
// the selection belong to the control object; the on-screen list follows them.
// Plain boxes select one string; LBS_MULTIPLESEL boxes toggle a string per
// click, LBS_EXTENDEDSEL boxes select one per click and more with Ctrl and
// Shift. A user's click, double-click or arrow key tells the parent through
// WM_COMMAND with LBN_SELCHANGE or LBN_DBLCLK when the style has LBS_NOTIFY;
// selecting from code tells nobody. UI thread.

#include <vector>

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
inline constexpr DWORD LBS_MULTIPLESEL = 0x0008;
inline constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
inline constexpr int LB_ERR = -1;

class CListBox : public CWnd {
public:
    // Creates a "LISTBOX" child window (LBS_ styles in style).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds the string: with LBS_SORT at its place in the order (ASCII case
    // ignored; equal strings after the ones already there), else at the end.
    // Its index.
    int AddString(LPCTSTR text);
    // Inserts the string before index (-1: at the end) without sorting; its
    // index, LB_ERR for an index beyond the end.
    int InsertString(int index, LPCTSTR text);
    // Removes the string; the number of strings left, LB_ERR for a bad
    // index. Removing the selected string leaves none selected.
    int DeleteString(UINT index);
    // Removes every string and the selection.
    void ResetContent();

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The item data of the string (0 when added), LB_ERR for a bad index.
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    // The string into text; its length in bytes, LB_ERR for a bad index.
    int GetText(int index, CString& text) const;
    // Length of the string in bytes, LB_ERR for a bad index.
    int GetTextLen(int index) const;

    // The selected index, LB_ERR when none.
    int GetCurSel() const { return m_curSel; }
    // Selects the string (-1: none) and scrolls it into view; LB_ERR for -1
    // or an index out of range (the selection is then cleared).
    int SetCurSel(int index);

    // Scrolls the on-screen list so that the string is the first one shown,
    // or as near the top as the end of the list lets it (the last string then
    // shows at the bottom); LB_ERR for a bad index. The place holds while
    // strings are added; SetCurSel and ResetContent give it up.
    int SetTopIndex(int index);

    // Boxes with several selections (else LB_ERR): selects or deselects the
    // string, or every string for index -1; whether a string is selected
    // (> 0); how many are, and their indices in order (at most maxItems).
    int SetSel(int index, BOOL select = TRUE);
    int GetSel(int index) const;
    int GetSelCount() const;
    int GetSelItems(int maxItems, int* items) const;
    BOOL IsMultipleSelection() const;

    // The string's rectangle in client coordinates; LB_ERR for a bad index or
    // while the list is not on screen.
    int GetItemRect(int index, LPRECT rect) const;

    // The on-screen list's report of a user's choice; sends the notification.
    void OnUserSelect(int index);
    void OnUserSelectRows(const std::vector<int>& rows);
    // The on-screen list's caret, with several selections.
    void SetCurSelCaret(int index);
    void OnUserDoubleClick();

private:
    void Notify(UINT code);
    void SyncWidget() const;

    struct Item {
        CString text;
        DWORD_PTR data = 0;
        bool selected = false;
    };

    bool ValidIndex(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<Item> m_items;
    int m_curSel = LB_ERR; // with several selections: the string with the caret
    int m_topIndex = LB_ERR; // the string scrolled to the top, LB_ERR for none
};
