// Mouse handling and the multi-row pick list.

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "grid/title_tip.h"
#include "platform/wnd/core/client_dc.h"

CPoint CGridCtrl::GetPointClicked(int nRow, int nCol, const CPoint& point)
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return CPoint(0, 0);
    return CPoint(point.x - origin.x, point.y - origin.y);
}

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A hold from before this press (a refusal whose box has closed) ends
    // here and the press goes on; a hold the press brings about itself (the
    // edit it ends is refused) swallows it, so the refused cell keeps focus.
    m_bKeepFocus = 0;
    SetFocus();
    if (m_bKeepFocus) {
        m_bKeepFocus = 0;
        return;
    }
    m_bLMouseButtonDown = TRUE;
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell))
        return;

    if (nFlags & MK_SHIFT) {
        if (!IsValid(m_SelectionStartCell))
            m_SelectionStartCell = m_idCurrentCell;
    } else {
        m_SelectionStartCell = m_LeftClickDownCell;
    }

    EndEditing();

    CGridCellBase* cell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col);
    BOOL inTextArea = FALSE;
    if (cell) {
        cell->OnClickDown(GetPointClicked(m_LeftClickDownCell.row, m_LeftClickDownCell.col, point));
        CRect rect;
        if (GetCellRect(m_LeftClickDownCell, rect) && cell->GetTextRect(rect))
            inTextArea = rect.PtInRect(point);
    }

    if (m_LeftClickDownCell == m_idCurrentCell && !(nFlags & MK_CONTROL) && inTextArea
        && IsCellEditable(m_LeftClickDownCell)) {
        m_MouseMode = GRIDMOUSE_PREPARE_EDIT;
        return;
    }
    if (IsCellSelected(m_LeftClickDownCell)) {
        if (nFlags & MK_CONTROL) {
            SetFocusCell(m_LeftClickDownCell);
            if (GetListMode())
                SelectRows(m_LeftClickDownCell, TRUE, FALSE);
            else
                SelectCells(m_LeftClickDownCell, TRUE, FALSE);
            DropDeselectedRows(std::min(m_SelectionStartCell.row, m_LeftClickDownCell.row),
                std::max(m_SelectionStartCell.row, m_LeftClickDownCell.row));
            return;
        }
        if (m_bAllowDragAndDrop)
            m_MouseMode = GRIDMOUSE_PREPARE_DRAG;
    } else if (m_MouseMode != GRIDMOUSE_OVER_COL_DIVIDE && m_MouseMode != GRIDMOUSE_OVER_ROW_DIVIDE) {
        if (m_LeftClickDownCell.row >= GetFixedRowCount() && m_LeftClickDownCell.col >= GetFixedColumnCount())
            SetFocusCell(m_LeftClickDownCell);
        else
            SetFocusCell(-1, -1);
    }

    SetCapture();

    if (m_MouseMode == GRIDMOUSE_NOTHING)
        TrackDivider(point, FALSE);

    if (m_MouseMode == GRIDMOUSE_OVER_COL_DIVIDE) {
        StartResize(point, TRUE);
    } else if (m_MouseMode == GRIDMOUSE_OVER_ROW_DIVIDE) {
        StartResize(point, FALSE);
    } else if (m_MouseMode != GRIDMOUSE_PREPARE_DRAG) {
        SendNotify(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDNOTIFY_SELCHANGING);
        m_PrevSelectedCellMap.RemoveAll();
        m_bCtrlPick = 0;
        m_bShiftPick = 0;
        if (nFlags & MK_CONTROL) {
            m_bCtrlPick = 1;
            m_bShiftPick = 0;
            for (const auto& [key, selected] : m_SelectedCellMap)
                m_PrevSelectedCellMap.Add(selected.row, selected.col);
            const int count = CollectPickedRows(m_SelectedCellMap, m_LeftClickDownCell.row, m_PickList);
            SortPickedRows(count);
            ReorderPickedRows(count);
        }
        m_bShiftPick = (nFlags & MK_SHIFT) ? 1 : 0;
        if (m_bAnchorToggle == 0) {
            m_nAnchorRowA = m_LeftClickDownCell.row;
            m_bAnchorToggle = 1;
        } else {
            m_nAnchorRowB = m_LeftClickDownCell.row;
            m_bAnchorToggle = 0;
        }
        if (m_LeftClickDownCell.row < GetFixedRowCount()) {
            OnFixedRowClick(m_LeftClickDownCell);
        } else if (m_LeftClickDownCell.col < GetFixedColumnCount()) {
            OnFixedColumnClick(m_LeftClickDownCell);
        } else {
            m_MouseMode = m_bListMode ? GRIDMOUSE_SELECT_ROW : GRIDMOUSE_SELECT_CELLS;
            OnSelecting(m_LeftClickDownCell);
            m_nTimerID = SetTimer(kAutoScrollTimerId, static_cast<UINT>(m_nTimerInterval));
        }
    }
    m_LastMousePoint = point;
    m_nDownRow = m_LeftClickDownCell.row;
    m_nClickRow = m_LeftClickDownCell.row;
}

