#pragma once
// The work screen's two small row dialogs: the number of grid lines to insert
// (153) and the start and increment of a column fill (226).

#include <optional>

#include "controls/icon_button.h"
#include "controls/xp_button.h"
#include "platform/wnd/dialogs/dialog.h"
#include "protocol/data_kinds.h"
#include "resources/calvorn_ids.h"

// Dialog 153: OK accepts a count of 1 up to the table's maximum ("Input Grid
// lines." below it, "Grid lines is a 1 - n." above).
class CGridLineDlg : public CDialog {
public:
    explicit CGridLineDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The kind of the table, whose maximum holds; before DoModal.
    void SetKind(std::optional<DataKind> kind) { m_kind = kind; }
    // The accepted count, after IDOK.
    int GetLineCount() const { return m_nLineCount; }

private:
    int m_nLineCount = 0;
    std::optional<DataKind> m_kind;
    CIconButton m_insertButton;
    CIconButton m_cancelButton;
};

// Dialog 226: OK needs both texts ("Input Error" otherwise); they are not
// checked for digits.
class CAutoValueDlg : public CDialog {
public:
    explicit CAutoValueDlg(CWnd* parent = nullptr);
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The accepted texts, after IDOK.
    const CString& GetStart() const { return m_strStart; }
    const CString& GetIncrement() const { return m_strIncrement; }

private:
    CString m_strStart;
    CString m_strIncrement;
    CXPButton m_okButton;
    CXPButton m_cancelButton;
};
