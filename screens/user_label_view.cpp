#include "screens/user_label_view.h"

#include "platform/wnd/runtime_class.h"
#include "screens/command_forwarding.h"

CUserLabelView::CUserLabelView() = default;

CUserLabelView::~CUserLabelView() = default;

const CRuntimeClass* CUserLabelView::GetThisClass()
{
    static const CRuntimeClass kClass { "CUserLabelView", &AfxCreateObject<CUserLabelView>,
        CView::GetThisClass() };
    return &kClass;
}

BOOL CUserLabelView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    BOOL forwarded = FALSE;
    const BOOL handled = ForwardToLeftPane(
        { 32771, 32773, 32774, 32775, 32776, 32779, 32780, 32781, 32788, 32789, 32790, 57600, 57601 }, id,
        code, extra, handlerInfo, &forwarded);
    return forwarded ? handled : CView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CUserLabelView::OnUpdate(CView*, LPARAM, void*) { }

void CUserLabelView::OnDraw(CDC*) { }

void CUserLabelView::LoadLabelFromGrid(int) { }
