#include "grid/grid_cell_datetime.h"

#include "grid/grid_ctrl.h"
#include "grid/inplace_datetime.h"

CGridCellDateTime::CGridCellDateTime()
    : m_cTime(CTime::GetCurrentTime())
{ }

CGridCellDateTime::CGridCellDateTime(DWORD dwStyle)
{
    Init(dwStyle);
}

void CGridCellDateTime::Init(DWORD dwStyle)
{
    m_dwStyle = dwStyle;
    SetTime(CTime::GetCurrentTime());
    SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CGridCellDateTime::SetTime(CTime time)
{
    m_cTime = time;
    if (m_dwStyle == DTS_TIMEFORMAT)
        SetText(m_cTime.Format("%H:%M:%S"));
    else if (m_dwStyle == 0)
        SetText(m_cTime.Format("%d/%m/%Y"));
}

CWnd* CGridCellDateTime::GetEditWnd() const
{
    return m_bEditing ? m_pEditWnd : nullptr;
}

BOOL CGridCellDateTime::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    // An open picker takes no characters from the grid.
    return OpenEditor(nChar, FALSE, [&] {
        return new CGridInPlaceDateTime(m_pGrid, rect, m_dwStyle | DTS_UPDOWN, nID, nRow, nCol, GetTextClr(),
            GetBackClr(), &m_cTime, nChar);
    });
}
