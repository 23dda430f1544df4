#include "ethernet/transfer_jobs.h"

#include <algorithm>

#include "ethernet/eth_trans_status_dlg.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/wnd.h"

CTransferJobs::CTransferJobs(CTransferHost& host, TransferTimings timings)
    : m_host(host)
    , m_timings(timings)
    , m_poster(host.GetTransferWindow(), WM_TRANS_SOCKET_DATA)
    , m_slots(kMaxTransferJobs, 0)
{ }

CTransferJobs::~CTransferJobs()
{
    // The host may be going away: no timers or flags of it are touched.
    for (auto& [token, job] : m_jobs)
        job->Abandon();
    for (auto& [token, job] : m_jobs) {
        job->WaitForThread();
        m_poster.Forget(token);
        m_sender.Forget(token);
    }
}

BOOL CTransferJobs::Check(const TransferOrder& order, std::size_t count)
{
    const auto refuse = [this](const char* text) {
        MessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    };
    Reap();
    if (m_nActive > 0)
        return refuse("A transfer is still running. Wait until it ends.");
    if (count > static_cast<std::size_t>(kMaxTransferJobs))
        return refuse("At most 180 scales can take part in one transfer.");
    if (order.receiveNumbers.size() > kMaxRequestNumbers)
        return refuse("At most 999 numbers can be read at once.");
    if (!FirstTransferStep(order.command, order.kind, order.scope))
        return refuse("This data cannot be transferred this way.");
    return TRUE;
}

BOOL CTransferJobs::Start(const TransferOrder& order)
{
    return Check(order, order.scales.size()) && Launch(order, 0, order.scales.size());
}

BOOL CTransferJobs::StartScale(const TransferOrder& order, std::size_t at)
{
    return at < order.scales.size() && Check(order, 1) && Launch(order, at, 1);
}

BOOL CTransferJobs::Launch(const TransferOrder& order, std::size_t first, std::size_t count)
{
    std::vector<CTransThread*> started;
    for (std::size_t i = 0; i < count; ++i) {
        auto* job = AfxBeginThread<CTransThread>(THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
        if (job == nullptr)
            continue; // no thread: this scale is left out
        const OrderScale& scale = order.scales[first + i];
        const UINT_PTR token = m_nextToken++;
        TransferRequest request;
        if (order.command == TransferCommand::Recv)
            request.dbPath = scale.database.IsEmpty() ? order.targetDatabase : scale.database;
        request.prepareDb = order.prepareDb;
        request.ipAddress = scale.address;
        request.scaleName = scale.name;
        request.rows = order.rows;
        request.direction = order.command;
        request.kind = order.kind;
        request.selection = order.scope;
        request.language = order.languageIndex;
        request.timerId = static_cast<int>(kFirstTransferTimer + i);
        request.requestNumbers = order.receiveNumbers;
        request.scaleCount = order.scales.size();
        job->SetJob(
            &m_host, this, TransferJobTools { m_poster, m_sender, m_database, m_timings }, token, request);
        m_slots[i] = token;
        m_jobs.emplace(token, std::unique_ptr<CTransThread>(job));
        started.push_back(job);
    }
    if (started.empty())
        return FALSE;
    if (m_pStatus != nullptr)
        m_pStatus->BeginTransfer();
    for (CTransThread* job : started) {
        job->Begin();
        job->ResumeThread();
    }
    return TRUE;
}

void CTransferJobs::OnSocketData(UINT_PTR token)
{
    if (CTransThread* job = Find(token)) {
        ++m_nDispatchDepth;
        job->OnSocketData();
        ResumeHeld();
        --m_nDispatchDepth;
    }
    Reap();
}

BOOL CTransferJobs::OnTimer(UINT id)
{
    if (id < kFirstTransferTimer || id > kLastTransferTimer)
        return FALSE;
    CTransThread* job = InSlot(static_cast<int>(id - kFirstTransferTimer));
    if (job == nullptr || job->IsClosed() || job->GetTimerId() != static_cast<int>(id)) {
        ::KillTimer(m_host.GetTransferWindow(), id);
        return TRUE;
    }
    ++m_nDispatchDepth;
    job->OnReplyTimeout();
    ResumeHeld();
    --m_nDispatchDepth;
    Reap();
    return TRUE;
}

int CTransferJobs::MessageBox(const CString& text, UINT type)
{
    ++m_nModalDepth;
    ++m_nDispatchDepth;
    const int answer = AfxMessageBox(text, type);
    --m_nModalDepth;
    ResumeHeld();
    --m_nDispatchDepth;
    return answer;
}

void CTransferJobs::ResumeHeld()
{
    // Jobs may end while resuming: walk a copy of the tokens.
    std::vector<UINT_PTR> held;
    for (const auto& [token, job] : m_jobs) {
        if (job->IsHeld() && !job->IsBusy())
            held.push_back(token);
    }
    for (UINT_PTR token : held) {
        if (CTransThread* job = Find(token); job != nullptr && !job->IsBusy())
            job->ResumeHeld();
    }
}

void CTransferJobs::SetStatusDialog(CEthTransStatusDlg* dialog)
{
    if (m_pStatus != nullptr)
        m_pStatus->SetStopHandler(nullptr);
    m_pStatus = dialog;
    if (m_pStatus != nullptr)
        m_pStatus->SetStopHandler([this] { ObeyStop(); });
}

void CTransferJobs::ObeyStop()
{
    std::vector<UINT_PTR> tokens;
    for (const auto& [token, job] : m_jobs)
        tokens.push_back(token);
    ++m_nDispatchDepth;
    for (UINT_PTR token : tokens) {
        // A job on the stack (its box is open) sees the flag when it goes on.
        if (CTransThread* job = Find(token); job != nullptr && !job->IsBusy())
            job->ObeyStop();
    }
    --m_nDispatchDepth;
    Reap();
}

void CTransferJobs::JobActive(BOOL active)
{
    const int before = m_nActive;
    m_nActive += active ? 1 : -1;
    if (before == 0 && m_nActive > 0)
        m_host.SetTransferActive(1);
    else if (before > 0 && m_nActive == 0)
        m_host.SetTransferActive(0);
}

void CTransferJobs::LogSent(const CString& line)
{
    if (m_pStatus != nullptr)
        m_pStatus->AddSent(line);
}

void CTransferJobs::LogReceived(const CString& line)
{
    if (m_pStatus != nullptr)
        m_pStatus->AddReceived(line);
}

CTransThread* CTransferJobs::Find(UINT_PTR token) const
{
    const auto it = m_jobs.find(token);
    return it == m_jobs.end() ? nullptr : it->second.get();
}

CTransThread* CTransferJobs::InSlot(int slot) const
{
    if (slot < 0 || slot >= kMaxTransferJobs || m_slots[static_cast<std::size_t>(slot)] == 0)
        return nullptr;
    return Find(m_slots[static_cast<std::size_t>(slot)]);
}

void CTransferJobs::Reap()
{
    if (m_nDispatchDepth > 0 || !m_bReapDue)
        return; // a job may be on the stack, or none has ended
    m_bReapDue = FALSE;
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        CTransThread* job = it->second.get();
        if (!job->IsClosed() || !job->HasEnded()) {
            ++it;
            continue;
        }
        job->WaitForThread(); // it has posted its last item
        for (UINT_PTR& slot : m_slots) {
            if (slot == it->first)
                slot = 0;
        }
        m_poster.Forget(it->first);
        m_sender.Forget(it->first); // the socket goes with the job
        it = m_jobs.erase(it);
    }
}
