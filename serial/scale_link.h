#pragma once
// CScaleLink: what happens next in an RS-232 session. For each step it builds
// one link frame into the engine's transmit buffer and hands it over (step word,
// frame length and an empty reply kind into the serial mailbox, then
// CSerialTransEngine::RunCommand); after every report of the engine the work
// screen calls OnReply, which reads the mailbox and chooses the next step.
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
// ALL_ENDJOIN and the scale's refusals close the session too. UI thread only.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "protocol/data_kinds.h"
#include "protocol/link_frame.h"
#include "protocol/record_values.h"
#include "protocol/scale_records.h"
#include "serial/serial_host.h"
#include "serial/serial_walk_state.h"
#include "transfer/received_record_store.h"
#include "transfer/transfer_rows.h"

class CSerialTransEngine;
class CSerialWalkState;

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
        m_strTargetDbPath = path;
        m_bMakeTarget = makeOnFirstRecord;
    }
    // What the walk sends and the numbers a read asks for, read from the screen
    // when the user started it.
    void SetRows(TransferRowsPtr rows, std::vector<int> requestNumbers)
    {
        m_rows = std::move(rows);
        m_requestSource = std::move(requestNumbers);
    }
    // The frame counter starts again at 1 (every transfer start).
    void ResetSequence() { m_sequence = FrameSequence(); }

    // Runs the engine's "OPEN" (mode, kind and scope written beforehand).
    void StartSession();
    // The session's reaction to the engine's last report.
    void OnReply();

    // The records stored by the last read, and the rows the last selective send
    // counted.
    int GetStoredCount() const { return m_nStoredCount; }
    const std::vector<int>& GetSelectedRows() const { return m_selectedRows; }

