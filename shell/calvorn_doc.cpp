#include "shell/calvorn_doc.h"

#include "platform/wnd/core/runtime_class.h"

CCalvornDoc::CCalvornDoc() = default;

CCalvornDoc::~CCalvornDoc() = default;

const CRuntimeClass* CCalvornDoc::GetThisClass()
{
    static const CRuntimeClass kClass { "CCalvornDoc", &AfxCreateObject<CCalvornDoc>,
        CDocument::GetThisClass() };
    return &kClass;
}

BOOL CCalvornDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}
