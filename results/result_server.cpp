#include "results/result_server.h"

#include <algorithm>

#include "db/store_paths.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"
#include "results/server_events.h"
#include "results/server_log.h"
#include "results/server_queries.h"
#include "results/server_settings.h"
#include "shell/calvorn_view.h"
#include "shell/dialog_helpers.h"
#include "shell/file_helpers.h"
#include "shell/scale_dialogs.h"

namespace {

constexpr UINT kServerEventMessage = WM_APP + 0x120;
constexpr UINT kReportsStoredMessage = WM_APP + 0x121;
constexpr UINT_PTR kIdleTimer = 1;
constexpr long kDefaultPort = 3000;
constexpr long kLowestPort = 1500;
constexpr long kHighestPort = 8000;
// A failed accept (descriptors exhausted, say) is tried again after this.
constexpr auto kAcceptRetryWait = std::chrono::milliseconds(500);

// -value, also for -2^31.
std::int64_t Negated(std::int32_t value)
{
    return -static_cast<std::int64_t>(value);
}

} // namespace

// The hidden window the server's threads post to.
class CServerEventWnd : public CWnd {
public:
    explicit CServerEventWnd(CResultServer& server)
        : m_server(server)
    { }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            { OnMessage<&CServerEventWnd::OnServerEvents>(kServerEventMessage),
                OnMessage<&CServerEventWnd::OnReportsStored>(kReportsStoredMessage),
                OnMessage<&CServerEventWnd::OnIdleTimer>(WM_TIMER) });
        return &kMap;
    }

private:
    LRESULT OnServerEvents(WPARAM, LPARAM)
    {
        m_server.OnServerEvents();
        return 0;
    }
    LRESULT OnReportsStored(WPARAM, LPARAM)
    {
        m_server.OnReportsStored();
        return 0;
    }
    LRESULT OnIdleTimer(WPARAM, LPARAM)
    {
        m_server.CloseIdleConnections();
        return 0;
    }

    CResultServer& m_server;
};

struct CResultServer::Connection {
    UINT_PTR id = 0;
    std::unique_ptr<CSocket> socket;
    CSocketReader reader;
    CString ip;
    std::chrono::steady_clock::time_point heard; // the last whole message, or the accept
    CRefusalLogLimit refusedRequests; // a peer that sends garbage fills no disk
};

CResultServer::CResultServer(CCalvornView& pane)
    : m_pane(pane)
{ }

CResultServer::~CResultServer()
{
    DeleteServerSockets();
}

void CResultServer::StartAtStartUp()
{
    if (ReadServerStartFlag())
        StartResultServer();
}

BOOL CResultServer::IsRunning() const
{
    return m_pEvents != nullptr;
}

BOOL CResultServer::StartResultServer()
{
    if (IsRunning())
        return TRUE;
    MakeDirectoryPath(kManagerFolder);
    ProvisionDatabaseFile(kServerTemplateId, kServerDatabase);
    if (!CreateListenSocket())
        return FALSE;
    m_pane.ServerStarted(kServerDatabase, MakeServerLogPath());
    Log("Server Start Time : " + GetLogTimeText());
    AfxMessageBox("Server Start");
    return TRUE;
}

