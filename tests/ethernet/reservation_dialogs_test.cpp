// The reservation dialogs against real databases: what Setup refuses and
// stores (rows per scale, item copies once), how Scale List picks scales, and
// what the Info List shows and deletes.

#include <functional>

#include "db/store_paths.h"
#include "ethernet/reservation_dialogs.h"
#include "ethernet/reservation_host.h"
#include "platform/wnd/controls/button.h"
#include "resources/calvorn_ids.h"
#include "tests/ethernet/reservation_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/icon_check.h"
#include "tests/support/pixels.h"

namespace {

class RecordingHost : public CReservationHost {
public:
    virtual ~RecordingHost() = default;
    HWND GetReservationWindow() const override { return nullptr; }
    int GetTransferActive() const override { return 0; }
    CString GetLoggedInManagerId() const override { return "kim"; }
    void FlashReservationLamp() override { }
    void CancelReservationThreads(long number) override { m_cancelled.push_back(number); }
    std::vector<long> m_cancelled;
};

class ReservationDialogTest : public ReservationFixture {
protected:
    ReservationDialogTest()
    {
        Execute(kTestItemDb,
            {
                "INSERT INTO [Item]([item_num], [item_name], [item_name2], [unitprice], [fix_price], [land], "
                "[pos_flg], [pos_code], [piece], [weight], [fmark], [pos_kind], [dateprint], [limit_day], "
                "[additem], [mg_id]) VALUES('5', 'Apple', NULL, '1200', '0', '3', '20', '123', '1', '0', "
                "'0', "
                "'0', '1', '3', '2', 'kim')",
                "INSERT INTO [Item]([item_num], [item_name], [item_name2], [unitprice], [mg_id]) "
                "VALUES('6', 'Kim''s pear', '배', '900', 'kim')",
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('7', 'Lee plum', 'lee')",
            });
    }

    // Runs dialog with action; the focused control's id afterwards goes to focus.
    INT_PTR Run(CDialog& dialog, std::function<void(CDialog&)> action, int* focus = nullptr)
    {
        ModalDialogScript::Push([action, focus](CDialog& d) {
            action(d);
            if (focus) {
                CWnd* focused = CWnd::GetFocus();
                *focus = focused ? focused->GetDlgCtrlID() : 0;
            }
        });
        return dialog.DoModal();
    }

    static void FillTime(CDialog& d, const char* year, const char* month, const char* day, const char* hour,
        const char* minute)
    {
        d.SetDlgItemText(IDC_RESV_YEAR, year);
        d.SetDlgItemText(IDC_RESV_MONTH, month);
        d.SetDlgItemText(IDC_RESV_DAY, day);
        d.SetDlgItemText(IDC_RESV_HOUR, hour);
        d.SetDlgItemText(IDC_RESV_MINUTE, minute);
    }

    // A period chosen by a click at its place, inside the "Period" group box.
    static void Check(CDialog& d, int radio) { EXPECT_TRUE(ClickAtControl(d, radio)) << radio; }

    // Row 0 of the item grid, and the cells below and right of it that a user
    // could edit.
    static std::vector<CString> Headings(CGridCtrl& grid)
    {
        std::vector<CString> headings;
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            headings.push_back(grid.GetItemText(0, c));
        return headings;
    }
    static int EditableCells(CGridCtrl& grid)
    {
        int editable = 0;
        for (int r = grid.GetFixedRowCount(); r < grid.GetRowCount(); ++r)
            for (int c = grid.GetFixedColumnCount(); c < grid.GetColumnCount(); ++c)
                editable += grid.IsCellEditable(r, c) ? 1 : 0;
        return editable;
    }

    // The item grid (1112) the user sees.
    static CGridCtrl& Grid(CDialog& d) { return *dynamic_cast<CGridCtrl*>(d.GetDlgItem(IDC_RESV_ITEM_GRID)); }
    // The list box the user sees.
    static CListBox& List(CDialog& d, int id) { return *dynamic_cast<CListBox*>(d.GetDlgItem(id)); }
    static std::vector<CString> Lines(CListBox& list)
    {
        std::vector<CString> lines;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString line;
            list.GetText(i, line);
            lines.push_back(line);
        }
        return lines;
    }

