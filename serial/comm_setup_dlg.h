#pragma once
// CCommSetupDlg: the modeless communication dialog (141). It shows and edits
// the work screen's communication settings (CCommSettings): the mode box
// (1015), the port box (1016), the registered scales of the mode (1019) and
// the chosen ones (1020). A change to another mode empties both lists and
// sends the work screen WM_COMMMODE_CHANGED, which reloads the registered
// scales of the mode;
// OK writes Auto_Comset_File.bin and hides the dialog. It lives as long as the
// work screen. UI thread.

#include <optional>

#include "controls/icon_button.h"
#include "controls/two_list_picker.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "transfer/comm_settings.h"
#include "transfer/scale_register_host.h"

inline constexpr const char* kCommSettingsFile = "C:\\Windows\\system\\Manager\\Auto_Comset_File.bin";

class CCommSetupDlg : public CDialog {
public:
    explicit CCommSetupDlg(CWnd* parent = nullptr);
    ~CCommSetupDlg() override;
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Refuses two or more chosen scales in the network settings screen
    // ("One Select Scale(Scale info2)"); otherwise writes the file and hides,
    // or tells why it was not written and stays.
    void OnOK() override;
    // Close and Escape hide the dialog and put back what it opened with.
    void OnCancel() override;
    // Shows the dialog; opened while hidden, what it shows now is what
    // Escape goes back to.
    void Open();

    // The work screen; the dialog shows its settings from now on.
    void SetOwnerView(CScaleRegisterHost* owner);

    void OnModeChange();
    void OnPortChange();
    void OnSelect();
    void OnRemove();
    void OnAllSelect();
    // Writes the settings file whole; FALSE, with the cause in error when
    // given, when it could not be written.
    BOOL WriteCommFile(CString* error = nullptr);
    // Shows the settings in the boxes and lists.
    void ShowSettings();

    // The current screen's kind word; "Scale_Root_Info" allows one chosen scale.
    void SetMode(const CString& mode) { m_strMode = mode; }
    const CString& GetMode() const { return m_strMode; }
    // The port last chosen in the port box (1 for COM 1).
    int GetComPort() const { return m_nComPort; }

private:
    void RestoreOpenedChoice();

    CString m_strMode;
    int m_nComPort = 1;

    CComboBox m_modeBox; // IDC_COMM_MODE
    CComboBox m_portBox; // IDC_COMM_PORT
    CListBox m_allList; // IDC_COMM_ALL_LIST
    CListBox m_chosenList; // IDC_COMM_CHOSEN_LIST
    // Only the candidate is read here: the chosen list shows the settings.
    CTwoListPicker m_picker { m_allList, m_chosenList };
    CButton m_allSelect; // IDC_COMM_ALL_SELECT
    CIconButton m_okButton;
    CIconButton m_selectButton; // IDC_COMM_SELECT
    CIconButton m_removeButton; // IDC_COMM_REMOVE
    CScaleRegisterHost* m_pOwner = nullptr;
    std::optional<CCommSettings::Choice> m_opened;
};
