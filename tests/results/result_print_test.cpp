// Printing both result dialogs through the print dialog's script and to PDF:
// pages and their lines per orientation, the weekday blocks, the list's
// alignment, the layout the flags choose, the page at other resolutions.

#include <algorithm>

#include "platform/print/print_dialog.h"
#include "resources/calvorn_ids.h"
#include "results/manager_result_view_dlg.h"
#include "results/result_view_dlg.h"
#include "tests/results/result_fixture.h"
#include "tests/support/pdf_text.h"

namespace {

class ResultPrintTest : public ResultFixture {
protected:
    ResultPrintTest()
    {
        AddScale("s1", "10.0.0.1", "kim");
        AddManager("kim");
        AddManager("lee");
        std::vector<Sale> sales;
        static char codes[99][8];
        for (int i = 0; i < 99; ++i) {
            std::snprintf(codes[i], sizeof codes[i], "%d", 9000 + i);
            sales.push_back({ "2009- 3- 2", codes[i], "1250", "75", "1", "10.0.0.1", "kim", "s1", "Apple" });
        }
        AddSales(sales);
    }

    static PrintDialogAnswer Answer(short orientation, int dpi = 0)
    {
        PrintDialogAnswer answer;
        answer.orientation = orientation;
        answer.dpi = dpi;
        return answer;
    }

