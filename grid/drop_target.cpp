#include "grid/drop_target.h"

#include "grid/grid_ctrl.h"

BOOL CGridDropTarget::Register(CWnd* pWnd)
{
    auto* pGridCtrl = dynamic_cast<CGridCtrl*>(pWnd);
    if (m_bRegistered || !pGridCtrl || !pGridCtrl->GetSafeHwnd())
        return FALSE;
    m_pGridCtrl = pGridCtrl;
    m_bRegistered = COleDropTarget::Register(pGridCtrl);
    return m_bRegistered;
}

void CGridDropTarget::Revoke()
{
    m_bRegistered = FALSE;
    COleDropTarget::Revoke();
}

BOOL CGridDropTarget::IsOverGrid(CWnd* pWnd) const
{
    return m_pGridCtrl && pWnd && pWnd->GetSafeHwnd() == m_pGridCtrl->GetSafeHwnd();
}

DROPEFFECT CGridDropTarget::OnDragEnter(
    CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return IsOverGrid(pWnd) ? m_pGridCtrl->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(
    CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return IsOverGrid(pWnd) ? m_pGridCtrl->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    return IsOverGrid(pWnd) ? m_pGridCtrl->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (IsOverGrid(pWnd))
        m_pGridCtrl->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint)
{
    if (!IsOverGrid(pWnd))
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
