#pragma once
// The selection lists of the sales-result screens: dialog 213 picks any number
// of managers, dialog 200 one scale of the logged-in manager. The upper list
// (1083) holds every candidate from Manager.mdb; Select (1001) moves the
// chosen one into the lower list (1084), Remove (1002) takes it out again, and
// OK hands the lower list back as one text, every entry followed by TAB "jo/".

#include <vector>

#include "controls/icon_button.h"
#include "controls/two_list_picker.h"
#include "db/general_dao_helper.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

// The complete entries of a DbReplyRow text, in order: every TAB "jo/" closes
// one; text after the last one is no entry. "FALSE" (no row) gives none.
std::vector<CString> SplitSelectionEntries(const CString& rows);

// What the two dialogs share: controls, members, filling and removing.
class CSelectionDlgBase : public CDialog {
public:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    virtual void OnSelect() = 0;
    void OnRemove();
    // Fills the upper list from Manager.mdb.
    void FillList();

    CString m_strUserId; // dialog 200: the logged-in manager
    int m_nSingleChoice = 0; // dialog 200: 1 lets Select take one entry
    CString m_strResult; // after IDOK: the chosen entries, each + TAB "jo/"

protected:
    CSelectionDlgBase(UINT templateId, CWnd* parent);
    // The list query of the dialog.
    virtual CString ListQuery() const = 0;

    CGeneralDaoHelper m_daoHelper;
    std::vector<CString> m_entries; // the candidates cut out of the query result
    CListBox m_candidates;
    CListBox m_chosen;
    CTwoListPicker m_picker { m_candidates, m_chosen };
    CIconButton m_selectButton;
    CIconButton m_removeButton;
    CIconButton m_okButton;
};

// Dialog 213: managers, any number, the same one more than once if moved twice.
class CManagerSelectDlg : public CSelectionDlgBase {
public:
    explicit CManagerSelectDlg(CWnd* parent = nullptr);
    void OnSelect() override;
    void OnOK() override;

protected:
    CString ListQuery() const override;
};

// Dialog 200: one scale; "vexo" sees every registered scale, another manager
// only his own. With m_nSingleChoice clear, Select does nothing and OK hands
// back the result as it was.
class CScaleSelectDlg : public CSelectionDlgBase {
public:
    explicit CScaleSelectDlg(CWnd* parent = nullptr);
    void OnSelect() override;
    void OnOK() override;

protected:
    CString ListQuery() const override;
};
