#include "ethernet/reservation_thread.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "db/store_paths.h"
#include "ethernet/reservation_host.h"
#include "platform/base/bytes.h"
#include "platform/base/datetime.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/sync.h"
#include "protocol/scale_records.h"

namespace {

std::atomic<UINT> g_replyTimeoutMs { 3000 };
std::atomic<int> g_connectTimeoutMs { 3000 };
std::atomic<UINT_PTR> g_lastToken { 0 };
constexpr std::time_t kLongestSleep = 60; // seconds; a wait never sleeps past a minute
// The least wait, after the closing reset's answer, for answers still on their
// way; it grows with the scale's slowest answer.
constexpr UINT kLeastGraceMs = 20;

// The waiting threads, woken when the clock changes.
std::mutex g_waitersLock;
std::set<CReservationTransThread*>& Waiters()
{
    static std::set<CReservationTransThread*> waiters;
    return waiters;
}

std::time_t NowSeconds()
{
    return std::chrono::system_clock::to_time_t(AfxNow());
}

} // namespace

CReservationTransThread::CReservationTransThread()
    : m_token(++g_lastToken)
{
    m_bAutoDelete = FALSE;
    std::lock_guard<std::mutex> guard(g_waitersLock);
    Waiters().insert(this);
}

CReservationTransThread::~CReservationTransThread()
{
    {
        std::lock_guard<std::mutex> guard(g_waitersLock);
        Waiters().erase(this);
    }
    m_reader.Stop();
    delete m_pPump;
    delete m_pPoster;
}

void CReservationTransThread::SetOwnerView(CReservationHost* host)
{
    m_pHost = host;
    delete m_pPoster;
    m_pPoster = new CScalePacketPoster(host ? host->GetReservationWindow() : nullptr, WM_RESV_SOCKET_DATA);
}

void CReservationTransThread::SetReservation(const ReservationRow& row)
{
    m_row = row;
    m_number = row.Number();
    m_period = row.Period();
    m_direction = row.Direction();
    m_kind = row.Kind();
}

BOOL CReservationTransThread::HasEnded() const
{
    return m_hThread && WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0;
}

void CReservationTransThread::SetReplyTimeout(UINT milliseconds)
{
    g_replyTimeoutMs = milliseconds;
}

void CReservationTransThread::SetConnectTimeout(int milliseconds)
{
    g_connectTimeoutMs = milliseconds;
}

void CReservationTransThread::NotifyClockChanged()
{
    std::lock_guard<std::mutex> guard(g_waitersLock);
    for (CReservationTransThread* thread : Waiters()) {
        std::lock_guard<std::mutex> inner(thread->m_lock);
        thread->m_changed.notify_all();
    }
}

// ---- the reservation's own thread ------------------------------------------------

bool CReservationTransThread::WaitFor(const std::function<bool()>& done, std::time_t until)
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (done())
            return true;
        const std::time_t now = NowSeconds();
        if (until != 0 && now >= until)
            return false;
        const std::time_t left = until == 0 ? kLongestSleep : std::min(until - now, kLongestSleep);
        m_changed.wait_for(lock, std::chrono::seconds(left));
    }
}

bool CReservationTransThread::WaitUntilDue(std::int64_t& dueDay)
{
    const auto cancelled = [this] { return m_cancelled; };
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_cancelled)
                return false;
        }
        const std::time_t now = NowSeconds();
        const ReservationClockTime local = LocalClockTime(now);
        if (IsReservationDue(m_row, local, dueDay)) {
            dueDay = DayKey(local);
            return true;
        }
        if (m_period != kPeriodEveryDay && (m_period != kPeriodOnce || IsReservationExpired(m_row, local)))
            return false;
        if (WaitFor(cancelled, NextMinuteBoundary(now)))
            return false;
    }
}

void CReservationTransThread::Post(Note note)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_notes.push_back(note);
    }
    if (m_pHost)
        ::PostMessage(m_pHost->GetReservationWindow(), WM_RESV_SOCKET_DATA, m_token, 0);
}

int CReservationTransThread::Run()
{
    std::int64_t lastDueDay = 0;
    while (WaitUntilDue(lastDueDay)) {
        ++m_runs;
        Post(Note::Due);
        WaitFor([this] { return m_cancelled || m_decision != Decision::None; }, 0);
        Decision decision;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            decision = m_cancelled ? Decision::Skip : m_decision;
        }
        if (decision == Decision::Connect) {
            const IoStatus status = m_socket.Connect(m_row.address.GetString(), m_port, g_connectTimeoutMs);
            if (!status.ok()) {
                Post(Note::ConnectFailed);
            } else {
                delete m_pPump;
                m_pPump = new CScalePacketPump(*m_pPoster);
                Post(Note::Connected);
                // A reader that cannot start leaves the scale unheard: the
                // reply timer ends the run as for a silent scale.
                static_cast<void>(m_reader.Start(m_socket, *m_pPump, m_token));
            }
            WaitFor([this] { return m_cancelled || m_runEnded; }, 0);
            m_reader.Stop();
            m_socket.ShutDown(); // a write still under way ends
            m_sender.Forget(m_token);
            std::lock_guard<std::mutex> guard(m_lock);
            m_socket.Close();
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_decision = Decision::None;
        m_runEnded = false;
        if (m_period != kPeriodEveryDay || m_cancelled)
            break;
    }
    return 0;
}

