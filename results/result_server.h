#pragma once
// CResultServer: the left pane's results server. Scales connect to its port
// (Server_Port.bin, 1500-8000, 3000 when empty), ask for single records of
// Server_Store.mdb, and report each sale they make or take back; each becomes
// a row of [Server_DB], and everything is logged (server_log.h). A scale is
// known by its address in [ScaleMG] of Manager.mdb, which gives its manager.
//
// A listening thread accepts and a reader per connection receives; both queue
// their events to a hidden window of the server (server_events.h), and the
// handlers run on the user-interface thread one message at a time: while a
// message box of one message is open, the others wait in order. A reply goes
// out with a short deadline; a scale that does not take it is disconnected. The pane's server members
// (running flag, server mode, database and log paths) are kept here.

#include <atomic>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "db/checked_dao_helper.h"
#include "platform/net/socket.h"
#include "protocol/server_messages.h"
#include "results/server_queries.h"
#include "results/server_store.h"
#include "shell/result_server_port.h"

class CCalvornView;
class CServerEventQueue;
class CServerEventWnd;
struct ServerEvent;

inline constexpr const char* kServerStartFile = "C:\\Windows\\system\\Manager\\Server_Start_Ok.bin";
inline constexpr int kServerReplyTimeoutMs = 1000;
// Each connection holds a reader thread and its descriptors.
inline constexpr int kServerConnectionLimit = 180;

class CResultServer : public CResultServerPort {
public:
    explicit CResultServer(CCalvornView& pane);
    // Closes every connection and the listening socket; logs nothing.
    ~CResultServer() override;
    CResultServer(const CResultServer&) = delete;
    CResultServer& operator=(const CResultServer&) = delete;

    void StartAtStartUp() override;
    void SendKeepAlive() override;

    // Provisions Server_Store.mdb, listens and logs the start, then shows
    // "Server Start". A port outside 1500-8000 or a failed listen is shown
    // instead, and the server does not run (FALSE).
    BOOL StartResultServer();
    // Closes every connection and the listening socket, logs the stop and
    // shows "Server Stop".
    void StopResultServer();

    // The address listened on: "" (every interface) unless set before the
    // start.
    void SetListenAddress(const CString& address) { m_strListenAddress = address; }
    // Connections beyond the limit are closed as soon as they are accepted,
    // so that the program keeps descriptors and threads for its own work.
    void SetConnectionLimit(int limit) { m_connectionLimit = limit; }
    // Accepts that failed since the start (each is tried again after a wait).
    int GetAcceptFailureCount() const { return m_acceptFailures.load(); }
    BOOL IsRunning() const;
    std::size_t GetConnectionCount() const { return m_connections.size(); }

    // The hidden window's message: handles the queued events in order.
    void OnServerEvents();

private:
    struct Connection;
    // A report stored in the round's batch, answered once the batch is in
    // the file.
    struct PendingReport {
        UINT_PTR connection = 0;
        SaleRow row;
        BOOL cancel = FALSE;
        ByteBuffer reply; // empty when the row was refused
        CString error; // the refusal's engine text
    };

    BOOL CreateListenSocket();
    void ListenLoop();
    void DeleteServerSockets();
    void Handle(ServerEvent& event);
    void OnServerAccept(UINT_PTR id, std::unique_ptr<CSocket> socket);
    void OnServerReceive(Connection& connection, const ByteBuffer& message);
    void OnServerClientClose(UINT_PTR id);
    // The scale's manager id; FALSE when the scale is not registered (or the
    // register could not be read).
    BOOL IdentifyScale(const CString& ip, CString& mgId);
    void OnDataRequest(const ServerPacketHeader& header, const CString& mgId, const CString& ip);
    void OnResultReport(UINT_PTR connection, const ByteBuffer& message, const SaleResultRecord& sale,
        const CString& mgId, const CString& ip, BOOL cancel);
    // Builds the reply to a data request in the reply buffer (none for an
    // advertisement or origin without text).
    void QueryRequestedRecord(std::uint16_t tableKind, std::int32_t number, const CString& mgId);
    // The first value of the first row of sql on the open database, "FALSE"
    // when there is none; FALSE with the engine's text when the query failed.
    BOOL FirstValue(const CString& sql, CString& value, CString& error);
    // Sends a reply within the deadline, or closes the connection.
    void SendReply(UINT_PTR id, const ByteBuffer& reply);
    // Stores the row in the round's batch (opened by the first report of a
    // round) and keeps the report for FlushReports.
    void StoreReport(UINT_PTR connection, const ByteBuffer& message, const SaleRow& row, BOOL cancel);
    // Commits the round's reports together, then logs each and acknowledges
    // those stored, in order; the refusals are shown last. Runs before any
    // other event and before any message box, so replies and log lines keep
    // the order of the messages.
    void FlushReports();
    void Log(const CString& line);
    Connection* FindConnection(UINT_PTR id);

    CCalvornView& m_pane;
    CString m_strListenAddress;
    CCheckedDaoHelper m_dao;
    CCheckedDaoHelper m_store; // the round's reports, one batch
    std::vector<PendingReport> m_pending;
    BOOL m_bStoreOpen = FALSE; // m_store holds the round's batch
    ByteBuffer m_reply;

    std::unique_ptr<CServerEventWnd> m_pWindow;
    std::unique_ptr<CServerEventQueue> m_pEvents;
    std::list<std::unique_ptr<Connection>> m_connections; // in order of acceptance
    BOOL m_bHandling = FALSE;

    CSocket m_listener;
    std::thread m_listenThread;
    std::atomic<bool> m_bStopping { false };
    std::atomic<UINT_PTR> m_nextConnection { 0 };
    std::atomic<int> m_liveConnections { 0 };
    std::atomic<int> m_acceptFailures { 0 };
    int m_connectionLimit = kServerConnectionLimit;
    std::mutex m_stopLock;
    std::condition_variable m_stopWake;
};
