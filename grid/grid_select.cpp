// Keyboard, focus cell and selection.

#include <algorithm>
#include <optional>

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
    // Clearing an empty selection (every inserted row does) is instant: no wait cursor.
    std::optional<CWaitCursor> wait;
    if (!m_SelectedCellMap.IsEmpty() || nMinRow >= 0)
        wait.emplace();
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

int CGridCtrl::NextVisible(BOOL bRows, int index, int step, int low, int high) const
{
    const auto size = [&](int i) { return bRows ? GetRowHeight(i) : GetColumnWidth(i); };
    while (index >= low && index <= high && size(index) <= 0)
        index += step;
    return index >= low && index <= high ? index : -1;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsValid(m_idCurrentCell)) {
        PassKeyOn(nChar, nRepCnt, nFlags);
        return;
    }
    const BOOL ctrl = IsKeyDown(VK_CONTROL);
    const BOOL shift = IsKeyDown(VK_SHIFT);
    OnClipboardKey(nChar, ctrl, shift);

    const BOOL isMove
        = nChar == VK_DOWN || nChar == VK_UP || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_TAB;
    if (isMove && m_bKeepFocus) {
        m_bKeepFocus = 0;
        return;
    }

    KeyMove move;
    move.next = m_idCurrentCell;
    switch (nChar) {
    case VK_DELETE:
        CutSelectedText();
        break;
    case VK_DOWN:
    case VK_UP:
        MoveVertically(nChar, move);
        break;
    case VK_RIGHT:
    case VK_LEFT:
    case VK_TAB:
        MoveAcross(nChar, shift, nRepCnt, nFlags, move);
        break;
    case VK_NEXT:
    case VK_PRIOR:
        MoveByPage(nChar, move);
        break;
    case VK_HOME:
    case VK_END:
        MoveHomeEnd(nChar, ctrl, move);
        break;
    case VK_F2:
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), VK_LBUTTON);
        break;
    default:
        PassKeyOn(nChar, nRepCnt, nFlags);
        return;
    }
    if (move.next != m_idCurrentCell)
        FocusByKey(nChar, shift, move);
}

