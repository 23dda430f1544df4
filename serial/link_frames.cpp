#include "serial/link_frames.h"

#include <string>
#include <vector>

#include "db/record_sql.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_host.h"
#include "serial/serial_trans_engine.h"
#include "transfer/received_record_store.h"

using W = SerialWord;

void CLinkFrames::SetOwner(CSerialHost* host, CSerialTransEngine* engine, const CSerialWalkState* walk)
{
    m_pHost = host;
    m_pEngine = engine;
    m_pWalk = walk;
}

ScaleId CLinkFrames::FrameScaleId(bool ownIdAlways) const
{
    if (!ownIdAlways && m_pWalk->GetBroadcastFlag())
        return { '9', '9' };
    return m_pWalk->GetCurrentScaleId();
}

ByteBuffer CLinkFrames::BuildFrame(std::uint16_t command, std::span<const std::uint8_t> payload,
    ScaleId scaleId, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    LinkFrameHeader header;
    header.scaleId = scaleId;
    header.sequence = m_sequence.Take();
    header.command = command;
    header.pieceCount = pieceCount;
    header.pieceNumber = pieceNumber;
    ByteBuffer frame;
    if (!BuildLinkFrame(header, payload, frame).ok())
        frame.clear();
    return frame;
}

void CLinkFrames::HandOff(const CString& step, ByteBuffer frame)
{
    const auto length = static_cast<int>(frame.size());
    m_pEngine->SetTransmitFrame(std::move(frame));
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, CString::Formatted("%d", length));
    m_pHost->SetSerialText(IDC_SERIAL_STEP, step);
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, "");
    // The mark of a missing record belongs to the answer before this frame.
    m_pHost->SetSerialText(IDC_SERIAL_NO_ITEM, "");
    m_pEngine->RunCommand();
}

void CLinkFrames::Send(
    SerialWord step, ScaleCommand command, std::span<const std::uint8_t> payload, ScaleId scaleId)
{
    HandOff(Text(step), BuildFrame(ToWord(command), payload, scaleId));
}

void CLinkFrames::SendJoin(ScaleId id)
{
    HandOff(Text(W::Join), ::BuildJoinFrame(std::string(id.begin(), id.end())));
}

void CLinkFrames::SendAck(const CString& step, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    HandOff(step, BuildFrame(ToWord(ScaleCommand::Ack), {}, FrameScaleId(), pieceCount, pieceNumber));
}

void CLinkFrames::SendEndJoin()
{
    Send(W::EndJoin, ScaleCommand::EndJoin, {}, m_pWalk->GetCurrentScaleId());
}

void CLinkFrames::SendRecord(SerialWord step, std::span<const std::uint8_t> payload, int progress)
{
    m_pHost->ShowTransferProgress(CString::Formatted("%d", progress));
    Send(step, ScaleCommand::Record, payload, FrameScaleId());
}

void CLinkFrames::SendClear(SerialWord step, TableCode table, std::uint8_t second, bool restartSequence)
{
    if (restartSequence)
        m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(table), second };
    Send(step, ScaleCommand::Clear, payload, FrameScaleId());
}

void CLinkFrames::SendRequest(
    SerialWord step, ScaleCommand command, TableCode table, const std::uint32_t* number)
{
    ByteBuffer payload { ToByte(table), 1 };
    if (number)
        PutU32LE(payload, *number);
    Send(step, command, payload, FrameScaleId());
}

void CLinkFrames::SendClose()
{
    // The scope stays: the next scale of the walk is served with it.
    m_pEngine->SetTransmitFrame({});
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, Text(W::Close));
    m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(W::Close));
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, "");
    m_pEngine->RunCommand();
}

// ---- the order's records -----------------------------------------------------------

const TransferRows& CLinkFrames::Rows() const
{
    static const TransferRows kNone;
    return m_rows ? *m_rows : kNone;
}

RecordRow CLinkFrames::RowAt(int index) const
{
    const std::vector<RecordRow>& rows = Rows().rows;
    if (index < 0 || index >= static_cast<int>(rows.size()))
        return {};
    return rows[static_cast<std::size_t>(index)];
}

PluRecord CLinkFrames::BuildPluRecord(int index)
{
    const RecordRow row = RowAt(index);
    if (!Rows().defaultValues)
        return ::BuildPluRecord(row);
    const std::string& mgId = Rows().userId;
    const std::string itemNum(Cell(row, 1));
    const std::string sql = StoredItemSql(mgId, itemNum, mgId == kAdministratorId);
    CString text = "FALSE";
    try {
        CReceivedRecordStore items;
        items.OpenDatabase(Rows().itemDbPath);
        text = items.GetRecordAt(sql.c_str(), 0);
        items.CloseDatabase();
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

ByteBuffer CLinkFrames::RecordPayload(const DataKindInfo& route, int index)
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

void CLinkFrames::SendTableClear(const DataKindInfo& route)
{
    SendClear(*route.serialClear, route.table, route.clearSecond, route.clearRestartsSequence);
}

void CLinkFrames::SendTableData(const DataKindInfo& route, int index, int progress)
{
    SendRecord(*route.serialData, RecordPayload(route, index), progress);
}

void CLinkFrames::SendTableSelectData(const DataKindInfo& route, int index)
{
    SendRecord(*route.serialSelectData, RecordPayload(route, index), index);
}

void CLinkFrames::SendPresetData()
{
    const int page = Rows().presetPage;
    std::vector<std::string> keys = Rows().presetKeys;
    keys.resize(kPresetKeyCount);
    const ByteBuffer payload = BuildPresetPage(static_cast<std::uint32_t>(page), keys);
    SendRecord(W::PreData, payload, page);
}

void CLinkFrames::SendResultAllClear()
{
    m_sequence.RestartAtZero();
    const std::uint8_t payload[] = { ToByte(TableCode::TotalResult), 0 };
    Send(W::ResultAllClearStep, ScaleCommand::Clear, payload, FrameScaleId(true));
}

void CLinkFrames::SendTableAllRequest(const DataKindInfo& route)
{
    SendRequest(*route.serialAllRequest, ScaleCommand::RequestAll, route.table, nullptr);
}

void CLinkFrames::SendTableRequest(const DataKindInfo& route, std::uint32_t number)
{
    SendRequest(*route.serialRequest, ScaleCommand::RequestOne, route.table, &number);
}

void CLinkFrames::SendPresetAllRequest()
{
    const DataKindInfo& preset = KindInfo(DataKind::Preset);
    SendRequest(*preset.serialAllRequest, ScaleCommand::RequestAll, preset.table, nullptr);
}

void CLinkFrames::SendPresetRequest()
{
    const auto page = static_cast<std::uint32_t>(Rows().presetReadPage);
    SendRequest(W::PreRequest, ScaleCommand::RequestOne, TableCode::Preset, &page);
}

void CLinkFrames::SendResultRead(DataKind kind)
{
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

void CLinkFrames::SendScaleInfo()
{
    Send(W::SelectScaleInformation, ScaleCommand::Record, BuildScaleInfoRecord(RowAt(0)), FrameScaleId());
}

void CLinkFrames::SendScaleRootInfo()
{
    Send(W::SelectScaleRootInformation, ScaleCommand::Record, BuildScaleRootInfoRecord(RowAt(0)),
        FrameScaleId());
}

void CLinkFrames::SendResetScale()
{
    Send(W::ResetScale, ScaleCommand::ResetScale, {}, FrameScaleId());
}
