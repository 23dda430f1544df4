// The session control of the scale link: sending and reading sessions with
// one scale, and the session's own frames (join, acknowledgement, end, close,
// reset, scale settings).

#include "serial/scale_link.h"

#include <algorithm>
#include <initializer_list>

#include "platform/wnd/msgbox.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"

namespace {

bool OneOf(const CString& word, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return word == w; });
}

} // namespace

CScaleLink::CScaleLink() = default;

void CScaleLink::SetOwnerView(CSerialHost* host, CSerialTransEngine* engine, const CSerialTransfer* walk)
{
    m_pHost = host;
    m_pEngine = engine;
    m_pWalk = walk;
}

CScaleLink::Mailbox CScaleLink::ReadMailbox() const
{
    Mailbox box;
    box.mode = m_pHost->GetSerialText(kSerialCommandEdit);
    box.kind = m_pHost->GetSerialText(kSerialKindEdit);
    box.scope = m_pHost->GetSerialText(kSerialScopeEdit);
    box.step = m_pHost->GetSerialText(kSerialStepEdit);
    box.reply = m_pHost->GetSerialText(kSerialReplyEdit);
    box.status = m_pHost->GetSerialText(kSerialStatusEdit);
    return box;
}

void CScaleLink::StartSession()
{
    if (!m_pHost || !m_pEngine || !m_pWalk)
        return;
    m_bStopLatched = false;
    m_pEngine->RunCommand();
}

void CScaleLink::OnReply()
{
    if (!m_pHost || !m_pEngine || !m_pWalk)
        return;
    const Mailbox box = ReadMailbox();
    const bool broadcast = box.mode == "BROAD_TRANS";

    if (m_pWalk->GetSerialStop() && !m_bStopLatched) {
        m_bStopLatched = true;
        if (box.step == "OPEN") {
            // Nothing joined yet: nothing to end.
            SendClose();
        } else if (broadcast) {
            StartClosingPass();
        } else {
            SendEndJoin();
        }
        return;
    }
    if (OneOf(box.status, { "3TimeError", "Time out", "JOINERROR" })) {
        AfxMessageBox(box.status, MB_OK);
        SendClose();
        return;
    }
    if (broadcast) {
        OnBroadcastReply();
        return;
    }
    if (box.mode != "TRANS" && box.mode != "RECV")
        return;
    if (box.reply != "Report")
        return;
    if (box.status == "ENDJOIN") {
        // The scale did not answer the end of the session: close all the same.
        SendClose();
        return;
    }
    if (box.status != "OK") {
        AfxMessageBox(box.status, MB_OK);
        SendClose();
        return;
    }
    if (box.mode == "TRANS")
        OnSendReply(box);
    else
        OnRecvReply(box);
}

void CScaleLink::EndWithMessage(const char* text)
{
    AfxMessageBox(text, MB_OK);
    SendEndJoin();
}

void CScaleLink::OnSendReply(const Mailbox& box)
{
    const CString& step = box.step;
    if (step == "OPEN") {
        BuildJoinFrame();
    } else if (step == "JOIN") {
        m_nRecordCount = 0;
        m_nRecordIndex = 0;
        m_nColumnCount = 0;
        StartFirstSend(box);
    } else if (OneOf(step, { "PLU_CLEAR", "ADD_CLEAR", "ADV_CLEAR", "LAND_ADD_CLEAR", "USER_LABEL_CLEAR" })) {
        AfterClear(step);
    } else if (OneOf(step, { "DATA", "ADD_DATA", "ADV_DATA", "LAND_ADD_DATA", "USER_LABEL_DATA" })) {
        if (m_nRecordIndex > m_nRecordCount - 1) {
            SendEndJoin();
        } else {
            ++m_nRecordIndex;
            SendNextRecord(step);
        }
    } else if (OneOf(step,
                   { "SELECT_DATA", "SELECT_ADD_DATA", "SELECT_ADV_DATA", "SELECT_LAND_ADD_DATA",
                       "USER_LABEL_SELECT_DATA" })) {
        if (m_nRecordIndex + 1 < m_nRecordCount) {
            ++m_nRecordIndex;
            SendNextRecord(step);
        } else {
            SendEndJoin();
        }
    } else if (OneOf(step, { "PRE_DATA", "RESULT_ALL_CLEAR" })) {
        SendEndJoin();
    } else if (OneOf(step, { "SELECT_SCALE_INFOMATION", "SELECT_SCALE_ROOT_INFOMATION" })) {
        SendResetScale();
    } else if (OneOf(step, { "RESET_SCALE", "ENDJOIN" })) {
        SendClose();
        AfxMessageBox("Trans Complete", MB_OK);
    } else if (step == "MEMORY FULL") {
        EndWithMessage("scale memory full");
    } else if (step == "DATA LENGTH MISS") {
        EndWithMessage("scale data length error");
    } else if (step == "PROCESS ERROR") {
        EndWithMessage("scale process error");
    }
}

