#include "ethernet/trans_thread.h"

#include <algorithm>
#include <array>

#include "db/record_sql.h"
#include "db/store_paths.h"
#include "ethernet/scale_packet_sender.h"
#include "ethernet/transfer_host.h"
#include "ethernet/transfer_records.h"
#include "platform/base/datetime.h"
#include "platform/dao/dao_exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/wnd.h"
#include "transfer/received_record_store.h"

namespace {

using S = TransferStep;

// The kind whose clear, send or request the step is; nullptr for none.
const DataKindInfo* KindOfStep(S step)
{
    if (step == S::Close)
        return nullptr;
    for (const DataKindInfo& k : AllKinds()) {
        if (step == k.clear || step == k.trans || step == k.allRequest || step == k.request)
            return &k;
    }
    return nullptr;
}

// The sales-total reads and the clear of the totals.
bool IsSalesTotals(DataKind kind)
{
    return IsResultRead(kind) || kind == DataKind::ResultAllClear;
}

std::string Narrow(const CString& text)
{
    return text.Str();
}

// The step sends a record (a row, the preset page, a settings record).
bool IsRecordStep(S step)
{
    const DataKindInfo* kind = KindOfStep(step);
    return (kind != nullptr && step == kind->trans) || step == S::PreTrans
        || step == S::SelectScaleInformation || step == S::SelectScaleRootInformation;
}

// A request for one record (or the sales total), not for a whole table.
bool IsOneRecordRequest(S step)
{
    switch (step) {
    case S::PluRequest:
    case S::AddRequest:
    case S::AdvRequest:
    case S::LandAddRequest:
    case S::PreRequest:
    case S::ResultAllRead:
        return true;
    default:
        return false;
    }
}

// A sales-total step is done: the work screen's loop over the scales goes on.
void TellResultStepDone(CTransferHost& host, BOOL done)
{
    if (done)
        ::SendMessage(host.GetTransferWindow(), WM_RESULT_STEP_DONE, 0, 0);
}

} // namespace

CTransThread::CTransThread()
{
    m_bAutoDelete = FALSE;
}

CTransThread::~CTransThread()
{
    m_link.socket.Close();
}

void CTransThread::SetJob(CTransferHost* host, CTransferJobOwner* owner, const TransferJobTools& tools,
    UINT_PTR token, const TransferRequest& request)
{
    m_pOwnerView = host;
    m_pOwner = owner;
    m_tools.emplace(tools);
    m_token = token;
    m_job = request;
    m_tally.recordTotal = OrderRecordCount(m_job);
}

void CTransThread::Abandon()
{
    m_link.shutDown.store(1);
    m_link.socket.ShutDown();
}

void CTransThread::WaitForThread()
{
    if (m_hThread != nullptr)
        WaitForSingleObject(m_hThread, INFINITE);
}

// ---- Socket thread -------------------------------------------------------------

int CTransThread::Run()
{
    CScalePacketPoster& poster = m_tools->poster;
    const IoStatus connected = m_link.socket.Connect(
        m_job.ipAddress.GetString(), static_cast<UINT>(m_job.port), m_tools->timings.connectMs);
    if (!connected.ok()) {
        poster.OnScaleClosed(m_token, connected);
        return 0;
    }
    m_link.connected.store(1);
    if (m_link.shutDown.load())
        m_link.socket.ShutDown();
    ScalePacketFramer framer;
    std::vector<ScalePacketFramer::Event> events;
    std::array<std::uint8_t, kMaxPacketSize> buffer;
    for (;;) {
        std::size_t got = 0;
        const IoStatus s = m_link.socket.Receive(buffer, got, -1);
        if (!s.ok()) {
            // The last read's events have gone: only a cut packet is told.
            events.clear();
            framer.DiscardPending(events);
            for (ScalePacketFramer::Event& e : events)
                poster.OnScaleEvent(m_token, std::move(e));
            poster.OnScaleClosed(m_token, s);
            return 0;
        }
        events.clear();
        framer.Feed(std::span(buffer.data(), got), events);
        for (ScalePacketFramer::Event& e : events)
            poster.OnScaleEvent(m_token, std::move(e));
    }
}

// ---- User-interface thread: packets --------------------------------------------

void CTransThread::Begin()
{
    m_bActive = TRUE;
    m_pOwner->JobActive(TRUE);
    // The greeting's wait and its resends run on the job's reply time too.
    m_answers.ledger.SetReplyTime(m_tools->timings.replyMs);
    StartTimer();
}

