// The Result View against seeded databases, driven with the mouse: which
// rows each option gives over walks of days, weeks and months, what a
// manager may see, the decimals, the item texts and the refusals.

#include "db/store_paths.h"
#include "platform/wnd/controls/combobox.h"
#include "resources/calvorn_ids.h"
#include "results/result_view_dlg.h"
#include "tests/results/result_fixture.h"
#include "tests/support/db_lock.h"

namespace {

using Rows = std::vector<std::string>;

class ResultViewTest : public ResultFixture {
protected:
    ResultViewTest()
    {
        AddScale("s1", "10.0.0.1", "kim");
        AddScale("s2", "10.0.0.2", "kim");
        AddScale("s3", "10.0.0.3", "lee");
        AddScale("O'Neil", "10.0.0.4", "park");
    }

    static std::function<void(CDialog&)> PickScale(const char* name) { return Choose({ name }); }
    // The item number dialog's answer.
    static std::function<void(CDialog&)> TypeItems(const char* text)
    {
        return [text](CDialog& d) {
            d.SetDlgItemText(IDC_ITEM_NUMBER, text);
            Click(d, IDOK);
        };
    }

    // Opens the dialog as user, runs action inside it.
    Rows Open(const char* user, const std::function<void(CResultViewDlg&)>& action,
        std::vector<std::function<void(CDialog&)>> nested = {})
    {
        CResultViewDlg dialog;
        dialog.m_strUserId = user;
        Rows rows;
        Run(
            dialog,
            [&](CDialog&) {
                action(dialog);
                rows = GridRows(dialog.m_grid);
            },
            std::move(nested));
        return rows;
    }