// After the clear's acknowledgement: rows 1 to count, none for an empty grid.
void CScaleLink::AfterClear(const CString& step)
{
    m_nRecordCount
        = std::min(m_pHost->GetGridRowCount() - 2, RecordLimit(m_pHost->GetSerialText(kSerialKindEdit)));
    m_nColumnCount = m_pHost->GetGridColumnCount();
    if (m_nRecordCount < 1) {
        // An empty grid: nothing to send, straight to the end of the session.
        m_nRecordCount = 0;
        EndEarly();
        return;
    }
    ++m_nRecordIndex;
    if (step == "PLU_CLEAR")
        SendPluData();
    else if (step == "ADD_CLEAR")
        SendAddData();
    else if (step == "ADV_CLEAR")
        SendAdvData();
    else if (step == "LAND_ADD_CLEAR")
        SendLandAddData();
    else
        SendUserLabelData();
}

void CScaleLink::SendNextRecord(const CString& step)
{
    if (step == "DATA")
        SendPluData();
    else if (step == "ADD_DATA")
        SendAddData();
    else if (step == "ADV_DATA")
        SendAdvData();
    else if (step == "LAND_ADD_DATA")
        SendLandAddData();
    else if (step == "USER_LABEL_DATA")
        SendUserLabelData();
    else if (step == "SELECT_DATA")
        SendPluSelectData();
    else if (step == "SELECT_ADD_DATA")
        SendAddSelectData();
    else if (step == "SELECT_ADV_DATA")
        SendAdvSelectData();
    else if (step == "SELECT_LAND_ADD_DATA")
        SendLandAddSelectData();
    else if (step == "USER_LABEL_SELECT_DATA")
        SendUserLabelSelectData();
}

void CScaleLink::StartFirstSend(const Mailbox& box)
{
    const bool all = box.scope == "all";
    const CString& kind = box.kind;
    auto selection = [this](void (CScaleLink::*send)()) {
        CountSelection();
        if (m_nRecordCount < 1) {
            EndEarly();
            return;
        }
        (this->*send)();
    };
    if (kind == "Item") {
        all ? SendPluClear() : selection(&CScaleLink::SendPluSelectData);
    } else if (kind == "Add") {
        all ? SendAddClear() : selection(&CScaleLink::SendAddSelectData);
    } else if (kind == "Adv") {
        all ? SendAdvClear() : selection(&CScaleLink::SendAdvSelectData);
    } else if (kind == "Land_addition") {
        all ? SendLandAddClear() : selection(&CScaleLink::SendLandAddSelectData);
    } else if (kind == "USER_LABEL") {
        all ? SendUserLabelClear() : selection(&CScaleLink::SendUserLabelSelectData);
    } else if (kind == "Pre") {
        if (all)
            SendPresetData();
        else
            EndEarly(); // presets have no selection: end rather than stay joined
    } else if (kind == "Scale_Result_All_Clear") {
        SendResultAllClear();
    } else if (kind == "SCALE_INFOMATION") {
        SendScaleInfo();
    } else if (kind == "SCALE_ROOT_INFOMATION") {
        SendScaleRootInfo();
    } else {
        EndEarly();
    }
}

void CScaleLink::EndEarly()
{
    if (m_pHost->GetSerialText(kSerialCommandEdit) == "BROAD_TRANS")
        StartClosingPass();
    else
        SendEndJoin();
}

