// The scale register's row handlers and the communication dialog (141) with
// the scale information dialog (140), around a stand-in work screen.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/base/cp949.h"
#include "platform/wnd/listctrl.h"
#include "platform/wnd/modal_script.h"
#include "serial/comm_settings.h"
#include "serial/comm_setup_dlg.h"
#include "serial/scale_info_dlg.h"
#include "serial/scale_register.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr const char* kSettingsFile = "C:\\Windows\\system\\Manager\\Auto_Comset_File.bin";

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
            });
        return &kMap;
    }
    LRESULT OnModeChanged(WPARAM wParam, LPARAM)
    {
        m_modes.push_back(static_cast<int>(wParam));
        return 1;
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
    int m_pickFirst = 0;
    int m_lock = 0;
    int m_comPort = 0;
};

CString Row(std::initializer_list<const char*> values)
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

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    RegisterScreen m_screen;
    CScaleRegister m_register;
};

} // namespace

TEST_F(ScaleRegisterTest, AddressRowsBecomeListLinesOfTheirKind)
{
    struct Case {
        const char* third;
        std::vector<CString> lines;
    };
    const Case cases[] = {
        { "IP", { "Scale name = A, IP=10.0.0.1", "Scale name = C, IP=10.0.0.3" } },
        { "COM_PORT", { "Scale name = A, Scale ID=10.0.0.1", "Scale name = C, Scale ID=10.0.0.3" } },
    };
    for (const Case& c : cases) {
        m_screen.m_settings.ClearRegistered();
        m_register.m_nRowCount = 0;
        m_register.FillScaleList(Row({ "SCALE_NUM", "SCALE_NAME", c.third }));
        EXPECT_EQ(Answer(), kMailboxReport);
        m_register.FillScaleList(Row({ "0", "A", "10.0.0.1" }));
        m_register.FillScaleList(Row({ "0", "B", "NULL" }));
        m_register.FillScaleList(Row({ "0", "C", "10.0.0.3" }));
        EXPECT_EQ(Answer(), kMailboxReport);
        EXPECT_EQ(m_screen.m_settings.m_registered, c.lines) << c.third;
        EXPECT_TRUE(m_screen.m_settings.m_scales.empty());
    }
    // With the take-first flag the first scale listed is chosen too, once.
    m_screen.m_settings.ClearRegistered();
    m_register.m_nRowCount = 0;
    m_screen.m_pickFirst = 1;
    m_register.FillScaleList(Row({ "scale_num", "scale_name", "com_port" }));
    m_register.FillScaleList(Row({ "0", "Z", "" }));
    m_register.FillScaleList(Row({ "0", "A", "7" }));
    m_register.FillScaleList(Row({ "0", "B", "8" }));
    EXPECT_EQ(m_screen.m_settings.m_scales, std::vector<CString> { "Scale name = A, Scale ID=7" });
    EXPECT_EQ(m_screen.m_pickFirst, 0);
}

TEST_F(ScaleRegisterTest, RegisterRowsFillTheListAfterTheHeader)
{
    m_register.m_nRowCount = 0;
    m_register.SplitRows(Row({ "SCALE_NAME", "IP", "COM_PORT", "MG_ID", "ID" }));
    m_register.SplitRows(Row({ "A", "10.0.0.1", "1", "kim", "4" }));
    m_register.SplitRows(Row({ "B", "10.0.0.2", "2", "lee", "9" }));
    EXPECT_EQ(Answer(), kMailboxReport);
    ASSERT_EQ(m_screen.m_list.GetItemCount(), 2);
    EXPECT_EQ(m_screen.m_list.GetItemText(0, 0), "A");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 3), "lee");
    EXPECT_EQ(m_screen.m_list.GetItemText(1, 4), "9");
}

TEST_F(ScaleRegisterTest, SettingsRowsFillTheGridWithPlaceholdersAsZero)
{
    m_register.m_nRowCount = 0;
    m_register.FillScaleRootInfoGrid(Row({ "MYID", "IP", "ID" }));
    m_register.FillScaleRootInfoGrid(Row({ "-1", "NULL", "3" }));
    m_register.FillScaleRootInfoGrid(Row({ "7", "10.0.0.7", "5" }));
    EXPECT_EQ(Answer(), kMailboxReport);
    CGridCtrl& grid = m_screen.m_grid;
    ASSERT_EQ(grid.GetColumnCount(), 4);
    ASSERT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetItemText(0, 1), "MYID");
    EXPECT_EQ(grid.GetItemText(0, 3), "ID");
    EXPECT_EQ(grid.GetItemText(1, 0), "List 1");
    EXPECT_EQ(grid.GetItemText(1, 1), "0");
    EXPECT_EQ(grid.GetItemText(1, 2), "0");
    EXPECT_EQ(grid.GetItemText(1, 3), "3");
    EXPECT_EQ(grid.GetItemText(2, 0), "List 2");
    EXPECT_EQ(grid.GetItemText(2, 2), "10.0.0.7");
}

