#pragma once
// CUserLabelView: the user-label designer in the lower right pane. It shows
// the label row picked on the user labels screen as a picture (the label's
// outline and the 14 printable fields the user drags from the palette right
// of the blue line onto the label: CUserLabelPicture) beside the controls
// that size the fields and save the picture into the row
// (CUserLabelPanel, which takes their commands first). Shown only on the
// user labels screen. Menu commands go to the left pane. UI thread.

#include "platform/wnd/core/command_parts.h"
#include "platform/wnd/docview/view.h"
#include "screens/user_label_panel.h"
#include "screens/user_label_picture.h"

class CUserLabelView : public CView {
public:
    CUserLabelView();
    ~CUserLabelView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void OnInitialUpdate() override;
    // Hint 17 shows the designer with an empty label; hints 7-9 keep the
    // screen; every other hint hides it and gives the upper pane the height.
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC* dc) override;

    // The side panel; it shows a grid row of the user labels screen as a
    // picture (LoadLabelFromGrid).
    CUserLabelPanel& Panel() { return m_panel; }

    // The picture's state, read by tests.
    BOOL IsShown() const { return m_bShown; }
    const CRect& GetLabelRect() const { return m_picture.LabelRect(); }
    const CRect& GetFieldRect(int index) const { return m_picture.FieldRect(index); }
    int GetFieldHeight(int index) const { return m_picture.FieldHeight(index); }

protected:
    // Commands of the left pane go there, the controls' to the panel.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

private:
    void ShowDesigner(BOOL show);
    void SetUpperPaneHeight(int height);

    CUserLabelPicture m_picture;
    CUserLabelPanel m_panel;
    CCommandParts m_parts;
    BOOL m_bShown = FALSE;
};