// ---- the user-interface thread ---------------------------------------------------

void CReservationTransThread::Decide(Decision decision)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_decision = decision;
    m_changed.notify_all();
}

void CReservationTransThread::EndRun()
{
    m_inRun = false;
    m_connected = false;
    KillReplyTimer();
    std::lock_guard<std::mutex> guard(m_lock);
    m_runEnded = true;
    m_changed.notify_all();
}

void CReservationTransThread::Cancel()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_cancelled = true;
        if (m_socket.IsOpen())
            m_socket.ShutDown();
        m_changed.notify_all();
    }
    KillReplyTimer();
    m_inRun = false;
    m_connected = false;
    if (m_pPoster)
        m_pPoster->Forget(m_token);
}

void CReservationTransThread::OnSocketData()
{
    if (m_dispatching || !m_pPoster)
        return;
    m_dispatching = true;
    for (;;) {
        bool cancelled = false;
        bool haveNote = false;
        Note note = Note::Due;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            cancelled = m_cancelled;
            if (!m_notes.empty()) {
                note = m_notes.front();
                m_notes.pop_front();
                haveNote = true;
            }
        }
        if (cancelled)
            break;
        if (haveNote) {
            HandleNote(note);
            continue;
        }
        CScalePacketPoster::Item item;
        if (!m_pPoster->Take(m_token, item))
            break;
        HandleItem(item);
    }
    m_dispatching = false;
}

void CReservationTransThread::HandleNote(Note note)
{
    switch (note) {
    case Note::Due:
        // What is still queued belongs to an earlier run.
        m_pPoster->Forget(m_token);
        m_inRun = true;
        m_step = TransferStep::Open;
        m_report.Empty();
        m_resends.Reset();
        m_nextItem = m_itemTotal = m_itemsSent = m_itemsAcked = 0;
        m_refusal.Empty();
        m_unmatched = false;
        m_wait = Wait::None;
        m_answerCode = 0;
        m_ledger.Clear();
        m_ledger.SetReplyTime(g_replyTimeoutMs);
        m_packet = LastSentPacket();
        if (ManagerBusy()) {
            // It did not go: the list and the report say so.
            WriteReservationReport("Because basic Communication(Stop), not sent");
            SetStatus(kStatusNotSent);
            AfxMessageBox(Named("Since the manager is proceeding with the communication, the advance "
                                "transmission is not available. The reservation was not sent."));
            m_inRun = false;
            Decide(Decision::Skip);
            return;
        }
        // The copies the run is to send, counted in every ending.
        if (m_direction == 0) {
            m_kind = DataKind::Item;
            m_itemTotal = CountItems();
        }
        Decide(Decision::Connect);
        return;
    case Note::ConnectFailed:
        WriteReservationReport("Connection Fail, " + CountText());
        m_step = TransferStep::Close;
        EndRun();
        AfxMessageBox(Named("Connection Failed, " + CountText() + "."), MB_OK | MB_ICONEXCLAMATION);
        return;
    case Note::Connected:
        m_connected = true;
        // The greeting is waited for like any reply.
        StartReplyTimer(g_replyTimeoutMs);
        return;
    }
}

void CReservationTransThread::HandleItem(const CScalePacketPoster::Item& item)
{
    if (!m_inRun)
        return;
    if (item.closed) {
        // After the closing reset's answer the scale may close: the answers
        // read so far decide the ending.
        if (m_wait == Wait::Grace) {
            EndAfterGrace();
            return;
        }
        // A hang-up or a reset is no answer: the run ends here.
        if (m_connected) {
            const CString how = item.why.Text().find("closed") != std::string::npos
                ? "Connection closed by the scale"
                : "Connection reset by the scale";
            EndWith(how, how);
        }
        return;
    }
    if (item.event.kind == ScalePacketFramer::Kind::Greeting) {
        if (m_step != TransferStep::Open)
            return;
        KillReplyTimer();
        m_resends.Reset();
        BeginTransfer();
    } else if (item.event.kind == ScalePacketFramer::Kind::Packet && m_step != TransferStep::Open) {
        DecodeReply(item.event.packet);
    }
}

