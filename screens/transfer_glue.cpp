// The work screen's transfers: the host of both transports, the transfer
// commands up to the mode split, the scale settings sends, and the routing of
// the transports' messages and timers.

#include "screens/transfer_glue.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "grid/pick_rules.h"
#include "platform/base/path.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view_defaults.h"
#include "screens/kind_of_view_preset.h"
#include "screens/pos_codes.h"
#include "screens/scale_screens.h"
#include "screens/scale_settings_screens.h"
#include "screens/transfer_port.h"
#include "screens/work_screen_context.h"
#include "serial/serial_transfer.h"
#include "transfer/transfer_rows.h"

namespace {

// The typed numbers up to the first 0, in their order, each once: a scale keeps
// one record a number, and its second answer would read as a copy of the first.
std::vector<int> TypedNumbers(const std::vector<int>& typed)
{
    std::vector<int> numbers;
    for (int n : typed) {
        if (n == 0)
            break;
        if (std::find(numbers.begin(), numbers.end(), n) == numbers.end())
            numbers.push_back(n);
    }
    return numbers;
}

constexpr UINT kLampFlashMs = 15;
constexpr int kLanguage = 2;
constexpr std::size_t kReceiveNumberLimit = 1000;
constexpr int kReceiveNumberEdit = 1026;
constexpr int kPresetReadPageEdit = 1028;
constexpr int kProgressEdit = 1039;

long NumberOf(const CString& text)
{
    return std::strtol(text.GetString(), nullptr, 10);
}

} // namespace

CTransferGlue::CTransferGlue(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
    CWorkScreenDatabase& data, CScaleScreens& scales, CPresetKeys& presetKeys, CItemDefaults& defaults)
    : m_screen(screen)
    , m_grid(grid)
    , m_panels(panels)
    , m_data(data)
    , m_scales(scales)
    , m_presetKeys(presetKeys)
    , m_defaults(defaults)
    , m_serialMailbox(nullptr)
    , m_messageDlg(nullptr)
    , m_recvNumbers(kReceiveNumberLimit)
{
    m_serialMailbox.Create(nullptr);
    m_messageDlg.Create(nullptr);
}

CTransferGlue::~CTransferGlue()
{
    m_pResultLoop.reset();
    m_pSerial.reset();
    m_pTransports.reset();
    m_messageDlg.DestroyWindow();
}

void CTransferGlue::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, 1037, m_lampSend);
    DDX_Control(dx, 1038, m_lampRecv);
}

void CTransferGlue::Start()
{
    m_lampSend.SetImage(32, 1, 0);
    m_lampRecv.SetImage(32, 1, 0);
}

void CTransferGlue::CreateTransports()
{
    if (m_pTransports || !m_screen.Form().GetSafeHwnd())
        return;
    m_pTransports = std::make_unique<CWorkScreenTransports>(Host());
    if (!m_pTransferPort)
        m_pTransferPort = m_pTransports.get();
    m_pSerial = std::make_unique<CSerialTransfer>(&SerialHost(), kLanguage);
    m_pTransports->SetSerialTransport(this);
    m_pResultLoop = std::make_unique<CResultLoop>(m_pTransports->Jobs(), m_screen.Form().GetSafeHwnd());
}

// ---- Commands -----------------------------------------------------------------------

TransferOrder CTransferGlue::MakeOrder(TransferCommand command, DataKind kind, TransferScope scope) const
{
    TransferOrder order;
    order.command = command;
    order.dataKind = kind;
    order.scope = scope;
    order.languageIndex = kLanguage;
    order.scales = m_scales.CommSettings().GetChosen();
    order.comPort = m_scales.GetComPort();
    order.receiveNumbers = TypedNumbers(m_recvNumbers);
    return order;
}

void CTransferGlue::StartTransfer(TransferCommand command, TransferScope scope, BOOL checkRows, BOOL confirm)
{
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
    m_serialMailbox.ClearAll();
    const CCommSettings& comm = m_scales.CommSettings();
    if (!comm.GetMode()) {
        AfxMessageBox("Select a port.", MB_OK);
        return;
    }
    const TransferOrder order = MakeOrder(command, *kind, scope);
    if (comm.IsSerial()) {
        if (m_pTransferPort)
            m_pTransferPort->StartSerialTransfer(order);
        return;
    }
    if (order.scales.empty()) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (m_pTransferPort)
        m_pTransferPort->StartEthernetTransfer(order);
}

void CTransferGlue::ClearReceiveNumbers()
{
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
}

