// Printing: the print dialog's answers, printer DCs writing PDF files into the
// print folder, the recorded pages and texts, and the views' print loop.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/path.h"
#include "platform/gdi/dc.h"
#include "platform/print/print_dialog.h"
#include "platform/print/print_info.h"
#include "platform/print/print_script.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/docview/view.h"
#include "platform/wnd/docview/winapp.h"
#include "tests/support/pdf_text.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrintScript::Enable();
        PrintScript::Reset();
    }
    void TearDown() override
    {
        PrintScript::Reset();
        PrintScript::Disable();
    }

    static std::string Folder() { return AfxGetPrintFolder().Str(); }

    // A DC of the PDF printer, chosen in the print dialog.
    static ::testing::AssertionResult OpenPdfPrinter(CPrintDialog& dialog, CDC& dc)
    {
        PrintDialogAnswer answer;
        PrintScript::Push(answer);
        if (dialog.DoModal() != IDOK)
            return ::testing::AssertionFailure() << "the dialog was cancelled";
        if (!dc.Attach(dialog.GetPrinterDC()))
            return ::testing::AssertionFailure() << "no printer DC";
        return ::testing::AssertionSuccess();
    }

    TempDataRoot root;
};

PrintDialogAnswer Answer(short orientation = DMORIENT_PORTRAIT)
{
    PrintDialogAnswer answer;
    answer.orientation = orientation;
    return answer;
}

// Prints one page with each text at its logical position.
void PrintDocument(CDC& dc, const char* name, const std::vector<std::pair<CPoint, CString>>& texts)
{
    ASSERT_GT(dc.StartDoc(name), 0);
    ASSERT_GT(dc.StartPage(), 0);
    for (const auto& [at, text] : texts)
        dc.TextOut(at.x, at.y, text);
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.EndDoc(), 0);
}

TEST_F(PrintTest, DialogAnswersAndThePrinterItGives)
{
    struct Case {
        const char* name;
        BOOL ok;
        short orientation;
        INT_PTR result;
        BOOL landscape;
    } const cases[] = {
        { "cancel", FALSE, DMORIENT_PORTRAIT, IDCANCEL, FALSE },
        { "portrait", TRUE, DMORIENT_PORTRAIT, IDOK, FALSE },
        { "landscape", TRUE, DMORIENT_LANDSCAPE, IDOK, TRUE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintDialogAnswer answer = Answer(c.orientation);
        answer.ok = c.ok;
        PrintScript::Push(answer);
        CPrintDialog dialog(
            FALSE, PD_ALLPAGES | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE);
        EXPECT_EQ(dialog.DoModal(), c.result);
        if (!c.ok) {
            EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
            continue;
        }
        CDC dc;
        ASSERT_TRUE(dc.Attach(dialog.GetPrinterDC()));
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
        EXPECT_EQ(dialog.GetDevMode()->dmPrintQuality, 600);
        EXPECT_EQ(dialog.GetDevMode()->dmOrientation, c.orientation);
        EXPECT_EQ(dialog.GetDeviceName(), kPdfPrinterName);
        // A4 at 600 dpi less a sixth of an inch on every side.
        const int shortSide = c.landscape ? dc.GetDeviceCaps(VERTRES) : dc.GetDeviceCaps(HORZRES);
        const int longSide = c.landscape ? dc.GetDeviceCaps(HORZRES) : dc.GetDeviceCaps(VERTRES);
        EXPECT_NEAR(shortSide, 4961 - 200, 5);
        EXPECT_NEAR(longSide, 7016 - 200, 5);
    }
    const std::vector<PrintDialogRecord> records = PrintScript::DialogRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].flags & 0x14000C, 0x14000Cu);
    EXPECT_TRUE(records[0].flags & PD_RETURNDC);
}