void CTransThread::OnSocketData()
{
    if (m_reentry.busy > 0) {
        m_reentry.held = TRUE; // taken when the call on the stack returns
        return;
    }
    ++m_reentry.busy;
    CScalePacketPoster::Item item;
    while (m_tools->poster.Take(m_token, item))
        Handle(item);
    --m_reentry.busy;
}

void CTransThread::OnReplyTimeout()
{
    if (m_reentry.busy > 0) {
        StopTimer();
        m_reentry.timeout = TRUE;
        m_reentry.held = TRUE;
        return;
    }
    ++m_reentry.busy;
    TimedOut();
    --m_reentry.busy;
}

void CTransThread::ResumeHeld()
{
    if (!m_reentry.held || m_reentry.busy > 0)
        return;
    m_reentry.held = FALSE;
    OnSocketData();
    // An answer taken meanwhile stopped the timer, and with it the timeout.
    if (m_reentry.timeout && m_reentry.busy == 0) {
        m_reentry.timeout = FALSE;
        OnReplyTimeout();
    }
}

void CTransThread::Handle(const CScalePacketPoster::Item& item)
{
    if (item.closed) {
        m_bEnded = TRUE;
        m_pOwner->NoteJobEnding();
        if (IsClosed())
            return;
        if (!m_link.connected.load()) {
            CloseScale();
            MessageBox(
                ScaleLabel(m_job) + ": " + (m_job.language == 1 ? "접속실패" : "Connection Failed"), MB_OK);
            TellResultStepDone(*m_pOwnerView, IsSalesTotals(m_job.kind));
            return;
        }
        // After the closing reset's answer the scale may close: the answers
        // read so far decide the ending.
        if (m_answers.wait == AnswerWait::Grace) {
            EndAfterGrace();
            return;
        }
        // A hang-up or a reset is no answer: the job ends here, as a failure.
        EndFailed(item.why.Text().find("closed") != std::string::npos ? "Connection closed by the scale"
                                                                      : "Connection reset by the scale");
        return;
    }
    if (IsClosed())
        return;
    switch (item.event.kind) {
    case ScalePacketFramer::Kind::Greeting:
        if (m_step == S::Open)
            StartJob();
        return;
    case ScalePacketFramer::Kind::Dropped:
        return;
    case ScalePacketFramer::Kind::Packet:
        // Before the greeting nothing has been asked: the timer goes on.
        if (m_step != S::Open)
            DecodeReply(item.event.packet);
        return;
    }
}

void CTransThread::DecodeReply(const ScalePacket& packet)
{
    ++m_tally.packetsReceived;
    m_pOwner->LogReceived(CString::Formatted("IP address = %s.....Data Recving......Packet Num = %5ld",
        m_job.ipAddress, static_cast<long>(m_tally.packetsReceived)));
    if (m_job.direction == TransferCommand::Trans) {
        OnSendAnswer(packet);
        return;
    }
    if (packet.Is(ScaleCommand::Ack)) {
        StopTimer();
        const ResendGuard resends = m_resends;
        m_resends.Reset();
        if (IsRecordStep(m_step))
            m_tally.recordsAcked = m_tally.recordsSent; // counted, whatever comes next
        if (StopRequested())
            return;
        NextStep();
        // An accepted request whose records do not come keeps its budget.
        if (m_bAwaitingData)
            m_resends = resends;
    } else if (packet.Is(ScaleCommand::Nak)) {
        ByteReader reader(packet.payload);
        std::uint16_t code = 0;
        reader.GetU16LE(code);
        OnNak(code);
    } else if (packet.Is(ScaleCommand::Data)) {
        // A record that nobody asked for yet is dropped; the timer goes on.
        if (!m_bAwaitingData)
            return;
        // A copy the scale sent again after a resend is not stored; a whole
        // read acknowledges it, as the scale waits for that.
        if (m_copies.IsCopy(packet.payload)) {
            ++m_tally.droppedCopies;
            if (!IsOneRecordRequest(m_step))
                SendAck();
            return;
        }
        StopTimer();
        m_resends.Reset();
        if (StopRequested())
            return;
        OnDataRecord(&packet);
    } else if (packet.Is(ScaleCommand::EndOfData)) {
        // Only a read that awaits records has an end of data.
        if (!m_bAwaitingData)
            return;
        StopTimer();
        SendAck();
        Complete();
        TellResultStepDone(*m_pOwnerView, IsSalesTotals(m_job.kind));
    }
    // Any other command changes nothing; the reply timer keeps running.
}

