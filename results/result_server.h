#pragma once
// CResultServer: the left pane's results server. Scales connect to its port
// (Server_Port.bin, 1500-8000, 3000 when empty), ask for single records of
// Server_Store.mdb, and report each sale they make or take back; each becomes
// a row of [Server_DB], and everything is logged (server_log.h). A scale is
// known by its address in [ScaleMG] of Manager.mdb, which gives its manager.
//
// A listening thread accepts, another starts each connection's reader, which
// receives from then on; they queue their events (server_events.h) to the
// serving thread, which handles them one at a time, in order. Reports are
// stored by a worker (server_store_worker.h); while it stores, the events
// after them wait, so replies and log lines keep the order of the messages.
// Nothing of this waits for the window's thread: the server's boxes are
// queued to a hidden window and shown there one after another, while the
// server goes on. A reply goes out with a short deadline; a scale that does
// not take it is disconnected. The server tells the left pane
// (CResultServerHost) its database and log as it starts and that it stopped;
// the pane's user id is read on the window's thread.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "db/checked_dao_helper.h"
#include "db/store_paths.h"
#include "platform/net/socket.h"
#include "platform/wnd/core/messages.h"
#include "protocol/server_messages.h"
#include "results/registered_addresses.h"
#include "results/server_events.h"
#include "results/server_queries.h"
#include "results/server_store.h"
#include "results/server_store_worker.h"
#include "shell/result_server_port.h"

class CServerEventWnd;

inline constexpr const char* kServerStartFile = "C:\\Windows\\system\\Manager\\Server_Start_Ok.bin";
inline constexpr int kServerReplyTimeoutMs = 1000;
// Each connection holds a reader thread and its descriptors.
inline constexpr int kServerConnectionLimit = 180;
// A scale switched off or cut from the network leaves its connection open: one
// that has sent no whole message for this long is closed.
inline constexpr auto kServerIdleTimeout = std::chrono::milliseconds(30000);
// Accepted beyond the limit, each to take the place of another connection,
// the oldest first. A newcomer from an address of the scale register takes
// the place of one from an address that is not, or else of one that never
// sent a whole message, whatever their age; one from another address only
// that of a connection from another address that never sent a whole message
// and is at least a sixth of the idle time-out old. Once the spare places are
// taken too, the listener closes each newcomer from another address as it
// accepts it; a registered one has as many spare places again, which the
// others never take.
inline constexpr int kServerSpareConnections = 20;

class CResultServer : public CResultServerPort {
public:
    explicit CResultServer(CResultServerHost& pane);
    // Closes every connection and the listening socket; logs nothing but
    // the reports the worker was storing.
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
    // Before the start.
    void SetIdleTimeout(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }
    // Accepts that failed since the start (each is tried again after a wait).
    int GetAcceptFailureCount() const { return m_acceptFailures.load(); }
    BOOL IsRunning() const;
    std::size_t GetConnectionCount() const { return m_connectionCount.load(); }

    // The hidden window's message: shows the queued boxes, one after another.
    void OnServerBoxes();
    // The hidden window's timer: takes the pane's user id over.
    void ReadPaneUser();

private:
    struct Connection;
    // A report of the round, answered once its row is in the file.
    struct PendingReport {
        UINT_PTR connection = 0;
        SaleRow row;
        BOOL cancel = FALSE;
        ByteBuffer message;
        std::chrono::steady_clock::time_point arrival;
    };

