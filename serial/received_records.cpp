#include "serial/received_records.h"

#include "platform/wnd/core/msgbox.h"
#include "serial/serial_host.h"

void CReceivedRecords::StartSession()
{
    m_nStoredCount = 0;
    m_nRefusedCount = 0;
    m_nCutLines = 0;
    m_takenRecords.clear();
    m_copiesAllowed.clear();
    m_nResendsSeen = 0;
    m_bFirstAfterResend = false;
    m_nCopies = 0;
}

void CReceivedRecords::StartRead()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
}

CReceivedRecords::Taken CReceivedRecords::Take(
    const LinkFrame& frame, RecordKind kind, int resends, const RecordContext& context)
{
    const RecordAssembly::Result result
        = m_assembly.Add(frame.header.pieceCount, frame.header.pieceNumber, frame.payload);
    if (result != RecordAssembly::Result::Whole)
        return Taken::Piece;
    if (IsCopy(resends))
        return Taken::Copy;
    // A refused record is told and not counted.
    if (!Store(kind, context)) {
        ++m_nRefusedCount;
        return Taken::Refused;
    }
    ++m_nStoredCount;
    m_pHost->ShowTransferProgress(CString::Formatted("%d", m_nStoredCount));
    return Taken::Stored;
}

bool CReceivedRecords::IsCopy(int resends)
{
    const ByteBuffer record(m_assembly.Record().begin(), m_assembly.Record().end());
    if (resends != m_nResendsSeen) {
        m_nResendsSeen = resends;
        m_copiesAllowed = m_takenRecords;
        m_bFirstAfterResend = true;
    }
    const auto allowed = m_copiesAllowed.find(record);
    if (allowed != m_copiesAllowed.end() && allowed->second > 0) {
        --allowed->second;
        ++m_nCopies;
        m_assembly.Clear();
        return true;
    }
    ++m_takenRecords[record];
    // The answer to the resent frame: the answer to its first send may follow.
    if (m_bFirstAfterResend)
        ++m_copiesAllowed[record];
    m_bFirstAfterResend = false;
    return false;
}

BOOL CReceivedRecords::Store(RecordKind kind, const RecordContext& context)
{
    const ByteBuffer record(m_assembly.Record().begin(), m_assembly.Record().end());
    m_assembly.Clear();
    if (m_bMakeTarget) {
        m_bMakeTarget = false;
        if (!m_pHost->MakeReceivedDatabase(m_strTargetDbPath))
            return FALSE;
    }
    return m_database.Store(
        m_strTargetDbPath, kind, record, context, RecordCarriage::Serial,
        [this](const CString& request, const CString& sql) { m_pHost->NoteReceivedRecord(request, sql); },
        [](const CString& text, UINT type) { AfxMessageBox(text, type); }, &m_nCutLines);
}

int CReceivedRecords::TakeCutLines()
{
    const int lines = m_nCutLines;
    m_nCutLines = 0;
    return lines;
}

CString CReceivedRecords::StoredText() const
{
    // A received-data database is made by the first record only: none then.
    CString text = m_nStoredCount == 0 ? CString("no records stored")
                                       : CString::Formatted("%d record%s stored in %s", m_nStoredCount,
                                           m_nStoredCount == 1 ? "" : "s", m_strTargetDbPath);
    if (m_nCopies > 0)
        text += CString::Formatted("; %d cop%s the scale sent again %s not stored", m_nCopies,
            m_nCopies == 1 ? "y" : "ies", m_nCopies == 1 ? "was" : "were");
    return text;
}
