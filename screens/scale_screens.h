#pragma once
// CScaleScreens: the work screen's scale concern. It owns the communication
// settings (mode, COM port, registered and chosen scales) with the
// communication dialog (141) and the settings file reader, and the scale
// register with its list (900) and buttons (901-903, children of the form).
// It takes their commands: the communication setup (32773, enabled while
// logged in), the COM port toggle (1043), the list's clicks, 901-903 and
// WM_COMMMODE_CHANGED. It is the register's and the dialog's host; the
// settings file is Auto_Comset_File.bin. The screen switch's hint 7 opens its
// dialog, the table load hands it the register's reply rows. It knows the
// screen through its state, grid and database interfaces and reads the
// log-in flag through a function it is given. UI thread.

#include <functional>
#include <memory>
#include <optional>

#include "controls/xp_button.h"
#include "db/db_request.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/core/cmdtarget.h"
#include "serial/comm_setup_dlg.h"
#include "transfer/comm_settings.h"
#include "transfer/scale_register_host.h"

class CCmdUI;
class CScaleRegister;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CScaleScreens : public CCmdTarget, private CScaleRegisterHost {
public:
    // The communication dialog is made here, its window on the form's thread.
    // loggedIn tells whether a manager is logged in (the setup's rule).
    CScaleScreens(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        std::function<int()> loggedIn);
    ~CScaleScreens() override;

    const MessageMap* GetMessageMap() const override;

    // The register the screen switch's loads and the reply rows go to.
    CScaleRegisterPort& Register();
    // Mode, port, registered and chosen scales; the COM port (1-8, 0 none)
    // the serial transfers open.
    CCommSettings& CommSettings() { return m_commSettings; }
    int GetComPort() const { return m_nComPort; }
    // The communication dialog (141), modeless, shown by OnCommSetup.
    CCommSetupDlg& CommSetupDialog() { return m_commSetupDlg; }
    // The address behind "IP=" of chosen-scale line index ("" for none).
    CString GetScaleIpFromList(int index) const;

    // ---- The register screen ------------------------------------------------------
    // List 900 and buttons 901-903 on the form (once).
    void CreateScaleRegisterControls();
    void ShowScaleRegisterControls(BOOL show);
    // Empties list 900 and forgets the clicked scale.
    void ClearScaleList();
    // Forgets the clicked scale and keeps the list.
    void ForgetClickedScale() { m_nRegisterRow = -1; }
    // Empties the list and reads the register again.
    void ReloadScaleRegister();

    // ---- Communication mode -----------------------------------------------------------
    // Reads Auto_Comset_File.bin; 0 (nothing changed) when it has no "Auto"
    // line. Without one, ApplyDefaultCommSettings logs the administrator in
    // on the serial mode with COM1 and the first registered scale chosen.
    int ReadCommMode();
    void ApplyDefaultCommSettings();
    // Reloads the registered scales of mode (1 Ethernet, 2 serial) under the
    // update lock; FALSE when another request holds the mailbox.
    BOOL ReloadScaleAddresses(Transport mode);
    // Command 32773 and the screen switch's hint 7: the dialog opens on the
    // current mode's scales.
    void OnCommSetup();

private:
    void OnUpdateCommSetup(CCmdUI* cmdUI);
    // WM_COMMMODE_CHANGED: wParam 1 Ethernet, 2 serial.
    LRESULT OnCommModeChanged(WPARAM mode, LPARAM lParam);
    // Button 1043: COM1 and COM5 in turn.
    void OnComPortToggle();
    // NM_CLICK of list 900: the clicked item.
    void OnScaleListClick(NMHDR* header, LRESULT* result);
    void OnScaleUpdate();
    void OnScaleInsert();
    void OnScaleDelete();

    // CScaleRegisterHost
    CWnd* GetHostWindow() override;
    CItemDbWorker* GetItemWorker() override;
    CMailboxDlg* GetDbMailbox() override;
    CGridCtrl* GetGrid() override;
    CListCtrl* GetScaleList() override { return &m_scaleList; }
    void SetGridColumnCount(int count) override;
    int InsertGridRow(const CString& heading, int position) override;
    CCommSettings& GetCommSettings() override { return m_commSettings; }
    int GetPickFirstScale() const override { return m_nPickFirstScale; }
    void SetPickFirstScale(int flag) override { m_nPickFirstScale = flag; }
    void SetUpdateLock(int lock) override;
    void SetComPort(int port) override { m_nComPort = port; }

    void SetRequest(std::optional<DbRequest> request, const CString& text);
    // The clicked register row when it names a scale, else -1.
    int ClickedScale(bool needName) const;

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    std::function<int()> m_loggedIn;
    std::unique_ptr<CScaleRegister> m_pRegister;
    CCommSettings m_commSettings;
    CCommSetupDlg m_commSetupDlg; // IDD_COMM_SETUP
    CListCtrl m_scaleList; // IDC_SCALE_REGISTER_LIST
    CXPButton m_btnScaleUpdate; // IDC_SCALE_REGISTER_UPDATE
    CXPButton m_btnScaleInsert; // IDC_SCALE_REGISTER_INSERT
    CXPButton m_btnScaleDelete; // IDC_SCALE_REGISTER_DELETE
    // The register list's item last clicked, -1 for none.
    int m_nRegisterRow = -1;
    int m_nPickFirstScale = 0;
    int m_nComPort = 0;
    int m_nPortToggle = 0;
};