    // The icon button's tip.
    static CString Tip(CDialog& d, int id)
    {
        auto* button = dynamic_cast<CIconButton*>(d.GetDlgItem(id));
        if (!button)
            return "<no icon button>";
        CString tip;
        button->GetToolTip().GetText(tip, button, 1);
        return tip;
    }
    static CString Text(CDialog& d, int id)
    {
        CString text;
        d.GetDlgItemText(id, text);
        return text;
    }

    void Setup(CReservationSetupDlg& dialog, int kind, std::vector<int> numbers)
    {
        numbers.resize(kReservationItemLimit, 0);
        dialog.SetInput({ "kim", kind, kTestItemDb, numbers });
    }

    std::vector<std::string> ReservationRows()
    {
        return Rows(kReservationDatabase,
            "SELECT [reservation_num], [reservation_period], [mg_id], [year], [month], [day], [hour], [min], "
            "[reservation_kind], [ip], [reservation_trans], [reservation_status] FROM [Reservation_Table] "
            "ORDER BY "
            "[ID]");
    }
    std::vector<std::string> CopyRows()
    {
        return Rows(kReservationDatabase,
            "SELECT [item_num], [item_name], [item_name2], [unitprice], [fix_price], [pos_code], [additem], "
            "[mg_id], [reservation_num], [reservation_period], [reservation_trans] FROM [Item] ORDER BY "
            "[ID]");
    }
};

TEST_F(ReservationDialogTest, SetupStoresOneRowPerScaleAndTheItemCopiesOnce)
{
    CReservationSetupDlg dialog;
    Setup(dialog, 1, { 6, 5, 7 }); // 7 is another manager's item
    CString number, manager;
    BOOL managerEnabled = TRUE, numberEnabled = TRUE, scalesEnabled = TRUE;
    int rows = 0;
    int fixed = 0;
    CString row1, row2, nameCell, emptyCell, marker;
    std::vector<CString> headings;
    int editable = -1;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        number = Text(d, IDC_RESV_NUMBER);
        manager = Text(d, IDC_RESV_MANAGER);
        managerEnabled = d.GetDlgItem(IDC_RESV_MANAGER)->IsWindowEnabled();
        numberEnabled = d.GetDlgItem(IDC_RESV_NUMBER)->IsWindowEnabled();
        scalesEnabled = d.GetDlgItem(IDC_RESV_SCALES)->IsWindowEnabled();
        rows = Grid(d).GetRowCount();
        fixed = Grid(d).GetFixedRowCount() * 10 + Grid(d).GetFixedColumnCount();
        row1 = Grid(d).GetItemText(1, 0);
        row2 = Grid(d).GetItemText(2, 0);
        nameCell = Grid(d).GetItemText(1, 2);
        emptyCell = Grid(d).GetItemText(2, 3);
        marker = Grid(d).GetItemText(rows - 1, 0);
        headings = Headings(Grid(d));
        editable = EditableCells(Grid(d));
        FillTime(d, "2007", "3", "5", "9", "8");
        d.SetDlgItemText(
            IDC_RESV_SCALES, "127.0.0.5\r\n127.0.0.6\r\n10.0.0.9"); // the last line has no line end
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(number, "1");
    EXPECT_EQ(manager, "kim");
    EXPECT_FALSE(managerEnabled);
    EXPECT_FALSE(numberEnabled);
    EXPECT_FALSE(scalesEnabled);
    EXPECT_EQ(rows, 4); // heading, two items, marker
    EXPECT_EQ(fixed, 11);
    EXPECT_EQ(row1, "List 1");
    EXPECT_EQ(row2, "List 2");
    EXPECT_EQ(nameCell, "Kim's pear");
    EXPECT_EQ(emptyCell, ""); // NULL is shown empty
    EXPECT_EQ(marker, "-->");
    EXPECT_EQ(headings,
        (std::vector<CString> { "*", "ITEM_NUM", "ITEM_NAME", "ITEM_NAME2", "UNITPRICE", "FIX_PRICE", "LAND",
            "POS_FLG", "POS_CODE", "PIECE", "WEIGHT", "FMARK", "POS_KIND", "DATEPRINT", "LIMIT_DAY",
            "INGREDIENT", "ID" }));
    EXPECT_EQ(editable, 0);
    EXPECT_EQ(dialog.GetNumber(), 1);
    EXPECT_EQ(ReservationRows(),
        (std::vector<std::string> {
            "1|0|kim|2007|3|5|9|8|1|127.0.0.5|0|wait",
            "1|0|kim|2007|3|5|9|8|1|127.0.0.6|0|wait",
        }));
    // Empty cells are stored as "0"; a quote in a name is stored intact.
    EXPECT_EQ(CopyRows(),
        (std::vector<std::string> {
            "6|Kim's pear|배|900|0|0|0|kim|1|0|0",
            "5|Apple|0|1200|0|123|2|kim|1|0|0",
        }));
    EXPECT_EQ(m_boxes.Records().size(), 0u);
}

