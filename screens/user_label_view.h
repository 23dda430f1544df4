#pragma once
// CUserLabelView: the user-label designer in the lower right pane. So far it
// receives the view hints and hands the program's menu commands to the left
// pane; the designer itself comes later.

#include "platform/wnd/view.h"

class CUserLabelView : public CView {
public:
    CUserLabelView();
    ~CUserLabelView() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC* dc) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Shows grid row row of the user labels screen as a picture.
    void LoadLabelFromGrid(int row);

    int m_nLanguage = 2;
};
