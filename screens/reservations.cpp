// The work screen's reservations: the files at start-up, the stored
// reservations' threads, the setup and list dialogs, and the routing of the
// threads' socket messages (1624) and reply timers (600 + slot).

#include "screens/reservations.h"

#include "db/reservation_dao_helper.h"
#include "db/store_paths.h"
#include "ethernet/reservation_dialogs.h"
#include "ethernet/reservation_thread.h"
#include "grid/grid_ctrl.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/record_values.h"
#include "resources/calvorn_ids.h"
#include "screens/work_screen_context.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"

namespace {

constexpr UINT kReservationFlashMs = 15;
constexpr const char* kTableFull
    = "No more reservations can wait: 180 are running. Delete a reservation first.";
// The lamps and labels a running reservation shows.
constexpr int kRunningControls[] = { IDC_WORK_RESERVATION_LAMP, IDC_WORK_RESV_SEND_LAMP,
    IDC_WORK_RESV_RECV_LAMP, IDC_WORK_RESV_PC_LABEL, IDC_WORK_RESV_SCALE_LABEL, IDC_WORK_RESERVATION_LABEL };

// Every row of sql on the reservation database, in order.
std::vector<ReservationRow> ReadRows(CReservationDaoHelper& dao, const CString& sql)
{
    std::vector<ReservationRow> rows;
    for (int index = 0;; ++index) {
        const CString text = dao.GetRecordAt(sql, index);
        if (text == kDbNoRows || text.IsEmpty())
            break;
        rows.push_back(SplitReservationRow(text));
    }
    return rows;
}

} // namespace

CReservations::CReservations(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    std::function<int()> transferActive)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_transferActive(std::move(transferActive))
{ }

CReservations::~CReservations()
{
    EndReservationThreads();
}

const MessageMap* CReservations::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CReservations::OnReservationInfoView>(IDC_WORK_RESERVATION_VIEW),
            OnCommandMsg<&CReservations::OnReservationSetup>(IDC_WORK_RESERVATION_SETUP),
            OnMessage<&CReservations::OnReservationSocketData>(WM_RESV_SOCKET_DATA),
        });
    return &kMap;
}

void CReservations::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_RESERVATION_SETUP, m_btnSetup);
    DDX_Control(dx, IDC_WORK_RESV_SEND_LAMP, m_lampSend);
    DDX_Control(dx, IDC_WORK_RESV_RECV_LAMP, m_lampRecv);
    DDX_Control(dx, IDC_WORK_RESERVATION_LAMP, m_lampReservation);
    DDX_Control(dx, IDC_WORK_RESV_PC_LABEL, m_labelSend);
    DDX_Control(dx, IDC_WORK_RESV_SCALE_LABEL, m_labelRecv);
    DDX_Control(dx, IDC_WORK_RESERVATION_VIEW, m_btnView);
    DDX_Control(dx, IDC_WORK_RESERVATION_LABEL, m_labelRunning);
}

void CReservations::Start()
{
    m_lampReservation.SetImage(32, 0, 0);
    m_lampSend.SetImage(32, 1, 0);
    m_lampRecv.SetImage(32, 1, 0);
    if (m_pList)
        return;
    m_pList = new CReservationListDlg;
    m_pList->SetHost(this);
    m_pList->Create(IDD_RESERVATION_LIST, nullptr);
    // A store that could not be made was told; it is not read.
    if (WriteReservationReport())
        LoadReservations();
}

