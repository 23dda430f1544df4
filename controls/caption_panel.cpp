#include "controls/caption_panel.h"

#include <cstring>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/paint_dc.h"

CCaptionPanel::CCaptionPanel() = default;

CCaptionPanel::~CCaptionPanel() = default;

const MessageMap* CCaptionPanel::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CCaptionPanel::OnCreate>(),
            OnWm<WM_PAINT, &CCaptionPanel::OnPaint>(),
        });
    return &kMap;
}

int CCaptionPanel::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    if (createStruct->style & kTooltipStyle) {
        m_toolTip.Create(this, 0);
        m_toolTip.Activate(TRUE);
        m_toolTip.AddTool(this, "ToolTip");
        m_toolTip.SetMaxTipWidth(32767);
    }
    LOGFONT record {};
    record.lfHeight = 90;
    record.lfWeight = FW_BOLD;
    std::strcpy(record.lfFaceName, "Verdana");
    m_font.CreatePointFontIndirect(&record);
    return 0;
}

void CCaptionPanel::SetCaption(LPCTSTR text)
{
    m_caption = text ? text : "";
    m_tipText = m_caption;
}

void CCaptionPanel::SetTipText(LPCTSTR text)
{
    m_tipText = text ? text : "";
}

CToolTipCtrl* CCaptionPanel::GetToolTip()
{
    return m_toolTip.GetSafeHwnd() ? &m_toolTip : nullptr;
}

BOOL CCaptionPanel::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd()) {
        if (msg->message == WM_MOUSEMOVE) {
            m_toolTip.UpdateTipText(m_tipText, this);
            m_toolTip.RelayEvent(msg);
        } else {
            m_toolTip.SendMessage(TTM_POP);
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void CCaptionPanel::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kFaceColor);
    dc.Draw3dRect(&client, kLightEdge, kDarkEdge);
    CRect text(client);
    text.left += kTextMargin;
    text.right -= kTextMargin;
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_caption, &text, DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(oldFont);
}