TEST_F(ScaleRegisterTest, WritesRefuseAKeyThatIsNoNumber)
{
    for (const char* key : { "", "1 OR 1=1", "-1", "12a", "12345678901" })
        EXPECT_FALSE(CScaleRegister::IsRecordKey(key)) << key;
    for (const char* key : { "0", "42", "2147483647" })
        EXPECT_TRUE(CScaleRegister::IsRecordKey(key)) << key;
    // Nothing is opened or run: no database exists here.
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert_Delete");
    m_register.DeleteScale("1 OR 1=1");
    m_screen.m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Update");
    m_register.UpdateScale("0", "A", "1.2.3.4", "1", "vexo", "");
    EXPECT_EQ(m_screen.m_mailbox.Text(IDC_MAILBOX_NAME), "");
    EXPECT_FALSE(m_screen.m_worker.IsDatabaseOpen());
    EXPECT_TRUE(m_boxes.Records().empty());
}

// ---- Dialog 141

namespace {

class CommSetupTest : public ScaleRegisterTest {
protected:
    void SetUp() override
    {
        ScaleRegisterTest::SetUp();
        ASSERT_TRUE(m_dialog.Create(IDD_COMM_SETUP, &m_screen));
        m_dialog.SetOwnerView(&m_screen);
        m_screen.m_settings.InsertRegistered(0, "Scale name = 저울, IP=10.0.0.1");
        m_screen.m_settings.InsertRegistered(1, "Scale name = B, IP=10.0.0.2");
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        ScaleRegisterTest::TearDown();
    }
    void Send(UINT id, UINT code = 0) { m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); }
    std::string File() const { return TempDataRoot::ReadAll(m_root.Native(kSettingsFile)); }

    CCommSetupDlg m_dialog;
};

} // namespace

TEST_F(CommSetupTest, ModeChangeEmptiesBothListsAndAsksForTheModesScales)
{
    EXPECT_EQ(m_dialog.m_allList.GetCount(), 2);
    m_screen.m_settings.AddChosen("Scale name = B, IP=10.0.0.2");
    EXPECT_EQ(m_dialog.m_chosenList.GetCount(), 1);
    m_dialog.m_allSelect.SetCheck(1);
    m_dialog.m_modeBox.SetCurSel(1);
    Send(1015, CBN_SELCHANGE);
    EXPECT_EQ(m_dialog.m_allSelect.GetCheck(), 0);
    EXPECT_EQ(m_dialog.m_allList.GetCount(), 0);
    EXPECT_EQ(m_dialog.m_chosenList.GetCount(), 0);
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Serial");
    m_dialog.m_modeBox.SetCurSel(0);
    Send(1015, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_modes, (std::vector<int> { 2, 1 }));
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Ethernet");
    m_dialog.m_portBox.SetCurSel(7);
    Send(1016, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_comPort, 8);
    EXPECT_EQ(m_dialog.m_nComPort, 8);
    EXPECT_EQ(m_screen.m_settings.GetPort(), 7);
}

TEST_F(CommSetupTest, SettingsFileHoldsModePortAndChosenScalesInCp949)
{
    struct Case {
        int mode;
        int port;
        std::string expected;
    };
    const std::string first = Utf8ToCp949("Scale name = 저울, IP=10.0.0.1");
    const Case cases[] = {
        { 0, -1, "Auto\r\nethernet\r\nsocket\r\n" + first + "\r\n" + first + "\r\n" },
        { 1, 4, "Auto\r\nserial\r\ncom5\r\n" + first + "\r\n" + first + "\r\n" },
        { 1, -1, "Auto\r\nserial\r\n" + first + "\r\n" + first + "\r\n" },
        { -1, 2, "Auto\r\n" + first + "\r\n" + first + "\r\n" },
    };
    m_dialog.m_allList.SetCurSel(0);
    Send(1001);
    Send(1001);
    for (const Case& c : cases) {
        m_screen.m_settings.SelectMode(c.mode);
        m_screen.m_settings.SelectPort(c.port);
        Send(IDOK);
        EXPECT_EQ(File(), c.expected) << c.mode << " " << c.port;
    }
    // A file that cannot be written is not reported.
    std::filesystem::remove(m_root.Native(kSettingsFile));
    std::filesystem::create_directory(m_root.Native(kSettingsFile));
    EXPECT_FALSE(m_dialog.WriteCommFile());
    Send(IDOK);
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
}

