#pragma once
// CToolBar: a row of image buttons from a toolbar resource (command ids and
// separators) whose images are the cells of a bitmap (the toolbar's own id
// unless the resource names another), light grey (192, 192, 192) showing the
// bar through. A click sends the button's command to the frame; the frame's
// idle update enables and checks the buttons through the command route.
// UI thread.

#include <vector>

#include "platform/gdi/image_list.h"
#include "platform/wnd/docview/controlbar.h"

// Control style of flat buttons (only recorded: buttons are always flat).
inline constexpr DWORD TBSTYLE_FLAT = 0x0800;

class CToolBar : public CControlBar {
public:
    CToolBar();
    ~CToolBar() override;

    const MessageMap* GetMessageMap() const override;

    // Creates the bar's window (id AFX_IDW_TOOLBAR by default) in parent.
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
        DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, const RECT& borders = CRect(0, 0, 0, 0),
        UINT id = 0xE800);
    // Loads the buttons and images of toolbar resource id. FALSE when the
    // resource is missing.
    BOOL LoadToolBar(UINT resourceId);

    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    // Command id of a button, 0 for a separator.
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetItemRect(int index, LPRECT rect) const;
    BOOL IsButtonEnabled(int index) const;
    void EnableButton(int index, BOOL enable);
    int GetButtonCheck(int index) const;
    void SetButtonCheck(int index, int check);

    CSize CalcFixedLayout(int cx) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    // Fly-by help and tooltips: the button under the pointer puts its prompt
    // into the frame's status bar (WM_SETMESSAGESTRING) and shows its tip (the
    // text of its string after '\n'); leaving the bar restores the idle text.
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

public:
    // The button the pointer rests on (-1 for none), and the tip shown for it.
    int GetHoverIndex() const { return m_hover; }
    CString GetHoverTip() const { return m_hoverTip; }

private:
    void SetHover(int index);

private:
    struct Button {
        UINT id = 0;
        int image = -1;
        BOOL enabled = TRUE;
        int check = 0;
    };
    int HitTest(CPoint point) const;
    int m_hover = -1;
    CString m_hoverTip;

    std::vector<Button> m_buttons;
    CImageList m_images;
    CSize m_buttonSize { 23, 22 };
    CSize m_imageSize { 16, 15 };
    DWORD m_controlStyle = 0;
    int m_pressed = -1;
};
