// The scale screens on the real worker and databases: the scale register
// screen (list 900, dialog 140), the scale settings screens (Insert, Update,
// Delete, Trans with dialogs 209/211) and the communication setup (dialog 141,
// Auto_Comset_File.bin).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "db/db_messages.h"
#include "db/store_paths.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/command.h"
#include "tests/support/dlg_item.h"
#include "transfer/scale_register.h"

namespace {

constexpr const char* kSettingsDb = "C:\\Windows\\system\\Manager\\Manager_ScaleInfo.mdb";
constexpr const char* kSettingsFile = "C:\\Windows\\system\\Manager\\Auto_Comset_File.bin";

// A control's notification to its dialog, as a combo box sends a change.
void Notify(CWnd& dialog, UINT id, UINT code)
{
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0);
}

void SelectInCombo(CDialog& dialog, int id, int index)
{
    auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(id));
    ASSERT_NE(combo, nullptr) << id;
    combo->SetCurSel(index);
}

struct NetValues {
    int initial = 1;
    int mode = 2;
    const char* scaleId = "7";
    const char* ip = "192.168.0.7";
    const char* mask = "255.255.255.0";
    const char* destination = "192.168.0.1";
    const char* port = "5000";
};

// Fills dialog 211 and presses OK.
void QueueNetDialog(const NetValues& v)
{
    ModalDialogScript::Push([v](CDialog& dialog) {
        SelectInCombo(dialog, IDC_NET_ETHERNET_INIT, v.initial);
        SelectInCombo(dialog, IDC_NET_ETHERNET_MODE, v.mode);
        dialog.SetDlgItemText(IDC_NET_SCALE_ID, v.scaleId);
        dialog.SetDlgItemText(IDC_NET_SCALE_IP, v.ip);
        dialog.SetDlgItemText(IDC_NET_MASK, v.mask);
        dialog.SetDlgItemText(IDC_NET_DESTINATION_IP, v.destination);
        dialog.SetDlgItemText(IDC_NET_DESTINATION_PORT, v.port);
        AfxClickDlgButton(dialog, IDOK);
    });
}

// Fills dialog 140 and presses OK.
void QueueScaleDialog(const char* name, const char* ip, const char* scaleId)
{
    ModalDialogScript::Push([=](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_SCALE_INFO_NAME, name);
        dialog.SetDlgItemText(IDC_SCALE_INFO_IP, ip);
        dialog.SetDlgItemText(IDC_SCALE_INFO_SCALE_ID, scaleId);
        AfxClickDlgButton(dialog, IDOK);
    });
}

class WorkScreenScaleTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        // The register starts empty.
        Execute(kManagerDatabase, { "DELETE FROM [ScaleMG]" });
    }
    void AddScale(const char* name, const char* ip, const char* scaleId, const char* manager)
    {
        Execute(kManagerDatabase,
            { CString::Formatted(
                "INSERT INTO [ScaleMG]([scale_num], [scale_name], [ip], [com_port], [mg_id]) "
                "VALUES('0', '%s', %s, %s, '%s')",
                name, ip ? CString::Formatted("'%s'", ip).GetString() : "NULL",
                scaleId ? CString::Formatted("'%s'", scaleId).GetString() : "NULL", manager) });
    }
    std::vector<std::vector<CString>> ListRows() const
    {
        std::vector<std::vector<CString>> rows;
        const CListCtrl& list = ScaleList();
        for (int i = 0; i < list.GetItemCount(); ++i) {
            std::vector<CString> row;
            for (int c = 0; c < 5; ++c)
                row.push_back(list.GetItemText(i, c));
            rows.push_back(row);
        }
        return rows;
    }
    std::vector<CString> BoxTexts() const
    {
        std::vector<CString> texts;
        for (const MessageBoxRecord& box : m_boxes.Records())
            texts.push_back(box.text);
        return texts;
    }
    void OpenRegister(const char* user)
    {
        Switch(Screen::ScaleReg, "Scale_Reg_Read", user, MakeItemDatabase());
    }
    void OpenRootInfo() { Switch(Screen::ScaleRootInfo, "Scale_Root_Info_Read", "vexo", MakeItemDatabase()); }
    // Runs a command of the screen and waits for the load it may start.
    void Run(UINT id)
    {
        ClickControl(id);
        ASSERT_TRUE(WaitForLoad());
    }
    CCommSettings& Comm() const { return m_screen->Scales().CommSettings(); }
    CListCtrl& ScaleList() const
    {
        auto* list = dynamic_cast<CListCtrl*>(m_screen->GetDlgItem(IDC_SCALE_REGISTER_LIST));
        EXPECT_NE(list, nullptr);
        return *list;
    }
    // A click on a cell of row; row 0 leaves the screen without a
    // clicked row (it is opened again).
    void ClickRow(int row)
    {
        if (row == 0)
            Reopen();
        else
            ClickCell(row, m_nextColumn = 3 - m_nextColumn);
    }
    virtual void Reopen() { }
    // Clicks alternate between columns 1 and 2: a click on the focused cell
    // would start an edit instead.
    int m_nextColumn = 2;
    // The COM port chosen in the communication dialog.
    void ChoosePort(int port) { ChooseComPort(port); }
};

} // namespace

// ---- Scale register screen

TEST_F(WorkScreenScaleTest, RegisterListsTheManagersScalesAndEveryScaleForTheAdministrator)
{
    AddScale("A", "10.0.0.1", "1", "kim");
    AddScale("B", "10.0.0.2", "2", "lee");
    AddScale("C", "10.0.0.3", "3", "kim");
    const std::vector<CString> ids = Column(kManagerDatabase, "SELECT [ID] FROM [ScaleMG] ORDER BY [ID]");
    ASSERT_EQ(ids.size(), 3u);
    OpenRegister("kim");
    EXPECT_EQ(ListRows(),
        (std::vector<std::vector<CString>> {
            { "A", "10.0.0.1", "1", "kim", ids[0] }, { "C", "10.0.0.3", "3", "kim", ids[2] } }));
    EXPECT_TRUE(Visible(IDC_SCALE_REGISTER_LIST));
    EXPECT_FALSE(Visible(IDC_WORK_GRID));
    OpenRegister("vexo");
    ASSERT_EQ(ListRows().size(), 3u);
    EXPECT_EQ(ListRows()[1][0], "B");
    EXPECT_EQ(ScaleList().GetColumnHeading(2), "Scale ID");
}