void CReservationTransThread::DecodeReply(const ScalePacket& packet)
{
    // "No item" or an unknown refusal answers the send, not the copy: the
    // reply timer sends it again. Data or anything else answers nothing.
    std::uint16_t code = 0;
    const std::optional<AnswerLedger::Answer> answer = AnswerLedger::Of(packet, code);
    if (!answer)
        return;
    const AnswerLedger::Match match = m_ledger.Take(*answer, GetTickCount());
    if (m_wait == Wait::Grace) {
        // The scale is still answering; one that never stops is not waited on.
        if (m_ledger.Answers() <= 2 * m_ledger.Sends() + 2)
            BeginGrace();
        return;
    }
    if (match == AnswerLedger::Match::Packet) {
        KillReplyTimer();
        m_answerCode = *answer == AnswerLedger::Answer::Refused ? code : 0;
    }
    if (!m_ledger.IsAnswered())
        return;
    if (m_ledger.Owed() > 0 && m_step == TransferStep::PluTrans) {
        // No copy goes while an answer is owed, until its time has passed.
        m_wait = Wait::Copies;
        StartReplyTimer(std::max<UINT>(m_ledger.OwedTimeLeft(GetTickCount()), 1));
        return;
    }
    KillReplyTimer();
    Proceed();
}

void CReservationTransThread::Proceed()
{
    m_wait = Wait::None;
    m_resends.Reset();
    if (m_answerCode == 0) {
        if (m_step == TransferStep::PluTrans)
            m_itemsAcked = m_itemsSent;
        NextStep();
        return;
    }
    const char* text = NakText(m_answerCode);
    if (m_step == TransferStep::TaskReset) {
        // The closing reset refused too: no reset again; the answers still on
        // their way decide the ending.
        if (m_refusal.IsEmpty())
            m_refusal = text;
        BeginGrace();
        return;
    }
    m_refusal = text;
    SendTaskReset();
}

void CReservationTransThread::BeginGrace()
{
    m_wait = Wait::Grace;
    const DWORD now = GetTickCount();
    StartReplyTimer(std::max<UINT>(m_ledger.QuietTime(kLeastGraceMs), m_ledger.OwedTimeLeft(now)));
}

// The reset closes the run; it went through only when every copy did and
// every answer was matched to its packet.
void CReservationTransThread::EndAfterGrace()
{
    m_wait = Wait::None;
    m_ledger.GiveUpOverdue(GetTickCount());
    if (!m_ledger.IsSettled()) {
        m_itemsAcked = std::min(m_itemsAcked, static_cast<int>(m_ledger.CertainRecords()));
        m_unmatched = true;
        EndWith("Answers unmatched",
            "Trans Failed (the scale's answers could not be matched to the packets sent)");
    } else if (!m_refusal.IsEmpty()) {
        EndWith(m_refusal, "Trans Failed (" + m_refusal + ")");
    } else if (m_itemsAcked < m_itemTotal) {
        EndWith("Copies missing", "Trans Incomplete (copies missing)");
    } else {
        EndWith("OK", "");
    }
}

void CReservationTransThread::BeginTransfer()
{
    if (m_direction != 0) {
        // A receiving reservation has nothing to do after the greeting.
        m_report.Empty();
        CloseReservation();
        return;
    }
    SetStatus(kStatusTrans);
    m_kind = DataKind::Item;
    m_nextItem = 0;
    m_itemsSent = 0;
    m_itemTotal = CountItems();
    SendPluStep();
}

int CReservationTransThread::CountItems()
{
    if (m_kind != DataKind::Item || !m_dao.OpenDatabase(kReservationDatabase))
        return 0;
    const CString count = m_dao.GetValues(CountReservationItemsSql(m_number, m_row.managerId));
    m_dao.CloseDatabase();
    return count == kDbNoRows ? 0 : static_cast<int>(ScaleAtol(count.GetString()));
}

bool CReservationTransThread::ManagerBusy() const
{
    return m_pHost && m_pHost->GetTransferActive() != 0 && m_pHost->GetLoggedInManagerId() == m_row.managerId;
}

void CReservationTransThread::StopForManager()
{
    m_step = TransferStep::Close;
    EndWith("Because basic Communication(Stop)", "Trans Stopped for the manager's own transfer");
}

CString CReservationTransThread::CountText() const
{
    return CString::Formatted(
        "%d of %d records sent%s", m_itemsAcked, m_itemTotal, m_unmatched ? " for certain" : "");
}

CString CReservationTransThread::Named(const CString& text) const
{
    return CString::Formatted("Reservation %ld to %s: ", m_number, m_row.address) + text;
}

