#pragma once
// CScaleLink: what happens next in an RS-232 session. For each step it has
// one link frame built and handed to the engine (CLinkFrames); after every
// report of the engine the work screen calls OnReply, which reads the mailbox
// and chooses the next step.
//
//   TRANS        OPEN -> JOIN -> clear -> records (or a selection) -> ENDJOIN -> CLOSE
//   RECV         OPEN -> JOIN -> request -> records, each acknowledged -> end of
//                data -> REQUEST_END, pause -> ENDJOIN -> CLOSE
//   BROAD_TRANS  OPEN -> JOIN each chosen scale -> BROAD_START each joined scale
//                -> records to "99" -> BROAD_STATUS_REQ each -> ALL_ENDJOIN each
//                -> CLOSE (scale settings: one frame, then ALL_RESET each)
//
// A stop is acted on once per session (latched until the next OPEN): ENDJOIN, or
// the broadcast's closing pass. Every wait ends: an unanswered ENDJOIN or
// ALL_ENDJOIN and the scale's refusals close the session too. What a read
// brings back is CReceivedRecords'; how a session ended, CSessionEnding's.
// UI thread only.

#include <optional>
#include <vector>

#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "serial/broadcast_scales.h"
#include "serial/link_frames.h"
#include "serial/received_records.h"
#include "serial/serial_host.h"
#include "serial/serial_walk_state.h"
#include "serial/session_ending.h"
#include "transfer/transfer_rows.h"

class CSerialTransEngine;

class CScaleLink {
public:
    CScaleLink();

    void SetOwnerView(CSerialHost* host, CSerialTransEngine* engine, const CSerialWalkState* walk);
    void SetLanguage(int language) { m_nLanguage = language; }
    // The pause before ENDJOIN after a read's end and after the one sales total
    // (2000 ms; shorter in tests).
    void SetPause(UINT milliseconds) { m_pauseMs = milliseconds; }
    // The database that a read's records go into; made by the host as the
    // first record comes when it is a received-data database.
    void SetTargetDatabase(const CString& path, bool makeOnFirstRecord = false)
    {
        m_records.SetTarget(path, makeOnFirstRecord);
    }
    // What the walk sends and the numbers a read asks for, read from the screen
    // when the user started it.
    void SetRows(TransferRowsPtr rows, std::vector<int> requestNumbers);
    // The frame counter starts again at 1 (every transfer start).
    void ResetSequence() { m_frames.ResetSequence(); }

    // Runs the engine's "OPEN" (mode, kind and scope written beforehand).
    void StartSession();
    // The session's reaction to the engine's last report.
    void OnReply();

    // The records stored by the last read, and the rows the last selective send
    // counted.
    int GetStoredCount() const { return m_records.StoredCount(); }
    const std::vector<int>& GetSelectedRows() const { return m_selectedRows; }

private:
    struct Mailbox {
        std::optional<TransferCommand> mode;
        std::optional<DataKind> kind;
        std::optional<TransferScope> scope;
        CString step, reply, status;
    };
    using IndexSender = void (CScaleLink::*)(int);

    Mailbox ReadMailbox() const;
    // A stop asked for: ends the session once; false when none is to be acted on.
    bool OnStop(const Mailbox& box);
    void OnSendReply(const CString& step);
    void OnRecvReply(const Mailbox& box);
    void StartFirstSend(const Mailbox& box);
    void StartFirstRequest(const Mailbox& box);
    // The acknowledgement of a clear, a record or the preset page: the next
    // record, or once the last has gone the end (ENDJOIN, or the broadcast's
    // status pass). False for any other step.
    bool OnRecordSent(const CString& step);
    void AfterClear(const DataKindInfo& route);
    void SendTableData(const DataKindInfo& route);
    void SendTableSelectData(const DataKindInfo& route);
    void RequestNextOrEnd(const CString& step);
    void EndWithMessage(const char* text);
    // The end of a session that did not go through: how, how far, which scale.
    CString EndingText(const CString& how, bool reading) const;
    // The records the session was to send.
    int SentTotal() const;
    // ENDJOIN answered: complete, or the ending of a stop or a refusal.
    void OnEndJoined(bool reading);
    // Ends a session that has nothing to send: ENDJOIN, or the closing pass.
    void EndEarly();
    // Counts the selected rows; position 0. Returns the count.
    int CountSelection();
    // The request numbers up to the first 0; position 0. Returns the count.
    int CountRequestNumbers();
    void SendRequestEnd();

    // ---- received records --------------------------------------------------------
    // A data reply while records are awaited: taken, acknowledged. True when a
    // whole record was taken.
    bool OnDataRecord(const CString& step, RecordKind kind);
    // A copy, from a late answer and the answer to its resend, is neither
    // stored nor counted.
    void TakeCopy(const CString& step, std::uint8_t count, std::uint8_t number);

    // ---- broadcast ---------------------------------------------------------------
    void OnBroadcastReply();
    // The steps of the broadcast's own frames; false for any other step.
    bool OnBroadcastPass(const Mailbox& box);
    void SendBroadcastJoin(int index);
    void SendBroadStart(int index);
    void SendStatusRequest(int index);
    void SendAllEndJoin(int index);
    void SendAllReset(int index);
    // A pass over the joined scales from the first; the next one, false once
    // the last has been served.
    void StartPass(IndexSender send);
    bool StepPass(IndexSender send);
    void StartClosingPass();
    void FinishBroadcast();

    CSerialHost* m_pHost = nullptr;
    CSerialTransEngine* m_pEngine = nullptr;
    const CSerialWalkState* m_pWalk = nullptr;
    int m_nLanguage = 2;
    UINT m_pauseMs = 2000;
    CLinkFrames m_frames;
    CReceivedRecords m_records;
    CSessionEnding m_ending;
    CBroadcastScales m_broadcast;

    // Sending.
    int m_nRecordCount = 0;
    int m_nRecordIndex = 0;
    std::vector<int> m_selectedRows;

    // Reading by record numbers.
    std::vector<int> m_requestSource;
    int m_nRequestCount = 0;
    int m_nRequestPosition = 0;
    std::vector<int> m_requestNumbers;

    bool m_bStopLatched = false;
};