TEST_F(WorkScreenScaleTest, RegisterInsertStoresTheScaleForTheManagerAndRereadsTheList)
{
    OpenRegister("kim");
    QueueScaleDialog("", "127.0.0.2", "5");
    Run(IDC_SCALE_REGISTER_INSERT);
    EXPECT_EQ(FirstRow(kManagerDatabase,
                  "SELECT [scale_num], [scale_name], [ip], [com_port], [mg_id] FROM [ScaleMG]"),
        "0\tjo/TEMP\tjo/127.0.0.2\tjo/5\tjo/kim\tjo/");
    const std::vector<CString> ids = Column(kManagerDatabase, "SELECT [ID] FROM [ScaleMG]");
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(
        ListRows(), (std::vector<std::vector<CString>> { { "TEMP", "127.0.0.2", "5", "kim", ids[0] } }));

    // No scale ID: the dialog stays open and nothing is stored.
    QueueScaleDialog("D", "127.0.0.4", "");
    Run(IDC_SCALE_REGISTER_INSERT);
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "Input Scale ID" });
    ASSERT_FALSE(ModalDialogScript::Records().empty());
    EXPECT_TRUE(ModalDialogScript::Records().back().leftOpen);
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [ID] FROM [ScaleMG]").size(), 1u);

    // Quotes in a name are stored as typed.
    QueueScaleDialog("O'Neil", "127.0.0.5", "6");
    Run(IDC_SCALE_REGISTER_INSERT);
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG] ORDER BY [ID]"),
        (std::vector<CString> { "TEMP", "O'Neil" }));
    EXPECT_EQ(ListRows().size(), 2u);
}

TEST_F(WorkScreenScaleTest, RegisterInsertAndUpdateRefuseAnAddressThatCannotExist)
{
    // The address typed key by key, INSERT or UPDATE pressed where it stands.
    auto queueTyped = [](const char* ip, const char* scaleId) {
        ModalDialogScript::Push([=](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_SCALE_INFO_SCALE_ID, scaleId);
            dialog.SetDlgItemText(IDC_SCALE_INFO_IP, "");
            HWND field = dialog.GetDlgItem(IDC_SCALE_INFO_IP)->GetSafeHwnd();
            for (const char* c = ip; *c; ++c)
                AfxSimulateKey(field, *c == '.' ? 0xBEu : static_cast<UINT>(*c), std::string(1, *c).c_str());
            ASSERT_TRUE(ClickButton(dialog, IDOK));
        });
    };
    const char* kRefusal = "The IP address must be four numbers from 0 to 255, such as 192.168.0.10.";
    AddScale("A", "10.0.0.1", "1", "vexo");
    OpenRegister("vexo");
    const CString stored = "10.0.0.1";
    for (const char* bad : { "999.1.1", "10.0.0.256", "10.0.0.1.", "1..2.3", "1.2.3.4.5", "0001.2.3.4" }) {
        for (UINT command : { 902u, 901u }) {
            MessageBoxScript::Reset();
            if (command == IDC_SCALE_REGISTER_UPDATE)
                ScaleList().ClickItem(0);
            else
                ScaleList().ClickItem(-1);
            queueTyped(bad, "3");
            Run(command);
            EXPECT_EQ(BoxTexts(), std::vector<CString> { kRefusal }) << bad << " " << command;
            ASSERT_FALSE(ModalDialogScript::Records().empty());
            EXPECT_TRUE(ModalDialogScript::Records().back().leftOpen);
            EXPECT_EQ(Column(kManagerDatabase, "SELECT [ip] FROM [ScaleMG]"), std::vector<CString> { stored })
                << bad << " " << command;
            ASSERT_EQ(ListRows().size(), 1u);
            EXPECT_EQ(ListRows()[0][1], stored);
        }
    }
    // No address (a serial scale), and one with leading zeros kept plainly.
    MessageBoxScript::Reset();
    queueTyped("", "4");
    Run(IDC_SCALE_REGISTER_INSERT);
    ScaleList().ClickItem(0);
    queueTyped("010.000.0.7", "1");
    Run(IDC_SCALE_REGISTER_UPDATE);
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [ip] || '/' || [com_port] FROM [ScaleMG] ORDER BY [ID]"),
        (std::vector<CString> { "10.0.0.7/1", "/4" }));
}

