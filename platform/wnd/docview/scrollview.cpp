// The scrolling view: bar ranges from the content size, positions from the
// bar codes, the viewport shift of the screen DC.

#include "platform/wnd/docview/scrollview.h"

#include <algorithm>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/runtime_class.h"

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

const CRuntimeClass* CScrollView::GetThisClass()
{
    static const CRuntimeClass kClass { "CScrollView", nullptr, CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CScrollView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CScrollView::OnPaint>(),
            OnWm<WM_SIZE, &CScrollView::OnSize>(),
            OnWm<WM_HSCROLL, &CScrollView::OnHScroll>(),
            OnWm<WM_VSCROLL, &CScrollView::OnVScroll>(),
            OnWm<WM_MOUSEWHEEL, &CScrollView::OnMouseWheel>(),
        });
    return &kMap;
}

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line)
{
    m_nMapMode = mapMode;
    m_totalLog = total;
    m_pageDev = page;
    m_lineDev = line;
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalLog.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalLog.cy / 10;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = std::max<LONG>(m_pageDev.cx / 10, 1);
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = std::max<LONG>(m_pageDev.cy / 10, 1);
    if (GetSafeHwnd()) {
        UpdateBars();
        Invalidate();
    }
}

CPoint CScrollView::GetScrollPosition() const
{
    const HWND hwnd = GetSafeHwnd();
    return hwnd ? CPoint(GetScrollPos(hwnd, SB_HORZ), GetScrollPos(hwnd, SB_VERT)) : CPoint(0, 0);
}

void CScrollView::ScrollToPosition(POINT point)
{
    ScrollBarTo(SB_HORZ, point.x);
    ScrollBarTo(SB_VERT, point.y);
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    CView::OnPrepareDC(dc, info);
    if (!dc || dc->IsPrinting())
        return;
    const CPoint position = GetScrollPosition();
    dc->SetViewportOrg(-position.x, -position.y);
}

void CScrollView::OnPaint()
{
    CPaintDC dc(this);
    dc.FillSolidRect(&dc.m_ps.rcPaint, GetSysColor(COLOR_WINDOW));
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CScrollView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || !GetSafeHwnd())
        return;
    m_bInsideUpdate = TRUE;
    // Showing one bar narrows the client area and may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        CRect client;
        GetClientRect(&client);
        const int sizes[] = { static_cast<int>(m_totalLog.cx), static_cast<int>(m_totalLog.cy) };
        const int pages[] = { client.Width(), client.Height() };
        for (int bar : { SB_HORZ, SB_VERT }) {
            const BOOL needed = sizes[bar] > pages[bar];
            SCROLLINFO info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = needed ? sizes[bar] - 1 : 0;
            info.nPage = needed ? static_cast<UINT>(pages[bar]) : 0;
            info.nPos = needed ? GetScrollPos(GetSafeHwnd(), bar) : 0;
            SetScrollInfo(GetSafeHwnd(), bar, &info, TRUE);
            ShowScrollBar(GetSafeHwnd(), bar, needed);
        }
    }
    m_bInsideUpdate = FALSE;
}

int CScrollView::NewPosition(int bar, UINT code) const
{
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(GetSafeHwnd(), bar, &info);
    const int line = bar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy;
    const int page = bar == SB_HORZ ? m_pageDev.cx : m_pageDev.cy;
    switch (code) {
    case SB_LINEUP:
        return info.nPos - line;
    case SB_LINEDOWN:
        return info.nPos + line;
    case SB_PAGEUP:
        return info.nPos - page;
    case SB_PAGEDOWN:
        return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos;
    case SB_TOP:
        return info.nMin;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return info.nPos;
    }
}

void CScrollView::ScrollBarTo(int bar, int position)
{
    const HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    const int before = GetScrollPos(hwnd, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = std::max(position, 0);
    if (SetScrollInfo(hwnd, bar, &info, TRUE) != before)
        Invalidate();
}

void CScrollView::OnHScroll(UINT code, UINT, CScrollBar*)
{
    ScrollBarTo(SB_HORZ, NewPosition(SB_HORZ, code));
}

void CScrollView::OnVScroll(UINT code, UINT, CScrollBar*)
{
    ScrollBarTo(SB_VERT, NewPosition(SB_VERT, code));
}

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint)
{
    const int lines = -delta / WHEEL_DELTA * 3;
    ScrollBarTo(SB_VERT, GetScrollPos(GetSafeHwnd(), SB_VERT) + lines * m_lineDev.cy);
    return TRUE;
}