TEST_F(ReservationDialogTest, ItemColumnsAreWideEnoughForTheirTexts)
{
    Execute(kTestItemDb,
        { "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('8', "
          "'Extra large watermelon, sliced', 'kim')" });
    CReservationSetupDlg dialog;
    Setup(dialog, 1, { 8 });
    int nameWidth = 0, landWidth = 0;
    Run(dialog, [&](CDialog& d) {
        nameWidth = Grid(d).GetColumnWidth(2);
        landWidth = Grid(d).GetColumnWidth(6);
    });
    EXPECT_GT(nameWidth, landWidth);
}

TEST_F(ReservationDialogTest, SetupTakesTheFirstFreeNumberOfAnyManager)
{
    StoreReservation(MakeRow(1, 0, "lee", "1.1.1.1"));
    StoreReservation(MakeRow(3, 0, "kim", "1.1.1.1"));
    CReservationSetupDlg dialog;
    Setup(dialog, 1, {});
    CString number;
    Run(dialog, [&](CDialog& d) { number = Text(d, IDC_RESV_NUMBER); });
    EXPECT_EQ(number, "2");
    EXPECT_EQ(dialog.IsNumberFree(), 2);
}

TEST_F(ReservationDialogTest, SetupRefusesAndKeepsTheFocusOnTheField)
{
    struct Case {
        int radio;
        const char *year, *month, *day, *hour, *minute, *scales;
        const char* message;
        int focus;
    } cases[] = {
        { IDC_RESV_ONCE, "2007", "3", "5", "9", "6", "1.1.1.1\r\n", "Minute Input error.", IDC_RESV_MINUTE },
        { IDC_RESV_ONCE, "2007", "2", "5", "9", "6", "1.1.1.1\r\n", "Month Input error.", IDC_RESV_MONTH },
        { IDC_RESV_ONCE, "2007", "4", "31", "9", "6", "1.1.1.1\r\n", "Day Input error.", IDC_RESV_DAY },
        { IDC_RESV_ONCE, "2007", "3", "5", "24", "0", "1.1.1.1\r\n", "Hour Input error.", IDC_RESV_HOUR },
        { IDC_RESV_ONCE, "07", "3", "5", "10", "0", "1.1.1.1\r\n", "Year Input error.", IDC_RESV_YEAR },
        { IDC_RESV_ONCE, "2007", "3", "5", "10", "0", "", "Select Scales.", IDC_RESV_SCALES },
        { IDC_RESV_ONCE, "2007", "3", "5", "10", "0", "1.1.1.1", "Select Scales.",
            IDC_RESV_SCALES }, // no line end
        { IDC_RESV_EVERY_DAY, "", "", "", "8", "60", "1.1.1.1\r\n", "Minute Input error.", IDC_RESV_MINUTE },
        { IDC_RESV_WEEK, "", "", "", "", "", "", "Select Scales.", IDC_RESV_SCALES },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radio << " " << c.hour << ":" << c.minute << " " << c.message);
        MessageBoxScript::Reset();
        CReservationSetupDlg dialog;
        Setup(dialog, 1, { 5 });
        int focus = 0;
        const INT_PTR result = Run(
            dialog,
            [&](CDialog& d) {
                Check(d, c.radio);
                if (c.radio != IDC_RESV_EVERY_DAY)
                    FillTime(d, c.year, c.month, c.day, c.hour, c.minute);
                else
                    FillTime(d, "0", "0", "0", c.hour, c.minute);
                d.SetDlgItemText(IDC_RESV_SCALES, c.scales);
                AfxClickDlgButton(d, IDOK);
            },
            &focus);
        EXPECT_EQ(result, IDCANCEL);
        ASSERT_EQ(MessageBoxScript::Count(), 1u);
        EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
        EXPECT_EQ(focus, c.focus);
    }
    EXPECT_TRUE(ReservationRows().empty());
    EXPECT_TRUE(CopyRows().empty());
}

