#include "screens/result_loop.h"

#include "ethernet/transfer_jobs.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"

CResultLoop::CResultLoop(CTransferJobs& jobs, HWND window)
    : m_jobs(jobs)
    , m_hWnd(window)
{ }

void CResultLoop::Start(const TransferOrder& order)
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
    if (index < 0 || index >= static_cast<int>(m_order.scales.size())
        || !m_jobs.StartScale(m_order, static_cast<std::size_t>(index))) {
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
    for (std::size_t i = static_cast<std::size_t>(m_nIndex) + 1; i < m_order.scales.size(); ++i) {
        const OrderScale& scale = m_order.scales[i];
        left += (left.IsEmpty() ? "" : ", ")
            + (scale.name.IsEmpty() ? scale.address
                                    : CString::Formatted("%s (%s)", scale.name, scale.address));
    }
    if (!left.IsEmpty())
        AfxMessageBox("Stopped; these scales were not asked: " + left + ".", MB_OK | MB_ICONEXCLAMATION);
}
