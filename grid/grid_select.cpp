// Keyboard, focus cell and selection.

#include <algorithm>

#include "grid/grid_ctrl.h"

CGridCellCoord CGridCtrl::SetFocusCell(CGridCellCoord cell)
{
    if (cell == m_idCurrentCell)
        return m_idCurrentCell;
    const CGridCellCoord prev = m_idCurrentCell;
    if (cell.row != -1 && cell.row < GetFixedRowCount())
        cell.row = GetFixedRowCount();
    if (cell.col != -1 && cell.col < GetFixedColumnCount())
        cell.col = GetFixedColumnCount();
    m_idCurrentCell = cell;

    if (IsValid(prev)) {
        SetItemState(prev.row, prev.col, GetItemState(prev.row, prev.col) & ~GRIDSTATE_FOCUSED);
        RedrawCell(prev);
        if (GetTrackFocusCell())
            RedrawHeadingsOf(prev, cell);
    }
    if (IsValid(m_idCurrentCell)) {
        SetItemState(m_idCurrentCell.row, m_idCurrentCell.col,
            GetItemState(m_idCurrentCell.row, m_idCurrentCell.col) | GRIDSTATE_FOCUSED);
        RedrawCell(m_idCurrentCell);
        if (GetTrackFocusCell())
            RedrawHeadingsOf(m_idCurrentCell, prev);
    }
    return prev;
}

// Redraws the heading cells of cell's column and row where other differs.
void CGridCtrl::RedrawHeadingsOf(const CGridCellCoord& cell, const CGridCellCoord& other)
{
    if (cell.col != other.col) {
        for (int row = 0; row < m_nFixedRows; ++row)
            RedrawCell(row, cell.col);
    }
    if (cell.row != other.row) {
        for (int col = 0; col < m_nFixedCols; ++col)
            RedrawCell(cell.row, col);
    }
}

void CGridCtrl::ResetSelectedRange()
{
    m_PrevSelectedCellMap.RemoveAll();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

CGridCellRange CGridCtrl::GetSelectedCellRange() const
{
    CGridCellRange selection(GetRowCount(), GetColumnCount(), -1, -1);
    for (const auto& [key, cell] : m_SelectedCellMap) {
        selection.SetMinRow(std::min(selection.GetMinRow(), cell.row));
        selection.SetMinCol(std::min(selection.GetMinCol(), cell.col));
        selection.SetMaxRow(std::max(selection.GetMaxRow(), cell.row));
        selection.SetMaxCol(std::max(selection.GetMaxCol(), cell.col));
    }
    return selection;
}

void CGridCtrl::SetSelectedRange(const CGridCellRange& Range, BOOL bForceRepaint, BOOL bSelectCells)
{
    SetSelectedRange(Range.GetMinRow(), Range.GetMinCol(), Range.GetMaxRow(), Range.GetMaxCol(),
        bForceRepaint, bSelectCells);
}

void CGridCtrl::SetSelectedRange(
    int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint, BOOL bSelectCells)
{
    if (!m_bEnableSelection)
        return;
    CWaitCursor wait;
    const CGridCellRange visible = GetSafeHwnd() ? GetVisibleNonFixedCellRange() : CGridCellRange();

    if (nMinRow >= 0 && nMinRow < GetFixedRowCount())
        nMinRow = GetFixedRowCount();
    if (nMaxRow >= 0 && nMaxRow < GetFixedRowCount())
        nMaxRow = GetFixedRowCount();
    if (nMinCol >= 0 && nMinCol < GetFixedColumnCount())
        nMinCol = GetFixedColumnCount();
    if (nMaxCol >= 0 && nMaxCol < GetFixedColumnCount())
        nMaxCol = GetFixedColumnCount();

    const auto redraw = [&](int row, int col) {
        if (!visible.InRange(row, col))
            return;
        if (bForceRepaint)
            RedrawCell(row, col);
        else
            InvalidateCellRect(row, col);
    };
    const BOOL anyNegative = nMinRow < 0 || nMinCol < 0 || nMaxRow < 0 || nMaxCol < 0;

    if (bSelectCells) {
        for (auto it = m_SelectedCellMap.begin(); it != m_SelectedCellMap.end();) {
            const CGridCellCoord cell = it->second;
            if (!IsValid(cell)) {
                it = m_SelectedCellMap.erase(it);
                continue;
            }
            ++it;
            // Clearing the bit removes the entry; the iterator already moved on.
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GRIDSTATE_SELECTED);
            if (!(cell.row >= nMinRow && cell.row <= nMaxRow && cell.col >= nMinCol && cell.col <= nMaxCol))
                redraw(cell.row, cell.col);
        }
        if (!GetSingleRowSelection() && !anyNegative) {
            for (const auto& [key, cell] : m_PrevSelectedCellMap) {
                if (!IsValid(cell))
                    continue;
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GRIDSTATE_SELECTED);
                redraw(cell.row, cell.col);
            }
        }
    }

    if (!anyNegative && nMaxRow < GetRowCount() && nMaxCol < GetColumnCount() && nMinRow <= nMaxRow
        && nMinCol <= nMaxCol) {
        for (int row = nMinRow; row <= nMaxRow; ++row) {
            for (int col = nMinCol; col <= nMaxCol; ++col) {
                const BOOL selected = IsCellSelected(row, col);
                if (bSelectCells == selected)
                    continue;
                const UINT state = GetItemState(row, col);
                SetItemState(
                    row, col, bSelectCells ? (state | GRIDSTATE_SELECTED) : (state & ~GRIDSTATE_SELECTED));
                redraw(row, col);
            }
        }
    }
}

void CGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection)
        return;
    SetSelectedRange(m_nFixedRows, m_nFixedCols, GetRowCount() - 1, GetColumnCount() - 1, FALSE, TRUE);
}

void CGridCtrl::SelectColumns(CGridCellCoord currentCell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || currentCell.col < m_nFixedCols || !IsValid(currentCell))
        return;
    if (GetSingleColSelection()) {
        SetSelectedRange(GetFixedRowCount(), currentCell.col, GetRowCount() - 1, currentCell.col,
            bForceRedraw, bSelectCells);
    } else {
        SetSelectedRange(GetFixedRowCount(), std::min(m_SelectionStartCell.col, currentCell.col),
            GetRowCount() - 1, std::max(m_SelectionStartCell.col, currentCell.col), bForceRedraw,
            bSelectCells);
    }
}

void CGridCtrl::SelectRows(CGridCellCoord currentCell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || currentCell.row < m_nFixedRows || !IsValid(currentCell))
        return;
    if (GetSingleRowSelection()) {
        SetSelectedRange(currentCell.row, GetFixedColumnCount(), currentCell.row, GetColumnCount() - 1,
            bForceRedraw, bSelectCells);
    } else {
        SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row), GetFixedColumnCount(),
            std::max(m_SelectionStartCell.row, currentCell.row), GetColumnCount() - 1, bForceRedraw,
            bSelectCells);
    }
}

void CGridCtrl::SelectCells(CGridCellCoord currentCell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.row < m_nFixedRows
        || currentCell.col < m_nFixedCols)
        return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row),
        std::min(m_SelectionStartCell.col, currentCell.col),
        std::max(m_SelectionStartCell.row, currentCell.row),
        std::max(m_SelectionStartCell.col, currentCell.col), bForceRedraw, bSelectCells);
}

void CGridCtrl::OnSelecting(const CGridCellCoord& currentCell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
    case GRIDMOUSE_SELECT_ALL:
        SelectAllCells();
        break;
    case GRIDMOUSE_SELECT_COL:
        SelectColumns(currentCell, FALSE);
        break;
    case GRIDMOUSE_SELECT_ROW:
        SelectRows(currentCell, FALSE);
        break;
    case GRIDMOUSE_SELECT_CELLS:
        SelectCells(currentCell, FALSE);
        break;
    default:
        break;
    }
}

// ---- Keyboard ----

