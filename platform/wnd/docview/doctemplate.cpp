#include "platform/wnd/docview/doctemplate.h"

#include "platform/base/resource_script.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/view.h"
#include "platform/wnd/docview/winapp.h"

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
    const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId)
    , m_pDocClass(docClass)
    , m_pFrameClass(frameClass)
    , m_pViewClass(viewClass)
{ }

CDocTemplate::~CDocTemplate() = default;

CDocument* CDocTemplate::CreateNewDocument()
{
    CCmdTarget* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* document = dynamic_cast<CDocument*>(object);
    if (!document) {
        delete object;
        return nullptr;
    }
    document->SetDocTemplate(this);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document)
{
    CCmdTarget* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = document;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    // The document must outlive views that fail half-way; the caller decides.
    const BOOL autoDelete = document ? document->m_bAutoDelete : FALSE;
    if (document)
        document->m_bAutoDelete = FALSE;
    bool deleted = false;
    frame->m_pDeletedFlag = &deleted;
    const BOOL loaded
        = frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context);
    if (document)
        document->m_bAutoDelete = autoDelete;
    if (deleted)
        return nullptr;
    frame->m_pDeletedFlag = nullptr;
    if (!loaded) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible)
{
    if (frame)
        frame->InitialUpdateFrame(document, makeVisible);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    CString whole;
    if (!AfxLoadString(m_nIDResource, whole))
        return FALSE;
    int part = 0;
    int start = 0;
    for (;;) {
        const int end = whole.Find('\n', start);
        if (part == static_cast<int>(index)) {
            text = whole.Mid(start, end < 0 ? whole.GetLength() - start : end - start);
            return TRUE;
        }
        if (end < 0)
            return FALSE;
        start = end + 1;
        ++part;
    }
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc) {
        CDocument* document = m_pOnlyDoc;
        m_pOnlyDoc = nullptr;
        document->SetDocTemplate(nullptr);
        delete document;
    }
}

void CSingleDocTemplate::RemoveDocument(CDocument* document)
{
    if (document == m_pOnlyDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR, BOOL makeVisible)
{
    if (m_pOnlyDoc) {
        CDocument* document = m_pOnlyDoc;
        if (!document->OnNewDocument())
            return nullptr;
        CFrameWnd* frame
            = document->GetViews().empty() ? nullptr : document->GetViews().front()->GetParentFrame();
        InitialUpdateFrame(frame, document, makeVisible);
        return document;
    }
    CDocument* document = CreateNewDocument();
    if (!document)
        return nullptr;
    m_pOnlyDoc = document;
    CFrameWnd* frame = CreateNewFrame(document);
    if (!frame) {
        m_pOnlyDoc = nullptr;
        document->SetDocTemplate(nullptr);
        delete document;
        return nullptr;
    }
    CString name;
    if (!GetDocString(name, DocStringIndex::DocName) || name.IsEmpty())
        name = "Untitled";
    document->SetTitle(name);
    if (!document->OnNewDocument()) {
        frame->DestroyWindow();
        return nullptr;
    }
    if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}
