#pragma once
// CComboBox: a drop-down list of strings with a selection field. The window
// text is the selection field's text; the items and the selection belong to
// the control object. UI thread.

#include <vector>

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD CBS_SIMPLE = 0x0001;
inline constexpr DWORD CBS_DROPDOWN = 0x0002;
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr DWORD CBS_TYPEMASK = 0x0003;
inline constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
inline constexpr int CB_ERR = -1;

class CComboBox : public CWnd {
public:
    // Creates a "COMBOBOX" child window (CBS_ styles in style).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Appends the string; its index.
    int AddString(LPCTSTR text);
    // Removes every item and the selection.
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The item's text into text; its length, CB_ERR for a bad index.
    int GetLBText(int index, CString& text) const;
    int GetCurSel() const { return m_curSel; }
    // Selects the item (-1: none) and shows it in the selection field; the
    // index, or CB_ERR when out of range (the selection is then cleared).
    int SetCurSel(int index);
    // First item after start (-1: from the beginning, wrapping) that begins
    // with prefix, ignoring ASCII case; CB_ERR when none.
    int FindString(int start, LPCTSTR prefix) const;
    // FindString, then SetCurSel of the item found; CB_ERR when none (the
    // selection is then unchanged).
    int SelectString(int start, LPCTSTR prefix);

    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const { return m_dropped; }
    int SetDroppedWidth(UINT width);
    int GetDroppedWidth() const { return m_droppedWidth; }
    // index -1: the selection field.
    int SetItemHeight(int index, UINT height);
    int GetItemHeight(int index) const { return index < 0 ? m_fieldHeight : m_itemHeight; }
    void SetHorizontalExtent(UINT extent) { m_horizontalExtent = extent; }

private:
    void SyncWidget();

    std::vector<CString> m_items;
    int m_curSel = CB_ERR;
    BOOL m_dropped = FALSE;
    int m_droppedWidth = 0;
    int m_fieldHeight = 0;
    int m_itemHeight = 0;
    UINT m_horizontalExtent = 0;
};
