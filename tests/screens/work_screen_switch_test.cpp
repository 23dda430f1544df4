// The screen switch: which controls each hint shows and enables, what the
// log-in hints leave alone, and the lock that drops a hint during a load.

#include <map>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/command.h"

namespace {

class WorkScreenSwitchTest : public WorkScreenFixture {
protected:
    bool GridVisible() const { return (Grid().GetStyle() & WS_VISIBLE) != 0; }
    int VisiblePresetKeys() const
    {
        int n = 0;
        for (UINT id = IDC_PRESET_FIRST_KEY; id < IDC_PRESET_FIRST_KEY + kPresetKeyEdits; ++id)
            n += (m_screen->GetDlgItem(id)->GetStyle() & WS_VISIBLE) ? 1 : 0;
        return n;
    }
    bool ScaleListVisible() const { return Visible(IDC_SCALE_REGISTER_LIST); }
    // The texts of the form's visible controls in the order of their ids (up
    // to a line's end), "_" for one without text; the caption panel, the grid
    // and the preset keys aside.
    std::string ShownTexts() const
    {
        std::string texts;
        for (UINT id = 1; id < 2000; ++id) {
            const bool presetKey
                = id >= IDC_PRESET_FIRST_KEY && id < IDC_PRESET_FIRST_KEY + 2 * kPresetKeyEdits;
            if (presetKey || id == IDC_PRESET_PAGE || id == IDC_WORK_CAPTION || id == IDC_WORK_GRID)
                continue;
            if (CWnd* control = m_screen->GetDlgItem(id); control && (control->GetStyle() & WS_VISIBLE)) {
                const std::string text = GetWindowTextString(control->GetSafeHwnd()).GetString();
                texts += (texts.empty() ? "" : "|") + (text.empty() ? "_" : text.substr(0, text.find('\r')));
            }
        }
        if (Visible(ID_FILE_PRINT))
            texts
                += "|" + std::string(GetWindowTextString(m_screen->GetDlgItem(ID_FILE_PRINT)->GetSafeHwnd()));
        return texts;
    }
};

} // namespace

