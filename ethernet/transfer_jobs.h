#pragma once
// CTransferJobs: the work screen's table of TCP transfer jobs. Each job has a
// slot (0 to 179: its reply timer is 200 + slot) and a token that is never
// reused while the program runs; message 1324 carries the token, so socket data
// of a job that has gone finds nothing. A job stays in the table until its
// thread has ended. The transfer-active flag is set while any job runs.
//
// While a job's message box is open every other job goes on, its packets and
// its reply timer served in the box's loop; the job itself takes what came
// for it (packets, a timer that fired) once its call has returned, so it never
// runs again inside its own box.

#include <map>
#include <memory>
#include <vector>

#include "ethernet/scale_packet_poster.h"
#include "ethernet/scale_packet_sender.h"
#include "ethernet/trans_thread.h"
#include "ethernet/transfer_host.h"
#include "transfer/received_record_store.h"
#include "transfer/transfer_order.h"

class CEthTransStatusDlg;

inline constexpr int kMaxTransferJobs = 180;
inline constexpr UINT kFirstTransferTimer = 200;
inline constexpr UINT kLastTransferTimer = 599;
inline constexpr std::size_t kMaxRequestNumbers = 999;

class CTransferJobs : private CTransferJobOwner {
public:
    explicit CTransferJobs(CTransferHost& host, TransferTimings timings = {});
    // Ends every job and waits for their threads.
    virtual ~CTransferJobs();
    CTransferJobs(const CTransferJobs&) = delete;
    CTransferJobs& operator=(const CTransferJobs&) = delete;

    // Starts one job per scale of order, slots 0 to n - 1, each with the
    // order's rows (none: the job sends no row). Refused with a message box
    // (FALSE) while a job still runs, for more than 180 scales or more than 999
    // numbers, and for a pair of command and kind that the scales do not
    // serve; nothing connects then.
    BOOL Start(const TransferOrder& order);
    // The job of order's scale at alone, in slot 0, as one of the order's
    // scales (a loop over them, one at a time); refused as Start is.
    BOOL StartScale(const TransferOrder& order, std::size_t at);
    // The checks of Start alone (with their message); TRUE when it may start,
    // and the rows may be taken.
    BOOL CheckStart(const TransferOrder& order) { return Check(order, order.scales.size()); }

    // Message 1324 with a job's token.
    void OnSocketData(UINT_PTR token);
    // WM_TIMER: TRUE when id is a transfer job's reply timer (200 to 599); ids
    // of empty slots and of ended jobs are killed and ignored.
    BOOL OnTimer(UINT id);

    // Shows a message box of a job; the other jobs go on meanwhile.
    int MessageBox(const CString& text, UINT type);
    // TRUE while such a box is open.
    BOOL IsShowingMessage() const { return m_nModalDepth > 0; }
    int ActiveCount() const { return m_nActive; }

    CTransThread* Find(UINT_PTR token) const;
    CTransThread* InSlot(int slot) const;
    std::size_t JobCount() const { return m_jobs.size(); }

    CTransferHost& Host() { return m_host; }
    void SetTimings(const TransferTimings& timings) { m_timings = timings; }
    // The progress dialog the jobs log to (may be null).
    void SetStatusDialog(CEthTransStatusDlg* dialog);
    // Stop was pressed: every job that waits ends now; a job whose message box
    // is open sees the stop flag when the box closes.
    void ObeyStop();

private:
    // CTransferJobOwner: what the jobs tell the table.
    void JobActive(BOOL active) override;
    void NoteJobEnding() override { m_bReapDue = TRUE; }
    int JobMessageBox(const CString& text, UINT type) override { return MessageBox(text, type); }
    void LogSent(const CString& line) override;
    void LogReceived(const CString& line) override;

    // The checks of a start of count of order's scales.
    BOOL Check(const TransferOrder& order, std::size_t count);
    // The jobs of order's scales first to first + count - 1, slots 0 on.
    BOOL Launch(const TransferOrder& order, std::size_t first, std::size_t count);
    // Frees the jobs whose threads have ended.
    void Reap();
    // The jobs that were given something while they were on the stack take it.
    void ResumeHeld();

    CTransferHost& m_host;
    TransferTimings m_timings;
    CScalePacketPoster m_poster;
    CScalePacketSender m_sender;
    CReceivedRecordStore m_database;
    CEthTransStatusDlg* m_pStatus = nullptr;
    std::map<UINT_PTR, std::unique_ptr<CTransThread>> m_jobs;
    std::vector<UINT_PTR> m_slots; // token of each slot's job, 0 when free
    UINT_PTR m_nextToken = 1;
    int m_nModalDepth = 0;
    int m_nActive = 0;
    int m_nDispatchDepth = 0;
    BOOL m_bReapDue = FALSE;
};
