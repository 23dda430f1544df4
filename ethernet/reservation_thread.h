#pragma once
// CReservationTransThread: runs one stored reservation row against one scale.
//
// Its own thread only waits and connects: it sleeps until the next whole
// minute (or until cancelled, or until the clock is changed) and tests the due
// rule; when the reservation is due it asks the user-interface thread whether
// it may run (the same manager's interactive transfer refuses it), connects to
// port 1239 of the scale, and hands the connection to a reader. The reader
// cuts the stream into the greeting and whole packets and posts them. Every
// step of the protocol (decoding, sends, the reply timer 600 + slot, the
// report line, the status, message boxes) runs on the user-interface thread in
// OnSocketData and OnReplyTimeout, which the work screen calls for message
// 1624 (wParam = this job's token) and for its timer.
//
//   greeting -> [PLU record -> ACK]* -> TASK_RESET -> ACK -> close
//
// Answers are matched to the sends by a ledger (AnswerLedger), as the
// interactive send does: no copy goes while an answer is owed until its time
// has passed, and after the reset's answer the answers still on their way are
// read; the run is "OK" only when every answer matched its packet.
//
// Every wait for the scale (greeting, acknowledgement, after a NAK that does
// not end the job) is guarded by the reply timer: the last packet goes out
// again at most three times, then the job ends with "3 times out". Packets are
// written by a sender of their own (a send never waits for the scale). A once
// reservation ends its thread after its run; an every-day reservation waits for
// its minute on the next day. Cancel ends it at any point without a report.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "db/reservation_dao_helper.h"
#include "ethernet/reservation_rules.h"
#include "ethernet/scale_packet_poster.h"
#include "ethernet/scale_packet_sender.h"
#include "platform/net/socket.h"
#include "platform/net/socket_reader.h"
#include "platform/wnd/core/thread.h"
#include "protocol/data_kinds.h"
#include "protocol/scale_stream.h"
#include "protocol/transfer_steps.h"
#include "transfer/answer_ledger.h"
#include "transfer/resend_guard.h"

class CReservationHost;

inline constexpr UINT WM_RESV_SOCKET_DATA = 1624;
inline constexpr UINT_PTR kReservationTimerBase = 600;
inline constexpr std::size_t kReservationSlots = 180;
inline constexpr UINT kScaleTcpPort = 1239;

class CReservationTransThread : public CWinThread {
public:
    CReservationTransThread();
    ~CReservationTransThread() override;

    // Before the thread is resumed.
    void SetOwnerView(CReservationHost* host);
    void SetReservation(const ReservationRow& row);
    void SetTimerId(UINT_PTR id) { m_timerId = id; }
    // Where the scale listens (tests use another port).
    void SetPort(UINT port) { m_port = port; }

    // The job's token: unique among every job of the program's run.
    UINT_PTR GetJobToken() const { return m_token; }
    UINT_PTR GetTimerId() const { return m_timerId; }
    const ReservationRow& GetReservation() const { return m_row; }
    long GetReservationNumber() const { return m_number; }
    // TRUE once the thread has ended (after its last run, or cancelled).
    BOOL HasEnded() const;
    // Runs since the thread started (tests).
    int GetRunCount() const { return m_runs; }
    // The step of the run (Open until the greeting, Close after).
    TransferStep GetStep() const { return m_step; }

    BOOL InitInstance() override { return TRUE; }
    // The thread: waits, asks, connects, then waits for the run to end.
    int Run() override;

    // UI thread: message 1624 for this job, the reply timer, and the delete of
    // the reservation (timer killed, connection closed, thread ended, no report).
    void OnSocketData();
    void OnReplyTimeout();
    void Cancel();

    // The reply timer's duration (3000 ms) and the connect time limit.
    static void SetReplyTimeout(UINT milliseconds);
    static void SetConnectTimeout(int milliseconds);
    // Wakes every waiting reservation to test its due rule again (after the
    // clock behind AfxNow was set).
    static void NotifyClockChanged();

private:
    enum class Note { Due, Connected, ConnectFailed };
    enum class Decision { None, Connect, Skip };

    // Thread side.
    bool WaitUntilDue(std::int64_t& dueDay);
    bool WaitFor(const std::function<bool()>& done, std::time_t until);
    void Post(Note note);

    // UI side.
    void HandleNote(Note note);
    void HandleItem(const CScalePacketPoster::Item& item);
    void DecodeReply(const ScalePacket& packet);
    // What the answer of the packet in flight leads to, once its copies are in.
    void Proceed();
    void BeginGrace();
    void EndAfterGrace();
    void BeginTransfer();
    int CountItems();
    bool ManagerBusy() const;
    void StopForManager();
    // The row's status in the reservation database.
    void SetStatus(const char* status);
    // Ends the run: its report and box carry the count; an empty how is
    // "Trans Complete".
    void EndWith(const CString& report, const CString& how);
    CString CountText() const;
    // The box text, naming the reservation and the scale.
    CString Named(const CString& text) const;
    void SendPluStep();
    void SendNextItem(int index);
    void SendTaskReset();
    void SendPacket();
    void NextStep();
    void StartReplyTimer(UINT ms);
    void KillReplyTimer();
    void WriteReservationReport(const CString& report);
    void CloseReservation();
    void EndRun();
    void Decide(Decision decision);

    CReservationHost* m_pHost = nullptr;
    ReservationRow m_row;
    long m_number = 0;
    int m_period = 0;
    int m_direction = 0;
    UINT_PTR m_timerId = 0;
    UINT m_port = kScaleTcpPort;
    const UINT_PTR m_token;

    // Shared between the thread and the UI thread.
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_cancelled = false;
    Decision m_decision = Decision::None;
    bool m_runEnded = false;
    std::deque<Note> m_notes;
    std::atomic<int> m_runs { 0 };

    CSocket m_socket;
    CScalePacketPoster* m_pPoster = nullptr;
    CScalePacketPump* m_pPump = nullptr;
    CSocketReader m_reader;
    // Writes the packets: a scale that stops reading never holds the
    // user-interface thread.
    CScalePacketSender m_sender;

    // UI thread only.
    bool m_connected = false;
    bool m_inRun = false;
    bool m_timerRunning = false;
    bool m_dispatching = false;
    std::optional<DataKind> m_kind;
    ResendGuard m_resends { kTcpResendLimit };
    int m_nextItem = 0;
    int m_itemTotal = 0;
    int m_itemsSent = 0;
    int m_itemsAcked = 0; // copies the scale accepted
    CString m_refusal; // the scale's refusal that the closing reset follows
    AnswerLedger m_ledger;
    enum class Wait { None, Copies, Grace } m_wait = Wait::None;
    std::uint16_t m_answerCode = 0; // the answer acted on: 0 an acknowledgement
    bool m_unmatched = false; // the count is the certain one
    TransferStep m_step = TransferStep::Open;
    CString m_report;
    LastSentPacket m_packet;
    CReservationDaoHelper m_dao;
};