TEST_F(PrintTest, DialogWithoutAnAnswerCancels)
{
    CPrintDialog dialog(FALSE);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    CPrintDialog setup(TRUE);
    PrintScript::Push(Answer());
    EXPECT_EQ(setup.DoModal(), IDOK);
    EXPECT_EQ(setup.GetPrinterDC(), nullptr) << "the setup form makes no DC";
    EXPECT_EQ(PrintScript::DialogRecords().size(), 2u);
    EXPECT_TRUE(PrintScript::DialogRecords()[1].setupOnly);
}

TEST_F(PrintTest, EveryJobOfOneDcWritesItsOwnFile)
{
    CPrintDialog dialog(FALSE);
    CDC dc;
    ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
    PrintDocument(dc, "Print1: Server Result View", { { CPoint(300, 150), "alpha job text" } });
    PrintDocument(dc, "Print1: Server Result View", { { CPoint(300, 150), "second job text" } });

    const std::vector<std::string> files = PdfFilesIn(Folder());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_NE(files[0], files[1]);
    EXPECT_NE(files[0].find("/Windows/system/Manager/Print/"), std::string::npos) << files[0];
    EXPECT_NE(files[0].find(root.Root()), std::string::npos);
    const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 2u);
    std::vector<std::string> texts;
    for (const PrintJobRecord& job : jobs) {
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(job.docName, "Print1: Server Result View");
        ASSERT_EQ(job.pages.size(), 1u);
        ASSERT_EQ(PdfPageCount(job.outputPath.Str()), 1);
        const std::vector<std::string> pages = PdfPageTexts(job.outputPath.Str());
        ASSERT_EQ(pages.size(), 1u);
        texts.push_back(pages[0]);
    }
    EXPECT_NE(texts[0].find("alpha job text"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[0].find("second job text"), std::string::npos);
    EXPECT_NE(texts[1].find("second job text"), std::string::npos);
}

TEST_F(PrintTest, TextIsRecordedAtDevicePositionsThroughTheMapping)
{
    CPrintDialog dialog(FALSE);
    CDC dc;
    ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
    const int width = dc.GetDeviceCaps(HORZRES);
    const int height = dc.GetDeviceCaps(VERTRES);
    ASSERT_GT(dc.StartDoc("Mapped"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    dc.TextOut(100, 150, "raw units");
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 2000);
    dc.SetViewportExt(width, height);
    dc.SetWindowOrg(-100, 0);
    dc.TextOut(400, 1000, "mapped");
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.StartPage(), 0);
    dc.TextOut(0, 0, "page two");
    ASSERT_GT(dc.EndPage(), 0);
    // Drawing between pages goes nowhere.
    dc.TextOut(0, 0, "outside");
    ASSERT_GT(dc.EndDoc(), 0);

    const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].dpi, 600);
    EXPECT_EQ(jobs[0].page, CSize(width, height));
    ASSERT_EQ(jobs[0].pages.size(), 2u);
    const std::vector<PrintedText>& first = jobs[0].pages[0].texts;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].text, "raw units");
    EXPECT_EQ(first[0].rect.TopLeft(), CPoint(100, 150));
    EXPECT_EQ(first[1].text, "mapped");
    EXPECT_NEAR(first[1].rect.left, MulDiv(500, width, 1000), 1);
    EXPECT_NEAR(first[1].rect.top, height / 2, 1);
    ASSERT_EQ(jobs[0].pages[1].texts.size(), 1u);
    EXPECT_EQ(jobs[0].pages[1].texts[0].text, "page two");
    const std::vector<std::string> pages = PdfPageTexts(jobs[0].outputPath.Str());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("mapped"), std::string::npos);
    EXPECT_EQ(pages[1].find("outside"), std::string::npos);
}

