// The program through the user's door: start-up, typing into the viewer,
// dragging and arrow keys on the preview, label and cassette files, the
// cassette dialog, settings across runs and printing.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

#include "platform/base/file_system.h"
#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"
#include "tests/support/pixels.h"
#include "tests/support/test_thread.h"

TEST_F(TarnelTest, StartsWithTheValuesShownAndOnlyTheJoinOffered)
{
    EXPECT_EQ(Text(IDC_NAME_X), "1");
    EXPECT_EQ(Text(IDC_LABEL_LENGTH), "40");
    EXPECT_EQ(Text(IDC_SCALE_NUMBER), "98");
    EXPECT_FALSE(Bar().GetDlgItem(IDC_SCALE_NUMBER)->IsWindowEnabled());
    CStatusBar& status = Frame()->GetStatusBar();
    EXPECT_EQ(status.GetPaneText(status.CommandToIndex(ID_INDICATOR_CONNECTION)), "연결하지 않았습니다   .");
    for (UINT id : { ID_NOT_JOIN, ID_GET_DATA, ID_PUT_DATA })
        EXPECT_TRUE(MenuState(1, id) & MF_GRAYED) << id;
    for (UINT id : { ID_TRANS_MODE, ID_SERIAL_JOIN })
        EXPECT_FALSE(MenuState(1, id) & MF_GRAYED) << id;
    EXPECT_TRUE(MenuState(3, ID_VIEW_LABEL_DATA_VIEWER) & MF_CHECKED);
    Command(*Frame(), ID_VIEW_LABEL_DATA_VIEWER);
    EXPECT_FALSE(Bar().IsWindowVisible());
    EXPECT_FALSE(MenuState(3, ID_VIEW_LABEL_DATA_VIEWER) & MF_CHECKED);
    EXPECT_EQ(Frame()->GetPaneRect().left, 0);
    Command(*Frame(), ID_LABEL_FRAME_VIEWER);
    EXPECT_TRUE(Bar().IsWindowVisible());
    // 13 items: all but the count and the mark.
    EXPECT_EQ(View()->GetDocument()->Items().size(), 13u);
}

TEST_F(TarnelTest, TypedValuesMoveItemsAndEveryEditBeforeAPaintCounts)
{
    const CRect origin = Item(1)->m_rect;
    Type(IDC_ORIGIN_X, "11"); // Origin X 1 -> 11: 8 dots
    Type(IDC_ORIGIN_Y, "9", true); // Origin Y 99 -> 999: 620 dots
    Paint();
    EXPECT_EQ(Item(1)->m_rect.TopLeft(), CPoint(origin.left + 8, origin.top + 620));
    // A label length of 20 is kept but does not reach the preview.
    Type(IDC_LABEL_LENGTH, "20");
    Paint();
    EXPECT_EQ(Bar().GetValues()[kValueLabelLength], 20);
    EXPECT_EQ(View()->GetCassette().labelLength, 268);
    // An X beyond 700 is refused with the standard message; the item stays.
    MessageBoxScript::Reset();
    Type(IDC_ORIGIN_X, "00", true); // 110, then 1100
    Paint();
    EXPECT_EQ(Boxes().back(), "Please enter an integer between 1 and 700.");
    const int at110 = origin.left + XDotsFromTenths(110);
    EXPECT_EQ(Item(1)->m_rect.left, at110);
    // Back in range, the item stands where its value puts it.
    AfxSimulateKey(Bar().GetDlgItem(IDC_ORIGIN_X)->GetSafeHwnd(), VK_BACK);
    Paint();
    EXPECT_EQ(Text(IDC_ORIGIN_X), "110");
    EXPECT_EQ(Item(1)->m_rect.left, at110);
    // 700, the highest X, places the item too.
    Type(IDC_ORIGIN_X, "700");
    Paint();
    EXPECT_EQ(Item(1)->m_rect.left, origin.left + XDotsFromTenths(700));
    // Label width and gap within their ranges reach the preview; beyond them not.
    Type(IDC_LABEL_WIDTH, "64");
    Type(IDC_LABEL_EDGE, "15");
    Paint();
    EXPECT_EQ(View()->GetCassette().labelWidth, 512);
    EXPECT_EQ(View()->GetCassette().gap, 10);
    Type(IDC_LABEL_WIDTH, "65");
    Type(IDC_LABEL_EDGE, "31");
    Paint();
    EXPECT_EQ(View()->GetCassette().labelWidth, 512);
    EXPECT_EQ(View()->GetCassette().gap, 10);
    // A length typed after the width keeps the typed width.
    Type(IDC_LABEL_LENGTH, "45");
    Paint();
    EXPECT_EQ(View()->GetCassette().labelWidth, 512);
    // Barcode length 10 is announced as 26.
    Type(IDC_BARCODE_LENGTH, "10");
    Paint();
    EXPECT_EQ(Item(kItemBarcode)->m_rect.Height(), 26);
}

