#pragma once
// CListCtrl: the list view common control ("SysListView32") in report view:
// columns with headings and widths, items with sub-item texts. The items
// belong to the control object; the widget shows them. A click sends NM_CLICK
// to the parent as WM_NOTIFY with an NMITEMACTIVATE record (iItem -1 when the
// click hits no item). UI thread.

#include <vector>

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;

// WM_NOTIFY record of NM_CLICK from a list view.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
};

class CListCtrl : public CWnd {
public:
    // Creates a "SysListView32" child window (LVS_ styles in style).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Inserts a column before column (at the end when beyond); its index.
    int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1);
    BOOL DeleteColumn(int column);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    CString GetColumnHeading(int column) const;

    // Inserts an item (its first column's text) before item (at the end when
    // beyond); its index, -1 for a negative index.
    int InsertItem(int item, LPCTSTR text);
    BOOL SetItemText(int item, int subItem, LPCTSTR text);
    // "" for a missing item or column.
    CString GetItemText(int item, int subItem) const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();

    // What a user's click does (the widget calls it): selects item (-1:
    // none) and sends NM_CLICK with it to the parent.
    void ClickItem(int item, int subItem = 0);
    int GetSelectionMark() const { return m_selected; }
    // Shows the items again (the widget calls it when it appears).
    void Refresh() { SyncWidget(); }

private:
    struct Column {
        CString heading;
        int format = LVCFMT_LEFT;
        int width = 0;
    };
    void SyncWidget();

    std::vector<Column> m_columns;
    std::vector<std::vector<CString>> m_items;
    int m_selected = -1;
};
