#pragma once
// CRightCotainerView: the right half of the main frame. Its splitter holds
// the work screen CKindOfView above (900 pixels high) and the user-label
// designer CUserLabelView below; the splitter's own border lies just outside
// the view, so it is never seen.

#include "controls/plain_splitter.h"
#include "platform/wnd/docview/view.h"

class CWorkScreen;

class CRightCotainerView : public CView {
public:
    CRightCotainerView();
    ~CRightCotainerView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Pane (0, 0) when it is of class CKindOfView, else nullptr.
    CView* GetKindOfView() const;
    // Pane (1, 0) when it is of class CUserLabelView, else nullptr.
    CView* GetUserLabelView() const;
    // The work screen's shell interface, or nullptr.
    CWorkScreen* GetWorkScreen() const;
    // Gives row its ideal height (minimum 0) and lays the panes out at once.
    void SetRowHeight(int row, int height);

    void OnDraw(CDC* dc) override;

    CPlainSplitterWnd m_wndSplitter;

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnSize(UINT type, int cx, int cy);
};
