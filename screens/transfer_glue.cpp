// The work screen's transfers: the transfer commands up to the mode split,
// the scale settings sends, and the routing of the transports' messages and
// timers.

#include "screens/transfer_glue.h"

#include <cstdlib>

#include "grid/grid_ctrl.h"
#include "grid/pick_rules.h"
#include "platform/base/path.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/grid_cells.h"
#include "screens/grid_rows.h"
#include "screens/pos_codes.h"
#include "screens/scale_screens.h"
#include "screens/scale_settings_screens.h"
#include "screens/transfer_port.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_panels.h"
#include "serial/serial_transfer.h"
#include "transfer/transfer_order.h"

namespace {

constexpr int kLanguage = 2;
constexpr std::size_t kReceiveNumberLimit = 1000;

long NumberOf(const CString& text)
{
    return std::strtol(text.GetString(), nullptr, 10);
}

// What a start button sends or reads, of the screen's kind.
struct TransferButton {
    UINT id;
    TransferCommand command;
    TransferScope scope;
    BOOL checkRows; // the grid has rows and, for items, their POS codes pass
    BOOL confirm; // asks before the scale's data is replaced
};

constexpr TransferButton kTransferButtons[] = {
    { IDC_WORK_TRANS_ALL, TransferCommand::Trans, TransferScope::All, TRUE, TRUE },
    { IDC_WORK_TRANS_SELECT, TransferCommand::Trans, TransferScope::Select, TRUE, FALSE },
    { IDC_WORK_RECV_ALL, TransferCommand::Recv, TransferScope::All, FALSE, FALSE },
    // Reads the numbers of edit 1026.
    { IDC_WORK_RECV_SELECT, TransferCommand::Recv, TransferScope::Select, FALSE, FALSE },
    { IDC_WORK_SCALE_TRANS, TransferCommand::Trans, TransferScope::All, FALSE, FALSE },
    { IDC_WORK_SCALE_RECV_ALL, TransferCommand::Recv, TransferScope::All, FALSE, FALSE },
    { IDC_WORK_SCALE_RECV_SELECT, TransferCommand::Recv, TransferScope::Select, FALSE, FALSE },
};

} // namespace

CTransferGlue::CTransferGlue(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
    CWorkScreenDatabase& data, CScaleScreens& scales, CPresetKeys& presetKeys, CItemDefaults& defaults,
    const CGridRows& rows)
    : m_screen(screen)
    , m_grid(grid)
    , m_panels(panels)
    , m_data(data)
    , m_scales(scales)
    , m_rows(rows)
    , m_hosts(screen, grid, panels, data, presetKeys, defaults, rows)
    , m_messageDlg(nullptr)
{
    m_messageDlg.Create(nullptr);
}

CTransferGlue::~CTransferGlue()
{
    m_pResultLoop.reset();
    m_pTransports.reset();
    m_messageDlg.DestroyWindow();
}

const MessageMap* CTransferGlue::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandRange<&CTransferGlue::OnTransferCommand>(IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_ALL),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(IDC_WORK_TRANS_SELECT, IDC_WORK_TRANS_SELECT),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(IDC_WORK_RECV_ALL, IDC_WORK_RECV_ALL),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(IDC_WORK_RECV_SELECT, IDC_WORK_RECV_SELECT),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_TRANS),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(
                IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_ALL),
            OnCommandRange<&CTransferGlue::OnTransferCommand>(
                IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_RECV_SELECT),
            OnCommandMsg<&CTransferGlue::OnTransStop>(IDC_WORK_TRANS_STOP),
            OnCommandMsg<&CTransferGlue::OnScaleInfoTrans>(IDC_WORK_SCALE_INFO_TRANS),
            OnMessage<&CTransferGlue::OnTransSocketData>(WM_TRANS_SOCKET_DATA),
            OnMessage<&CTransferGlue::OnSerialMessage<WM_SERIAL_PORT_OPENED>>(WM_SERIAL_PORT_OPENED),
            OnMessage<&CTransferGlue::OnSerialMessage<WM_SERIAL_PORT_OPEN_FAILED>>(
                WM_SERIAL_PORT_OPEN_FAILED),
            OnMessage<&CTransferGlue::OnSerialMessage<WM_SERIAL_SESSION_END>>(WM_SERIAL_SESSION_END),
            OnMessage<&CTransferGlue::OnSerialMessage<WM_SERIAL_SESSION_ERROR>>(WM_SERIAL_SESSION_ERROR),
            OnMessage<&CTransferGlue::OnResultStepDone>(WM_RESULT_STEP_DONE),
            OnMessage<&CTransferGlue::OnResultLoopNext>(WM_RESULT_LOOP_NEXT),
        });
    return &kMap;
}

