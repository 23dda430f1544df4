#include "platform/wnd/core/command_parts.h"

BOOL CCommandParts::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) const
{
    for (CCmdTarget* part : m_parts) {
        if (part->OnCmdMsg(id, code, extra, handlerInfo))
            return TRUE;
    }
    return FALSE;
}

BOOL CCommandParts::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    for (CCmdTarget* part : m_parts) {
        if (part->OnNotifyEntry(wParam, lParam, result))
            return TRUE;
    }
    return FALSE;
}

BOOL CCommandParts::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    for (CCmdTarget* part : m_parts) {
        if (part->OnMessageEntry(message, wParam, lParam, result))
            return TRUE;
    }
    return FALSE;
}

void CCommandParts::DoDataExchange(CDataExchange* dx) const
{
    for (const auto& exchange : m_exchanges)
        exchange(dx);
}
