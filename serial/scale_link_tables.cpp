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

constexpr TableRoute kRoutes[] = {
    { W::Item, W::PluClear, W::PluData, W::PluSelectData, W::PluAllRequest, W::PluRequest, TableCode::Plu, 0,
        true, RecordKind::Item, 9000 },
    { W::Add, W::AddClear, W::AddData, W::AddSelectData, W::AddAllRequest, W::AddRequest, TableCode::Add, 1,
        false, RecordKind::Add, 600 },
    { W::Adv, W::AdvClear, W::AdvData, W::AdvSelectData, W::AdvAllRequest, W::AdvRequest, TableCode::AdvT, 1,
        false, RecordKind::AdvT, 210 },
    { W::LandAddition, W::LandAddClear, W::LandAddData, W::LandAddSelectData, W::LandAddAllRequest,
        W::LandAddRequest, TableCode::LandAdd, 1, false, RecordKind::LandAdd, 300 },
    { W::UserLabel, W::UserLabelClear, W::UserLabelData, W::UserLabelSelectData, W::UserLabelAllRequest,
        std::nullopt, TableCode::UserLabel, 0, true, RecordKind::UserLabel, 0 },
};

std::optional<SerialWord> RouteWord(const TableRoute& route, RouteStep which)
{
    switch (which) {
    case RouteStep::Kind:
        return route.kind;
    case RouteStep::Clear:
        return route.clearStep;
    case RouteStep::Data:
        return route.dataStep;
    case RouteStep::SelectData:
        return route.selectStep;
    case RouteStep::Request:
        return route.requestStep;
    }
    return std::nullopt;
}

} // namespace

const TableRoute* FindRoute(RouteStep which, const CString& word)
{
    for (const TableRoute& route : kRoutes) {
        const std::optional<SerialWord> own = RouteWord(route, which);
        if (own && word == *own)
            return &route;
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

ByteBuffer CScaleLink::RecordPayload(const TableRoute& route, int index)
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

void CScaleLink::SendTableClear(const TableRoute& route)
{
    SendClear(route.clearStep, route.table, route.clearSecond, route.clearRestartsSequence);
}

void CScaleLink::SendTableData(const TableRoute& route)
{
    // Rows 1 to count are the order's records 0 to count - 1.
    SendRecordFrame(route.dataStep, RecordPayload(route, m_nRecordIndex - 1), m_nRecordIndex);
}

void CScaleLink::SendTableSelectData(const TableRoute& route)
{
    SendRecordFrame(route.selectStep, RecordPayload(route, m_nRecordIndex), m_nRecordIndex);
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

void CScaleLink::SendTableAllRequest(const TableRoute& route)
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest(route.allRequestStep, ScaleCommand::RequestAll, route.table, nullptr);
}

void CScaleLink::SendTableRequest(const TableRoute& route)
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest(*route.requestStep, ScaleCommand::RequestOne, route.table, &number);
}

void CScaleLink::SendPresetAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest(W::PreAllRequest, ScaleCommand::RequestAll, TableCode::Preset, nullptr);
}

void CScaleLink::SendPresetRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    const auto page = static_cast<std::uint32_t>(Rows().presetReadPage);
    SendRequest(W::PreRequest, ScaleCommand::RequestOne, TableCode::Preset, &page);
}

void CScaleLink::SendResultRead(const CString& kind)
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    if (kind == W::ResultAllRead) {
        const std::uint32_t one = 1;
        SendRequest(W::ResultAllReadStep, ScaleCommand::RequestOne, TableCode::TotalResult, &one);
    } else if (kind == W::ResultItemAllRead) {
        SendRequest(W::ResultItemAllReadStep, ScaleCommand::RequestAll, TableCode::TotalItemResult, nullptr);
    } else if (kind == W::ResultItemDayRead) {
        SendRequest(W::ResultItemDayReadStep, ScaleCommand::RequestAll, TableCode::TotalItemDay, nullptr);
    } else if (kind == W::ResultDayRead) {
        SendRequest(W::ResultDayReadStep, ScaleCommand::RequestAll, TableCode::TotalDayResult, nullptr);
    }
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
    // A refused record is told and not counted.
    if (whole && StoreReceivedRecord(m_strTargetDbPath, kind)) {
        ++m_nStoredCount;
        m_pHost->ShowTransferProgress(CString::Formatted("%d", m_nStoredCount));
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

BOOL CScaleLink::StoreReceivedRecord(const CString& path, RecordKind kind)
{
    RecordContext context;
    context.mgId = Rows().userId;
    context.revDay = Today();
    const ScaleId id = m_pWalk->GetCurrentScaleId();
    context.currentScale.assign(id.begin(), id.end());
    const ByteBuffer record(m_assembly.Record().begin(), m_assembly.Record().end());
    m_assembly.Clear();
    return m_database.Store(
        path, kind, record, context, RecordCarriage::Serial,
        [this](const CString& request, const CString& sql) { m_pHost->NoteReceivedRecord(request, sql); },
        [](const CString& text, UINT type) { AfxMessageBox(text, type); });
}
