#include "platform/wnd/docview/controlbar.h"

#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/frame.h"

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    if (m_pFrame)
        m_pFrame->RemoveControlBar(this);
}

const MessageMap* CControlBar::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_DESTROY, &CControlBar::OnDestroy>(),
        });
    return &kMap;
}

CFrameWnd* CControlBar::GetParentFrame() const
{
    return DynamicDownCast<CFrameWnd>(GetParent());
}

BOOL CControlBar::CreateBar(const char* className, CWnd* parent, DWORD style, UINT id)
{
    if (!parent || GetSafeHwnd())
        return FALSE;
    m_dwStyle = style & ~(WS_CHILD | WS_VISIBLE | WS_POPUP);
    const DWORD windowStyle = WS_CHILD | (style & WS_VISIBLE);
    if (!CreateEx(0, className, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id, nullptr))
        return FALSE;
    m_pFrame = GetParentFrame();
    if (m_pFrame)
        m_pFrame->AddControlBar(this);
    return TRUE;
}

void CControlBar::OnDestroy()
{
    if (m_pFrame) {
        m_pFrame->RemoveControlBar(this);
        m_pFrame = nullptr;
    }
    CWnd::OnDestroy();
}