std::span<const PanelControl> CTransferGlue::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_TRANS_ALL, PanelGroup::Edit, "Trans" },
        { IDC_WORK_TRANS_SELECT, PanelGroup::Edit, "Select Trans" },
        { IDC_WORK_RECV_ALL, PanelGroup::Edit, "All Receive" },
        { IDC_WORK_RECV_SELECT, PanelGroup::Edit, "Select Receive" },
        { IDC_WORK_RECV_NUMBERS, PanelGroup::Edit, nullptr },
        { IDC_WORK_TRANS_STOP, PanelGroup::Edit, "Trans Stop" },
        { IDC_WORK_SCALE_TRANS, PanelGroup::ScaleData, "Trans" },
        { IDC_WORK_SCALE_RECV_ALL, PanelGroup::ScaleData, "All Receive" },
        { IDC_WORK_SCALE_RECV_PAGE, PanelGroup::ScaleData, nullptr },
        { IDC_WORK_SCALE_RECV_SELECT, PanelGroup::ScaleData, "Select Receive" },
        { IDC_WORK_SCALE_INFO_TRANS, PanelGroup::ScaleInfo, "Trans" },
        { IDC_WORK_SEND_LAMP, PanelGroup::Progress, nullptr },
        { IDC_WORK_RECV_LAMP, PanelGroup::Progress, nullptr },
    };
    return kControls;
}

void CTransferGlue::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_TRANS_ALL, m_btnTransAll);
    DDX_Control(dx, IDC_WORK_TRANS_SELECT, m_btnTransSelect);
    DDX_Control(dx, IDC_WORK_RECV_ALL, m_btnRecvAll);
    DDX_Control(dx, IDC_WORK_RECV_SELECT, m_btnRecvSelect);
    DDX_Control(dx, IDC_WORK_RECV_NUMBERS, m_editRecvNumbers);
    DDX_Control(dx, IDC_WORK_SCALE_TRANS, m_btnScaleTrans);
    DDX_Control(dx, IDC_WORK_SCALE_RECV_ALL, m_btnScaleRecvAll);
    DDX_Control(dx, IDC_WORK_SCALE_RECV_PAGE, m_editScaleRecvPage);
    DDX_Control(dx, IDC_WORK_SCALE_RECV_SELECT, m_btnScaleRecvSelect);
    DDX_Control(dx, IDC_WORK_TRANS_STOP, m_btnTransStop);
    m_hosts.DoDataExchange(dx);
}

void CTransferGlue::CreateTransports()
{
    if (m_pTransports || !m_screen.Form().GetSafeHwnd())
        return;
    m_pTransports = std::make_unique<CWorkScreenTransports>(m_hosts.Host(), m_hosts.SerialHost(), kLanguage);
    if (!m_pTransferPort)
        m_pTransferPort = m_pTransports.get();
    m_pResultLoop = std::make_unique<CResultLoop>(m_pTransports->Jobs(), m_screen.Form().GetSafeHwnd());
}

// ---- Commands -----------------------------------------------------------------------

void CTransferGlue::OnTransferCommand(UINT id)
{
    for (const TransferButton& button : kTransferButtons) {
        if (button.id != id)
            continue;
        if (id == IDC_WORK_RECV_SELECT) {
            if (!ReadReceiveNumbers())
                return;
        } else {
            ClearReceiveNumbers();
        }
        StartTransfer(button.command, button.scope, button.checkRows, button.confirm);
        return;
    }
}

TransferOrder CTransferGlue::MakeOrder(TransferCommand command, DataKind kind, TransferScope scope)
{
    TransferOrder order;
    order.link = m_scales.CommSettings().IsSerial() ? TransferLink::Serial : TransferLink::Tcp;
    order.command = command;
    order.kind = kind;
    order.scope = scope;
    order.languageIndex = kLanguage;
    order.scales = ParseScaleLines(m_scales.CommSettings().GetChosen());
    order.comPort = m_scales.GetComPort();
    order.receiveNumbers = m_hosts.SerialHost().GetRequestNumbers();
    return order;
}

void CTransferGlue::Dispatch(CTransferPort* port, TransferOrder order)
{
    if (!port || !port->CheckOrder(order))
        return;
    order.rows = TakeOrderRows(m_hosts.SerialHost(), order, m_grid.Grid().GetColumnCount());
    port->StartOrder(order);
}

