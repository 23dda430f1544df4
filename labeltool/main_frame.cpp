// Tarnel's main frame.

#include "labeltool/main_frame.h"

#include "labeltool/tarnel_messages.h"
#include "labeltool/tarnel_view.h"
#include "labeltool/trans_mode_dlg.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/winapp.h"
#include "resources/tarnel_ids.h"

namespace {

constexpr DWORD kToolBarStyle
    = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr DWORD kViewerStyle
    = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT | CBRS_TOOLTIPS | CBRS_FLYBY;
constexpr UINT kIndicators[]
    = { ID_SEPARATOR, ID_INDICATOR_CONNECTION, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };
constexpr UINT kLampMs = 100;

} // namespace

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

const CRuntimeClass* CMainFrame::GetThisClass()
{
    static const CRuntimeClass kClass { "CMainFrame", &AfxCreateObject<CMainFrame>,
        CFrameWnd::GetThisClass() };
    return &kClass;
}

const MessageMap* CMainFrame::GetMessageMap() const
{
    static const MessageMap kMap(CFrameWnd::GetMessageMap(),
        {
            OnWm<WM_CREATE, &CMainFrame::OnCreate>(),
            OnWm<WM_CLOSE, &CMainFrame::OnClose>(),
            OnCommandMsg<&CMainFrame::OnFileOpen>(ID_FILE_OPEN),
            OnCommandMsg<&CMainFrame::OnFileSaveAs>(ID_LABEL_SAVE_AS),
            OnCommandMsg<&CMainFrame::OnViewLabelDataViewer>(ID_VIEW_LABEL_DATA_VIEWER),
            OnUpdateCommand<&CMainFrame::OnUpdateViewLabelDataViewer>(ID_VIEW_LABEL_DATA_VIEWER),
            OnCommandMsg<&CMainFrame::OnLabelFrameViewer>(ID_LABEL_FRAME_VIEWER),
            OnMessage<&CMainFrame::OnLabelItemMoved>(WM_LABEL_ITEM_MOVED),
            OnMessage<&CMainFrame::OnCassetteLoaded>(WM_CASSETTE_LOADED),
            OnCommandMsg<&CMainFrame::OnTransMode>(ID_TRANS_MODE),
            OnCommandMsg<&CMainFrame::OnSerialJoin>(ID_SERIAL_JOIN),
            OnCommandMsg<&CMainFrame::OnNotJoin>(ID_NOT_JOIN),
            OnCommandMsg<&CMainFrame::OnGetData>(ID_GET_DATA),
            OnCommandMsg<&CMainFrame::OnPutData>(ID_PUT_DATA),
            OnUpdateCommand<&CMainFrame::OnUpdateTransfer>(ID_GET_DATA),
            OnUpdateCommand<&CMainFrame::OnUpdateTransfer>(ID_PUT_DATA),
            OnUpdateCommand<&CMainFrame::OnUpdateNotJoin>(ID_NOT_JOIN),
            OnUpdateCommand<&CMainFrame::OnUpdateSerialJoin>(ID_SERIAL_JOIN),
        });
    return &kMap;
}

BOOL CMainFrame::CreateBars()
{
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), ID_VIEW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return FALSE;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, ID_VIEW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return FALSE;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    if (!m_wndLabelDataBar.Create(this, CLabelDataBar::IDD, kViewerStyle, IDD_LABEL_DATA_BAR))
        return FALSE;
    m_wndLabelDataBar.SetWindowText("Label data viewer(Left Docking)");
    m_wndLabelDataBar.EnableDocking(CBRS_ALIGN_LEFT);
    DockControlBar(&m_wndLabelDataBar);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT createStruct)
{
    if (CFrameWnd::OnCreate(createStruct) == -1 || !CreateBars())
        return -1;
    if (CWinApp* app = AfxGetApp())
        m_nTransferMode = static_cast<int>(app->GetProfileInt("Settings", "mode", 0));
    m_wndLabelDataBar.SetTransferMode(m_nTransferMode);
    SetConnectionText(m_nTransferMode == 1 ? kConnectionTcp : kConnectionNotJoined);
    RecalcLayout();
    return 0;
}

