#include "tests/screens/work_screen_fixture.h"

#include <chrono>
#include <ctime>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/base/datetime.h"
#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "screens/register_screens.h"
#include "shell/file_helpers.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"
#include "tests/support/click_at.h"
#include "tests/support/dlg_item.h"

void WorkScreenFixture::SetUp()
{
    RegisterWorkScreens();
    FileDialogScript::Enable();
    FileDialogScript::Reset();
    ModalDialogScript::Enable();
    ModalDialogScript::Reset();
    m_app = std::make_unique<CCalvornApp>();
    ASSERT_TRUE(m_app->InitInstance());
    m_screen = dynamic_cast<CKindOfView*>(GetMainFrame()->GetRightContainerView()->GetKindOfView());
    ASSERT_NE(m_screen, nullptr);
    m_screen->Transfers().SetTransferPort(&m_port);
    // The size of the store's screen, so that every button can be clicked.
    m_app->m_pMainWnd->ShowWindow(SW_RESTORE);
    m_app->m_pMainWnd->MoveWindow(0, 0, 1280, 1024);
    ASSERT_TRUE(WaitForLoad());
}

void WorkScreenFixture::SetLocalClock(int year, int month, int day, int hour, int minute)
{
    std::tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    const std::time_t when = std::mktime(&t);
    AfxSetClock([when] { return std::chrono::system_clock::from_time_t(when); });
}

void WorkScreenFixture::TearDown()
{
    if (m_app && m_app->m_pMainWnd) {
        m_app->m_pMainWnd->DestroyWindow();
        AfxRunMessageLoop();
    }
    m_app.reset();
    FileDialogScript::Reset();
    ModalDialogScript::Reset();
}

CString WorkScreenFixture::MakeItemDatabase(const char* name)
{
    const CString path(m_root.Native(name).c_str());
    EXPECT_TRUE(WriteResourceFile(150, path));
    return path;
}

void WorkScreenFixture::Execute(const CString& path, const std::vector<CString>& sql)
{
    CGeneralDaoHelper helper;
    for (const CString& statement : sql) {
        helper.OpenDatabase(path); // each statement closes it
        helper.Execute(statement);
    }
    for (const MessageBoxRecord& box : MessageBoxScript::Records())
        ADD_FAILURE() << "a statement failed: " << box.text.GetString();
}

CString WorkScreenFixture::FirstRow(const CString& path, const CString& sql)
{
    CGeneralDaoHelper helper;
    helper.OpenDatabase(path);
    const CString row = helper.GetFirstRow(sql);
    helper.CloseDatabase();
    return row;
}

std::vector<CString> WorkScreenFixture::Column(const CString& path, const CString& sql)
{
    std::vector<CString> values;
    CGeneralDaoHelper helper;
    helper.OpenDatabase(path);
    for (int i = 0;; ++i) {
        CString row = helper.GetValueAt(sql, i);
        if (row.IsEmpty() || row == "FALSE")
            break;
        values.push_back(row);
    }
    helper.CloseDatabase();
    return values;
}

void WorkScreenFixture::Switch(Screen screen, const char* query, const char* userId, const CString& path)
{
    CCalvornView* left = LeftPane();
    left->Mailbox().SetText(IDC_MAILBOX_NAME, query);
    left->Mailbox().SetText(IDC_MAILBOX_TEXT, userId);
    CString text = path;
    left->SendHint(screen, &text);
    ASSERT_TRUE(WaitForLoad());
}

bool WorkScreenFixture::WaitForLoad()
{
    return PumpUntil(
        [this] {
            return !Locked() && !m_screen->GetItemWorker()->IsDatabaseOpen()
                && !m_screen->GetItemWorker()->IsRequestInFlight();
        },
        std::chrono::seconds(15));
}

bool WorkScreenFixture::Locked() const
{
    return m_screen->Context().GetUpdateLock() != 0;
}

void WorkScreenFixture::LogIn(const char* userId)
{
    LeftPane()->LogIn(userId, "");
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, userId);
    LeftPane()->SendHint(Screen::LoggedIn);
}

