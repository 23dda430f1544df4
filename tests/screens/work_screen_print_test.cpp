// The preset-key sheet printed to PDF: the model dialog, the keys' lines at
// their places, the function keys of the "Q" sheet, and the sheet's size on
// paper whatever the printer's resolution.

#include <cmath>

#include "platform/print/print_script.h"
#include "resources/calvorn_ids.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/pdf_text.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

class WorkScreenPrintTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        PrintScript::Enable();
        PrintScript::Reset();
        Switch(Screen::Preset, "Pre_Read", "vexo", MakeItemDatabase());
    }
    void TearDown() override
    {
        PrintScript::Reset();
        PrintScript::Disable();
        WorkScreenFixture::TearDown();
    }
    void SetKey(int index, const char* text)
    {
        m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY + index)->SetWindowText(text);
    }
    // Runs the Print button: model dialog answered with model ("" cancels),
    // the print dialog with dpi.
    void Print(const char* model, int dpi = 600)
    {
        ModalDialogScript::Push([model](CDialog& dialog) {
            if (!*model) {
                AfxClickDlgButton(dialog, IDCANCEL);
                return;
            }
            // The model is chosen by a click at its radio button's place.
            EXPECT_TRUE(ClickAtControl(dialog, CString(model) == "Q" ? 1148 : 1147));
            AfxClickDlgButton(dialog, IDOK);
        });
        if (*model) {
            PrintDialogAnswer answer;
            answer.dpi = dpi;
            PrintScript::Push(answer);
        }
        ClickControl(ID_FILE_PRINT);
    }
    // The place of the first text drawn as text in the last job.
    static const PrintedText* Find(const PrintJobRecord& job, const char* text)
    {
        for (const PrintedText& t : job.pages.at(0).texts) {
            if (t.text == text)
                return &t;
        }
        return nullptr;
    }
};

TEST_F(WorkScreenPrintTest, KeyLinesArePrintedAtTheirPlacesOnThePqSheet)
{
    SetKey(0, "123\r\nPork belly");
    SetKey(11, "7");
    SetKey(55, "55555");
    Print("PQ");
    const auto jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    const PrintJobRecord& job = jobs[0];
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(job.dpi, 600);
    ASSERT_EQ(job.pages.size(), 1u);
    struct Expected {
        const char* text;
        int x;
        int y;
    };
    const Expected expected[] = {
        { "123", 360, 350 },
        { "Pork ", 360, 440 },
        { "belly", 360, 510 },
        { "7", 437 + 360, 425 + 350 },
    };
    for (const Expected& e : expected) {
        const PrintedText* t = Find(job, e.text);
        ASSERT_NE(t, nullptr) << e.text;
        EXPECT_EQ(t->rect.left, e.x) << e.text;
        EXPECT_EQ(t->rect.top, e.y) << e.text;
    }
    // The sixth row exists on the "Q" keyboard only.
    EXPECT_EQ(Find(job, "55555"), nullptr);
    EXPECT_EQ(Find(job, "SHIFT"), nullptr);
    EXPECT_EQ(m_screen->Print().GetPrintKind(), "PresetPrint");
    ASSERT_FALSE(job.outputPath.IsEmpty());
    const auto pages = PdfPageTexts(job.outputPath.GetString());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("belly"), std::string::npos) << pages[0];
    // The file carries the item database's name; one box tells its C:\ path.
    const CString file = job.outputPath.Mid(job.outputPath.ReverseFind('/') + 1);
    EXPECT_EQ(file.Left(6), "items-");
    ASSERT_TRUE(PumpUntil([&] { return !m_boxes.Records().empty(); }));
    EXPECT_EQ(m_boxes.Records().back().text, "Printed to\nC:\\Windows\\system\\Manager\\Print\\" + file);
}

TEST_F(WorkScreenPrintTest, KeyLinesBreakWhereTheScreensDoAndFitTheirKeys)
{
    // The lines a key shows on screen, counted as bands of ink.
    const auto shownLines = [&](int index) {
        Snapshot key(*m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY + index), Snapshot::Scope::WithChildren);
        // A syllable may leave one blank row between its parts; lines have more.
        int bands = 0;
        int blank = 2;
        for (int y = 2; y < key.Height() - 2; ++y) {
            const bool ink = key.CountOther(RGB(255, 255, 255), CRect(3, y, key.Width() - 3, y + 1)) > 0;
            bands += ink && blank >= 2;
            blank = ink ? 0 : blank + 1;
        }
        return bands;
    };
    const char* const texts[] = { "닭가슴살", "닭가슴살닭", "Pork belly", "abcdefgh", "12\r\n닭가슴살",
        "가나다라마바사아자차", "a가나다", "닭가슴살\r\nabc" };
    for (int k = 0; k < static_cast<int>(std::size(texts)); ++k)
        SetKey(k, texts[k]);
    Print("PQ");
    const auto jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    for (int k = 0; k < static_cast<int>(std::size(texts)); ++k) {
        SCOPED_TRACE(texts[k]);
        CString joined;
        int lines = 0;
        for (const PrintedText& t : jobs[0].pages.at(0).texts) {
            if (t.rect.left != k * 437 + 360 || t.rect.top > 600 || t.text.IsEmpty())
                continue;
            ++lines;
            joined += t.text;
            // Inside the key: its right edge at 717, the pen 20 wide.
            EXPECT_LE(t.rect.right, k * 437 + 717 - 10) << t.text;
        }
        CString text = texts[k];
        text.Replace("\r\n", "");
        EXPECT_EQ(joined, text);
        EXPECT_EQ(lines, shownLines(k));
    }
    // The text that fits its key on screen is one line on paper too, and a
    // line after a narrowed one has the sheet's own font again.
    EXPECT_NE(Find(jobs[0], "닭가슴살"), nullptr);
    const PrintedText* after = Find(jobs[0], "abc");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->rect.Width(), 3 * 45);
}

