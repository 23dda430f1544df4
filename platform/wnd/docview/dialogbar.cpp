// The dialog bar: a control bar filled from a dialog template.

#include "platform/wnd/docview/dialogbar.h"

#include <cmath>

#include "platform/base/resource_script.h"

CDialogBar::CDialogBar() = default;
CDialogBar::~CDialogBar() = default;

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id)
{
    const DialogTemplate* form = AfxFindDialogTemplate(templateId);
    if (!form)
        return FALSE;
    if (!CreateBar(nullptr, parent, style, id))
        return FALSE;
    const SIZE units = DialogBaseUnits(form->fontName, form->fontPointSize);
    m_sizeDefault = CSize(static_cast<int>(std::lround(form->cx * units.cx / 4.0)),
        static_cast<int>(std::lround(form->cy * units.cy / 8.0)));
    AfxApplyTemplateFont(GetSafeHwnd(), *form);
    AfxCreateDialogItems(this, *form, units);
    SetWindowText(form->caption);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(int)
{
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd*, BOOL) { }