void WorkScreenFixture::ClickToolbar(UINT id)
{
    m_app->OnIdle(0);
    CToolBar& bar = GetMainFrame()->m_wndToolBar;
    const int index = bar.CommandToIndex(id);
    ASSERT_GE(index, 0) << id;
    CRect place;
    bar.GetItemRect(index, &place);
    ASSERT_TRUE(AfxSimulateClick(bar.GetSafeHwnd(), place.CenterPoint())) << id;
    AfxPumpUntil([] { return false; }, 0);
}

void WorkScreenFixture::EditCell(int row, int column, const CString& text)
{
    Grid().SetCellTextAsEdit(row, column, text);
    m_screen->SendMessage(WM_GRID_CELLEDITED, static_cast<WPARAM>(row), static_cast<LPARAM>(column));
}

void WorkScreenFixture::ClickCell(int row, int column, UINT keys)
{
    CRect cell;
    ASSERT_TRUE(Grid().GetCellRect(row, column, &cell)) << row << ", " << column;
    const CPoint at = cell.CenterPoint();
    ASSERT_TRUE(AfxSimulateMouse(Grid().GetSafeHwnd(), WM_LBUTTONDOWN, at, keys | MK_LBUTTON));
    ASSERT_TRUE(AfxSimulateMouse(Grid().GetSafeHwnd(), WM_LBUTTONUP, at, keys));
    AfxPumpUntil([] { return false; }, 0);
}

void WorkScreenFixture::DragCells(int fromRow, int toRow, int column)
{
    CRect from;
    CRect to;
    ASSERT_TRUE(Grid().GetCellRect(fromRow, column, &from)) << fromRow;
    ASSERT_TRUE(Grid().GetCellRect(toRow, column, &to)) << toRow;
    const HWND grid = Grid().GetSafeHwnd();
    ASSERT_TRUE(AfxSimulateMouse(grid, WM_LBUTTONDOWN, from.CenterPoint(), MK_LBUTTON));
    ASSERT_TRUE(AfxSimulateMouse(grid, WM_MOUSEMOVE, to.CenterPoint(), MK_LBUTTON));
    ASSERT_TRUE(AfxSimulateMouse(grid, WM_LBUTTONUP, to.CenterPoint(), 0));
    AfxPumpUntil([] { return false; }, 0);
}

void WorkScreenFixture::ClickControl(int id)
{
    ASSERT_TRUE(ClickButton(*m_screen, id)) << id;
}

CString WorkScreenFixture::Caption() const
{
    const auto* panel = dynamic_cast<const CCaptionPanel*>(m_screen->GetDlgItem(IDC_WORK_CAPTION));
    return panel ? panel->GetCaption() : CString("(no caption panel)");
}

int WorkScreenFixture::ColumnOf(const char* heading, int start) const
{
    for (int c = start; c < Grid().GetColumnCount(); ++c) {
        if (Grid().GetItemText(0, c) == heading)
            return c;
    }
    return -1;
}

std::vector<CString> WorkScreenFixture::RowTexts(int row) const
{
    std::vector<CString> texts;
    for (int c = 1; c < Grid().GetColumnCount(); ++c)
        texts.push_back(Grid().GetItemText(row, c));
    return texts;
}

bool WorkScreenFixture::Visible(int id) const
{
    CWnd* control = m_screen->GetDlgItem(id);
    return control && (control->GetStyle() & WS_VISIBLE) != 0;
}

bool WorkScreenFixture::Enabled(int id) const
{
    CWnd* control = m_screen->GetDlgItem(id);
    return control && (control->GetStyle() & WS_DISABLED) == 0;
}

void WorkScreenFixture::ChooseComPort(int port)
{
    CCommSetupDlg& dialog = m_screen->Scales().CommSetupDialog();
    DlgItem<CComboBox>(dialog, IDC_COMM_PORT).SetCurSel(port - 1);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMM_PORT, CBN_SELCHANGE),
        reinterpret_cast<LPARAM>(DlgItem<CComboBox>(dialog, IDC_COMM_PORT).GetSafeHwnd()));
}
