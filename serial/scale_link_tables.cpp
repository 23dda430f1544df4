// The table senders and receivers of the scale link: clears and records of the
// grid's rows, preset page, requests, and the records a read brings back.

#include <algorithm>
#include <cstdlib>

#include "db/record_sql.h"
#include "db/store_paths.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"
#include "serial/table_routes.h"

using W = SerialWord;

namespace {

constexpr std::size_t kMaxPicks = 1000;

// The day on the program's clock, as the TCP jobs take it.
std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatDay(now.wYear, now.wMonth, now.wDay);
}

std::optional<SerialWord> RouteWord(const DataKindInfo& kind, RouteStep which)
{
    switch (which) {
    case RouteStep::Clear:
        return kind.serialClear;
    case RouteStep::Data:
        return kind.serialData;
    case RouteStep::SelectData:
        return kind.serialSelectData;
    case RouteStep::AllRequest:
        return kind.serialAllRequest;
    case RouteStep::Request:
        return kind.serialRequest;
    }
    return std::nullopt;
}

} // namespace

const DataKindInfo* FindRoute(RouteStep which, const CString& word)
{
    for (const DataKindInfo& kind : AllKinds()) {
        const std::optional<SerialWord> own = RouteWord(kind, which);
        if (own && word == *own)
            return &kind;
    }
    return nullptr;
}

// ---- sending ---------------------------------------------------------------------

// The selection was counted and capped when the user started.
int CScaleLink::CountSelection()
{
    m_selectedRows = Rows().gridRows;
    m_nRecordCount = static_cast<int>(m_selectedRows.size());
    m_nRecordIndex = 0;
    return m_nRecordCount;
}

void CScaleLink::SendRecordFrame(SerialWord step, std::span<const std::uint8_t> payload, int progress)
{
    m_pHost->ShowTransferProgress(CString::Formatted("%d", progress));
    HandOff(step, BuildFrame(ToWord(ScaleCommand::Record), payload, FrameScaleId()));
}

void CScaleLink::SendClear(SerialWord step, TableCode table, std::uint8_t second, bool restartSequence)
{
    if (restartSequence)
        m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(table), second };
    HandOff(step, BuildFrame(ToWord(ScaleCommand::Clear), payload, FrameScaleId()));
}

PluRecord CScaleLink::BuildPluRecord(int index)
{
    const RecordRow row = RowAt(index);
    if (!Rows().defaultValues)
        return ::BuildPluRecord(row);
    const std::string& mgId = Rows().userId;
    const std::string itemNum(Cell(row, 1));
    const std::string sql = StoredItemSql(mgId, itemNum, mgId == kAdministratorId);
    CString text = "FALSE";
    try {
        m_database.OpenDatabase(Rows().itemDbPath);
        text = m_database.GetRecordAt(sql.c_str(), 0);
        m_database.CloseDatabase();
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
    }
    if (text == "FALSE" || text.IsEmpty()) {
        // No stored row: the record keeps the grid's item number only.
        RecordRow numberOnly { "", itemNum };
        return ::BuildPluRecord(numberOnly);
    }
    return ::BuildPluRecord(PluRowFromStoredItem(text.GetString()));
}

ByteBuffer CScaleLink::RecordPayload(const DataKindInfo& route, int index)
{
    switch (route.table) {
    case TableCode::Plu:
        return BuildPluRecord(index).Payload();
    case TableCode::UserLabel:
        return ::BuildUserLabelRecord(RowAt(index)).Encode();
    default:
        return BuildTextRecord(route.table, RowAt(index), RecordCarriage::Serial).Encode();
    }
}

void CScaleLink::SendTableClear(const DataKindInfo& route)
{
    SendClear(*route.serialClear, route.table, route.clearSecond, route.clearRestartsSequence);
}

void CScaleLink::SendTableData(const DataKindInfo& route)
{
    // Rows 1 to count are the order's records 0 to count - 1.
    SendRecordFrame(*route.serialData, RecordPayload(route, m_nRecordIndex - 1), m_nRecordIndex);
}

void CScaleLink::SendTableSelectData(const DataKindInfo& route)
{
    SendRecordFrame(*route.serialSelectData, RecordPayload(route, m_nRecordIndex), m_nRecordIndex);
}

void CScaleLink::SendPresetData()
{
    const int page = Rows().presetPage;
    std::vector<std::string> keys = Rows().presetKeys;
    keys.resize(kPresetKeyCount);
    const ByteBuffer payload = BuildPresetPage(static_cast<std::uint32_t>(page), keys);
    SendRecordFrame(W::PreData, payload, page);
}

void CScaleLink::SendResultAllClear()
{
    m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(TableCode::TotalResult), 0 };
    HandOff(W::ResultAllClearStep, BuildFrame(ToWord(ScaleCommand::Clear), payload, FrameScaleId(true)));
}

// ---- requests ------------------------------------------------------------------

void CScaleLink::SendRequest(
    SerialWord step, ScaleCommand command, TableCode table, const std::uint32_t* number)
{
    ByteBuffer payload { ToByte(table), 1 };
    if (number)
        PutU32LE(payload, *number);
    HandOff(step, BuildFrame(ToWord(command), payload, FrameScaleId()));
}

