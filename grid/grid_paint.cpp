// Geometry, painting and scrolling.

#include <algorithm>

#include "grid/drop_target.h"
#include "grid/grid_ctrl.h"
#include "grid/title_tip.h"

// One axis of the grid: the sizes (row heights or column widths), how many
// lead as headings, and the first scrolled index after them.
struct GridAxis {
    const std::vector<UINT>& sizes;
    int fixedCount;
    int first;

    int Count() const { return static_cast<int>(sizes.size()); }
    int Size(int i) const { return static_cast<int>(sizes[static_cast<size_t>(i)]); }
    int FixedSize() const
    {
        int total = 0;
        for (int i = 0; i < fixedCount; ++i)
            total += Size(i);
        return total;
    }
    // Index under pos; -1 before the start, in the headings when they are not
    // allowed, or past the end.
    int IndexAt(int pos, BOOL allowFixed) const
    {
        const int fixedSize = FixedSize();
        if (pos < 0 || (!allowFixed && pos < fixedSize))
            return -1;
        const BOOL inFixed = pos < fixedSize;
        int edge = inFixed ? 0 : fixedSize;
        int i = inFixed ? 0 : first;
        const int end = inFixed ? fixedCount : Count();
        while (i < end) {
            edge += Size(i);
            if (edge > pos)
                break;
            ++i;
        }
        return inFixed ? i : (i >= Count() ? -1 : i);
    }
    // Leading edge of index; FALSE for a scrolled index before first.
    BOOL OffsetOf(int index, int* offset) const
    {
        if (index >= fixedCount && index < first)
            return FALSE;
        *offset = 0;
        for (int i = 0; i < std::min(index, fixedCount); ++i)
            *offset += Size(i);
        for (int i = first; i < index; ++i)
            *offset += Size(i);
        return TRUE;
    }
    // TRUE when no edge up to index's leading edge reaches limit.
    BOOL Visible(int index, int limit) const
    {
        if (index >= fixedCount && index < first)
            return FALSE;
        int pos = index < fixedCount ? 0 : FixedSize();
        for (int i = index < fixedCount ? 0 : first; i <= index; ++i) {
            if (pos >= limit)
                return FALSE;
            pos += Size(i);
        }
        return TRUE;
    }
    // The last index that reaches into [0, limit) and the edge where the
    // painted cells end (at most limit); *partial tells whether that index
    // reaches past limit.
    int LastVisible(int limit, int* edge, BOOL* partial = nullptr) const
    {
        int pos = FixedSize();
        int i = first;
        for (; i < Count(); ++i) {
            pos += Size(i);
            if (pos >= limit)
                break;
        }
        if (partial)
            *partial = i < Count() && pos > limit;
        *edge = std::min(pos, limit);
        return std::min(i, Count() - 1);
    }
};

GridAxis CGridCtrl::RowAxis()
{
    return { m_arRowHeights, m_nFixedRows, GetTopleftNonFixedCell().row };
}

GridAxis CGridCtrl::ColumnAxis()
{
    return { m_arColWidths, m_nFixedCols, GetTopleftNonFixedCell().col };
}

int CGridCtrl::GetRowHeight(int nRow) const
{
    if (nRow < 0 || nRow >= m_nRows)
        return -1;
    return static_cast<int>(m_arRowHeights[static_cast<size_t>(nRow)]);
}

int CGridCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= m_nCols)
        return -1;
    return static_cast<int>(m_arColWidths[static_cast<size_t>(nCol)]);
}

int CGridCtrl::GetFixedRowHeight() const
{
    int height = 0;
    for (int row = 0; row < m_nFixedRows; ++row)
        height += GetRowHeight(row);
    return height;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int width = 0;
    for (int col = 0; col < m_nFixedCols; ++col)
        width += GetColumnWidth(col);
    return width;
}

long CGridCtrl::GetVirtualWidth() const
{
    long width = 0;
    for (UINT w : m_arColWidths)
        width += static_cast<long>(w);
    return width;
}

long CGridCtrl::GetVirtualHeight() const
{
    if (m_nRowHeightSum < 0) {
        long height = 0;
        for (UINT h : m_arRowHeights)
            height += static_cast<long>(h);
        m_nRowHeightSum = height;
    }
    return m_nRowHeightSum;
}

