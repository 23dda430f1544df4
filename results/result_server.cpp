#include "results/result_server.h"

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
constexpr long kDefaultPort = 3000;
constexpr long kLowestPort = 1500;
constexpr long kHighestPort = 8000;
constexpr auto kAcceptRetryWait = std::chrono::milliseconds(100);

// -value of a 32-bit number as the scale's 32-bit arithmetic gives it.
std::int32_t Negated(std::int32_t value)
{
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
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
        static const MessageMap kMap(
            CWnd::GetMessageMap(), { OnMessage<&CServerEventWnd::OnServerEvents>(kServerEventMessage) });
        return &kMap;
    }

private:
    LRESULT OnServerEvents(WPARAM, LPARAM)
    {
        m_server.OnServerEvents();
        return 0;
    }

    CResultServer& m_server;
};

struct CResultServer::Connection {
    UINT_PTR id = 0;
    std::unique_ptr<CSocket> socket;
    CSocketReader reader;
    CString ip;
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
    m_pane.m_nServerRunning = 1;
    m_pane.m_nServerFlag = 1;
    m_pane.m_strServerFilePath = kServerDatabase;
    m_pane.m_strServerLogPath = MakeServerLogPath();
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
    m_bStopping = false;
    m_listenThread = std::thread([this] { ListenLoop(); });
    return TRUE;
}

void CResultServer::ListenLoop()
{
    for (;;) {
        auto socket = std::make_unique<CSocket>();
        const IoStatus status = m_listener.Accept(*socket, -1);
        if (m_bStopping)
            return;
        if (status.ok()) {
            m_pEvents->PushAccepted(++m_nextConnection, std::move(socket));
            continue;
        }
        if (status.Code() == IoCode::InvalidArgument)
            return;
        m_pEvents->PushAcceptFailed();
        std::unique_lock<std::mutex> lock(m_stopLock);
        m_stopWake.wait_for(lock, kAcceptRetryWait, [this] { return m_bStopping.load(); });
    }
}

void CResultServer::StopResultServer()
{
    m_pane.m_nServerRunning = 0;
    m_pane.m_nServerFlag = 0;
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
    m_listener.Close();
    m_pEvents.reset();
    if (m_pWindow) {
        m_pWindow->DestroyWindow();
        m_pWindow.reset();
    }
}

void CResultServer::SendKeepAlive()
{
    const ByteBuffer keepAlive = BuildKeepAlive();
    for (const auto& connection : m_connections)
        (void)connection->socket->Send(keepAlive, kServerReplyTimeoutMs);
}

void CResultServer::OnServerEvents()
{
    // A message box of the message being handled runs this loop again: the
    // events wait for the outer loop.
    if (m_bHandling)
        return;
    m_bHandling = TRUE;
    ServerEvent event;
    while (m_pEvents && m_pEvents->Take(event)) {
        if (event.kind != ServerEvent::Kind::Message || !IsSaleMessage(event.bytes))
            FlushReports();
        Handle(event);
    }
    FlushReports();
    m_bHandling = FALSE;
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
            OnServerReceive(*connection, event.bytes);
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

void CResultServer::OnServerAccept(UINT_PTR id, std::unique_ptr<CSocket> socket)
{
    m_pane.m_strServerFilePath = kServerDatabase;
    auto connection = std::make_unique<Connection>();
    connection->id = id;
    connection->socket = std::move(socket);
    if (!connection->reader.Start(*connection->socket, *m_pEvents, id).ok()) {
        connection->socket->Close();
        AfxMessageBox("접속 허용 실패");
        return;
    }
    connection->ip = connection->socket->GetPeerAddress();
    Log(ServerLogClient(connection->ip) + "||Connection Time : " + GetLogTimeText()
        + "|| Open Server File : " + m_pane.m_strServerFilePath);
    m_connections.push_back(std::move(connection));
}

void CResultServer::OnServerClientClose(UINT_PTR id)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if ((*it)->id != id)
            continue;
        Log(ServerLogClient((*it)->ip) + "||Disconnect Time : " + GetLogTimeText()
            + "|| Open Server File : " + m_pane.m_strServerFilePath);
        (*it)->reader.Stop();
        (*it)->socket->Close();
        m_connections.erase(it);
        return;
    }
}