void CScaleLink::OnRecvReply(const Mailbox& box)
{
    const CString& step = box.step;
    const bool noItem = m_pHost->GetSerialText(kSerialNoItemEdit) == "NOITEM";
    if (step == "OPEN") {
        BuildJoinFrame();
    } else if (step == "JOIN") {
        m_nRecordCount = 0;
        m_nRecordIndex = 0;
        m_nColumnCount = 0;
        StartFirstRequest(box);
    } else if (step == "PLU_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::Item);
    } else if (step == "ADD_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::Add);
    } else if (step == "PRE_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::Preset);
    } else if (step == "ADV_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::AdvT);
    } else if (step == "LAND_ADD_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::LandAdd);
    } else if (step == "USER_LABEL_ALL_REQUEST") {
        OnDataRecord(step, RecordKind::UserLabel);
    } else if (step == "RESULT_ALL_READ") {
        OnDataRecord(step, RecordKind::TotalResult);
    } else if (step == "RESULT_ITEM_ALL_READ") {
        OnDataRecord(step, RecordKind::TotalItemResult);
    } else if (step == "RESULT_ITEM_DAY_READ") {
        OnDataRecord(step, RecordKind::TotalItemDay);
    } else if (step == "RESULT_DAY_READ") {
        OnDataRecord(step, RecordKind::TotalDayResult);
    } else if (step == "PLU_REQUEST") {
        if (noItem) {
            SendAck(step);
            RequestNextOrEnd(step);
        } else if (OnDataRecord(step, RecordKind::Item)) {
            RequestNextOrEnd(step);
        }
    } else if (OneOf(step, { "ADD_REQUEST", "ADV_REQUEST", "LAND_ADD_REQUEST" })) {
        if (noItem) {
            SendAck(step);
            RequestNextOrEnd(step);
        } else {
            OnDataRecord(step,
                step == "ADD_REQUEST"       ? RecordKind::Add
                    : step == "ADV_REQUEST" ? RecordKind::AdvT
                                            : RecordKind::LandAdd);
        }
    } else if (step == "PRE_REQUEST") {
        if (noItem) {
            SendAck(step);
            SendEndJoin();
        } else {
            OnDataRecord(step, RecordKind::Preset);
        }
    } else if (step == "END_ITEM") {
        if (OneOf(box.kind,
                { "Item", "Add", "Pre", "Adv", "Land_addition", "Scale_Result_Item_All_Read",
                    "Scale_Result_Item_Day_Read", "Scale_Result_Day_Read", "USER_LABEL" }))
            SendRequestEnd();
        else
            SendEndJoin();
    } else if (step == "ENDJOIN") {
        SendClose();
        AfxMessageBox("Trans Complete", MB_OK);
    } else if (step == "MEMORY FULL") {
        EndWithMessage("scale memory full");
    } else if (step == "DATA LENGTH MISS") {
        EndWithMessage("scale data length error");
    } else if (step == "PROCESS ERROR") {
        EndWithMessage("scale process error");
    }
}

void CScaleLink::RequestNextOrEnd(const CString& step)
{
    if (m_nRequestPosition >= m_nRequestCount) {
        SendEndJoin();
        return;
    }
    if (step == "PLU_REQUEST")
        SendPluRequest();
    else if (step == "ADD_REQUEST")
        SendAddRequest();
    else if (step == "ADV_REQUEST")
        SendAdvRequest();
    else if (step == "LAND_ADD_REQUEST")
        SendLandAddRequest();
    else
        SendEndJoin();
}

