#include "platform/wnd/core/runtime_class.h"

#include <map>
#include <string>

namespace {

std::map<std::string, const CRuntimeClass*>& Registry()
{
    static std::map<std::string, const CRuntimeClass*> registry;
    return registry;
}

} // namespace

CCmdTarget* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    if (!base)
        return FALSE;
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}

const CRuntimeClass* CCmdTarget::GetThisClass()
{
    static const CRuntimeClass kClass { "CCmdTarget", nullptr, nullptr };
    return &kClass;
}

const CRuntimeClass* CCmdTarget::GetRuntimeClass() const
{
    return GetThisClass();
}

BOOL CCmdTarget::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    const CRuntimeClass* mine = GetRuntimeClass();
    return mine ? mine->IsDerivedFrom(runtimeClass) : FALSE;
}

void AfxRegisterRuntimeClass(const CRuntimeClass* runtimeClass)
{
    if (runtimeClass && runtimeClass->m_lpszClassName)
        Registry()[runtimeClass->m_lpszClassName] = runtimeClass;
}

void AfxUnregisterRuntimeClass(const CRuntimeClass* runtimeClass)
{
    if (!runtimeClass || !runtimeClass->m_lpszClassName)
        return;
    auto it = Registry().find(runtimeClass->m_lpszClassName);
    if (it != Registry().end() && it->second == runtimeClass)
        Registry().erase(it);
}

const CRuntimeClass* AfxFindRuntimeClass(const char* className)
{
    if (!className)
        return nullptr;
    auto it = Registry().find(className);
    return it != Registry().end() ? it->second : nullptr;
}