TEST_F(WorkScreenScaleTest, RegisterUpdateAndDeleteActOnlyOnTheClickedScale)
{
    AddScale("A", "10.0.0.1", "1", "vexo");
    AddScale("B", "10.0.0.2", "2", "vexo");
    OpenRegister("vexo");
    ASSERT_EQ(ListRows().size(), 2u);
    const auto before = Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG] ORDER BY [ID]");

    // Nothing clicked yet: neither command does anything.
    Run(IDC_SCALE_REGISTER_UPDATE);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_TRUE(ModalDialogScript::Records().empty());
    EXPECT_TRUE(m_boxes.Records().empty());
    // A click beside the items chooses none.
    ScaleList().ClickItem(-1);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG] ORDER BY [ID]"), before);

    ScaleList().ClickItem(1);
    std::vector<CString> shown;
    ModalDialogScript::Push([&shown](CDialog& dialog) {
        for (int id : { IDC_SCALE_INFO_NAME, IDC_SCALE_INFO_IP, IDC_SCALE_INFO_SCALE_ID })
            shown.push_back(GetWindowTextString(dialog.GetDlgItem(id)->GetSafeHwnd()));
        AfxClickDlgButton(dialog, IDCANCEL);
    });
    Run(IDC_SCALE_REGISTER_UPDATE);
    EXPECT_EQ(shown, (std::vector<CString> { "B", "10.0.0.2", "2" }));
    QueueScaleDialog("Bee", "10.0.0.9", "12");
    Run(IDC_SCALE_REGISTER_UPDATE);
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG] ORDER BY [ID]"),
        (std::vector<CString> { "A", "Bee" }));
    EXPECT_EQ(FirstRow(kManagerDatabase, "SELECT [ip], [com_port] FROM [ScaleMG] WHERE [scale_name] = 'Bee'"),
        "10.0.0.9\tjo/12\tjo/");
    EXPECT_EQ(ListRows()[1][0], "Bee");
    EXPECT_EQ(ListRows()[0][0], "A");

    // A key that is no number: nothing stored, the list shows what is.
    ScaleList().SetItemText(1, 4, "ID");
    QueueScaleDialog("Bumble", "10.0.0.8", "13");
    Run(IDC_SCALE_REGISTER_UPDATE);
    MessageBoxScript::PushAnswer(IDYES);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_EQ(BoxTexts(), (std::vector<CString> { kNoKeyText, "This Scale -> Delete?", kNoKeyText }));
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG] ORDER BY [ID]"),
        (std::vector<CString> { "A", "Bee" }));
    ASSERT_EQ(ListRows().size(), 2u);
    EXPECT_EQ(ListRows()[1][0], "Bee");
    MessageBoxScript::Reset();

    ScaleList().ClickItem(0);
    MessageBoxScript::PushAnswer(IDNO);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [ID] FROM [ScaleMG]").size(), 2u);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "This Scale -> Delete?");
    EXPECT_EQ(m_boxes.Records()[0].caption, "Delete");
    MessageBoxScript::PushAnswer(IDYES);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG]"), std::vector<CString> { "Bee" });
    ASSERT_EQ(ListRows().size(), 1u);
    EXPECT_EQ(ListRows()[0][0], "Bee");
    // The deleted scale was the clicked one: no scale is clicked now.
    MessageBoxScript::Reset();
    Run(IDC_SCALE_REGISTER_UPDATE);
    Run(IDC_SCALE_REGISTER_DELETE);
    EXPECT_TRUE(m_boxes.Records().empty());
    EXPECT_EQ(Column(kManagerDatabase, "SELECT [scale_name] FROM [ScaleMG]"), std::vector<CString> { "Bee" });
}

// A manager database gone under the register: Update and Delete name the
// missing file and the list keeps showing the stored scale.
TEST_F(WorkScreenScaleTest, RegisterWritesThatCannotReachTheDatabaseLeaveTheList)
{
    AddScale("A", "10.0.0.1", "1", "vexo");
    OpenRegister("vexo");
    std::filesystem::remove(m_root.Native(kManagerDatabase));
    ScaleList().ClickItem(0);
    QueueScaleDialog("Bee", "10.0.0.9", "12");
    Run(IDC_SCALE_REGISTER_UPDATE);
    EXPECT_EQ(ListRows()[0][0], "A");
    MessageBoxScript::PushAnswer(IDYES);
    Run(IDC_SCALE_REGISTER_DELETE);
    const CString gone = "Could not find file 'C:\\Windows\\system\\Manager\\Manager.mdb'.";
    EXPECT_EQ(BoxTexts(), (std::vector<CString> { gone, "This Scale -> Delete?", gone }));
    ASSERT_EQ(ListRows().size(), 1u);
    EXPECT_EQ(ListRows()[0][0], "A");
    EXPECT_EQ(ListRows()[0][1], "10.0.0.1");
}

// ---- Scale settings screens

TEST_F(WorkScreenScaleTest, SettingsInsertsGetTheirOwnRowsAndKeys)
{
    OpenRootInfo();
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "Not Found  Scale info2." });
    QueueNetDialog({});
    Run(IDC_WORK_SCALE_INFO_INSERT);
    NetValues second;
    second.scaleId = "8";
    second.ip = "192.168.0.8";
    QueueNetDialog(second);
    Run(IDC_WORK_SCALE_INFO_INSERT);
    const std::vector<CString> ids = Column(kSettingsDb, "SELECT [ID] FROM [Scale_Root_Info] ORDER BY [ID]");
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info] ORDER BY [ID]"),
        (std::vector<CString> { "7", "8" }));
    EXPECT_EQ(FirstRow(kSettingsDb, "SELECT * FROM [Scale_Root_Info] WHERE [MyID] = '8'"),
        "1\tjo/2\tjo/8\tjo/192.168.0.8\tjo/255.255.255.0\tjo/192.168.0.1\tjo/5000\tjo/" + ids[1] + "\tjo/");
    ASSERT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Grid().GetItemText(1, 0), "List 1");
    EXPECT_EQ(Grid().GetItemText(2, 0), "List 2");
    EXPECT_EQ(Grid().GetItemText(3, 0), "-->");
    // The empty table's load gave no columns: the insert brings the table's.
    EXPECT_EQ(Grid().GetItemText(0, 1), "ETHERNET_INIT");
    EXPECT_EQ(Grid().GetItemText(0, 7), "DESTINATION_PORT");
    const int key = ColumnOf("ID");
    ASSERT_EQ(key, 8);
    EXPECT_EQ(Grid().GetItemText(1, key), ids[0]);
    EXPECT_EQ(Grid().GetItemText(2, key), ids[1]);
    EXPECT_EQ(Grid().GetItemText(2, 4), "192.168.0.8");
    EXPECT_TRUE(Grid().GetItemState(2, 4) & GRIDSTATE_READONLY);

    // A cancelled dialog adds nothing.
    Run(IDC_WORK_SCALE_INFO_INSERT);
    EXPECT_EQ(Grid().GetRowCount(), 4);
    EXPECT_EQ(Column(kSettingsDb, "SELECT [ID] FROM [Scale_Root_Info]").size(), 2u);
}

