// The session control of the scale link: sending and reading sessions with
// one scale, and the session's own frames (join, acknowledgement, end, close,
// reset, scale settings).

#include "serial/scale_link.h"

#include <algorithm>
#include <initializer_list>

#include "platform/wnd/msgbox.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"

namespace {

bool OneOf(const CString& word, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return word == w; });
}

// The tables sent and read record by record, by the work screen's kind word:
// the step word of each frame and its sender.
struct TableRoute {
    const char* kind;
    const char* clearStep;
    const char* dataStep;
    const char* selectStep;
    const char* requestStep; // nullptr: read whole only
    RecordKind record;
    void (CScaleLink::*clear)();
    void (CScaleLink::*data)();
    void (CScaleLink::*select)();
    void (CScaleLink::*allRequest)();
    void (CScaleLink::*request)();
};

const TableRoute kRoutes[] = {
    { "Item", "PLU_CLEAR", "DATA", "SELECT_DATA", "PLU_REQUEST", RecordKind::Item, &CScaleLink::SendPluClear,
        &CScaleLink::SendPluData, &CScaleLink::SendPluSelectData, &CScaleLink::SendPluAllRequest,
        &CScaleLink::SendPluRequest },
    { "Add", "ADD_CLEAR", "ADD_DATA", "SELECT_ADD_DATA", "ADD_REQUEST", RecordKind::Add,
        &CScaleLink::SendAddClear, &CScaleLink::SendAddData, &CScaleLink::SendAddSelectData,
        &CScaleLink::SendAddAllRequest, &CScaleLink::SendAddRequest },
    { "Adv", "ADV_CLEAR", "ADV_DATA", "SELECT_ADV_DATA", "ADV_REQUEST", RecordKind::AdvT,
        &CScaleLink::SendAdvClear, &CScaleLink::SendAdvData, &CScaleLink::SendAdvSelectData,
        &CScaleLink::SendAdvAllRequest, &CScaleLink::SendAdvRequest },
    { "Land_addition", "LAND_ADD_CLEAR", "LAND_ADD_DATA", "SELECT_LAND_ADD_DATA", "LAND_ADD_REQUEST",
        RecordKind::LandAdd, &CScaleLink::SendLandAddClear, &CScaleLink::SendLandAddData,
        &CScaleLink::SendLandAddSelectData, &CScaleLink::SendLandAddAllRequest,
        &CScaleLink::SendLandAddRequest },
    { "USER_LABEL", "USER_LABEL_CLEAR", "USER_LABEL_DATA", "USER_LABEL_SELECT_DATA", nullptr,
        RecordKind::UserLabel, &CScaleLink::SendUserLabelClear, &CScaleLink::SendUserLabelData,
        &CScaleLink::SendUserLabelSelectData, &CScaleLink::SendUserLabelAllRequest, nullptr },
};

// The route whose word in the given field is word.
const TableRoute* FindRoute(const char* TableRoute::*field, const CString& word)
{
    for (const TableRoute& route : kRoutes) {
        if (route.*field && word == route.*field)
            return &route;
    }
    return nullptr;
}

// The reads answered by records until the end of data, and what they bring.
struct WholeRead {
    const char* step;
    RecordKind record;
};

const WholeRead kWholeReads[] = {
    { "PLU_ALL_REQUEST", RecordKind::Item },
    { "ADD_ALL_REQUEST", RecordKind::Add },
    { "PRE_ALL_REQUEST", RecordKind::Preset },
    { "ADV_ALL_REQUEST", RecordKind::AdvT },
    { "LAND_ADD_ALL_REQUEST", RecordKind::LandAdd },
    { "USER_LABEL_ALL_REQUEST", RecordKind::UserLabel },
    { "RESULT_ALL_READ", RecordKind::TotalResult },
    { "RESULT_ITEM_ALL_READ", RecordKind::TotalItemResult },
    { "RESULT_ITEM_DAY_READ", RecordKind::TotalItemDay },
    { "RESULT_DAY_READ", RecordKind::TotalDayResult },
};

const WholeRead* FindWholeRead(const CString& step)
{
    for (const WholeRead& read : kWholeReads) {
        if (step == read.step)
            return &read;
    }
    return nullptr;
}

} // namespace

CScaleLink::CScaleLink() = default;

void CScaleLink::SetOwnerView(CSerialHost* host, CSerialTransEngine* engine, const CSerialWalkState* walk)
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
    // A flag left by the scale before must not take this scale's first record
    // for an answer to its request.
    m_pEngine->ClearRequestAcknowledged();
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
    const CString& step = box.step;
    const bool sending = box.mode == "TRANS";
    if (step == "OPEN") {
        BuildJoinFrame();
    } else if (step == "JOIN") {
        m_nRecordCount = 0;
        m_nRecordIndex = 0;
        m_nColumnCount = 0;
        sending ? StartFirstSend(box) : StartFirstRequest(box);
    } else if (step == "ENDJOIN") {
        SendClose();
        AfxMessageBox("Trans Complete", MB_OK);
    } else if (const char* text = RefusalText(step)) {
        EndWithMessage(text);
    } else if (sending) {
        OnSendReply(step);
    } else {
        OnRecvReply(box);
    }
}