    // Sums mode over begin..end with the date option, one scale and items.
    Rows Sums(const char* user, const char* scale, const char* items, int dateOption, CTime begin, CTime end)
    {
        return Open(
            user,
            [&](CResultViewDlg& d) {
                Click(d, IDC_RESULT_SUMS_MODE);
                Click(d, IDC_RESULT_ONE_SCALE);
                Click(d, items ? IDC_RESULT_SELECT_ITEM : IDC_RESULT_TOTAL_ITEM);
                Click(d, dateOption);
                SetDates(d, begin, end);
                Click(d, IDC_RESULT_RUN);
            },
            items ? std::vector { PickScale(scale), TypeItems(items) } : std::vector { PickScale(scale) });
    }
};

TEST_F(ResultViewTest, OpensOnTodayWithTheEmptyGridAndAsksForWhatIsMissing)
{
    std::vector<std::string> boxes;
    CTime begin;
    std::vector<std::string> grid;
    std::string enabled;
    Open("kim", [&](CResultViewDlg& d) {
        dynamic_cast<CDateTimeCtrl*>(d.GetDlgItem(IDC_RESULT_BEGIN))->GetTime(begin);
        CGridCtrl& g = d.m_grid;
        const int image = g.GetItemImage(1, 0);
        grid = { std::to_string(g.GetRowCount()) + "x" + std::to_string(g.GetColumnCount()),
            g.GetItemText(1, 0).Str(), std::to_string(g.GetDefaultCell(FALSE, FALSE)->GetBackClr()),
            std::to_string(g.GetFixedRowSelection() + 2 * g.GetFixedColumnSelection() + 4 * g.GetDragAndDrop()
                + 8 * g.IsCellEditable(1, 1) + 16 * g.GetListMode()),
            image >= 0 && image < 5 ? "image" : "no image",
            dynamic_cast<CXPButton*>(d.GetDlgItem(IDC_RESULT_RUN))
                    && dynamic_cast<CXPButton*>(d.GetDlgItem(IDC_RESULT_PRINT))
                ? "xp buttons"
                : "plain buttons" };
        // "List " disables the scale, item and date options, "other Result"
        // enables them; "Default" unchecked opens the decimal boxes.
        auto states = [&] {
            for (int id :
                { IDC_RESULT_SCALE_GROUP, IDC_RESULT_ONE_SCALE, IDC_RESULT_ALL_SCALES, IDC_RESULT_ITEM_GROUP,
                    IDC_RESULT_SELECT_ITEM, IDC_RESULT_TOTAL_ITEM, IDC_RESULT_SCALES_LABEL,
                    IDC_RESULT_ITEMS_LABEL, IDC_RESULT_DAILY, IDC_RESULT_DAY_OF_WEEK, IDC_RESULT_WEEKLY,
                    IDC_RESULT_MONTHLY, IDC_RESULT_BEGIN, IDC_RESULT_PRICE_DIGITS, IDC_RESULT_WEIGHT_DIGITS })
                enabled += d.GetDlgItem(id)->IsWindowEnabled() ? '1' : '0';
            enabled += ' ';
        };
        Click(d, IDC_RESULT_LIST_MODE);
        states();
        Click(d, IDC_RESULT_DEFAULT);
        Click(d, IDC_RESULT_SUMS_MODE);
        states();
        Click(d, IDC_RESULT_DEFAULT);
        states();
        Click(d, IDC_RESULT_RUN);
        Click(d, IDC_RESULT_ALL_SCALES);
        Click(d, IDC_RESULT_RUN);
        Click(d, IDC_RESULT_TOTAL_ITEM);
        Click(d, IDC_RESULT_RUN);
        boxes = Boxes();
    });
    EXPECT_EQ(begin.GetTime(), CTime(2009, 3, 15, 0, 0, 0).GetTime());
    EXPECT_EQ(grid, (Rows { "2x2", "-->", std::to_string(0xE0FFFF), "7", "image", "xp buttons" }));
    // The twelve option controls, the Begin picker, the two decimal boxes.
    EXPECT_EQ(enabled, "000000000000100 111111111111111 111111111111100 ");
    EXPECT_EQ(boxes, (Rows { "Select a Scale", "Input Item number", "Select Date option" }));
    Open("kim", [&](CResultViewDlg& d) { Click(d, IDC_RESULT_RUN); });
    EXPECT_EQ(Boxes().back(), "Select Result Option");
}

TEST_F(ResultViewTest, DailyRowsOfTwoScalesByTwoItemsInOrder)
{
    AddSales({
        { "2009- 3- 2", "1", "100", "10", "1", "10.0.0.1", "kim" },
        { "2009- 3- 2", "1", "50", "5", "1", "10.0.0.1", "kim" },
        { "2009- 3- 2", "1", "7000", "70", "1", "10.0.0.1", "lee" }, // another manager's sale
        { "2009- 3- 2", "2", "200", "20", "1", "10.0.0.1", "kim" },
        { "2009- 3- 2", "1", "300", "30", "1", "10.0.0.2", "kim" },
        { "2009- 3- 3", "2", "900", "90", "1", "10.0.0.2", "kim" }, // outside the range
        { "2009-03-02", "2", "800", "80", "1", "10.0.0.2", "kim" }, // another day text
    });
    std::vector<std::string> scales, items;
    const Rows rows = Open("kim",
        [&](CResultViewDlg& d) {
            Click(d, IDC_RESULT_SUMS_MODE);
            Click(d, IDC_RESULT_ALL_SCALES);
            Click(d, IDC_RESULT_SELECT_ITEM);
            Click(d, IDC_RESULT_DAILY);
            SetDates(d, CTime(2009, 3, 2, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0));
            Click(d, IDC_RESULT_RUN);
            scales = Lines(d, IDC_RESULT_SCALE_LIST);
            items = Lines(d, IDC_RESULT_ITEM_LIST);
        },
        { TypeItems("1,2") });
    EXPECT_EQ(scales, (Rows { "s1", "s2" }));
    EXPECT_EQ(items, (Rows { "1", "2" }));
    EXPECT_EQ(rows,
        (Rows { "s1|10.0.0.1|1|2009- 3- 2|150|15|2", "s1|10.0.0.1|2|2009- 3- 2|200|20|1",
            "s2|10.0.0.2|1|2009- 3- 2|300|30|1", "s2|10.0.0.2|2|2009- 3- 2|0|0|0" }));

    // The administrator sums every manager's rows of the scale.
    EXPECT_EQ(
        Sums("vexo", "s1", "1", IDC_RESULT_DAILY, CTime(2009, 3, 2, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0)),
        (Rows { "s1|10.0.0.1|1|2009- 3- 2|7150|85|3" }));
}

TEST_F(ResultViewTest, DecimalsNegativeDaysAndTheDefaultBox)
{
    AddSales({
        { "2009- 3- 2", "5", "1250", "75", "1", "10.0.0.1", "kim" },
        { "2009- 3- 3", "5", "-1200", "0", "-1", "10.0.0.1", "kim" },
        { "2009- 3- 4", "5", "-1", "-1", "-1", "10.0.0.1", "kim" },
    });
    Rows withDecimals, afterDefault;
    std::vector<std::string> weekly;
    const Rows rows = Open("kim",
        [&](CResultViewDlg& d) {
            Click(d, IDC_RESULT_SUMS_MODE);
            Click(d, IDC_RESULT_ONE_SCALE);
            Click(d, IDC_RESULT_SELECT_ITEM);
            Click(d, IDC_RESULT_DAILY);
            SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 4, 0, 0, 0));
            Click(d, IDC_RESULT_DEFAULT); // unchecked: the decimal boxes open
            for (int box : { IDC_RESULT_PRICE_DIGITS, IDC_RESULT_WEIGHT_DIGITS }) {
                d.GetDlgItem(box)->SetFocus();
                for (int k = 0; k < (box == IDC_RESULT_PRICE_DIGITS ? 2 : 3); ++k)
                    AfxSimulateKey(d.GetDlgItem(box)->GetSafeHwnd(), VK_DOWN);
            }
            Click(d, IDC_RESULT_RUN);
            withDecimals = GridRows(d.m_grid);
            Click(d, IDC_RESULT_DEFAULT); // checked again: no decimals
            Click(d, IDC_RESULT_RUN);
            afterDefault = GridRows(d.m_grid);
            Click(d, IDC_RESULT_WEEKLY);
            Click(d, IDC_RESULT_RUN);
        },
        { PickScale("s1"), TypeItems("5") });
    EXPECT_EQ(withDecimals,
        (Rows { "s1|10.0.0.1|5|2009- 3- 1|0.00|0.000|0", "s1|10.0.0.1|5|2009- 3- 2|12.50|0.075|1",
            "s1|10.0.0.1|5|2009- 3- 3|-12.00|0.000|-1", "s1|10.0.0.1|5|2009- 3- 4|-0.01|-0.001|-1" }));
    EXPECT_EQ(afterDefault[1], "s1|10.0.0.1|5|2009- 3- 2|1250|75|1");
    // A lone cancellation is -1, as summed.
    EXPECT_EQ(afterDefault[2], "s1|10.0.0.1|5|2009- 3- 3|-1200|0|-1");
    // A negative day counts 0 in a week.
    EXPECT_EQ(rows, (Rows { "s1|10.0.0.1|5|3/2|1250|75|1" }));
}

