#include "screens/user_label_view.h"

#include "platform/wnd/core/runtime_class.h"
#include "resources/calvorn_ids.h"
#include "screens/command_forwarding.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"

namespace {

constexpr int kDesignerPaneTop = 350;
constexpr int kFullPaneTop = 900;

} // namespace

CUserLabelView::CUserLabelView()
    : m_panel(*this, m_picture)
    , m_parts { &m_panel }
{ }

CUserLabelView::~CUserLabelView() = default;

const CRuntimeClass* CUserLabelView::GetThisClass()
{
    static const CRuntimeClass kClass { "CUserLabelView", &AfxCreateObject<CUserLabelView>,
        CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CUserLabelView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_LBUTTONDOWN, &CUserLabelView::OnLButtonDown>(),
            OnWm<WM_LBUTTONDBLCLK, &CUserLabelView::OnLButtonDblClk>(),
            OnWm<WM_SETCURSOR, &CUserLabelView::OnSetCursor>(),
        });
    return &kMap;
}

BOOL CUserLabelView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    BOOL forwarded = FALSE;
    const BOOL handled = ForwardToLeftPane(
        { ID_USER_INFO_CHANGE, ID_COMM_SETUP, ID_FILE_SAVE_AS_DB, ID_SERVER_START, ID_SERVER_STOP,
            ID_SERVER_PORT, ID_RESULT_VIEW, ID_MANAGER_RESULT_VIEW, ID_ACCESS_TO_EXCEL, ID_EXCEL_NEW_FILE,
            ID_EXCEL_TO_ACCESS, ID_FILE_NEW, ID_FILE_OPEN },
        id, code, extra, handlerInfo, &forwarded);
    if (forwarded)
        return handled;
    return m_parts.OnCmdMsg(id, code, extra, handlerInfo) || CView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CUserLabelView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    m_bShown = FALSE;
    m_panel.Create();
    ShowDesigner(FALSE);
    m_picture.Load();
}

void CUserLabelView::SetUpperPaneHeight(int height)
{
    CMainFrame* frame = GetMainFrame();
    if (CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr)
        right->SetRowHeight(0, height);
}

void CUserLabelView::OnUpdate(CView*, LPARAM hint, void*)
{
    const ScreenInfo* screen = FindScreen(hint);
    if (screen && screen->word == ScreenWord::None)
        return;
    if (hint != HintOf(Screen::UserLabel)) {
        ShowDesigner(FALSE);
        SetUpperPaneHeight(kFullPaneTop);
        return;
    }
    ShowDesigner(TRUE);
    SetUpperPaneHeight(kDesignerPaneTop);
    m_panel.OnClear();
}

void CUserLabelView::ShowDesigner(BOOL show)
{
    m_bShown = show;
    m_panel.Show(show);
    if (GetSafeHwnd())
        Invalidate();
}

void CUserLabelView::OnDraw(CDC* dc)
{
    if (m_bShown && dc)
        m_picture.Draw(*dc);
}

// One field follows the mouse per press; its controls show when it lands on
// the label.
void CUserLabelView::OnLButtonDown(UINT, CPoint point)
{
    m_panel.HideFieldControls();
    const int dropped = m_picture.DragField(*this, point);
    if (dropped >= 0)
        m_panel.ShowFieldControls(dropped, TRUE);
    Invalidate();
}

void CUserLabelView::OnLButtonDblClk(UINT, CPoint point)
{
    const int index = m_picture.FieldAt(point);
    if (index >= 0)
        m_panel.ResetField(index);
    Invalidate();
}

BOOL CUserLabelView::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    return m_picture.SetCursor(*this, hitTest) ? TRUE : static_cast<BOOL>(Default());
}