TEST_F(ReservationDialogTest, WithoutAReservationDatabaseNothingIsNumberedOrStored)
{
    TempDataRoot::WriteAll(m_root.Native(kReservationDatabase), "not a database");
    CReservationSetupDlg dialog;
    Setup(dialog, 1, { 5 });
    CString number;
    std::size_t boxesAtStart = 0;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        number = Text(d, IDC_RESV_NUMBER);
        boxesAtStart = MessageBoxScript::Count();
        FillTime(d, "2007", "3", "5", "9", "8");
        d.SetDlgItemText(IDC_RESV_SCALES, "127.0.0.5\r\n");
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(result, IDCANCEL); // OK did not end it
    EXPECT_EQ(number, "0");
    EXPECT_EQ(boxesAtStart, 1u); // the database's error
    for (const MessageBoxRecord& box : m_boxes.Records())
        EXPECT_TRUE(box.type & MB_ICONSTOP) << box.text.Str();
    EXPECT_EQ(TempDataRoot::ReadAll(m_root.Native(kReservationDatabase)), "not a database");
}

TEST_F(ReservationDialogTest, PeriodsSetTheDateEditsAndAreStored)
{
    CReservationSetupDlg dialog;
    Setup(dialog, 2, { 5 });
    CString year, month, day;
    BOOL yearEnabled = TRUE, yearEnabledAgain = FALSE;
    CString yearAgain = "x";
    int gridRows = 0;
    int periodWeek = -1;
    std::vector<CString> headings;
    CString marker;
    int editable = -1;
    std::vector<LRESULT> checksAtStart;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        for (int radio : { IDC_RESV_ONCE, IDC_RESV_EVERY_DAY, IDC_RESV_WEEK })
            checksAtStart.push_back(d.SendDlgItemMessage(radio, BM_GETCHECK, 0, 0));
        gridRows = Grid(d).GetRowCount();
        headings = Headings(Grid(d));
        marker = Grid(d).GetItemText(1, 0);
        editable = EditableCells(Grid(d));
        Check(d, IDC_RESV_WEEK);
        periodWeek = dialog.GetPeriod();
        Check(d, IDC_RESV_ONCE);
        FillTime(d, "2010", "1", "1", "1", "1");
        Check(d, IDC_RESV_EVERY_DAY);
        year = Text(d, IDC_RESV_YEAR);
        month = Text(d, IDC_RESV_MONTH);
        day = Text(d, IDC_RESV_DAY);
        yearEnabled = d.GetDlgItem(IDC_RESV_YEAR)->IsWindowEnabled();
        Check(d, IDC_RESV_ONCE);
        yearAgain = Text(d, IDC_RESV_YEAR);
        yearEnabledAgain = d.GetDlgItem(IDC_RESV_YEAR)->IsWindowEnabled();
        Check(d, IDC_RESV_EVERY_DAY);
        d.SetDlgItemText(IDC_RESV_HOUR, "23");
        d.SetDlgItemText(IDC_RESV_MINUTE, "5");
        d.SetDlgItemText(IDC_RESV_SCALES, "10.0.0.1\r\n");
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(checksAtStart, (std::vector<LRESULT> { BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED })) << "once";
    EXPECT_EQ(gridRows, 2); // another kind: no items
    EXPECT_EQ(headings, (std::vector<CString> { "*", "*" }));
    EXPECT_EQ(marker, "-->");
    EXPECT_EQ(editable, 0);
    EXPECT_EQ(periodWeek, 2);
    EXPECT_EQ(year, "0");
    EXPECT_EQ(month, "0");
    EXPECT_EQ(day, "0");
    EXPECT_FALSE(yearEnabled);
    EXPECT_EQ(yearAgain, "");
    EXPECT_TRUE(yearEnabledAgain);
    EXPECT_EQ(ReservationRows(), (std::vector<std::string> { "1|1|kim|0|0|0|23|5|2|10.0.0.1|0|wait" }));
    EXPECT_TRUE(CopyRows().empty());
}

