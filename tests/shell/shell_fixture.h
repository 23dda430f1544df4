#pragma once
// The whole main window on a private data root: the application object's
// start-up with recording stand-ins for the two work screens (they remember
// every view hint with the left pane's mailbox words at that moment).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "db/general_dao_helper.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "platform/wnd/docview/view.h"
#include "shell/calvorn_app.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/work_screen.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

struct HintRecord {
    LPARAM hint = 0;
    CString text; // the hint's text argument
    CString queryName; // left pane's mailbox edit IDC_MAILBOX_NAME during the hint
    CString userId; // left pane's mailbox edit IDC_MAILBOX_TEXT during the hint
};

// Records the hints it receives; shared by both stand-ins.
class RecordingView : public CView {
public:
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC*) override { }
    std::vector<HintRecord> m_hints;
};

// Owns a real item worker with its mailbox; the rows the worker sends are
// left unanswered until a test acknowledges them.
class FakeKindOfView : public RecordingView, public CWorkScreen {
public:
    FakeKindOfView();
    ~FakeKindOfView() override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    void SetCommSetupFlag(int flag) override { m_flag = flag; }
    int GetCommSetupFlag() const override { return m_flag; }
    CItemDbWorker* GetItemWorker() override { return m_pWorker; }
    int GetTransferActive() const override { return m_transfers; }
    void LoadStoreAgain() override { ++m_reloads; }
    int m_reloads = 0;
    int m_flag = 0;
    int m_transfers = 0;
    CMailboxDlg m_mailbox;
    CItemDbWorker* m_pWorker = nullptr;
};

class FakeUserLabelView : public RecordingView {
public:
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
};

class ShellTest : public testing::Test {
protected:
    ShellTest();
    ~ShellTest() override;

    // Runs the application's start-up; FALSE when it failed.
    BOOL StartUp();
    // Destroys the main window (no closing question).
    void ShutDown();

    CMainFrame* Frame() const { return GetMainFrame(); }
    CCalvornView* LeftPane() const;
    // The left pane's children as a user finds them: by their ids.
    CTreeCtrl& CategoryTree() const;
    CCaptionPanel& CaptionPanel() const;
    CIconButton& LoginButton() const;
    FakeKindOfView* WorkScreen() const;
    FakeUserLabelView* LabelView() const;

    // Logs out through the log-in button (the pane is logged in as vexo).
    void LogOut();
    // Logs in through the log-in dialog; the file dialog that follows a
    // successful log-in is answered with itemDatabase (cancelled when empty).
    // Waits until the worker has answered.
    void LogIn(const char* id, const char* password, const char* itemDatabase = "");
    // Writes a fresh item database from template 150 and returns its path.
    CString MakeItemDatabase(const char* name);
    // Runs a statement on Manager.mdb.
    void ExecuteOnManagerDb(const char* sql);
    // The first value of the first row of sql on Manager.mdb ("FALSE" when none).
    CString ReadManagerDb(const char* sql);

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    std::unique_ptr<CCalvornApp> m_app;
};