TEST_F(WorkScreenSwitchTest, EachHintShowsItsOwnPanels)
{
    const CString db = MakeItemDatabase();
    struct Case {
        Screen hint;
        const char* query;
        const char* caption;
        bool grid;
        bool editGroup;
        bool scaleData;
        bool scaleInfo;
        bool scaleList;
        int presetKeys;
        bool reservation;
        bool posHelp;
        const char* printKind;
    };
    const Case cases[] = {
        { Screen::Item, "Item_Read", "Item Display", true, true, false, false, false, 0, true, true,
            "ItemPrint" },
        { Screen::Preset, "Pre_Read", "Preset Display", false, false, true, false, false, 60, false, false,
            "PresetPrint" },
        { Screen::Ingredient, "Add_Read", "Ingredient Display", true, true, false, false, false, 0, false,
            false, "AddPrint" },
        { Screen::ScaleInfo, "Scale_Info_Read", "Scale Information", true, false, false, true, false, 0,
            false, false, "" },
        { Screen::Advertisement, "Adv_Read", "Advertisement Display", true, true, false, false, false, 0,
            false, false, "AdvPrint" },
        { Screen::ScaleReg, "Scale_Reg_Read", "Scale Register", false, false, false, false, true, 0, false,
            false, "" },
        { Screen::LandAddition, "Land_Add_Read", "Land Addition Dispaly", true, true, false, false, false, 0,
            false, false, "LandPrint" },
        { Screen::ScaleRootInfo, "Scale_Root_Info_Read", "Scale Information2", true, false, false, true,
            false, 0, false, false, "" },
        { Screen::DatabaseChanged, "", "Initial Display", false, false, false, false, false, 0, false, false,
            "" },
        { Screen::Item, "Item_Read", "Item Display", true, true, false, false, false, 0, true, true,
            "ItemPrint" },
        { Screen::ScaleTotal, "Scale_Result_All_Read", "Scale Total Result", true, false, false, false, false,
            0, false, false, "ResultAllPrint" },
        { Screen::Preset, "Pre_Read", "Preset Display", false, false, true, false, false, 60, false, false,
            "PresetPrint" },
        { Screen::OneDay, "Scale_Result_Day_Read", "One Day Total Result", true, false, false, false, false,
            0, false, false, "ResultDayPrint" },
        { Screen::Refresh, "", "Initial Display", false, false, false, false, false, 0, false, false, "" },
    };
    for (const Case& c : cases) {
        Switch(c.hint, c.query, "vexo", db);
        const std::string label = std::to_string(HintOf(c.hint));
        EXPECT_EQ(Caption(), c.caption) << label;
        EXPECT_EQ(GridVisible(), c.grid) << label;
        // The progress group shows wherever something can be sent or fetched;
        // the totals' buttons on their screens only (Clear on the scale total).
        const bool totals = c.hint == Screen::ScaleTotal || c.hint == Screen::OneDay;
        for (int id : { IDC_WORK_PROGRESS_GROUP, IDC_WORK_PROGRESS, IDC_WORK_PC_LABEL, IDC_WORK_SEND_LAMP,
                 IDC_WORK_SCALE_LABEL, IDC_WORK_RECV_LAMP })
            EXPECT_EQ(Visible(id), c.editGroup || c.scaleData || c.scaleInfo || totals)
                << label << " control " << id;
        for (int id : { IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM })
            EXPECT_EQ(Visible(id), totals) << label << " control " << id;
        EXPECT_EQ(Visible(IDC_WORK_RESULT_CLEAR), c.hint == Screen::ScaleTotal) << label;
        EXPECT_EQ(ScaleListVisible(), c.scaleList) << label;
        EXPECT_EQ(VisiblePresetKeys(), c.presetKeys) << label;
        EXPECT_EQ(Visible(IDC_WORK_PRESET_NOTE), c.presetKeys > 0) << label;
        EXPECT_EQ(Visible(IDC_WORK_RESERVATION_VIEW) && Visible(IDC_WORK_RESERVATION_SETUP), c.reservation)
            << label;
        EXPECT_EQ(Visible(IDC_WORK_POS_HELP) && Visible(IDC_WORK_POS_HELP_GROUP), c.posHelp) << label;
        EXPECT_EQ(m_screen->Print().GetPrintKind(), c.printKind) << label;
        // The transfer buttons are usable, the stop button is not.
        for (int id : { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
                 IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT })
            EXPECT_TRUE(Enabled(id)) << label << " control " << id;
        EXPECT_FALSE(Enabled(IDC_WORK_TRANS_STOP)) << label;
        EXPECT_FALSE(Enabled(IDC_WORK_COM_PORT_TOGGLE)) << label;
        EXPECT_EQ(m_screen->GetPresetKeys().HasSheetFrame(), c.hint == Screen::Preset ? TRUE : FALSE)
            << label;
    }
    EXPECT_EQ(m_screen->GetCommSetupFlag(), 0); // hint 10 is the log-out screen
}

