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
#include "shell/dialog_helpers.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"
#include "shell/scale_dialogs.h"

namespace {

constexpr UINT kServerBoxMessage = WM_APP + 0x120;
constexpr UINT_PTR kUserTimer = 1;
constexpr UINT kUserTimerMs = 200;
constexpr long kDefaultPort = 3000;
constexpr long kLowestPort = 1500;
constexpr long kHighestPort = 8000;
// Connections the system holds until they are accepted: a crowd that
// arrives at once does not shut a scale's connection out.
constexpr int kListenBacklog = 256;
// Boxes waiting to be shown beyond which one of a text already waiting is
// not queued again (a peer that sends one refused message after another).
constexpr std::size_t kQueuedBoxLimit = 32;
// Unregistered addresses remembered as boxed; beyond them each is boxed again.
constexpr std::size_t kUnregisteredKept = 256;
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
            { OnMessage<&CServerEventWnd::OnServerBoxes>(kServerBoxMessage),
                OnMessage<&CServerEventWnd::OnUserTimer>(WM_TIMER) });
        return &kMap;
    }

private:
    LRESULT OnServerBoxes(WPARAM, LPARAM)
    {
        m_server.OnServerBoxes();
        return 0;
    }
    LRESULT OnUserTimer(WPARAM, LPARAM)
    {
        m_server.ReadPaneUser();
        return 0;
    }

    CResultServer& m_server;
};

struct CResultServer::Connection {
    UINT_PTR id = 0;
    std::unique_ptr<CSocket> socket;
    std::unique_ptr<CSocketReader> reader; // after the socket: ends first
    CString ip;
    std::chrono::steady_clock::time_point accepted;
    std::chrono::steady_clock::time_point heard; // the last whole message, or the accept
    BOOL spoke = FALSE; // a whole message came
    CRefusalLogLimit refusedRequests; // a peer that sends garbage fills no disk
};

CResultServer::CResultServer(CResultServerHost& pane)
    : m_pane(pane)
{ }

CResultServer::~CResultServer()
{
    DeleteServerSockets();
}

void CResultServer::StartAtStartUp()
{
    const BOOL start = ReadServerStartFlag();
    for (const CString& line : ReadSettingsLines(kServerStartFile)) {
        if (!IsSettingText(line)) {
            AfxMessageBox(SettingNotUnderstoodText(kServerStartFile), MB_OK | MB_ICONSTOP);
            return;
        }
    }
    if (start)
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
    m_strDatabasePath = kServerDatabase;
    m_strLogPath = MakeServerLogPath();
    m_pane.ServerStarted(m_strDatabasePath, m_strLogPath);
    ReadPaneUser();
    m_bStopping = false;
    m_nextIdleCheck = std::chrono::steady_clock::now();
    m_serveThread = std::thread([this] { ServeLoop(); });
    m_readerThread = std::thread([this] { StartReaders(); });
    m_listenThread = std::thread([this] { ListenLoop(); });
    Log("Server Start Time : " + GetLogTimeText());
    AfxMessageBox("Server Start");
    return TRUE;
}