BOOL CGridCtrl::IsKeyDown(int nVirtKey) const
{
    return GetKeyState(nVirtKey) < 0;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsValid(m_idCurrentCell)) {
        PassKeyOn(nChar, nRepCnt, nFlags);
        return;
    }
    CGridCellCoord next = m_idCurrentCell;
    BOOL changeLine = FALSE;
    BOOL horzScrollAction = FALSE;
    BOOL vertScrollAction = FALSE;
    const BOOL ctrl = IsKeyDown(VK_CONTROL);
    const BOOL shift = IsKeyDown(VK_SHIFT);

    if (ctrl) {
        switch (nChar) {
        case 'A':
            OnEditSelectAll();
            break;
        case 'X':
            OnEditCut();
            break;
        case VK_INSERT:
        case 'C':
            OnEditCopy();
            break;
        case 'V':
            OnEditPaste();
            break;
        default:
            break;
        }
    }
    if (shift && nChar == VK_INSERT)
        OnEditPaste();

    const BOOL isMove
        = nChar == VK_DOWN || nChar == VK_UP || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_TAB;
    if (isMove && m_bKeepFocus) {
        m_bKeepFocus = 0;
        return;
    }

    // Tab moves right and Shift+Tab left, with wrapping to the next line.
    const UINT move = nChar == VK_TAB ? (shift ? VK_LEFT : VK_RIGHT) : nChar;
    switch (move) {
    case VK_DELETE:
        CutSelectedText();
        break;
    case VK_DOWN: {
        int row = next.row + 1;
        while (row < GetRowCount() && GetRowHeight(row) <= 0)
            ++row;
        if (row < GetRowCount())
            next.row = row;
        break;
    }
    case VK_UP: {
        int row = next.row - 1;
        while (row >= m_nFixedRows && GetRowHeight(row) <= 0)
            --row;
        if (row >= m_nFixedRows)
            next.row = row;
        break;
    }
    case VK_RIGHT: {
        int col = next.col + 1;
        if (nChar == VK_TAB) {
            if (col >= GetColumnCount() && next.row < GetRowCount() - 1) {
                int row = next.row + 1;
                while (row < GetRowCount() && GetRowHeight(row) <= 0)
                    ++row;
                if (row < GetRowCount()) {
                    next.row = row;
                    col = m_nFixedCols;
                    changeLine = TRUE;
                } else {
                    PassKeyOn(nChar, nRepCnt, nFlags);
                }
            } else {
                PassKeyOn(nChar, nRepCnt, nFlags);
            }
        }
        while (col < GetColumnCount() && GetColumnWidth(col) <= 0)
            ++col;
        if (col < GetColumnCount())
            next.col = col;
        break;
    }
    case VK_LEFT: {
        int col = next.col - 1;
        if (nChar == VK_TAB) {
            if (col < m_nFixedCols && next.row > m_nFixedRows) {
                int row = next.row - 1;
                while (row >= m_nFixedRows && GetRowHeight(row) <= 0)
                    --row;
                if (row >= m_nFixedRows) {
                    next.row = row;
                    col = GetColumnCount() - 1;
                    changeLine = TRUE;
                } else {
                    PassKeyOn(nChar, nRepCnt, nFlags);
                }
            } else {
                PassKeyOn(nChar, nRepCnt, nFlags);
            }
        }
        while (col >= m_nFixedCols && GetColumnWidth(col) <= 0)
            --col;
        if (col >= m_nFixedCols)
            next.col = col;
        break;
    }
    case VK_NEXT: {
        const CGridCellCoord oldTopLeft = GetTopleftNonFixedCell();
        SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        vertScrollAction = TRUE;
        const CGridCellCoord newTopLeft = GetTopleftNonFixedCell();
        const int increment = newTopLeft.row - oldTopLeft.row;
        if (increment)
            next.row = std::min(next.row + increment, GetRowCount() - 1);
        else
            next.row = GetRowCount() - 1;
        break;
    }
    case VK_PRIOR: {
        const CGridCellCoord oldTopLeft = GetTopleftNonFixedCell();
        SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        vertScrollAction = TRUE;
        const CGridCellCoord newTopLeft = GetTopleftNonFixedCell();
        const int increment = newTopLeft.row - oldTopLeft.row;
        if (increment)
            next.row = std::max(next.row + increment, m_nFixedRows);
        else
            next.row = m_nFixedRows;
        break;
    }
    case VK_HOME:
        if (ctrl) {
            SendMessage(WM_VSCROLL, SB_TOP, 0);
            SendMessage(WM_HSCROLL, SB_LEFT, 0);
            vertScrollAction = horzScrollAction = TRUE;
            next.row = m_nFixedRows;
            next.col = m_nFixedCols;
        } else {
            SendMessage(WM_HSCROLL, SB_LEFT, 0);
            horzScrollAction = TRUE;
            next.col = m_nFixedCols;
        }
        while (next.col < GetColumnCount() - 1 && GetColumnWidth(next.col) <= 0)
            ++next.col;
        while (next.row < GetRowCount() - 1 && GetRowHeight(next.row) <= 0)
            ++next.row;
        break;
    case VK_END:
        if (ctrl) {
            SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
            SendMessage(WM_HSCROLL, SB_RIGHT, 0);
            vertScrollAction = horzScrollAction = TRUE;
            next.row = GetRowCount() - 1;
            next.col = GetColumnCount() - 1;
        } else {
            SendMessage(WM_HSCROLL, SB_RIGHT, 0);
            horzScrollAction = TRUE;
            next.col = GetColumnCount() - 1;
        }
        while (next.col > m_nFixedCols + 1 && GetColumnWidth(next.col) <= 0)
            --next.col;
        while (next.row > m_nFixedRows + 1 && GetRowHeight(next.row) <= 0)
            --next.row;
        break;
    case VK_F2:
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), VK_LBUTTON);
        break;
    default:
        PassKeyOn(nChar, nRepCnt, nFlags);
        return;
    }

    if (next == m_idCurrentCell)
        return;

    if (m_MouseMode == GRIDMOUSE_NOTHING) {
        m_PrevSelectedCellMap.RemoveAll();
        m_MouseMode = m_bListMode ? GRIDMOUSE_SELECT_ROW : GRIDMOUSE_SELECT_CELLS;
        if (!shift || nChar == VK_TAB)
            m_SelectionStartCell = next;
        SendNotify(next.row, next.col, GRIDNOTIFY_SELCHANGING);
        OnSelecting(next);
        SendNotify(next.row, next.col, GRIDNOTIFY_SELCHANGED);
        m_MouseMode = GRIDMOUSE_NOTHING;
    }
    SetFocusCell(next);

    if (!IsCellVisible(next)) {
        switch (nChar) {
        case VK_RIGHT:
            SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
            horzScrollAction = TRUE;
            break;
        case VK_LEFT:
            SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
            horzScrollAction = TRUE;
            break;
        case VK_DOWN:
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            vertScrollAction = TRUE;
            break;
        case VK_UP:
            SendMessage(WM_VSCROLL, SB_LINEUP, 0);
            vertScrollAction = TRUE;
            break;
        case VK_TAB:
            if (shift) {
                if (changeLine) {
                    SendMessage(WM_VSCROLL, SB_LINEUP, 0);
                    vertScrollAction = TRUE;
                    SetScrollPos32(SB_HORZ, m_nHScrollMax);
                } else {
                    SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
                    horzScrollAction = TRUE;
                }
            } else {
                if (changeLine) {
                    SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
                    vertScrollAction = TRUE;
                    SetScrollPos32(SB_HORZ, 0);
                } else {
                    SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
                    horzScrollAction = TRUE;
                }
            }
            break;
        default:
            break;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);
    if (horzScrollAction)
        SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
    if (vertScrollAction)
        SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void CGridCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    DefWindowProc(WM_SYSKEYDOWN, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
}

// The key's default handling; OnKeyDown also runs outside a WM_KEYDOWN (at
// the end of an in-place edit), so the message is named here.
void CGridCtrl::PassKeyOn(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    DefWindowProc(WM_KEYDOWN, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsKeyDown(VK_CONTROL) && m_MouseMode == GRIDMOUSE_NOTHING && nChar != VK_ESCAPE) {
        if (!m_bHandleTabKey || nChar != VK_TAB)
            OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
    }
    DefWindowProc(WM_CHAR, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
}

LRESULT CGridCtrl::OnImeChar(WPARAM wCharCode, LPARAM)
{
    if (!IsKeyDown(VK_CONTROL) && m_MouseMode == GRIDMOUSE_NOTHING && wCharCode != VK_ESCAPE)
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), static_cast<UINT>(wCharCode));
    return 0;
}

