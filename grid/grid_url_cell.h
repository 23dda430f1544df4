#pragma once
// A read-only cell whose text may hold links. A text with a link prefix is
// drawn in the link colour and shows the hand cursor over its link; a click
// on a web or mail link (http:, https:, www., mailto:) opens it with the
// desktop's program. Other schemes (file:, ftp: ...) are shown as links but
// never opened.

#include "grid/grid_cell.h"

class CGridURLCell : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridURLCell";

    CGridURLCell();

    void SetUrlColour(COLORREF clr) { m_clrUrl = clr; }
    COLORREF GetUrlColour() const { return m_clrUrl; }
    void SetAutoLaunchUrl(BOOL bLaunch = TRUE) { m_bLaunchUrl = bLaunch; }
    BOOL GetAutoLaunchUrl() const { return m_bLaunchUrl; }

    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
    // Not editable: FALSE.
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void OnClick(CPoint pointCellRelative) override;
    BOOL OnSetCursor() override;

    // TRUE when the text holds one of the link prefixes.
    static BOOL HasUrl(const CString& str);
    // The address a click on a link opens: web and mail links only ("www."
    // opens as http); empty for any other link.
    static CString LaunchAddress(const CString& link);

protected:
    // The blank-bounded word under a point (relative to the cell) when it is
    // a link.
    BOOL OverURL(CPoint pointCellRelative, CString& strURL);

    COLORREF m_clrUrl;
    BOOL m_bLaunchUrl = TRUE;
    CRect m_Rect; // the cell as last drawn
};
