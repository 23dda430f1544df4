#pragma once
// CMultiRectTracker: the preview's selection. It keeps the selected items,
// draws each with the tracker's frame, hit-tests their handles and insides,
// moves all of them together with the mouse, and moves them by one dot per
// arrow key. Item rectangles are in picture coordinates; the points the
// view hands in are client points, shifted by the scroll offset set last.

#include <vector>

#include "labeltool/label_items.h"
#include "platform/wnd/controls/rect_tracker.h"

class CMultiRectTracker : public CRectTracker {
public:
    CMultiRectTracker();

    // The picture point at the window's top-left corner.
    void SetScrollOffset(CPoint offset) { m_offset = offset; }

    void Add(CLabelTextItem* item);
    BOOL IsSelected(const CLabelTextItem* item) const;
    const std::vector<CLabelTextItem*>& Items() const { return m_items; }
    // Empties the selection.
    void Clear() { m_items.clear(); }

    // Frames every selected item (dc in picture coordinates).
    void DrawAll(CDC* dc);
    // The part of the selection under a client point; hitNothing for none.
    int HitTestAll(CPoint point);
    // Moves the whole selection following the mouse from a client point on
    // it; the items that moved get their moved flag. TRUE when they moved.
    BOOL TrackAll(CWnd* wnd, CPoint point);
    // One dot left, up, right or down for an arrow key; FALSE for other keys
    // or no selection.
    BOOL MoveByKey(UINT virtualKey);

private:
    CRect ClientRect(const CLabelTextItem& item) const;
    void MoveAll(CSize delta);

    std::vector<CLabelTextItem*> m_items;
    CPoint m_offset;
};
