#pragma once
// CReservations: the work screen's reservations. It prepares the reservation
// files at start-up, starts a thread for every stored reservation that is
// still to run and for every one the setup dialog adds, routes the threads'
// socket messages (1624) and reply timers (600 + slot) to them, shows the
// Reservation Info List (217) and flashes the reservation lamps. It takes
// the commands Reservation Setup (1117) and Reservation Info View (1116) and
// message 1624, and owns their buttons and the lamps' labels (1047, 1048,
// 1129). It is the threads' and the list's host, and it ends every thread
// before it goes (the view ends it first). It knows the screen through its
// state, grid and database interfaces only, and reads the transfers' active
// count through a function it is given. UI thread.

#include <functional>
#include <vector>

#include "controls/status_lamp.h"
#include "controls/xp_button.h"
#include "ethernet/reservation_host.h"
#include "platform/base/types.h"
#include "platform/wnd/controls/static.h"
#include "platform/wnd/core/cmdtarget.h"

class CDataExchange;
class CReservationListDlg;
class CReservationTransThread;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;
struct ReservationRow;

class CReservations : public CCmdTarget, private CReservationHost {
public:
    // transferActive tells, from any thread, whether an interactive transfer
    // runs (the threads wait while it does).
    CReservations(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        std::function<int()> transferActive);
    // Ends every thread (waiting for it) and destroys the list.
    ~CReservations() override;

    const MessageMap* GetMessageMap() const override;
    // Binds the lamps 1040, 1045 and 1046, their labels and the buttons of
    // the form.
    void DoDataExchange(CDataExchange* dx);
    // Once the form exists: the lamps' pictures, the list dialog, the files,
    // the stored reservations' threads.
    void Start();

    // Start-up: the folders, the reservation database and the report file;
    // FALSE when the database could not be made (told).
    BOOL WriteReservationReport();
    // Start-up: expired once-reservations deleted, a thread for every other
    // once and every-day reservation.
    void LoadReservations();
    // One thread for the row in the first free slot (timer 600 + slot); the
    // slot, or -1 when every slot holds a running reservation (with a message).
    int StartReservationTransfer(const ReservationRow& row);
    // Item numbers of the picked grid rows (ended by 0, at most 1000).
    void CollectSelectedItemNumbers(std::vector<int>& numbers) const;

    // The timers 600 + slot; FALSE for a timer id of another range.
    BOOL OnReservationTimer(UINT_PTR id);

    // The thread in slot, or nullptr; the list dialog.
    CReservationTransThread* GetReservationThread(std::size_t slot) const;
    CReservationListDlg* GetReservationListDlg() const { return m_pList; }

private:
    // Command 1117: the setup dialog for the picked rows' items, then a thread
    // for each row of the new reservation.
    void OnReservationSetup();
    // Command 1116: the list, refilled for the logged-in manager.
    void OnReservationInfoView();
    // Message 1624 (wParam = a job token).
    LRESULT OnReservationSocketData(WPARAM token, LPARAM lParam);

    // CReservationHost
    HWND GetReservationWindow() const override;
    int GetTransferActive() const override { return m_transferActive(); }
    CString GetLoggedInManagerId() const override;
    void FlashReservationLamp() override;
    void CancelReservationThreads(long number) override;

    CReservationTransThread* FindReservationThread(UINT_PTR token) const;
    void EndReservationThreads();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    std::function<int()> m_transferActive;
    CReservationListDlg* m_pList = nullptr;
    std::vector<CReservationTransThread*> m_threads;
    CStatusLamp m_lampReservation; // IDC_WORK_RESERVATION_LAMP
    CStatusLamp m_lampSend; // IDC_WORK_RESV_SEND_LAMP
    CStatusLamp m_lampRecv; // IDC_WORK_RESV_RECV_LAMP
    CStatic m_labelSend; // IDC_WORK_RESV_PC_LABEL
    CStatic m_labelRecv; // IDC_WORK_RESV_SCALE_LABEL
    CStatic m_labelRunning; // IDC_WORK_RESERVATION_LABEL
    CXPButton m_btnSetup; // IDC_WORK_RESERVATION_SETUP
    CXPButton m_btnView; // IDC_WORK_RESERVATION_VIEW
};
