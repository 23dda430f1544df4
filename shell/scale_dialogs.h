#pragma once
// The small dialogs that the work screen and the results server open:
// scale model (227), basic scale settings (209), network settings (211),
// server port (198) and item number (201). They validate and collect text;
// the callers read the members after IDOK.

#include <array>

#include "controls/xp_button.h"
#include "resources/calvorn_ids.h"
#include "shell/dialog_helpers.h"

inline constexpr const char* kServerPortFile = "C:\\Windows\\system\\Manager\\Server_Port.bin";

// Dialog 227: "PQ" or "Q" in m_strModel after IDOK.
class CSelectModelDlg : public CDialog {
public:
    explicit CSelectModelDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CString m_strModel;

private:
    CXPButton m_okButton;
    CXPButton m_cancelButton;
};

// The value table shared by dialogs 209 and 211: 100 texts.
using ScaleValueTable = std::array<CString, 100>;

// Base of dialogs 209 and 211: icon buttons OK and Cancel, the flags and the
// value table.
class CScaleInfoDlgBase : public CIconOkCancelDlg {
public:
    CScaleInfoDlgBase(UINT templateId, CWnd* parent);

    int m_nFirstFlag = 0;
    int m_nNewFlag = 0;
    int m_nLoadFlag = 0;
    CString m_strVersion;
    ScaleValueTable m_values;

protected:
    // Shows message, focuses control id and returns 0.
    int Refuse(const char* message, int id);
    CString ItemText(int id) const;
    // The combo's 0-based selection, -1 for none (typed text is no selection).
    int Selection(int id) const;
    void FillCombo(int id, std::initializer_list<const char*> entries);
    void SelectEntry(int id, const CString& value, int offset);
    void ClearValues();
};

// Dialog 209: the scale's basic settings (Scale_Info).
class CScaleBasicInfoDlg : public CScaleInfoDlgBase {
public:
    explicit CScaleBasicInfoDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
    // 1 when every field passes, filling the value table; else 0 after the
    // first failure's message.
    int ValidateFields();
};

// Dialog 211: the scale's network settings (Scale_Root_Info), with the
// duplicate questions against the registered scales.
class CScaleNetInfoDlg : public CScaleInfoDlgBase {
public:
    explicit CScaleNetInfoDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;
    int ValidateFields();
};

// Dialog 198: the results server's port, kept in Server_Port.bin.
class CServerPortDlg : public CDialog {
public:
    explicit CServerPortDlg(CWnd* parent = nullptr);
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSavePort();

    // The last line of Server_Port.bin, read whole; empty when
    // the file is missing or empty.
    static CString ReadPortText();

private:
    CXPButton m_okButton;
    CXPButton m_cancelButton;
};

// Dialog 201: an item number, a list "1,2,3" or a range "1-4".
class CItemNumberDlg : public CDialog {
public:
    explicit CItemNumberDlg(CWnd* parent = nullptr);
    void OnOK() override;
    // TRUE when the entry passes the dialog's test.
    static BOOL IsValidEntry(const CString& text);

    CString m_strItemNumber;
};