void CResultServer::OnServerReceive(Connection& connection, const ByteBuffer& message)
{
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
            OnDataRequest(decoded.header, mgId, connection.ip);
            break;
        case ServerCommand::ResultReport:
        case ServerCommand::ResultCancel:
            OnResultReport(connection.id, message, decoded.sale, mgId, connection.ip,
                decoded.kind == ServerMessageKind::ResultCancel ? TRUE : FALSE);
            break;
        default:
            return;
        }
        if (!m_reply.empty())
            (void)connection.socket->Send(m_reply, kServerReplyTimeoutMs);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        m_dao.CloseDatabase();
        FlushReports();
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
        FlushReports();
        AfxMessageBox("Unregistered Scale Request.");
        return FALSE;
    }
    mgId = rows.front().empty() ? CString() : rows.front().front();
    if (mgId.IsEmpty() || m_pane.m_strUserId == kAdministratorId)
        mgId = kAdministratorId;
    return TRUE;
}

void CResultServer::OnDataRequest(const ServerPacketHeader& header, const CString& mgId, const CString& ip)
{
    const BOOL accepted
        = header.direction == kServerDirectionRequest && header.tableKind <= kServerMaxTableKind;
    const auto number = static_cast<std::int32_t>(header.recordNumber);
    CString line = ServerLogClient(ip) + "||Request Time : " + GetLogTimeText();
    if (accepted)
        line += RequestLogValue(header.tableKind, number);
    Log(line + "|| Open Server File : " + m_pane.m_strServerFilePath);
    if (accepted)
        QueryRequestedRecord(header.tableKind, number, mgId);
}

void CResultServer::QueryRequestedRecord(std::uint16_t tableKind, std::int32_t number, const CString& mgId)
{
    m_reply.clear();
    m_dao.OpenDatabase(m_pane.m_strServerFilePath);
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

CString CResultServer::FirstValue(const CString& sql)
{
    CCheckedDaoHelper::Rows rows;
    if (m_dao.Select(sql, &rows) != CCheckedDaoHelper::Lookup::Found || rows.front().empty())
        return kDbNoRows;
    return rows.front().front();
}

void CResultServer::OnResultReport(UINT_PTR connection, const ByteBuffer& message,
    const SaleResultRecord& sale, const CString& mgId, const CString& ip, BOOL cancel)
{
    const CTime now = CTime::GetCurrentTime();
    SaleRow row;
    row.itemNumber = static_cast<std::int32_t>(sale.itemNumber);
    row.day.Format("%4d-%2d-%2d", now.GetYear(), now.GetMonth(), now.GetDay());
    row.time.Format("%2d:%2d", now.GetHour(), now.GetMinute());
    row.ip = ip;
    row.mgId = mgId;
    m_dao.OpenDatabase(m_pane.m_strServerFilePath);
    row.itemName = FirstValue(ItemNameSql(row.itemNumber, mgId));
    row.posCode = FirstValue(ItemPosCodeSql(row.itemNumber, mgId));
    m_dao.CloseDatabase();
    m_dao.OpenDatabase(kManagerDatabase);
    row.scaleName = FirstValue(ScaleNameSql(ip));
    m_dao.CloseDatabase();
    row.printCount = cancel ? -1 : 1;
    row.price = cancel ? Negated(sale.totalPrice) : sale.totalPrice;
    row.weight = cancel ? Negated(sale.totalWeight) : sale.totalWeight;

    StoreReport(connection, message, row, cancel);
}

void CResultServer::StoreReport(
    UINT_PTR connection, const ByteBuffer& message, const SaleRow& row, BOOL cancel)
{
    if (m_pending.empty()) {
        m_store.OpenDatabase(m_pane.m_strServerFilePath);
        m_store.BeginBatch();
    }
    PendingReport report { connection, row, cancel, {}, {} };
    if (m_store.ExecuteQuiet(SaleInsertSql(row), report.error))
        report.reply = BuildResultReply(message);
    m_pending.push_back(std::move(report));
}

void CResultServer::FlushReports()
{
    if (m_pending.empty())
        return;
    const BOOL committed = m_store.EndBatch();
    m_store.CloseDatabase();
    std::vector<PendingReport> reports;
    reports.swap(m_pending);
    for (const PendingReport& report : reports) {
        const BOOL stored = committed && !report.reply.empty();
        Connection* connection = FindConnection(report.connection);
        Log(ServerLogClient(report.row.ip)
            + (report.cancel ? "||Result Cancel Time : " : "||Result Report Time : ") + GetLogTimeText()
            + (stored ? "||Result Value : " : "||Result Not Stored : ") + SaleLogValue(report.row)
            + "|| Open Server File : " + m_pane.m_strServerFilePath);
        if (stored && connection)
            (void)connection->socket->Send(report.reply, kServerReplyTimeoutMs);
    }
    for (const PendingReport& report : reports) {
        if (!report.error.IsEmpty())
            AfxMessageBox(report.error, MB_OK | MB_ICONSTOP);
    }
}

void CResultServer::Log(const CString& line)
{
    AppendServerLog(m_pane.m_strServerLogPath, line);
}
