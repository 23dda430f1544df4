// The preview's multiple selection.

#include "labeltool/multi_rect_tracker.h"

#include <algorithm>

CMultiRectTracker::CMultiRectTracker()
{
    m_nStyle = solidLine | resizeOutside;
}

CRect CMultiRectTracker::ClientRect(const CLabelTextItem& item) const
{
    CRect rect = item.m_rect;
    rect.OffsetRect(-m_offset.x, -m_offset.y);
    return rect;
}

void CMultiRectTracker::Add(CLabelTextItem* item)
{
    if (item && !IsSelected(item))
        m_items.push_back(item);
}

BOOL CMultiRectTracker::IsSelected(const CLabelTextItem* item) const
{
    return std::find(m_items.begin(), m_items.end(), item) != m_items.end();
}

void CMultiRectTracker::DrawAll(CDC* dc)
{
    for (CLabelTextItem* item : m_items) {
        m_rect = item->m_rect;
        Draw(dc);
    }
}

int CMultiRectTracker::HitTestAll(CPoint point)
{
    for (CLabelTextItem* item : m_items) {
        m_rect = ClientRect(*item);
        if (const int hit = HitTest(point); hit != hitNothing)
            return hit;
    }
    return hitNothing;
}

BOOL CMultiRectTracker::TrackAll(CWnd* wnd, CPoint point)
{
    for (CLabelTextItem* item : m_items) {
        m_rect = ClientRect(*item);
        if (HitTest(point) == hitNothing)
            continue;
        const CPoint before = m_rect.TopLeft();
        if (!TrackHandle(hitMiddle, wnd, point, FALSE))
            return FALSE;
        MoveAll(CSize(m_rect.left - before.x, m_rect.top - before.y));
        return TRUE;
    }
    return FALSE;
}

BOOL CMultiRectTracker::MoveByKey(UINT virtualKey)
{
    CSize delta;
    switch (virtualKey) {
    case VK_LEFT:
        delta.cx = -1;
        break;
    case VK_UP:
        delta.cy = -1;
        break;
    case VK_RIGHT:
        delta.cx = 1;
        break;
    case VK_DOWN:
        delta.cy = 1;
        break;
    default:
        return FALSE;
    }
    if (m_items.empty())
        return FALSE;
    MoveAll(delta);
    return TRUE;
}

void CMultiRectTracker::MoveAll(CSize delta)
{
    for (CLabelTextItem* item : m_items) {
        item->m_rect.OffsetRect(delta.cx, delta.cy);
        item->m_trackRect = item->m_rect;
        item->m_moved = TRUE;
    }
}
