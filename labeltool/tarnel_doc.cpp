// Tarnel's document.

#include "labeltool/tarnel_doc.h"

#include "platform/wnd/core/runtime_class.h"

CTarnelDoc::CTarnelDoc() = default;
CTarnelDoc::~CTarnelDoc() = default;

const CRuntimeClass* CTarnelDoc::GetThisClass()
{
    static const CRuntimeClass kClass { "CTarnelDoc", &AfxCreateObject<CTarnelDoc>,
        CDocument::GetThisClass() };
    return &kClass;
}

CLabelTextItem* CTarnelDoc::FindItem(int item) const
{
    for (const auto& each : m_items)
        if (each->m_item == item)
            return each.get();
    return nullptr;
}