TEST_F(CommSetupTest, SelectRemoveAndAllSelectEditTheChosenList)
{
    Send(1001); // nothing selected
    EXPECT_TRUE(m_screen.m_settings.m_scales.empty());
    m_dialog.m_allList.SetCurSel(1);
    Send(1001);
    m_dialog.m_allList.SetCurSel(0);
    Send(1001);
    EXPECT_EQ(m_screen.m_settings.m_scales,
        (std::vector<CString> { "Scale name = B, IP=10.0.0.2", "Scale name = 저울, IP=10.0.0.1" }));
    m_dialog.m_chosenList.SetCurSel(0);
    Send(1002);
    EXPECT_EQ(m_screen.m_settings.m_scales, std::vector<CString> { "Scale name = 저울, IP=10.0.0.1" });
    Send(1002); // the selection went with the entry
    EXPECT_EQ(m_screen.m_settings.m_scales.size(), 1u);
    m_dialog.m_allSelect.SetCheck(1);
    Send(1130);
    EXPECT_EQ(m_screen.m_settings.m_scales, m_screen.m_settings.m_registered);
    m_dialog.m_allSelect.SetCheck(0);
    Send(1130);
    EXPECT_TRUE(m_screen.m_settings.m_scales.empty());
}

TEST_F(CommSetupTest, NetworkSettingsModeAllowsOneChosenScale)
{
    m_dialog.m_strMode = "Scale_Root_Info";
    m_dialog.ShowWindow(SW_SHOW);
    m_screen.m_settings.SetChosen(m_screen.m_settings.m_registered);
    Send(IDOK);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "One Select Scale(Scale info2)");
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_TRUE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.m_strMode = "Scale_Info";
    Send(IDOK);
    EXPECT_TRUE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.ShowWindow(SW_SHOW);
    Send(IDCANCEL);
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
}

// ---- Dialog 140

TEST_F(ScaleRegisterTest, ScaleInfoDialogReturnsTheFieldsOfItsMode)
{
    struct Case {
        const char* mode;
        const char* name;
        const char* scaleId;
        int result;
        const char* nameBack;
        const char* keyBack;
        const char* message;
    };
    const Case cases[] = {
        { "Scale_Update", "A", "3", IDOK, "A", "77", nullptr },
        { "Scale_Insert", "", "3", IDOK, "TEMP", "5", nullptr },
        { "Scale_Insert", "A", "", IDCANCEL, "A", "5", "Input Scale ID" },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        CScaleInfoDlg dialog(&m_screen);
        dialog.m_strMode = c.mode;
        dialog.m_strScaleNum = "9";
        dialog.m_strKey = "5";
        dialog.m_strManagerId = "kim";
        CString shownNumber;
        CString okText;
        bool hidden = false;
        ModalDialogScript::Push([&](CDialog& d) {
            d.GetDlgItemText(1002, shownNumber);
            d.GetDlgItemText(IDOK, okText);
            hidden = !(d.GetDlgItem(1005)->GetStyle() & WS_VISIBLE)
                && !(d.GetDlgItem(1006)->GetStyle() & WS_VISIBLE);
            d.SetDlgItemText(1003, c.name);
            d.SetDlgItemText(1012, "127.0.0.2");
            d.SetDlgItemText(1004, c.scaleId);
            d.SetDlgItemText(1005, "77");
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), c.result) << c.mode << c.scaleId;
        EXPECT_EQ(shownNumber, "0");
        EXPECT_EQ(okText, CString(c.mode) == "Scale_Update" ? "UPDATE" : "INSERT");
        EXPECT_TRUE(hidden);
        EXPECT_EQ(dialog.m_strScaleName, c.nameBack) << c.mode;
        EXPECT_EQ(dialog.m_strKey, c.keyBack) << c.mode;
        EXPECT_EQ(dialog.m_strScaleNum, "0");
        EXPECT_EQ(dialog.m_strIp, "127.0.0.2");
        EXPECT_EQ(dialog.m_strManagerId, "kim");
        EXPECT_EQ(m_boxes.Records().size(), c.message ? 1u : 0u);
    }
}

TEST(CommSettingsTest, ListEditsOutOfRangeAppendOrChangeNothing)
{
    CCommSettings settings;
    int changes = 0;
    settings.SetListener([&] { ++changes; });
    settings.InsertRegistered(5, "b");
    settings.InsertRegistered(0, "a");
    settings.InsertRegistered(-1, "c");
    EXPECT_EQ(settings.m_registered, (std::vector<CString> { "a", "b", "c" }));
    settings.SetChosen({ "x", "y" });
    settings.RemoveChosen(2);
    settings.RemoveChosen(-1);
    EXPECT_EQ(settings.m_scales, (std::vector<CString> { "x", "y" }));
    settings.RemoveChosen(1);
    EXPECT_EQ(settings.m_scales, std::vector<CString> { "x" });
    EXPECT_EQ(changes, 5);
}
