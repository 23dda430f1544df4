// The session control of the scale link: sending and reading sessions with
// one scale, and the session's own frames (join, acknowledgement, end, close,
// reset, scale settings).

#include "serial/scale_link.h"

#include <algorithm>
#include <initializer_list>

#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"
#include "serial/table_routes.h"

using W = SerialWord;

namespace { } // namespace

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
    box.mode = MailboxCommand(*m_pHost);
    box.kind = MailboxKind(*m_pHost);
    box.scope = ScopeOfWord(m_pHost->GetSerialText(IDC_SERIAL_SCOPE).View());
    box.step = m_pHost->GetSerialText(IDC_SERIAL_STEP);
    box.reply = m_pHost->GetSerialText(IDC_SERIAL_REPLY);
    box.status = m_pHost->GetSerialText(IDC_SERIAL_STATUS);
    return box;
}

void CScaleLink::StartSession()
{
    if (!m_pHost || !m_pEngine || !m_pWalk)
        return;
    m_bStopLatched = false;
    m_strEnding.Empty();
    m_nAcked = 0;
    m_nRecordCount = 0;
    m_nStoredCount = 0;
    m_nRefusedCount = 0;
    m_nCutLines = 0;
    m_takenRecords.clear();
    m_copiesAllowed.clear();
    m_nResendsSeen = 0;
    m_bFirstAfterResend = false;
    m_nCopies = 0;
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
    const bool broadcast = box.mode == TransferCommand::BroadTrans;

    if (m_pWalk->GetSerialStop() && !m_bStopLatched) {
        m_bStopLatched = true;
        m_strEnding = "Trans Stopped";
        if (box.reply == W::Report && box.status == W::Ok)
            NoteAccepted(box.step);
        if (box.step == W::Open) {
            // Nothing joined yet: nothing to end.
            SendClose();
        } else if (broadcast) {
            StartClosingPass();
        } else {
            SendEndJoin();
        }
        return;
    }
    if (IsOneOf(box.status, { W::ThreeTimeError, W::TimeOut, W::JoinError })) {
        // Told before the close, which may start the next scale.
        const CString ending
            = EndingText("No answer (" + box.status + ")", box.mode == TransferCommand::Recv);
        AfxMessageBox(box.status, MB_OK);
        SendClose();
        if (!broadcast)
            AfxMessageBox(ending, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (broadcast) {
        OnBroadcastReply();
        return;
    }
    if (box.mode != TransferCommand::Trans && box.mode != TransferCommand::Recv)
        return;
    if (box.reply != W::Report)
        return;
    if (box.status == W::EndJoin) {
        // The scale did not answer the end of the session: close all the same.
        SendClose();
        return;
    }
    if (box.status != W::Ok) {
        const CString ending
            = EndingText("Trans Failed (" + box.status + ")", box.mode == TransferCommand::Recv);
        AfxMessageBox(box.status, MB_OK);
        SendClose();
        AfxMessageBox(ending, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const CString& step = box.step;
    const bool sending = box.mode == TransferCommand::Trans;
    if (step == W::Open) {
        BuildJoinFrame();
    } else if (step == W::Join) {
        m_nRecordCount = 0;
        m_nRecordIndex = 0;
        m_nColumnCount = 0;
        sending ? StartFirstSend(box) : StartFirstRequest(box);
    } else if (step == W::EndJoin) {
        OnEndJoined(!sending);
    } else if (const char* text = RefusalText(step, false)) {
        EndWithMessage(text);
    } else if (sending) {
        OnSendReply(step);
    } else {
        OnRecvReply(box);
    }
}

const char* CScaleLink::RefusalText(const CString& step, bool broadcast)
{
    struct Refusal {
        SerialWord word;
        SerialWord broadcastWord;
        const char* text;
    };
    static constexpr Refusal kRefusals[] = {
        { W::MemoryFull, W::BroadMemoryFull, "scale memory full" },
        { W::DataLengthMiss, W::BroadDataLengthMiss, "scale data length error" },
        { W::ProcessError, W::BroadProcessError, "scale process error" },
    };
    for (const Refusal& refusal : kRefusals) {
        if (step == (broadcast ? refusal.broadcastWord : refusal.word))
            return refusal.text;
    }
    return nullptr;
}

void CScaleLink::EndWithMessage(const char* text)
{
    AfxMessageBox(text, MB_OK);
    m_strEnding = CString("Trans Failed (") + text + ")";
    SendEndJoin();
}

void CScaleLink::OnEndJoined(bool reading)
{
    // A read that refused a record is incomplete.
    if (reading && m_strEnding.IsEmpty() && m_nRefusedCount > 0)
        m_strEnding = m_nRefusedCount == 1 ? CString("1 record refused")
                                           : CString::Formatted("%d records refused", m_nRefusedCount);
    const CString ending = m_strEnding.IsEmpty() ? CompleteText(reading) : EndingText(m_strEnding, reading);
    // Told before the close, which starts the next scale.
    if (m_nCutLines > 0)
        AfxMessageBox(
            CString::Formatted("%s: %d text lines were longer than their column and were stored cut.",
                m_pWalk->GetCurrentScaleLabel(), m_nCutLines),
            MB_OK | MB_ICONINFORMATION);
    m_nCutLines = 0;
    AfxMessageBox(ending, m_strEnding.IsEmpty() ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
    SendClose();
}

void CScaleLink::NoteAccepted(const CString& step)
{
    if (FindRoute(RouteStep::Data, step))
        m_nAcked = m_nRecordIndex;
    else if (FindRoute(RouteStep::SelectData, step))
        m_nAcked = m_nRecordIndex + 1;
    else if (IsOneOf(step, { W::PreData, W::SelectScaleInformation, W::SelectScaleRootInformation }))
        m_nAcked = 1;
}

CString CScaleLink::EndingText(const CString& how, bool reading) const
{
    const CString scale = m_pWalk->GetBroadcastFlag()
        ? CString::Formatted("Broadcast to %d scales", m_pWalk->GetBroadcastCount())
        : m_pWalk->GetCurrentScaleLabel();
    return reading ? CString::Formatted("%s: %s, receive incomplete: %s.", scale, how, StoredText())
                   : CString::Formatted("%s: %s, %d of %d records sent.", scale, how, m_nAcked,
                       std::max(m_nRecordCount, static_cast<int>(Rows().rows.size())));
}

CString CScaleLink::CompleteText(bool reading) const
{
    if (reading)
        return Named("Trans Complete, " + StoredText() + ".");
    if (MailboxKind(*m_pHost) == DataKind::ResultAllClear)
        return m_pWalk->GetCurrentScaleLabel() + ": Trans Complete";
    return EndingText("Trans Complete", false);
}

CString CScaleLink::StoredText() const
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

CString CScaleLink::Named(const CString& text) const
{
    return m_pWalk->GetScaleCount() > 1 ? m_pWalk->GetCurrentScaleLabel() + ": " + text : text;
}

void CScaleLink::OnSendReply(const CString& step)
{
    if (OnRecordSent(step, &CScaleLink::SendEndJoin)) {
        // The next record went, or the end.
    } else if (step == W::ResultAllClearStep) {
        SendEndJoin();
    } else if (IsOneOf(step, { W::SelectScaleInformation, W::SelectScaleRootInformation })) {
        NoteAccepted(step);
        SendResetScale();
    } else if (step == W::ResetScale) {
        // Named before the close moves the walk on.
        const CString ending = CompleteText(false);
        SendClose();
        AfxMessageBox(ending, MB_OK);
    }
}

bool CScaleLink::OnRecordSent(const CString& step, Sender done)
{
    if (const DataKindInfo* route = FindRoute(RouteStep::Clear, step)) {
        AfterClear(*route);
        return true;
    }
    // The whole table goes as rows 1 to count, a selection as positions 0 to
    // count - 1; the preset page is one frame.
    NoteAccepted(step);
    if (const DataKindInfo* route = FindRoute(RouteStep::Data, step)) {
        if (m_nRecordIndex < m_nRecordCount) {
            ++m_nRecordIndex;
            SendTableData(*route);
            return true;
        }
    } else if (const DataKindInfo* picked = FindRoute(RouteStep::SelectData, step)) {
        if (m_nRecordIndex < m_nRecordCount - 1) {
            ++m_nRecordIndex;
            SendTableSelectData(*picked);
            return true;
        }
    } else if (step != W::PreData) {
        return false;
    }
    (this->*done)();
    return true;
}

// After the clear's acknowledgement: rows 1 to count, none for an empty grid.
void CScaleLink::AfterClear(const DataKindInfo& route)
{
    // The rows were counted and capped when the user started.
    m_nRecordCount = static_cast<int>(Rows().rows.size());
    m_nColumnCount = Rows().rows.empty() ? 0 : static_cast<int>(Rows().rows.front().size());
    if (m_nRecordCount < 1) {
        // An empty grid: nothing to send, straight to the end of the session.
        m_nRecordCount = 0;
        EndEarly();
        return;
    }
    ++m_nRecordIndex;
    SendTableData(route);
}

void CScaleLink::StartFirstSend(const Mailbox& box)
{
    const bool all = box.scope == TransferScope::All;
    const DataKindInfo* route = box.kind ? &KindInfo(*box.kind) : nullptr;
    if (route && route->serialClear) {
        if (all)
            SendTableClear(*route);
        else if (CountSelection() < 1)
            EndEarly();
        else
            SendTableSelectData(*route);
    } else if (box.kind == DataKind::Preset && all) {
        m_nRecordCount = 1;
        SendPresetData();
    } else if (box.kind == DataKind::ResultAllClear) {
        SendResultAllClear();
    } else if (box.kind == DataKind::ScaleInfo) {
        m_nRecordCount = 1;
        SendScaleInfo();
    } else if (box.kind == DataKind::ScaleRootInfo) {
        m_nRecordCount = 1;
        SendScaleRootInfo();
    } else {
        // A preset selection (presets have none) or an unknown kind: end
        // rather than stay joined.
        EndEarly();
    }
}

void CScaleLink::EndEarly()
{
    if (MailboxCommand(*m_pHost) == TransferCommand::BroadTrans)
        StartClosingPass();
    else
        SendEndJoin();
}

void CScaleLink::OnRecvReply(const Mailbox& box)
{
    const CString& step = box.step;
    const bool noItem = m_pHost->GetSerialText(IDC_SERIAL_NO_ITEM) == W::NoItem;
    if (const DataKindInfo* read = FindRoute(RouteStep::AllRequest, step)) {
        OnDataRecord(step, *read->received);
    } else if (const DataKindInfo* asked = FindRoute(RouteStep::Request, step)) {
        // A number the scale does not hold is acknowledged and passed over.
        if (noItem) {
            SendAck(step);
            RequestNextOrEnd(step);
        } else if (OnDataRecord(step, *asked->received)) {
            RequestNextOrEnd(step);
        }
    } else if (step == W::PreRequest) {
        if (noItem) {
            SendAck(step);
            SendEndJoin();
        } else {
            OnDataRecord(step, RecordKind::Preset);
        }
    } else if (step == W::EndItem) {
        // The reads of many records end with a request end.
        if (box.kind && box.kind != DataKind::ResultAll && KindInfo(*box.kind).serialAllRequest)
            SendRequestEnd();
        else
            SendEndJoin();
    }
}

void CScaleLink::RequestNextOrEnd(const CString& step)
{
    const DataKindInfo* route = FindRoute(RouteStep::Request, step);
    if (m_nRequestPosition >= m_nRequestCount || !route) {
        SendEndJoin();
        return;
    }
    SendTableRequest(*route);
}

void CScaleLink::StartFirstRequest(const Mailbox& box)
{
    const bool all = box.scope == TransferScope::All;
    const DataKindInfo* route = box.kind ? &KindInfo(*box.kind) : nullptr;
    if (route && route->serialClear) {
        // A table without reads of single records is read whole.
        if (all || !route->serialRequest)
            SendTableAllRequest(*route);
        else if (CountRequestNumbers() < 1)
            SendEndJoin();
        else
            SendTableRequest(*route);
    } else if (box.kind == DataKind::Preset) {
        all ? SendPresetAllRequest() : SendPresetRequest();
    } else if (box.kind && IsResultRead(*box.kind)) {
        SendResultRead(*box.kind);
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

void CScaleLink::HandOff(SerialWord step, ByteBuffer frame)
{
    HandOff(CString(Text(step)), std::move(frame));
}

void CScaleLink::HandOff(const CString& step, ByteBuffer frame)
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

void CScaleLink::BuildJoinFrame()
{
    m_lastJoinId = m_pWalk->GetCurrentScaleId();
    const std::string id(m_lastJoinId.begin(), m_lastJoinId.end());
    HandOff(W::Join, ::BuildJoinFrame(id));
}

void CScaleLink::SendAck(const CString& step, std::uint8_t pieceCount, std::uint8_t pieceNumber)
{
    ByteBuffer frame = BuildFrame(ToWord(ScaleCommand::Ack), {}, FrameScaleId(), pieceCount, pieceNumber);
    HandOff(step, std::move(frame));
}

void CScaleLink::SendEndJoin()
{
    HandOff(W::EndJoin, BuildFrame(ToWord(ScaleCommand::EndJoin), {}, m_pWalk->GetCurrentScaleId()));
}

void CScaleLink::SendResetScale()
{
    HandOff(W::ResetScale, BuildFrame(ToWord(ScaleCommand::ResetScale), {}, FrameScaleId()));
}

void CScaleLink::SendScaleInfo()
{
    const ByteBuffer record = BuildScaleInfoRecord(RowAt(0));
    HandOff(W::SelectScaleInformation, BuildFrame(ToWord(ScaleCommand::Record), record, FrameScaleId()));
}

void CScaleLink::SendScaleRootInfo()
{
    const ByteBuffer record = BuildScaleRootInfoRecord(RowAt(0));
    HandOff(W::SelectScaleRootInformation, BuildFrame(ToWord(ScaleCommand::Record), record, FrameScaleId()));
}

void CScaleLink::SendClose()
{
    // The scope stays: the next scale of the walk is served with it.
    m_pEngine->SetTransmitFrame({});
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, Text(W::Close));
    m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(W::Close));
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, "");
    m_pEngine->RunCommand();
}

const TransferRows& CScaleLink::Rows() const
{
    static const TransferRows kNone;
    return m_rows ? *m_rows : kNone;
}

RecordRow CScaleLink::RowAt(int index) const
{
    const std::vector<RecordRow>& rows = Rows().rows;
    if (index < 0 || index >= static_cast<int>(rows.size()))
        return {};
    return rows[static_cast<std::size_t>(index)];
}