int CScaleLink::CountRequestNumbers()
{
    m_requestNumbers.clear();
    for (int n : m_requestSource) {
        if (n == 0 || m_requestNumbers.size() >= kMaxPicks)
            break;
        m_requestNumbers.push_back(n);
    }
    m_nRequestCount = static_cast<int>(m_requestNumbers.size());
    m_nRequestPosition = 0;
    return m_nRequestCount;
}

namespace {

std::uint32_t TakeNumber(const std::vector<int>& numbers, int& position)
{
    std::uint32_t number = 0;
    if (position >= 0 && position < static_cast<int>(numbers.size()))
        number = static_cast<std::uint32_t>(numbers[static_cast<std::size_t>(position)]);
    ++position;
    return number;
}

} // namespace

void CScaleLink::SendTableAllRequest(const DataKindInfo& route)
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest(*route.serialAllRequest, ScaleCommand::RequestAll, route.table, nullptr);
}

void CScaleLink::SendTableRequest(const DataKindInfo& route)
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest(*route.serialRequest, ScaleCommand::RequestOne, route.table, &number);
}

void CScaleLink::SendPresetAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    const DataKindInfo& preset = KindInfo(DataKind::Preset);
    SendRequest(*preset.serialAllRequest, ScaleCommand::RequestAll, preset.table, nullptr);
}

void CScaleLink::SendPresetRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    const auto page = static_cast<std::uint32_t>(Rows().presetReadPage);
    SendRequest(W::PreRequest, ScaleCommand::RequestOne, TableCode::Preset, &page);
}

void CScaleLink::SendResultRead(DataKind kind)
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    const DataKindInfo& read = KindInfo(kind);
    if (!IsResultRead(kind))
        return;
    // The whole-scale totals are one record, asked for as number 1.
    const std::uint32_t one = 1;
    if (kind == DataKind::ResultAll)
        SendRequest(*read.serialAllRequest, ScaleCommand::RequestOne, read.table, &one);
    else
        SendRequest(*read.serialAllRequest, ScaleCommand::RequestAll, read.table, nullptr);
}

void CScaleLink::SendRequestEnd()
{
    m_pEngine->ClearReceivedFrame();
    SendAck(Text(W::RequestEnd));
    m_pEngine->RunLater(m_pauseMs, [this] { SendEndJoin(); });
}

// ---- received records -------------------------------------------------------------

bool CScaleLink::OnDataRecord(const CString& step, RecordKind kind)
{
    LinkFrame frame;
    const ByteBuffer received = m_pEngine->GetReceivedFrame();
    if (!ParseLinkFrame(received, frame).ok())
        return false;
    const std::uint8_t count = frame.header.pieceCount;
    const std::uint8_t number = frame.header.pieceNumber;
    const RecordAssembly::Result result = m_assembly.Add(count, number, frame.payload);
    const bool whole = result == RecordAssembly::Result::Whole;
    if (whole && IsCopy())
        return TakeCopy(step, count, number);
    // A refused record is told and not counted.
    if (whole && StoreReceivedRecord(m_strTargetDbPath, kind)) {
        ++m_nStoredCount;
        m_pHost->ShowTransferProgress(CString::Formatted("%d", m_nStoredCount));
    } else if (whole) {
        ++m_nRefusedCount;
    }
    SendAck(step, count, number);
    if (!whole)
        return false;
    if (step == W::PreRequest)
        SendEndJoin();
    else if (step == W::ResultAllReadStep)
        m_pEngine->RunLater(m_pauseMs, [this] { SendEndJoin(); });
    return true;
}

bool CScaleLink::IsCopy()
{
    const ByteBuffer record(m_assembly.Record().begin(), m_assembly.Record().end());
    const int resends = m_pEngine->GetResendCount();
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

// A copy, from a late answer and the answer to its resend, is neither stored nor
// counted. A whole read acknowledges it, as the scale waits for that; a read by
// number waits on for the answer to its next request.
bool CScaleLink::TakeCopy(const CString& step, std::uint8_t count, std::uint8_t number)
{
    if (FindRoute(RouteStep::Request, step) || step == W::PreRequest || step == W::ResultAllReadStep)
        m_pEngine->KeepWaiting();
    else
        SendAck(step, count, number);
    return false;
}

BOOL CScaleLink::StoreReceivedRecord(const CString& path, RecordKind kind)
{
    RecordContext context;
    context.mgId = Rows().userId;
    context.revDay = Today();
    const ScaleId id = m_pWalk->GetCurrentScaleId();
    context.currentScale.assign(id.begin(), id.end());
    const ByteBuffer record(m_assembly.Record().begin(), m_assembly.Record().end());
    m_assembly.Clear();
    if (m_bMakeTarget) {
        m_bMakeTarget = false;
        if (!m_pHost->MakeReceivedDatabase(path))
            return FALSE;
    }
    return m_database.Store(
        path, kind, record, context, RecordCarriage::Serial,
        [this](const CString& request, const CString& sql) { m_pHost->NoteReceivedRecord(request, sql); },
        [](const CString& text, UINT type) { AfxMessageBox(text, type); }, &m_nCutLines);
}