TEST_F(PrintTest, AbortedJobLeavesNoFileAndFailuresAreReported)
{
    CPrintDialog dialog(FALSE);
    CDC dc;
    ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
    EXPECT_EQ(dc.StartPage(), SP_ERROR) << "no page before the document";
    EXPECT_EQ(dc.EndDoc(), SP_ERROR);
    ASSERT_GT(dc.StartDoc("Aborted"), 0);
    EXPECT_EQ(dc.StartDoc("Again"), SP_ERROR) << "one document at a time";
    ASSERT_GT(dc.StartPage(), 0);
    dc.TextOut(10, 10, "never printed");
    EXPECT_GT(dc.AbortDoc(), 0);
    EXPECT_TRUE(PdfFilesIn(Folder()).empty());
    ASSERT_EQ(PrintScript::Jobs().size(), 1u);
    EXPECT_TRUE(PrintScript::Jobs()[0].aborted);
    EXPECT_FALSE(PrintScript::Jobs()[0].ended);

    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    EXPECT_FALSE(screen.IsPrinting());
    EXPECT_EQ(screen.StartDoc("screen"), SP_ERROR);
}

TEST_F(PrintTest, DialogChoicesAreKeptInTheDeviceMode)
{
    struct Case {
        const char* name;
        int copies;
        int expectedCopies;
        int fromPage, toPage;
        DWORD flags;
        int expectedFrom, expectedTo; // -1: all pages
    } const cases[] = {
        { "one copy, all pages", 1, 1, 0, 0, 0, -1, -1 },
        { "no copies means one", 0, 1, 0, 0, 0, -1, -1 },
        { "many copies", 5, 5, 0, 0, 0, -1, -1 },
        { "too many copies", 5000, 999, 0, 0, 0, -1, -1 },
        { "a page range", 1, 1, 2, 4, 0, 2, 4 },
        { "a range ending before it starts", 1, 1, 3, 1, 0, 3, 3 },
        { "no page numbers allowed", 1, 1, 2, 4, PD_NOPAGENUMS, -1, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintDialogAnswer answer = Answer();
        answer.copies = c.copies;
        answer.fromPage = c.fromPage;
        answer.toPage = c.toPage;
        PrintScript::Push(answer);
        CPrintDialog dialog(FALSE, PD_ALLPAGES | c.flags);
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetCopies(), c.expectedCopies);
        EXPECT_EQ(dialog.GetDevMode()->dmCopies, c.expectedCopies);
        EXPECT_EQ(dialog.GetFromPage(), c.expectedFrom);
        EXPECT_EQ(dialog.GetToPage(), c.expectedTo);
        EXPECT_EQ(dialog.PrintAll() != FALSE, c.expectedFrom < 0);
        EXPECT_EQ(dialog.GetDevMode()->dmPrintQuality, 600) << "the PDF printer's resolution";
    }
}

TEST_F(PrintTest, PrinterNamesAreCutToTheDeviceModeAndUnknownPrintersReported)
{
    MessageBoxScript::Enable();
    MessageBoxScript::Reset();
    const std::string longName(40, 'p');
    PrintDialogAnswer answer = Answer();
    answer.printer = longName.c_str();
    PrintScript::Push(answer);
    CPrintDialog setup(TRUE, 0);
    ASSERT_EQ(setup.DoModal(), IDOK);
    EXPECT_EQ(setup.GetDeviceName(), longName.substr(0, 31).c_str());
    EXPECT_EQ(MessageBoxScript::Count(), 0u);

    // A printer that does not exist cannot give a DC: the user is told.
    PrintScript::Push(answer);
    CPrintDialog print(FALSE);
    EXPECT_EQ(print.DoModal(), IDCANCEL);
    EXPECT_EQ(print.GetPrinterDC(), nullptr);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "The printer could not be opened.");
    MessageBoxScript::Reset();
    MessageBoxScript::Disable();
}

