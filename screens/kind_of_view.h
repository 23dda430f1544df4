#pragma once
// CKindOfView: the work screen in the upper right pane. So far it owns the
// item database worker and its mailbox (answering each streamed row with
// "Report"), follows the log-in hints 8 and 9 with the flag that enables its
// own Communication Setup command, and hands the program's other menu
// commands to the left pane. The screens themselves come later.

#include <vector>

#include "db/db_request_worker.h"
#include "db/mailbox_dlg.h"
#include "platform/wnd/view.h"
#include "shell/work_screen.h"

class CCmdUI;
class CItemDbWorker;

class CKindOfView : public CView, public CWorkScreen, public CInsertReadTarget {
public:
    CKindOfView();
    ~CKindOfView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC* dc) override;
    // Commands of the left pane go there; 32773 stays here.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // CWorkScreen
    void SetCommSetupFlag(int flag) override { m_nLoggedIn = flag; }
    int GetCommSetupFlag() const override { return m_nLoggedIn; }
    CItemDbWorker* GetItemWorker() override { return m_pItemWorker; }

    // CInsertReadTarget: the row's values into the field table (400 texts).
    void SplitItemRowText(CString row) override;
    void SplitScaleInfoRowText(CString row) override;
    void SplitUserLabelRowText(CString row) override;

    CMailboxDlg m_mailbox;
    std::vector<CString> m_fieldTexts;
    int m_nLoggedIn = 0;
    int m_nLanguage = 2;

protected:
    LRESULT OnQueryRow(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEmpty(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDone(WPARAM wParam, LPARAM lParam);
    void OnCommSetup();
    void OnUpdateCommSetup(CCmdUI* cmdUI);

private:
    void Acknowledge();
    void SplitRow(const CString& row);

    CItemDbWorker* m_pItemWorker = nullptr;
};