    // The texts of a job's only page.
    static std::vector<PrintedText> Texts(const PrintJobRecord& job)
    {
        EXPECT_EQ(job.pages.size(), 1u) << job.docName.Str();
        return job.pages.empty() ? std::vector<PrintedText> {} : job.pages[0].texts;
    }
    static int Count(const PrintJobRecord& job, const std::function<bool(const CString&)>& match)
    {
        const auto texts = Texts(job);
        return static_cast<int>(
            std::count_if(texts.begin(), texts.end(), [&](const auto& t) { return match(t.text); }));
    }
    static int Count(const PrintJobRecord& job, const char* text)
    {
        return Count(job, [text](const CString& t) { return t == text; });
    }
    static bool IsCode(const CString& text) { return text.GetLength() == 4 && text.Left(2) == "90"; }
    static const PrintedText* Find(const PrintJobRecord& job, const char* text)
    {
        if (job.pages.empty())
            return nullptr;
        for (const PrintedText& t : job.pages[0].texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }

    // The width of text on the printer in the page's font: height and
    // average width in points, as the printer's resolution converts them.
    static int PrinterWidth(short orientation, int heightPt, int widthPt, const char* text)
    {
        CPrintDialog dialog(FALSE);
        PrintScript::Push(Answer(orientation));
        if (dialog.DoModal() != IDOK)
            return -1;
        CDC dc;
        dc.Attach(dialog.GetPrinterDC());
        const int dpi = dc.GetDeviceCaps(LOGPIXELSY);
        CFont font;
        font.CreateFont(MulDiv(heightPt, dpi, 72), MulDiv(widthPt, dpi, 72), 0, 0, 0, 0, 0, 0, ANSI_CHARSET,
            OUT_TT_PRECIS, CLIP_STROKE_PRECIS, PROOF_QUALITY, FF_MODERN, "Helv");
        CFont* old = dc.SelectObject(&font);
        const int width = dc.GetTextExtent(text).cx;
        dc.SelectObject(old);
        dc.DeleteDC();
        return width;
    }

    // The Result View as kim with action; then the jobs printed.
    std::vector<PrintJobRecord> PrintView(
        const std::function<void(CDialog&)>& action, std::vector<std::function<void(CDialog&)>> nested = {})
    {
        CResultViewDlg dialog;
        dialog.m_strUserId = "kim";
        Run(dialog, action, std::move(nested));
        return PrintScript::Jobs();
    }
    static void ListOfDay(CDialog& d)
    {
        Click(d, IDC_RESULT_LIST_MODE);
        SetDates(d, CTime(2009, 3, 2, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0));
        Click(d, IDC_RESULT_RUN);
    }
};

TEST_F(ResultPrintTest, ListOfNinetyNineRowsInBothOrientations)
{
    const auto portrait = PrintView([](CDialog& d) {
        ListOfDay(d);
        PrintScript::Push(Answer(DMORIENT_PORTRAIT));
        Click(d, IDC_RESULT_PRINT);
    });
    ASSERT_EQ(portrait.size(), 2u);
    for (const PrintJobRecord& job : portrait) {
        EXPECT_EQ(job.docName, "Print1: Server Result View");
        EXPECT_EQ(Count(job, "- List Print -"), 1);
        EXPECT_EQ(Count(job, "-->"), 0);
        EXPECT_EQ(Count(job, [](const CString& t) { return t.Left(5) == "List "; }), 0);
    }
    EXPECT_EQ(Count(portrait[0], "PLU"), 1); // grid rows 0 to 70
    EXPECT_EQ(Count(portrait[0], IsCode), 70);
    EXPECT_NE(Find(portrait[0], "9069"), nullptr);
    EXPECT_EQ(Count(portrait[0], "1-2"), 1);
    EXPECT_EQ(Count(portrait[1], IsCode), 29); // rows 71 to 99
    EXPECT_NE(Find(portrait[1], "9070"), nullptr);
    EXPECT_EQ(Count(portrait[1], "2-2"), 1);
    // The list's alignment: price and weight right with a space after,
    // name and scale left with a space before, the rest centred (600 dpi:
    // columns from 200, 60 units to a width).
    const PrintedText* price = Find(portrait[0], "1250 ");
    const PrintedText* name = Find(portrait[0], " Apple");
    const PrintedText* scale = Find(portrait[0], " s1");
    const PrintedText* code = Find(portrait[0], "9000");
    ASSERT_TRUE(price && name && scale && code);
    EXPECT_NEAR(price->rect.right, 3020, 2);
    EXPECT_NEAR(name->rect.left, 560, 2);
    EXPECT_NEAR(scale->rect.left, 3500, 2);
    EXPECT_NEAR((code->rect.left + code->rect.right) / 2, 380, 2);
    // The title at (300, 150), the footer under the fourth column, 71 lines
    // of 10-point text below the top at 300.
    const PrintedText* title = Find(portrait[0], "- List Print -");
    const PrintedText* footer = Find(portrait[0], "1-2");
    const PrintedText* next = Find(portrait[0], "9001");
    ASSERT_TRUE(title && footer && next);
    EXPECT_EQ(title->rect.TopLeft(), CPoint(300, 150));
    EXPECT_NEAR(title->rect.Width(), PrinterWidth(DMORIENT_PORTRAIT, 10, 5, "- List Print -"), 1);
    EXPECT_NEAR((footer->rect.left + footer->rect.right) / 2, 2060, 2);
    const int pitch = next->rect.top - code->rect.top;
    EXPECT_GE(pitch, 80);
    EXPECT_LE(pitch, 90);
    EXPECT_EQ(Find(portrait[0], "PLU")->rect.top, 300);
    EXPECT_NEAR(footer->rect.top, 300 - 100 + 73 * pitch, 2);
    EXPECT_EQ(PdfPageCount(portrait[0].outputPath.Str()), 1);
    const auto pdf = PdfPageTexts(portrait[0].outputPath.Str());
    ASSERT_EQ(pdf.size(), 1u);
    EXPECT_NE(pdf[0].find("- List Print -"), std::string::npos);
    EXPECT_NE(pdf[0].find("9069"), std::string::npos);
    EXPECT_NE(pdf[0].find("1-2"), std::string::npos);

    PrintScript::Reset();
    const auto landscape = PrintView([](CDialog& d) {
        ListOfDay(d);
        PrintScript::Push(Answer(DMORIENT_LANDSCAPE));
        Click(d, IDC_RESULT_PRINT);
    });
    ASSERT_EQ(landscape.size(), 4u);
    const PrintedText* wideTitle = Find(landscape[0], "- List Print -");
    ASSERT_NE(wideTitle, nullptr);
    EXPECT_NEAR(wideTitle->rect.Width(), PrinterWidth(DMORIENT_LANDSCAPE, 16, 8, "- List Print -"), 1);
    // Columns from 400, 80 units to a width, 16-point lines.
    const PrintedText* first = Find(landscape[0], "9000");
    const PrintedText* second = Find(landscape[0], "9001");
    ASSERT_TRUE(first && second);
    EXPECT_NEAR((first->rect.left + first->rect.right) / 2, 400 + 3 * 80, 2);
    EXPECT_GE(second->rect.top - first->rect.top, 130);
    EXPECT_LE(second->rect.top - first->rect.top, 140);
    // The closing line under the last row starts at 200, left of the
    // landscape table (at 400) as of the portrait one: both pages' ink begins there.
    EXPECT_NEAR(PdfInkBox(landscape[3].outputPath.Str(), 1, 150)[0],
        PdfInkBox(portrait[1].outputPath.Str(), 1, 150)[0], 1);
    const int codes[4] = { 30, 31, 31, 7 };
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Count(landscape[static_cast<size_t>(p)], IsCode), codes[p]) << p;
        EXPECT_EQ(Count(landscape[static_cast<size_t>(p)], CString::Formatted("%d-4", p + 1).GetString()), 1);
    }
}