TEST_F(PrintTest, FileNamesKeepTheDocumentNameReadable)
{
    struct Case {
        const char* docName;
        const char* stem;
    } const cases[] = {
        { "Sales report", "Sales report-" },
        { "a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j-" },
        { "tab\there", "tab_here-" },
        { "  ", "Document-" },
        { "", "Document-" },
        // A file's name without its extension.
        { "Sample.mdb", "Sample-" },
        { "한우라벨.ubl", "한우라벨-" },
        { "Print1: Server Result View", "Print1_ Server Result View-" },
        { "v1.2 notes", "v1.2 notes-" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.docName);
        PrintScript::Reset();
        CPrintDialog dialog(FALSE);
        CDC dc;
        ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
        PrintDocument(dc, c.docName, { { CPoint(10, 10), "x" } });
        ASSERT_EQ(PrintScript::Jobs().size(), 1u);
        const std::string path = PrintScript::Jobs()[0].outputPath.Str();
        const std::string file = path.substr(path.rfind('/') + 1);
        EXPECT_EQ(file.rfind(c.stem, 0), 0u) << file;
        EXPECT_EQ(PrintScript::Jobs()[0].dpi, 600);
    }
}

TEST_F(PrintTest, TheFilesOfOneCommandAreToldInOneBoxWithTheirPlace)
{
    CWinApp app("Tester");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    app.m_pMainWnd = &main;
    ScopedMessageBoxScript boxes;
    const auto printed = [](const char* name, int jobs) {
        CPrintDialog dialog(FALSE);
        CDC dc;
        ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
        for (int j = 0; j < jobs; ++j)
            PrintDocument(dc, name, { { CPoint(10, 10), "x" } });
        // An aborted job leaves no file to tell of.
        ASSERT_GT(dc.StartDoc("aborted"), 0);
        dc.AbortDoc();
    };
    const auto fileOf = [](const CString& path) { return path.Mid(path.ReverseFind('/') + 1); };

    // A report of twelve jobs, one a page: one box names the folder and the
    // first ten files.
    printed("Report", 12);
    EXPECT_TRUE(boxes.Records().empty()); // told once the command is over
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Records().empty(); }));
    auto jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 13u);
    CString expected = "Printed 12 files to\nC:\\Windows\\system\\Manager\\Print:";
    for (int j = 0; j < 10; ++j)
        expected += "\n" + fileOf(jobs[static_cast<std::size_t>(j)].outputPath);
    expected += "\nand 2 more";
    EXPECT_EQ(boxes.Records()[0].text, expected);
    EXPECT_EQ(boxes.Records()[0].type, UINT { MB_OK | MB_ICONINFORMATION });

    // One file: its C:\ path, which is where the file is.
    PrintScript::Reset();
    printed("Sample.mdb", 1);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Records().size() == 2; }));
    PumpFor(std::chrono::milliseconds(20));
    ASSERT_EQ(boxes.Records().size(), 2u);
    jobs = PrintScript::Jobs();
    const CString text = boxes.Records()[1].text;
    ASSERT_EQ(text.Left(11), "Printed to\n");
    EXPECT_EQ(MapWindowsPath(text.Mid(11).Str()), jobs[0].outputPath.Str());
    EXPECT_EQ(fileOf(jobs[0].outputPath).Left(7), "Sample-");
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST_F(PrintTest, ADcDeletedInTheMiddleOfAJobAbortsIt)
{
    CPrintDialog dialog(FALSE);
    {
        CDC dc;
        ASSERT_TRUE(OpenPdfPrinter(dialog, dc));
        ASSERT_GT(dc.StartDoc("Cut short"), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.TextOut(10, 10, "half a page");
        dc.DeleteDC();
    }
    ASSERT_EQ(PrintScript::Jobs().size(), 1u);
    EXPECT_TRUE(PrintScript::Jobs()[0].aborted);
    EXPECT_FALSE(PrintScript::Jobs()[0].ended);
    EXPECT_TRUE(PdfFilesIn(Folder()).empty());
}

// A view that records the print loop's calls and prints "page n" on each page.
class CRecordingView : public CView {
public:
    std::vector<std::string> calls;
    UINT maxPage = 3;
    BOOL usePrintDialog = TRUE;

    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        calls.push_back("prepare");
        info->SetMaxPage(maxPage);
        return usePrintDialog ? DoPreparePrinting(info) : TRUE;
    }
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override
    {
        calls.push_back(std::string("begin") + (dc->IsPrinting() ? " printing" : "")
            + (info->m_bPreview ? " preview" : ""));
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        calls.push_back("print " + std::to_string(info->m_nCurPage));
        EXPECT_EQ(info->m_rectDraw, CRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES)));
        dc->TextOut(200, 200, CString::Formatted("page %u", info->m_nCurPage));
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { calls.push_back("end"); }
};