TEST_F(ResultViewTest, WeeksOneToSixOfMonthsBeginningOnSundayAndSaturday)
{
    AddSales({
        { "2009- 3- 1", "7", "10", "1", "1", "10.0.0.1", "kim" },
        { "2009- 3-29", "7", "20", "2", "1", "10.0.0.1", "kim" },
        { "2009- 3-31", "7", "30", "3", "1", "10.0.0.1", "kim" },
        { "2009- 8- 1", "7", "40", "4", "1", "10.0.0.1", "kim" },
        { "2009- 8-30", "7", "50", "5", "1", "10.0.0.1", "kim" },
    });
    EXPECT_EQ(Sums("kim", "s1", nullptr, IDC_RESULT_WEEKLY, CTime(2009, 3, 1, 0, 0, 0),
                  CTime(2009, 3, 31, 0, 0, 0)),
        (Rows { "s1|10.0.0.1|0|3/2|10|1|1", "s1|10.0.0.1|0|3/3|0|0|0", "s1|10.0.0.1|0|3/4|0|0|0",
            "s1|10.0.0.1|0|3/5|0|0|0", "s1|10.0.0.1|0|3/6|50|5|2" }));
    const Rows august = Sums(
        "kim", "s1", nullptr, IDC_RESULT_WEEKLY, CTime(2009, 8, 1, 0, 0, 0), CTime(2009, 8, 31, 0, 0, 0));
    ASSERT_EQ(august.size(), 6u);
    EXPECT_EQ(august.front(), "s1|10.0.0.1|0|8/1|40|4|1");
    EXPECT_EQ(august.back(), "s1|10.0.0.1|0|8/6|50|5|1");
}

