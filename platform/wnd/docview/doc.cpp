#include "platform/wnd/docview/doc.h"

#include <algorithm>

#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/doctemplate.h"
#include "platform/wnd/docview/view.h"

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->AttachDocument(nullptr);
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

const CRuntimeClass* CDocument::GetThisClass()
{
    static const CRuntimeClass kClass { "CDocument", nullptr, CCmdTarget::GetThisClass() };
    return &kClass;
}

void CDocument::AddView(CView* view)
{
    if (!view || std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    m_views.push_back(view);
    view->AttachDocument(this);
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    view->AttachDocument(nullptr);
    if (m_views.empty() && m_bAutoDelete)
        delete this;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, void* hintObject)
{
    // A view may go away during a hint: walk a copy and skip the departed.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view == sender || std::find(m_views.begin(), m_views.end(), view) == m_views.end())
            continue;
        view->OnUpdate(sender, hint, hintObject);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::DeleteContents() { }

void CDocument::SetTitle(LPCTSTR title)
{
    m_strTitle = title ? title : "";
}