TEST_F(TarnelTest, DraggedAndKeyedItemsComeBackAsValues)
{
    const HWND view = View()->GetSafeHwnd();
    const CPoint grab = ClientOf(1);
    // A click selects the item; a drag moves it 40 dots right and 30 down.
    m_feeder.Run(view, { { WM_LBUTTONDOWN, grab }, { WM_LBUTTONUP, grab, 0 } });
    ASSERT_TRUE(View()->GetTracker().IsSelected(Item(1)));
    const CRect before = Item(1)->m_rect;
    m_feeder.Run(view,
        { { WM_LBUTTONDOWN, grab }, { WM_MOUSEMOVE, grab + CPoint(40, 30) },
            { WM_LBUTTONUP, grab + CPoint(40, 30), 0 } });
    EXPECT_EQ(Item(1)->m_rect.TopLeft(), before.TopLeft() + CPoint(40, 30));
    const CPoint origin = LabelOrigin(View()->GetCassette());
    const int dotsX = Item(1)->m_rect.left - origin.x;
    const int dotsY = Item(1)->m_rect.top - origin.y;
    EXPECT_EQ(Text(IDC_ORIGIN_X), CString(std::to_string(dotsX * 125 / 100 + 1).c_str()));
    EXPECT_EQ(Text(IDC_ORIGIN_Y), CString(std::to_string(dotsY * 145 / 100 + 1).c_str()));
    EXPECT_TRUE(View()->GetDocument()->IsModified());
    // Dragged past the area's left edge it stops there: X 1.
    const CPoint at = ClientOf(1);
    m_feeder.Run(view,
        { { WM_LBUTTONDOWN, at }, { WM_MOUSEMOVE, at - CPoint(300, 0) },
            { WM_LBUTTONUP, at - CPoint(300, 0), 0 } });
    EXPECT_EQ(Item(1)->m_rect.left, origin.x);
    EXPECT_EQ(Text(IDC_ORIGIN_X), "1");
    // Arrow keys move the selection a dot at a time.
    AfxSimulateKey(view, VK_RIGHT);
    AfxSimulateKey(view, VK_RIGHT);
    AfxSimulateKey(view, VK_DOWN);
    EXPECT_EQ(Item(1)->m_rect.TopLeft(), CPoint(origin.x + 2, origin.y + dotsY + 1));
    EXPECT_EQ(Text(IDC_ORIGIN_X), "3");
    AfxSimulateKey(view, VK_LEFT);
    EXPECT_EQ(Item(1)->m_rect.left, origin.x + 1);
    EXPECT_EQ(Text(IDC_ORIGIN_X), "2");
    // A band around two items selects both; they move together.
    m_feeder.Run(view, { { WM_LBUTTONDOWN, CPoint(600, 5) }, { WM_LBUTTONUP, CPoint(600, 5), 0 } });
    EXPECT_TRUE(View()->GetTracker().Items().empty());
    const CPoint first = ClientOf(2, CPoint(-3, -3));
    const CPoint last(ClientOf(3).x + Item(3)->m_rect.Width(), ClientOf(3).y + Item(3)->m_rect.Height());
    m_feeder.Run(view, { { WM_LBUTTONDOWN, first }, { WM_MOUSEMOVE, last }, { WM_LBUTTONUP, last, 0 } });
    EXPECT_TRUE(View()->GetTracker().IsSelected(Item(2)));
    EXPECT_TRUE(View()->GetTracker().IsSelected(Item(3)));
    EXPECT_FALSE(View()->GetTracker().IsSelected(Item(1)));
    const CRect two = Item(2)->m_rect;
    const CRect three = Item(3)->m_rect;
    AfxSimulateKey(view, VK_UP);
    EXPECT_EQ(Item(2)->m_rect.top, two.top - 1);
    EXPECT_EQ(Item(3)->m_rect.top, three.top - 1);
}

