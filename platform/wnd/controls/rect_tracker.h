#pragma once
// CRectTracker: a rectangle the user moves or resizes with the mouse, with
// eight resize handles and a frame drawn in one of the tracker styles.
// HitTest tells which part lies under a point; SetCursor shows the matching
// cursor; Track runs a modal loop that follows the mouse until the left
// button goes up, and TrackRubberBand lets the user draw a new rectangle.
// Coordinates are the window's client coordinates. UI thread.

#include <functional>
#include <utility>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"

class CRectTracker {
public:
    enum StyleFlags : UINT {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    enum TrackerHit : int {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };

    CRectTracker();
    CRectTracker(LPCRECT rect, UINT style);
    virtual ~CRectTracker() = default;
    CRectTracker(const CRectTracker&) = default;
    CRectTracker& operator=(const CRectTracker&) = default;

    // Draws the frame of the style (solid or dotted line, hatched border) and
    // the handles of the resize styles.
    void Draw(CDC* dc) const;
    // The rectangle with its handles and border.
    void GetTrueRect(LPRECT trueRect) const;
    // Shows the cursor of the part under the cursor when hitTest is HTCLIENT
    // and the point lies on the tracker; FALSE otherwise (nothing changed).
    BOOL SetCursor(CWnd* wnd, UINT hitTest) const;
    // The part under point (a TrackerHit), hitNothing when none.
    int HitTest(CPoint point) const;
    // A handle turned around when the rectangle is inverted.
    int NormalizeHit(int handle) const;

    // Moves (from the interior) or resizes (from a handle) m_rect following
    // the mouse until the left button is released; the mouse is captured
    // meanwhile and Escape cancels. TRUE when the rectangle changed; after a
    // cancel m_rect is as it was. allowInvert lets a resize pass the opposite
    // edge; clipTo bounds the drawn feedback (unused).
    BOOL Track(CWnd* wnd, CPoint point, BOOL allowInvert = FALSE, CWnd* clipTo = nullptr);
    // Lets the user draw a rectangle from point; m_rect receives it,
    // normalized. TRUE when the mouse moved before the release.
    BOOL TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert = TRUE);

    // Feedback while tracking: the default draws an inverting focus frame on
    // the window's client DC, erasing the previous one.
    virtual void DrawTrackerRect(LPCRECT rect, CWnd* clipTo, CDC* dc, CWnd* wnd);
    // Lets a derived tracker constrain the rectangle while tracking.
    virtual void AdjustRect(int handle, LPRECT rect);
    // Called after each change of m_rect while tracking.
    virtual void OnChangedRect(const CRect& rectOld);
    // Bit i set: handle i is shown (corners 0-3, sides 4-7).
    virtual UINT GetHandleMask() const;

    CRect m_rect;
    CSize m_sizeMin;
    int m_nHandleSize = 8;
    UINT m_nStyle = 0;

protected:
    // The handle under point, hitMiddle inside, hitNothing outside.
    virtual int HitTestHandles(CPoint point) const;
    void GetHandleRect(int handle, CRect* handleRect) const;
    virtual int GetHandleSize(LPCRECT rect = nullptr) const;
    // The modal loop behind Track and TrackRubberBand.
    BOOL TrackHandle(int handle, CWnd* wnd, CPoint point, BOOL allowInvert);

private:
    // The handles the style and size show, with their rectangles.
    std::vector<std::pair<int, CRect>> ShownHandles() const;
    // The edges a handle moves: left/right and top/bottom members, or null.
    void EdgesOf(int handle, LONG*& x, LONG*& y);

    CRect m_rectLast;
    BOOL m_bErase = FALSE;
};

namespace rect_tracker {

// Runs the tracker's modal mouse loop for wnd: onMove gets every mouse
// position (client coordinates) until the left button is released (TRUE) or
// Escape is pressed, the capture is taken or the window goes (FALSE). UI thread.
BOOL RunMouseLoop(CWnd* wnd, const std::function<void(CPoint)>& onMove);

} // namespace rect_tracker