BOOL CResultServer::CreateListenSocket()
{
    const CString text = CServerPortDlg::ReadPortText();
    const long port = text.IsEmpty() ? kDefaultPort : LeadingNumber(text);
    CString failure;
    if (port < kLowestPort || port > kHighestPort) {
        failure.Format("Server Start Failed : port %s\nPort Number : 1500 ~8000", text.GetString());
        AfxMessageBox(failure, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    m_pWindow = std::make_unique<CServerEventWnd>(*this);
    m_pWindow->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
    const IoStatus status = m_listener.Listen(m_strListenAddress.GetString(), static_cast<UINT>(port), 5);
    if (!status.ok()) {
        m_listener.Close();
        m_pWindow->DestroyWindow();
        m_pWindow.reset();
        failure.Format("Server Start Failed : port %ld\n%s", port, status.Text().c_str());
        AfxMessageBox(failure, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    m_pEvents = std::make_unique<CServerEventQueue>(m_pWindow->GetSafeHwnd(), kServerEventMessage);
    const HWND window = m_pWindow->GetSafeHwnd();
    m_pStore
        = std::make_unique<CServerStoreWorker>([window] { ::PostMessage(window, kReportsStoredMessage); });
    m_bStopping = false;
    m_pWindow->SetTimer(
        kIdleTimer, static_cast<UINT>(std::clamp<long long>(m_idleTimeout.count() / 10, 10, 1000)));
    m_listenThread = std::thread([this] { ListenLoop(); });
    return TRUE;
}

void CResultServer::ListenLoop()
{
    bool failing = false; // one box for a failure that repeats
    for (;;) {
        auto socket = std::make_unique<CSocket>();
        const IoStatus status = m_listener.Accept(*socket, -1);
        if (m_bStopping)
            return;
        if (status.ok()) {
            failing = false;
            if (m_liveConnections.load() >= m_connectionLimit + kServerSpareConnections) {
                socket->Close(); // refused at once: no thread, no descriptors
                continue;
            }
            ++m_liveConnections;
            m_pEvents->PushAccepted(++m_nextConnection, std::move(socket));
            continue;
        }
        if (status.Code() == IoCode::InvalidArgument)
            return;
        ++m_acceptFailures;
        if (!failing)
            m_pEvents->PushAcceptFailed();
        failing = true;
        std::unique_lock<std::mutex> lock(m_stopLock);
        m_stopWake.wait_for(lock, kAcceptRetryWait, [this] { return m_bStopping.load(); });
    }
}

void CResultServer::StopResultServer()
{
    m_pane.ServerStopped();
    DeleteServerSockets();
    Log("Server Stop Time : " + GetLogTimeText());
    AfxMessageBox("Server Stop");
}

void CResultServer::DeleteServerSockets()
{
    while (!m_connections.empty()) {
        Connection& connection = *m_connections.front();
        connection.socket->ShutDown();
        connection.reader.Stop();
        connection.socket->Close();
        m_connections.pop_front();
    }
    if (m_listenThread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_stopLock);
            m_bStopping = true;
        }
        m_stopWake.notify_all();
        m_listener.ShutDown();
        m_listenThread.join();
    }
    m_liveConnections = 0;
    m_listener.Close();
    if (m_pStore && m_pStore->Busy())
        FinishReports(m_pStore->Take(), TRUE); // logged; the scales are gone
    m_pStore.reset();
    m_pending.clear(); // never acknowledged: the scales send them again
    m_bHeld = FALSE;
    m_pEvents.reset();
    if (m_pWindow) {
        m_pWindow->DestroyWindow();
        m_pWindow.reset();
    }
}

void CResultServer::SendKeepAlive()
{
    const ByteBuffer keepAlive = BuildKeepAlive();
    std::vector<UINT_PTR> ids;
    for (const auto& connection : m_connections)
        ids.push_back(connection->id);
    for (const UINT_PTR id : ids)
        SendReply(id, keepAlive);
}

void CResultServer::SendReply(UINT_PTR id, const ByteBuffer& reply)
{
    Connection* connection = FindConnection(id);
    if (!connection || connection->socket->Send(reply, kServerReplyTimeoutMs).ok())
        return;
    // A scale that takes no reply within the deadline would hold every
    // other one: it is let go and may connect again.
    OnServerClientClose(id);
}

void CResultServer::OnServerEvents()
{
    // A message box of the message being handled runs this loop again: the
    // events wait for the outer loop, which takes them once the box is gone.
    if (m_bHandling)
        return;
    m_bHandling = TRUE;
    ServerEvent event;
    for (;;) {
        // While the worker stores, the events wait for its batch's replies.
        if (m_pStore && m_pStore->Busy()) {
            if (!m_pStore->Done())
                break; // its message brings the handler back
            FinishReports(m_pStore->Take(), FALSE); // its boxes may let new events in
            continue;
        }
        if (m_bHeld) {
            event = std::move(m_held);
            m_bHeld = FALSE;
        } else if (!m_pEvents || !m_pEvents->Take(event)) {
            if (!StartStore())
                break;
            continue;
        }
        if (!m_pending.empty() && (event.kind != ServerEvent::Kind::Message || !IsSaleMessage(event.bytes))) {
            m_held = std::move(event);
            m_bHeld = TRUE;
            (void)StartStore();
            continue;
        }
        Handle(event);
    }
    m_bHandling = FALSE;
}

void CResultServer::OnReportsStored()
{
    OnServerEvents();
}

void CResultServer::Handle(ServerEvent& event)
{
    switch (event.kind) {
    case ServerEvent::Kind::Accepted:
        OnServerAccept(event.connection, std::move(event.socket));
        break;
    case ServerEvent::Kind::AcceptFailed:
        AfxMessageBox("접속 허용 실패");
        break;
    case ServerEvent::Kind::Message:
        if (Connection* connection = FindConnection(event.connection))
            OnServerReceive(*connection, event);
        break;
    case ServerEvent::Kind::Closed:
        OnServerClientClose(event.connection);
        break;
    }
}

CResultServer::Connection* CResultServer::FindConnection(UINT_PTR id)
{
    for (const auto& connection : m_connections)
        if (connection->id == id)
            return connection.get();
    return nullptr;
}

void CResultServer::CloseIdle(const Connection& connection)
{
    Log(ServerLogClient(connection.ip) + "||Idle Time Out : " + GetLogTimeText()
        + "|| Open Server File : " + m_pane.ServerDatabasePath());
    OnServerClientClose(connection.id);
}

void CResultServer::CloseIdleConnections()
{
    // Not while a message is handled: it may use its connection.
    if (m_bHandling)
        return;
    const auto now = std::chrono::steady_clock::now();
    std::vector<const Connection*> idle;
    for (const auto& connection : m_connections) {
        if (now - connection->heard >= m_idleTimeout)
            idle.push_back(connection.get());
    }
    for (const Connection* connection : idle)
        CloseIdle(*connection);
}

void CResultServer::OnServerAccept(UINT_PTR id, std::unique_ptr<CSocket> socket)
{
    if (static_cast<int>(m_connections.size()) >= m_connectionLimit) {
        const auto silent = std::min_element(m_connections.begin(), m_connections.end(),
            [](const auto& a, const auto& b) { return a->heard < b->heard; });
        if (silent == m_connections.end()
            || std::chrono::steady_clock::now() - (*silent)->heard < m_idleTimeout / 6) {
            socket->Close(); // every place is taken by a scale that speaks
            --m_liveConnections;
            return;
        }
        CloseIdle(**silent);
    }
    auto connection = std::make_unique<Connection>();
    connection->heard = std::chrono::steady_clock::now();
    connection->id = id;
    connection->socket = std::move(socket);
    if (!connection->reader.Start(*connection->socket, *m_pEvents, id).ok()) {
        connection->socket->Close();
        --m_liveConnections;
        AfxMessageBox("접속 허용 실패");
        return;
    }
    connection->ip = connection->socket->GetPeerAddress();
    Log(ServerLogClient(connection->ip) + "||Connection Time : " + GetLogTimeText()
        + "|| Open Server File : " + m_pane.ServerDatabasePath());
    m_connections.push_back(std::move(connection));
}

void CResultServer::OnServerClientClose(UINT_PTR id)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if ((*it)->id != id)
            continue;
        LogUnloggedRefusals(**it);
        Log(ServerLogClient((*it)->ip) + "||Disconnect Time : " + GetLogTimeText()
            + "|| Open Server File : " + m_pane.ServerDatabasePath());
        (*it)->socket->ShutDown();
        (*it)->reader.Stop();
        (*it)->socket->Close();
        m_connections.erase(it);
        --m_liveConnections;
        return;
    }
}