    BOOL CreateListenSocket();
    void ListenLoop();
    // Starts the readers of the accepted connections and queues their
    // accepts; apart from the listening thread, which accepts at once.
    void StartReaders();
    void ServeLoop();
    // Handles the queued events in order, until none is left or the worker
    // stores.
    void HandleEvents();
    void DeleteServerSockets();
    void Handle(ServerEvent& event);
    void OnServerAccept(ServerEvent& event);
    // Closes the connections idle too long.
    void CloseIdleConnections();
    // Queues a box for the window's thread; while many wait, one of a text
    // already waiting is not queued again.
    void ShowBox(const CString& text, UINT type = MB_OK);
    void OnServerReceive(Connection& connection, const ServerEvent& event);
    void OnServerClientClose(UINT_PTR id);
    // The scale's manager id; FALSE when the scale is not registered (or the
    // register could not be read).
    BOOL IdentifyScale(const CString& ip, CString& mgId);
    // A request of another direction or a table beyond the server's is
    // logged without its value and not answered.
    void OnDataRequest(const ServerMessage& request, const CString& mgId, Connection& connection);
    // Logs how many refused requests of the connection went unlogged.
    void LogUnloggedRefusals(Connection& connection);
    void OnResultReport(const ServerEvent& event, const SaleResultRecord& sale, const CString& mgId,
        const CString& ip, BOOL cancel);
    // Builds the reply to a data request in the reply buffer (none for an
    // advertisement or origin without text).
    void QueryRequestedRecord(std::uint16_t tableKind, std::uint32_t number, const CString& mgId);
    // Sends a reply within the deadline, or closes the connection.
    void SendReply(UINT_PTR id, const ByteBuffer& reply);
    // Hands the round's reports to the worker; FALSE when there are none.
    BOOL StartStore();
    // Acknowledges the reports of the batch that were stored, then logs each
    // report, in order. Then each cause of a refusal is shown once until a report is stored
    // again (one box for a lock, not one per report), unless quiet.
    void FinishReports(StoreBatch batch, BOOL quiet);
    void Log(const CString& line);
    Connection* FindConnection(UINT_PTR id);
    // Logs why the connection goes, and closes it.
    void CloseIdle(const Connection& connection);
    // The connection to close for a new one from ip; nullptr when none may go.
    Connection* FindMakingRoom(const CString& ip);
    // The listener's rule: FALSE for a newcomer closed as it is accepted.
    BOOL AdmitAtDoor(const CSocket& socket);
    // Queues a box for a cause (a lookup that failed, an unregistered
    // address) unless one was shown for it since something was last served.
    void ShowCause(const CString& cause, const CString& text);

    CResultServerHost& m_pane;
    CString m_strListenAddress;
    CString m_strDatabasePath; // told the pane at the start
    CString m_strLogPath;
    std::mutex m_userLock;
    CString m_strUserId; // the pane's
    CCheckedDaoHelper m_dao;
    std::vector<PendingReport> m_pending; // the round's reports
    std::vector<PendingReport> m_storing; // with the worker
    std::vector<CString> m_shownCauses; // since a report was last stored or a request answered
    std::vector<CString> m_unregisteredShown; // addresses boxed as unregistered until they are not
    CRegisteredAddresses m_register { kManagerDatabase };
    ServerEvent m_held; // the event after the reports being stored
    BOOL m_bHeld = FALSE;
    ByteBuffer m_reply;

    std::unique_ptr<CServerEventWnd> m_pWindow;
    std::unique_ptr<CServerEventQueue> m_pEvents;
    std::list<std::unique_ptr<Connection>> m_connections; // in order of acceptance
    std::atomic<std::size_t> m_connectionCount { 0 };
    std::chrono::steady_clock::time_point m_nextIdleCheck;

    std::mutex m_boxLock;
    std::deque<std::pair<CString, UINT>> m_boxes; // to be shown
    BOOL m_bShowingBoxes = FALSE; // window's thread

    CSocket m_listener;
    std::thread m_listenThread;
    std::thread m_serveThread;
    std::thread m_readerThread;
    std::deque<std::unique_ptr<CSocket>> m_accepted; // m_stopLock: readers to be started
    std::atomic<bool> m_bStopping { false };
    std::atomic<bool> m_bKeepAlive { false }; // asked for on the window's thread
    std::atomic<bool> m_bLogFailing { false }; // its box shown
    std::atomic<UINT_PTR> m_nextConnection { 0 };
    std::atomic<int> m_liveConnections { 0 };
    std::atomic<int> m_acceptFailures { 0 };
    int m_connectionLimit = kServerConnectionLimit;
    std::chrono::milliseconds m_idleTimeout = kServerIdleTimeout;
    std::mutex m_stopLock;
    std::condition_variable m_stopWake;
    std::unique_ptr<CServerStoreWorker> m_pStore; // ends first
};