TEST_F(WorkScreenScaleTest, SettingsInsertWhoseRowIsNotFoundUpdatesNothing)
{
    OpenRootInfo();
    QueueNetDialog({});
    Run(IDC_WORK_SCALE_INFO_INSERT);
    MessageBoxScript::Reset();
    // A table whose MyID holds one character refuses the '-1' placeholder;
    // its only row has the key the screen read back last.
    Execute(kSettingsDb,
        { "DROP TABLE [Scale_Root_Info]",
            "CREATE TABLE [Scale_Root_Info] ([Ethernet_Init] TEXT(50), [Ethernet_Stat] TEXT(50), [MyID] "
            "TEXT(1), "
            "[IP] TEXT(50), [MASK] TEXT(50), [Destination_IP] TEXT(50), [Destination_Port] TEXT(50), [ID] "
            "COUNTER, "
            "CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]))",
            "INSERT INTO [Scale_Root_Info]([MyID]) VALUES('7')" });
    ASSERT_EQ(Column(kSettingsDb, "SELECT [ID] FROM [Scale_Root_Info]"),
        std::vector<CString> { Grid().GetItemText(1, 8) });
    NetValues other;
    other.scaleId = "9";
    QueueNetDialog(other);
    Run(IDC_WORK_SCALE_INFO_INSERT);
    // The earlier row keeps its values; the new grid row is gone again.
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info]"), std::vector<CString> { "7" });
    EXPECT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Grid().GetItemText(2, 0), "-->");
    ASSERT_FALSE(m_boxes.Records().empty());
    EXPECT_EQ(m_boxes.Records().back().text, "Scale Info Insert Error");
}

namespace {

// Two network settings rows (MyID 7 and 8) in the grid.
class WorkScreenScaleRowsTest : public WorkScreenScaleTest {
protected:
    void SetUp() override
    {
        WorkScreenScaleTest::SetUp();
        Execute(kSettingsDb,
            { "INSERT INTO [Scale_Root_Info]([Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], "
              "[Destination_IP], [Destination_Port]) VALUES('1', '0', '7', '10.0.0.7', '255.0.0.0', '-1', "
              "'4000')",
                "INSERT INTO [Scale_Root_Info]([Ethernet_Init], [Ethernet_Stat], [MyID], [IP], [MASK], "
                "[Destination_IP], [Destination_Port]) VALUES('1', '0', '8', '10.0.0.8', '255.0.0.0', "
                "'10.0.0.1', '4000')" });
        OpenRootInfo();
        ASSERT_EQ(Grid().GetRowCount(), 4);
    }
    void Reopen() override { OpenRootInfo(); }
};

} // namespace

TEST_F(WorkScreenScaleRowsTest, SettingsLoadShowsTheRowsWithPlaceholdersAsZero)
{
    EXPECT_EQ(RowTexts(1).size(), 8u);
    EXPECT_EQ(Grid().GetItemText(0, 3), "MYID");
    EXPECT_EQ(Grid().GetItemText(1, 0), "List 1");
    EXPECT_EQ(Grid().GetItemText(1, 6), "0");
    EXPECT_EQ(Grid().GetItemText(2, 6), "10.0.0.1");
    EXPECT_EQ(Grid().GetItemText(3, 0), "-->");
}

TEST_F(WorkScreenScaleRowsTest, SingleRowCheckRefusesPicksRangesTheHeadingAndTheLastRow)
{
    struct Case {
        const char* name;
        std::function<void()> pick;
        const char* message; // nullptr: the dialog opens
    };
    const Case cases[] = {
        { "ctrl picks", [this] { ClickRow(1), ClickCell(2, 1, MK_CONTROL); }, "Only, Select one line" },
        { "shift range", [this] { ClickRow(1), ClickCell(2, 1, MK_SHIFT); }, "Only, Select one line" },
        { "drag range", [this] { DragCells(1, 2, 1); }, "Only, Select one line" },
        { "heading row", [this] { ClickRow(0); }, "Select a grid line" },
        { "last row", [this] { ClickRow(3); }, "Select a grid line" },
        { "one row", [this] { ClickRow(2); }, nullptr },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        ModalDialogScript::Reset();
        c.pick();
        Run(IDC_WORK_SCALE_INFO_UPDATE);
        if (c.message) {
            EXPECT_EQ(BoxTexts(), std::vector<CString> { c.message }) << c.name;
            EXPECT_TRUE(ModalDialogScript::Records().empty()) << c.name;
        } else {
            EXPECT_TRUE(m_boxes.Records().empty()) << c.name;
            ASSERT_EQ(ModalDialogScript::Records().size(), 1u) << c.name;
            EXPECT_EQ(ModalDialogScript::Records()[0].templateId, 211u) << c.name;
        }
        EXPECT_EQ(Grid().Picks().listFlag + Grid().Picks().rangeFlag, 0) << c.name;
    }
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info] ORDER BY [ID]"),
        (std::vector<CString> { "7", "8" }));
}

TEST_F(WorkScreenScaleRowsTest, UpdateWritesTheDialogsValuesIntoTheClickedRow)
{
    ClickRow(2);
    NetValues changed;
    changed.scaleId = "9";
    changed.ip = "10.0.0.9";
    QueueNetDialog(changed);
    Run(IDC_WORK_SCALE_INFO_UPDATE);
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info] ORDER BY [ID]"),
        (std::vector<CString> { "7", "9" }));
    EXPECT_EQ(FirstRow(kSettingsDb,
                  "SELECT [Ethernet_Stat], [IP], [Destination_Port] FROM [Scale_Root_Info] "
                  "WHERE [MyID] = '9'"),
        "2\tjo/10.0.0.9\tjo/5000\tjo/");
    EXPECT_EQ(Grid().GetItemText(2, 3), "9");
    EXPECT_EQ(Grid().GetItemText(2, 4), "10.0.0.9");
    EXPECT_EQ(Grid().GetItemText(1, 3), "7");
}