void CTransThread::OnSendAnswer(const ScalePacket& packet)
{
    std::uint16_t code = 0;
    const std::optional<AnswerLedger::Answer> answer = AnswerLedger::Of(packet, code);
    if (!answer)
        return; // data or anything else answers no packet of a sending job
    const AnswerLedger::Match match = m_answers.ledger.Take(*answer, GetTickCount());
    if (m_answers.wait == AnswerWait::Grace) {
        // The scale is still answering; one that never stops is not waited on.
        if (m_answers.ledger.Answers() <= 2 * m_answers.ledger.Sends() + 2)
            BeginGrace();
        return;
    }
    if (match == AnswerLedger::Match::Packet) {
        StopTimer();
        m_answers.nak = *answer == AnswerLedger::Answer::Refused ? code : 0;
        if (code == 0) {
            m_resends.Reset();
            if (IsRecordStep(m_step))
                m_tally.recordsAcked = m_tally.recordsSent; // counted, whatever comes next
        }
    }
    if (!m_answers.ledger.IsAnswered())
        return; // the packet in flight waits on under its timer
    const BOOL closing = m_step == S::TaskReset || m_step == S::ResetScale;
    if (m_answers.ledger.Owed() > 0 && !closing && !m_pOwnerView->GetEthernetStop()) {
        // No packet goes while an answer is owed, until its time has passed.
        m_answers.wait = AnswerWait::Copies;
        StartTimer(std::max<UINT>(m_answers.ledger.OwedTimeLeft(GetTickCount()), 1));
        return;
    }
    StopTimer();
    ProceedAfterAnswer();
}

void CTransThread::ProceedAfterAnswer()
{
    m_answers.wait = AnswerWait::None;
    if (m_answers.nak != 0) {
        OnNak(m_answers.nak);
        return;
    }
    if (StopRequested())
        return;
    NextStep();
}

UINT CTransThread::ReplyTime() const
{
    if (m_job.direction == TransferCommand::Trans)
        return m_answers.ledger.AnswerTime();
    return m_tools->timings.replyMs;
}

// The answers still on their way are read until the scale has been quiet for
// its answer time, and until every answer owed is in or overdue.
void CTransThread::BeginGrace()
{
    m_answers.wait = AnswerWait::Grace;
    const DWORD now = GetTickCount();
    UINT ms = m_answers.ledger.QuietTime(m_tools->timings.graceMs);
    ms = std::max<UINT>(ms, m_answers.ledger.OwedTimeLeft(now));
    StartTimer(ms);
}

void CTransThread::EndAfterGrace()
{
    m_answers.wait = AnswerWait::None;
    m_answers.ledger.GiveUpOverdue(GetTickCount());
    if (!m_answers.ledger.IsSettled()) {
        m_tally.recordsAcked = std::min(m_tally.recordsAcked, m_answers.ledger.CertainRecords());
        m_tally.certainOnly = TRUE;
        EndFailed("Trans Failed (the scale's answers could not be matched to the packets sent)");
    } else if (!m_tally.refusal.IsEmpty()) {
        EndFailed("Trans Failed (" + m_tally.refusal + ")");
    } else {
        Complete();
    }
}

BOOL CTransThread::IsAnswerDue() const
{
    return m_job.direction == TransferCommand::Trans && m_answers.wait == AnswerWait::None
        && m_step != S::Open && !IsClosed();
}

void CTransThread::OnNak(std::uint16_t code)
{
    if (const char* text = NakText(code)) {
        StopTimer();
        m_resends.Reset();
        if (m_step == S::TaskReset) {
            // The closing reset refused too: no reset again; the answers
            // still on their way decide the ending.
            MessageBox(text, MB_OK);
            if (m_tally.refusal.IsEmpty())
                m_tally.refusal = text;
            if (IsClosed())
                return;
            if (m_job.direction == TransferCommand::Trans)
                BeginGrace();
            else
                EndFailed("Trans Failed (" + m_tally.refusal + ")");
            return;
        }
        MessageBox(text, MB_OK);
        if (IsClosed())
            return;
        m_tally.refusal = text;
        if (StopRequested())
            return; // the Stop sends nothing more
        SendTaskReset();
        if (IsSalesTotals(m_job.kind))
            TellResultStepDone(*m_pOwnerView, TRUE);
        return;
    }
    if (code == static_cast<std::uint16_t>(NakCode::NoItem) && IsRequestStep()) {
        StopTimer();
        m_resends.Reset();
        if (StopRequested())
            return;
        OnDataRecord(nullptr);
    }
    // Other refusals: the timer goes on and the packet is sent again.
}