TEST_F(PrintTest, ViewPrintLoopRunsEveryPageOrTheChosenRange)
{
    struct Case {
        const char* name;
        UINT maxPage;
        int from;
        int to;
        std::vector<std::string> calls;
    } const cases[] = {
        { "all pages", 3, 0, 0, { "prepare", "begin printing", "print 1", "print 2", "print 3", "end" } },
        { "a range", 3, 2, 3, { "prepare", "begin printing", "print 2", "print 3", "end" } },
        { "page count not known", 0xFFFF, 0, 0, { "prepare", "begin printing", "print 1", "end" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintScript::Reset();
        PrintDialogAnswer answer = Answer();
        answer.fromPage = c.from;
        answer.toPage = c.to;
        PrintScript::Push(answer);
        CRecordingView view;
        view.maxPage = c.maxPage;
        view.OnFilePrint();
        EXPECT_EQ(view.calls, c.calls);
        const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_TRUE(jobs[0].ended);
        EXPECT_FALSE(jobs[0].preview);
        const size_t pages = c.calls.size() - 3;
        ASSERT_EQ(jobs[0].pages.size(), pages);
        const std::vector<std::string> texts = PdfPageTexts(jobs[0].outputPath.Str());
        ASSERT_EQ(texts.size(), pages);
        EXPECT_NE(texts.back().find("page " + c.calls[c.calls.size() - 2].substr(6)), std::string::npos);
    }
}

TEST_F(PrintTest, CancelledPrintDialogPrintsNothing)
{
    PrintScript::PushCancel();
    CRecordingView view;
    view.OnFilePrint();
    EXPECT_EQ(view.calls, std::vector<std::string> { "prepare" });
    EXPECT_TRUE(PrintScript::Jobs().empty());
    EXPECT_TRUE(PdfFilesIn(Folder()).empty());
}

TEST_F(PrintTest, ViewWithoutDialogPrintsOnTheDefaultPrinter)
{
    CRecordingView view;
    view.usePrintDialog = FALSE;
    view.maxPage = 2;
    view.OnFilePrint();
    EXPECT_EQ(
        view.calls, (std::vector<std::string> { "prepare", "begin printing", "print 1", "print 2", "end" }));
    EXPECT_TRUE(PrintScript::DialogRecords().empty());
    ASSERT_EQ(PdfFilesIn(Folder()).size(), 1u);
    EXPECT_EQ(PdfPageCount(PdfFilesIn(Folder())[0]), 2);
}

TEST_F(PrintTest, PreviewDrawsThePagesWithoutDialogOrFile)
{
    CRecordingView view;
    view.maxPage = 2;
    view.OnFilePrintPreview();
    EXPECT_EQ(view.calls,
        (std::vector<std::string> { "prepare", "begin printing preview", "print 1", "print 2", "end" }));
    EXPECT_TRUE(PrintScript::DialogRecords().empty());
    const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(jobs[0].preview);
    EXPECT_TRUE(jobs[0].outputPath.IsEmpty());
    ASSERT_EQ(jobs[0].pages.size(), 2u);
    ASSERT_EQ(jobs[0].pages[1].texts.size(), 1u);
    EXPECT_EQ(jobs[0].pages[1].texts[0].text, "page 2");
    EXPECT_TRUE(PdfFilesIn(Folder()).empty());
}

} // namespace
