#pragma once
// CScrollView: a view larger than its window. SetScrollSizes gives the
// content's size; the window's scroll bars appear while the content does not
// fit, move the content by line (SB_LINE...), page, thumb or wheel, and
// OnPrepareDC shifts the screen DC's viewport origin by the scroll position,
// so that OnDraw draws in content coordinates. Printing DCs are not shifted.
// MM_TEXT only: logical units are pixels. UI thread.

#include "platform/wnd/core/scrollbar.h"
#include "platform/wnd/docview/view.h"

class CScrollView : public CView {
public:
    CScrollView();
    ~CScrollView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Content size; page and line steps in pixels (0: a tenth of the total
    // for a page, a tenth of the page for a line).
    void SetScrollSizes(
        int mapMode, SIZE total, const SIZE& page = CSize(0, 0), const SIZE& line = CSize(0, 0));
    CSize GetTotalSize() const { return m_totalLog; }
    // The content point at the window's top-left corner.
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const { return GetScrollPosition(); }
    // Scrolls so that point lies at the top-left corner (within the range).
    void ScrollToPosition(POINT point);

    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

protected:
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

private:
    // Shows the bars the content needs and sets their ranges and pages.
    void UpdateBars();
    // The new position of bar for code; the old one when nothing changes.
    int NewPosition(int bar, UINT code) const;
    void ScrollBarTo(int bar, int position);

    int m_nMapMode = MM_TEXT;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_bInsideUpdate = FALSE;
};