// A typed value is never rewritten: not by retyping, not by moving another
// item, not after the cassette dialog; Save As writes it as typed.
TEST_F(TarnelTest, TypedValuesStayAsTypedWhateverMovesAfter)
{
    Type(IDC_NAME_X, "50"); // Goods Name X
    Type(IDC_PRICE_Y, "200"); // Price Y
    for (const char* x : { "100", "101", "102", "103", "104", "105" })
        Type(IDC_ORIGIN_X, x); // Origin X
    const HWND view = View()->GetSafeHwnd();
    const std::function<void()> moves[] = {
        [&] {
            const CPoint plu = ClientOf(8);
            m_feeder.Run(view, { { WM_LBUTTONDOWN, plu }, { WM_LBUTTONUP, plu, 0 } });
            m_feeder.Run(view,
                { { WM_LBUTTONDOWN, plu }, { WM_MOUSEMOVE, plu + CPoint(40, 30) },
                    { WM_LBUTTONUP, plu + CPoint(40, 30), 0 } });
        },
        [&] { AfxSimulateKey(view, VK_LEFT); },
        [&] {
            ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDOK); });
            Command(*Frame(), ID_CASSETTE_DIALOG);
            AfxSimulateKey(view, VK_DOWN);
        },
    };
    for (const auto& move : moves) {
        move();
        Paint();
        EXPECT_EQ(Text(IDC_NAME_X), "50");
        EXPECT_EQ(Text(IDC_PRICE_Y), "200");
        EXPECT_EQ(Text(IDC_ORIGIN_X), "105");
        EXPECT_EQ(Item(1)->m_rect.left, LabelOrigin(View()->GetCassette()).x + XDotsFromTenths(105));
    }
    const std::string path = m_root.Root() + "/typed.ubl";
    FileDialogScript::PushPath(path.c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    const std::string bytes = TempDataRoot::ReadAll(path);
    LabelValues saved {};
    ASSERT_EQ(DecodeLabelFile(ByteBuffer(bytes.begin(), bytes.end()), saved), LabelFileError::None);
    EXPECT_EQ(saved[3], 50);
    EXPECT_EQ(saved[49], 200);
    EXPECT_EQ(saved[6], 105);
    EXPECT_EQ(saved[28], XTenthsFromDots(Item(8)->m_rect.left - LabelOrigin(View()->GetCassette()).x));
}

