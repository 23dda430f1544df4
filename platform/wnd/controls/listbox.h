#pragma once
// CListBox: a single-selection list of strings. The strings and the selection
// belong to the control object; the on-screen list follows them. A user's
// click, double-click or arrow key tells the parent through WM_COMMAND with
// LBN_SELCHANGE or LBN_DBLCLK when the style has LBS_NOTIFY; selecting from
// code tells nobody. UI thread.

#include <vector>

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
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
    // The string into text; its length in bytes, LB_ERR for a bad index.
    int GetText(int index, CString& text) const;
    // Length of the string in bytes, LB_ERR for a bad index.
    int GetTextLen(int index) const;

    // The selected index, LB_ERR when none.
    int GetCurSel() const { return m_curSel; }
    // Selects the string (-1: none) and scrolls it into view; LB_ERR for -1
    // or an index out of range (the selection is then cleared).
    int SetCurSel(int index);

    // The string's rectangle in client coordinates; LB_ERR for a bad index or
    // while the list is not on screen.
    int GetItemRect(int index, LPRECT rect) const;

    // The on-screen list's report of a user's choice; sends the notification.
    void OnUserSelect(int index);
    void OnUserDoubleClick();

private:
    void Notify(UINT code);
    void SyncWidget() const;

    std::vector<CString> m_items;
    int m_curSel = LB_ERR;
};
