#pragma once
// Document templates: the resource id that names the frame's menu,
// accelerators, icon and document string, and the run-time classes of the
// document, the frame and the view. CSingleDocTemplate keeps one document and
// one frame at a time. UI thread.

#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "platform/wnd/docview/create_context.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
public:
    // Parts of the document string (string table entry resourceId, parts
    // separated by '\n').
    enum class DocStringIndex {
        WindowTitle = 0,
        DocName = 1,
        FileNewName = 2,
        FilterName = 3,
        FilterExt = 4,
        RegFileTypeId = 5,
        RegFileTypeName = 6,
    };

    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
        const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    // Opens a document: path nullptr makes a new, empty one. Returns the
    // document, or nullptr when it, its frame or its views could not be made.
    virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
    // The template forgets the document (called by the document's destructor).
    virtual void RemoveDocument(CDocument* document) = 0;

    // A new document of the template's class, attached to the template.
    CDocument* CreateNewDocument();
    // A new frame for document, built from the template's resources with its
    // view; nullptr on failure.
    CFrameWnd* CreateNewFrame(CDocument* document);
    void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible = TRUE);

    // FALSE (text empty) when the string or the part is missing.
    BOOL GetDocString(CString& text, DocStringIndex index) const;

    UINT m_nIDResource;

protected:
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    // Deletes the document when it is still open (its frame must be gone).
    ~CSingleDocTemplate() override;

    // A second call re-initialises the one document (OnNewDocument) and
    // updates its frame again.
    CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
    void RemoveDocument(CDocument* document) override;
    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};