void CReservationTransThread::EndWith(const CString& report, const CString& how)
{
    m_report = report + ", " + CountText();
    CloseReservation();
    if (how.IsEmpty())
        AfxMessageBox(Named("Trans Complete"));
    else
        AfxMessageBox(Named(how + ", " + CountText() + "."), MB_OK | MB_ICONEXCLAMATION);
}

void CReservationTransThread::SendPluStep()
{
    m_step = TransferStep::PluTrans;
    if (ManagerBusy()) {
        StopForManager();
        return;
    }
    if (m_itemsSent < m_itemTotal)
        SendNextItem(m_nextItem);
    else
        SendTaskReset();
}

void CReservationTransThread::SendNextItem(int index)
{
    CString text = kDbNoRows;
    if (m_dao.OpenDatabase(kReservationDatabase)) {
        text = m_dao.GetRecordAt(ReservationItemSql(m_row.managerId, m_number), index);
        m_dao.CloseDatabase();
    }
    if (text == kDbNoRows || text.IsEmpty()) {
        // The copies went away meanwhile: end as after the last one.
        SendTaskReset();
        return;
    }
    const PluRecord record = BuildPluRecord(PluRowFromStoredItem(text.View()));
    if (!m_packet.Build(ScaleCommand::Record, record.Payload()).ok()) {
        // Never the record before in its place: end as after the last one.
        SendTaskReset();
        return;
    }
    ++m_itemsSent;
    m_nextItem = index + 1;
    m_ledger.Sent(true, GetTickCount());
    SendPacket();
}

void CReservationTransThread::SendTaskReset()
{
    static_cast<void>(m_packet.Build(ScaleCommand::TaskReset)); // no payload: always builds
    m_step = TransferStep::TaskReset;
    m_ledger.Sent(false, GetTickCount());
    SendPacket();
}

void CReservationTransThread::SendPacket()
{
    StartReplyTimer(m_ledger.AnswerTime());
    if (m_packet.Length() > 0 && m_connected) {
        const std::span<const std::uint8_t> bytes = m_packet.Bytes();
        m_sender.Send(m_token, m_socket, ByteBuffer(bytes.begin(), bytes.end()),
            static_cast<int>(g_replyTimeoutMs.load()), true);
    }
    if (m_pHost)
        m_pHost->FlashReservationLamp();
}

void CReservationTransThread::NextStep()
{
    m_resends.Reset();
    if (ManagerBusy()) {
        StopForManager();
        return;
    }
    if (m_step == TransferStep::PluTrans) {
        SendPluStep();
    } else if (m_step == TransferStep::TaskReset || m_step == TransferStep::ResetScale) {
        BeginGrace(); // the answers still on their way decide the ending
    }
}

void CReservationTransThread::StartReplyTimer(UINT ms)
{
    if (!m_pHost)
        return;
    m_timerRunning = true;
    ::SetTimer(m_pHost->GetReservationWindow(), m_timerId, ms);
}

void CReservationTransThread::KillReplyTimer()
{
    if (!m_timerRunning || !m_pHost)
        return;
    m_timerRunning = false;
    ::KillTimer(m_pHost->GetReservationWindow(), m_timerId);
}

void CReservationTransThread::OnReplyTimeout()
{
    if (!m_inRun || !m_timerRunning)
        return;
    KillReplyTimer();
    if (m_wait != Wait::None) {
        // The owed answers whose time has passed are owed no more.
        if (const UINT left = m_ledger.WaitOn(GetTickCount()); left > 0)
            StartReplyTimer(left);
        else if (m_wait == Wait::Copies)
            Proceed();
        else
            EndAfterGrace();
        return;
    }
    if (m_resends.MayResend()) {
        m_resends.Count();
        m_ledger.Resent(GetTickCount());
        SendPacket();
        return;
    }
    m_resends.Reset();
    m_step = TransferStep::Close;
    m_report = "3 times out, " + CountText();
    CloseReservation();
    AfxMessageBox(Named("3 times out"));
    AfxMessageBox(Named("No answer, " + CountText() + "."), MB_OK | MB_ICONEXCLAMATION);
}

void CReservationTransThread::WriteReservationReport(const CString& report)
{
    AppendReservationReport(ReservationReportLine(m_row, report));
}

void CReservationTransThread::SetStatus(const char* status)
{
    if (m_dao.OpenDatabase(kReservationDatabase)) {
        m_dao.Execute(ReservationStatusSql(status, m_row.managerId, m_number, m_row.address));
        m_dao.CloseDatabase();
    }
}

void CReservationTransThread::CloseReservation()
{
    WriteReservationReport(m_report);
    SetStatus(
        m_period == kPeriodOnce ? kStatusOnceEnded : (m_period == kPeriodEveryDay ? kStatusDailyEnded : ""));
    m_step = TransferStep::Close;
    if (m_connected)
        m_sender.ShutDown(m_token, m_socket); // after the packets queued before
    EndRun();
}