TEST_F(ResultViewTest, MonthsOverAYearAndWeekdaysOverTwoWeeks)
{
    AddSales({
        { "2006-12-30", "7", "10", "1", "1", "10.0.0.1", "kim" },
        { "2007- 1-15", "7", "20", "2", "1", "10.0.0.1", "kim" },
        { "2007-12-31", "7", "30", "3", "1", "10.0.0.1", "kim" },
        { "2008- 1- 2", "7", "40", "4", "1", "10.0.0.1", "kim" },
        { "2008- 1- 3", "7", "99", "9", "1", "10.0.0.1", "kim" },
        { "2009- 3- 1", "7", "5", "1", "1", "10.0.0.1", "kim" },
        { "2009- 3- 8", "7", "6", "1", "1", "10.0.0.1", "kim" },
        { "2009- 3- 4", "7", "7", "1", "1", "10.0.0.1", "kim" },
    });
    const Rows months = Sums(
        "kim", "s1", "7", IDC_RESULT_MONTHLY, CTime(2006, 12, 30, 0, 0, 0), CTime(2008, 1, 2, 0, 0, 0));
    ASSERT_EQ(months.size(), 14u);
    EXPECT_EQ(months[0], "s1|10.0.0.1|7|12|10|1|1");
    EXPECT_EQ(months[1], "s1|10.0.0.1|7|1|20|2|1");
    EXPECT_EQ(months[12], "s1|10.0.0.1|7|12|30|3|1");
    EXPECT_EQ(months[13], "s1|10.0.0.1|7|1|40|4|1");

    const Rows weekdays = Sums(
        "kim", "s1", "7", IDC_RESULT_DAY_OF_WEEK, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 14, 0, 0, 0));
    EXPECT_EQ(weekdays, (Rows { "s1|10.0.0.1|7|11|2|2|0|0|0|0|0|0|7|1|1|0|0|0|0|0|0|0|0|0" }));
}

TEST_F(ResultViewTest, EndBeforeBeginInEveryMode)
{
    AddSales({ { "2009- 3-10", "7", "10", "1", "1", "10.0.0.1", "kim" } });
    const CTime late(2009, 3, 20, 0, 0, 0), early(2009, 3, 2, 0, 0, 0), april(2009, 4, 1, 0, 0, 0);
    EXPECT_EQ(Sums("kim", "s1", "7", IDC_RESULT_DAILY, late, early), Rows {});
    EXPECT_EQ(Sums("kim", "s1", "7", IDC_RESULT_WEEKLY, late, early), Rows {});
    EXPECT_EQ(Sums("kim", "s1", "7", IDC_RESULT_MONTHLY, late, early), (Rows { "s1|10.0.0.1|7|3|0|0|0" }));
    EXPECT_EQ(Sums("kim", "s1", "7", IDC_RESULT_MONTHLY, april, early), Rows {});
    EXPECT_EQ(Sums("kim", "s1", "7", IDC_RESULT_DAY_OF_WEEK, april, early),
        (Rows { "s1|10.0.0.1|7|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0" }));
    const Rows list = Open("kim", [&](CResultViewDlg& d) {
        Click(d, IDC_RESULT_LIST_MODE);
        SetDates(d, late, early);
        Click(d, IDC_RESULT_RUN);
    });
    EXPECT_EQ(list, Rows {});
}

TEST_F(ResultViewTest, ItemTextsAndTheBoundOfASelection)
{
    AddSales({
        { "2009- 3- 2", "1", "10", "1", "1", "10.0.0.1", "kim" },
        { "2009- 3- 2", "3", "30", "3", "1", "10.0.0.1", "kim" },
    });
    const CTime day(2009, 3, 2, 0, 0, 0);
    EXPECT_EQ(Sums("kim", "s1", "3-1", IDC_RESULT_DAILY, day, day), Rows {});
    EXPECT_EQ(
        Sums("kim", "s1", "1,,3", IDC_RESULT_DAILY, day, day), (Rows { "s1|10.0.0.1|1|2009- 3- 2|10|1|1" }));
    EXPECT_EQ(Boxes(), Rows {});

    // More than 2048 numbers are refused; a later selection shows only its own.
    std::vector<std::string> refused, whole, second;
    const Rows rows = Open("kim",
        [&](CResultViewDlg& d) {
            Click(d, IDC_RESULT_SELECT_ITEM);
            refused = Lines(d, IDC_RESULT_ITEM_LIST);
            Click(d, IDC_RESULT_SELECT_ITEM);
            whole = Lines(d, IDC_RESULT_ITEM_LIST);
            Click(d, IDC_RESULT_SELECT_ITEM);
            second = Lines(d, IDC_RESULT_ITEM_LIST);
            Click(d, IDC_RESULT_SUMS_MODE);
            Click(d, IDC_RESULT_ONE_SCALE);
            Click(d, IDC_RESULT_DAILY);
            SetDates(d, day, day);
            Click(d, IDC_RESULT_RUN);
        },
        { TypeItems("1-99999"), TypeItems("1-2048"), TypeItems("3,1"), PickScale("s1") });
    EXPECT_EQ(Boxes(), (Rows { kTooManyItemNumbers }));
    EXPECT_EQ(refused, Rows {});
    EXPECT_EQ(whole.size(), 2048u);
    EXPECT_EQ(second, (Rows { "3", "1" }));
    EXPECT_EQ(rows, (Rows { "s1|10.0.0.1|3|2009- 3- 2|30|3|1", "s1|10.0.0.1|1|2009- 3- 2|10|1|1" }));
}