// Every layout in both orientations: the centre of each centred title is
// that of its column, the widths in units from the table's left edge.
TEST_F(ResultPrintTest, ColumnsOfEveryLayoutLieWhereTheirWidthsPutThem)
{
    struct Layout {
        const char* name;
        int option; // 0: the list
        std::vector<std::pair<const char*, int>> columns; // title (nullptr: not centred), width
    };
    const Layout layouts[] = {
        { "list", 0,
            { { "PLU", 6 }, { nullptr, 15 }, { "Pos_code", 6 }, { "date", 8 }, { "Time", 5 }, { nullptr, 7 },
                { nullptr, 8 }, { nullptr, 12 }, { "User ID", 7 } } },
        { "daily", IDC_RESULT_DAILY,
            { { "Scale name", 10 }, { "IP", 15 }, { "PLU", 8 }, { "Date", 10 }, { "Price", 11 },
                { "Weight", 11 }, { "Print", 8 } } },
        { "weekly", IDC_RESULT_WEEKLY,
            { { "Scale name", 10 }, { "IP", 15 }, { "PLU", 6 }, { "Week", 10 }, { "Price", 11 },
                { "Weight", 11 }, { "Print", 8 } } },
        { "monthly", IDC_RESULT_MONTHLY,
            { { "Scale name", 10 }, { "IP", 15 }, { "PLU", 6 }, { "Month", 10 }, { "Price", 11 },
                { "Weight", 11 }, { "Print", 8 } } },
        { "day of week", IDC_RESULT_DAY_OF_WEEK,
            { { "Scale name", 10 }, { "IP", 15 }, { "PLU", 8 }, { "Price(SUN)", 11 }, { "Weight(SUN)", 11 },
                { "Print(SUN)", 11 } } },
    };
    struct Orientation {
        short value;
        int left, unit;
    };
    for (const Orientation o :
        { Orientation { DMORIENT_PORTRAIT, 200, 60 }, Orientation { DMORIENT_LANDSCAPE, 400, 80 } }) {
        for (const Layout& layout : layouts) {
            PrintScript::Reset();
            const auto jobs = PrintView(
                [&](CDialog& d) {
                    if (layout.option == 0) {
                        ListOfDay(d);
                    } else {
                        Click(d, IDC_RESULT_SUMS_MODE);
                        Click(d, IDC_RESULT_ONE_SCALE);
                        Click(d, IDC_RESULT_TOTAL_ITEM);
                        Click(d, layout.option);
                        SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 3, 0, 0, 0));
                        Click(d, IDC_RESULT_RUN);
                    }
                    PrintScript::Push(Answer(o.value));
                    Click(d, IDC_RESULT_PRINT);
                },
                layout.option == 0 ? std::vector<std::function<void(CDialog&)>> {}
                                   : std::vector<std::function<void(CDialog&)>> { Choose({ "s1" }) });
            ASSERT_FALSE(jobs.empty()) << layout.name;
            int edge = 0;
            for (const auto& [title, width] : layout.columns) {
                if (title) {
                    const PrintedText* text = Find(jobs[0], title);
                    ASSERT_NE(text, nullptr) << layout.name << " " << title;
                    EXPECT_NEAR(
                        (text->rect.left + text->rect.right) / 2.0, o.left + (edge + width / 2.0) * o.unit, 2)
                        << layout.name << " " << title << " " << o.value;
                }
                edge += width;
            }
        }
    }
}