TEST_F(WorkScreenPrintTest, TheQSheetHasSixRowsAndItsFunctionKeys)
{
    SetKey(55, "55555\r\nx");
    Print("Q");
    const auto jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    const PrintedText* key = Find(jobs[0], "55555");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->rect.left, 5 * 376 + 380);
    EXPECT_EQ(key->rect.top, 5 * 380 + 350);
    const PrintedText* second = Find(jobs[0], "x");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->rect.top, 5 * 380 + 430);
    // Function keys: two lines of at most six bytes, at column 10 to 14.
    const struct {
        const char* text;
        int x;
        int y;
    } expected[] = { { " 설정", 10 * 376 + 350, 450 }, { "RESET", 14 * 376 + 350, 450 },
        { " 날짜 ", 14 * 376 + 350, 380 + 450 }, { " 시간", 14 * 376 + 350, 380 + 550 },
        { " 발행", 14 * 376 + 350, 5 * 380 + 450 } };
    for (const auto& e : expected) {
        const PrintedText* t = Find(jobs[0], e.text);
        ASSERT_NE(t, nullptr) << e.text;
        EXPECT_EQ(t->rect.left, e.x) << e.text;
        EXPECT_EQ(t->rect.top, e.y) << e.text;
    }
}

TEST_F(WorkScreenPrintTest, TheSheetKeepsItsSizeOnPaperAtEveryResolution)
{
    SetKey(0, "1");
    SetKey(49, "49");
    struct Case {
        int dpi;
        double scale;
    };
    const Case cases[] = { { 600, 1.0 }, { 900, 1.5 }, { 1200, 2.0 }, { 300, 0.5 } };
    std::vector<std::array<int, 4>> boxes;
    for (const Case& c : cases) {
        PrintScript::Reset();
        Print("PQ", c.dpi);
        const auto jobs = PrintScript::Jobs();
        ASSERT_EQ(jobs.size(), 1u) << c.dpi;
        EXPECT_EQ(jobs[0].dpi, c.dpi);
        const PrintedText* last = Find(jobs[0], "49");
        ASSERT_NE(last, nullptr) << c.dpi;
        EXPECT_EQ(last->rect.left, std::lround((9 * 437 + 360) * c.scale)) << c.dpi;
        EXPECT_EQ(last->rect.top, std::lround((4 * 425 + 350) * c.scale)) << c.dpi;
        boxes.push_back(PdfInkBox(jobs[0].outputPath.GetString(), 1, 100));
    }
    // The frames and keys cover the same paper (at 100 dpi: the outer frame
    // from 1/6 inch to 7.8 inch across).
    EXPECT_NEAR(boxes[0][2] - boxes[0][0], (4670 - 100) / 6, 4);
    for (const auto& box : boxes) {
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(box[static_cast<std::size_t>(i)], boxes[0][static_cast<std::size_t>(i)], 3) << i;
    }
}

TEST_F(WorkScreenPrintTest, KeyCellsHaveTheirModelsWidthAndHeight)
{
    // The bottom edge of the last key row in column 0, drawn at 600 dpi: PQ
    // keys are 425 high (row 4 ends at 2425), Q keys 380 (row 5 ends at 2580);
    // the key pen is 20 wide.
    struct Case {
        const char* model;
        int keyBottom;
        int frameTop; // the outer frame's line below the keys
    };
    for (const Case& c : { Case { "PQ", 2425, 2450 }, Case { "Q", 2580, 2620 } }) {
        Canvas canvas(800, 500);
        canvas.Dc().SetViewportOrg(0, -2200);
        const CPresetSheetPrint sheet;
        sheet.DrawPresetSheet(&canvas.Dc(), nullptr, c.model, 1.0);
        canvas.Dc().SetViewportOrg(0, 0);
        const CRect strip(480, 0, 500, c.frameTop - 2200 - 8);
        const CRect ink = canvas.Ink(RGB(255, 255, 255), strip);
        EXPECT_EQ(ink.bottom + 2200, c.keyBottom + 10) << c.model;
    }
}

TEST_F(WorkScreenPrintTest, CancelledDialogsPrintNothing)
{
    Print("");
    EXPECT_TRUE(PrintScript::Jobs().empty());
    EXPECT_TRUE(PrintScript::DialogRecords().empty());
    // The print dialog cancelled.
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDOK); });
    PrintScript::PushCancel();
    ClickControl(ID_FILE_PRINT);
    EXPECT_EQ(PrintScript::DialogRecords().size(), 1u);
    EXPECT_TRUE(PrintScript::Jobs().empty());
}

} // namespace