CGridCellCoord CGridCtrl::GetTopleftNonFixedCell(BOOL bForceRecalculation)
{
    if (m_idTopLeftCell.IsValid() && !bForceRecalculation)
        return m_idTopLeftCell;
    const int vertPos = GetScrollPos32(SB_VERT);
    const int horzPos = GetScrollPos32(SB_HORZ);

    m_idTopLeftCell.col = m_nFixedCols;
    int right = 0;
    while (right < horzPos && m_idTopLeftCell.col < GetColumnCount() - 1)
        right += GetColumnWidth(m_idTopLeftCell.col++);

    m_idTopLeftCell.row = m_nFixedRows;
    int top = 0;
    while (top < vertPos && m_idTopLeftCell.row < GetRowCount() - 1)
        top += GetRowHeight(m_idTopLeftCell.row++);
    return m_idTopLeftCell;
}

CGridCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation)
{
    CRect rect;
    GetClientRect(rect);
    const CGridCellCoord topLeft = GetTopleftNonFixedCell(bForceRecalculation);
    int bottom = 0;
    int right = 0;
    const int maxRow = RowAxis().LastVisible(rect.bottom, &bottom);
    const int maxCol = ColumnAxis().LastVisible(rect.right, &right);
    if (pRect) {
        pRect->left = pRect->top = 0;
        pRect->right = right;
        pRect->bottom = bottom;
    }
    return CGridCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

CGridCellRange CGridCtrl::GetUnobstructedNonFixedCellRange(BOOL bForceRecalculation)
{
    CRect rect;
    GetClientRect(rect);
    const CGridCellCoord topLeft = GetTopleftNonFixedCell(bForceRecalculation);
    int edge = 0;
    BOOL partial = FALSE;
    int maxRow = RowAxis().LastVisible(rect.bottom, &edge, &partial);
    if (partial)
        maxRow = std::max(maxRow - 1, topLeft.row);
    int maxCol = ColumnAxis().LastVisible(rect.right, &edge, &partial);
    if (partial)
        maxCol = std::max(maxCol - 1, topLeft.col);
    return CGridCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

CGridCellRange CGridCtrl::GetCellRange() const
{
    return CGridCellRange(0, 0, GetRowCount() - 1, GetColumnCount() - 1);
}

CGridCellCoord CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck)
{
    const CGridCellCoord topLeft = GetTopleftNonFixedCell();
    if (!bAllowFixedCellCheck && !topLeft.IsValid())
        return CGridCellCoord();
    return CGridCellCoord(RowAxis().IndexAt(point.y, bAllowFixedCellCheck),
        ColumnAxis().IndexAt(point.x, bAllowFixedCellCheck));
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p)
{
    if (!IsValid(nRow, nCol))
        return FALSE;
    int x = 0;
    int y = 0;
    if (!RowAxis().OffsetOf(nRow, &y) || !ColumnAxis().OffsetOf(nCol, &x))
        return FALSE;
    p->x = x;
    p->y = y;
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect)
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return FALSE;
    pRect->left = origin.x;
    pRect->top = origin.y;
    pRect->right = origin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

BOOL CGridCtrl::GetTextRect(int nRow, int nCol, LPRECT pRect)
{
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell || !GetCellRect(nRow, nCol, pRect))
        return FALSE;
    return cell->GetTextRect(pRect);
}

BOOL CGridCtrl::GetCellRangeRect(const CGridCellRange& cellRange, LPRECT lpRect)
{
    CPoint minOrigin, maxOrigin;
    if (!GetCellOrigin(cellRange.GetMinRow(), cellRange.GetMinCol(), &minOrigin))
        return FALSE;
    if (!GetCellOrigin(cellRange.GetMaxRow(), cellRange.GetMaxCol(), &maxOrigin))
        return FALSE;
    lpRect->left = minOrigin.x;
    lpRect->top = minOrigin.y;
    lpRect->right = maxOrigin.x + GetColumnWidth(cellRange.GetMaxCol()) - 1;
    lpRect->bottom = maxOrigin.y + GetRowHeight(cellRange.GetMaxRow()) - 1;
    return TRUE;
}

BOOL CGridCtrl::MouseOverRowResizeArea(CPoint& point)
{
    if (point.x >= GetFixedColumnWidth())
        return FALSE;
    const CGridCellCoord cell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(cell, &start))
        return FALSE;
    const int endy = start.y + GetRowHeight(cell.row);
    return (point.y - start.y < m_nResizeCaptureRange && cell.row != 0)
        || endy - point.y < m_nResizeCaptureRange;
}