TEST_F(ResultPrintTest, WeekdayBlocksTheLayoutOfTheFlagsAndNothingToPrint)
{
    auto weekdays = [&](short orientation) {
        PrintScript::Reset();
        return PrintView(
            [orientation](CDialog& d) {
                Click(d, IDC_RESULT_SUMS_MODE);
                Click(d, IDC_RESULT_ONE_SCALE);
                Click(d, IDC_RESULT_SELECT_ITEM);
                Click(d, IDC_RESULT_DAY_OF_WEEK);
                SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 7, 0, 0, 0));
                Click(d, IDC_RESULT_RUN);
                PrintScript::Push(Answer(orientation));
                Click(d, IDC_RESULT_PRINT);
            },
            { Choose({ "s1" }), [](CDialog& i) {
                 i.SetDlgItemText(IDC_ITEM_NUMBER, "9000-9005");
                 Click(i, IDOK);
             } });
    };
    // Six result rows: five blocks and one in portrait, two a page in landscape.
    const auto portrait = weekdays(DMORIENT_PORTRAIT);
    ASSERT_EQ(portrait.size(), 2u);
    EXPECT_EQ(Count(portrait[0], "- A day of week Result -"), 1);
    EXPECT_EQ(Count(portrait[0], "Price(SUN)"), 5);
    EXPECT_EQ(Count(portrait[0], "Print(SAT)"), 5);
    EXPECT_EQ(Count(portrait[0], "Scale name"), 5); // once per block
    EXPECT_EQ(Count(portrait[0], "9001"), 1);
    EXPECT_EQ(Count(portrait[0], "1250"), 5); // Monday's price of each block
    const PrintedText* sunday = Find(portrait[0], "Price(SUN)");
    ASSERT_NE(sunday, nullptr);
    EXPECT_NEAR((sunday->rect.left + sunday->rect.right) / 2, 2510, 2); // after 10, 15 and 8 units from 200
    // A block's first line holds the six titles, the next their values.
    auto line = [&](int top) {
        std::vector<std::string> texts;
        for (const PrintedText& t : Texts(portrait[0]))
            if (t.rect.top == top)
                texts.push_back(t.text.Str());
        std::sort(texts.begin(), texts.end());
        return texts;
    };
    const PrintedText* value = Find(portrait[0], "s1");
    ASSERT_NE(value, nullptr);
    EXPECT_LT(sunday->rect.top, value->rect.top);
    EXPECT_EQ(line(sunday->rect.top),
        (std::vector<std::string> { "IP", "PLU", "Price(SUN)", "Print(SUN)", "Scale name", "Weight(SUN)" }));
    EXPECT_EQ(line(value->rect.top), (std::vector<std::string> { "0", "0", "0", "10.0.0.1", "9000", "s1" }));
    EXPECT_EQ(Count(portrait[1], "Price(SUN)"), 1);
    EXPECT_EQ(Count(portrait[1], "2-2"), 1);
    const auto landscape = weekdays(DMORIENT_LANDSCAPE);
    ASSERT_EQ(landscape.size(), 3u);
    for (const PrintJobRecord& job : landscape)
        EXPECT_EQ(Count(job, "Price(SUN)"), 2);
    EXPECT_EQ(Count(landscape[2], "3-3"), 1);

    // A daily flag still set chooses the daily layout after "List ".
    PrintScript::Reset();
    const auto jobs = PrintView(
        [](CDialog& d) {
            Click(d, IDC_RESULT_SUMS_MODE);
            Click(d, IDC_RESULT_ONE_SCALE);
            Click(d, IDC_RESULT_TOTAL_ITEM);
            Click(d, IDC_RESULT_DAILY);
            SetDates(d, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0));
            Click(d, IDC_RESULT_RUN);
            Click(d, IDC_RESULT_LIST_MODE);
            PrintScript::Push(Answer(DMORIENT_PORTRAIT));
            Click(d, IDC_RESULT_PRINT);
            ListOfDay(d);
            PrintScript::Push(Answer(DMORIENT_PORTRAIT));
            Click(d, IDC_RESULT_PRINT);
        },
        { Choose({ "s1" }) });
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(Count(jobs[0], "- Daily Result -"), 1);
    EXPECT_EQ(Count(jobs[0], "123750"), 1); // the daily sum of 2 March
    EXPECT_EQ(Count(jobs[1], "- Daily Result -"), 1);
    EXPECT_EQ(Count(jobs[1], IsCode),
        70); // the list's grid under the daily layout
    EXPECT_EQ(Count(jobs[1], " Apple"), 0);

    // Nothing chosen: nothing; an empty result: the message, no dialog.
    PrintScript::Reset();
    PrintView([](CDialog& d) {
        Click(d, IDC_RESULT_PRINT);
        Click(d, IDC_RESULT_LIST_MODE);
        Click(d, IDC_RESULT_PRINT);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string> { "Not found Result Infomation" });
    EXPECT_TRUE(PrintScript::DialogRecords().empty());
}

