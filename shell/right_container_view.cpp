#include "shell/right_container_view.h"

#include <cstring>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/runtime_class.h"
#include "shell/work_screen.h"

namespace {

constexpr int kWorkScreenHeight = 900;

CView* PaneOfClass(const CSplitterWnd& splitter, int row, int col, const char* className)
{
    auto* view = DynamicDownCast<CView>(splitter.GetPane(row, col));
    if (!view || std::strcmp(view->GetRuntimeClass()->m_lpszClassName, className) != 0)
        return nullptr;
    return view;
}

} // namespace

CRightCotainerView::CRightCotainerView() = default;

CRightCotainerView::~CRightCotainerView() = default;

const CRuntimeClass* CRightCotainerView::GetThisClass()
{
    static const CRuntimeClass kClass { "CRightCotainerView", &AfxCreateObject<CRightCotainerView>,
        CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CRightCotainerView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CRightCotainerView::OnCreate>(),
            OnWm<WM_SIZE, &CRightCotainerView::OnSize>(),
        });
    return &kMap;
}

int CRightCotainerView::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CView::OnCreate(createStruct) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(createStruct->lpCreateParams);
    const CRuntimeClass* upper = AfxFindRuntimeClass(kWorkScreenClassName);
    const CRuntimeClass* lower = AfxFindRuntimeClass(kUserLabelViewClassName);
    if (!m_wndSplitter.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return -1;
    if (!upper || !lower || !m_wndSplitter.CreateView(0, 0, upper, CSize(0, kWorkScreenHeight), context)
        || !m_wndSplitter.CreateView(1, 0, lower, CSize(0, 0), context)) {
        m_wndSplitter.DestroyWindow();
        return -1;
    }
    return 0;
}

void CRightCotainerView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (!m_wndSplitter.GetSafeHwnd())
        return;
    const int e = GetSystemMetrics(SM_CXEDGE);
    const int f = GetSystemMetrics(SM_CYEDGE);
    m_wndSplitter.MoveWindow(-e, -f, cx + 2 * e, cy + 2 * f);
}

void CRightCotainerView::OnDraw(CDC*) { }

CView* CRightCotainerView::GetKindOfView() const
{
    return PaneOfClass(m_wndSplitter, 0, 0, kWorkScreenClassName);
}

CView* CRightCotainerView::GetUserLabelView() const
{
    return PaneOfClass(m_wndSplitter, 1, 0, kUserLabelViewClassName);
}

CWorkScreen* CRightCotainerView::GetWorkScreen() const
{
    return dynamic_cast<CWorkScreen*>(GetKindOfView());
}

void CRightCotainerView::SetRowHeight(int row, int height)
{
    m_wndSplitter.SetRowInfo(row, height, 0);
    m_wndSplitter.RecalcLayout();
}