BOOL CGridCtrl::MouseOverColumnResizeArea(CPoint& point)
{
    if (point.y >= GetFixedRowHeight())
        return FALSE;
    const CGridCellCoord cell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(cell, &start))
        return FALSE;
    const int endx = start.x + GetColumnWidth(cell.col);
    return (point.x - start.x < m_nResizeCaptureRange && cell.col != 0)
        || endx - point.x < m_nResizeCaptureRange;
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol)
{
    if (!GetSafeHwnd() || !IsValid(nRow, nCol))
        return FALSE;
    CRect rect;
    GetClientRect(rect);
    return ColumnAxis().Visible(nCol, rect.right) && RowAxis().Visible(nRow, rect.bottom);
}

void CGridCtrl::EnsureVisible(int nRow, int nCol)
{
    if (!m_bAllowDraw || !GetSafeHwnd())
        return;
    CWnd* focusWnd = GetFocus();
    const HWND focusHwnd = focusWnd ? focusWnd->GetSafeHwnd() : nullptr;
    const CGridCellRange visible = GetVisibleNonFixedCellRange();

    int right = nCol - visible.GetMaxCol();
    int left = visible.GetMinCol() - nCol;
    int down = nRow - visible.GetMaxRow();
    int up = visible.GetMinRow() - nRow;

    int col = visible.GetMaxCol() + 1;
    while (right > 0) {
        if (GetColumnWidth(col) > 0)
            SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        --right;
        ++col;
    }
    col = visible.GetMinCol() - 1;
    while (left > 0) {
        if (GetColumnWidth(col) > 0)
            SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
        --left;
        --col;
    }
    int row = visible.GetMaxRow() + 1;
    while (down > 0) {
        if (GetRowHeight(row) > 0)
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        --down;
        ++row;
    }
    row = visible.GetMinRow() - 1;
    while (up > 0) {
        if (GetRowHeight(row) > 0)
            SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        --up;
        --row;
    }

    CRect rectCell;
    if (!GetCellRect(nRow, nCol, rectCell))
        return;
    CRect rectWindow;
    GetClientRect(rectWindow);
    // Bounded: each step scrolls one column or row, or the position stops moving.
    for (int guard = m_nCols;
         rectCell.right > rectWindow.right && rectCell.left > GetFixedColumnWidth() && guard > 0; --guard) {
        const int before = GetScrollPos32(SB_HORZ);
        SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        if (!GetCellRect(nRow, nCol, rectCell) || GetScrollPos32(SB_HORZ) == before)
            break;
    }
    for (int guard = m_nRows;
         rectCell.bottom > rectWindow.bottom && rectCell.top > GetFixedRowHeight() && guard > 0; --guard) {
        const int before = GetScrollPos32(SB_VERT);
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        if (!GetCellRect(nRow, nCol, rectCell) || GetScrollPos32(SB_VERT) == before)
            break;
    }
    if (focusHwnd && ::IsWindow(focusHwnd))
        CWnd::FromHandle(focusHwnd)->SetFocus();
}