TEST_F(TarnelTest, LabelFilesSavedOpenedAndRefused)
{
    // A name typed without an extension is saved as a label file.
    const std::string path = m_root.Root() + "/first.ubl";
    Type(IDC_NAME_X, "120");
    FileDialogScript::PushPath((m_root.Root() + "/first").c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    EXPECT_EQ(Boxes().back(), "OK! File Saved");
    const std::string bytes = TempDataRoot::ReadAll(path);
    ASSERT_EQ(bytes.size(), kLabelFileSize);
    EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 120);
    CString title;
    Frame()->GetWindowText(title);
    EXPECT_EQ(title, path.c_str());
    // A write that cannot be made is reported, and nothing claims success.
    MessageBoxScript::Reset();
    FileDialogScript::PushPath((m_root.Root() + "/missing/second.ubl").c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    EXPECT_EQ(Boxes(), std::vector<CString> { "Can't Making the File" });
    // Label length 29 is refused before any dialog.
    Type(IDC_LABEL_LENGTH, "29");
    MessageBoxScript::Reset();
    const size_t dialogs = FileDialogScript::Records().size();
    Command(*Frame(), ID_LABEL_SAVE_AS);
    EXPECT_EQ(Boxes(), std::vector<CString> { "Error - Label Length is : 30 ~ 150" });
    EXPECT_EQ(FileDialogScript::Records().size(), dialogs);
    // Opening brings the saved values back, into the preview too, its label
    // size among them.
    Type(IDC_NAME_X, "5");
    Type(IDC_LABEL_WIDTH, "50");
    Paint();
    ASSERT_EQ(View()->GetCassette().labelWidth, 400);
    MessageBoxScript::PushAnswer(IDNO); // the edits are not saved
    FileDialogScript::PushPath(path.c_str());
    Command(*Frame(), ID_FILE_OPEN);
    EXPECT_EQ(Boxes().back(), "Success File Open.");
    EXPECT_EQ(Text(IDC_NAME_X), "120");
    EXPECT_EQ(Text(IDC_LABEL_LENGTH), "40");
    Paint();
    EXPECT_EQ(Item(0)->m_rect.left, LabelOrigin(View()->GetCassette()).x + 96);
    EXPECT_EQ(View()->GetCassette().labelWidth, 480);
    EXPECT_EQ(View()->GetCassette().labelLength, LabelLengthDots(40));
    // A broken file leaves the viewer as it was.
    std::string broken = bytes;
    broken[110] = 9;
    TempDataRoot::WriteAll(m_root.Root() + "/broken.ubl", broken);
    Type(IDC_NAME_X, "7");
    MessageBoxScript::PushAnswer(IDNO);
    FileDialogScript::PushPath((m_root.Root() + "/broken.ubl").c_str());
    Command(*Frame(), ID_FILE_OPEN);
    EXPECT_EQ(Boxes().back(), "Broken Data File. Error3!");
    EXPECT_EQ(Text(IDC_NAME_X), "7");
}

// Files whose values the viewer or the cassette dialog would not take are
// refused whole; the values and the geometry stay, and Save As still works.
TEST_F(TarnelTest, FilesOutsideTheRangesAreRefused)
{
    LabelValues wide = DefaultLabelValues();
    wide[3] = 65535;
    LabelValues font = DefaultLabelValues();
    font[5] = 200;
    CassetteGeometry huge;
    for (auto member :
        { &CassetteGeometry::leftExtra, &CassetteGeometry::bottomExtra, &CassetteGeometry::tphWidth,
            &CassetteGeometry::labelWidth, &CassetteGeometry::labelLength, &CassetteGeometry::gap })
        huge.*member = 65535;
    CassetteGeometry narrow;
    narrow.labelWidth = 239;
    const struct {
        ByteBuffer bytes;
        UINT command;
        const char* box;
    } cases[] = {
        { EncodeLabelFile(wide), ID_FILE_OPEN, "Error - Goods Name X is : 1 ~ 700. value : 65535" },
        { EncodeLabelFile(font), ID_FILE_OPEN, "Error - Goods Name Font is : 0 ~ 8. value : 200" },
        { EncodeCassetteFile(huge), ID_CASSETTE_OPEN, "Left extra is : 0 ~ 50. value : 81919" },
        { EncodeCassetteFile(narrow), ID_CASSETTE_OPEN, "Label width is : 300 ~ 660. value : 299" },
    };
    const std::string path = m_root.Root() + "/refused";
    Type(IDC_NAME_X, "33");
    for (const auto& c : cases) {
        TempDataRoot::WriteAll(path, std::string(c.bytes.begin(), c.bytes.end()));
        FileDialogScript::PushPath(path.c_str());
        MessageBoxScript::Reset();
        if (c.command == ID_FILE_OPEN)
            MessageBoxScript::PushAnswer(IDNO); // the typed value is not saved
        MessageBoxScript::PushAnswer(IDOK);
        Command(*Frame(), c.command);
        Paint();
        EXPECT_EQ(Boxes().back(), c.box);
        EXPECT_EQ(Text(IDC_NAME_X), "33");
        EXPECT_EQ(View()->GetCassette(), CassetteGeometry {});
        EXPECT_EQ(Item(0)->m_rect.left, LabelOrigin(CassetteGeometry {}).x + XDotsFromTenths(33));
    }
    FileDialogScript::PushPath((path + ".ubl").c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    EXPECT_EQ(Boxes().back(), "OK! File Saved");
}

// Only regular files are read, and only for reading: a pipe named like a
// label is refused at once, a read-only label opens.
TEST_F(TarnelTest, OnlyRegularFilesAreOpenedAndOnlyForReading)
{
    const std::string pipe = m_root.Root() + "/pipe.ubl";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Were the pipe read, the program would wait for a writer for good: after
    // each deadline one writes and goes, so that the test ends and fails.
    std::promise<void> finished;
    TestThread writer([&pipe, ended = finished.get_future().share()] {
        while (ended.wait_for(TestDeadline(std::chrono::milliseconds(5000))) == std::future_status::timeout)
            if (const int fd = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK); fd >= 0) {
                const std::string zeros(4096, '\0');
                static_cast<void>(::write(fd, zeros.data(), zeros.size()));
                ::close(fd);
            }
    });
    const std::string locked = m_root.Root() + "/locked.ubl";
    const ByteBuffer label = EncodeLabelFile(DefaultLabelValues());
    TempDataRoot::WriteAll(locked, std::string(label.begin(), label.end()));
    ASSERT_TRUE(SetFileAttributes(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    const struct {
        std::string path;
        UINT command;
        const char* box;
    } cases[] = {
        { pipe, ID_FILE_OPEN, "Can't Open File" },
        { pipe, ID_CASSETTE_OPEN, "Can not open the file" },
        { m_root.Root() + "/", ID_FILE_OPEN, "Can't Open File" },
        { locked, ID_FILE_OPEN, "Success File Open." },
    };
    for (const auto& c : cases) {
        FileDialogScript::PushPath(c.path.c_str());
        MessageBoxScript::Reset();
        if (c.command == ID_FILE_OPEN)
            MessageBoxScript::PushAnswer(IDNO); // the typed value is not saved
        MessageBoxScript::PushAnswer(IDOK);
        Command(*Frame(), c.command);
        EXPECT_EQ(Boxes().back(), c.box) << c.path;
    }
    finished.set_value();
}

TEST_F(TarnelTest, CassetteDialogAndFile)
{
    const CRect before = Item(1)->m_rect;
    // Left extra 51 and gap 5: two boxes, the dialog stays open.
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_CASSETTE_LEFT_EXTRA, "51");
        dialog.SetDlgItemText(IDC_CASSETTE_GAP, "5");
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_CASSETTE_DIALOG);
    EXPECT_EQ(Boxes(),
        (std::vector<CString> { "Left extra is : 0 ~ 50. value : 51", "Label gab is : 10 ~ 50. value : 5" }));
    EXPECT_TRUE(ModalDialogScript::Records().back().leftOpen);
    // OK with the values shown changes nothing; a higher bottom extra moves
    // every item up by the difference in dots.
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDOK); });
    Command(*Frame(), ID_CASSETTE_DIALOG);
    Paint();
    EXPECT_EQ(View()->GetCassette(), CassetteGeometry {});
    EXPECT_EQ(Text(IDC_LABEL_LENGTH), "40");
    EXPECT_EQ(Item(1)->m_rect, before);
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_CASSETTE_BOTTOM_EXTRA, "60");
        dialog.SetDlgItemText(IDC_CASSETTE_LABEL_WIDTH, "400");
        AfxClickDlgButton(dialog, IDOK);
    });
    Command(*Frame(), ID_CASSETTE_DIALOG);
    Paint();
    EXPECT_EQ(Item(1)->m_rect.top, before.top - 41);
    EXPECT_EQ(View()->GetCassette().labelWidth, 320);
    EXPECT_EQ(Text(IDC_LABEL_WIDTH), "40");
    // Saved and opened again: the file's geometry, and the viewer's label size.
    const std::string path = m_root.Root() + "/first.cst";
    FileDialogScript::PushPath((m_root.Root() + "/first").c_str());
    Command(*Frame(), ID_CASSETTE_SAVE_AS);
    EXPECT_EQ(Boxes().back(), "Success Casette save.");
    EXPECT_EQ(TempDataRoot::ReadAll(path).size(), EncodeCassetteFile({}).size());
    CassetteGeometry wide;
    wide.labelWidth = 400;
    wide.labelLength = LabelLengthDots(73);
    const ByteBuffer bytes = EncodeCassetteFile(wide);
    TempDataRoot::WriteAll(path, std::string(bytes.begin(), bytes.end()));
    FileDialogScript::PushPath(path.c_str());
    MessageBoxScript::PushAnswer(IDOK);
    Command(*Frame(), ID_CASSETTE_OPEN);
    Paint();
    EXPECT_EQ(Boxes().back(), "Success file open.");
    EXPECT_EQ(View()->GetCassette(), wide);
    EXPECT_EQ(Text(IDC_LABEL_LENGTH), "73");
    EXPECT_EQ(Text(IDC_LABEL_WIDTH), "50");
    EXPECT_EQ(Item(1)->m_rect, before);
    // Cancelling the "Initialized screen." box reads nothing.
    TempDataRoot::WriteAll(
        path, std::string(reinterpret_cast<const char*>(EncodeCassetteFile({}).data()), 20));
    FileDialogScript::PushPath(path.c_str());
    MessageBoxScript::PushAnswer(IDCANCEL);
    Command(*Frame(), ID_CASSETTE_OPEN);
    EXPECT_EQ(View()->GetCassette(), wide);
}

