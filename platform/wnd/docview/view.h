#pragma once
// CView: a window that shows a document. Views are created by the framework
// (a frame's client or a splitter pane) with a CCreateContext naming their
// document, register with it, take part in command routing (the view, then
// its document) and receive the document's UpdateAllViews hints. A view
// deletes itself when its window is destroyed. UI thread.

#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/docview/create_context.h"

class CDocument;
class CFrameWnd;
class CPrintInfo;

// Messages of the framework.
inline constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
inline constexpr UINT WM_INITIALUPDATE = 0x0364;

class CView : public CWnd {
public:
    CView();
    // Leaves the document (which may then delete itself).
    ~CView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // The view's document; nullptr when it has none.
    CDocument* GetDocument() const { return m_pDocument; }
    // The frame the view lies in (nearest CFrameWnd ancestor); nullptr when none.
    CFrameWnd* GetParentFrame() const;

    // First update after the frame is built; the default is OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // A hint of the document (UpdateAllViews). The default invalidates the view.
    virtual void OnUpdate(CView* sender, LPARAM hint, void* hintObject);
    // Paints the view's content; the default paints nothing.
    virtual void OnDraw(CDC* dc);
    // The frame made this view (in)active.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);

    // Printing (platform/print). OnFilePrint and OnFilePrintPreview run the
    // framework's print loop: OnPreparePrinting (which calls DoPreparePrinting
    // for the print dialog; the default prints with the default printer), then
    // OnBeginPrinting, for every page OnPrepareDC and OnPrint, and
    // OnEndPrinting. Before OnPrepareDC the loop sets m_bContinuePrinting:
    // FALSE after page 1 when the page count is not known (an override may
    // set it again). The default OnPrint calls OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // Shows the print dialog (not in preview) and takes the printer's DC into
    // info; FALSE when the user cancels.
    BOOL DoPreparePrinting(CPrintInfo* info);
    // Commands ID_FILE_PRINT and ID_FILE_PRINT_PREVIEW; a view maps them.
    void OnFilePrint();
    void OnFilePrintPreview();

    // The view's own handlers, then its document's.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    void PostNcDestroy() override;

    // Sets the document (used by CDocument::AddView).
    void AttachDocument(CDocument* document) { m_pDocument = document; }

protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    CDocument* m_pDocument = nullptr;
};