TEST_F(ResultViewTest, ListShowsEachDaysRowsAsTheUserMaySeeThem)
{
    AddSales({
        { "2009- 3- 2", "11", "1250", "75", "1", "10.0.0.1", "kim", "s1", "Pear", "09:00:01", "881" },
        { "2009- 3- 2", "12", "300", "5", "1", "10.0.0.3", "lee", "s3", "Plum", "09:00:02", "882" },
        { "2009- 3- 3", "13", "400", "6", "-1", "10.0.0.2", "kim", "s2", "Fig", "09:00:03", "883" },
        { "2009- 3- 4", "14", "500", "7", "1", "10.0.0.2", "kim", "s2", "Kiwi", "09:00:04", "884" },
    });
    auto list = [&](const char* user) {
        return Open(user, [&](CResultViewDlg& d) {
            Click(d, IDC_RESULT_LIST_MODE);
            SetDates(d, CTime(2009, 3, 2, 0, 0, 0), CTime(2009, 3, 3, 0, 0, 0));
            Click(d, IDC_RESULT_RUN);
        });
    };
    EXPECT_EQ(list("vexo"),
        (Rows { "11|Pear|881|2009- 3- 2|09:00:01|1250|75|s1|kim",
            "12|Plum|882|2009- 3- 2|09:00:02|300|5|s3|lee", "13|Fig|883|2009- 3- 3|09:00:03|400|6|s2|kim" }));
    EXPECT_EQ(list("kim"),
        (Rows { "11|Pear|881|2009- 3- 2|09:00:01|1250|75|s1|kim",
            "13|Fig|883|2009- 3- 3|09:00:03|400|6|s2|kim" }));
}

TEST_F(ResultViewTest, QuotedNamesAndAScaleNoLongerRegistered)
{
    AddSales({
        { "2009- 3- 2", "1'", "10", "1", "1", "10.0.0.4", "park" },
        { "2009- 3- 2", "1", "20", "2", "1", "10.0.0.1", "kim" },
    });
    const CTime day(2009, 3, 2, 0, 0, 0);
    EXPECT_EQ(Sums("park", "O'Neil", "1'", IDC_RESULT_DAILY, day, day),
        (Rows { "O'Neil|10.0.0.4|1'|2009- 3- 2|10|1|1" }));
    EXPECT_EQ(Sums("vexo", "O'Neil", nullptr, IDC_RESULT_DAILY, day, day),
        (Rows { "O'Neil|10.0.0.4|0|2009- 3- 2|10|1|1" }));

    // s1 leaves the register after it was chosen: no rows for it, and no
    // rows under another scale's address.
    const Rows rows = Open("kim", [&](CResultViewDlg& d) {
        Click(d, IDC_RESULT_SUMS_MODE);
        Click(d, IDC_RESULT_ALL_SCALES);
        Execute(kManagerDatabase, { "DELETE FROM [ScaleMG] WHERE [scale_name] = 's1'" });
        Click(d, IDC_RESULT_TOTAL_ITEM);
        Click(d, IDC_RESULT_DAILY);
        SetDates(d, day, day);
        Click(d, IDC_RESULT_RUN);
    });
    EXPECT_EQ(rows, (Rows { "s2|10.0.0.2|0|2009- 3- 2|0|0|0" }));
    EXPECT_EQ(Boxes(), Rows {});
}

} // namespace

// A read error (the store held by another process) ends Result with the
// engine's text and a note; the grid holds what was read: no day of zeros.
TEST_F(ResultViewTest, ReadErrorLeavesOnlyWhatWasRead)
{
    AddSales({ { "2009- 3- 2", "5", "1250", "75", "1", "10.0.0.1", "kim" } });
    DbLockHolder holder;
    ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase)));
    // The daily reads over a connection kept open; the list opens the file afresh.
    const Rows daily = Sums(
        "kim", "s1", nullptr, IDC_RESULT_DAILY, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 4, 0, 0, 0));
    CDaoDatabase::TEST_DropConnectionCache();
    const Rows list = Open("kim", [](CResultViewDlg& d) {
        Click(d, IDC_RESULT_LIST_MODE);
        SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 4, 0, 0, 0));
        Click(d, IDC_RESULT_RUN);
    });
    holder.Release();
    EXPECT_TRUE(daily.empty());
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(Boxes().size(), 2u);
    for (const std::string& box : Boxes())
        EXPECT_NE(box.find("only what was read"), std::string::npos) << box;
}
