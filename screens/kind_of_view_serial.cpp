// The work screen's serial messages 1224-1227: the transfer glue hands them to
// the serial transfer.

#include "screens/kind_of_view.h"
#include "screens/transfer_glue.h"

LRESULT CKindOfView::OnSerialPortOpened(WPARAM, LPARAM)
{
    return m_pTransfers->OnSerialMessage(WM_SERIAL_PORT_OPENED);
}

LRESULT CKindOfView::OnSerialPortOpenFailed(WPARAM, LPARAM)
{
    return m_pTransfers->OnSerialMessage(WM_SERIAL_PORT_OPEN_FAILED);
}

LRESULT CKindOfView::OnSerialSessionEnd(WPARAM, LPARAM)
{
    return m_pTransfers->OnSerialMessage(WM_SERIAL_SESSION_END);
}

LRESULT CKindOfView::OnSerialSessionError(WPARAM, LPARAM)
{
    return m_pTransfers->OnSerialMessage(WM_SERIAL_SESSION_ERROR);
}
