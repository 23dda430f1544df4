#include "screens/result_loop.h"

#include "ethernet/transfer_jobs.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"
#include "transfer/transfer_rows.h"

CResultLoop::CResultLoop(CTransferJobs& jobs, HWND window)
    : m_jobs(jobs)
    , m_hWnd(window)
{ }

void CResultLoop::Start(const ResultLoopOrder& order)
{
    m_order = order;
    m_bRunning = TRUE;
    m_bPosted = FALSE;
    m_jobs.Host().SetEthernetStop(0);
    Step(0);
}

void CResultLoop::Step(int index)
{
    m_nIndex = index;
    m_token = 0;
    if (index < 0 || index >= static_cast<int>(m_order.addresses.size())) {
        m_bRunning = FALSE;
        return;
    }
    TransferJobOrder job;
    job.direction = m_order.command;
    job.kind = m_order.kind;
    job.selection = TransferScope::All;
    job.languageIndex = m_order.languageIndex;
    job.addresses = { m_order.addresses[static_cast<std::size_t>(index)] };
    if (static_cast<std::size_t>(index) < m_order.names.size())
        job.names = { m_order.names[static_cast<std::size_t>(index)] };
    job.dbPaths = { m_order.databasePath };
    job.scaleCount = m_order.addresses.size();
    // A sales-total job sends no row: the screen's manager is what it takes.
    job.rows
        = TakeTransferRows(m_jobs.Host(), job.direction, job.kind, job.selection, RecordColumns(job.kind));
    if (!m_jobs.Start(job)) {
        m_bRunning = FALSE;
        return;
    }
    if (CTransThread* started = m_jobs.InSlot(0))
        m_token = started->GetToken();
}

BOOL CResultLoop::CurrentJobEnded() const
{
    const CTransThread* job = m_jobs.Find(m_token);
    return job == nullptr || job->IsClosed();
}

void CResultLoop::PostNext()
{
    if (m_bPosted)
        return;
    m_bPosted = TRUE;
    ::PostMessage(m_hWnd, WM_RESULT_LOOP_NEXT, 0, 0);
}

void CResultLoop::OnStepDone()
{
    if (m_bRunning)
        PostNext();
}

void CResultLoop::Poke()
{
    if (m_bRunning && CurrentJobEnded())
        PostNext();
}

void CResultLoop::OnNext()
{
    m_bPosted = FALSE;
    if (!m_bRunning || !CurrentJobEnded() || m_jobs.IsShowingMessage())
        return;
    if (!m_jobs.Host().GetEthernetStop()) {
        Step(m_nIndex + 1);
        return;
    }
    m_bRunning = FALSE;
    // The scales left out are named, so none is taken for asked.
    CString left;
    for (std::size_t i = static_cast<std::size_t>(m_nIndex) + 1; i < m_order.addresses.size(); ++i) {
        const CString name = i < m_order.names.size() ? m_order.names[i] : CString();
        left += (left.IsEmpty() ? "" : ", ")
            + (name.IsEmpty() ? m_order.addresses[i]
                              : CString::Formatted("%s (%s)", name, m_order.addresses[i]));
    }
    if (!left.IsEmpty())
        AfxMessageBox("Stopped; these scales were not asked: " + left + ".", MB_OK | MB_ICONEXCLAMATION);
}