TEST_F(WorkScreenScaleRowsTest, DeleteRemovesTheClickedRowOrTheLastDataRow)
{
    ClickRow(1);
    Run(IDC_WORK_SCALE_INFO_DELETE);
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info]"), std::vector<CString> { "8" });
    ASSERT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Grid().GetItemText(1, 3), "8");
    // Without a current row the row before the last one goes.
    ClickRow(0);
    Run(IDC_WORK_SCALE_INFO_DELETE);
    EXPECT_TRUE(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info]").empty());
    ASSERT_EQ(Grid().GetRowCount(), 2);
    // Only the heading and the last row are left: nothing more goes, and
    // nothing is said (the heading is no row to refuse).
    MessageBoxScript::Reset();
    Run(IDC_WORK_SCALE_INFO_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), 2);
    EXPECT_EQ(Grid().GetItemText(1, 0), "-->");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenScaleRowsTest, DeleteOnTheTrailingRowTakesNothing)
{
    const int rows = Grid().GetRowCount();
    ClickRow(rows - 1);
    Run(IDC_WORK_SCALE_INFO_DELETE);
    EXPECT_EQ(Grid().GetRowCount(), rows);
    EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info] ORDER BY [ID]"),
        (std::vector<CString> { "7", "8" }));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenScaleRowsTest, ARowWithAKeyThatIsNoNumberStoresNothingAndSaysSo)
{
    Grid().SetItemText(1, 8, "ID");
    for (const int command : { IDC_WORK_SCALE_INFO_UPDATE, IDC_WORK_SCALE_INFO_DELETE }) {
        MessageBoxScript::Reset();
        ClickRow(1);
        NetValues changed;
        changed.scaleId = "9";
        QueueNetDialog(changed);
        Run(static_cast<UINT>(command));
        EXPECT_EQ(BoxTexts(), std::vector<CString> { kNoKeyText }) << command;
        EXPECT_EQ(Column(kSettingsDb, "SELECT [MyID] FROM [Scale_Root_Info] ORDER BY [ID]"),
            (std::vector<CString> { "7", "8" }))
            << command;
        // The grid shows what is stored.
        EXPECT_EQ(Grid().GetRowCount(), 4) << command;
        EXPECT_EQ(Grid().GetItemText(1, 3), "7") << command;
        ModalDialogScript::Reset();
    }
}

TEST_F(WorkScreenScaleRowsTest, TransHandsTheOrderToTheTransportOfTheMode)
{
    const CString one = "Scale name = A, IP=10.0.0.7";
    const CString two = "Scale name = B, IP=10.0.0.8";
    struct Case {
        const char* name;
        std::optional<Transport> mode;
        std::vector<CString> scales;
        int row;
        const char* message; // nullptr: an order goes out
    };
    const Case cases[] = {
        { "ethernet, one scale", Transport::Ethernet, { one }, 1, nullptr },
        { "ethernet, two scales", Transport::Ethernet, { one, two }, 1, "Only, One Scale Trans" },
        { "ethernet, none", Transport::Ethernet, {}, 1, "Communication Setting error" },
        { "ethernet, last row", Transport::Ethernet, { one }, 3, "Select a grid line" },
        { "serial, one scale", Transport::Serial, { "Scale name = A, Scale ID=7" }, 2, nullptr },
        { "no mode", std::nullopt, { one }, 1, "Select a port." },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        m_port.m_ethernet.clear();
        m_port.m_serial.clear();
        Comm().SelectMode(c.mode);
        Comm().SetChosen(c.scales);
        // What a read by numbers (on the item screen) and a serial job left
        // behind does not go along.
        Switch(Screen::Item, "Item_Read", "vexo", MakeItemDatabase());
        m_screen->SetDlgItemText(IDC_WORK_RECV_NUMBERS, "3,5");
        Run(IDC_WORK_RECV_SELECT);
        OpenRootInfo();
        m_screen->Transfers().Hosts().SerialHost().SetSerialText(IDC_SERIAL_STATUS, "CLOSE");
        MessageBoxScript::Reset();
        m_port.m_ethernet.clear();
        m_port.m_serial.clear();
        ClickRow(c.row);
        Run(IDC_WORK_SCALE_INFO_TRANS);
        const std::vector<TransferOrder>& orders
            = c.mode == Transport::Serial ? m_port.m_serial : m_port.m_ethernet;
        if (c.message) {
            EXPECT_EQ(BoxTexts(), std::vector<CString> { c.message }) << c.name;
            EXPECT_TRUE(m_port.m_ethernet.empty() && m_port.m_serial.empty()) << c.name;
            continue;
        }
        EXPECT_TRUE(m_boxes.Records().empty()) << c.name;
        ASSERT_EQ(orders.size(), 1u) << c.name;
        EXPECT_EQ(orders[0].command, TransferCommand::Trans) << c.name;
        EXPECT_EQ(orders[0].kind, DataKind::ScaleRootInfo) << c.name;
        EXPECT_EQ(orders[0].scope, TransferScope::Select) << c.name;
        EXPECT_EQ(RecordingTransferPort::Lines(orders[0]), c.scales) << c.name;
        EXPECT_TRUE(orders[0].receiveNumbers.empty()) << c.name;
        EXPECT_EQ(m_screen->Transfers().Hosts().SerialHost().GetSerialText(IDC_SERIAL_STATUS), "") << c.name;
    }
}

