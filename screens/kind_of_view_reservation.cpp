// The work screen's reservation handlers: commands 1116 and 1117 and message
// 1624 go to the reservations.

#include "ethernet/reservation_thread.h"
#include "screens/kind_of_view.h"
#include "screens/reservations.h"

void CKindOfView::OnReservationSetup()
{
    m_pReservations->OnReservationSetup();
}

void CKindOfView::OnReservationInfoView()
{
    m_pReservations->OnReservationInfoView();
}

LRESULT CKindOfView::OnReservationSocketData(WPARAM wParam, LPARAM)
{
    m_pReservations->OnReservationSocketData(static_cast<UINT_PTR>(wParam));
    return 1;
}