// Ctrl+X cuts, Ctrl+C or Ctrl+Insert copies, Ctrl+V or Shift+Insert pastes,
// Ctrl+A selects all; the key's own handling follows.
void CGridCtrl::OnClipboardKey(UINT nChar, BOOL bCtrl, BOOL bShift)
{
    if (bCtrl) {
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
    if (bShift && nChar == VK_INSERT)
        OnEditPaste();
}

void CGridCtrl::MoveVertically(UINT nChar, KeyMove& move)
{
    const int row = nChar == VK_DOWN ? NextVisible(TRUE, move.next.row + 1, 1, 0, GetRowCount() - 1)
                                     : NextVisible(TRUE, move.next.row - 1, -1, m_nFixedRows, move.next.row);
    if (row >= 0)
        move.next.row = row;
}

// Right, Left, Tab and Shift+Tab; Tab wraps to the next or previous line.
void CGridCtrl::MoveAcross(UINT nChar, BOOL bShift, UINT nRepCnt, UINT nFlags, KeyMove& move)
{
    const BOOL tab = nChar == VK_TAB;
    const BOOL right = tab ? !bShift : nChar == VK_RIGHT;
    int col = move.next.col + (right ? 1 : -1);
    if (tab) {
        const BOOL wrap = right ? col >= GetColumnCount() && move.next.row < GetRowCount() - 1
                                : col < m_nFixedCols && move.next.row > m_nFixedRows;
        const int row = !wrap ? -1
            : right           ? NextVisible(TRUE, move.next.row + 1, 1, 0, GetRowCount() - 1)
                              : NextVisible(TRUE, move.next.row - 1, -1, m_nFixedRows, move.next.row);
        if (row >= 0) {
            move.next.row = row;
            col = right ? m_nFixedCols : GetColumnCount() - 1;
            move.changeLine = TRUE;
        } else {
            PassKeyOn(nChar, nRepCnt, nFlags);
        }
    }
    col = right ? NextVisible(FALSE, col, 1, 0, GetColumnCount() - 1)
                : NextVisible(FALSE, col, -1, m_nFixedCols, GetColumnCount() - 1);
    if (col >= 0)
        move.next.col = col;
}

// Page Down and Page Up scroll a page and move the focus by as many rows.
void CGridCtrl::MoveByPage(UINT nChar, KeyMove& move)
{
    const BOOL down = nChar == VK_NEXT;
    const CGridCellCoord oldTopLeft = GetTopleftNonFixedCell();
    SendMessage(WM_VSCROLL, down ? SB_PAGEDOWN : SB_PAGEUP, 0);
    move.vScroll = TRUE;
    const int increment = GetTopleftNonFixedCell().row - oldTopLeft.row;
    if (down)
        move.next.row
            = increment ? std::min(move.next.row + increment, GetRowCount() - 1) : GetRowCount() - 1;
    else
        move.next.row = increment ? std::max(move.next.row + increment, m_nFixedRows) : m_nFixedRows;
}

// Home and End go to the first or last column (with Ctrl also row), past
// hidden ones.
void CGridCtrl::MoveHomeEnd(UINT nChar, BOOL bCtrl, KeyMove& move)
{
    const BOOL home = nChar == VK_HOME;
    if (bCtrl) {
        SendMessage(WM_VSCROLL, home ? SB_TOP : SB_BOTTOM, 0);
        move.vScroll = TRUE;
        move.next.row = home ? m_nFixedRows : GetRowCount() - 1;
    }
    SendMessage(WM_HSCROLL, home ? SB_LEFT : SB_RIGHT, 0);
    move.hScroll = TRUE;
    move.next.col = home ? m_nFixedCols : GetColumnCount() - 1;
    if (home) {
        const int col = NextVisible(FALSE, move.next.col, 1, 0, GetColumnCount() - 1);
        const int row = NextVisible(TRUE, move.next.row, 1, 0, GetRowCount() - 1);
        move.next.col = col >= 0 ? col : std::max(move.next.col, GetColumnCount() - 1);
        move.next.row = row >= 0 ? row : std::max(move.next.row, GetRowCount() - 1);
    } else {
        const int col = NextVisible(FALSE, move.next.col, -1, m_nFixedCols + 2, move.next.col);
        const int row = NextVisible(TRUE, move.next.row, -1, m_nFixedRows + 2, move.next.row);
        move.next.col = col >= 0 ? col : std::min(move.next.col, m_nFixedCols + 1);
        move.next.row = row >= 0 ? row : std::min(move.next.row, m_nFixedRows + 1);
    }
}

void CGridCtrl::FocusByKey(UINT nChar, BOOL bShift, const KeyMove& move)
{
    const CGridCellCoord next = move.next;
    BOOL hScroll = move.hScroll;
    BOOL vScroll = move.vScroll;
    if (m_MouseMode == GRIDMOUSE_NOTHING) {
        m_PrevSelectedCellMap.RemoveAll();
        m_MouseMode = m_bListMode ? GRIDMOUSE_SELECT_ROW : GRIDMOUSE_SELECT_CELLS;
        if (!bShift || nChar == VK_TAB)
            m_SelectionStartCell = next;
        SendNotify(next.row, next.col, GRIDNOTIFY_SELCHANGING);
        OnSelecting(next);
        SendNotify(next.row, next.col, GRIDNOTIFY_SELCHANGED);
        m_MouseMode = GRIDMOUSE_NOTHING;
    }
    SetFocusCell(next);

    if (!IsCellVisible(next)) {
        const BOOL tab = nChar == VK_TAB;
        const BOOL left = nChar == VK_LEFT || (tab && bShift);
        const BOOL right = nChar == VK_RIGHT || (tab && !bShift);
        if (tab && move.changeLine) {
            SendMessage(WM_VSCROLL, bShift ? SB_LINEUP : SB_LINEDOWN, 0);
            vScroll = TRUE;
            SetScrollPos32(SB_HORZ, bShift ? m_nHScrollMax : 0);
        } else if (left || right) {
            SendMessage(WM_HSCROLL, left ? SB_LINELEFT : SB_LINERIGHT, 0);
            hScroll = TRUE;
        } else if (nChar == VK_DOWN || nChar == VK_UP) {
            SendMessage(WM_VSCROLL, nChar == VK_DOWN ? SB_LINEDOWN : SB_LINEUP, 0);
            vScroll = TRUE;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);
    if (hScroll)
        SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
    if (vScroll)
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
