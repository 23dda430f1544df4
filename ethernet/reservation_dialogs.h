#pragma once
// The reservation dialogs: Reservation Setup (215) stores a reservation, one
// row per chosen scale and, for items, a copy of each picked item; Scale List
// (216) picks the scales; Reservation Info List (217, modeless, owned by the
// work screen) lists the rows and deletes a reservation. Every database access
// goes through the dialog's own CReservationDaoHelper. UI thread.

#include <vector>

#include "controls/icon_button.h"
#include "controls/two_list_picker.h"
#include "db/reservation_dao_helper.h"
#include "ethernet/reservation_rules.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

class CReservationHost;

inline constexpr std::size_t kReservationItemLimit = 1000;
inline constexpr std::size_t kReservationScaleLimit = 100;

// What the work screen hands the setup dialog before DoModal.
struct ReservationSetupInput {
    CString managerId;
    int kind = 0; // the screen's hint number, stored as the reservation's kind
    CString itemDbPath;
    std::vector<int> itemNumbers; // ended by the first 0, at most 1000 used
};

class CReservationSetupDlg : public CDialog {
public:
    explicit CReservationSetupDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnScales();
    void OnOnce();
    void OnEveryDay();
    // 0 Once, 1 Every day, 2 WEEK (0 when none is checked).
    int GetPeriod() const;
    // The first number n = 1, 2, ... with no row in [Reservation_Table]; 0 when
    // the database cannot be opened.
    long IsNumberFree();
    void SetupItemGrid();
    void FillItemGrid();

    void SetInput(ReservationSetupInput input);
    // The stored reservation's number, after IDOK.
    long GetNumber() const { return m_lNumber; }
    // The scales chosen in the last Scale List.
    int GetScaleCount() const { return m_nScaleCount; }

private:
    CString ItemText(int id) const;
    void Refuse(const ReservationCheck& check);
    void SetDateEdits(BOOL enable, const char* text);

    ReservationSetupInput m_input;
    long m_lNumber = 0;
    int m_nPeriod = 0;
    int m_nDirection = 0;
    int m_nScaleCount = 0;
    std::vector<CString> m_scaleLines;

    CGridCtrl m_grid; // IDC_RESV_ITEM_GRID
    CReservationDaoHelper m_dao;
    CIconButton m_okButton;
    CIconButton m_cancelButton;
};

class CScaleListDlg : public CDialog {
public:
    explicit CScaleListDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void FillScaleList();
    void OnSelect();
    void OnRemove();
    void OnAllSelect();
    // The text behind "IP=" of a list line.
    static CString GetChosenAddress(const CString& line);

    // DbReplyRow text of [scale_name], [ip] rows, or "FALSE"; before DoModal.
    void SetRows(const CString& rows) { m_strRows = rows; }
    // After IDOK: the chosen addresses, each followed by CR LF, and their count.
    const CString& GetResult() const { return m_strResult; }
    int GetCount() const { return m_nCount; }

private:
    CString m_strRows;
    CString m_strResult;
    int m_nCount = 0;

    CListBox m_listAll; // IDC_SCALE_LIST_ALL
    CListBox m_listChosen; // IDC_SCALE_LIST_CHOSEN
    CTwoListPicker m_picker { m_listAll, m_listChosen };
    CIconButton m_okButton;
    CIconButton m_cancelButton;
    CIconButton m_selectButton;
    CIconButton m_removeButton;
};

class CReservationListDlg : public CDialog {
public:
    explicit CReservationListDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Hides the dialog.
    void OnOK() override;
    void OnCancel() override;

    void SetHost(CReservationHost* host) { m_pHost = host; }
    // Inserts the column and appends one line per row of the manager's
    // reservations.
    void LoadReservations();
    // Empties the list and loads the manager's reservations anew.
    void Reload(const CString& managerId);
    const CString& GetManagerId() const { return m_strManagerId; }
    void OnDelete();
    void OnItemClick(NMHDR* header, LRESULT* result);

private:
    CString m_strManagerId;
    int m_nClickedItem = -1;
    CListCtrl m_list; // IDC_RESV_LIST
    CReservationDaoHelper m_dao;
    CReservationHost* m_pHost = nullptr;
};
