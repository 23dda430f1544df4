#include "platform/wnd/docview/view.h"

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/frame.h"

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

const CRuntimeClass* CView::GetThisClass()
{
    static const CRuntimeClass kClass { "CView", nullptr, CCmdTarget::GetThisClass() };
    return &kClass;
}

const MessageMap* CView::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CView::OnCreate>(),
            OnWm<WM_PAINT, &CView::OnPaint>(),
            OnMessage<&CView::OnInitialUpdateMessage>(WM_INITIALUPDATE),
        });
    return &kMap;
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (auto* frame = DynamicDownCast<CFrameWnd>(w))
            return frame;
    return nullptr;
}

int CView::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    auto* context = createStruct ? static_cast<CCreateContext*>(createStruct->lpCreateParams) : nullptr;
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    // The view's window class erases with the window colour.
    dc.FillSolidRect(&dc.m_ps.rcPaint, GetSysColor(COLOR_WINDOW));
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, void*)
{
    Invalidate(TRUE);
}

void CView::OnDraw(CDC*) { }

void CView::OnActivateView(BOOL, CView*, CView*) { }

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) { }

void CView::OnEndPrinting(CDC*, CPrintInfo*) { }

void CView::OnPrepareDC(CDC*, CPrintInfo*) { }

void CView::OnPrint(CDC* dc, CPrintInfo*)
{
    OnDraw(dc);
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocument ? m_pDocument->OnCmdMsg(id, code, extra, handlerInfo) : FALSE;
}

void CView::PostNcDestroy()
{
    delete this;
}