TEST_F(TarnelTest, SettingsAreKeptAcrossRuns)
{
    // The choice made in the viewer survives a refresh of the controls (the
    // settings are read at the first fill only) and an edit that reads them.
    Click(IDC_RS232_MULTI);
    m_app->WriteProfileInt("Settings", "alone", 0);
    Bar().SendMessage(WM_BAR_CASSETTE_LOADED);
    EXPECT_EQ(Bar().GetLinkMode(), 1);
    EXPECT_TRUE(Bar().GetDlgItem(IDC_SCALE_NUMBER)->IsWindowEnabled());
    Type(IDC_NAME_X, "2");
    ShutDown();
    StartUp();
    EXPECT_EQ(Bar().GetLinkMode(), 1);
    EXPECT_TRUE(Bar().GetDlgItem(IDC_SCALE_NUMBER)->IsWindowEnabled());
    EXPECT_EQ(Bar().GetPortIndex(), 1);
    // The terminal settings nothing else uses are written back as read.
    const struct {
        const char* name;
        int value;
    } written[] = { { "bkcolor", 0xFF0000 }, { "fgcolor", 0xFFFF00 }, { "pointsize", 90 }, { "pos", -1 },
        { "ontop", 0 }, { "flow", 0 }, { "alone", 1 } };
    for (const auto& entry : written)
        EXPECT_EQ(static_cast<int>(m_app->GetProfileInt("Settings", entry.name, 12345)), entry.value)
            << entry.name;
    EXPECT_EQ(m_app->GetProfileString("Settings", "facename"), "Terminal");
    Click(IDC_RS232_ALONE);
    EXPECT_FALSE(Bar().GetDlgItem(IDC_SCALE_NUMBER)->IsWindowEnabled());
    EXPECT_EQ(Text(IDC_SCALE_NUMBER), "98");
}

