#pragma once
// What a TCP transfer job (CTransThread) tells the table that owns it
// (CTransferJobs), and what it is given by it: the job's order, the table's
// shared tools and the durations. The table knows its jobs; a job knows only
// this interface. UI thread.

#include <functional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "protocol/data_kinds.h"
#include "transfer/transfer_rows.h"

class CReceivedRecordStore;
class CScalePacketPoster;
class CScalePacketSender;

// Durations of a job; tests shorten them.
struct TransferTimings {
    UINT replyMs = 3000; // reply timer of every packet
    int connectMs = 5000; // connection attempt
    int sendMs = 1000; // one send
    // The least wait, after the closing reset's answer, for answers still on
    // their way; it grows with the scale's slowest answer.
    UINT graceMs = 20;
};

inline constexpr int kScalePort = 1239;

// The job's fields, written by the work screen's table before the job runs.
struct TransferRequest {
    CString dbPath; // receives: the database the records go into
    CString ipAddress;
    CString scaleName; // as the scale list names it; may be empty
    int port = kScalePort;
    TransferCommand direction = TransferCommand::Trans;
    DataKind kind = DataKind::Item;
    TransferScope selection = TransferScope::All;
    int language = 2;
    int timerId = 0; // 200 + the job's slot
    std::vector<int> requestNumbers; // select reads: the numbers asked for
    TransferRowsPtr rows; // what the job sends, read when the user started it
    std::size_t scaleCount = 1; // scales of the start: with several, every box names its scale
    // Receives: makes dbPath ready before the first record is stored (none:
    // it is ready), so a scale that sends nothing leaves no file.
    std::function<void(const CString& path)> prepareDb;
};

// The table's tools that its jobs share.
struct TransferJobTools {
    CScalePacketPoster& poster; // the socket threads' packets, per job, to the UI thread
    CScalePacketSender& sender; // writes that must not block the UI thread
    CReceivedRecordStore& database; // received records; stored item rows
    const TransferTimings& timings;
};

class CTransferJobOwner {
public:
    // The job starts or stops counting as running: once each way.
    virtual void JobActive(BOOL active) = 0;
    // The job was closed or its thread ended: the table frees it when it may.
    virtual void NoteJobEnding() = 0;
    virtual int JobMessageBox(const CString& text, UINT type) = 0;
    // A line for the progress dialog's lists of sent and received packets.
    virtual void LogSent(const CString& line) = 0;
    virtual void LogReceived(const CString& line) = 0;

protected:
    ~CTransferJobOwner() = default;
};
