#pragma once
// CCaptionPanel: a flat bar showing one line of bold text (the title of the
// current screen), with an optional tooltip. UI thread.

#include "platform/gdi/font.h"
#include "platform/wnd/controls/tooltip.h"
#include "platform/wnd/core/wnd.h"

class CCaptionPanel : public CWnd {
public:
    // Creation style bit that asks for the tooltip.
    static constexpr DWORD kTooltipStyle = 0x4000;
    static constexpr COLORREF kFaceColor = RGB(192, 198, 216);
    static constexpr COLORREF kLightEdge = RGB(213, 216, 230);
    static constexpr COLORREF kDarkEdge = RGB(138, 148, 185);
    // Left and right margin of the text.
    static constexpr int kTextMargin = 10;

    CCaptionPanel();
    ~CCaptionPanel() override;

    const MessageMap* GetMessageMap() const override;
    // Keeps the tooltip's text current on mouse moves and relays them; other
    // messages pop the tip.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Sets the caption and the tooltip text; neither repaints (the owner
    // invalidates the panel when it wants the text shown).
    void SetCaption(LPCTSTR text);
    // Sets the tooltip text only.
    void SetTipText(LPCTSTR text);
    CString GetCaption() const { return m_caption; }
    CString GetTipText() const { return m_tipText; }
    // The tooltip; nullptr when the panel was created without kTooltipStyle.
    CToolTipCtrl* GetToolTip();

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();

private:
    CString m_caption;
    CString m_tipText;
    CToolTipCtrl m_toolTip;
    CFont m_font;
};