void CTransThread::ObeyStop()
{
    // With an answer due, or in the grace, the answer or the timer ends the job.
    if (!IsClosed() && m_reentry.busy == 0 && !IsAnswerDue() && m_answers.wait != AnswerWait::Grace)
        static_cast<void>(StopRequested());
}

BOOL CTransThread::StopRequested()
{
    if (!m_pOwnerView->GetEthernetStop())
        return FALSE;
    StopTimer();
    m_bAwaitingData = FALSE;
    EndFailed("Trans Stopped");
    return TRUE;
}

void CTransThread::EndFailed(const CString& how)
{
    CloseScale();
    NoteCutLines();
    MessageBox(m_tally.Summary(m_job, how), MB_OK | MB_ICONEXCLAMATION);
}

// Every record reached the scale, or the end of data came: the Part's text. A
// read that refused a record is incomplete.
void CTransThread::Complete()
{
    if (m_job.direction == TransferCommand::Recv && m_tally.refused > 0) {
        EndFailed(m_tally.refused == 1 ? CString("1 record refused")
                                       : CString::Formatted("%d records refused", m_tally.refused));
        return;
    }
    CloseScale();
    NoteCutLines();
    if (m_job.direction == TransferCommand::Recv)
        MessageBox(NamedForBox(m_job, "Trans Complete, " + m_tally.StoredText(m_job) + "."), MB_OK);
    else
        MessageBox(NamedForBox(m_job, "Trans Complete"), MB_OK);
}

void CTransThread::NoteCutLines()
{
    if (m_tally.cutLines > 0)
        MessageBox(CString::Formatted("%s: %d text lines were longer than their column and were stored cut.",
                       ScaleLabel(m_job), m_tally.cutLines),
            MB_OK | MB_ICONINFORMATION);
    m_tally.cutLines = 0;
}

BOOL CTransThread::IsRequestStep() const
{
    return IsOneRecordRequest(m_step) || m_bAwaitingData;
}

// ---- Steps ---------------------------------------------------------------------

void CTransThread::StartJob()
{
    StopTimer();
    m_resends.Reset();
    m_tally.packetsSent = 0;
    m_tally.packetsReceived = 0;
    m_bAwaitingData = FALSE;
    m_tally.requestsSent = 0;
    m_tally.recordsSent = 0;
    m_tally.recordsAcked = 0;
    m_tally.stored = 0;
    m_tally.refused = 0;
    m_tally.cutLines = 0;
    m_tally.refusal.Empty();
    m_copies.Clear();
    m_tally.droppedCopies = 0;
    m_answers.wait = AnswerWait::None;
    m_answers.ledger.Clear();
    m_answers.ledger.SetReplyTime(m_tools->timings.replyMs);
    m_tally.certainOnly = FALSE;
    m_tally.unanswered = FALSE;
    m_tally.recordTotal = OrderRecordCount(m_job);
    const std::optional<S> first = FirstTransferStep(m_job.direction, m_job.kind, m_job.selection);
    if (!first) {
        CloseScale();
        return;
    }
    const DataKindInfo& kind = KindInfo(m_job.kind);
    switch (*first) {
    case S::SelectScaleInformation:
    case S::SelectScaleRootInformation:
        m_step = *first;
        m_tally.recordsSent = 1;
        Send(*first, RecordPacket(m_job, 0, m_tools->database));
        return;
    case S::ResultAllClear:
        Send(*first, EncodeClear(TableCode::TotalResult));
        return;
    case S::ResultAllRead:
        Send(*first, EncodeRequestOne(TableCode::TotalResult, 1));
        return;
    case S::ResultItemAllRead:
        Send(*first, EncodeRequestAll(TableCode::TotalItemResult));
        return;
    case S::ResultItemDayRead:
        Send(*first, EncodeRequestAll(TableCode::TotalItemDay));
        return;
    case S::ResultDayRead:
        Send(*first, EncodeRequestAll(TableCode::TotalDayResult));
        return;
    case S::PreTrans:
        m_step = S::PreTrans;
        SendNextRecord();
        return;
    default:
        break;
    }
    if (*first == kind.clear) {
        Send(*first, EncodeClear(kind.table));
    } else if (*first == kind.trans) {
        m_step = kind.trans;
        SendNextRecord();
    } else if (*first == kind.allRequest) {
        Send(*first, EncodeRequestAll(kind.table));
    } else {
        m_step = *first;
        RequestNext();
    }
}