void CScaleLink::StartFirstRequest(const Mailbox& box)
{
    const bool all = box.scope == "all";
    const CString& kind = box.kind;
    auto byNumber = [this](void (CScaleLink::*send)()) {
        CountRequestNumbers();
        if (m_nRequestCount < 1) {
            SendEndJoin();
            return;
        }
        (this->*send)();
    };
    if (kind == "Item") {
        all ? SendPluAllRequest() : byNumber(&CScaleLink::SendPluRequest);
    } else if (kind == "Add") {
        all ? SendAddAllRequest() : byNumber(&CScaleLink::SendAddRequest);
    } else if (kind == "Adv") {
        all ? SendAdvAllRequest() : byNumber(&CScaleLink::SendAdvRequest);
    } else if (kind == "Land_addition") {
        all ? SendLandAddAllRequest() : byNumber(&CScaleLink::SendLandAddRequest);
    } else if (kind == "Pre") {
        all ? SendPresetAllRequest() : SendPresetRequest();
    } else if (OneOf(kind,
                   { "Scale_Result_All_Read", "Scale_Result_Item_All_Read", "Scale_Result_Item_Day_Read",
                       "Scale_Result_Day_Read" })) {
        SendResultRead(kind);
    } else if (kind == "USER_LABEL") {
        SendUserLabelAllRequest();
    } else {
        SendEndJoin();
    }
}

// ---- frames of the session -------------------------------------------------------

ScaleId CScaleLink::FrameScaleId(bool ownIdAlways) const
{
    if (!ownIdAlways && m_pWalk->GetBroadcastFlag())
        return { '9', '9' };
    return m_pWalk->GetCurrentScaleId();
}

ByteBuffer CScaleLink::BuildFrame(std::uint16_t command, std::span<const std::uint8_t> payload,
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

void CScaleLink::HandOff(const char* step, ByteBuffer frame)
{
    const auto length = static_cast<int>(frame.size());
    m_pEngine->SetTransmitFrame(std::move(frame));
    m_pHost->SetSerialText(kSerialStatusEdit, CString::Formatted("%d", length));
    m_pHost->SetSerialText(kSerialStepEdit, step);
    m_pHost->SetSerialText(kSerialReplyEdit, "");
    // The mark of a missing record belongs to the answer before this frame.
    m_pHost->SetSerialText(kSerialNoItemEdit, "");
    m_pEngine->RunCommand();
}

void CScaleLink::BuildJoinFrame()
{
    m_lastJoinId = m_pWalk->GetCurrentScaleId();
    const std::string id(m_lastJoinId.begin(), m_lastJoinId.end());
    HandOff("JOIN", ::BuildJoinFrame(id));
}

void CScaleLink::SendAck(const CString& step, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    ByteBuffer frame = BuildFrame(ToWord(ScaleCommand::Ack), {}, FrameScaleId(), pieceCount, pieceNumber);
    HandOff(step.GetString(), std::move(frame));
}

void CScaleLink::SendEndJoin()
{
    HandOff("ENDJOIN", BuildFrame(ToWord(ScaleCommand::EndJoin), {}, m_pWalk->GetCurrentScaleId()));
}

void CScaleLink::SendResetScale()
{
    HandOff("RESET_SCALE", BuildFrame(ToWord(ScaleCommand::ResetScale), {}, FrameScaleId()));
}

void CScaleLink::SendScaleInfo()
{
    const ByteBuffer record = BuildScaleInfoRecord(GridRow(m_pHost->GetCurrentGridRow()));
    HandOff("SELECT_SCALE_INFOMATION", BuildFrame(ToWord(ScaleCommand::Record), record, FrameScaleId()));
}

void CScaleLink::SendScaleRootInfo()
{
    const ByteBuffer record = BuildScaleRootInfoRecord(GridRow(m_pHost->GetCurrentGridRow()));
    HandOff("SELECT_SCALE_ROOT_INFOMATION", BuildFrame(ToWord(ScaleCommand::Record), record, FrameScaleId()));
}

void CScaleLink::SendClose()
{
    // The scope stays: the next scale of the walk is served with it.
    m_pEngine->SetTransmitFrame({});
    m_pHost->SetSerialText(kSerialStatusEdit, "CLOSE");
    m_pHost->SetSerialText(kSerialStepEdit, "CLOSE");
    m_pHost->SetSerialText(kSerialReplyEdit, "");
    m_pEngine->RunCommand();
}

RecordRow CScaleLink::GridRow(int row) const
{
    RecordRow cells;
    const int columns = m_pHost->GetGridColumnCount();
    cells.reserve(static_cast<std::size_t>(std::max(columns, 0)));
    for (int c = 0; c < columns; ++c)
        cells.emplace_back(m_pHost->GetGridItemText(row, c).GetString());
    return cells;
}