void CGridCtrl::TrackDivider(CPoint point, BOOL bLeaveDivider)
{
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
        if (m_MouseMode != GRIDMOUSE_OVER_COL_DIVIDE) {
            SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
            m_MouseMode = GRIDMOUSE_OVER_COL_DIVIDE;
        }
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
        if (m_MouseMode != GRIDMOUSE_OVER_ROW_DIVIDE) {
            SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
            m_MouseMode = GRIDMOUSE_OVER_ROW_DIVIDE;
        }
    } else if (bLeaveDivider && m_MouseMode != GRIDMOUSE_NOTHING) {
        SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        m_MouseMode = GRIDMOUSE_NOTHING;
    }
}

void CGridCtrl::DropDeselectedRows(int firstRow, int lastRow)
{
    for (int row = std::max(firstRow, 0); row <= lastRow && row < GetRowCount(); ++row) {
        BOOL anySelected = FALSE;
        for (int col = 0; col < GetColumnCount() && !anySelected; ++col)
            anySelected = IsCellSelected(row, col);
        if (!anySelected)
            RemovePickedRow(m_PickList, row);
    }
}

// Inverts a 2-pixel line across the client area at pos; a second call at the
// same place erases it.
void CGridCtrl::InvertResizeLine(int pos, BOOL bColumn)
{
    CRect rect;
    GetClientRect(rect);
    const CRect line
        = bColumn ? CRect(pos, rect.top, pos + 2, rect.bottom) : CRect(rect.left, pos, rect.right, pos + 2);
    CClientDC dc(this);
    dc.InvertRect(line);
}

void CGridCtrl::StartResize(CPoint point, BOOL bColumn)
{
    m_MouseMode = bColumn ? GRIDMOUSE_SIZING_COL : GRIDMOUSE_SIZING_ROW;
    const auto size = [&](int i) { return bColumn ? GetColumnWidth(i) : GetRowHeight(i); };
    const auto along = [&](const POINT& p) { return bColumn ? p.x : p.y; };
    const int last = (bColumn ? GetColumnCount() : GetRowCount()) - 1;
    int start = bColumn ? m_LeftClickDownCell.col : m_LeftClickDownCell.row;

    CRect visRect;
    GetVisibleNonFixedCellRange(visRect);
    const BOOL lastNarrow = size(last) < m_nResizeCaptureRange;
    if (lastNarrow
        && std::abs(along(point) - (bColumn ? visRect.right : visRect.bottom)) < m_nResizeCaptureRange)
        start = last;

    CPoint startOrigin;
    const BOOL haveOrigin = bColumn ? GetCellOrigin(m_LeftClickDownCell.row, start, &startOrigin)
                                    : GetCellOrigin(start, m_LeftClickDownCell.col, &startOrigin);
    const BOOL near = haveOrigin && std::abs(along(point) - along(startOrigin)) < m_nResizeCaptureRange;
    // Near the leading edge the divider is that of the previous column or row;
    // a narrow last one is sized itself.
    int index = near && !(start == last && lastNarrow) ? start - 1 : start;
    const BOOL unhide = bColumn ? m_bHiddenColUnhide : m_bHiddenRowUnhide;
    if (!unhide && !(!near && start == last))
        index = NextVisible(!bColumn, index, -1, 0, index);
    if (index < 0)
        return;
    (bColumn ? m_LeftClickDownCell.col : m_LeftClickDownCell.row) = index;

    CPoint origin;
    if (!(bColumn ? GetCellOrigin(0, index, &origin) : GetCellOrigin(index, 0, &origin)))
        return;
    InvertResizeLine(along(point), bColumn);

    CRect rect;
    GetClientRect(rect);
    CRect clip = rect;
    if (bColumn) {
        clip.left = origin.x + 1;
        clip.right = clip.left + rect.Width() - GetFixedColumnWidth();
    } else {
        clip.top = origin.y + 1;
        clip.bottom = clip.top + rect.Height() - GetFixedRowHeight();
    }
    ClientToScreen(clip);
    ClipCursor(clip);
}