void CTransThread::NextStep()
{
    const DataKindInfo* kind = KindOfStep(m_step);
    switch (m_step) {
    case S::PluClear:
    case S::AddClear:
    case S::AdvClear:
    case S::LandAddClear:
    case S::UserLabelClear:
        m_tally.recordsSent = 0;
        m_step = kind->trans;
        SendNextRecord();
        return;
    case S::PluTrans:
    case S::AddTrans:
    case S::AdvTrans:
    case S::LandAddTrans:
    case S::UserLabelTrans:
    case S::PreTrans:
        SendNextRecord();
        return;
    case S::SelectScaleInformation:
    case S::SelectScaleRootInformation:
        Send(S::ResetScale, EncodePacket(ScaleCommand::ResetScale));
        return;
    case S::ResultAllClear:
        Complete();
        TellResultStepDone(*m_pOwnerView, TRUE);
        return;
    case S::ResetScale:
    case S::TaskReset:
        if (m_job.direction == TransferCommand::Trans) {
            BeginGrace(); // the answers still on their way decide the ending
            return;
        }
        // The reset after a refusal closes a job that did not go through.
        if (!m_tally.refusal.IsEmpty())
            EndFailed("Trans Failed (" + m_tally.refusal + ")");
        else
            Complete();
        return;
    default:
        break;
    }
    // The request was accepted: the records may come. An acknowledgement that
    // moves nothing on decides nothing. Either way the wait goes on under the timer.
    if (IsRequestStep() || kind != nullptr || IsResultRead(m_job.kind))
        m_bAwaitingData = TRUE;
    StartTimer();
}

void CTransThread::OnDataRecord(const ScalePacket* packet)
{
    // A refused record is told and not counted.
    if (packet != nullptr && StoreRecord(*packet)) {
        ++m_tally.stored;
        m_pOwnerView->ShowTransferProgress(CString::Formatted("%d", m_tally.stored));
    } else if (packet != nullptr) {
        ++m_tally.refused;
    }
    SendAck();
    switch (m_step) {
    case S::PluRequest:
    case S::AddRequest:
    case S::AdvRequest:
    case S::LandAddRequest:
        if (m_tally.requestsSent >= std::max<std::size_t>(m_job.requestNumbers.size(), 1))
            Complete();
        else
            RequestNext();
        return;
    case S::PreRequest:
        Complete();
        return;
    case S::ResultAllRead:
        Complete();
        TellResultStepDone(*m_pOwnerView, TRUE);
        return;
    default:
        return; // whole reads: the next record or the end of data comes
    }
}

BOOL CTransThread::StoreRecord(const ScalePacket& packet)
{
    const std::optional<RecordKind> kind = KindInfo(m_job.kind).received;
    if (!kind)
        return FALSE;
    if (!m_bDbReady && m_job.prepareDb)
        m_job.prepareDb(m_job.dbPath);
    m_bDbReady = TRUE;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const RecordContext context { m_job.rows ? m_job.rows->userId : std::string(),
        FormatDay(now.wYear, now.wMonth, now.wDay), Narrow(m_job.ipAddress) };
    return m_tools->database.Store(
        m_job.dbPath, *kind, packet.payload, context, RecordCarriage::Tcp,
        [this](
            const CString& request, const CString& sql) { m_pOwnerView->NoteReceivedRecord(request, sql); },
        [this](const CString& text, UINT type) { MessageBox(text, type); }, &m_tally.cutLines);
}

// ---- Sending -------------------------------------------------------------------

void CTransThread::SendNextRecord()
{
    if (m_tally.recordsSent >= m_tally.recordTotal) {
        SendTaskReset();
        return;
    }
    const std::size_t index = m_tally.recordsSent++;
    m_pOwnerView->ShowTransferProgress(CString::Formatted("%d", static_cast<int>(m_tally.recordsSent)));
    Send(m_step, RecordPacket(m_job, index, m_tools->database));
}

void CTransThread::SendTaskReset()
{
    Send(S::TaskReset, EncodePacket(ScaleCommand::TaskReset));
}