void CResultServer::OnServerReceive(Connection& connection, const ServerEvent& event)
{
    const ByteBuffer& message = event.bytes;
    connection.heard = event.arrival;
    try {
        CString mgId;
        if (!IdentifyScale(connection.ip, mgId))
            return;
        ServerMessage decoded;
        if (!DecodeServerMessage(message, decoded).ok())
            return;
        m_reply.clear();
        switch (static_cast<ServerCommand>(decoded.header.command)) {
        case ServerCommand::DataRequest:
            OnDataRequest(decoded.header, mgId, connection);
            break;
        case ServerCommand::ResultReport:
        case ServerCommand::ResultCancel:
            OnResultReport(event, decoded.sale, mgId, connection.ip,
                decoded.kind == ServerMessageKind::ResultCancel ? TRUE : FALSE);
            break;
        default:
            return;
        }
        if (!m_reply.empty())
            SendReply(connection.id, m_reply);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        m_dao.CloseDatabase();
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
    }
}

BOOL CResultServer::IdentifyScale(const CString& ip, CString& mgId)
{
    m_dao.OpenDatabase(kManagerDatabase);
    CCheckedDaoHelper::Rows rows;
    const CCheckedDaoHelper::Lookup found = m_dao.Select(ScaleManagerSql(ip), &rows);
    m_dao.CloseDatabase();
    if (found == CCheckedDaoHelper::Lookup::Failed)
        return FALSE;
    if (found == CCheckedDaoHelper::Lookup::Missing) {
        AfxMessageBox("Unregistered Scale Request.");
        return FALSE;
    }
    mgId = rows.front().empty() ? CString() : rows.front().front();
    if (mgId.IsEmpty() || m_pane.UserId() == kAdministratorId)
        mgId = kAdministratorId;
    return TRUE;
}

void CResultServer::LogUnloggedRefusals(Connection& connection)
{
    const int unlogged = connection.refusedRequests.TakeUnlogged();
    if (unlogged > 0)
        Log(ServerLogClient(connection.ip)
            + CString::Formatted("||Refused Requests Not Logged : %d", unlogged)
            + "|| Open Server File : " + m_pane.ServerDatabasePath());
}

