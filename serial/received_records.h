#pragma once
// CReceivedRecords: the records a read brings back. Each is joined from its
// pieces, told apart from a copy the scale sent again after a resend, stored
// in the read's target database and counted. UI thread only.

#include <cstdint>
#include <map>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "protocol/link_frame.h"
#include "protocol/record_values.h"
#include "protocol/scale_records.h"
#include "transfer/received_record_store.h"

class CSerialHost;

class CReceivedRecords {
public:
    enum class Taken { Piece, Stored, Refused, Copy };

    void SetHost(CSerialHost* host) { m_pHost = host; }
    // The database that the records go into; made by the host as the first
    // record comes when it is a received-data database.
    void SetTarget(const CString& path, bool makeOnFirstRecord)
    {
        m_strTargetDbPath = path;
        m_bMakeTarget = makeOnFirstRecord;
    }
    // A scale's session starts: nothing taken yet.
    void StartSession();
    // A request for records goes: the count starts again.
    void StartRead();

    // The piece of a record that frame carries, as kind. resends: the frames
    // the engine has sent again so far; context: the stamp of stored rows.
    [[nodiscard]] Taken Take(
        const LinkFrame& frame, RecordKind kind, int resends, const RecordContext& context);

    int StoredCount() const { return m_nStoredCount; }
    int RefusedCount() const { return m_nRefusedCount; }
    // Text lines stored cut to their column since the last call.
    int TakeCutLines();
    // "<n> records stored in <path>", and the copies dropped.
    CString StoredText() const;

private:
    // Whether the record assembled is a copy of one taken before: only after
    // a frame of the read was sent again (the scale may answer both sends, or
    // read again from its first record), and no more copies of a record than
    // were taken before that resend, or of the first record taken after it.
    [[nodiscard]] bool IsCopy(int resends);
    // FALSE when the record was refused (and told).
    BOOL Store(RecordKind kind, const RecordContext& context);

    CSerialHost* m_pHost = nullptr;
    RecordAssembly m_assembly;
    std::map<ByteBuffer, int> m_takenRecords; // this session's, with their counts
    std::map<ByteBuffer, int> m_copiesAllowed; // copies that may still come
    int m_nResendsSeen = 0; // the engine's resends when the last record came
    bool m_bFirstAfterResend = false;
    int m_nCopies = 0; // copies dropped
    bool m_bMakeTarget = false;
    int m_nStoredCount = 0;
    int m_nRefusedCount = 0; // records the database refused
    int m_nCutLines = 0; // text lines stored cut to their column
    CString m_strTargetDbPath;
    CReceivedRecordStore m_database;
};
