#pragma once
// CServerStoreWorker: stores the results server's reports on a thread of its
// own, so that a database another program holds never holds the window. One
// batch at a time: the items' names are looked up, then their rows go into
// Server_DB in one transaction.
//
// No step starts once the batch's oldest report is kReportStoreLimit old. A
// step waits at most the engine's busy time-out (3 s), so a report that is
// stored is stored, and answered, well within a scale's wait of 10 s; one
// that is not is neither stored nor answered, and the scale sends it again.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "results/server_queries.h"

inline constexpr auto kReportStoreLimit = std::chrono::seconds(3);
// The cause of a report given up before it was tried: the lock that held it
// up has its own.
inline constexpr const char* kReportNotInTime
    = "Not stored within the scale's wait: the scale sends it again.";

struct StoreItem {
    SaleRow row; // the item, POS code and scale names are filled in here
    BOOL stored = FALSE;
    CString error; // why it was not stored
};

struct StoreBatch {
    CString serverPath;
    CString managerPath;
    std::vector<StoreItem> items;
    std::chrono::steady_clock::time_point oldest; // the first report's arrival
    CString failure; // the transaction's failure, "" when none
};

class CServerStoreWorker {
public:
    // finished runs on the worker's thread when a batch is done.
    explicit CServerStoreWorker(std::function<void()> finished);
    // Waits for the batch in hand.
    ~CServerStoreWorker();
    CServerStoreWorker(const CServerStoreWorker&) = delete;
    CServerStoreWorker& operator=(const CServerStoreWorker&) = delete;

    // Hands a batch over; only while not Busy.
    void Start(StoreBatch batch);
    // From Start until Take.
    BOOL Busy() const { return m_bBusy; }
    // The batch is stored: Take returns at once.
    BOOL Done();
    // The finished batch (waits until it is); Busy is FALSE after.
    StoreBatch Take();

private:
    void Run();

    const std::function<void()> m_finished;
    BOOL m_bBusy = FALSE; // the owner's thread only
    std::mutex m_lock;
    std::condition_variable m_wake;
    StoreBatch m_batch;
    bool m_bWork = false; // m_batch waits to be stored
    bool m_bDone = false; // m_batch is stored
    bool m_bStop = false;
    std::thread m_thread;
};

// Stores the batch as the worker does, on the calling thread.
void StoreReports(StoreBatch& batch);
