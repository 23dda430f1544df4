// The pick state: the rows marked by Ctrl- and Shift-clicks, as the hosts read
// and reset it.

#include <algorithm>
#include <vector>

#include "grid/grid_ctrl.h"

GridPicks CGridCtrl::Picks() const
{
    GridPicks pick;
    pick.listFlag = m_bCtrlPick;
    for (const int row : m_PickList) {
        if (row == 0)
            break;
        pick.pickedRows.push_back(row);
    }
    pick.rangeFlag = m_bShiftPick;
    pick.rangeA = m_nAnchorRowA;
    pick.rangeB = m_nAnchorRowB;
    pick.firstRow = m_nDownRow;
    pick.lastRow = m_nUpRow;
    pick.clickRow = m_nClickRow;
    return pick;
}

PickedRowList CGridCtrl::PickRows(PickRule rule) const
{
    return ::PickRows(Picks(), GetRowCount(), rule);
}

void CGridCtrl::ForgetPickAnchors()
{
    m_nAnchorRowA = 0;
    m_nAnchorRowB = 0;
    m_nDownRow = 0;
    m_nUpRow = 0;
    m_bAnchorToggle = 0;
    m_bCtrlPick = 0;
    m_bShiftPick = 0;
}

void CGridCtrl::ClearPicks()
{
    // The anchor the next click sets stays.
    const int toggle = m_bAnchorToggle;
    ForgetPickAnchors();
    m_bAnchorToggle = toggle;
    std::fill(std::begin(m_PickList), std::end(m_PickList), 0);
}

void CGridCtrl::ForgetClickedRow()
{
    m_nClickRow = 0;
}

void CGridCtrl::HoldFocus(bool hold)
{
    m_bKeepFocus = hold ? 1 : 0;
}

void CGridCtrl::SortPickedRows(int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        m_PickSortKeys[i] = m_PickList[i];
        m_PickSortIndex[i] = i;
    }
    SortPickKeysDescending(nCount, m_PickSortKeys, m_PickSortIndex);
}

void CGridCtrl::ReorderPickedRows(int nCount)
{
    const std::vector<int> old(m_PickList, m_PickList + nCount);
    for (int i = 0; i < nCount; ++i)
        m_PickList[i] = old[static_cast<size_t>(m_PickSortIndex[i])];
}
