#pragma once
// CDocument: the data behind a set of views. Views add themselves when they
// are created and leave when they are destroyed; UpdateAllViews carries a
// hint number and a hint pointer to every view but the sender. The base
// document offers no command handlers of its own (in particular no File >
// Save): a document that stores something handles those commands itself.
// UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void AddView(CView* view);
    // Removes the view; when it was the last and m_bAutoDelete is set, the
    // document leaves its template and deletes itself.
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }

    // Calls OnUpdate(sender, hint, hintObject) of every view except sender, in
    // the order they were added.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, void* hintObject = nullptr);

    // A new, empty document: DeleteContents and a clear modified flag. TRUE.
    virtual BOOL OnNewDocument();
    virtual void DeleteContents();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

    BOOL m_bAutoDelete = TRUE;

protected:
    std::vector<CView*> m_views;
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CDocTemplate* m_pDocTemplate = nullptr;
};