void CTransThread::RequestNext()
{
    const DataKindInfo* kind = KindOfStep(m_step);
    std::uint32_t number = 0;
    if (m_step == S::PreRequest)
        number = static_cast<std::uint32_t>(m_job.rows ? m_job.rows->presetReadPage : 0);
    else if (m_tally.requestsSent < m_job.requestNumbers.size())
        number = static_cast<std::uint32_t>(m_job.requestNumbers[m_tally.requestsSent]);
    ++m_tally.requestsSent;
    Send(m_step, EncodeRequestOne(kind->table, number));
}

void CTransThread::Send(TransferStep step, ByteBuffer packet)
{
    m_step = step;
    m_bAwaitingData = FALSE;
    if (m_job.direction == TransferCommand::Trans)
        m_answers.ledger.Sent(IsRecordStep(m_step), GetTickCount());
    // The packets come from the fixed-size encoders (EncodeClear ...), which
    // always give one whole packet.
    static_cast<void>(m_lastSent.Keep(std::move(packet)));
    SendPacket();
}

void CTransThread::SendAck()
{
    static_cast<void>(m_lastSent.Keep(EncodePacket(ScaleCommand::Ack))); // an empty payload always builds
    SendPacket();
}

void CTransThread::SendPacket()
{
    StartTimer(ReplyTime());
    if (m_lastSent.Length() == 0)
        return;
    const std::span<const std::uint8_t> bytes = m_lastSent.Bytes();
    // While other scales' packets wait for this thread, the send goes to the
    // sender's thread; otherwise it is written here, a hop sooner.
    m_tools->sender.Send(m_token, m_link.socket, ByteBuffer(bytes.begin(), bytes.end()),
        m_tools->timings.sendMs, m_tools->poster.WaitingJobs() == 0);
    ++m_tally.packetsSent;
    m_pOwner->LogSent(CString::Formatted("IP address = %s.....Data Sending......Packet Num = %5ld",
        m_job.ipAddress, static_cast<long>(m_tally.packetsSent)));
}

void CTransThread::StartTimer(UINT ms)
{
    m_reentry.timeout = FALSE;
    ::SetTimer(m_pOwnerView->GetTransferWindow(), static_cast<UINT_PTR>(m_job.timerId),
        ms != 0 ? ms : m_tools->timings.replyMs);
}

void CTransThread::StopTimer()
{
    m_reentry.timeout = FALSE;
    ::KillTimer(m_pOwnerView->GetTransferWindow(), static_cast<UINT_PTR>(m_job.timerId));
}

void CTransThread::TimedOut()
{
    StopTimer();
    if (IsClosed())
        return;
    if (m_answers.wait != AnswerWait::None) {
        // The owed answers whose time has passed are owed no more.
        if (const UINT left = m_answers.ledger.WaitOn(GetTickCount()); left > 0)
            StartTimer(left);
        else if (m_answers.wait == AnswerWait::Copies)
            ProceedAfterAnswer();
        else
            EndAfterGrace();
        return;
    }
    // A Stop's packet in flight got no answer by its deadline.
    m_tally.unanswered = m_pOwnerView->GetEthernetStop() && IsAnswerDue() && IsRecordStep(m_step);
    if (StopRequested())
        return;
    if (m_resends.MayResend()) {
        m_resends.Count();
        if (m_job.direction == TransferCommand::Recv)
            m_copies.Resent(!IsOneRecordRequest(m_step)); // the scale may answer both sends
        else
            m_answers.ledger.Resent(GetTickCount());
        SendPacket();
        return;
    }
    m_resends.Reset();
    CloseScale();
    MessageBox(NamedForBox(m_job, "3 times out"), MB_OK);
    MessageBox(m_tally.Summary(m_job, "No answer"), MB_OK | MB_ICONEXCLAMATION);
}

void CTransThread::CloseScale()
{
    StopTimer();
    m_bAwaitingData = FALSE;
    m_step = S::Close;
    m_pOwner->NoteJobEnding();
    m_link.shutDown.store(1);
    if (m_link.connected.load())
        m_tools->sender.ShutDown(m_token, m_link.socket); // after the job's packets queued before
    else
        m_link.socket.ShutDown();
    if (m_bActive) {
        m_bActive = FALSE;
        m_pOwner->JobActive(FALSE);
    }
    m_pOwner->LogSent(m_link.connected.load()
            ? CString::Formatted("IP address = %s.....Data Send Finished", m_job.ipAddress)
            : CString::Formatted("IP address = %s.....Not Connected, Nothing Sent", m_job.ipAddress));
}

int CTransThread::MessageBox(const CString& text, UINT type)
{
    return m_pOwner->JobMessageBox(text, type);
}