TEST_F(TarnelTest, PrintsThePictureOnOnePageNamedAfterTheLabelFile)
{
    FileDialogScript::PushPath((m_root.Root() + "/한우라벨.ubl").c_str());
    Command(*Frame(), ID_LABEL_SAVE_AS);
    PrintScript::Enable();
    PrintScript::Reset();
    PrintScript::Push(PrintDialogAnswer {});
    Command(*Frame(), ID_FILE_PRINT);
    Command(*Frame(), ID_FILE_PRINT_PREVIEW);
    // The file is named after the label and the box says where it is.
    ASSERT_TRUE(PumpUntil([&] { return Boxes().back().Left(11) == "Printed to\n"; }));
    const std::vector<PrintJobRecord> jobs = PrintScript::Jobs();
    PrintScript::Reset();
    PrintScript::Disable();
    ASSERT_FALSE(jobs.empty());
    const CString file = jobs[0].outputPath.Mid(jobs[0].outputPath.ReverseFind('/') + 1);
    EXPECT_EQ(file.Left(static_cast<int>(strlen("한우라벨-"))), "한우라벨-");
    EXPECT_EQ(Boxes().back(), "Printed to\nC:\\Windows\\system\\Manager\\Print\\" + file);
    ASSERT_EQ(jobs.size(), 2u);
    for (const PrintJobRecord& job : jobs) {
        EXPECT_TRUE(job.ended);
        ASSERT_EQ(job.pages.size(), 1u);
        bool caption = false;
        for (const PrintedText& text : job.pages[0].texts)
            caption |= text.text == "LABEL SIZE 601 X 399";
        EXPECT_TRUE(caption);
    }
    EXPECT_TRUE(TempDataRoot::Exists(jobs[0].outputPath.GetString()));
    EXPECT_TRUE(jobs[1].preview);
}

// On the screen the print area's outline is one pixel wide, and the bar code
// picture starts one dot inside its frame.
TEST_F(TarnelTest, TheOutlineAndTheBarCodeStandWhereTheyBelong)
{
    Paint();
    Snapshot view(*View());
    ASSERT_TRUE(view.Ok());
    const CPoint origin = LabelOrigin(View()->GetCassette());
    const int length = View()->GetCassette().labelLength;
    // Along the left edge, below the top edge (items at X 1 cover parts of it).
    const auto magenta = [&](int x) {
        return view.Count(RGB(255, 0, 255), CRect(x, origin.y + 2, x + 1, origin.y + length - 1));
    };
    EXPECT_GT(magenta(origin.x), length / 4);
    EXPECT_EQ(magenta(origin.x - 1) + magenta(origin.x + 1), 0);
    const CRect bars = Item(kItemBarcode)->m_rect;
    // The picture's first bars come after its own three white rows.
    const auto black = [&](int row) {
        return view.Count(
            RGB(0, 0, 0), CRect(bars.left + 1, bars.top + row, bars.left + 135, bars.top + row + 1));
    };
    EXPECT_EQ(black(3), 0);
    EXPECT_GT(black(4), 20);
    // White around the label; the text items show their names inside their
    // frames; the advertisement spans its 56 cells of 8 dots.
    EXPECT_EQ(
        view.At(origin.x + View()->GetCassette().tphWidth + 20, origin.y + length + 20), RGB(255, 255, 255));
    for (int item : { kItemGoodsName, 1 }) {
        CRect inside = Item(item)->m_rect;
        inside.DeflateRect(2, 2);
        EXPECT_GT(view.CountOther(RGB(255, 255, 255), inside), 20) << item;
    }
    EXPECT_EQ(Item(kItemAdvertisement)->m_rect.Width(), 56 * 8);
}