BOOL CTransferGlue::ReadReceiveNumbers()
{
    CString text;
    m_screen.Form().GetDlgItemText(kReceiveNumberEdit, text);
    const int dash = text.Find('-', 1);
    const int comma = text.Find(',', 1);
    const bool rejected = (dash > 0 && comma > 0) || (dash > 0 && text.Find('-', dash + 1) > 0)
        || (dash <= 0 && comma <= 0 && text.Find('.', 1) > 0);
    if (rejected) {
        AfxMessageBox("Input Error", MB_OK);
        return FALSE;
    }
    ClearReceiveNumbers();
    std::size_t n = 0;
    if (dash > 0) {
        const long a = NumberOf(text.Left(dash));
        const long b = NumberOf(text.Mid(dash + 1));
        for (long v = a; v <= b && n < m_recvNumbers.size(); ++v)
            m_recvNumbers[n++] = static_cast<int>(v);
    } else if (comma > 0) {
        int start = 0;
        while (n < m_recvNumbers.size()) {
            const int next = text.Find(',', start);
            m_recvNumbers[n++]
                = static_cast<int>(NumberOf(next < 0 ? text.Mid(start) : text.Mid(start, next - start)));
            if (next < 0)
                break;
            start = next + 1;
        }
    } else {
        m_recvNumbers[0] = static_cast<int>(NumberOf(text));
    }
    if (m_screen.ScreenKind() == DataKind::LandAddition) {
        for (int number : GetRequestNumbers()) {
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
    EnableItemTransButtons(TRUE);
    EnableScaleTransButtons(TRUE);
    EnableTransStopButton(FALSE);
    if (m_pTransferPort)
        m_pTransferPort->StopTransfer();
}

CString CTransferGlue::CheckPosCodes(TransferScope scope)
{
    CString result;
    const int kindColumn = m_grid.FindColumn("POS_KIND", 1);
    const int codeColumn = m_grid.FindColumn("POS_CODE", 1);
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

BOOL CTransferGlue::BeginScaleSend()
{
    m_serialMailbox.ClearAll();
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
        if (!CheckSingleScaleRow(m_grid))
            return;
        if (count == 0) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        if (m_pTransferPort)
            m_pTransferPort->StartSerialTransfer(
                MakeOrder(count >= 2 ? TransferCommand::BroadTrans : TransferCommand::Trans,
                    DataKind::ScaleInfo, TransferScope::Select));
        return;
    }
    if (count < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (!CheckSingleScaleRow(m_grid))
        return;
    if (m_pTransferPort)
        m_pTransferPort->StartEthernetTransfer(
            MakeOrder(TransferCommand::Trans, DataKind::ScaleInfo, TransferScope::Select));
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
    if (!CheckSingleScaleRow(m_grid))
        return;
    if (count == 0) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (count >= 2) {
        AfxMessageBox("Only, One Scale Trans", MB_OK);
        return;
    }
    if (!m_pTransferPort)
        return;
    const TransferOrder order
        = MakeOrder(TransferCommand::Trans, DataKind::ScaleRootInfo, TransferScope::Select);
    if (serial)
        m_pTransferPort->StartSerialTransfer(order);
    else
        m_pTransferPort->StartEthernetTransfer(order);
}

// ---- Messages and timers ----------------------------------------------------------------

void CTransferGlue::OnTransSocketData(UINT_PTR token)
{
    if (!m_pTransports)
        return;
    m_pTransports->Jobs().OnSocketData(token);
    // A job that ended without its done message (time-out, stop, hang-up).
    m_pResultLoop->Poke();
}

LRESULT CTransferGlue::OnSerialMessage(UINT message)
{
    if (!m_pSerial)
        return 1;
    switch (message) {
    case WM_SERIAL_PORT_OPENED:
        return m_pSerial->OnSerialPortOpened();
    case WM_SERIAL_PORT_OPEN_FAILED:
        return m_pSerial->OnSerialPortOpenFailed();
    default:
        // The session's end and its error are handled alike.
        return m_pSerial->OnSerialSessionEnd();
    }
}

BOOL CTransferGlue::OnTimer(UINT_PTR id)
{
    if (id == kSerialReplyTimer) {
        if (m_pSerial)
            m_pSerial->OnSerialReplyTimeout();
        return TRUE;
    }
    if (!m_pTransports || !m_pTransports->Jobs().OnTimer(static_cast<UINT>(id)))
        return FALSE;
    m_pResultLoop->Poke();
    return TRUE;
}

// ---- The sales-total exchange -------------------------------------------------------------

namespace {

// The Windows form of a path in the data root ("C:\..." for <root>/drive_c/...),
// as the messages name files; any other path as it stands.
CString WindowsFormOf(const CString& path)
{
    const std::string native = path.Str();
    const std::string drives = AfxGetDataRoot() + "/drive_";
    if (!IsNativePath(native) || native.size() <= drives.size()
        || native.compare(0, drives.size(), drives) != 0)
        return path;
    const unsigned char drive = static_cast<unsigned char>(native[drives.size()]);
    std::string rest = native.substr(drives.size() + 1);
    if (!std::isalpha(drive) || (!rest.empty() && rest.front() != '/'))
        return path;
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return CString(
        (std::string(1, static_cast<char>(std::toupper(drive))) + ":" + (rest.empty() ? "\\" : rest))
            .c_str());
}

} // namespace

void CTransferGlue::StartResultLoop(const ResultLoopOrder& order)
{
    if (!m_pResultLoop)
        return;
    ResultLoopOrder named = order;
    named.databasePath = WindowsFormOf(order.databasePath);
    m_pResultLoop->Start(named);
}

void CTransferGlue::StartSerialOrder(const SerialOrder& order)
{
    StartSerialWalk(order);
}

void CTransferGlue::StartSerialWalk(SerialOrder order)
{
    if (!m_pSerial || !m_pSerial->CheckStart(order))
        return;
    // Read once, now: the walk sends these, whatever the screen shows later.
    order.rows
        = TakeTransferRows(SerialHost(), order.command, order.dataKind, order.scope, GetGridColumnCount());
    m_pSerial->Start(order);
}

BOOL CTransferGlue::IsResultLoopRunning() const
{
    return (m_pResultLoop && m_pResultLoop->IsRunning()) || (m_pSerial && m_pSerial->IsRunning());
}

void CTransferGlue::ResultLoopStep(int index)
{
    if (m_pResultLoop)
        m_pResultLoop->Step(index);
}

void CTransferGlue::OnResultStepDone()
{
    if (m_pResultLoop)
        m_pResultLoop->OnStepDone();
}

void CTransferGlue::OnResultLoopNext()
{
    if (m_pResultLoop)
        m_pResultLoop->OnNext();
}

void CTransferGlue::ClearSerialMailbox()
{
    m_serialMailbox.ClearAll();
}

// ---- What the transports read and write of the screen ---------------------------------

HWND CTransferGlue::GetTransferWindow()
{
    return m_screen.Form().GetSafeHwnd();
}

int CTransferGlue::GetGridRowCount()
{
    return m_grid.Grid().GetRowCount();
}

CString CTransferGlue::GetGridItemText(int row, int column)
{
    return m_grid.Grid().GetItemText(row, column);
}

int CTransferGlue::GetGridColumnCount()
{
    return m_grid.Grid().GetColumnCount();
}

int CTransferGlue::GetCurrentGridRow()
{
    const int row = m_grid.ClickedRow();
    return row >= 1 ? row : 1;
}

GridPicks CTransferGlue::GetTransferSelection()
{
    return m_grid.Grid().Picks();
}

int CTransferGlue::GetPresetPage()
{
    return m_presetKeys.GetComboPage();
}

std::vector<CString> CTransferGlue::GetPresetKeyTexts()
{
    return m_presetKeys.GetKeyTexts();
}

int CTransferGlue::GetPresetReadPage()
{
    CString text;
    m_screen.Form().GetDlgItemText(kPresetReadPageEdit, text);
    return static_cast<int>(NumberOf(text));
}

CString CTransferGlue::GetUserId()
{
    return m_screen.UserId();
}

CString CTransferGlue::GetItemDbPath()
{
    return m_data.ItemDbPath();
}

int CTransferGlue::LoadDefaultValues()
{
    return m_defaults.LoadDefaultValues();
}

// Both transports tell their start and end once each: a count over both, so
// that the end of one leaves the other counted.
void CTransferGlue::SetTransferActive(int active)
{
    if (active)
        ++m_nTransferActive;
    else if (m_nTransferActive.load() > 0)
        --m_nTransferActive;
}

void CTransferGlue::NoteReceivedRecord(const CString& request, const CString& sql)
{
    if (!request.IsEmpty())
        m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, request);
    m_data.DbMailbox().SetText(IDC_MAILBOX_TEXT, sql);
}

void CTransferGlue::ShowTransferProgress(const CString& text)
{
    m_screen.Form().SetDlgItemText(kProgressEdit, text);
}

std::vector<int> CTransferGlue::GetRequestNumbers()
{
    return TypedNumbers(m_recvNumbers);
}

void CTransferGlue::FlashSendLamp()
{
    if (m_lampSend.GetSafeHwnd())
        m_lampSend.Flash(kLampFlashMs);
}

void CTransferGlue::FlashRecvLamp()
{
    if (m_lampRecv.GetSafeHwnd())
        m_lampRecv.Flash(kLampFlashMs);
}

CString CTransferGlue::MakeReceivedDataPath(const CString& scaleId)
{
    // One database for every serial read of the run, told once.
    if (m_strReceivedDataPath.IsEmpty()) {
        m_strReceivedDataPath = CWorkScreenTransports::MakeReceivedDataPath(scaleId);
        AfxMessageBox(m_strReceivedDataPath, MB_OK);
    }
    return m_strReceivedDataPath;
}

// The button groups are the view's layout: one place for their ids.
void CTransferGlue::EnableItemTransButtons(BOOL enable)
{
    m_panels.EnableItemTransButtons(enable);
}

void CTransferGlue::EnableScaleTransButtons(BOOL enable)
{
    m_panels.EnableScaleTransButtons(enable);
}

void CTransferGlue::EnableTransStopButton(BOOL enable)
{
    m_panels.EnableTransStopButton(enable);
}

void CTransferGlue::StartSerialTransfer(const TransferOrder& order)
{
    if (!m_pSerial)
        return;
    SerialOrder serial;
    serial.command = order.command;
    serial.dataKind = order.dataKind;
    serial.scope = order.scope;
    serial.scales = order.scales;
    serial.comPort = order.comPort;
    StartSerialWalk(serial);
}

void CTransferGlue::StopTransfer()
{
    if (m_pSerial)
        m_pSerial->Stop();
}
