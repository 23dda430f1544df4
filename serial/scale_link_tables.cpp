// The table senders and receivers of the scale link: clears and records of the
// grid's rows, preset page, requests, and the records a read brings back.

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "ethernet/record_sql.h"
#include "platform/base/exception.h"
#include "platform/wnd/msgbox.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"

namespace {

constexpr std::size_t kMaxPicks = 1000;

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (const std::tm* t = std::localtime(&now))
        local = *t;
    return FormatDay(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace

int CScaleLink::RecordLimit(const CString& kind) const
{
    if (kind == "Item")
        return 9000;
    if (kind == "Add")
        return 600;
    if (kind == "Adv")
        return 210;
    if (kind == "Land_addition")
        return 300;
    return 1 << 30;
}

// ---- sending ---------------------------------------------------------------------

int CScaleLink::CountSelection()
{
    std::vector<int> rows
        = PickedRows(m_pHost->GetTransferSelection(), m_pHost->GetGridRowCount(), PickRule::Transfer);
    const int limit = RecordLimit(m_pHost->GetSerialText(kSerialKindEdit));
    if (static_cast<int>(rows.size()) > limit)
        rows.resize(static_cast<std::size_t>(limit));
    m_selectedRows = std::move(rows);
    m_nRecordCount = static_cast<int>(m_selectedRows.size());
    m_nRecordIndex = 0;
    return m_nRecordCount;
}

int CScaleLink::SelectedRow(int position) const
{
    if (position < 0 || position >= static_cast<int>(m_selectedRows.size()))
        return 0;
    return m_selectedRows[static_cast<std::size_t>(position)];
}

void CScaleLink::SendRecordFrame(const char* step, std::span<const std::uint8_t> payload, int progress)
{
    m_pHost->ShowTransferProgress(CString::Formatted("%d", progress));
    HandOff(step, BuildFrame(ToWord(ScaleCommand::Record), payload, FrameScaleId()));
}

void CScaleLink::SendClear(const char* step, TableCode table, std::uint8_t second, bool restartSequence)
{
    if (restartSequence)
        m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(table), second };
    HandOff(step, BuildFrame(ToWord(ScaleCommand::Clear), payload, FrameScaleId()));
}

PluRecord CScaleLink::BuildPluRecord(int row)
{
    if (!m_pHost->LoadDefaultValues())
        return ::BuildPluRecord(GridRow(row));
    const CString mgId = m_pHost->GetUserId();
    const CString itemNum = m_pHost->GetGridItemText(row, 1);
    const std::string sql = StoredItemSql(mgId.GetString(), itemNum.GetString(), mgId == "vexo");
    CString text = "FALSE";
    try {
        m_database.OpenDatabase(m_pHost->GetItemDbPath());
        text = m_database.GetRecordAt(sql.c_str(), 0);
        m_database.CloseDatabase();
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
    }
    if (text == "FALSE" || text.IsEmpty()) {
        // No stored row: the record keeps the grid's item number only.
        RecordRow numberOnly { "", itemNum.GetString() };
        return ::BuildPluRecord(numberOnly);
    }
    return ::BuildPluRecord(PluRowFromStoredItem(text.GetString()));
}

void CScaleLink::SendPluClear()
{
    SendClear("PLU_CLEAR", TableCode::Plu, 0, true);
}

void CScaleLink::SendPluData()
{
    SendRecordFrame("DATA", BuildPluRecord(m_nRecordIndex).Payload(), m_nRecordIndex);
}

void CScaleLink::SendPluSelectData()
{
    SendRecordFrame("SELECT_DATA", BuildPluRecord(SelectedRow(m_nRecordIndex)).Payload(), m_nRecordIndex);
}

void CScaleLink::SendAddClear()
{
    SendClear("ADD_CLEAR", TableCode::Add, 1, false);
}

void CScaleLink::SendAddData()
{
    SendRecordFrame("ADD_DATA",
        BuildTextRecord(TableCode::Add, GridRow(m_nRecordIndex), RecordCarriage::Serial).Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendAddSelectData()
{
    SendRecordFrame("SELECT_ADD_DATA",
        BuildTextRecord(TableCode::Add, GridRow(SelectedRow(m_nRecordIndex)), RecordCarriage::Serial)
            .Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendAdvClear()
{
    SendClear("ADV_CLEAR", TableCode::AdvT, 1, false);
}

void CScaleLink::SendAdvData()
{
    SendRecordFrame("ADV_DATA",
        BuildTextRecord(TableCode::AdvT, GridRow(m_nRecordIndex), RecordCarriage::Serial).Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendAdvSelectData()
{
    SendRecordFrame("SELECT_ADV_DATA",
        BuildTextRecord(TableCode::AdvT, GridRow(SelectedRow(m_nRecordIndex)), RecordCarriage::Serial)
            .Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendLandAddClear()
{
    SendClear("LAND_ADD_CLEAR", TableCode::LandAdd, 1, false);
}

void CScaleLink::SendLandAddData()
{
    SendRecordFrame("LAND_ADD_DATA",
        BuildTextRecord(TableCode::LandAdd, GridRow(m_nRecordIndex), RecordCarriage::Serial).Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendLandAddSelectData()
{
    SendRecordFrame("SELECT_LAND_ADD_DATA",
        BuildTextRecord(TableCode::LandAdd, GridRow(SelectedRow(m_nRecordIndex)), RecordCarriage::Serial)
            .Encode(),
        m_nRecordIndex);
}

void CScaleLink::SendUserLabelClear()
{
    SendClear("USER_LABEL_CLEAR", TableCode::UserLabel, 0, true);
}

void CScaleLink::SendUserLabelData()
{
    SendRecordFrame(
        "USER_LABEL_DATA", ::BuildUserLabelRecord(GridRow(m_nRecordIndex)).Encode(), m_nRecordIndex);
}

void CScaleLink::SendUserLabelSelectData()
{
    SendRecordFrame("USER_LABEL_SELECT_DATA",
        ::BuildUserLabelRecord(GridRow(SelectedRow(m_nRecordIndex))).Encode(), m_nRecordIndex);
}

void CScaleLink::SendPresetData()
{
    const int page = m_pHost->GetPresetPage();
    std::vector<std::string> keys;
    keys.reserve(kPresetKeyCount);
    for (const CString& key : m_pHost->GetPresetKeyTexts()) {
        if (keys.size() == kPresetKeyCount)
            break;
        keys.emplace_back(key.GetString());
    }
    keys.resize(kPresetKeyCount);
    const ByteBuffer payload = BuildPresetPage(static_cast<std::uint32_t>(page), keys);
    SendRecordFrame("PRE_DATA", payload, page);
}

void CScaleLink::SendResultAllClear()
{
    m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(TableCode::TotalResult), 0 };
    HandOff("RESULT_ALL_CLEAR", BuildFrame(ToWord(ScaleCommand::Clear), payload, FrameScaleId(true)));
}

// ---- requests ------------------------------------------------------------------

void CScaleLink::SendRequest(
    const char* step, ScaleCommand command, TableCode table, const std::uint32_t* number)
{
    ByteBuffer payload { ToByte(table), 1 };
    if (number)
        PutU32LE(payload, *number);
    HandOff(step, BuildFrame(ToWord(command), payload, FrameScaleId()));
}

int CScaleLink::CountRequestNumbers()
{
    m_requestNumbers.clear();
    for (int n : m_pHost->GetRequestNumbers()) {
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

void CScaleLink::SendPluAllRequest()
{
    m_nStoredCount = 0;
    SendRequest("PLU_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::Plu, nullptr);
}

void CScaleLink::SendPluRequest()
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest("PLU_REQUEST", ScaleCommand::RequestOne, TableCode::Plu, &number);
}

void CScaleLink::SendAddAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest("ADD_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::Add, nullptr);
}

void CScaleLink::SendAddRequest()
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest("ADD_REQUEST", ScaleCommand::RequestOne, TableCode::Add, &number);
}

void CScaleLink::SendPresetAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest("PRE_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::Preset, nullptr);
}

void CScaleLink::SendPresetRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    const auto page = static_cast<std::uint32_t>(m_pHost->GetPresetReadPage());
    SendRequest("PRE_REQUEST", ScaleCommand::RequestOne, TableCode::Preset, &page);
}

void CScaleLink::SendAdvAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest("ADV_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::AdvT, nullptr);
}

void CScaleLink::SendAdvRequest()
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest("ADV_REQUEST", ScaleCommand::RequestOne, TableCode::AdvT, &number);
}

void CScaleLink::SendLandAddAllRequest()
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    SendRequest("LAND_ADD_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::LandAdd, nullptr);
}

void CScaleLink::SendLandAddRequest()
{
    const std::uint32_t number = TakeNumber(m_requestNumbers, m_nRequestPosition);
    SendRequest("LAND_ADD_REQUEST", ScaleCommand::RequestOne, TableCode::LandAdd, &number);
}

void CScaleLink::SendUserLabelAllRequest()
{
    m_nStoredCount = 0;
    SendRequest("USER_LABEL_ALL_REQUEST", ScaleCommand::RequestAll, TableCode::UserLabel, nullptr);
}

void CScaleLink::SendResultRead(const CString& kind)
{
    m_nStoredCount = 0;
    m_assembly.Clear();
    if (kind == "Scale_Result_All_Read") {
        const std::uint32_t one = 1;
        SendRequest("RESULT_ALL_READ", ScaleCommand::RequestOne, TableCode::TotalResult, &one);
    } else if (kind == "Scale_Result_Item_All_Read") {
        SendRequest("RESULT_ITEM_ALL_READ", ScaleCommand::RequestAll, TableCode::TotalItemResult, nullptr);
    } else if (kind == "Scale_Result_Item_Day_Read") {
        SendRequest("RESULT_ITEM_DAY_READ", ScaleCommand::RequestAll, TableCode::TotalItemDay, nullptr);
    } else if (kind == "Scale_Result_Day_Read") {
        SendRequest("RESULT_DAY_READ", ScaleCommand::RequestAll, TableCode::TotalDayResult, nullptr);
    }
}

void CScaleLink::SendRequestEnd()
{
    m_pEngine->ClearReceivedFrame();
    SendAck("REQUEST_END");
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
    if (step == "PRE_REQUEST")
        SendEndJoin();
    else if (step == "RESULT_ALL_READ")
        m_pEngine->RunLater(m_pauseMs, [this] { SendEndJoin(); });
    return true;
}

BOOL CScaleLink::StoreReceivedRecord(const CString& path, RecordKind kind)
{
    RecordContext context;
    context.mgId = m_pHost->GetUserId().GetString();
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