// The preview shows the page scaled down; its one-pixel frames and the print
// area's outline stay at least a pixel wide at every zoom.
TEST_F(TarnelTest, PreviewKeepsFramesAndOutlineAtEveryZoom)
{
    PrintScript::Enable();
    for (double zoom : { 0.1, 0.2, 0.45 }) {
        PrintScript::Reset();
        PrintScript::SetPreviewZoom(zoom);
        Command(*Frame(), ID_FILE_PRINT_PREVIEW);
        const std::vector<HBITMAP> pages = PrintScript::TakePreviewPages();
        const int dpi = PrintScript::Jobs().at(0).dpi;
        ASSERT_EQ(pages.size(), 1u);
        Canvas page(pages[0]);
        // A picture dot (1/96 inch) on the page shown at zoom.
        const auto shown = [&](int dots) { return static_cast<int>(dots * dpi / 96 * zoom); };
        const CPoint origin = LabelOrigin(View()->GetCassette());
        const int outline = shown(View()->GetCassette().labelLength);
        EXPECT_GT(
            page.Count(RGB(255, 0, 255),
                CRect(shown(origin.x) - 2, shown(origin.y), shown(origin.x) + 3, shown(origin.y) + outline)),
            outline / 5) // dashed
            << zoom;
        for (const auto& item : View()->GetDocument()->Items()) {
            if (item->m_fontIndex == 0 && item->m_item != kItemBarcode)
                continue;
            const CRect& r = item->m_rect;
            const CRect top(shown(r.left), shown(r.top) - 1, shown(r.right), shown(r.top) + 2);
            EXPECT_GT(page.Count(RGB(0, 0, 255), top), top.Width() / 2) << zoom << " item " << item->m_item;
        }
    }
    PrintScript::Reset();
    PrintScript::Disable();
}

TEST_F(TarnelTest, EveryValueOfAFileReachesItsControlAndItsItem)
{
    // Distinct values: positions 100 + index, fonts and choices by their own rules.
    LabelValues values = DefaultLabelValues();
    for (int i = 3; i < kLabelValueCount; ++i)
        values[i] = 100 + i;
    const int fonts[] = { 5, 8, 11, 14, 17, 20, 27, 30, 33, 39, 43, 47, 50 };
    for (int n = 0; n < 13; ++n)
        values[fonts[n]] = 1 + n % 8;
    values[20] = 9;
    values[23] = 2;
    values[24] = 61;
    values[36] = 4;
    values[40] = 7;
    values[44] = 1;
    const std::string path = m_root.Root() + "/distinct.ubl";
    const ByteBuffer bytes = EncodeLabelFile(values);
    TempDataRoot::WriteAll(path, std::string(bytes.begin(), bytes.end()));
    FileDialogScript::PushPath(path.c_str());
    Command(*Frame(), ID_FILE_OPEN);
    ASSERT_EQ(Boxes().back(), "Success File Open.");
    const struct {
        int id;
        int value;
    } edits[] = { { IDC_NAME_X, 3 }, { IDC_NAME_Y, 4 }, { IDC_ORIGIN_X, 6 }, { IDC_ORIGIN_Y, 7 },
        { IDC_PACK_DATE_X, 9 }, { IDC_PACK_DATE_Y, 10 }, { IDC_LIMIT_DATE_X, 12 }, { IDC_LIMIT_DATE_Y, 13 },
        { IDC_PIECE_PRICE_X, 15 }, { IDC_PIECE_PRICE_Y, 16 }, { IDC_WEIGHT_X, 18 }, { IDC_WEIGHT_Y, 19 },
        { IDC_BARCODE_X, 21 }, { IDC_BARCODE_Y, 22 }, { IDC_TOTAL_PRICE_X, 25 }, { IDC_TOTAL_PRICE_Y, 26 },
        { IDC_PLU_X, 28 }, { IDC_PLU_Y, 29 }, { IDC_COUNT_X, 31 }, { IDC_COUNT_Y, 32 },
        { IDC_SALE_KIND_X, 34 }, { IDC_SALE_KIND_Y, 35 }, { IDC_ADDITION_X, 37 }, { IDC_ADDITION_Y, 38 },
        { IDC_ADV_X, 41 }, { IDC_ADV_Y, 42 }, { IDC_VAT_X, 45 }, { IDC_VAT_Y, 46 }, { IDC_PRICE_X, 48 },
        { IDC_PRICE_Y, 49 } };
    for (const auto& edit : edits)
        EXPECT_EQ(Text(edit.id), CString(std::to_string(100 + edit.value).c_str())) << edit.id;
    EXPECT_EQ(Text(IDC_BARCODE_LENGTH), "61");
    const struct {
        int id;
        int value;
    } combos[] = { { IDC_NAME_FONT, 5 }, { IDC_ORIGIN_FONT, 8 }, { IDC_PACK_DATE_FONT, 11 },
        { IDC_LIMIT_DATE_FONT, 14 }, { IDC_PIECE_PRICE_FONT, 17 }, { IDC_WEIGHT_FONT, 20 },
        { IDC_TOTAL_PRICE_FONT, 27 }, { IDC_PLU_FONT, 30 }, { IDC_COUNT_FONT, 33 },
        { IDC_SALE_KIND_FONT, 36 }, { IDC_ADDITION_FONT, 39 }, { IDC_ADDITION_LINES, 40 },
        { IDC_ADV_FONT, 43 }, { IDC_ADV_LINES, 44 }, { IDC_VAT_FONT, 47 }, { IDC_PRICE_FONT, 50 },
        { IDC_BARCODE_FONT, 23 } };
    for (const auto& combo : combos)
        EXPECT_EQ(dynamic_cast<CComboBox*>(Bar().GetDlgItem(combo.id))->GetCurSel(), values[combo.value])
            << combo.id;
    // Every item stands at its own values.
    Paint();
    const CPoint origin = LabelOrigin(View()->GetCassette());
    // The X value of items 0 to 14 (the Y value follows it).
    const int xValue[] = { 3, 6, 9, 12, 15, 18, 21, 25, 28, 31, 34, 37, 41, 45, 48 };
    for (int item = 0; item < kLabelItemCount; ++item) {
        if (!IsPreviewItem(item))
            continue;
        EXPECT_EQ(Item(item)->m_rect.TopLeft(),
            CPoint(origin.x + XDotsFromTenths(values[xValue[item]]),
                origin.y + YDotsFromTenths(values[xValue[item] + 1])))
            << item;
    }
    EXPECT_EQ(Item(8)->m_fontIndex, values[30]);
    EXPECT_EQ(Item(kItemAddition)->m_rect.Height(), 7 * GetFontCellSize(values[39], 1));
    EXPECT_EQ(Item(kItemAdvertisement)->m_rect.Height(), 2 * GetFontCellSize(values[43], 1));
}

