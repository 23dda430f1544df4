// Row heights, column widths, auto-size and stretching.

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "grid/text_measure.h"

namespace {

struct RowRange {
    int first;
    int last;
};

RowRange RowsOfStyle(UINT style, int fixedRows, int rows)
{
    return { (style & 1) ? 0 : fixedRows, (style & 2) ? rows - 1 : fixedRows - 1 };
}

} // namespace

BOOL CGridCtrl::SetRowHeight(int nRow, int height)
{
    if (nRow < 0 || nRow >= m_nRows || height < 0)
        return FALSE;
    m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(height);
    m_nRowHeightSum = -1;
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width)
{
    if (nCol < 0 || nCol >= m_nCols || width < 0)
        return FALSE;
    m_arColWidths[static_cast<size_t>(nCol)] = static_cast<UINT>(width);
    ResetScrollBars();
    return TRUE;
}

CGridTextMeasure* CGridCtrl::GetTextMeasure() const
{
    if (!m_pTextMeasure) {
        m_pMeasureDC = const_cast<CGridCtrl*>(this)->GetGridDC();
        if (m_pMeasureDC)
            m_pTextMeasure = std::make_unique<CGridTextMeasure>(m_pMeasureDC);
    }
    return m_pTextMeasure.get();
}

BOOL CGridCtrl::MeasurePass(const std::function<void(CDC*)>& fn)
{
    CGridTextMeasure* measure = GetTextMeasure();
    if (!measure)
        return FALSE;
    fn(measure->GetDC());
    return TRUE;
}

void CGridCtrl::AutoSize(UINT nAutoSizeStyle)
{
    if (nAutoSizeStyle == 0)
        nAutoSizeStyle = static_cast<UINT>(m_nAutoSizeColumnStyle);
    const RowRange range = RowsOfStyle(nAutoSizeStyle, m_nFixedRows, m_nRows);
    // Hidden rows and columns stay hidden and are not measured.
    std::vector<int> columns;
    for (int col = 0; col < m_nCols; ++col) {
        if (GetColumnWidth(col) > 0)
            columns.push_back(col);
    }
    const BOOL measured = MeasurePass([&](CDC* dc) {
        if (m_bVirtualMode)
            SendCacheHint(CGridCellRange(range.first, 0, range.last, m_nCols));
        for (int col : columns)
            m_arColWidths[static_cast<size_t>(col)] = 0;
        for (int row = std::max(range.first, 0); row <= range.last; ++row) {
            UINT& height = m_arRowHeights[static_cast<size_t>(row)];
            if (height == 0)
                continue;
            height = 1;
            for (int col : columns) {
                CGridCellBase* cell = GetCell(row, col);
                if (!cell)
                    continue;
                const CSize size = cell->GetCellExtent(dc);
                UINT& width = m_arColWidths[static_cast<size_t>(col)];
                width = std::max(width, static_cast<UINT>(std::max<LONG>(size.cx, 0)));
                height = std::max(height, static_cast<UINT>(std::max<LONG>(size.cy, 0)));
            }
        }
        if (m_bVirtualMode)
            SendCacheHint(CGridCellRange(-1, -1, -1, -1));
    });
    m_nRowHeightSum = -1;
    if (!measured)
        return;
    ResetScrollBars();
    Refresh();
}