TEST_F(WorkScreenScaleTest, ScaleInfoTransBroadcastsToSeveralSerialScales)
{
    Execute(
        kSettingsDb, { "INSERT INTO [Scale_Info]([WeightNum], [PriceNum], [VAT]) VALUES('2', '3', '10')" });
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", MakeItemDatabase());
    ASSERT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Grid().GetItemText(0, 1), "WeightNum");
    EXPECT_EQ(Grid().GetItemText(1, 19), "10");
    Comm().SelectMode(Transport::Serial);
    ChoosePort(2);
    Comm().SetChosen({ "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2" });
    ClickRow(1);
    Run(IDC_WORK_SCALE_INFO_TRANS);
    ASSERT_EQ(m_port.m_serial.size(), 1u);
    EXPECT_EQ(m_port.m_serial[0].command, TransferCommand::BroadTrans);
    EXPECT_EQ(m_port.m_serial[0].kind, DataKind::ScaleInfo);
    EXPECT_EQ(m_port.m_serial[0].comPort, 2);
    // One scale chosen: no broadcast.
    Comm().SetChosen({ "Scale name = A, Scale ID=1" });
    Run(IDC_WORK_SCALE_INFO_TRANS);
    ASSERT_EQ(m_port.m_serial.size(), 2u);
    EXPECT_EQ(m_port.m_serial[1].command, TransferCommand::Trans);
}

namespace {

// Serial mode from the settings file, but no COM port in it.
class WorkScreenNoPortTest : public WorkScreenScaleTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(
            std::filesystem::path(m_root.Native(kSettingsFile)).parent_path());
        TempDataRoot::WriteAll(
            m_root.Native(kSettingsFile), "Auto\r\nserial\r\nScale name = A, Scale ID=1\r\n");
        WorkScreenScaleTest::SetUp();
    }
};

} // namespace

TEST_F(WorkScreenNoPortTest, ScaleSendsWithoutAComPortAskForOne)
{
    Execute(kSettingsDb, { "INSERT INTO [Scale_Info]([WeightNum]) VALUES('2')" });
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", MakeItemDatabase());
    ASSERT_EQ(Comm().GetChosen().size(), 1u);
    ClickRow(1);
    Run(IDC_WORK_SCALE_INFO_TRANS);
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "Select a port." });
    EXPECT_TRUE(m_port.m_serial.empty());
    ChoosePort(4);
    MessageBoxScript::Reset();
    Run(IDC_WORK_SCALE_INFO_TRANS);
    ASSERT_EQ(m_port.m_serial.size(), 1u);
    EXPECT_EQ(m_port.m_serial[0].comPort, 4);
}

// ---- Communication setup

namespace {

class WorkScreenCommTest : public WorkScreenScaleTest {
protected:
    void SetUp() override
    {
        WorkScreenScaleTest::SetUp();
        AddScale("A", "10.0.0.1", "1", "vexo");
        AddScale("B", nullptr, "2", "vexo");
        AddScale("C", "10.0.0.3", nullptr, "kim");
        // Not the scale chosen at start-up.
        Comm().ClearChosen();
    }
    CCommSetupDlg& Dialog() const { return m_screen->Scales().CommSetupDialog(); }
    std::vector<CString> Lines(const CListBox& list) const
    {
        std::vector<CString> lines;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString line;
            list.GetText(i, line);
            lines.push_back(line);
        }
        return lines;
    }
    void OpenSetup()
    {
        ASSERT_TRUE(Command(*GetMainFrame(), ID_COMM_SETUP)); // Communication Setup > Setup
        ASSERT_TRUE(WaitForLoad());
    }
    // A click on a button of the setup dialog where it stands.
    void Press(int id) { ASSERT_TRUE(ClickButton(Dialog(), id)) << id; }
    void ChooseMode(Transport mode)
    {
        DlgItem<CComboBox>(Dialog(), IDC_COMM_MODE).SetCurSel(EntryOfTransport(mode));
        Notify(Dialog(), IDC_COMM_MODE, CBN_SELCHANGE);
    }
};

} // namespace

TEST_F(WorkScreenCommTest, SetupReloadsTheRegisteredScalesOfTheMode)
{
    Comm().SelectMode(Transport::Serial);
    OpenSetup();
    const std::vector<CString> serial = { "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2" };
    EXPECT_EQ(Comm().GetRegistered(), serial);
    EXPECT_EQ(Lines(DlgItem<CListBox>(Dialog(), IDC_COMM_ALL_LIST)), serial);
    EXPECT_TRUE(Dialog().GetStyle() & WS_VISIBLE);
    EXPECT_EQ(DlgItem<CComboBox>(Dialog(), IDC_COMM_MODE).GetCurSel(), 1); // "Serial"

    Comm().SetChosen({ serial[0] });
    ChooseMode(Transport::Ethernet);
    // The lists empty at once; the reload holds the lock until its end.
    EXPECT_TRUE(Comm().GetChosen().empty());
    EXPECT_TRUE(Locked());
    ASSERT_TRUE(WaitForLoad());
    const std::vector<CString> ethernet = { "Scale name = A, IP=10.0.0.1", "Scale name = C, IP=10.0.0.3" };
    EXPECT_EQ(Comm().GetRegistered(), ethernet);
    EXPECT_EQ(Lines(DlgItem<CListBox>(Dialog(), IDC_COMM_ALL_LIST)), ethernet);
    EXPECT_EQ(Comm().ModeText(), "Ethernet");

    // Only modes 1 and 2 reload.
    EXPECT_EQ(m_screen->SendMessage(WM_COMMMODE_CHANGED, 3, 0), 1);
    EXPECT_FALSE(Locked());
    EXPECT_EQ(Comm().GetRegistered(), ethernet);
}