UINT CGridCtrl::OnGetDlgCode()
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !IsKeyDown(VK_CONTROL))
        code |= DLGC_WANTTAB;
    return code;
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* dispInfo = reinterpret_cast<GRIDDISPINFO*>(pNMHDR);
    const GRIDITEM item = dispInfo->item;
    if (!GetSafeHwnd())
        return;
    OnEndEditCell(item.row, item.col, item.strText);
    const UINT key = static_cast<UINT>(item.lParam);
    switch (key) {
    case VK_TAB:
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
        OnKeyDown(key, 0, 0);
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), key);
        break;
    default:
        break;
    }
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return static_cast<BOOL>(Default());
    switch (m_MouseMode) {
    case GRIDMOUSE_OVER_ROW_DIVIDE:
        SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
        break;
    case GRIDMOUSE_OVER_COL_DIVIDE:
        SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        break;
    case GRIDMOUSE_DRAGGING:
        break;
    default:
        if (!m_bVirtualMode) {
            const DWORD pos = GetMessagePos();
            CPoint pt(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
            ScreenToClient(&pt);
            const CGridCellCoord cell = GetCellFromPt(pt);
            if (CGridCellBase* gridCell = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr)
                return gridCell->OnSetCursor();
        }
        SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        break;
    }
    return TRUE;
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd == this)
        return;
    StopAutoScroll();
    if (m_MouseMode == GRIDMOUSE_DRAGGING)
        m_MouseMode = GRIDMOUSE_NOTHING;
}

void CGridCtrl::StopAutoScroll()
{
    if (m_nTimerID != 0) {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
}