// Each screen shows its own controls with their texts and no other: a
// control left out of a screen's panels, or shown on a screen it does not
// belong to, changes a row. Server mode adds the synchronisation buttons.
TEST_F(WorkScreenSwitchTest, EachScreenShowsItsControlsAndNoOthers)
{
    const CString db = MakeItemDatabase();
    constexpr const char* kTable
        = "All Receive|Select Receive|Insert|Delete|Trans|Select Trans|_|Trans Stop|Edit|"
          "Trans|_|_|_|PC -->|SCALE -->|~Ing|EX)1 or 1,2 or 1-4";
    constexpr const char* kSettings = "Insert|Delete|Trans|Update|_|_|_|PC -->|SCALE -->|~Ing";
    constexpr const char* kTotals = "_|_|_|PC -->|SCALE -->|~Ing|Result Receive|Reload Result|Result DB Sum";
    const std::string table = kTable;
    const std::string posHelp = "Pos Kind => 0 : Kan-13, 1 : Kan-8, 2 : Kan-13 Fixation, 3 : 4State_37";
    struct Case {
        Screen hint;
        const char* query;
        std::string shown;
        std::string shownInServerMode;
    };
    const Case cases[] = {
        { Screen::Item, "Item_Read", table + "|Reservation Info View|Reservation Setup|" + posHelp + "|_",
            table + "|Synchronization|Reservation Info View|Reservation Setup|" + posHelp + "|_" },
        { Screen::Preset, "Pre_Read",
            "Trans|All Receive|_|Select Receive|Trans|_|_|_|PC -->|SCALE -->|~Ing| Last Line => Only "
            "Q-series "
            "Scale|Print",
            "Trans|All Receive|_|Select Receive|Trans|_|_|_|PC -->|SCALE -->|~Ing|Synchronization| Last Line "
            "=> "
            "Only Q-series Scale|Print" },
        { Screen::Ingredient, "Add_Read", table, table + "|Synchronization" },
        { Screen::ScaleInfo, "Scale_Info_Read", kSettings, kSettings },
        { Screen::Advertisement, "Adv_Read", table, table + "|Synchronization" },
        { Screen::ScaleReg, "Scale_Reg_Read", "_|UPDATE|INSERT|DELETE", "_|UPDATE|INSERT|DELETE" },
        { Screen::LandAddition, "Land_Add_Read", table, table + "|Synchronization" },
        { Screen::ScaleRootInfo, "Scale_Root_Info_Read", kSettings, kSettings },
        { Screen::DatabaseChanged, "", "", "" },
        { Screen::ScaleTotal, "Scale_Result_All_Read",
            "_|_|_|PC -->|SCALE -->|~Ing|Result Receive|Result Clear|Reload Result|Result DB Sum",
            "_|_|_|PC -->|SCALE -->|~Ing|Result Receive|Result Clear|Reload Result|Result DB Sum" },
        { Screen::OneDay, "Scale_Result_Day_Read", kTotals, kTotals },
        { Screen::ItemTotal, "Scale_Result_Plu_Read", kTotals, kTotals },
        { Screen::Management, "Mg_Reg_Read", "_|User ID|Register|Delete|_", "_|User ID|Register|Delete|_" },
        { Screen::UserLabel, "User_Label_Read",
            "_|_|_|PC -->|SCALE -->|~Ing|Insert|Delete|Receive|Trans|Select Trans|Image Display",
            "_|_|_|PC -->|SCALE -->|~Ing|Insert|Delete|Receive|Trans|Select Trans|Image "
            "Display|Synchronization" },
        { Screen::Refresh, "", "", "" },
    };
    EXPECT_EQ(ShownTexts(), "") << "start";
    for (const bool server : { false, true }) {
        if (server) // No user door sets server mode without a listening socket.
            LeftPane()->ServerStarted("", "");
        for (const Case& c : cases) {
            Switch(c.hint, c.query, "vexo", c.hint == Screen::Management ? CString() : db);
            EXPECT_EQ(ShownTexts(), server ? c.shownInServerMode : c.shown)
                << HintOf(c.hint) << " server " << server;
        }
    }
}