BOOL CReservations::WriteReservationReport()
{
    MakeDirectoryPath(kManagerFolder);
    const BOOL made = ProvisionDatabaseFile(kReservationTemplateId, kReservationDatabase);
    MakeDirectoryPath(kReservationReportFolder);
    try {
        CFile report(kReservationReportPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        report.Close();
    } catch (CException* e) {
        ExceptionPtr hold(e);
    }
    return made;
}

void CReservations::LoadReservations()
{
    CReservationDaoHelper dao;
    if (!dao.OpenDatabase(kReservationDatabase))
        return;
    // Every row is read before any is deleted: a delete that fails leaves its
    // row, and the next row is still reached.
    const std::vector<ReservationRow> rows = ReadRows(dao, ReservationReadSql());
    const ReservationClockTime now = LocalClockTime(std::chrono::system_clock::to_time_t(AfxNow()));
    std::vector<ReservationRow> start;
    for (const ReservationRow& row : rows) {
        if (IsReservationExpired(row, now)) {
            dao.Execute(DeleteReservationSql(row.Number()));
            if (row.Kind() == DataKind::Item)
                dao.Execute(DeleteReservationItemsSql(row.Number()));
        } else if (row.Period() == kPeriodOnce || row.Period() == kPeriodEveryDay) {
            start.push_back(row);
        }
    }
    dao.CloseDatabase();
    for (const ReservationRow& row : start)
        StartReservationTransfer(row);
}

CReservationTransThread* CReservations::GetReservationThread(std::size_t slot) const
{
    return slot < m_threads.size() ? m_threads[slot] : nullptr;
}

int CReservations::StartReservationTransfer(const ReservationRow& row)
{
    for (int id : kRunningControls)
        if (CWnd* control = m_screen.Form().GetDlgItem(id))
            control->ShowWindow(SW_SHOW);
    std::size_t slot = 0;
    for (; slot < m_threads.size(); ++slot) {
        CReservationTransThread*& thread = m_threads[slot];
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
    if (slot == m_threads.size())
        m_threads.push_back(nullptr);
    m_threads[slot] = thread;
    thread->SetOwnerView(this);
    thread->SetReservation(row);
    thread->SetTimerId(kReservationTimerBase + slot);
    thread->ResumeThread();
    return static_cast<int>(slot);
}

void CReservations::CollectSelectedItemNumbers(std::vector<int>& numbers) const
{
    const CGridCtrl& grid = m_grid.Grid();
    numbers.assign(kReservationItemLimit, 0);
    std::size_t count = 0;
    for (const int r : grid.PickRows(PickRule::Transfer).rows) {
        if (count == kReservationItemLimit)
            break;
        const int number = ScaleAtol(grid.GetItemText(r, 1).GetString());
        if (number != 0)
            numbers[count++] = number;
    }
}

void CReservations::OnReservationSetup()
{
    CReservationSetupDlg dialog(&m_screen.Form());
    ReservationSetupInput input { m_screen.UserId(), m_screen.Hint(), m_data.ItemDbPath(), {} };
    CollectSelectedItemNumbers(input.itemNumbers);
    dialog.SetInput(std::move(input));
    if (dialog.DoModal() != IDOK)
        return;
    CReservationDaoHelper dao;
    if (!dao.OpenDatabase(kReservationDatabase))
        return;
    const std::vector<ReservationRow> rows = ReadRows(dao, ReservationReadSql(dialog.GetNumber()));
    dao.CloseDatabase();
    for (const ReservationRow& row : rows)
        StartReservationTransfer(row);
}

void CReservations::OnReservationInfoView()
{
    if (!m_pList)
        return;
    m_pList->Reload(m_screen.UserId());
    m_pList->ShowWindow(SW_SHOWNA);
}

CReservationTransThread* CReservations::FindReservationThread(UINT_PTR token) const
{
    for (CReservationTransThread* thread : m_threads)
        if (thread && thread->GetJobToken() == token)
            return thread;
    return nullptr;
}

LRESULT CReservations::OnReservationSocketData(WPARAM token, LPARAM)
{
    if (CReservationTransThread* thread = FindReservationThread(static_cast<UINT_PTR>(token)))
        thread->OnSocketData();
    return 1;
}

BOOL CReservations::OnReservationTimer(UINT_PTR id)
{
    if (id < kReservationTimerBase || id >= kReservationTimerBase + kReservationSlots)
        return FALSE;
    if (CReservationTransThread* thread = GetReservationThread(id - kReservationTimerBase))
        thread->OnReplyTimeout();
    else
        m_screen.Form().KillTimer(id);
    return TRUE;
}

HWND CReservations::GetReservationWindow() const
{
    return m_screen.Form().GetSafeHwnd();
}

CString CReservations::GetLoggedInManagerId() const
{
    return m_screen.UserId();
}

void CReservations::FlashReservationLamp()
{
    if (m_lampReservation.GetSafeHwnd())
        m_lampReservation.Flash(kReservationFlashMs);
}

void CReservations::CancelReservationThreads(long number)
{
    for (CReservationTransThread* thread : m_threads)
        if (thread && thread->GetReservationNumber() == number)
            thread->Cancel();
}

void CReservations::EndReservationThreads()
{
    for (CReservationTransThread*& thread : m_threads) {
        if (!thread)
            continue;
        thread->Cancel();
        if (thread->m_hThread)
            WaitForSingleObject(thread->m_hThread, INFINITE);
        delete thread;
        thread = nullptr;
    }
    if (m_pList) {
        m_pList->DestroyWindow();
        delete m_pList;
        m_pList = nullptr;
    }
}