void CResultServer::OnDataRequest(
    const ServerPacketHeader& header, const CString& mgId, Connection& connection)
{
    const BOOL accepted
        = header.direction == kServerDirectionRequest && header.tableKind <= kServerMaxTableKind;
    if (!accepted && !connection.refusedRequests.Admit(std::chrono::steady_clock::now()))
        return;
    if (!accepted)
        LogUnloggedRefusals(connection);
    const auto number = static_cast<std::int32_t>(header.recordNumber);
    CString line = ServerLogClient(connection.ip) + "||Request Time : " + GetLogTimeText();
    if (accepted)
        line += RequestLogValue(header.tableKind, number);
    Log(line + "|| Open Server File : " + m_pane.ServerDatabasePath());
    if (accepted)
        QueryRequestedRecord(header.tableKind, number, mgId);
}

void CResultServer::QueryRequestedRecord(std::uint16_t tableKind, std::int32_t number, const CString& mgId)
{
    m_reply.clear();
    m_dao.OpenDatabase(m_pane.ServerDatabasePath());
    CCheckedDaoHelper::Rows rows;
    const CCheckedDaoHelper::Lookup found = m_dao.Select(RequestedRecordSql(tableKind, mgId, number), &rows);
    m_dao.CloseDatabase();
    if (found != CCheckedDaoHelper::Lookup::Found) {
        m_reply = BuildNotFoundReply(tableKind);
        return;
    }
    const auto table = static_cast<TableCode>(tableKind);
    std::vector<std::string> fields;
    for (const auto& row : rows) {
        for (const CString& value : row)
            fields.push_back(value.Str());
        if (table != TableCode::Preset)
            break;
    }
    (void)BuildRecordReply(table, static_cast<std::uint32_t>(number), fields, m_reply);
}

void CResultServer::OnResultReport(const ServerEvent& event, const SaleResultRecord& sale,
    const CString& mgId, const CString& ip, BOOL cancel)
{
    const CTime now = CTime::GetCurrentTime();
    SaleRow row;
    row.itemNumber = sale.itemNumber;
    row.day.Format("%4d-%2d-%2d", now.GetYear(), now.GetMonth(), now.GetDay());
    row.time.Format("%2d:%2d", now.GetHour(), now.GetMinute());
    row.ip = ip;
    row.mgId = mgId;
    row.printCount = cancel ? -1 : 1;
    row.price = cancel ? Negated(sale.totalPrice) : sale.totalPrice;
    row.weight = cancel ? Negated(sale.totalWeight) : sale.totalWeight;
    m_pending.push_back(PendingReport { event.connection, row, cancel, event.bytes, event.arrival });
}

BOOL CResultServer::StartStore()
{
    if (m_pending.empty() || !m_pStore)
        return FALSE;
    StoreBatch batch;
    batch.serverPath = m_pane.ServerDatabasePath();
    batch.managerPath = kManagerDatabase;
    batch.oldest = m_pending.front().arrival;
    for (const PendingReport& report : m_pending)
        batch.items.push_back(StoreItem { report.row, FALSE, {} });
    m_storing.swap(m_pending);
    m_pending.clear();
    m_pStore->Start(std::move(batch));
    return TRUE;
}

void CResultServer::FinishReports(StoreBatch batch, BOOL quiet)
{
    std::vector<PendingReport> reports;
    reports.swap(m_storing);
    std::vector<CString> causes;
    BOOL anyStored = FALSE;
    for (std::size_t i = 0; i < reports.size() && i < batch.items.size(); ++i) {
        const PendingReport& report = reports[i];
        const StoreItem& item = batch.items[i];
        const CString cause = item.error.IsEmpty() ? CString() : "||Cause : " + item.error;
        Log(ServerLogClient(item.row.ip)
            + (report.cancel ? "||Result Cancel Time : " : "||Result Report Time : ") + GetLogTimeText()
            + (item.stored ? "||Result Value : " : "||Result Not Stored : ") + SaleLogValue(item.row) + cause
            + "|| Open Server File : " + m_pane.ServerDatabasePath());
        anyStored = anyStored || item.stored;
        if (item.stored)
            SendReply(report.connection, BuildResultReply(report.message));
        else if (std::find(causes.begin(), causes.end(), item.error) == causes.end())
            causes.push_back(item.error);
    }
    if (!batch.failure.IsEmpty() && std::find(causes.begin(), causes.end(), batch.failure) == causes.end())
        causes.push_back(batch.failure);
    std::vector<CString> shown;
    for (const CString& cause : causes) {
        if (cause != kReportNotInTime
            && std::find(m_shownCauses.begin(), m_shownCauses.end(), cause) == m_shownCauses.end())
            shown.push_back(cause);
    }
    m_shownCauses.insert(m_shownCauses.end(), shown.begin(), shown.end());
    if (anyStored)
        m_shownCauses.clear();
    if (quiet)
        return;
    for (const CString& cause : shown)
        AfxMessageBox(cause, MB_OK | MB_ICONSTOP);
}

void CResultServer::Log(const CString& line)
{
    AppendServerLog(m_pane.ServerLogPath(), line);
}