void CTransferGlue::StartTransfer(TransferCommand command, TransferScope scope, BOOL checkRows, BOOL confirm)
{
    // Refused before any question while a transfer runs.
    if (GetTransferActive() != 0) {
        AfxMessageBox("A transfer is still running. Wait until it ends.", MB_OK | MB_ICONSTOP);
        return;
    }
    const std::optional<DataKind> kind = m_screen.ScreenKind();
    if (!kind) {
        AfxMessageBox("This data cannot be transferred this way.", MB_OK | MB_ICONSTOP);
        return;
    }
    if (checkRows) {
        if (m_grid.Grid().GetRowCount() == 2) {
            AfxMessageBox("Data not exist", MB_OK);
            return;
        }
        if (kind == DataKind::Item) {
            const CString failures = CheckPosCodes(scope);
            if (!failures.IsEmpty()) {
                m_messageDlg.ShowMessage(failures);
                return;
            }
        }
    }
    // A selective send that takes no row would clear nothing and send nothing.
    if (command == TransferCommand::Trans && scope == TransferScope::Select
        && KindInfo(*kind).rows == KindRows::Table
        && PickedRows(m_grid.Grid().Picks(), m_grid.Grid().GetRowCount(), PickRule::Transfer).empty()) {
        AfxMessageBox("No row is picked: pick the rows to send first.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (confirm
        && m_screen.Form().MessageBox(
               "All item Data Delete, Are you OK?", "Attention", MB_YESNO | MB_ICONQUESTION)
            != IDYES)
        return;
    m_hosts.ClearSerialMailbox();
    const CCommSettings& comm = m_scales.CommSettings();
    if (!comm.GetMode()) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    TransferOrder order = MakeOrder(command, *kind, scope);
    if (order.link == TransferLink::Tcp && order.scales.empty()) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    Dispatch(m_pTransferPort, std::move(order));
}

BOOL CTransferGlue::ReadReceiveNumbers()
{
    CString text;
    m_screen.Form().GetDlgItemText(IDC_WORK_RECV_NUMBERS, text);
    const int dash = text.Find('-', 1);
    const int comma = text.Find(',', 1);
    const bool rejected = (dash > 0 && comma > 0) || (dash > 0 && text.Find('-', dash + 1) > 0)
        || (dash <= 0 && comma <= 0 && text.Find('.', 1) > 0);
    if (rejected) {
        AfxMessageBox("Input Error", MB_OK);
        return FALSE;
    }
    std::vector<int> typed(kReceiveNumberLimit, 0);
    std::size_t n = 0;
    if (dash > 0) {
        const long a = NumberOf(text.Left(dash));
        const long b = NumberOf(text.Mid(dash + 1));
        for (long v = a; v <= b && n < typed.size(); ++v)
            typed[n++] = static_cast<int>(v);
    } else if (comma > 0) {
        int start = 0;
        while (n < typed.size()) {
            const int next = text.Find(',', start);
            typed[n++]
                = static_cast<int>(NumberOf(next < 0 ? text.Mid(start) : text.Mid(start, next - start)));
            if (next < 0)
                break;
            start = next + 1;
        }
    } else {
        typed[0] = static_cast<int>(NumberOf(text));
    }
    m_hosts.SetReceiveNumbers(typed);
    if (m_screen.ScreenKind() == DataKind::LandAddition) {
        for (int number : m_hosts.SerialHost().GetRequestNumbers()) {
            if (number < 201 || number > 500) {
                AfxMessageBox("Land Addition Number is a 201 ~ 500.", MB_OK);
                return FALSE;
            }
        }
    }
    return TRUE;
}

void CTransferGlue::OnTransStop()
{
    // A transfer still running keeps them grey until it ends.
    if (GetTransferActive() == 0) {
        m_panels.EnableItemTransButtons(TRUE);
        m_panels.EnableScaleTransButtons(TRUE);
    }
    m_panels.EnableTransStopButton(FALSE);
    if (m_pTransferPort)
        m_pTransferPort->StopTransfer();
}

CString CTransferGlue::CheckPosCodes(TransferScope scope)
{
    CString result;
    const int kindColumn = FindColumn(m_grid.Grid(), "POS_KIND", 1);
    const int codeColumn = FindColumn(m_grid.Grid(), "POS_CODE", 1);
    // A grid without the POS columns has nothing to check.
    if (kindColumn < 0 || codeColumn < 0)
        return result;
    const CGridCtrl& grid = m_grid.Grid();
    std::vector<int> rows;
    if (scope == TransferScope::All) {
        for (int r = 1; r <= grid.GetRowCount() - 2; ++r)
            rows.push_back(r);
    } else {
        rows = grid.PickRows(PickRule::Transfer).rows;
    }
    for (int r : rows) {
        if (!PosCodeAccepted(grid.GetItemText(r, kindColumn), grid.GetItemText(r, codeColumn)))
            result += CString::Formatted("%7s number : pos code Err\r\n", grid.GetItemText(r, 1));
    }
    return result;
}

// ---- Scale settings sends -------------------------------------------------------------

void CTransferGlue::OnScaleInfoTrans()
{
    // The send reads the grid row the load may still be filling.
    if (m_data.RefuseWhileBusy())
        return;
    if (m_screen.ScreenKind() == DataKind::ScaleInfo)
        SendScaleInfo();
    else if (m_screen.ScreenKind() == DataKind::ScaleRootInfo)
        SendScaleRootInfo();
}

BOOL CTransferGlue::BeginScaleSend()
{
    m_hosts.ClearSerialMailbox();
    ClearReceiveNumbers();
    const CCommSettings& comm = m_scales.CommSettings();
    if (!comm.GetMode() || (comm.IsSerial() && m_scales.GetComPort() < 1)) {
        AfxMessageBox("Select a port.", MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CTransferGlue::SendScaleInfo()
{
    if (!BeginScaleSend())
        return;
    const std::size_t count = m_scales.CommSettings().GetChosen().size();
    if (m_scales.CommSettings().IsSerial()) {
        if (!CheckSingleScaleRow(m_grid.Grid(), m_rows.GetClickedRow()))
            return;
        if (count == 0) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        Dispatch(m_pTransferPort,
            MakeOrder(count >= 2 ? TransferCommand::BroadTrans : TransferCommand::Trans, DataKind::ScaleInfo,
                TransferScope::Select));
        return;
    }
    if (count < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (!CheckSingleScaleRow(m_grid.Grid(), m_rows.GetClickedRow()))
        return;
    Dispatch(m_pTransferPort, MakeOrder(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select));
}

void CTransferGlue::SendScaleRootInfo()
{
    if (!BeginScaleSend())
        return;
    const std::size_t count = m_scales.CommSettings().GetChosen().size();
    const bool serial = m_scales.CommSettings().IsSerial();
    if (!serial && count < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (!CheckSingleScaleRow(m_grid.Grid(), m_rows.GetClickedRow()))
        return;
    if (count == 0) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (count >= 2) {
        AfxMessageBox("Only, One Scale Trans", MB_OK);
        return;
    }
    Dispatch(
        m_pTransferPort, MakeOrder(TransferCommand::Trans, DataKind::ScaleRootInfo, TransferScope::Select));
}

// ---- Messages and timers ----------------------------------------------------------------

LRESULT CTransferGlue::OnTransSocketData(WPARAM token, LPARAM)
{
    if (!m_pTransports)
        return 1;
    m_pTransports->Jobs().OnSocketData(static_cast<UINT_PTR>(token));
    // A job that ended without its done message (time-out, stop, hang-up).
    m_pResultLoop->Poke();
    return 1;
}

template <UINT message> LRESULT CTransferGlue::OnSerialMessage(WPARAM, LPARAM)
{
    if (!m_pTransports)
        return 1;
    CSerialTransfer& serial = m_pTransports->Serial();
    if constexpr (message == WM_SERIAL_PORT_OPENED)
        return serial.OnSerialPortOpened();
    else if constexpr (message == WM_SERIAL_PORT_OPEN_FAILED)
        return serial.OnSerialPortOpenFailed();
    else
        // The session's end and its error are handled alike.
        return serial.OnSerialSessionEnd();
}

BOOL CTransferGlue::OnTimer(UINT_PTR id)
{
    if (id == kSerialReplyTimer) {
        if (m_pTransports)
            m_pTransports->Serial().OnSerialReplyTimeout();
        return TRUE;
    }
    if (!m_pTransports || !m_pTransports->Jobs().OnTimer(static_cast<UINT>(id)))
        return FALSE;
    m_pResultLoop->Poke();
    return TRUE;
}

// ---- The sales-total exchange -------------------------------------------------------------

void CTransferGlue::StartResultExchange(TransferCommand command, DataKind kind)
{
    if (!m_pTransports)
        return;
    TransferOrder order = MakeOrder(command, kind, TransferScope::All);
    order.languageIndex = m_screen.Language();
    order.receiveNumbers.clear();
    order.targetDatabase = m_data.ItemDbPath();
    if (order.link == TransferLink::Serial) {
        // The clear goes to each scale's own ID, never as a broadcast.
        order.oneByOne = TRUE;
        Dispatch(m_pTransports.get(), std::move(order));
        return;
    }
    // The messages name the database as the user knows it.
    order.targetDatabase = CString(WindowsFormOf(order.targetDatabase.View()).c_str());
    order.rows = TakeOrderRows(m_hosts.SerialHost(), order, m_grid.Grid().GetColumnCount());
    m_pResultLoop->Start(order);
}

BOOL CTransferGlue::IsResultLoopRunning() const
{
    return (m_pResultLoop && m_pResultLoop->IsRunning())
        || (m_pTransports && m_pTransports->Serial().IsRunning());
}

LRESULT CTransferGlue::OnResultStepDone(WPARAM, LPARAM)
{
    if (m_pResultLoop)
        m_pResultLoop->OnStepDone();
    return 1;
}

LRESULT CTransferGlue::OnResultLoopNext(WPARAM, LPARAM)
{
    if (m_pResultLoop)
        m_pResultLoop->OnNext();
    return 1;
}
