#include "screens/command_forwarding.h"

#include <algorithm>

#include "shell/calvorn_view.h"
#include "shell/main_frame.h"

BOOL ForwardToLeftPane(
    std::initializer_list<UINT> ids, UINT id, int code, void* extra, void* handlerInfo, BOOL* forwarded)
{
    *forwarded = FALSE;
    if (std::find(ids.begin(), ids.end(), id) == ids.end())
        return FALSE;
    CMainFrame* frame = GetMainFrame();
    CCalvornView* pane = frame ? frame->GetCalvornView() : nullptr;
    if (!pane)
        return FALSE;
    *forwarded = TRUE;
    return pane->OnCmdMsg(id, code, extra, handlerInfo);
}