private:
    struct Mailbox {
        std::optional<TransferCommand> mode;
        std::optional<DataKind> kind;
        std::optional<TransferScope> scope;
        CString step, reply, status;
    };
    using Sender = void (CScaleLink::*)();
    using IndexSender = void (CScaleLink::*)(int);

    Mailbox ReadMailbox() const;
    void OnSendReply(const CString& step);
    void OnRecvReply(const Mailbox& box);
    void StartFirstSend(const Mailbox& box);
    void StartFirstRequest(const Mailbox& box);
    // The acknowledgement of a clear, a record or the preset page: the next
    // record, or done once the last has gone. False for any other step.
    bool OnRecordSent(const CString& step, Sender done);
    void AfterClear(const DataKindInfo& route);
    void RequestNextOrEnd(const CString& step);
    // The message of a scale's refusal step ("MEMORY FULL", or "BROAD MEMORY
    // FULL" in a broadcast ...), or nullptr.
    static const char* RefusalText(const CString& step, bool broadcast);
    void EndWithMessage(const char* text);
    // The end of a session that did not go through: how, how far, which scale.
    CString EndingText(const CString& how, bool reading) const;
    // The end of a session that went through: the scale and the count.
    CString CompleteText(bool reading) const;
    // text, named by its scale in a walk over several scales.
    CString Named(const CString& text) const;
    // The records the scale has accepted, once step's report is an acceptance.
    void NoteAccepted(const CString& step);
    // ENDJOIN answered: complete, or the ending of a stop or a refusal.
    void OnEndJoined(bool reading);
    // Ends a session that has nothing to send: ENDJOIN, or the closing pass.
    void EndEarly();

    // ---- session senders ---------------------------------------------------------
    void BuildJoinFrame();
    void SendAck(const CString& step, std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0);
    void SendEndJoin();
    void SendResetScale();
    void SendScaleInfo();
    void SendScaleRootInfo();
    void SendClose();

    // ---- table senders: one route per table -------------------------------------
    void SendTableClear(const DataKindInfo& route);
    void SendTableData(const DataKindInfo& route);
    void SendTableSelectData(const DataKindInfo& route);
    void SendTableAllRequest(const DataKindInfo& route);
    void SendTableRequest(const DataKindInfo& route);
    ByteBuffer RecordPayload(const DataKindInfo& route, int index);
    void SendPresetData();
    void SendResultAllClear();
    void SendPresetAllRequest();
    void SendPresetRequest();
    void SendResultRead(DataKind kind);
    void SendRequestEnd();
    // Counts the selected rows (list, range or block), clamped to the data rows
    // 1 to row count - 2 and limited by the data kind; position 0. Returns the count.
    int CountSelection();
    // The request numbers up to the first 0; position 0. Returns the count.
    int CountRequestNumbers();
    // The PLU record of a grid row: from its cells, or from its [Item] row when
    // default values are in force.
    PluRecord BuildPluRecord(int index);

    // ---- received records --------------------------------------------------------
    // A data reply while records are awaited: assembled, stored when whole,
    // acknowledged. True when a whole record was taken.
    bool OnDataRecord(const CString& step, RecordKind kind);
    // FALSE when the record was refused (and told).
    BOOL StoreReceivedRecord(const CString& path, RecordKind kind);
    // Whether the record assembled is a copy of one taken before: only after
    // a frame of the read was sent again (the scale may answer both sends, or
    // read again from its first record), and no more copies of a record than
    // were taken before that resend, or of the first record taken after it.
    [[nodiscard]] bool IsCopy();
    // "<n> records stored in <path>", and the copies dropped.
    CString StoredText() const;
    bool TakeCopy(const CString& step, std::uint8_t count, std::uint8_t number);

    // ---- broadcast ---------------------------------------------------------------
    void OnBroadcastReply();
    void SendBroadcastJoin(int index);
    void SendBroadStart(int index);
    void SendStatusRequest(int index);
    void SendAllEndJoin(int index);
    void SendBroadcastEndJoin(int index);
    void SendAllReset(int index);
    // A pass over the joined scales: starts at the first; the next one, false
    // once the last has been served.
    void StartPass(IndexSender send);
    bool StepPass(IndexSender send);
    void StartStatusPass();
    void StartClosingPass();
    void FinishBroadcast();
    // The broadcast's scales that did not join, as the messages name them.
    CString NotJoinedScales() const;
    // Shows a joined scale's status reply; a count below the records sent, an
    // error code or a reply without a count marks the scale short.
    void ShowStatusReply(int index);
    // The joined scale as the messages name it.
    CString JoinedLabel(int index) const;
    ScaleId JoinedId(int index) const;

    // Frame building and the hand-off to the engine.
    ScaleId FrameScaleId(bool ownIdAlways = false) const;
    ByteBuffer BuildFrame(std::uint16_t command, std::span<const std::uint8_t> payload, ScaleId scaleId,
        std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0);
    void HandOff(SerialWord step, ByteBuffer frame);
    void HandOff(const CString& step, ByteBuffer frame);
    void SendRecordFrame(SerialWord step, std::span<const std::uint8_t> payload, int progress);
    void SendClear(SerialWord step, TableCode table, std::uint8_t second, bool restartSequence);
    void SendRequest(SerialWord step, ScaleCommand command, TableCode table, const std::uint32_t* number);
    // The cells of the order's record index.
    RecordRow RowAt(int index) const;
    const TransferRows& Rows() const;

    CSerialHost* m_pHost = nullptr;
    CSerialTransEngine* m_pEngine = nullptr;
    const CSerialWalkState* m_pWalk = nullptr;
    int m_nLanguage = 2;
    UINT m_pauseMs = 2000;
    FrameSequence m_sequence;

    // Sending.
    int m_nRecordCount = 0;
    int m_nRecordIndex = 0;
    int m_nColumnCount = 0;
    std::vector<int> m_selectedRows;
    int m_nAcked = 0; // records the scale accepted
    TransferRowsPtr m_rows;
    std::vector<int> m_requestSource;
    CString m_strEnding; // how a session that did not go through ended

    // Reading.
    int m_nRequestCount = 0;
    int m_nRequestPosition = 0;
    std::vector<int> m_requestNumbers;
    RecordAssembly m_assembly;
    std::map<ByteBuffer, int> m_takenRecords; // this session's, with their counts
    std::map<ByteBuffer, int> m_copiesAllowed; // copies that may still come
    int m_nResendsSeen = 0; // the engine's resends when the last record came
    bool m_bFirstAfterResend = false;
    int m_nCopies = 0; // copies dropped
    bool m_bMakeTarget = false;
    int m_nStoredCount = 0;
    int m_nRefusedCount = 0; // received records the database refused
    int m_nCutLines = 0; // received text lines stored cut to their column
    CString m_strTargetDbPath;
    CReceivedRecordStore m_database;

    // Broadcast.
    int m_nJoinedCount = 0;
    int m_nTotal = 0;
    int m_nIndex = 0;
    std::array<ScaleId, kMaxBroadcastScales + 1> m_joinedIds {};
    ScaleId m_lastJoinId { '0', '0' };
    CString m_strShortScales; // joined scales whose status did not confirm every record

    bool m_bStopLatched = false;
};