TEST_F(TarnelTest, FontChoicesResizeTheirItems)
{
    // Only Weight and TotalPrice offer the 18 x 40 font.
    for (int id : { IDC_NAME_FONT, IDC_ORIGIN_FONT, IDC_PACK_DATE_FONT, IDC_LIMIT_DATE_FONT,
             IDC_PIECE_PRICE_FONT, IDC_WEIGHT_FONT, IDC_TOTAL_PRICE_FONT, IDC_PLU_FONT, IDC_COUNT_FONT,
             IDC_ADDITION_FONT, IDC_ADV_FONT, IDC_VAT_FONT, IDC_PRICE_FONT })
        EXPECT_EQ(dynamic_cast<CComboBox*>(Bar().GetDlgItem(id))->GetCount(),
            id == IDC_WEIGHT_FONT || id == IDC_TOTAL_PRICE_FONT ? 10 : 9)
            << id;
    // A key in the goods name's font list picks the next font: 16 x 48, twice 48 high.
    AfxSimulateKey(Bar().GetDlgItem(IDC_NAME_FONT)->GetSafeHwnd(), VK_DOWN);
    Paint();
    EXPECT_EQ(Bar().GetValues()[5], 6);
    EXPECT_EQ(Item(kItemGoodsName)->m_rect.Size(), CSize(448, 96));
    // Addition lines: three lines of its font.
    AfxSimulateKey(Bar().GetDlgItem(IDC_ADDITION_FONT)->GetSafeHwnd(), VK_DOWN);
    for (int i = 0; i < 3; ++i)
        AfxSimulateKey(Bar().GetDlgItem(IDC_ADDITION_LINES)->GetSafeHwnd(), VK_DOWN);
    Paint();
    EXPECT_EQ(Item(kItemAddition)->m_rect.Height(), 3 * 16);
    EXPECT_EQ(Item(kItemAddition)->m_fontIndex, 1);
    // A label length of 25 is the shortest the preview takes; the width stays.
    Type(IDC_LABEL_LENGTH, "25");
    Paint();
    EXPECT_EQ(View()->GetCassette().labelLength, LabelLengthDots(25));
    EXPECT_EQ(View()->GetCassette().labelWidth, CassetteGeometry {}.labelWidth);
}
