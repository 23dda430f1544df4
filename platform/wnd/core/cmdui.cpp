#include "platform/wnd/core/cmdui.h"

#include "platform/wnd/core/menu.h"

void CCmdUI::Enable(BOOL on)
{
    m_bEnabled = on;
    m_bEnableChanged = TRUE;
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CCmdUI::SetCheck(int check)
{
    m_nCheck = check;
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetRadio(BOOL on)
{
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR text)
{
    m_bTextSet = TRUE;
    m_strText = text ? text : "";
    if (m_pMenu) {
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        m_pMenu->ModifyMenu(m_nIndex,
            MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)), m_nID, m_strText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (!target)
        return FALSE;
    m_bEnableChanged = FALSE;
    const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        int query = 0;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &query));
    }
    return handled;
}
