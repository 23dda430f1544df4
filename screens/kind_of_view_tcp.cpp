// The work screen's transfer seams: the transport of the commands, message
// 1324 to the transfer glue.

#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"

void CKindOfView::SetTransferPort(CTransferPort* port)
{
    m_pTransfers->SetTransferPort(port);
}

LRESULT CKindOfView::OnTransSocketData(WPARAM token, LPARAM)
{
    m_pTransfers->OnTransSocketData(static_cast<UINT_PTR>(token));
    return 1;
}
