#pragma once
// CCalvornDoc: the program's document. It stores and loads nothing; it only
// carries the left pane's view hints to the other views (UpdateAllViews).

#include "platform/wnd/docview/doc.h"

class CCalvornDoc : public CDocument {
public:
    CCalvornDoc();
    ~CCalvornDoc() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    BOOL OnNewDocument() override;
};