TEST_F(WorkScreenCommTest, SetupListsTheScalesWhateverWordAFinishedRequestLeft)
{
    const CString db = MakeItemDatabase();
    const std::vector<CString> ethernet = { "Scale name = A, IP=10.0.0.1", "Scale name = C, IP=10.0.0.3" };
    const std::vector<CString> serial = { "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2" };
    struct Case {
        const char* name;
        std::function<void()> leave;
    };
    const Case cases[] = {
        { "insert",
            [&] {
                ModalDialogScript::Push([](CDialog& dialog) {
                    dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "1");
                    AfxClickDlgButton(dialog, IDOK);
                });
                ClickControl(IDC_WORK_INSERT);
            } },
        { "received record",
            [&] {
                m_screen->Transfers().Hosts().Host().NoteReceivedRecord(
                    "ITEM_REV", "INSERT INTO [Item]([item_num]) VALUES('5')");
            } },
        { "hint without a load",
            [&] { Switch(Screen::DatabaseChanged, "Scale_Result_All_Read", "vexo", db); } },
    };
    for (const Case& c : cases) {
        Switch(Screen::Item, "Item_Read", "vexo", db);
        c.leave();
        // A word left in the worker's mailbox, which shows nowhere.
        ASSERT_NE(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "") << c.name;
        Comm().SelectMode(Transport::Ethernet);
        OpenSetup();
        EXPECT_EQ(Comm().GetRegistered(), ethernet) << c.name;
        // A mode change refills the list it empties.
        ChooseMode(Transport::Serial);
        ASSERT_TRUE(WaitForLoad());
        EXPECT_EQ(Comm().GetRegistered(), serial) << c.name;
        EXPECT_TRUE(m_boxes.Records().empty()) << c.name;
    }
}

TEST_F(WorkScreenCommTest, SetupGivesTheDialogTheScreensKindAndNumber)
{
    OpenRootInfo();
    // A hint without a screen of its own keeps the kind, not the number.
    Switch(Screen::DatabaseChanged, "", "vexo", MakeItemDatabase());
    OpenSetup();
    EXPECT_EQ(Dialog().GetMode(), "Scale_Root_Info");
    EXPECT_EQ(m_screen->Context().Hint(), 18);
    OpenRegister("vexo");
    OpenSetup();
    EXPECT_EQ(Dialog().GetMode(), "Scale_reg");
    EXPECT_EQ(m_screen->Context().Hint(), 6);
}

TEST_F(WorkScreenCommTest, ChosenScalesAreWrittenToTheSettingsFileAndReadBack)
{
    Comm().SelectMode(Transport::Serial);
    OpenSetup();
    DlgItem<CListBox>(Dialog(), IDC_COMM_ALL_LIST).SetCurSel(0);
    Press(IDC_COMM_SELECT);
    Press(IDC_COMM_SELECT);
    DlgItem<CListBox>(Dialog(), IDC_COMM_ALL_LIST).OnUserSelect(1);
    DlgItem<CListBox>(Dialog(), IDC_COMM_ALL_LIST).OnUserDoubleClick();
    // A scale chosen already is not added again.
    EXPECT_EQ(Lines(DlgItem<CListBox>(Dialog(), IDC_COMM_CHOSEN_LIST)),
        (std::vector<CString> { "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2" }));
    DlgItem<CListBox>(Dialog(), IDC_COMM_CHOSEN_LIST).SetCurSel(0);
    Press(IDC_COMM_REMOVE);
    EXPECT_EQ(Comm().GetChosen(), std::vector<CString> { "Scale name = B, Scale ID=2" });
    Press(IDC_COMM_ALL_SELECT);
    EXPECT_EQ(Comm().GetChosen(), Comm().GetRegistered());
    DlgItem<CComboBox>(Dialog(), IDC_COMM_PORT).SetCurSel(2);
    Notify(Dialog(), IDC_COMM_PORT, CBN_SELCHANGE);
    EXPECT_EQ(m_screen->Scales().GetComPort(), 3);
    Press(IDOK);
    EXPECT_FALSE(Dialog().GetStyle() & WS_VISIBLE);
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kSettingsFile)),
        "Auto\r\nserial\r\ncom3\r\nScale name = A, Scale ID=1\r\nScale name = B, Scale ID=2\r\n");

    // What start-up reads back.
    Comm().SelectMode(std::nullopt);
    Comm().SelectPort(-1);
    Comm().ClearChosen();
    EXPECT_EQ(m_screen->Scales().ReadCommMode(), 1);
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(Comm().ModeText(), "Serial");
    EXPECT_EQ(Comm().GetPort(), 2);
    EXPECT_EQ(Comm().GetChosen(),
        (std::vector<CString> { "Scale name = A, Scale ID=1", "Scale name = B, Scale ID=2" }));

    // Ethernet: "socket" in place of the port; unchecking All Select empties the choice.
    OpenSetup();
    ChooseMode(Transport::Ethernet);
    ASSERT_TRUE(WaitForLoad());
    Press(IDC_COMM_ALL_SELECT);
    Press(IDOK);
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kSettingsFile)),
        "Auto\r\nethernet\r\nsocket\r\nScale name = A, IP=10.0.0.1\r\nScale name = C, IP=10.0.0.3\r\n");
    OpenSetup();
    Press(IDC_COMM_ALL_SELECT);
    EXPECT_TRUE(Comm().GetChosen().empty());
}

// The settings file names the port as "com1" to "com8"; any other line is a
// chosen scale.
TEST_F(WorkScreenCommTest, SettingsFilePortsRunFromComOneToComEight)
{
    struct Case {
        const char* line;
        int port; // -1: none read
    };
    for (const Case& c : { Case { "com1", 0 }, Case { "com8", 7 }, Case { "com9", -1 }, Case { "com0", -1 },
             Case { "com12", -1 } }) {
        TempDataRoot::WriteAll(
            m_root.Native(kSettingsFile), std::string("Auto\r\nserial\r\n") + c.line + "\r\n");
        Comm().SelectPort(-1);
        EXPECT_EQ(m_screen->Scales().ReadCommMode(), 1) << c.line;
        ASSERT_TRUE(WaitForLoad());
        EXPECT_EQ(Comm().GetPort(), c.port) << c.line;
        if (c.port >= 0) {
            EXPECT_EQ(m_screen->Scales().GetComPort(), c.port + 1) << c.line;
        }
        EXPECT_EQ(Comm().GetChosen(), c.port >= 0 ? std::vector<CString>() : std::vector<CString> { c.line })
            << c.line;
    }
}

