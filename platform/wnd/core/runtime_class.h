#pragma once
// Run-time class records: the class name, its base's record and, for classes
// that the framework creates (frames, views, documents), a factory. A class
// takes part by declaring
//
//   static const CRuntimeClass* GetThisClass();
//   const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
//
// and defining GetThisClass with a function-local record:
//
//   const CRuntimeClass* CMainFrame::GetThisClass()
//   {
//       static const CRuntimeClass kClass{"CMainFrame", &AfxCreateObject<CMainFrame>,
//       CFrameWnd::GetThisClass()}; return &kClass;
//   }

#include "platform/base/types.h"
#include "platform/wnd/core/cmdtarget.h"

struct CRuntimeClass {
    const char* m_lpszClassName = nullptr;
    // Makes a new object of the class on the heap; nullptr when the class
    // cannot be created dynamically.
    CCmdTarget* (*m_pfnCreateObject)() = nullptr;
    const CRuntimeClass* m_pBaseClass = nullptr;

    // A new object, or nullptr without a factory.
    CCmdTarget* CreateObject() const;
    // TRUE when this class is base or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

template <class T> CCmdTarget* AfxCreateObject()
{
    return new T;
}

// Classes found by name, for code that creates objects of classes it does not
// link against (the program registers them before use). A later registration
// of the same name replaces the earlier one; nullptr unregisters nothing.
// UI thread.
void AfxRegisterRuntimeClass(const CRuntimeClass* runtimeClass);
void AfxUnregisterRuntimeClass(const CRuntimeClass* runtimeClass);
// The registered class of that name, or nullptr.
const CRuntimeClass* AfxFindRuntimeClass(const char* className);

// The object as T when its run-time class is T's or derives from it, else
// nullptr (also for nullptr).
template <class T> T* DynamicDownCast(CCmdTarget* object)
{
    return object && object->IsKindOf(T::GetThisClass()) ? static_cast<T*>(object) : nullptr;
}
