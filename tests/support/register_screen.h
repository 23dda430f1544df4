#pragma once
// A work screen stand-in for the scale register and its dialogs, and the
// fixture of their tests. Header-only: users link the transfer library and the
// resources (dialog 132, the database templates).

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/controls/listctrl.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"
#include "transfer/comm_settings.h"
#include "transfer/scale_register.h"

// The work screen as the register and the dialog see it: a hidden window that
// records the mode messages, the mailbox 132 with an idle worker, a grid and
// the scale list.
class RegisterScreen : public CWnd, public CScaleRegisterHost {
public:
    RegisterScreen()
        : m_mailbox(this)
    {
        CreateEx(0, nullptr, "screen", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
        m_mailbox.Create(this);
        m_worker.SetOwner(this, &m_mailbox);
        m_list.Create(WS_CHILD, CRect(0, 0, 200, 100), this, 900);
        for (int c = 0; c < 5; ++c)
            m_list.InsertColumn(c, "", LVCFMT_LEFT, 50);
        m_grid.SetRowCount(2);
        m_grid.SetColumnCount(2);
    }
    ~RegisterScreen() override
    {
        m_mailbox.DestroyWindow();
        DestroyWindow();
    }
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&RegisterScreen::OnModeChanged>(WM_COMMMODE_CHANGED),
                OnMessage<&RegisterScreen::OnRow>(WM_DBQUERY_ROW),
                OnMessage<&RegisterScreen::OnEmpty>(WM_DBQUERY_EMPTY),
                OnMessage<&RegisterScreen::OnDone>(WM_DBQUERY_DONE),
            });
        return &kMap;
    }
    LRESULT OnModeChanged(WPARAM wParam, LPARAM)
    {
        m_modes.push_back(static_cast<int>(wParam));
        return 1;
    }
    // The worker's replies, routed as the work screen routes them.
    LRESULT OnRow(WPARAM, LPARAM)
    {
        const CString name = m_mailbox.TakeText(IDC_MAILBOX_NAME);
        const CString row = m_mailbox.TakeText(IDC_MAILBOX_TEXT);
        if (name == "Scale_Reg_Read")
            m_register->SplitRows(row);
        else if (name == "Comm_Mode_Read")
            m_register->FillScaleList(row);
        else if (name == "Scale_Info_Read")
            m_register->FillScaleInfoGrid(row);
        else if (name == "Scale_Root_Info_Read")
            m_register->FillScaleRootInfoGrid(row);
        else
            Release();
        return 1;
    }
    LRESULT OnEmpty(WPARAM, LPARAM)
    {
        m_mailbox.TakeText(IDC_MAILBOX_NAME);
        Release();
        return 1;
    }
    LRESULT OnDone(WPARAM, LPARAM)
    {
        m_worker.CloseDatabase();
        const CString name = m_mailbox.TakeText(IDC_MAILBOX_NAME);
        m_done.push_back(name);
        // Statements run at once end here without an answer.
        if (name != "Scale_Insert" && name != "Scale_Update" && name != "Scale_Insert_Delete")
            Release();
        return 1;
    }
    void Release()
    {
        m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
        m_worker.SetEvent();
    }

    CWnd* GetHostWindow() override { return this; }
    CItemDbWorker* GetItemWorker() override { return &m_worker; }
    CMailboxDlg* GetDbMailbox() override { return &m_mailbox; }
    CGridCtrl* GetGrid() override { return &m_grid; }
    CListCtrl* GetScaleList() override { return &m_list; }
    void SetGridColumnCount(int count) override { m_grid.SetColumnCount(count); }
    int InsertGridRow(const CString& heading, int position) override
    {
        return m_grid.InsertRow(heading, position);
    }
    CCommSettings& GetCommSettings() override { return m_settings; }
    int GetPickFirstScale() const override { return m_pickFirst; }
    void SetPickFirstScale(int flag) override { m_pickFirst = flag; }
    void SetUpdateLock(int lock) override { m_lock = lock; }
    void SetComPort(int port) override { m_comPort = port; }

    CMailboxDlg m_mailbox;
    CItemDbWorker m_worker;
    CListCtrl m_list;
    CGridCtrl m_grid;
    CCommSettings m_settings;
    std::vector<int> m_modes;
    CScaleRegister* m_register = nullptr;
    std::vector<CString> m_done; // the requests the worker finished
    int m_pickFirst = 0;
    int m_lock = 0;
    int m_comPort = 0;
};

// A reply row of the worker: the values, each ended by its separator.
inline CString RegisterRow(std::initializer_list<const char*> values)
{
    CString row;
    for (const char* value : values)
        row += CString(value) + "\tjo/";
    return row;
}

class ScaleRegisterTest : public testing::Test {
protected:
    void SetUp() override
    {
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        m_register.SetOwnerView(&m_screen);
    }
    void TearDown() override { ModalDialogScript::Reset(); }
    // The mailbox after a row handler: "Report", which the idle worker leaves.
    CString Answer() { return m_screen.m_mailbox.TakeText(IDC_MAILBOX_NAME); }
    // The texts of a grid row, heading first.
    std::vector<CString> GridLine(int row)
    {
        std::vector<CString> cells;
        for (int c = 0; c < m_screen.m_grid.GetColumnCount(); ++c)
            cells.push_back(m_screen.m_grid.GetItemText(row, c));
        return cells;
    }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    RegisterScreen m_screen;
    CScaleRegister m_register;
};