TEST_F(WorkScreenCommTest, NetworkSettingsScreenAllowsOneChosenScale)
{
    OpenRootInfo();
    Comm().SelectMode(Transport::Ethernet);
    OpenSetup();
    MessageBoxScript::Reset();
    Comm().SetChosen(Comm().GetRegistered());
    ASSERT_EQ(Comm().GetChosen().size(), 2u);
    Press(IDOK);
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "One Select Scale(Scale info2)" });
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_TRUE(Dialog().GetStyle() & WS_VISIBLE);
    Comm().RemoveChosen(0);
    Press(IDOK);
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kSettingsFile)),
        "Auto\r\nethernet\r\nsocket\r\nScale name = C, IP=10.0.0.3\r\n");
}

TEST_F(WorkScreenCommTest, EscapeGoesBackToTheSavedChoiceAndNoScaleIsChosenTwice)
{
    const CString a = "Scale name = A, IP=10.0.0.1";
    const CString c = "Scale name = C, IP=10.0.0.3";
    auto clickScale = [this](int list, int index) {
        auto& box = DlgItem<CListBox>(Dialog(), list);
        RECT rect {};
        ASSERT_NE(box.GetItemRect(index, &rect), LB_ERR);
        AfxSimulateClick(
            box.GetSafeHwnd(), CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    };
    auto escape = [this] {
        AfxSimulateKey(Dialog().GetDlgItem(IDC_COMM_ALL_LIST)->GetSafeHwnd(), VK_ESCAPE, "\x1b");
    };
    OpenRootInfo();
    Comm().SelectMode(Transport::Ethernet);
    OpenSetup();
    clickScale(IDC_COMM_ALL_LIST, 0);
    Press(IDC_COMM_SELECT);
    Press(IDC_COMM_SELECT);
    EXPECT_EQ(Comm().GetChosen(), std::vector<CString> { a });
    Press(IDOK);
    const std::string saved = "Auto\r\nethernet\r\nsocket\r\n" + std::string(a) + "\r\n";
    ASSERT_EQ(TempDataRoot::ReadAll(m_root.Native(kSettingsFile)), saved);

    // A second scale is refused here; Escape then keeps the file's choice.
    OpenSetup();
    clickScale(IDC_COMM_ALL_LIST, 1);
    Press(IDC_COMM_SELECT);
    MessageBoxScript::Reset();
    Press(IDOK);
    EXPECT_EQ(BoxTexts(), std::vector<CString> { "One Select Scale(Scale info2)" });
    escape();
    EXPECT_FALSE(Dialog().IsWindowVisible());
    EXPECT_EQ(Comm().GetChosen(), std::vector<CString> { a });
    Switch(Screen::Item, "Item_Read", "vexo", MakeItemDatabase());
    OpenSetup();
    EXPECT_EQ(Lines(DlgItem<CListBox>(Dialog(), IDC_COMM_CHOSEN_LIST)), std::vector<CString> { a });

    // A mode and port changed, a scale removed: Escape puts all back and
    // lists the registered scales of the saved mode.
    ChooseMode(Transport::Serial);
    ASSERT_TRUE(WaitForLoad());
    ChoosePort(4);
    escape();
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(Comm().ModeText(), "Ethernet");
    EXPECT_EQ(Comm().GetPort(), 0);
    EXPECT_EQ(m_screen->Scales().GetComPort(), 1);
    EXPECT_EQ(Comm().GetChosen(), std::vector<CString> { a });
    EXPECT_EQ(Comm().GetRegistered(), (std::vector<CString> { a, c }));
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kSettingsFile)), saved);
}

TEST_F(WorkScreenScaleTest, StartWithoutSettingsChoosesTheFirstRegisteredSerialScale)
{
    EXPECT_EQ(Comm().ModeText(), "Serial");
    EXPECT_EQ(Comm().GetRegistered(), std::vector<CString> { "Scale name = scale1, Scale ID=98" });
    EXPECT_EQ(Comm().GetChosen(), Comm().GetRegistered());
    // Only the first load chooses a scale.
    AddScale("second", nullptr, "5", "vexo");
    Comm().ClearChosen();
    ASSERT_TRUE(Command(*GetMainFrame(), ID_COMM_SETUP)); // Communication Setup > Setup
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(Comm().GetRegistered().size(), 1u);
    EXPECT_TRUE(Comm().GetChosen().empty());
}

TEST_F(WorkScreenCommTest, SetupSetsTheScreenNumberOfEveryKind)
{
    const CString db = MakeItemDatabase();
    // Each screen's kind (a results screen's is its query word), then hint
    // 11, which keeps the kind under another number (shown nowhere).
    const std::tuple<Screen, const char*, int> screens[] = { { Screen::Item, "Item", 1 },
        { Screen::Ingredient, "Add", 2 }, { Screen::Advertisement, "Adv", 4 },
        { Screen::LandAddition, "Land_addition", 19 }, { Screen::UserLabel, "User_Label_Read", 17 },
        { Screen::Preset, "Pre", 3 }, { Screen::ScaleReg, "Scale_reg", 6 },
        { Screen::ScaleInfo, "Scale_Info", 5 }, { Screen::Management, "Mg_Reg_Read", 16 },
        { Screen::ScaleRootInfo, "Scale_Root_Info", 18 }, { Screen::ScaleTotal, "Scale_Result_All_Read", 12 },
        { Screen::ScaleTotal, "Scale_Result_Item_All_Read", 13 },
        { Screen::ScaleTotal, "Scale_Result_Item_Day_Read", 14 },
        { Screen::ScaleTotal, "Scale_Result_Day_Read", 15 }, { Screen::Refresh, "", 11 },
        { Screen::ScaleTotal, "Unknown", 11 } };
    for (const auto& [hint, kind, number] : screens) {
        Switch(hint, kind, "vexo", hint == Screen::Management ? CString() : db);
        Switch(Screen::DatabaseChanged, "", "vexo", db);
        LogIn("vexo"); // the log-out screen greys Setup
        OpenSetup();
        EXPECT_EQ(m_screen->Context().Hint(), number) << kind;
        EXPECT_EQ(Dialog().GetMode(), kind);
    }
}