BOOL CGridCtrl::InvalidateCellRect(int row, int col)
{
    if (!GetSafeHwnd() || !m_bAllowDraw || !IsValid(row, col) || !IsCellVisible(row, col))
        return FALSE;
    CRect rect;
    if (!GetCellRect(row, col, rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRect(const CGridCellRange& cellRange)
{
    if (!GetSafeHwnd() || !m_bAllowDraw)
        return FALSE;
    const CGridCellRange visible = GetVisibleNonFixedCellRange().Intersect(cellRange);
    CRect rect;
    if (!GetCellRangeRect(visible, rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

void CGridCtrl::Refresh()
{
    if (GetSafeHwnd() && m_bAllowDraw)
        Invalidate(TRUE);
}

void CGridCtrl::SetGridLines(int nWhichLines)
{
    m_nGridLines = nWhichLines;
    Refresh();
}

// ---- Painting ----

void CGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!dc.GetSafeHdc())
        return;
    if (!m_bDoubleBuffer) {
        OnDraw(&dc);
        return;
    }
    // One copy to the screen: draw the clip box off screen first, in a bitmap
    // that shares the window's coordinates.
    CRect clip;
    if (dc.GetClipBox(clip) == ERROR || clip.IsRectEmpty())
        return;
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, clip.right, clip.bottom)) {
        OnDraw(&dc);
        return;
    }
    CBitmap* oldBitmap = memDC.SelectObject(&bitmap);
    memDC.IntersectClipRect(clip);
    memDC.FillSolidRect(clip, dc.GetBkColor());
    OnDraw(&memDC);
    dc.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memDC, clip.left, clip.top, SRCCOPY);
    memDC.SelectObject(oldBitmap);
}

LRESULT CGridCtrl::OnEraseBkgndMsg(WPARAM, LPARAM)
{
    return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* pDC)
{
    CRect visRect, clipRect, rect;
    CBrush fixedRowColBack(GetDefaultCell(TRUE, TRUE)->GetBackClr());
    CBrush fixedRowBack(GetDefaultCell(TRUE, FALSE)->GetBackClr());
    CBrush fixedColBack(GetDefaultCell(FALSE, TRUE)->GetBackClr());
    CBrush textBack(GetDefaultCell(FALSE, FALSE)->GetBackClr());
    CBrush back(GetGridBkColor());

    if (pDC->GetClipBox(clipRect) == ERROR)
        return;
    GetVisibleNonFixedCellRange(visRect);
    const int fixedColWidth = GetFixedColumnWidth();
    const int fixedRowHeight = GetFixedRowHeight();

    if (clipRect.left < fixedColWidth && clipRect.top < fixedRowHeight)
        pDC->FillRect(CRect(clipRect.left, clipRect.top, fixedColWidth, fixedRowHeight), &fixedRowColBack);
    if (clipRect.left < fixedColWidth && clipRect.top < visRect.bottom)
        pDC->FillRect(CRect(clipRect.left, clipRect.top, fixedColWidth, visRect.bottom), &fixedColBack);
    if (clipRect.top < fixedRowHeight && clipRect.right > fixedColWidth && clipRect.left < visRect.right)
        pDC->FillRect(CRect(fixedColWidth - 1, clipRect.top, visRect.right, fixedRowHeight), &fixedRowBack);
    if (rect.IntersectRect(visRect, clipRect)) {
        CRect cellRect(std::max(fixedColWidth, static_cast<int>(rect.left)),
            std::max(fixedRowHeight, static_cast<int>(rect.top)), rect.right, rect.bottom);
        pDC->FillRect(cellRect, &textBack);
    }
    if (visRect.right < clipRect.right)
        pDC->FillRect(CRect(visRect.right, clipRect.top, clipRect.right, clipRect.bottom), &back);
    if (visRect.bottom < clipRect.bottom && clipRect.left < visRect.right)
        pDC->FillRect(CRect(clipRect.left, visRect.bottom, visRect.right, clipRect.bottom), &back);
}

void CGridCtrl::OnDraw(CDC* pDC)
{
    if (!m_bAllowDraw)
        return;
    CRect clipRect;
    if (pDC->GetClipBox(clipRect) == ERROR)
        return;

    EraseBkgnd(pDC);

    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();
    const CGridCellCoord topLeft = GetTopleftNonFixedCell();
    const int minVisibleRow = topLeft.row;
    const int minVisibleCol = topLeft.col;
    CRect visRect;
    const CGridCellRange visCells = GetVisibleNonFixedCellRange(visRect);
    const int maxVisibleRow = visCells.GetMaxRow();
    const int maxVisibleCol = visCells.GetMaxCol();
    if (m_bVirtualMode)
        SendCacheHint(visCells);

    // Corner cells, fixed columns of the visible rows, fixed rows over the
    // visible columns, then the visible non-fixed cells.
    DrawCells(pDC, 0, m_nFixedRows - 1, -1, 0, m_nFixedCols - 1, -1, nullptr);
    DrawCells(pDC, minVisibleRow, maxVisibleRow, fixedRowHeight - 1, 0, m_nFixedCols - 1, -1, &clipRect);
    DrawCells(pDC, 0, m_nFixedRows - 1, -1, minVisibleCol, maxVisibleCol, fixedColWidth - 1, &clipRect);
    DrawCells(pDC, minVisibleRow, maxVisibleRow, fixedRowHeight - 1, minVisibleCol, maxVisibleCol,
        fixedColWidth - 1, &clipRect);

    CPen pen(PS_SOLID, 0, m_crGridLineColour);
    pDC->SelectObject(&pen);
    if (m_nGridLines == 2 || m_nGridLines == 3) {
        int x = fixedColWidth;
        for (int col = minVisibleCol; col <= maxVisibleCol; ++col) {
            if (GetColumnWidth(col) <= 0)
                continue;
            x += GetColumnWidth(col);
            pDC->MoveTo(x - 1, fixedRowHeight);
            pDC->LineTo(x - 1, visRect.bottom);
        }
    }
    if (m_nGridLines == 1 || m_nGridLines == 3) {
        int y = fixedRowHeight;
        for (int row = minVisibleRow; row <= maxVisibleRow; ++row) {
            if (GetRowHeight(row) <= 0)
                continue;
            y += GetRowHeight(row);
            pDC->MoveTo(fixedColWidth, y - 1);
            pDC->LineTo(visRect.right, y - 1);
        }
    }
    pDC->SelectStockObject(NULL_PEN);
    if (m_bVirtualMode)
        SendCacheHint(CGridCellRange(-1, -1, -1, -1));
}

void CGridCtrl::DrawCells(
    CDC* pDC, int firstRow, int lastRow, int top, int firstCol, int lastCol, int left, const CRect* clip)
{
    CRect rect;
    rect.bottom = top;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (GetRowHeight(row) <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (clip && rect.top > clip->bottom)
            break;
        if (clip && rect.bottom < clip->top)
            continue;
        rect.right = left;
        for (int col = firstCol; col <= lastCol; ++col) {
            if (GetColumnWidth(col) <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (clip && rect.left > clip->right)
                break;
            if (clip && rect.right < clip->left)
                continue;
            if (CGridCellBase* cell = GetCell(row, col)) {
                cell->SetCoords(row, col);
                cell->Draw(pDC, row, col, rect, FALSE);
            }
        }
    }
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC)
{
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return FALSE;
    if (!pDC) {
        // Drawing reaches the screen through the next paint.
        rect.right++;
        rect.bottom++;
        InvalidateRect(rect, TRUE);
        return TRUE;
    }
    BOOL result = TRUE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (nRow < m_nFixedRows || nCol < m_nFixedCols) {
        result = cell ? cell->Draw(pDC, nRow, nCol, rect, TRUE) : FALSE;
    } else {
        if (cell)
            result = cell->Draw(pDC, nRow, nCol, rect, TRUE);
        CPen pen(PS_SOLID, 0, m_crGridLineColour);
        CPen* oldPen = pDC->SelectObject(&pen);
        if (m_nGridLines == 1 || m_nGridLines == 3) {
            pDC->MoveTo(rect.left, rect.bottom);
            pDC->LineTo(rect.right + 1, rect.bottom);
        }
        if (m_nGridLines == 2 || m_nGridLines == 3) {
            pDC->MoveTo(rect.right, rect.top);
            pDC->LineTo(rect.right, rect.bottom + 1);
        }
        pDC->SelectObject(oldPen);
    }
    return result;
}

BOOL CGridCtrl::RedrawRow(int row)
{
    if (!m_bAllowDraw)
        return FALSE;
    for (int col = 0; col < GetColumnCount(); ++col)
        RedrawCell(row, col);
    return TRUE;
}

BOOL CGridCtrl::RedrawColumn(int col)
{
    if (!m_bAllowDraw)
        return FALSE;
    for (int row = 0; row < GetRowCount(); ++row)
        RedrawCell(row, col);
    return TRUE;
}

CDC* CGridCtrl::GetGridDC()
{
    HDC screen = GdiCreateScreenDC();
    if (!screen)
        return nullptr;
    auto* dc = new CDC;
    dc->Attach(screen);
    return dc;
}

void CGridCtrl::ReleaseGridDC(CDC* pDC)
{
    delete pDC;
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars)
{
    if (bAllowDraw && !m_bAllowDraw) {
        m_bAllowDraw = TRUE;
        Refresh();
    }
    m_bAllowDraw = bAllowDraw;
    if (bResetScrollBars)
        ResetScrollBars();
}

// ---- Scrolling ----

void CGridCtrl::OnSize(UINT nType, int cx, int cy)
{
    if (m_bInSize || !GetSafeHwnd())
        return;
    m_bInSize = TRUE;
    if (m_DropTarget)
        m_DropTarget->Register(this);
    EndEditing();
    CWnd::OnSize(nType, cx, cy);
    ResetScrollBars();
    m_bInSize = FALSE;
}

void CGridCtrl::EnableScrollBars(int nBar, BOOL bEnable)
{
    if (bEnable) {
        if (!(m_nBarState & GVL_HORZ) && (nBar == SB_HORZ || nBar == SB_BOTH)) {
            m_nBarState |= GVL_HORZ;
            ShowScrollBar(GetSafeHwnd(), SB_HORZ, bEnable);
        }
        if (!(m_nBarState & GVL_VERT) && (nBar == SB_VERT || nBar == SB_BOTH)) {
            m_nBarState |= GVL_VERT;
            ShowScrollBar(GetSafeHwnd(), SB_VERT, bEnable);
        }
    } else {
        if ((m_nBarState & GVL_HORZ) && (nBar == SB_HORZ || nBar == SB_BOTH)) {
            m_nBarState &= ~GVL_HORZ;
            ShowScrollBar(GetSafeHwnd(), SB_HORZ, bEnable);
        }
        if ((m_nBarState & GVL_VERT) && (nBar == SB_VERT || nBar == SB_BOTH)) {
            m_nBarState &= ~GVL_VERT;
            ShowScrollBar(GetSafeHwnd(), SB_VERT, bEnable);
        }
    }
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos)
{
    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = bGetTrackPos ? SIF_TRACKPOS : SIF_POS;
    if (!GetSafeHwnd() || !::GetScrollInfo(GetSafeHwnd(), nBar, &si))
        return 0;
    return bGetTrackPos ? si.nTrackPos : si.nPos;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw)
{
    m_idTopLeftCell.row = -1;
    if (!GetSafeHwnd())
        return FALSE;
    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = nPos;
    ::SetScrollInfo(GetSafeHwnd(), nBar, &si, bRedraw);
    return TRUE;
}

void CGridCtrl::ResetScrollBars()
{
    m_idTopLeftCell.row = -1;
    if (!m_bAllowDraw || !GetSafeHwnd())
        return;
    CRect rect;
    GetClientRect(rect);
    if (rect.left == rect.right || rect.top == rect.bottom)
        return;
    if (m_nBarState & GVL_VERT)
        rect.right += GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXBORDER);
    if (m_nBarState & GVL_HORZ)
        rect.bottom += GetSystemMetrics(SM_CYHSCROLL) + GetSystemMetrics(SM_CYBORDER);

    rect.left += GetFixedColumnWidth();
    rect.top += GetFixedRowHeight();
    if (rect.left >= rect.right || rect.top >= rect.bottom) {
        ShowScrollBar(GetSafeHwnd(), SB_BOTH, FALSE);
        m_nBarState = 0;
        return;
    }

    CRect visibleRect(rect.left, rect.top, rect.right, rect.bottom);
    const CRect virtualRect(
        rect.left, rect.top, rect.left + GetVirtualWidth(), rect.top + GetVirtualHeight());
    if (visibleRect.Height() < virtualRect.Height())
        visibleRect.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (visibleRect.Width() < virtualRect.Width())
        visibleRect.bottom -= GetSystemMetrics(SM_CYHSCROLL);

    if (visibleRect.Height() >= virtualRect.Height()) {
        EnableScrollBars(SB_VERT, FALSE);
        m_nVScrollMax = 0;
    } else {
        EnableScrollBars(SB_VERT, TRUE);
        m_nVScrollMax = virtualRect.Height() - 1;
    }
    if (visibleRect.Width() >= virtualRect.Width()) {
        EnableScrollBars(SB_HORZ, FALSE);
        m_nHScrollMax = 0;
    } else {
        EnableScrollBars(SB_HORZ, TRUE);
        m_nHScrollMax = virtualRect.Width() - 1;
    }

    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_PAGE | SIF_RANGE;
    si.nPage = m_nHScrollMax > 0 ? static_cast<UINT>(visibleRect.Width()) : 0;
    si.nMin = 0;
    si.nMax = m_nHScrollMax;
    ::SetScrollInfo(GetSafeHwnd(), SB_HORZ, &si, TRUE);
    si.fMask |= SIF_DISABLENOSCROLL;
    si.nPage = m_nVScrollMax > 0 ? static_cast<UINT>(visibleRect.Height()) : 0;
    si.nMax = m_nVScrollMax;
    ::SetScrollInfo(GetSafeHwnd(), SB_VERT, &si, TRUE);
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT, CScrollBar*)
{
    OnScroll(SB_VERT, nSBCode);
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    OnScroll(SB_HORZ, nSBCode);
}

void CGridCtrl::OnScroll(int nBar, UINT nSBCode)
{
    EndEditing();
    if (m_TitleTip)
        m_TitleTip->Hide();
    const BOOL vertical = nBar == SB_VERT;
    const auto size = [&](int i) { return vertical ? GetRowHeight(i) : GetColumnWidth(i); };
    const int count = vertical ? GetRowCount() : GetColumnCount();
    const int fixedCount = vertical ? GetFixedRowCount() : GetFixedColumnCount();
    const int scrollMax = vertical ? m_nVScrollMax : m_nHScrollMax;
    const int scrollPos = GetScrollPos32(nBar);
    const CGridCellCoord oldTopLeft = GetTopleftNonFixedCell();
    const int first = vertical ? oldTopLeft.row : oldTopLeft.col;
    CRect rect;
    GetClientRect(rect);
    // The scrolling part: below the fixed rows, or right of the fixed columns.
    CRect area = rect;
    if (vertical)
        area.top = GetFixedRowHeight();
    else
        area.left = GetFixedColumnWidth();
    const int page = vertical ? area.Height() : area.Width();

    switch (nSBCode) {
    case SB_LINEDOWN:
        if (scrollPos < scrollMax) {
            int i = first;
            while (i < count - 1 && size(i) == 0)
                ++i;
            SetScrollPos32(nBar, scrollPos + size(i));
            if (GetScrollPos32(nBar) != scrollPos)
                InvalidateRect(area, TRUE);
        }
        break;
    case SB_LINEUP:
        if (scrollPos > 0 && first > fixedCount) {
            int i = first - 1;
            while (i > fixedCount && size(i) == 0)
                --i;
            SetScrollPos32(nBar, std::max(0, scrollPos - size(i)));
            InvalidateRect(area, TRUE);
        }
        break;
    case SB_PAGEDOWN:
        if (scrollPos < scrollMax) {
            SetScrollPos32(nBar, std::min(scrollMax, scrollPos + page));
            InvalidateRect(area, TRUE);
        }
        break;
    case SB_PAGEUP:
        if (scrollPos > 0) {
            SetScrollPos32(nBar, std::max(0, scrollPos - page));
            InvalidateRect(area, TRUE);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
        m_idTopLeftCell.row = -1;
        if (!(GetTopleftNonFixedCell() == oldTopLeft))
            InvalidateRect(area, TRUE);
        break;
    case SB_TOP:
        if (scrollPos > 0) {
            SetScrollPos32(nBar, 0);
            Invalidate(TRUE);
        }
        break;
    case SB_BOTTOM:
        if (scrollPos < scrollMax) {
            SetScrollPos32(nBar, scrollMax);
            Invalidate(TRUE);
        }
        break;
    default:
        break;
    }
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kAutoScrollTimerId)
        return;
    CPoint pt, origPt;
    if (!GetCursorPos(&origPt))
        return;
    ScreenToClient(&origPt);
    CRect rect;
    GetClientRect(rect);
    const int fixedRowHeight = GetFixedRowHeight();
    const int fixedColWidth = GetFixedColumnWidth();

    pt = origPt;
    if (pt.y > rect.bottom) {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        pt.x = std::clamp(pt.x, rect.left, rect.right);
        pt.y = rect.bottom;
        OnSelecting(GetCellFromPt(pt));
    } else if (pt.y < fixedRowHeight) {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        pt.x = std::clamp(pt.x, rect.left, rect.right);
        pt.y = fixedRowHeight + 1;
        OnSelecting(GetCellFromPt(pt));
    }
    pt = origPt;
    if (pt.x > rect.right) {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        pt.y = std::clamp(pt.y, rect.top, rect.bottom);
        pt.x = rect.right;
        OnSelecting(GetCellFromPt(pt));
    } else if (pt.x < fixedColWidth) {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        pt.y = std::clamp(pt.y, rect.top, rect.bottom);
        pt.x = fixedColWidth + 1;
        OnSelecting(GetCellFromPt(pt));
    }
}