int CGridCtrl::LargestExtent(const CGridCellRange& range, BOOL bWidth)
{
    int largest = 0;
    const BOOL measured = MeasurePass([&](CDC* dc) {
        if (m_bVirtualMode)
            SendCacheHint(range);
        for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
            for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
                if (CGridCellBase* cell = GetCell(row, col)) {
                    const CSize size = cell->GetCellExtent(dc);
                    largest = std::max(largest, static_cast<int>(bWidth ? size.cx : size.cy));
                }
            }
        }
        if (m_bVirtualMode)
            SendCacheHint(CGridCellRange(-1, -1, -1, -1));
    });
    return measured ? largest : -1;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeStyle, BOOL bResetScroll)
{
    if (nCol < 0 || nCol >= m_nCols || GetColumnWidth(nCol) <= 0)
        return FALSE;
    const RowRange range = RowsOfStyle(
        nAutoSizeStyle ? nAutoSizeStyle : static_cast<UINT>(m_nAutoSizeColumnStyle), m_nFixedRows, m_nRows);
    const int width = LargestExtent(CGridCellRange(range.first, nCol, range.last, nCol), TRUE);
    if (width < 0)
        return FALSE;
    m_arColWidths[static_cast<size_t>(nCol)] = static_cast<UINT>(width);
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll)
{
    if (nRow < 0 || nRow >= m_nRows || GetRowHeight(nRow) <= 0)
        return FALSE;
    const int height = LargestExtent(CGridCellRange(nRow, 0, nRow, m_nCols - 1), FALSE);
    if (height < 0)
        return FALSE;
    m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(height);
    m_nRowHeightSum = -1;
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSizeColumns(UINT nAutoSizeStyle)
{
    MeasurePass([&](CDC*) {
        for (int col = 0; col < m_nCols; ++col) {
            if (GetColumnWidth(col) > 0)
                AutoSizeColumn(col, nAutoSizeStyle, FALSE);
        }
    });
    ResetScrollBars();
}

void CGridCtrl::AutoSizeRows()
{
    MeasurePass([&](CDC*) {
        for (int row = 0; row < m_nRows; ++row) {
            if (GetRowHeight(row) > 0)
                AutoSizeRow(row, FALSE);
        }
    });
    ResetScrollBars();
}

namespace {

// Spreads d pixels over the sizes from first on that are not 0.
void Stretch(std::vector<UINT>& sizes, int first, int d)
{
    int n = 0;
    for (size_t i = static_cast<size_t>(first); i < sizes.size(); ++i)
        n += sizes[i] != 0 ? 1 : 0;
    if (n == 0)
        return;
    const int each = d / n;
    for (size_t i = static_cast<size_t>(first); i < sizes.size(); ++i) {
        if (sizes[i] != 0)
            sizes[i] = static_cast<UINT>(std::max(0, static_cast<int>(sizes[i]) + each));
    }
    const int rest = d > 0 ? d % n : (-d) % n;
    for (int i = first; i < first + rest && i < static_cast<int>(sizes.size()); ++i) {
        UINT& size = sizes[static_cast<size_t>(i)];
        if (size != 0)
            size = d > 0 ? size + 1 : (size > 0 ? size - 1 : 0);
    }
}

} // namespace

void CGridCtrl::ExpandColumnsToFit(BOOL bExpandFixed)
{
    ExpandToClient(TRUE, bExpandFixed);
}

void CGridCtrl::ExpandRowsToFit(BOOL bExpandFixed)
{
    ExpandToClient(FALSE, bExpandFixed);
}

void CGridCtrl::ExpandToClient(BOOL bColumns, BOOL bExpandFixed)
{
    const int count = bColumns ? m_nCols : m_nRows;
    const int fixed = bColumns ? m_nFixedCols : m_nFixedRows;
    if (bExpandFixed ? count <= 0 : count <= fixed)
        return;
    EnableScrollBars(bColumns ? SB_HORZ : SB_VERT, FALSE);
    CRect rect;
    GetClientRect(rect);
    if (bColumns)
        Stretch(m_arColWidths, bExpandFixed ? 0 : fixed, static_cast<int>(rect.Width() - GetVirtualWidth()));
    else
        Stretch(
            m_arRowHeights, bExpandFixed ? 0 : fixed, static_cast<int>(rect.Height() - GetVirtualHeight()));
    m_nRowHeightSum = -1;
    Refresh();
    ResetScrollBars();
}

void CGridCtrl::ExpandToFit(BOOL bExpandFixed)
{
    ExpandColumnsToFit(bExpandFixed);
    ExpandRowsToFit(bExpandFixed);
    ExpandColumnsToFit(bExpandFixed);
    Refresh();
}

void CGridCtrl::ExpandLastColumn()
{
    int last = m_nCols - 1;
    while (last >= 0 && GetColumnWidth(last) == 0)
        --last;
    if (last > 0) {
        EnableScrollBars(SB_HORZ, FALSE);
        CRect rect;
        GetClientRect(rect);
        const long width = GetVirtualWidth();
        if (rect.Width() > width) {
            m_arColWidths[static_cast<size_t>(last)] += static_cast<UINT>(rect.Width() - width);
            Refresh();
        }
    }
    ResetScrollBars();
}