void CGridCtrl::FinishResize(CPoint point, BOOL bColumn)
{
    InvertResizeLine(bColumn ? m_LastMousePoint.x : m_LastMousePoint.y, bColumn);
    if (m_LeftClickDownPoint == point || (point.x == 0 && point.y == 0))
        return;
    CPoint start;
    if (!GetCellOrigin(m_LeftClickDownCell, &start))
        return;
    if (bColumn)
        SetColumnWidth(
            m_LeftClickDownCell.col, std::max(static_cast<int>(point.x - start.x), m_bAllowColHide ? 0 : 1));
    else
        SetRowHeight(
            m_LeftClickDownCell.row, std::max(static_cast<int>(point.y - start.y), m_bAllowRowHide ? 0 : 1));
    ResetScrollBars();
    Invalidate();
}

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rect;
    GetClientRect(rect);
    if (m_MouseMode != GRIDMOUSE_DRAGGING && !rect.PtInRect(point))
        return;

    if (!m_bLMouseButtonDown || m_MouseMode == GRIDMOUSE_NOTHING) {
        TrackDivider(point, TRUE);

        if (m_MouseMode == GRIDMOUSE_NOTHING && (!m_bVirtualMode || m_bTitleTips)) {
            const CGridCellCoord idCell = GetCellFromPt(point);
            CGridCellBase* cell = IsValid(idCell) ? GetCell(idCell.row, idCell.col) : nullptr;
            if (cell) {
                cell->OnMouseOver();
                if (m_bTitleTips && !m_bRMouseButtonDown && cell->GetTipText() && *cell->GetTipText()
                    && !cell->IsEditing()) {
                    CRect textRect, cellRect;
                    if (GetCellRect(idCell, textRect) && cell->GetTipTextRect(textRect)
                        && GetCellRect(idCell, cellRect)) {
                        if (!m_TitleTip)
                            m_TitleTip = std::make_unique<CGridTitleTip>();
                        m_TitleTip->Create(this);
                        m_TitleTip->Show(textRect, cell->GetTipText(), 0, cellRect, cell->GetFont(),
                            GetTitleTipTextClr(), GetTitleTipBackClr());
                    }
                }
            }
        }
        m_LastMousePoint = point;
        return;
    }

    if (!IsValid(m_LeftClickDownCell)) {
        m_LastMousePoint = point;
        return;
    }

    switch (m_MouseMode) {
    case GRIDMOUSE_SELECT_COL:
    case GRIDMOUSE_SELECT_ROW:
    case GRIDMOUSE_SELECT_CELLS: {
        const CGridCellCoord idCurrent = GetCellFromPt(point);
        if (!IsValid(idCurrent))
            return;
        if (!(idCurrent == GetFocusCell())) {
            OnSelecting(idCurrent);
            if ((idCurrent.row >= GetFixedRowCount() && idCurrent.col >= GetFixedColumnCount())
                || m_MouseMode == GRIDMOUSE_SELECT_COL || m_MouseMode == GRIDMOUSE_SELECT_ROW)
                SetFocusCell(idCurrent);
        }
        break;
    }
    case GRIDMOUSE_SIZING_COL:
        InvertResizeLine(m_LastMousePoint.x, TRUE);
        InvertResizeLine(point.x, TRUE);
        break;
    case GRIDMOUSE_SIZING_ROW:
        InvertResizeLine(m_LastMousePoint.y, FALSE);
        InvertResizeLine(point.y, FALSE);
        break;
    case GRIDMOUSE_PREPARE_EDIT:
    case GRIDMOUSE_PREPARE_DRAG:
        m_MouseMode = GRIDMOUSE_PREPARE_DRAG;
        OnBeginDrag();
        break;
    default:
        break;
    }
    m_LastMousePoint = point;
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bKeepFocus) {
        // The swallowed click still ends any mouse operation it started.
        m_bKeepFocus = 0;
        m_bLMouseButtonDown = FALSE;
        ClipCursor(nullptr);
        if (GetCapture() == this)
            ReleaseCapture();
        StopAutoScroll();
        m_MouseMode = GRIDMOUSE_NOTHING;
        return;
    }
    Default();
    m_bLMouseButtonDown = FALSE;
    ClipCursor(nullptr);
    if (GetCapture() == this) {
        ReleaseCapture();
        StopAutoScroll();
    }

    const CPoint pointClickedRel = GetPointClicked(m_idCurrentCell.row, m_idCurrentCell.col, point);
    switch (m_MouseMode) {
    case GRIDMOUSE_PREPARE_EDIT:
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, pointClickedRel, VK_LBUTTON);
        break;
    case GRIDMOUSE_PREPARE_DRAG: {
        if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
            cell->OnClick(pointClickedRel);
        SendNotify(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDNOTIFY_CLICK);
        SendNotify(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDNOTIFY_SELCHANGING);
        ResetSelectedRange();
        SendNotify(m_idCurrentCell.row, m_idCurrentCell.col, GRIDNOTIFY_SELCHANGED);
        break;
    }
    case GRIDMOUSE_SIZING_COL:
    case GRIDMOUSE_SIZING_ROW:
        FinishResize(point, m_MouseMode == GRIDMOUSE_SIZING_COL);
        break;
    default: {
        SendNotify(m_idCurrentCell.row, m_idCurrentCell.col, GRIDNOTIFY_SELCHANGED);
        if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
            cell->OnClick(pointClickedRel);
        SendNotify(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDNOTIFY_CLICK);
        break;
    }
    }

    m_MouseMode = GRIDMOUSE_NOTHING;
    SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (!IsValid(m_LeftClickDownCell))
        return;
    if (CWnd* owner = GetOwnerWindow())
        owner->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED),
            reinterpret_cast<LPARAM>(GetSafeHwnd()));
    m_nUpRow = m_idCurrentCell.row;
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_bKeepFocus) {
        m_bKeepFocus = 0;
        return;
    }
    const CGridCellCoord cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    // The button-up of the first click ended every mouse mode: find the
    // divider under the pointer again.
    if (m_MouseMode == GRIDMOUSE_NOTHING)
        TrackDivider(point, FALSE);

    if (m_MouseMode == GRIDMOUSE_OVER_COL_DIVIDE || m_MouseMode == GRIDMOUSE_OVER_ROW_DIVIDE) {
        AutoSizeAtDivider(point, cell, m_MouseMode == GRIDMOUSE_OVER_COL_DIVIDE);
    } else if (m_MouseMode == GRIDMOUSE_NOTHING) {
        const CPoint pointClickedRel = GetPointClicked(cell.row, cell.col, point);
        CGridCellBase* gridCell = GetCell(cell.row, cell.col);
        BOOL inTextArea = FALSE;
        if (gridCell) {
            CRect rect;
            if (GetCellRect(cell, rect) && gridCell->GetTextRect(rect))
                inTextArea = rect.PtInRect(point);
        }
        if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols && inTextArea
            && (IsValid(m_LeftClickDownCell) || m_bListMode))
            OnEditCell(cell.row, cell.col, pointClickedRel, VK_LBUTTON);
        if (CGridCellBase* after = GetCell(cell.row, cell.col))
            after->OnDblClick(pointClickedRel);
        SendNotify(cell.row, cell.col, GRIDNOTIFY_DBLCLK);
    }
    Default();
}

