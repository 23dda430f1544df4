#pragma once
// CDialogBar: a control bar whose content is a dialog template, docked along
// the frame's edge that its alignment names (CBRS_ALIGN_LEFT: the full height
// between the top and bottom bars, the template's width). The template's
// controls are created in the bar; their notifications go to the bar's own
// message map. ShowControlBar on the frame shows and hides it. UI thread.

#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/docview/controlbar.h"

class CDialogBar : public CControlBar {
public:
    CDialogBar();
    ~CDialogBar() override;

    // Creates the bar in parent from dialog template templateId; style holds
    // the alignment and bar styles (WS_VISIBLE shows it). FALSE when the
    // template is missing or the window cannot be made.
    virtual BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id);

    // The template's size in pixels: the width of a left or right bar, the
    // height of a top or bottom one.
    CSize CalcFixedLayout(int cx) override;
    // Dialog bars have no command items of their own.
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    CSize m_sizeDefault;
};