BOOL CResultServer::CreateListenSocket()
{
    const CString text = CServerPortDlg::ReadPortText();
    if (!IsSettingText(text)) {
        AfxMessageBox(SettingNotUnderstoodText(kServerPortFile), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    const long port = text.IsEmpty() ? kDefaultPort : LeadingNumber(text);
    CString failure;
    if (port < kLowestPort || port > kHighestPort) {
        failure.Format("Server Start Failed : port %s\nPort Number : 1500 ~8000", text.GetString());
        AfxMessageBox(failure, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    m_pWindow = std::make_unique<CServerEventWnd>(*this);
    m_pWindow->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
    const IoStatus status
        = m_listener.Listen(m_strListenAddress.GetString(), static_cast<UINT>(port), kListenBacklog);
    if (!status.ok()) {
        m_listener.Close();
        m_pWindow->DestroyWindow();
        m_pWindow.reset();
        failure.Format("Server Start Failed : port %ld\n%s", port, status.Text().c_str());
        AfxMessageBox(failure, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    m_pEvents = std::make_unique<CServerEventQueue>();
    m_pStore = std::make_unique<CServerStoreWorker>([events = m_pEvents.get()] { events->Wake(); });
    m_pWindow->SetTimer(kUserTimer, kUserTimerMs);
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
            if (!AdmitAtDoor(*socket)) {
                socket->Close(); // refused at once: no thread, no descriptors
                continue;
            }
            ++m_liveConnections;
            bool first;
            {
                std::lock_guard<std::mutex> lock(m_stopLock);
                first = m_accepted.empty();
                m_accepted.push_back(std::move(socket));
            }
            if (first)
                m_stopWake.notify_all();
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

BOOL CResultServer::AdmitAtDoor(const CSocket& socket)
{
    const int live = m_liveConnections.load();
    if (live < m_connectionLimit + kServerSpareConnections)
        return TRUE;
    return live < m_connectionLimit + 2 * kServerSpareConnections
            && m_register.Contains(socket.GetPeerAddress())
        ? TRUE
        : FALSE;
}

void CResultServer::StartReaders()
{
    std::unique_lock<std::mutex> lock(m_stopLock);
    for (;;) {
        m_stopWake.wait(lock, [this] { return m_bStopping || !m_accepted.empty(); });
        if (m_bStopping)
            return;
        std::deque<std::unique_ptr<CSocket>> accepted;
        accepted.swap(m_accepted);
        lock.unlock();
        for (auto& socket : accepted)
            m_pEvents->PushAccepted(++m_nextConnection, std::move(socket));
        lock.lock();
    }
}

void CResultServer::ServeLoop()
{
    const auto tick = std::chrono::milliseconds(std::clamp<long long>(m_idleTimeout.count() / 10, 10, 1000));
    while (!m_bStopping) {
        HandleEvents();
        if (m_bKeepAlive.exchange(false)) {
            const ByteBuffer keepAlive = BuildKeepAlive();
            std::vector<UINT_PTR> ids;
            for (const auto& connection : m_connections)
                ids.push_back(connection->id);
            for (const UINT_PTR id : ids)
                SendReply(id, keepAlive);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= m_nextIdleCheck) {
            if (!m_pStore->Busy()) // not while a report waits to be answered on its connection
                CloseIdleConnections();
            m_nextIdleCheck = now + tick;
        }
        m_pEvents->Wait(m_nextIdleCheck);
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
    {
        std::lock_guard<std::mutex> lock(m_stopLock);
        m_bStopping = true;
    }
    m_stopWake.notify_all();
    if (m_listenThread.joinable()) {
        m_listener.ShutDown();
        m_listenThread.join();
    }
    if (m_readerThread.joinable())
        m_readerThread.join();
    m_accepted.clear();
    if (m_serveThread.joinable()) {
        m_pEvents->Wake();
        m_serveThread.join();
    }
    // The batch in hand is answered while its scales are still connected.
    if (m_pStore && m_pStore->Busy())
        FinishReports(m_pStore->Take(), TRUE);
    while (!m_connections.empty()) {
        Connection& connection = *m_connections.front();
        connection.socket->ShutDown();
        connection.reader->Stop();
        connection.socket->Close();
        m_connections.pop_front();
    }
    m_connectionCount = 0;
    m_liveConnections = 0;
    m_listener.Close();
    m_pStore.reset();
    m_pending.clear(); // never acknowledged: the scales send them again
    m_bHeld = FALSE;
    m_held = ServerEvent();
    m_pEvents.reset();
    {
        std::lock_guard<std::mutex> lock(m_boxLock);
        m_boxes.clear();
    }
    if (m_pWindow) {
        m_pWindow->DestroyWindow();
        m_pWindow.reset();
    }
}

void CResultServer::SendKeepAlive()
{
    if (!m_pEvents)
        return;
    m_bKeepAlive = true;
    m_pEvents->Wake();
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

void CResultServer::ShowBox(const CString& text, UINT type)
{
    if (!m_pWindow) { // stopped: the window's thread
        AfxMessageBox(text, type);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_boxLock);
        if (m_boxes.size() >= kQueuedBoxLimit)
            for (const auto& box : m_boxes)
                if (box.first == text && box.second == type)
                    return;
        m_boxes.emplace_back(text, type);
    }
    ::PostMessage(m_pWindow->GetSafeHwnd(), kServerBoxMessage);
}

void CResultServer::ShowCause(const CString& cause, const CString& text)
{
    if (std::find(m_shownCauses.begin(), m_shownCauses.end(), cause) != m_shownCauses.end())
        return;
    m_shownCauses.push_back(cause);
    ShowBox(text, MB_OK | MB_ICONSTOP);
}

void CResultServer::OnServerBoxes()
{
    // A box runs a loop of its own: the boxes queued meanwhile wait for it.
    if (m_bShowingBoxes)
        return;
    m_bShowingBoxes = TRUE;
    for (;;) {
        std::pair<CString, UINT> box;
        {
            std::lock_guard<std::mutex> lock(m_boxLock);
            if (m_boxes.empty())
                break;
            box = m_boxes.front();
            m_boxes.pop_front();
        }
        AfxMessageBox(box.first, box.second);
    }
    m_bShowingBoxes = FALSE;
}

void CResultServer::ReadPaneUser()
{
    std::lock_guard<std::mutex> lock(m_userLock);
    if (m_strUserId != m_pane.UserId())
        m_strUserId = m_pane.UserId();
}

void CResultServer::HandleEvents()
{
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
}

void CResultServer::Handle(ServerEvent& event)
{
    switch (event.kind) {
    case ServerEvent::Kind::Accepted:
        OnServerAccept(event);
        break;
    case ServerEvent::Kind::AcceptFailed:
        ShowBox("접속 허용 실패");
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
        + "|| Open Server File : " + m_strDatabasePath);
    OnServerClientClose(connection.id);
}

void CResultServer::CloseIdleConnections()
{
    const auto now = std::chrono::steady_clock::now();
    std::vector<const Connection*> idle;
    for (const auto& connection : m_connections) {
        if (now - connection->heard >= m_idleTimeout)
            idle.push_back(connection.get());
    }
    for (const Connection* connection : idle)
        CloseIdle(*connection);
}

void CResultServer::OnServerAccept(ServerEvent& event)
{
    const auto refuse = [&] {
        event.reader->Stop();
        event.socket->Close();
        --m_liveConnections;
    };
    if (!event.readerStarted) {
        refuse();
        ShowBox("접속 허용 실패");
        return;
    }
    const CString ip = event.socket->GetPeerAddress();
    if (static_cast<int>(m_connections.size()) >= m_connectionLimit) {
        Connection* silent = FindMakingRoom(ip);
        if (!silent) {
            refuse(); // every place is taken by a scale that speaks, or may yet
            return;
        }
        Log(ServerLogClient(silent->ip) + "||Closed For A New Connection : " + GetLogTimeText()
            + "|| Open Server File : " + m_strDatabasePath);
        OnServerClientClose(silent->id);
    }
    auto connection = std::make_unique<Connection>();
    connection->accepted = event.arrival;
    connection->heard = event.arrival;
    connection->id = event.connection;
    connection->socket = std::move(event.socket);
    connection->reader = std::move(event.reader);
    connection->ip = ip;
    Log(ServerLogClient(connection->ip) + "||Connection Time : " + GetLogTimeText()
        + "|| Open Server File : " + m_strDatabasePath);
    m_connections.push_back(std::move(connection));
    m_connectionCount = m_connections.size();
}

CResultServer::Connection* CResultServer::FindMakingRoom(const CString& ip)
{
    // The oldest first: for a registered newcomer one of another address,
    // else one that never spoke; for another newcomer only one of another
    // address that never spoke and has waited a while.
    const bool registered = m_register.Contains(ip);
    const auto now = std::chrono::steady_clock::now();
    Connection* silent = nullptr;
    for (const auto& connection : m_connections) {
        const bool other = !m_register.Contains(connection->ip);
        if (registered) {
            if (other)
                return connection.get();
            if (!connection->spoke && !silent)
                silent = connection.get();
        } else if (other && !connection->spoke && now - connection->accepted >= m_idleTimeout / 6) {
            return connection.get();
        }
    }
    return silent;
}

void CResultServer::OnServerClientClose(UINT_PTR id)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if ((*it)->id != id)
            continue;
        LogUnloggedRefusals(**it);
        Log(ServerLogClient((*it)->ip) + "||Disconnect Time : " + GetLogTimeText()
            + "|| Open Server File : " + m_strDatabasePath);
        (*it)->socket->ShutDown();
        (*it)->reader->Stop();
        (*it)->socket->Close();
        m_connections.erase(it);
        m_connectionCount = m_connections.size();
        --m_liveConnections;
        return;
    }
}

void CResultServer::OnServerReceive(Connection& connection, const ServerEvent& event)
{
    const ByteBuffer& message = event.bytes;
    connection.heard = event.arrival;
    connection.spoke = TRUE;
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
            OnDataRequest(decoded, mgId, connection);
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
        ShowBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
    }
}

BOOL CResultServer::IdentifyScale(const CString& ip, CString& mgId)
{
    m_dao.OpenDatabase(kManagerDatabase);
    CCheckedDaoHelper::Rows rows;
    CString error;
    const CCheckedDaoHelper::Lookup found = m_dao.SelectQuiet(ScaleManagerSql(ip), &rows, error);
    m_dao.CloseDatabase();
    if (found == CCheckedDaoHelper::Lookup::Failed) {
        ShowCause(error, error);
        return FALSE;
    }
    const auto shown = std::find(m_unregisteredShown.begin(), m_unregisteredShown.end(), ip);
    if (found == CCheckedDaoHelper::Lookup::Missing) {
        // Once for an address while it is not registered.
        if (shown != m_unregisteredShown.end())
            return FALSE;
        if (m_unregisteredShown.size() >= kUnregisteredKept)
            m_unregisteredShown.clear();
        m_unregisteredShown.push_back(ip);
        ShowBox("Unregistered Scale Request.");
        return FALSE;
    }
    if (shown != m_unregisteredShown.end())
        m_unregisteredShown.erase(shown);
    mgId = rows.front().empty() ? CString() : rows.front().front();
    std::lock_guard<std::mutex> lock(m_userLock);
    if (mgId.IsEmpty() || m_strUserId == kAdministratorId)
        mgId = kAdministratorId;
    return TRUE;
}

void CResultServer::LogUnloggedRefusals(Connection& connection)
{
    const int unlogged = connection.refusedRequests.TakeUnlogged();
    if (unlogged > 0)
        Log(ServerLogClient(connection.ip)
            + CString::Formatted("||Refused Requests Not Logged : %d", unlogged)
            + "|| Open Server File : " + m_strDatabasePath);
}

void CResultServer::OnDataRequest(const ServerMessage& request, const CString& mgId, Connection& connection)
{
    const ServerPacketHeader& header = request.header;
    const BOOL accepted = request.kind == ServerMessageKind::DataRequest ? TRUE : FALSE;
    if (!accepted && !connection.refusedRequests.Admit(std::chrono::steady_clock::now()))
        return;
    if (!accepted)
        LogUnloggedRefusals(connection);
    const std::uint32_t number = header.recordNumber; // unsigned, as a report's item number
    CString line = ServerLogClient(connection.ip) + "||Request Time : " + GetLogTimeText();
    if (accepted)
        line += RequestLogValue(header.tableKind, number);
    Log(line + "|| Open Server File : " + m_strDatabasePath);
    if (accepted)
        QueryRequestedRecord(header.tableKind, number, mgId);
}

void CResultServer::QueryRequestedRecord(std::uint16_t tableKind, std::uint32_t number, const CString& mgId)
{
    m_reply.clear();
    m_dao.OpenDatabase(m_strDatabasePath);
    CCheckedDaoHelper::Rows rows;
    CString error;
    const CCheckedDaoHelper::Lookup found
        = m_dao.SelectQuiet(RequestedRecordSql(tableKind, mgId, number), &rows, error);
    m_dao.CloseDatabase();
    if (found == CCheckedDaoHelper::Lookup::Failed) {
        ShowCause(error, error); // no reply: the scale asks again
        return;
    }
    m_shownCauses.clear(); // served
    if (found == CCheckedDaoHelper::Lookup::Missing) {
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
    (void)BuildRecordReply(table, number, fields, m_reply);
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
    batch.serverPath = m_strDatabasePath;
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
    const std::size_t count = std::min(reports.size(), batch.items.size());
    // Replies first: what is in the file reaches its scale before anything
    // else is written.
    for (std::size_t i = 0; i < count; ++i)
        if (batch.items[i].stored)
            SendReply(reports[i].connection, BuildResultReply(reports[i].message));
    std::vector<CString> causes;
    BOOL anyStored = FALSE;
    for (std::size_t i = 0; i < count; ++i) {
        const StoreItem& item = batch.items[i];
        const CString cause = item.error.IsEmpty() ? CString() : "||Cause : " + item.error;
        Log(ServerLogClient(item.row.ip)
            + (reports[i].cancel ? "||Result Cancel Time : " : "||Result Report Time : ") + GetLogTimeText()
            + (item.stored ? "||Result Value : " : "||Result Not Stored : ") + SaleLogValue(item.row) + cause
            + "|| Open Server File : " + m_strDatabasePath);
        anyStored = anyStored || item.stored;
        if (!item.stored && std::find(causes.begin(), causes.end(), item.error) == causes.end())
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
        ShowBox(cause, MB_OK | MB_ICONSTOP);
}

void CResultServer::Log(const CString& line)
{
    CString error;
    if (AppendServerLog(m_strLogPath, line, &error)) {
        m_bLogFailing = false;
        return;
    }
    // Once, until a line is written again: the reports go on meanwhile.
    if (!m_bLogFailing.exchange(true))
        ShowBox(ServerLogFailureText(m_strLogPath, error), MB_OK | MB_ICONSTOP);
}
