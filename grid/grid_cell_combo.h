#pragma once
// A cell edited with a drop-down list of options (CBS_DROPDOWN: the text may
// also be typed; CBS_DROPDOWNLIST: only an option). An editable cell shows a
// drop button at its right.

#include <vector>

#include "grid/grid_cell.h"
#include "platform/wnd/controls/combobox.h"

class CGridCellCombo : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridCellCombo";

    // Replaces the options (in their order); the text stays.
    void SetOptions(const std::vector<CString>& ar);
    const std::vector<CString>& GetOptions() const { return m_Strings; }
    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetStyle() const { return m_dwStyle; }

    // The open list while editing (the list is also its own selection
    // field), else null.
    CWnd* GetEditWnd() const override;
    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
    CSize GetCellExtent(CDC* pDC) override;
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;

protected:
    std::vector<CString> m_Strings;
    DWORD m_dwStyle = CBS_DROPDOWN;
};