// The list's 5-point font holds its width for figures: a time and an 8-digit
// code fit their 5- and 6-unit cells (36 and 43.2 points).
TEST_F(ResultPrintTest, FiguresFitTheirCellsAtTheWidthAsked)
{
    Sale sale { "2009- 3- 3", "7001", "1250", "75", "1", "10.0.0.1", "kim" };
    sale.time = "08:00:00";
    sale.posCode = "88012340";
    AddSales({ sale });
    const auto jobs = PrintView([](CDialog& d) {
        Click(d, IDC_RESULT_LIST_MODE);
        SetDates(d, CTime(2009, 3, 3, 0, 0, 0), CTime(2009, 3, 3, 0, 0, 0));
        Click(d, IDC_RESULT_RUN);
        PrintScript::Push(Answer(DMORIENT_PORTRAIT));
        Click(d, IDC_RESULT_PRINT);
    });
    ASSERT_EQ(jobs.size(), 1u);
    for (const auto& [text, cell] : { std::pair { "08:00:00", 5 * 60 }, { "88012340", 6 * 60 } }) {
        const PrintedText* printed = Find(jobs[0], text);
        ASSERT_NE(printed, nullptr) << text;
        EXPECT_LE(printed->rect.Width(), cell) << text;
        EXPECT_GE(printed->rect.Width(), cell * 3 / 4) << text;
    }
}

TEST_F(ResultPrintTest, ThePageKeepsItsSizeAtEveryResolution)
{
    std::vector<PrintJobRecord> jobs;
    for (int dpi : { 300, 1200 }) {
        PrintScript::Reset();
        const auto printed = PrintView([dpi](CDialog& d) {
            ListOfDay(d);
            PrintScript::Push(Answer(DMORIENT_PORTRAIT, dpi));
            Click(d, IDC_RESULT_PRINT);
        });
        ASSERT_EQ(printed.size(), 2u);
        EXPECT_EQ(printed[1].dpi, dpi);
        jobs.push_back(printed[1]);
    }
    for (const char* text : { "2-2", "9098", "- List Print -" }) {
        const PrintedText* low = Find(jobs[0], text);
        const PrintedText* high = Find(jobs[1], text);
        ASSERT_TRUE(low && high) << text;
        EXPECT_NEAR(low->rect.left / 300.0, high->rect.left / 1200.0, 0.01) << text;
        EXPECT_NEAR(low->rect.top / 300.0, high->rect.top / 1200.0, 0.01) << text;
    }
    const auto lowInk = PdfInkBox(jobs[0].outputPath.Str(), 1, 100);
    const auto highInk = PdfInkBox(jobs[1].outputPath.Str(), 1, 100);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(lowInk[static_cast<size_t>(k)], highInk[static_cast<size_t>(k)], 3) << k;
}