void CGridCtrl::AutoSizeAtDivider(CPoint point, const CGridCellCoord& cell, BOOL bColumn)
{
    CPoint start;
    if (!(bColumn ? GetCellOrigin(0, cell.col, &start) : GetCellOrigin(cell.row, 0, &start)))
        return;
    int index = bColumn ? cell.col : cell.row;
    if ((bColumn ? point.x - start.x : point.y - start.y) < m_nResizeCaptureRange)
        --index;
    index = NextVisible(!bColumn, index, -1, 0, index);
    if (index < 0)
        return;
    if (bColumn)
        AutoSizeColumn(index, GetAutoSizeStyle(), TRUE);
    else
        AutoSizeRow(index, TRUE);
    Invalidate();
}

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    Default();
    m_bRMouseButtonDown = FALSE;
    const CGridCellCoord cell = GetCellFromPt(point);
    EndEditing();
    if (!IsValid(cell)) {
        SendNotify(-1, -1, GRIDNOTIFY_RCLICK);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
    if (CGridCellBase* gridCell = GetCell(cell.row, cell.col))
        gridCell->OnRClick(GetPointClicked(cell.row, cell.col, point));
    SendNotify(cell.row, cell.col, GRIDNOTIFY_RCLICK);
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (m_nRowsPerWheelNotch == -1) {
        int pages = zDelta / WHEEL_DELTA;
        for (; pages > 0; --pages)
            PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
        for (; pages < 0; ++pages)
            PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    } else {
        int rows = m_nRowsPerWheelNotch * zDelta / WHEEL_DELTA;
        for (; rows > 0; --rows)
            PostMessage(WM_VSCROLL, SB_LINEUP, 0);
        for (; rows < 0; ++rows)
            PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
    return static_cast<BOOL>(Default());
}