TEST_F(WorkScreenSwitchTest, AScreensPanelsAreGoneOnTheNextScreen)
{
    const CString db = MakeItemDatabase();
    // No user door sets server mode without a listening socket.
    LeftPane()->ServerStarted("", "");
    for (int id : { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
             IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
             IDC_WORK_RECV_NUMBERS, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_PAGE,
             IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_RANGE_HINT, IDC_WORK_TRANS_STOP,
             IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP, IDC_WORK_SEND_LAMP, IDC_WORK_RECV_LAMP,
             IDC_WORK_PC_LABEL, IDC_WORK_SCALE_LABEL, IDC_WORK_PROGRESS, IDC_WORK_PROGRESS_GROUP,
             IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM,
             IDC_WORK_USER_LIST, IDC_WORK_LABEL_INSERT })
        EXPECT_FALSE(Visible(id)) << "start, control " << id;
    const std::vector<int> users = { IDC_WORK_USER_LIST, IDC_WORK_USER_LABEL, IDC_WORK_USER_REGISTER,
        IDC_WORK_USER_DELETE, IDC_WORK_USER_GROUP };
    const std::vector<int> labels = { IDC_WORK_LABEL_INSERT, IDC_WORK_LABEL_DELETE, IDC_WORK_LABEL_RECV,
        IDC_WORK_LABEL_TRANS_ALL, IDC_WORK_LABEL_TRANS_SELECT, IDC_WORK_LABEL_IMAGE };
    struct Case {
        Screen hint;
        const char* query;
        std::vector<int> shown;
        std::vector<int> hidden;
    };
    const Case cases[] = {
        { Screen::Item, "Item_Read",
            { IDC_WORK_TRANS_STOP, IDC_WORK_PROGRESS_GROUP, IDC_WORK_PROGRESS, IDC_WORK_SYNC_TABLES },
            users },
        { Screen::Management, "Mg_Reg_Read", users,
            { IDC_WORK_TRANS_STOP, IDC_WORK_PROGRESS_GROUP, IDC_WORK_PROGRESS, IDC_WORK_SYNC_TABLES,
                IDC_WORK_SYNC_PRESET_LABEL } },
        { Screen::Preset, "Pre_Read", { IDC_WORK_SYNC_PRESET_LABEL }, users },
        { Screen::ScaleReg, "Scale_Reg_Read", { IDC_SCALE_REGISTER_LIST },
            { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL } },
        { Screen::Preset, "Pre_Read", { IDC_WORK_SYNC_PRESET_LABEL }, {} },
        { Screen::Management, "Mg_Reg_Read", users, { IDC_WORK_SYNC_PRESET_LABEL } },
        { Screen::Item, "Item_Read", { IDC_WORK_SYNC_TABLES }, {} },
        { Screen::ScaleTotal, "Scale_Result_All_Read",
            { IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM,
                IDC_WORK_PROGRESS_GROUP },
            { IDC_WORK_SYNC_TABLES, IDC_WORK_TRANS_STOP } },
        { Screen::UserLabel, "User_Label_Read", labels,
            { IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM } },
        { Screen::Item, "Item_Read", {}, labels },
    };
    for (const Case& c : cases) {
        Switch(c.hint, c.query, "vexo", c.hint == Screen::Management ? CString() : db);
        for (int id : c.shown)
            EXPECT_TRUE(Visible(id)) << HintOf(c.hint) << " control " << id;
        for (int id : c.hidden)
            EXPECT_FALSE(Visible(id)) << HintOf(c.hint) << " control " << id;
    }
}

TEST_F(WorkScreenSwitchTest, ItemTypeScreensPlaceTheGridAndTheProgressGroup)
{
    const CString db = MakeItemDatabase();
    auto rectOf = [this](CWnd* window) {
        CRect rect;
        window->GetWindowRect(&rect);
        m_screen->ScreenToClient(&rect);
        return rect;
    };
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_EQ(rectOf(&Grid()), CRect(30, 70, 750, 470));
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(IDC_WORK_PROGRESS_GROUP)), CRect(200, 492, 330, 612));
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(IDC_WORK_RECV_LAMP)), CRect(280, 565, 330, 615));
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", db);
    EXPECT_EQ(rectOf(&Grid()), CRect(50, 60, 750, 410));
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_SCALE_INFO_INSERT)->GetSafeHwnd()), "Insert");
    Switch(Screen::Preset, "Pre_Read", "vexo", db);
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY)), CRect(52, 52, 109, 109));
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(659)), CRect(52 + 57 * 9, 357, 109 + 57 * 9, 414));
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(IDC_WORK_SCALE_TRANS_GROUP)), CRect(780, 60, 930, 310));
    EXPECT_EQ(rectOf(m_screen->GetDlgItem(IDC_PRESET_PAGE)).TopLeft(), CPoint(630, 292));
    // No user door sets server mode without a listening socket.
    LeftPane()->ServerStarted("", "");
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    const std::pair<int, CRect> places[] = { { IDC_WORK_LABEL_INSERT, CRect(50, 270, 110, 300) },
        { IDC_WORK_LABEL_DELETE, CRect(120, 270, 180, 300) },
        { IDC_WORK_LABEL_TRANS_ALL, CRect(480, 270, 550, 300) },
        { IDC_WORK_LABEL_TRANS_SELECT, CRect(560, 270, 660, 300) },
        { IDC_WORK_LABEL_RECV, CRect(680, 270, 750, 300) },
        { IDC_WORK_LABEL_IMAGE, CRect(50, 310, 180, 340) },
        { IDC_WORK_PROGRESS_GROUP, CRect(190, 260, 475, 340) },
        { IDC_WORK_PC_LABEL, CRect(200, 278, 255, 298) }, { IDC_WORK_SEND_LAMP, CRect(200, 303, 245, 333) },
        { IDC_WORK_PROGRESS, CRect(270, 278, 365, 298) }, { IDC_WORK_SCALE_LABEL, CRect(375, 278, 460, 298) },
        { IDC_WORK_RECV_LAMP, CRect(375, 303, 420, 333) },
        { IDC_WORK_SYNC_PRESET_LABEL, CRect(480, 310, 610, 340) } };
    for (const auto& [id, rect] : places)
        EXPECT_EQ(rectOf(m_screen->GetDlgItem(id)), rect) << id;
}