TEST_F(ResultPrintTest, ManagerPagesAndBlocks)
{
    auto print = [&](int period, CTime begin, CTime end, std::vector<const char*> ids, short orientation) {
        PrintScript::Reset();
        CManagerResultViewDlg dialog;
        Run(dialog,
            [&](CDialog& d) {
                Click(d, IDC_RESULT_SELECT_MANAGER);
                Click(d, period);
                SetDates(d, begin, end);
                Click(d, IDC_RESULT_RUN);
                PrintScript::Push(Answer(orientation));
                Click(d, IDC_RESULT_PRINT);
            },
            { Choose(ids) });
        return PrintScript::Jobs();
    };
    // 71 days: the title line and 71 rows on two portrait pages.
    const auto daily = print(IDC_RESULT_DAILY, CTime(2009, 1, 1, 0, 0, 0), CTime(2009, 3, 12, 0, 0, 0),
        { "kim" }, DMORIENT_PORTRAIT);
    ASSERT_EQ(daily.size(), 2u);
    EXPECT_EQ(daily[0].docName, "Print1: Server User Result View");
    EXPECT_EQ(Count(daily[0], "- Daily Result -"), 1);
    EXPECT_EQ(Count(daily[0], "Manager name"), 1);
    EXPECT_EQ(Count(daily[0], "kim"), 70);
    EXPECT_EQ(Count(daily[1], "kim"), 1);
    EXPECT_EQ(Count(daily[1], "2009- 3-12"), 1);
    EXPECT_EQ(Count(daily[1], "2-2"), 1);
    // Columns of 12, 10, 11, 11 and 8 units from 200: the sums of 2 March.
    for (const auto& [text, centre] : { std::pair { "123750", 1850 }, { "7425", 2510 }, { "99", 3080 } }) {
        const PrintedText* cell = Find(daily[0], text);
        ASSERT_NE(cell, nullptr) << text;
        EXPECT_NEAR((cell->rect.left + cell->rect.right) / 2, centre, 2) << text;
    }

    // Weeks and months: the period in a column of 6 units.
    for (const auto& [period, title, text] :
        { std::tuple { 1091, "- Weekly Result -", "3/2" }, { 1092, "- Monthly Result -", "3" } }) {
        const auto jobs = print(
            period, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 2, 0, 0, 0), { "kim" }, DMORIENT_PORTRAIT);
        ASSERT_EQ(jobs.size(), 1u) << title;
        EXPECT_EQ(Count(jobs[0], title), 1);
        const PrintedText* cell = Find(jobs[0], text);
        ASSERT_NE(cell, nullptr) << title;
        EXPECT_NEAR((cell->rect.left + cell->rect.right) / 2, 1100, 2) << title;
        EXPECT_EQ(Count(jobs[0], "123750"), 1) << title;
    }

    const auto blocks = print(IDC_RESULT_DAY_OF_WEEK, CTime(2009, 3, 1, 0, 0, 0), CTime(2009, 3, 7, 0, 0, 0),
        { "kim", "lee", "kim" }, DMORIENT_LANDSCAPE);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(Count(blocks[0], "- A day of week Result -"), 1);
    EXPECT_EQ(Count(blocks[0], "Manager name"), 2);
    EXPECT_EQ(Count(blocks[0], "Print(SAT)"), 2);
    EXPECT_EQ(Count(blocks[1], "Manager name"), 1);
    EXPECT_EQ(Count(blocks[1], "123750"), 1); // kim's Monday
    EXPECT_EQ(Count(blocks[1], "2-2"), 1);
    // Landscape: 12 units of 80 from 400, then 11 for each of the day's three.
    for (const auto& [text, centre] :
        { std::pair { "Manager name", 880 }, { "Weight(SUN)", 2680 }, { "Print(SUN)", 3560 } }) {
        const PrintedText* cell = Find(blocks[1], text);
        ASSERT_NE(cell, nullptr) << text;
        EXPECT_NEAR((cell->rect.left + cell->rect.right) / 2, centre, 2) << text;
    }
}

} // namespace