const char* CScaleLink::RefusalText(const CString& step)
{
    if (step == "MEMORY FULL")
        return "scale memory full";
    if (step == "DATA LENGTH MISS")
        return "scale data length error";
    if (step == "PROCESS ERROR")
        return "scale process error";
    return nullptr;
}

void CScaleLink::EndWithMessage(const char* text)
{
    AfxMessageBox(text, MB_OK);
    SendEndJoin();
}

void CScaleLink::OnSendReply(const CString& step)
{
    if (OnRecordSent(step, &CScaleLink::SendEndJoin)) {
        // The next record went, or the end.
    } else if (step == "RESULT_ALL_CLEAR") {
        SendEndJoin();
    } else if (OneOf(step, { "SELECT_SCALE_INFOMATION", "SELECT_SCALE_ROOT_INFOMATION" })) {
        SendResetScale();
    } else if (step == "RESET_SCALE") {
        SendClose();
        AfxMessageBox("Trans Complete", MB_OK);
    }
}

bool CScaleLink::OnRecordSent(const CString& step, Sender done)
{
    if (const TableRoute* route = FindRoute(&TableRoute::clearStep, step)) {
        AfterClear(route->data);
        return true;
    }
    // The whole table goes as rows 1 to count, a selection as positions 0 to
    // count - 1; the preset page is one frame.
    Sender next = nullptr;
    int end = m_nRecordCount;
    if (const TableRoute* route = FindRoute(&TableRoute::dataStep, step)) {
        next = route->data;
    } else if (const TableRoute* picked = FindRoute(&TableRoute::selectStep, step)) {
        next = picked->select;
        end = m_nRecordCount - 1;
    } else if (step != "PRE_DATA") {
        return false;
    }
    if (next && m_nRecordIndex < end) {
        ++m_nRecordIndex;
        (this->*next)();
    } else {
        (this->*done)();
    }
    return true;
}

// After the clear's acknowledgement: rows 1 to count, none for an empty grid.
void CScaleLink::AfterClear(Sender sendData)
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
    (this->*sendData)();
}

void CScaleLink::StartFirstSend(const Mailbox& box)
{
    const bool all = box.scope == "all";
    const CString& kind = box.kind;
    if (const TableRoute* route = FindRoute(&TableRoute::kind, kind)) {
        StartTable(
            route->clear, &CScaleLink::CountSelection, all ? nullptr : route->select, &CScaleLink::EndEarly);
    } else if (kind == "Pre" && all) {
        SendPresetData();
    } else if (kind == "Scale_Result_All_Clear") {
        SendResultAllClear();
    } else if (kind == "SCALE_INFOMATION") {
        SendScaleInfo();
    } else if (kind == "SCALE_ROOT_INFOMATION") {
        SendScaleRootInfo();
    } else {
        // A preset selection (presets have none) or an unknown kind: end
        // rather than stay joined.
        EndEarly();
    }
}

void CScaleLink::StartTable(Sender whole, int (CScaleLink::*countPicked)(), Sender firstPicked, Sender none)
{
    if (!firstPicked)
        (this->*whole)();
    else if ((this->*countPicked)() < 1)
        (this->*none)();
    else
        (this->*firstPicked)();
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
    if (const WholeRead* read = FindWholeRead(step)) {
        OnDataRecord(step, read->record);
    } else if (const TableRoute* route = FindRoute(&TableRoute::requestStep, step)) {
        // A number the scale does not hold is acknowledged and passed over.
        if (noItem) {
            SendAck(step);
            RequestNextOrEnd(step);
        } else if (OnDataRecord(step, route->record)) {
            RequestNextOrEnd(step);
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
    }
}

void CScaleLink::RequestNextOrEnd(const CString& step)
{
    const TableRoute* route = FindRoute(&TableRoute::requestStep, step);
    if (m_nRequestPosition >= m_nRequestCount || !route) {
        SendEndJoin();
        return;
    }
    (this->*route->request)();
}

void CScaleLink::StartFirstRequest(const Mailbox& box)
{
    const bool all = box.scope == "all";
    const CString& kind = box.kind;
    if (const TableRoute* route = FindRoute(&TableRoute::kind, kind)) {
        StartTable(route->allRequest, &CScaleLink::CountRequestNumbers, all ? nullptr : route->request,
            &CScaleLink::SendEndJoin);
    } else if (kind == "Pre") {
        all ? SendPresetAllRequest() : SendPresetRequest();
    } else if (OneOf(kind,
                   { "Scale_Result_All_Read", "Scale_Result_Item_All_Read", "Scale_Result_Item_Day_Read",
                       "Scale_Result_Day_Read" })) {
        SendResultRead(kind);
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
