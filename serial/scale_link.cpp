// The session control of the scale link: sending and reading sessions with
// one scale.

#include "serial/scale_link.h"

#include <algorithm>
#include <initializer_list>

#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"
#include "serial/table_routes.h"

using W = SerialWord;

CScaleLink::CScaleLink() = default;

void CScaleLink::SetOwnerView(CSerialHost* host, CSerialTransEngine* engine, const CSerialWalkState* walk)
{
    m_pHost = host;
    m_pEngine = engine;
    m_pWalk = walk;
    m_frames.SetOwner(host, engine, walk);
    m_records.SetHost(host);
    m_ending.SetWalk(walk);
    m_broadcast.SetWalk(walk);
}

void CScaleLink::SetRows(TransferRowsPtr rows, std::vector<int> requestNumbers)
{
    m_frames.SetRows(std::move(rows));
    m_requestSource = std::move(requestNumbers);
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
    m_ending.Start();
    m_nRecordCount = 0;
    m_records.StartSession();
    // A flag left by the scale before must not take this scale's first record
    // for an answer to its request.
    m_pEngine->ClearRequestAcknowledged();
    m_pEngine->RunCommand();
}

bool CScaleLink::OnStop(const Mailbox& box)
{
    if (!m_pWalk->GetSerialStop() || m_bStopLatched)
        return false;
    m_bStopLatched = true;
    m_ending.SetHow("Trans Stopped");
    if (box.reply == W::Report && box.status == W::Ok)
        m_ending.NoteAccepted(box.step, m_nRecordIndex);
    if (box.step == W::Open)
        m_frames.SendClose(); // nothing joined yet: nothing to end
    else if (box.mode == TransferCommand::BroadTrans)
        StartClosingPass();
    else
        m_frames.SendEndJoin();
    return true;
}