TEST_F(ReservationDialogTest, ScalesComeFromTheManagersRegister)
{
    CReservationSetupDlg dialog;
    Setup(dialog, 1, {});
    Run(dialog, [&](CDialog& d) { AfxClickDlgButton(d, IDC_RESV_SCALES_BUTTON); });
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Not Found Scale.");

    Execute(kManagerDatabase,
        {
            "INSERT INTO [ScaleMG]([scale_name], [ip], [mg_id]) VALUES('front', '10.0.0.1', 'kim')",
            "INSERT INTO [ScaleMG]([scale_name], [ip], [mg_id]) VALUES('serial', NULL, 'kim')",
            "INSERT INTO [ScaleMG]([scale_name], [ip], [mg_id]) VALUES('back', '10.0.0.2', 'kim')",
            "INSERT INTO [ScaleMG]([scale_name], [ip], [mg_id]) VALUES('lees', '10.0.0.3', 'lee')",
        });
    MessageBoxScript::Reset();
    std::vector<CString> offered;
    CString scales;
    CReservationSetupDlg second;
    Setup(second, 1, {});
    Run(second, [&](CDialog& d) {
        ModalDialogScript::Push([&](CDialog& list) {
            offered = Lines(List(list, IDC_SCALE_LIST_ALL));
            List(list, IDC_SCALE_LIST_ALL).SetCurSel(1);
            AfxClickDlgButton(list, IDC_SCALE_LIST_SELECT);
            AfxClickDlgButton(list, IDOK);
        });
        AfxClickDlgButton(d, IDC_RESV_SCALES_BUTTON);
        scales = Text(d, IDC_RESV_SCALES);
    });
    EXPECT_EQ(offered,
        (std::vector<CString> { "Scale name = front, IP=10.0.0.1", "Scale name = back, IP=10.0.0.2" }));
    EXPECT_EQ(scales, "10.0.0.2\r\n");
    EXPECT_EQ(second.GetScaleCount(), 1);
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(ReservationDialogTest, ScaleListSelectsRemovesAndSelectsAll)
{
    CScaleListDlg dialog;
    dialog.SetRows("a\tjo/1.1.1.1\tjo/b\tjo/NULL\tjo/c\tjo/3.3.3.3\tjo/");
    const CString a = "Scale name = a, IP=1.1.1.1", c = "Scale name = c, IP=3.3.3.3";
    std::vector<std::vector<CString>> chosen;
    std::vector<CString> offered;
    const INT_PTR result = Run(dialog, [&](CDialog& d) {
        CListBox& all = List(d, IDC_SCALE_LIST_ALL);
        CListBox& picked = List(d, IDC_SCALE_LIST_CHOSEN);
        offered = Lines(all);
        AfxClickDlgButton(d, IDC_SCALE_LIST_SELECT); // nothing selected: nothing happens
        chosen.push_back(Lines(picked));
        all.SetCurSel(0);
        AfxClickDlgButton(d, IDC_SCALE_LIST_SELECT);
        AfxClickDlgButton(d, IDC_SCALE_LIST_SELECT); // the same scale twice
        all.SetCurSel(1);
        AfxClickDlgButton(d, IDC_SCALE_LIST_SELECT);
        chosen.push_back(Lines(picked));
        picked.SetCurSel(1);
        AfxClickDlgButton(d, IDC_SCALE_LIST_REMOVE);
        chosen.push_back(Lines(picked));
        AfxClickDlgButton(d, IDC_SCALE_LIST_REMOVE); // the selection went with the line
        chosen.push_back(Lines(picked));
        d.SendDlgItemMessage(IDC_SCALE_LIST_ALL_SELECT, BM_SETCHECK, BST_CHECKED);
        AfxClickDlgButton(d, IDC_SCALE_LIST_ALL_SELECT);
        chosen.push_back(Lines(picked));
        d.SendDlgItemMessage(IDC_SCALE_LIST_ALL_SELECT, BM_SETCHECK, BST_UNCHECKED);
        AfxClickDlgButton(d, IDC_SCALE_LIST_ALL_SELECT);
        chosen.push_back(Lines(picked));
        d.SendDlgItemMessage(IDC_SCALE_LIST_ALL_SELECT, BM_SETCHECK, BST_CHECKED);
        AfxClickDlgButton(d, IDC_SCALE_LIST_ALL_SELECT);
        picked.SetCurSel(0);
        AfxClickDlgButton(d, IDC_SCALE_LIST_REMOVE);
        chosen.push_back(Lines(picked));
        AfxClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(offered, (std::vector<CString> { a, c }));
    EXPECT_EQ(chosen,
        (std::vector<std::vector<CString>> { {}, { a, a, c }, { a, c }, { a, c }, { a, c }, {}, { c } }));
    EXPECT_EQ(dialog.GetResult(), "3.3.3.3\r\n");
    EXPECT_EQ(dialog.GetCount(), 1);
    EXPECT_EQ(CScaleListDlg::GetChosenAddress("Scale name = x, IP=9.9.9.9"), "9.9.9.9");
    EXPECT_EQ(CScaleListDlg::GetChosenAddress("no address"), "");
}

TEST_F(ReservationDialogTest, ScaleListButtonsShowTheirCaptionsWhole)
{
    // A caption cut by its button runs into the button's edge; a whole one
    // ends inside the border with room to spare.
    CScaleListDlg list;
    list.SetRows(kDbNoRows);
    Run(list, [&](CDialog& d) {
        for (UINT id : { IDC_SCALE_LIST_SELECT, IDC_SCALE_LIST_REMOVE, IDOK, IDCANCEL }) {
            SCOPED_TRACE(id);
            Snapshot shot(*d.GetDlgItem(id));
            ASSERT_TRUE(shot.Ok());
            const CRect ink
                = shot.InkOf(GetSysColor(COLOR_BTNTEXT), CRect(2, 2, shot.Width() - 2, shot.Height() - 2));
            EXPECT_FALSE(ink.IsRectEmpty());
            EXPECT_LE(ink.right, shot.Width() - 4);
        }
    });
}

TEST_F(ReservationDialogTest, ButtonsShowTheirIconsAndTips)
{
    struct Expected {
        int id;
        int icon;
        const char* tip;
    };
    const auto check = [](CDialog& d, std::initializer_list<Expected> buttons) {
        for (const Expected& e : buttons) {
            SCOPED_TRACE(e.tip);
            EXPECT_EQ(Tip(d, e.id), e.tip);
            EXPECT_TRUE(ShowsIcon(d, e.id, e.icon));
        }
    };
    CReservationSetupDlg setup;
    Setup(setup, 1, {});
    Run(setup, [&](CDialog& d) { check(d, { { IDOK, 163, "Ok" }, { IDCANCEL, 162, "Cancel" } }); });
    CScaleListDlg list;
    list.SetRows(kDbNoRows);
    CString allSelect;
    int offered = -1;
    Run(list, [&](CDialog& d) {
        check(d,
            { { IDOK, 163, "Ok" }, { IDCANCEL, 162, "Cancel" }, { IDC_SCALE_LIST_SELECT, 170, "Select" },
                { IDC_SCALE_LIST_REMOVE, 171, "Remove" } });
        allSelect = Text(d, IDC_SCALE_LIST_ALL_SELECT);
        offered = List(d, IDC_SCALE_LIST_ALL).GetCount();
    });
    EXPECT_EQ(allSelect, "All Select");
    EXPECT_EQ(offered, 0); // no register rows
}

class ReservationListTest : public ReservationDialogTest {
protected:
    ReservationListTest()
    {
        StoreReservation(MakeRow(1, 0, "kim", "10.0.0.1"), { { "5", "Apple" }, { "6", "Pear" } });
        StoreReservation(MakeRow(1, 0, "kim", "10.0.0.2"));
        ReservationRow daily = MakeRow(2, 1, "lee", "10.0.0.3", "0", "0", "0", "8", "0", 2);
        StoreReservation(daily);
        StoreReservation(MakeRow(3, 0, "kim", "10.0.0.4"), { { "9", "Plum" } });
        m_dialog.SetHost(&m_host);
        m_dialog.Create(IDD_RESERVATION_LIST, nullptr);
    }
    ~ReservationListTest() override { m_dialog.DestroyWindow(); }

    std::vector<CString> Lines()
    {
        std::vector<CString> lines;
        for (int i = 0; i < List().GetItemCount(); ++i)
            lines.push_back(List().GetItemText(i, 0));
        return lines;
    }
    void Load(const char* manager) { m_dialog.Reload(manager); }
    // The list control (1127) the user sees.
    CListCtrl& List() { return *dynamic_cast<CListCtrl*>(m_dialog.GetDlgItem(IDC_RESV_LIST)); }

    RecordingHost m_host;
    CReservationListDlg m_dialog;
};

TEST_F(ReservationListTest, ListsTheManagersRowsOrEveryRowForTheAdministrator)
{
    Load("kim");
    EXPECT_EQ(List().GetColumnCount(), 1);
    EXPECT_EQ(List().GetColumnHeading(0), "Reservation Information");
    EXPECT_EQ(List().GetColumnWidth(0), 1000);
    EXPECT_EQ(Lines(),
        (std::vector<CString> {
            "R_Num=1#R_period=One#manager=kim#Time=200703050907#R_kind=Item#IP=10.0.0.1#R_mode=send#R_status="
            "wait#&",
            "R_Num=1#R_period=One#manager=kim#Time=200703050907#R_kind=Item#IP=10.0.0.2#R_mode=send#R_status="
            "wait#&",
            "R_Num=3#R_period=One#manager=kim#Time=200703050907#R_kind=Item#IP=10.0.0.4#R_mode=send#R_status="
            "wait#&",
        }));
    Load("vexo");
    ASSERT_EQ(Lines().size(), 4u);
    EXPECT_EQ(Lines()[2],
        "R_Num=2#R_period=Day#manager=lee#Time=000000800#R_kind= "
        "Add#IP=10.0.0.3#R_mode=send#R_status=wait#&");
    CString hint;
    m_dialog.GetDlgItemText(IDC_RESV_LIST_HINT, hint);
    EXPECT_EQ(hint, "ENG삭제시 R_num과 동일한 정보는 모두 삭제됩니다.");
}

TEST_F(ReservationListTest, DeleteRemovesEveryRowAndCopyOfTheNumber)
{
    Load("vexo");
    EXPECT_FALSE(m_dialog.IsWindowVisible());
    AfxClickDlgButton(m_dialog, IDC_RESV_LIST_DELETE);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Select Line.");
    EXPECT_TRUE(m_dialog.IsWindowVisible()); // shown again after the box

    MessageBoxScript::Reset();
    List().ClickItem(1);
    MessageBoxScript::PushAnswer(IDNO);
    AfxClickDlgButton(m_dialog, IDC_RESV_LIST_DELETE);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "ENG해당 예약 정보를 삭제하시겠습니까");
    EXPECT_EQ(MessageBoxScript::Records()[0].caption, "Question");
    EXPECT_EQ(MessageBoxScript::Records()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Lines().size(), 4u);
    EXPECT_TRUE(m_host.m_cancelled.empty());

    MessageBoxScript::PushAnswer(IDYES);
    AfxClickDlgButton(m_dialog, IDC_RESV_LIST_DELETE);
    EXPECT_EQ(m_host.m_cancelled, (std::vector<long> { 1 }));
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(ParseReservationListLine(Lines()[0]).number, "2");
    EXPECT_EQ(ParseReservationListLine(Lines()[1]).number, "3");
    EXPECT_EQ(Rows(kReservationDatabase, "SELECT [reservation_num] FROM [Reservation_Table] ORDER BY [ID]"),
        (std::vector<std::string> { "2", "3" }));
    EXPECT_EQ(Rows(kReservationDatabase, "SELECT [item_num] FROM [Item] ORDER BY [ID]"),
        (std::vector<std::string> { "9" }));

    // The remembered line is gone with it.
    MessageBoxScript::Reset();
    AfxClickDlgButton(m_dialog, IDC_RESV_LIST_DELETE);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Select Line.");

    // A reservation of another kind has no copies to delete: number 3's stay.
    List().ClickItem(0);
    MessageBoxScript::PushAnswer(IDYES);
    AfxClickDlgButton(m_dialog, IDC_RESV_LIST_DELETE);
    EXPECT_EQ(Rows(kReservationDatabase, "SELECT [reservation_num] FROM [Reservation_Table]"),
        (std::vector<std::string> { "3" }));
    EXPECT_EQ(
        Rows(kReservationDatabase, "SELECT [item_num] FROM [Item]"), (std::vector<std::string> { "9" }));
}

TEST_F(ReservationListTest, OkAndEscapeHideTheDialog)
{
    for (const int command : { IDOK, IDCANCEL }) {
        m_dialog.ShowWindow(SW_SHOWNA);
        EXPECT_TRUE(m_dialog.IsWindowVisible());
        m_dialog.SendMessage(WM_COMMAND, static_cast<WPARAM>(command));
        EXPECT_FALSE(m_dialog.IsWindowVisible()) << command;
    }
    EXPECT_TRUE(m_dialog.GetSafeHwnd() != nullptr); // hidden, not ended
}

} // namespace
