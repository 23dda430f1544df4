// The work screen's reservations: the files at start-up, the stored
// reservations' threads, the setup and list dialogs, and the routing of the
// threads' socket messages (1624) and reply timers (600 + slot).

#include <algorithm>

#include "db/reservation_dao_helper.h"
#include "ethernet/record_values.h"
#include "ethernet/reservation_dialogs.h"
#include "ethernet/reservation_thread.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/wnd/msgbox.h"
#include "screens/kind_of_view.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"

namespace {

constexpr UINT kReservationFlashMs = 15;
constexpr const char* kTableFull
    = "No more reservations can wait: 180 are running. Delete a reservation first.";

} // namespace

void CKindOfView::WriteReservationReport()
{
    MakeDirectoryPath(kManagerFolder);
    ProvisionDatabaseFile(kReservationTemplateId, kReservationDatabasePath);
    MakeDirectoryPath(kReservationReportFolder);
    try {
        CFile report(kReservationReportPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        report.Close();
    } catch (CException* e) {
        ExceptionPtr hold(e);
    }
}

void CKindOfView::LoadReservations()
{
    CReservationDaoHelper dao;
    if (!dao.OpenDatabase(kReservationDatabasePath))
        return;
    // Every row is read before any is deleted: a delete that fails leaves its
    // row, and the next row is still reached.
    const CString sql = ReservationReadSql();
    std::vector<ReservationRow> rows;
    for (int index = 0;; ++index) {
        const CString text = dao.GetRecordAt(sql, index);
        if (text == kDbNoRows || text.IsEmpty())
            break;
        rows.push_back(SplitReservationRow(text));
    }
    const ReservationClockTime now = LocalClockTime(std::chrono::system_clock::to_time_t(AfxNow()));
    std::vector<ReservationRow> start;
    for (const ReservationRow& row : rows) {
        if (IsReservationExpired(row, now)) {
            dao.Execute(DeleteReservationSql(row.Number()));
            if (row.Kind() == kReservationKindItem)
                dao.Execute(DeleteReservationItemsSql(row.Number()));
        } else if (row.Period() == kPeriodOnce || row.Period() == kPeriodEveryDay) {
            start.push_back(row);
        }
    }
    dao.CloseDatabase();
    for (const ReservationRow& row : start)
        StartReservationTransfer(row);
}

CReservationTransThread* CKindOfView::GetReservationThread(std::size_t slot) const
{
    return slot < m_reservationThreads.size() ? m_reservationThreads[slot] : nullptr;
}

int CKindOfView::StartReservationTransfer(const ReservationRow& row)
{
    ShowControls({ 1040, 1045, 1046, 1047, 1048, 1129 }, TRUE);
    std::size_t slot = 0;
    for (; slot < m_reservationThreads.size(); ++slot) {
        CReservationTransThread*& thread = m_reservationThreads[slot];
        if (!thread)
            break;
        if (thread->HasEnded()) {
            delete thread;
            thread = nullptr;
            break;
        }
    }
    if (slot == kReservationSlots) {
        AfxMessageBox(kTableFull);
        return -1;
    }
    auto* thread = AfxBeginThread<CReservationTransThread>(THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    if (!thread)
        return -1;
    if (slot == m_reservationThreads.size())
        m_reservationThreads.push_back(nullptr);
    m_reservationThreads[slot] = thread;
    thread->SetOwnerView(this);
    thread->SetReservation(row);
    thread->SetTimerId(kReservationTimerBase + slot);
    thread->ResumeThread();
    return static_cast<int>(slot);
}

void CKindOfView::CollectSelectedItemNumbers(std::vector<int>& numbers) const
{
    numbers.assign(kReservationItemLimit, 0);
    std::size_t count = 0;
    for (const int r : PickedRows(GridPickState(m_grid), m_grid.GetRowCount(), PickRule::Transfer)) {
        if (count == kReservationItemLimit)
            break;
        const int number = ScaleAtol(m_grid.GetItemText(r, 1).GetString());
        if (number != 0)
            numbers[count++] = number;
    }
}

void CKindOfView::OnReservationSetup()
{
    CReservationSetupDlg dialog(this);
    dialog.m_strManagerId = m_strUserId;
    dialog.m_nKind = m_nHint;
    dialog.m_strItemDbPath = m_strItemDbPath;
    CollectSelectedItemNumbers(dialog.m_itemNumbers);
    if (dialog.DoModal() != IDOK)
        return;
    CReservationDaoHelper dao;
    if (!dao.OpenDatabase(kReservationDatabasePath))
        return;
    std::vector<ReservationRow> rows;
    const CString sql = ReservationReadSql(dialog.m_lNumber);
    for (int index = 0;; ++index) {
        const CString text = dao.GetRecordAt(sql, index);
        if (text == kDbNoRows || text.IsEmpty())
            break;
        rows.push_back(SplitReservationRow(text));
    }
    dao.CloseDatabase();
    for (const ReservationRow& row : rows)
        StartReservationTransfer(row);
}

void CKindOfView::OnReservationInfoView()
{
    CReservationListDlg* list = m_pReservationList;
    if (!list)
        return;
    list->m_list.DeleteAllItems();
    list->m_list.DeleteColumn(0);
    list->m_strManagerId = m_strUserId;
    list->LoadReservations();
    list->ShowWindow(SW_SHOWNA);
}

CReservationTransThread* CKindOfView::FindReservationThread(UINT_PTR token) const
{
    for (CReservationTransThread* thread : m_reservationThreads)
        if (thread && thread->GetJobToken() == token)
            return thread;
    return nullptr;
}

LRESULT CKindOfView::OnReservationSocketData(WPARAM wParam, LPARAM)
{
    if (CReservationTransThread* thread = FindReservationThread(static_cast<UINT_PTR>(wParam)))
        thread->OnSocketData();
    return 1;
}

BOOL CKindOfView::OnReservationTimer(UINT_PTR id)
{
    if (id < kReservationTimerBase || id >= kReservationTimerBase + kReservationSlots)
        return FALSE;
    if (CReservationTransThread* thread = GetReservationThread(id - kReservationTimerBase))
        thread->OnReplyTimeout();
    else
        KillTimer(id);
    return TRUE;
}

void CKindOfView::FlashReservationLamp()
{
    if (m_lampReservation.GetSafeHwnd())
        m_lampReservation.Flash(kReservationFlashMs);
}

void CKindOfView::CancelReservationThreads(long number)
{
    for (CReservationTransThread* thread : m_reservationThreads)
        if (thread && thread->GetReservationNumber() == number)
            thread->Cancel();
}

void CKindOfView::EndReservationThreads()
{
    for (CReservationTransThread*& thread : m_reservationThreads) {
        if (!thread)
            continue;
        thread->Cancel();
        if (thread->m_hThread)
            WaitForSingleObject(thread->m_hThread, INFINITE);
        delete thread;
        thread = nullptr;
    }
    if (m_pReservationList) {
        m_pReservationList->DestroyWindow();
        delete m_pReservationList;
        m_pReservationList = nullptr;
    }
}