TEST_F(WorkScreenSwitchTest, LogInHintsKeepTheItemScreenEditableAndTheMailboxUntouched)
{
    const CString db = MakeItemDatabase();
    Execute(db, { "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('7', 'Apple', 'vexo')" });
    Switch(Screen::Item, "Item_Read", "vexo", db);
    // A word of a request being served, in the worker's mailbox no screen shows.
    m_screen->Context().DbMailbox().SetText(IDC_MAILBOX_NAME, "Busy_Request");
    // The left pane's menu update rule: only the user id, then hint 8 or 9.
    for (Screen hint : { Screen::LoggedOut, Screen::LoggedIn, Screen::CommMode }) {
        LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, "vexo");
        CString empty;
        LeftPane()->SendHint(hint, &empty);
        EXPECT_EQ(m_screen->GetCommSetupFlag(), hint == Screen::LoggedOut ? 0 : 1) << HintOf(hint);
        EXPECT_EQ(Caption(), "Item Display") << HintOf(hint);
        // Communication Setup reads the scales into the mailbox's request.
        if (hint != Screen::CommMode) {
            EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "Busy_Request") << HintOf(hint);
        }
        EXPECT_EQ(Grid().GetRowCount(), 3) << HintOf(hint);
        EXPECT_TRUE(Visible(IDC_WORK_INSERT)) << HintOf(hint);
    }
    ASSERT_TRUE(WaitForLoad());
    EditCell(1, ColumnOf("ITEM_NAME"), "Banana");
    EXPECT_EQ(FirstRow(db, "SELECT [item_name] FROM [Item]"), "Banana\tjo/");
}

TEST_F(WorkScreenSwitchTest, AHintDuringALoadIsDroppedAndOtherHintsOnlyMoveTheMailbox)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    // A load's lock and the words it leaves, set alone (a real load ends too
    // soon to be caught; the worker's mailbox shows nowhere).
    m_screen->Context().SetUpdateLock(1);
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_NAME, "Add_Read");
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, "vexo");
    CString path = db;
    LeftPane()->SendHint(Screen::Ingredient, &path);
    EXPECT_EQ(Caption(), "Item Display");
    EXPECT_EQ(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME), "Add_Read");
    m_screen->Context().SetUpdateLock(0);
    // A hint above 19 moves the words and resets the print kind, nothing else.
    m_screen->OnUpdate(LeftPane(), 42, &path);
    EXPECT_EQ(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME), "");
    EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_NAME), "Add_Read");
    EXPECT_EQ(m_screen->Context().DbMailbox().Text(IDC_MAILBOX_TEXT), "vexo");
    EXPECT_EQ(Caption(), "Item Display");
    EXPECT_EQ(m_screen->Print().GetPrintKind(), "");
    EXPECT_EQ(m_screen->Context().Hint(), 42);
}

