#include "platform/wnd/docview/splitter.h"

#include <algorithm>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/runtime_class.h"

namespace {

constexpr int kMaxPanes = 16;

// Gives every row (column) but the last its ideal size while room is left,
// with a gap after it; the last takes the rest. An ideal size below the
// minimum counts as 0 (the pane is too small to show).
void Apportion(std::vector<CSplitterWnd::CRowColInfo>& info, int size, int gap)
{
    size = std::max(size, 0);
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (i + 1 == info.size()) {
            info[i].nCurSize = size;
            break;
        }
        const int ideal = info[i].nIdealSize < info[i].nMinSize ? 0 : std::max(info[i].nIdealSize, 0);
        info[i].nCurSize = std::min(ideal, size);
        size -= info[i].nCurSize;
        size -= std::min(size, gap);
    }
}

} // namespace

CSplitterWnd::CSplitterWnd() = default;

CSplitterWnd::~CSplitterWnd() = default;

const CRuntimeClass* CSplitterWnd::GetThisClass()
{
    static const CRuntimeClass kClass { "CSplitterWnd", nullptr, CCmdTarget::GetThisClass() };
    return &kClass;
}

const MessageMap* CSplitterWnd::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CSplitterWnd::OnPaint>(),
            OnWm<WM_SIZE, &CSplitterWnd::OnSize>(),
            OnWm<WM_LBUTTONDOWN, &CSplitterWnd::OnLButtonDown>(),
            OnWm<WM_MOUSEMOVE, &CSplitterWnd::OnMouseMove>(),
            OnWm<WM_LBUTTONUP, &CSplitterWnd::OnLButtonUp>(),
        });
    return &kMap;
}

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id)
{
    if (!parent || rows < 1 || cols < 1 || rows > kMaxPanes || cols > kMaxPanes || GetSafeHwnd())
        return FALSE;
    m_nRows = rows;
    m_nCols = cols;
    m_rowInfo.assign(static_cast<std::size_t>(rows), CRowColInfo {});
    m_colInfo.assign(static_cast<std::size_t>(cols), CRowColInfo {});
    CRect client;
    parent->GetClientRect(&client);
    return CreateEx(0, "AfxSplitter", nullptr, style | WS_CHILD, client, parent, id, nullptr);
}

BOOL CSplitterWnd::CreateView(
    int row, int col, const CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context)
{
    if (!GetSafeHwnd() || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || !viewClass
        || GetPane(row, col))
        return FALSE;
    m_colInfo[static_cast<std::size_t>(col)].nIdealSize = initialSize.cx;
    m_rowInfo[static_cast<std::size_t>(row)].nIdealSize = initialSize.cy;
    CCmdTarget* object = viewClass->CreateObject();
    auto* pane = dynamic_cast<CWnd*>(object);
    if (!pane) {
        delete object;
        return FALSE;
    }
    const CRect rect(0, 0, initialSize.cx, initialSize.cy);
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this,
            static_cast<UINT>(IdFromRowCol(row, col)), context))
        return FALSE; // a view deletes itself with its window (PostNcDestroy)
    RecalcLayout();
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return GetDlgItem(IdFromRowCol(row, col));
}

int CSplitterWnd::IdFromRowCol(int row, int col) const
{
    return static_cast<int>(AFX_IDW_PANE_FIRST) + row * 16 + col;
}

BOOL CSplitterWnd::IsChildPane(const CWnd* window, int* row, int* col) const
{
    if (!window || !window->GetSafeHwnd() || window->GetParent() != this)
        return FALSE;
    const int id = window->GetDlgCtrlID() - static_cast<int>(AFX_IDW_PANE_FIRST);
    const int r = id / 16;
    const int c = id % 16;
    if (id < 0 || r >= m_nRows || c >= m_nCols)
        return FALSE;
    if (row)
        *row = r;
    if (col)
        *col = c;
    return TRUE;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum)
{
    if (row < 0 || row >= m_nRows)
        return;
    m_rowInfo[static_cast<std::size_t>(row)].nIdealSize = ideal;
    m_rowInfo[static_cast<std::size_t>(row)].nMinSize = minimum;
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum)
{
    if (col < 0 || col >= m_nCols)
        return;
    m_colInfo[static_cast<std::size_t>(col)].nIdealSize = ideal;
    m_colInfo[static_cast<std::size_t>(col)].nMinSize = minimum;
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const
{
    current = minimum = 0;
    if (row < 0 || row >= m_nRows)
        return;
    current = m_rowInfo[static_cast<std::size_t>(row)].nCurSize;
    minimum = m_rowInfo[static_cast<std::size_t>(row)].nMinSize;
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const
{
    current = minimum = 0;
    if (col < 0 || col >= m_nCols)
        return;
    current = m_colInfo[static_cast<std::size_t>(col)].nCurSize;
    minimum = m_colInfo[static_cast<std::size_t>(col)].nMinSize;
}

void CSplitterWnd::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    rect.DeflateRect(m_cxBorder, m_cyBorder);
    if (rect.right < rect.left)
        rect.right = rect.left;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
}

int CSplitterWnd::ColumnLeft(int col) const
{
    CRect inside;
    GetInsideRect(inside);
    int x = inside.left;
    for (int c = 0; c < col; ++c)
        x += m_colInfo[static_cast<std::size_t>(c)].nCurSize + m_cxSplitterGap;
    return x;
}

int CSplitterWnd::RowTop(int row) const
{
    CRect inside;
    GetInsideRect(inside);
    int y = inside.top;
    for (int r = 0; r < row; ++r)
        y += m_rowInfo[static_cast<std::size_t>(r)].nCurSize + m_cySplitterGap;
    return y;
}

void CSplitterWnd::RecalcLayout()
{
    if (!GetSafeHwnd() || m_nRows == 0 || m_nCols == 0)
        return;
    CRect inside;
    GetInsideRect(inside);
    Apportion(m_colInfo, inside.Width(), m_cxSplitterGap);
    Apportion(m_rowInfo, inside.Height(), m_cySplitterGap);
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nCols; ++c) {
            if (CWnd* pane = GetPane(r, c))
                pane->MoveWindow(ColumnLeft(c), RowTop(r), m_colInfo[static_cast<std::size_t>(c)].nCurSize,
                    m_rowInfo[static_cast<std::size_t>(r)].nCurSize, TRUE);
        }
    }
    Invalidate();
}