void CScaleLink::OnReply()
{
    if (!m_pHost || !m_pEngine || !m_pWalk)
        return;
    const Mailbox box = ReadMailbox();
    const bool broadcast = box.mode == TransferCommand::BroadTrans;
    if (OnStop(box))
        return;
    if (IsOneOf(box.status, { W::ThreeTimeError, W::TimeOut, W::JoinError })) {
        // Told before the close, which may start the next scale.
        const CString ending
            = EndingText("No answer (" + box.status + ")", box.mode == TransferCommand::Recv);
        AfxMessageBox(box.status, MB_OK);
        m_frames.SendClose();
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
        m_frames.SendClose();
        return;
    }
    if (box.status != W::Ok) {
        const CString ending
            = EndingText("Trans Failed (" + box.status + ")", box.mode == TransferCommand::Recv);
        AfxMessageBox(box.status, MB_OK);
        m_frames.SendClose();
        AfxMessageBox(ending, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const CString& step = box.step;
    const bool sending = box.mode == TransferCommand::Trans;
    if (step == W::Open) {
        m_frames.SendJoin(m_pWalk->GetCurrentScaleId());
    } else if (step == W::Join) {
        m_nRecordCount = 0;
        m_nRecordIndex = 0;
        sending ? StartFirstSend(box) : StartFirstRequest(box);
    } else if (step == W::EndJoin) {
        OnEndJoined(!sending);
    } else if (const char* text = CSessionEnding::RefusalText(step, false)) {
        EndWithMessage(text);
    } else if (sending) {
        OnSendReply(step);
    } else {
        OnRecvReply(box);
    }
}

void CScaleLink::EndWithMessage(const char* text)
{
    AfxMessageBox(text, MB_OK);
    m_ending.SetHow(CString("Trans Failed (") + text + ")");
    m_frames.SendEndJoin();
}

void CScaleLink::OnEndJoined(bool reading)
{
    // A read that refused a record is incomplete.
    const int refused = m_records.RefusedCount();
    if (reading && m_ending.WentThrough() && refused > 0)
        m_ending.SetHow(
            refused == 1 ? CString("1 record refused") : CString::Formatted("%d records refused", refused));
    const bool totalsClear = MailboxKind(*m_pHost) == DataKind::ResultAllClear;
    const CString ending = m_ending.WentThrough()
        ? m_ending.Complete(reading, totalsClear, SentTotal(), m_records.StoredText())
        : EndingText(m_ending.How(), reading);
    // Told before the close, which starts the next scale.
    if (const int cut = m_records.TakeCutLines(); cut > 0)
        AfxMessageBox(
            CString::Formatted("%s: %d text lines were longer than their column and were stored cut.",
                m_pWalk->GetCurrentScaleLabel(), cut),
            MB_OK | MB_ICONINFORMATION);
    AfxMessageBox(ending, m_ending.WentThrough() ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
    m_frames.SendClose();
}

int CScaleLink::SentTotal() const
{
    return std::max(m_nRecordCount, static_cast<int>(m_frames.Rows().rows.size()));
}

CString CScaleLink::EndingText(const CString& how, bool reading) const
{
    return m_ending.Text(how, reading, SentTotal(), m_records.StoredText());
}

void CScaleLink::OnSendReply(const CString& step)
{
    if (OnRecordSent(step)) {
        // The next record went, or the end.
    } else if (step == W::ResultAllClearStep) {
        m_frames.SendEndJoin();
    } else if (IsOneOf(step, { W::SelectScaleInformation, W::SelectScaleRootInformation })) {
        m_ending.NoteAccepted(step, m_nRecordIndex);
        m_frames.SendResetScale();
    } else if (step == W::ResetScale) {
        // Named before the close moves the walk on.
        const CString ending = m_ending.Complete(false, false, SentTotal(), "");
        m_frames.SendClose();
        AfxMessageBox(ending, MB_OK);
    }
}

bool CScaleLink::OnRecordSent(const CString& step)
{
    if (const DataKindInfo* route = FindRoute(RouteStep::Clear, step)) {
        AfterClear(*route);
        return true;
    }
    // The whole table goes as rows 1 to count, a selection as positions 0 to
    // count - 1; the preset page is one frame.
    m_ending.NoteAccepted(step, m_nRecordIndex);
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
    if (m_pWalk->GetBroadcastFlag())
        StartPass(&CScaleLink::SendStatusRequest);
    else
        m_frames.SendEndJoin();
    return true;
}

// After the clear's acknowledgement: rows 1 to count, none for an empty grid.
void CScaleLink::AfterClear(const DataKindInfo& route)
{
    // The rows were counted and capped when the user started.
    m_nRecordCount = static_cast<int>(m_frames.Rows().rows.size());
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
            m_frames.SendTableClear(*route);
        else if (CountSelection() < 1)
            EndEarly();
        else
            SendTableSelectData(*route);
    } else if (box.kind == DataKind::Preset && all) {
        m_nRecordCount = 1;
        m_frames.SendPresetData();
    } else if (box.kind == DataKind::ResultAllClear) {
        m_frames.SendResultAllClear();
    } else if (box.kind == DataKind::ScaleInfo) {
        m_nRecordCount = 1;
        m_frames.SendScaleInfo();
    } else if (box.kind == DataKind::ScaleRootInfo) {
        m_nRecordCount = 1;
        m_frames.SendScaleRootInfo();
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
        m_frames.SendEndJoin();
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
            m_frames.SendAck(step);
            RequestNextOrEnd(step);
        } else if (OnDataRecord(step, *asked->received)) {
            RequestNextOrEnd(step);
        }
    } else if (step == W::PreRequest) {
        if (noItem) {
            m_frames.SendAck(step);
            m_frames.SendEndJoin();
        } else {
            OnDataRecord(step, RecordKind::Preset);
        }
    } else if (step == W::EndItem) {
        // The reads of many records end with a request end.
        if (box.kind && box.kind != DataKind::ResultAll && KindInfo(*box.kind).serialAllRequest)
            SendRequestEnd();
        else
            m_frames.SendEndJoin();
    }
}

void CScaleLink::StartFirstRequest(const Mailbox& box)
{
    const bool all = box.scope == TransferScope::All;
    const DataKindInfo* route = box.kind ? &KindInfo(*box.kind) : nullptr;
    m_records.StartRead();
    if (route && route->serialClear) {
        // A table without reads of single records is read whole.
        if (all || !route->serialRequest)
            m_frames.SendTableAllRequest(*route);
        else if (CountRequestNumbers() < 1)
            m_frames.SendEndJoin();
        else
            RequestNextOrEnd(Text(*route->serialRequest));
    } else if (box.kind == DataKind::Preset) {
        all ? m_frames.SendPresetAllRequest() : m_frames.SendPresetRequest();
    } else if (box.kind && IsResultRead(*box.kind)) {
        m_frames.SendResultRead(*box.kind);
    } else {
        m_frames.SendEndJoin();
    }
}