TEST_F(WorkScreenSwitchTest, ACommandNeverActsOnARowClickedOnAnotherScreen)
{
    const CString db = MakeItemDatabase();
    Execute(db,
        { "INSERT INTO [Item]([item_num], [mg_id]) VALUES('7', 'vexo')",
            "INSERT INTO [Add]([num], [mg_id]) VALUES('1', 'vexo')",
            "INSERT INTO [Add]([num], [mg_id]) VALUES('2', 'vexo')" });
    Execute("C:\\Windows\\system\\Manager\\Manager_ScaleInfo.mdb",
        { "INSERT INTO [Scale_Root_Info]([MyID]) VALUES('7')",
            "INSERT INTO [Scale_Root_Info]([MyID]) VALUES('8')" });
    m_screen->Scales().CommSettings().SetChosen({ "Scale name = A, Scale ID=1" });
    auto clickItemRow = [&] {
        Switch(Screen::Item, "Item_Read", "vexo", db);
        ClickCell(1, 2);
        ASSERT_EQ(m_screen->Rows().GetClickedRow(), 1);
        ASSERT_EQ(Grid().Picks().clickRow, 1);
    };

    // Delete with nothing clicked here takes the last data row, not row 1.
    clickItemRow();
    Switch(Screen::Ingredient, "Add_Read", "vexo", db);
    EXPECT_EQ(Grid().Picks().clickRow, 0);
    EXPECT_EQ(Grid().GetFocusCell().row, -1);
    ClickControl(IDC_WORK_DELETE);
    EXPECT_EQ(Column(db, "SELECT [num] FROM [Add]"), std::vector<CString> { "1" });
    EXPECT_EQ(Grid().GetItemText(1, 1), "1");

    // Trans of the network settings wants a row clicked on its own screen.
    clickItemRow();
    Switch(Screen::ScaleRootInfo, "Scale_Root_Info_Read", "vexo", db);
    ClickControl(IDC_WORK_SCALE_INFO_TRANS);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "Select a grid line");
    EXPECT_TRUE(m_port.m_serial.empty());
    EXPECT_TRUE(m_port.m_ethernet.empty());
}

// The form keeps button 1043 hidden and greyed: only its command reaches it.
TEST_F(WorkScreenSwitchTest, PortToggleAlternatesBetweenComOneAndComFive)
{
    Command(*m_screen, IDC_WORK_COM_PORT_TOGGLE);
    EXPECT_EQ(m_screen->Scales().GetComPort(), 5);
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_COM_PORT_TOGGLE)->GetSafeHwnd()), "com5");
    Command(*m_screen, IDC_WORK_COM_PORT_TOGGLE);
    EXPECT_EQ(m_screen->Scales().GetComPort(), 1);
    EXPECT_EQ(GetWindowTextString(m_screen->GetDlgItem(IDC_WORK_COM_PORT_TOGGLE)->GetSafeHwnd()), "com1");
}

TEST_F(WorkScreenSwitchTest, PresetKeysTakeCrLfLinesAndCountTheirLimitInCp949Bytes)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Preset, "Pre_Read", "vexo", db);
    CWnd& key = *m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY);
    key.SetFocus();
    ASSERT_TRUE(AfxSimulateKey(key.GetSafeHwnd(), 'A', "A"));
    ASSERT_TRUE(AfxSimulateKey(key.GetSafeHwnd(), VK_RETURN, "\r"));
    ASSERT_TRUE(AfxSimulateKey(key.GetSafeHwnd(), 'B', "B"));
    CString text;
    key.GetWindowText(text);
    EXPECT_EQ(text, "A\r\nB");
    // A text set by the program keeps its CR LF.
    key.SetWindowText("Pork\r\nbelly");
    AfxPumpUntil([] { return false; }, 0);
    key.GetWindowText(text);
    EXPECT_EQ(text, "Pork\r\nbelly");
    // 20 bytes, what [Preset].[str] holds: ten Hangul syllables, the
    // eleventh does not go in.
    key.SetWindowText("");
    for (int i = 0; i < 11; ++i)
        AfxSimulateKey(key.GetSafeHwnd(), 0, "가");
    key.GetWindowText(text);
    EXPECT_EQ(text, "가가가가가가가가가가");
    key.SetWindowText("");
    for (int i = 0; i < 21; ++i)
        AfxSimulateKey(key.GetSafeHwnd(), 0, "x");
    key.GetWindowText(text);
    EXPECT_EQ(text, CString(std::string(20, 'x')));
}
