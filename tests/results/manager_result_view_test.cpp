// The Manager Result View against seeded databases, driven with the mouse:
// the managers chosen (twice, many, none), the periods' rows and refusals.

#include "resources/calvorn_ids.h"
#include "results/manager_result_view_dlg.h"
#include "tests/results/result_fixture.h"
#include "tests/support/db_lock.h"

namespace {

using Rows = std::vector<std::string>;

class ManagerResultViewTest : public ResultFixture {
protected:
    ManagerResultViewTest()
    {
        AddManager("kim");
        AddManager("lee");
        AddSales({
            { "2009- 3- 1", "1", "100", "10", "1", "10.0.0.1", "kim" },
            { "2009- 3- 2", "2", "50", "5", "-1", "10.0.0.2", "kim" },
            { "2009- 3-30", "1", "70", "7", "1", "10.0.0.1", "kim" },
            { "2009- 3- 1", "1", "900", "90", "1", "10.0.0.3", "lee" },
            { "2009- 3- 1", "1", "5", "1", "1", "10.0.0.1", "vexo" },
        });
    }

    Rows Result(std::function<void(CDialog&)> pick, int period, CTime begin, CTime end,
        std::vector<std::string>* listed = nullptr)
    {
        CManagerResultViewDlg dialog;
        Rows rows;
        Run(dialog,
            [&](CDialog& d) {
                Click(d, IDC_RESULT_SELECT_MANAGER);
                Click(d, period);
                SetDates(d, begin, end);
                Click(d, IDC_RESULT_RUN);
                Click(d, IDC_RESULT_RUN); // each Result starts from the empty grid
                rows = GridRows(dialog.m_grid);
                if (listed)
                    *listed = Lines(d, IDC_RESULT_MANAGER_LIST);
            },
            { std::move(pick) });
        return rows;
    }
};

TEST_F(ManagerResultViewTest, PeriodsOfManagersInTheOrderChosen)
{
    const CTime first(2009, 3, 1, 0, 0, 0), second(2009, 3, 2, 0, 0, 0), last(2009, 3, 31, 0, 0, 0);
    std::vector<std::string> listed;
    // The lower list takes each choice on top: kim, then vexo, then kim again.
    EXPECT_EQ(Result(Choose({ "kim", "vexo", "kim" }), IDC_RESULT_DAILY, first, second, &listed),
        (Rows { "kim|2009- 3- 1|100|10|1", "kim|2009- 3- 2|50|5|-1", "vexo|2009- 3- 1|5|1|1",
            "vexo|2009- 3- 2|0|0|0", "kim|2009- 3- 1|100|10|1", "kim|2009- 3- 2|50|5|-1" }));
    EXPECT_EQ(listed, (Rows { "kim", "vexo", "kim" }));
    EXPECT_EQ(Result(Choose({ "kim" }), IDC_RESULT_WEEKLY, first, last),
        (Rows { "kim|3/2|150|15|1", "kim|3/3|0|0|0", "kim|3/4|0|0|0", "kim|3/5|0|0|0", "kim|3/6|70|7|1" }));
    EXPECT_EQ(Result(Choose({ "lee" }), IDC_RESULT_MONTHLY, first, last), (Rows { "lee|3|900|90|1" }));
    EXPECT_EQ(Result(Choose({ "kim" }), IDC_RESULT_DAY_OF_WEEK, first, last),
        (Rows { "kim|100|10|1|120|12|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0" }));
    EXPECT_EQ(Result(Choose({ "kim" }), IDC_RESULT_MONTHLY, last, first), (Rows { "kim|3|0|0|0" }));
}

TEST_F(ManagerResultViewTest, RefusalsACancelledChoiceAndManyManagers)
{
    CManagerResultViewDlg dialog;
    std::vector<std::string> boxes;
    int rows = 0;
    std::string opening;
    Run(dialog, [&](CDialog& d) {
        opening = std::to_string(dialog.m_grid.GetRowCount()) + "x"
            + std::to_string(dialog.m_grid.GetColumnCount()) + " " + dialog.m_grid.GetItemText(1, 0).Str();
        Click(d, IDC_RESULT_PRINT); // no period: Print does nothing
        Click(d, IDC_RESULT_RUN);
        Click(d, IDC_RESULT_SELECT_MANAGER); // cancelled: the flag is set, the list empty
        Click(d, IDC_RESULT_RUN);
        Click(d, IDC_RESULT_DAILY);
        Click(d, IDC_RESULT_RUN);
        rows = dialog.m_grid.GetRowCount();
        Click(d, IDC_RESULT_PRINT);
        boxes = Boxes();
    });
    EXPECT_EQ(boxes, (Rows { "Select Manager", "Select Date option", "Not found Result Infomation" }));
    EXPECT_TRUE(PrintScript::DialogRecords().empty());
    EXPECT_EQ(opening, "2x2 -->");
    EXPECT_EQ(rows, 2);

    const std::vector<const char*> many(450, "lee");
    std::vector<std::string> listed;
    const Rows result = Result(
        Choose(many), IDC_RESULT_MONTHLY, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 1, 0, 0, 0), &listed);
    EXPECT_EQ(listed.size(), 450u);
    ASSERT_EQ(result.size(), 450u);
    EXPECT_EQ(result.back(), "lee|3|900|90|1");
}

// A new choice replaces the managers of the last one; a cancelled one leaves none.
TEST_F(ManagerResultViewTest, ANewChoiceReplacesTheManagers)
{
    CManagerResultViewDlg dialog;
    Rows replaced, cancelled;
    Run(dialog,
        [&](CDialog& d) {
            Click(d, IDC_RESULT_MONTHLY);
            SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 31, 0, 0, 0));
            Click(d, IDC_RESULT_SELECT_MANAGER);
            for (Rows* rows : { &replaced, &cancelled }) {
                Click(d, IDC_RESULT_SELECT_MANAGER);
                Click(d, IDC_RESULT_RUN);
                *rows = GridRows(dialog.m_grid);
            }
        },
        { Choose({ "kim" }), Choose({ "lee" }) }); // the third: nothing queued, cancelled
    EXPECT_EQ(replaced, Rows { "lee|3|900|90|1" });
    EXPECT_EQ(cancelled, Rows {});
}

} // namespace

// A read error ends Result with a note: no manager's days shown as zeros.
TEST_F(ManagerResultViewTest, ReadErrorLeavesOnlyWhatWasRead)
{
    DbLockHolder holder;
    ASSERT_TRUE(holder.Hold(m_root.Native(kServerDatabase)));
    const Rows rows
        = Result(Choose({ "kim" }), IDC_RESULT_DAILY, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0));
    holder.Release();
    EXPECT_TRUE(rows.empty());
    ASSERT_FALSE(Boxes().empty());
    EXPECT_NE(Boxes()[0].find("only what was read"), std::string::npos) << Boxes()[0];
}
