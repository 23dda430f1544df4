// The work screen's scale handlers: the register screen's list and buttons,
// the scale settings screens' buttons and the communication commands go to
// the scale screens; the settings screens' Trans sends the clicked row.

#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"

LRESULT CKindOfView::OnCommModeChanged(WPARAM wParam, LPARAM)
{
    m_scales.OnCommModeChanged(static_cast<int>(wParam));
    return 1;
}

void CKindOfView::OnCommSetup()
{
    m_scales.OnCommSetup();
}

void CKindOfView::OnComPortToggle()
{
    m_scales.OnComPortToggle();
}

void CKindOfView::OnScaleListClick(NMHDR* header, LRESULT* result)
{
    m_scales.OnScaleListClick(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    *result = 0;
}

void CKindOfView::OnScaleUpdate()
{
    m_scales.OnScaleUpdate();
}

void CKindOfView::OnScaleInsert()
{
    m_scales.OnScaleInsert();
}

void CKindOfView::OnScaleDelete()
{
    m_scales.OnScaleDelete();
}

void CKindOfView::OnScaleInfoUpdate()
{
    m_scales.OnScaleInfoUpdate();
}

void CKindOfView::OnScaleInfoInsert()
{
    m_scales.OnScaleInfoInsert();
}

void CKindOfView::OnScaleInfoDelete()
{
    m_scales.OnScaleInfoDelete();
}

void CKindOfView::OnScaleInfoTrans()
{
    // The send reads the grid row the load may still be filling.
    if (RefuseWhileBusy())
        return;
    if (m_kind == DataKind::ScaleInfo)
        m_pTransfers->SendScaleInfo();
    else if (m_kind == DataKind::ScaleRootInfo)
        m_pTransfers->SendScaleRootInfo();
}
