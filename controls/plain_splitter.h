#pragma once
// CPlainSplitterWnd: the static splitter with thin flat borders instead of the
// standard splitter boxes; used exactly like CSplitterWnd. UI thread.

#include "platform/wnd/docview/splitter.h"

class CPlainSplitterWnd : public CSplitterWnd {
public:
    CPlainSplitterWnd();
    ~CPlainSplitterWnd() override;

    const MessageMap* GetMessageMap() const override;

    // Boxes: a double raised frame around a face fill; borders: a thin sunken
    // edge inside a face-coloured line, not filled; bars and intersections:
    // the face colour. dc null invalidates rect without the children.
    void OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect) override;

protected:
    // Draws all split bars up to the inside rectangle; no boxes or
    // intersections.
    void OnPaint();
};