void CSplitterWnd::DrawAllSplitBars(CDC* dc, int cxInside, int cyInside)
{
    CRect inside;
    GetInsideRect(inside);
    const int right = inside.left + cxInside;
    const int bottom = inside.top + cyInside;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        const int x = ColumnLeft(c) + m_colInfo[static_cast<std::size_t>(c)].nCurSize;
        if (x >= right)
            break;
        OnDrawSplitter(
            dc, ESplitType::Bar, CRect(x, inside.top, std::min(x + m_cxSplitterGap, right), bottom));
    }
    for (int r = 0; r + 1 < m_nRows; ++r) {
        const int y = RowTop(r) + m_rowInfo[static_cast<std::size_t>(r)].nCurSize;
        if (y >= bottom)
            break;
        OnDrawSplitter(
            dc, ESplitType::Bar, CRect(inside.left, y, right, std::min(y + m_cySplitterGap, bottom)));
    }
    for (int r = 0; r < m_nRows; ++r) {
        for (int c = 0; c < m_nCols; ++c) {
            CRect pane(ColumnLeft(c), RowTop(r),
                ColumnLeft(c) + m_colInfo[static_cast<std::size_t>(c)].nCurSize,
                RowTop(r) + m_rowInfo[static_cast<std::size_t>(r)].nCurSize);
            pane.InflateRect(m_cxBorder, m_cyBorder);
            OnDrawSplitter(dc, ESplitType::Border, pane);
        }
    }
}

void CSplitterWnd::OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect)
{
    if (!dc) {
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE);
        return;
    }
    CRect r = rect;
    switch (type) {
    case ESplitType::Border:
        dc->Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        r.DeflateRect(1, 1);
        dc->Draw3dRect(&r, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_BTNFACE));
        break;
    case ESplitType::Box:
        dc->Draw3dRect(&r, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOWFRAME));
        r.DeflateRect(1, 1);
        dc->Draw3dRect(&r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        r.DeflateRect(1, 1);
        dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
        break;
    case ESplitType::Bar:
    case ESplitType::Intersection:
        dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
        break;
    }
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CRect inside;
    GetInsideRect(inside);
    DrawAllSplitBars(&dc, inside.Width(), inside.Height());
}

void CSplitterWnd::OnSize(UINT, int, int)
{
    RecalcLayout();
}

int CSplitterWnd::HitColumnBar(CPoint point) const
{
    for (int c = 0; c + 1 < m_nCols; ++c) {
        const int x = ColumnLeft(c) + m_colInfo[static_cast<std::size_t>(c)].nCurSize;
        if (point.x >= x && point.x < x + m_cxSplitterGap)
            return c;
    }
    return -1;
}

int CSplitterWnd::HitRowBar(CPoint point) const
{
    for (int r = 0; r + 1 < m_nRows; ++r) {
        const int y = RowTop(r) + m_rowInfo[static_cast<std::size_t>(r)].nCurSize;
        if (point.y >= y && point.y < y + m_cySplitterGap)
            return r;
    }
    return -1;
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    m_trackColumn = HitColumnBar(point);
    m_trackRow = m_trackColumn < 0 ? HitRowBar(point) : -1;
    if (m_trackColumn >= 0 || m_trackRow >= 0)
        SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint) { }

void CSplitterWnd::OnLButtonUp(UINT, CPoint point)
{
    if (m_trackColumn < 0 && m_trackRow < 0)
        return;
    if (m_trackColumn >= 0) {
        auto& info = m_colInfo[static_cast<std::size_t>(m_trackColumn)];
        info.nIdealSize = std::max(0, point.x - ColumnLeft(m_trackColumn));
    } else {
        auto& info = m_rowInfo[static_cast<std::size_t>(m_trackRow)];
        info.nIdealSize = std::max(0, point.y - RowTop(m_trackRow));
    }
    m_trackColumn = m_trackRow = -1;
    ReleaseCapture();
    RecalcLayout();
}