void CMainFrame::OnClose()
{
    auto* view = dynamic_cast<CTarnelView*>(GetActiveView());
    if (!m_wndLabelDataBar.SaveModified() || (view && !view->SaveModifiedCassette()))
        return;
    CFrameWnd::OnClose();
}

void CMainFrame::OnFileOpen()
{
    if (m_wndLabelDataBar.SaveModified())
        m_wndLabelDataBar.OnOpenLabelFile();
}

void CMainFrame::OnFileSaveAs()
{
    m_wndLabelDataBar.OnSaveLabelFileAs();
}

void CMainFrame::OnViewLabelDataViewer()
{
    ShowControlBar(&m_wndLabelDataBar, !(m_wndLabelDataBar.GetStyle() & WS_VISIBLE), FALSE);
}

void CMainFrame::OnUpdateViewLabelDataViewer(CCmdUI* cmdUI)
{
    cmdUI->SetCheck((m_wndLabelDataBar.GetStyle() & WS_VISIBLE) != 0);
}

void CMainFrame::OnLabelFrameViewer()
{
    if (m_wndLabelDataBar.GetSafeHwnd())
        ShowControlBar(&m_wndLabelDataBar, TRUE, FALSE);
}

LRESULT CMainFrame::OnLabelItemMoved(WPARAM wParam, LPARAM lParam)
{
    return m_wndLabelDataBar.SendMessage(WM_BAR_ITEM_MOVED, wParam, lParam);
}

LRESULT CMainFrame::OnCassetteLoaded(WPARAM wParam, LPARAM lParam)
{
    return m_wndLabelDataBar.SendMessage(WM_BAR_CASSETTE_LOADED, wParam, lParam);
}

void CMainFrame::SetConnectionText(const char* text)
{
    m_wndStatusBar.SetPaneText(m_wndStatusBar.CommandToIndex(ID_INDICATOR_CONNECTION), text);
}

void CMainFrame::OnTransMode()
{
    CTransModeDlg dialog(m_nTransferMode, this);
    if (dialog.DoModal() != IDOK || dialog.m_mode == m_nTransferMode)
        return;
    m_nTransferMode = dialog.m_mode;
    m_wndLabelDataBar.SetTransferMode(m_nTransferMode);
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt("Settings", "mode", m_nTransferMode);
    if (m_nTransferMode != 1)
        SetConnectionText(kConnectionNotJoined);
    else if (m_nJoined)
        OnNotJoin();
    else
        SetConnectionText(kConnectionTcp);
}

void CMainFrame::OnSerialJoin()
{
    m_wndLabelDataBar.OpenSerialPort();
    m_nJoined = m_wndLabelDataBar.IsPortOpen();
    if (!m_nJoined)
        return;
    SetConnectionText(m_wndLabelDataBar.GetLineText());
    m_wndLabelDataBar.m_txLamp.Flash(kLampMs);
    m_wndLabelDataBar.m_rxLamp.Flash(kLampMs);
}

void CMainFrame::OnNotJoin()
{
    m_wndLabelDataBar.CloseSerialPort();
    m_nJoined = 0;
    SetConnectionText(m_nTransferMode == 1 ? kConnectionTcp : kConnectionRs232NotJoined);
    m_wndLabelDataBar.m_txLamp.SetState(CLedLamp::kIdleRow, CLedLamp::kOffColumn, 0);
    m_wndLabelDataBar.m_rxLamp.SetState(CLedLamp::kIdleRow, CLedLamp::kOffColumn, 0);
}

void CMainFrame::OnGetData()
{
    if (m_nTransferMode == 1)
        m_wndLabelDataBar.GetByTcp();
    else
        m_wndLabelDataBar.StartGet();
}

void CMainFrame::OnPutData()
{
    if (m_nTransferMode == 1)
        m_wndLabelDataBar.PushByTcp();
    else
        m_wndLabelDataBar.StartPush();
}

void CMainFrame::OnUpdateTransfer(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nTransferMode == 1 || m_nJoined);
}

void CMainFrame::OnUpdateNotJoin(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nTransferMode != 1 && m_nJoined);
}

void CMainFrame::OnUpdateSerialJoin(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nTransferMode != 1 && !m_nJoined);
}
