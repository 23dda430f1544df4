#pragma once
// CTransThread: one job (send or read one kind of data) with one scale over
// TCP. Its thread only connects and cuts what the scale sends into the greeting
// and whole packets, which it hands, in order and tagged with the job's token,
// to the user-interface thread (CScalePacketPoster, message 1324). Everything
// else runs on the user-interface thread: the step machine, every send, the
// reply timer (id 200 + the job's slot on the work screen's window), the
// inserts of received records and the message boxes.
//
// Every wait is guarded by the reply timer: a packet that gets no answer is
// sent again up to three times, then the job ends with "3 times out"; the wait
// for the connection and the greeting, for the data after a request's
// acknowledgement, after an unknown refusal, and after a data record that came
// too early are guarded the same way.
//
// A TCP answer carries no number, so a sending job keeps a ledger of the
// answers its sends are owed (AnswerLedger): no packet goes while an answer is
// owed, unless that answer's time (the reply deadline, longer for a scale
// measured slower) has passed. After the closing reset's answer, the answers
// still on their way are read until the scale falls quiet: an answer beyond
// the sends, one still owed, or a refusal the matching cannot place ends the
// job as a failure with the count of records that is certain. A read drops a
// record as a copy only after a resend, when the scale repeats its answer or
// starts the read over (ReadCopies). Stop sends nothing
// more: the answer to the packet in flight is awaited until its time.

#include <atomic>
#include <optional>
#include <vector>

#include "ethernet/read_copies.h"
#include "ethernet/scale_packet_poster.h"
#include "ethernet/transfer_job_owner.h"
#include "ethernet/transfer_tally.h"
#include "platform/base/cstring.h"
#include "platform/net/socket.h"
#include "platform/wnd/core/thread.h"
#include "protocol/data_kinds.h"
#include "protocol/scale_packet.h"
#include "protocol/scale_records.h"
#include "protocol/transfer_steps.h"
#include "transfer/answer_ledger.h"
#include "transfer/resend_guard.h"

class CTransferHost;

class CTransThread : public CWinThread {
public:
    CTransThread();
    ~CTransThread() override;

    // ---- Before the thread runs ----
    // The work screen, the table the job reports to, its tools, the job's
    // token there and its fields.
    void SetJob(CTransferHost* host, CTransferJobOwner* owner, const TransferJobTools& tools, UINT_PTR token,
        const TransferRequest& request);

    // ---- Socket thread ----
    BOOL InitInstance() override { return TRUE; }
    int Run() override;

    // ---- User-interface thread ----
    // Starts the reply timer that guards the connection and the greeting.
    void Begin();
    // Message 1324: takes the job's packets in order (held while the job is
    // on the stack, its own message box open).
    void OnSocketData();
    // The job's reply timer fired (held as the packets are).
    void OnReplyTimeout();
    // Stop was pressed: a job that is not closed and not held ends now.
    void ObeyStop();
    // Ends the connection and the job.
    void CloseScale();
    // What came while the job was on the stack: its packets, then its timer.
    void ResumeHeld();
    // Ends the connection at once, telling nobody (the table is going). Any
    // thread.
    void Abandon();
    // Waits until the job's thread has ended.
    void WaitForThread();

    BOOL IsClosed() const { return m_step == TransferStep::Close; }
    // The socket thread has ended and its last item was taken.
    BOOL HasEnded() const { return m_bEnded; }
    BOOL IsHeld() const { return m_reentry.held; }
    // The job is on the stack: a call of it has not returned (its box is open).
    BOOL IsBusy() const { return m_reentry.busy > 0; }
    UINT_PTR GetToken() const { return m_token; }
    int GetTimerId() const { return m_job.timerId; }

private:
    void Handle(const CScalePacketPoster::Item& item);
    void TimedOut();
    void DecodeReply(const ScalePacket& packet);
    // A sending job's acknowledgement or known refusal.
    void OnSendAnswer(const ScalePacket& packet);
    // What the answer of the packet in flight leads to, once its copies are in.
    void ProceedAfterAnswer();
    void BeginGrace();
    void EndAfterGrace();
    // A sending job waits for the answer to a packet it sent.
    BOOL IsAnswerDue() const;
    // How long a send waits for its answer before it goes again.
    UINT ReplyTime() const;
    void OnNak(std::uint16_t code);
    void StartJob();
    void NextStep();
    void OnDataRecord(const ScalePacket* packet); // nullptr: the scale has no such record
    // FALSE when the record was refused (and told).
    BOOL StoreRecord(const ScalePacket& packet);
    BOOL StopRequested();
    // Ends the job as a failure: how it ended, how far it got, for which scale.
    void EndFailed(const CString& how);
    void Complete();
    // The one note of the text lines a read stored cut.
    void NoteCutLines();

    // Senders: each keeps the packet for resends and starts the reply timer.
    void Send(TransferStep step, ByteBuffer packet);
    void SendPacket();
    void SendAck();
    void SendNextRecord();
    void SendTaskReset();
    void RequestNext();
    void StartTimer(UINT ms = 0); // 0: the reply time
    void StopTimer();

    int MessageBox(const CString& text, UINT type);
    BOOL IsRequestStep() const;

    CTransferHost* m_pOwnerView = nullptr;
    CTransferJobOwner* m_pOwner = nullptr;
    std::optional<TransferJobTools> m_tools;
    UINT_PTR m_token = 0;
    TransferRequest m_job;

    // Socket thread state.
    // The connection: the socket thread's, closed by either thread.
    struct Link {
        CSocket socket;
        std::atomic<int> connected { 0 };
        std::atomic<int> shutDown { 0 };
    } m_link;

    // User-interface thread state.
    TransferStep m_step = TransferStep::Open; // "OPEN" until the greeting
    LastSentPacket m_lastSent;
    BOOL m_bAwaitingData = FALSE;
    // A call of the job on the stack (its box open) holds what comes for it.
    struct Reentry {
        int busy = 0; // calls of the job on the stack
        BOOL held = FALSE; // packets came meanwhile
        BOOL timeout = FALSE; // the timer fired meanwhile
    } m_reentry;
    BOOL m_bEnded = FALSE;
    BOOL m_bActive = FALSE; // counted in the registry's active jobs
    ResendGuard m_resends { kTcpResendLimit };
    ReadCopies m_copies; // the records the scale sent again after a resend
    BOOL m_bDbReady = FALSE; // prepareDb has run

    // A sending job's answers, matched to its sends.
    enum class AnswerWait { None, Copies, Grace };
    // A sending job's answers: the ledger, the wait on it, the answer acted on.
    struct Answers {
        AnswerLedger ledger;
        AnswerWait wait = AnswerWait::None;
        std::uint16_t nak = 0; // the answer acted on after its copies: 0 an ACK
    } m_answers;
    TransferTally m_tally; // how far the job got
};
