#include "platform/wnd/docview/formview.h"

#include <cmath>

#include "platform/base/resource_script.h"
#include "platform/wnd/core/runtime_class.h"

CFormView::CFormView(UINT templateId)
    : m_nIDTemplate(templateId)
{ }

CFormView::~CFormView() = default;

const CRuntimeClass* CFormView::GetThisClass()
{
    static const CRuntimeClass kClass { "CFormView", nullptr, CView::GetThisClass() };
    return &kClass;
}

BOOL CFormView::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
    UINT id, void* context)
{
    const DialogTemplate* form = AfxFindDialogTemplate(m_nIDTemplate);
    if (!form)
        return FALSE;
    if (!CView::Create(className, windowName, style, rect, parent, id, context))
        return FALSE;
    const SIZE units = DialogBaseUnits(form->fontName, form->fontPointSize);
    m_totalSize = CSize(static_cast<int>(std::lround(form->cx * units.cx / 4.0)),
        static_cast<int>(std::lround(form->cy * units.cy / 8.0)));
    AfxApplyTemplateFont(GetSafeHwnd(), *form);
    AfxCreateDialogItems(this, *form, units);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

void CFormView::DoDataExchange(CDataExchange*) { }

BOOL CFormView::UpdateData(BOOL saveAndValidate)
{
    return AfxRunDataExchange(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}
