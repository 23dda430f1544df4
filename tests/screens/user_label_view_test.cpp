#include <cstdlib>

#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "screens/user_label_screen.h"
#include "screens/user_label_view.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/input_feeder.h"
#include "tests/support/pixels.h"

// The user-label designer below the work screen: sizes typed, fields dragged
// with the mouse, font sizes, lines and bar code forms chosen, a grid row
// shown as a picture and written back to the database by DB Save.

namespace {

constexpr int kWeight = 5;
constexpr int kPrice = 7;
constexpr int kCount = 9;
constexpr int kAdvertisement = 11;

class UserLabelViewTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        m_designer = CUserLabelScreen::FindDesigner();
        ASSERT_NE(m_designer, nullptr);
        ASSERT_TRUE(m_feeder.Create());
    }
    void TearDown() override
    {
        m_feeder.DestroyWindow();
        WorkScreenFixture::TearDown();
    }
    // One label of kim's: the item name at X 41, Y 61 with font size 1, the
    // advertisement at 0, 20 with font size 2 on two lines, 40 x 30 mm.
    CString OneLabel()
    {
        const CString db = MakeItemDatabase();
        Execute(db,
            { "INSERT INTO [UserLabel]([file_num], [item_nameX], [item_nameY], [item_nameKind], "
              "[barcodeLength], "
              "[advX], [advY], [advKind], [advLine], [labelX], [labelY], [label_Gab], [mg_id]) "
              "VALUES('3', '41', '61', '1', '0', '0', '20', '2', '2', '40', '30', '2', 'kim')" });
        return db;
    }
    HWND Designer() const { return m_designer->GetSafeHwnd(); }
    int UpperPaneHeight() const
    {
        int current = 0;
        int minimum = 0;
        GetMainFrame()->GetRightContainerView()->m_wndSplitter.GetRowInfo(0, current, minimum);
        return current;
    }
    void Type(int id, const char* digits)
    {
        HWND edit = m_designer->GetDlgItem(id)->GetSafeHwnd();
        for (const char* d = digits; *d; ++d)
            AfxSimulateKey(edit, static_cast<UINT>(*d), CString(*d, 1).GetString());
    }
    void Choose(int id, int item)
    {
        auto* combo = static_cast<CComboBox*>(m_designer->GetDlgItem(id));
        combo->SetCurSel(item);
        m_designer->SendMessage(
            WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
    }
    bool Shown(int id) const
    {
        CWnd* control = m_designer->GetDlgItem(id);
        return control && (control->GetStyle() & WS_VISIBLE) != 0;
    }
    // Drags field index by the point 5 pixels into its top-left corner so
    // that the corner lands at to.
    void DragField(int index, CPoint to)
    {
        const CPoint corner = m_designer->GetFieldRect(index).TopLeft();
        ASSERT_TRUE(
            m_feeder.Drag(Designer(), CPoint(corner.x + 5, corner.y + 5), CPoint(to.x + 5, to.y + 5)));
    }
    void ClickDesigner(int id)
    {
        CRect place;
        m_designer->GetDlgItem(id)->GetWindowRect(&place);
        m_designer->ScreenToClient(&place);
        ASSERT_TRUE(AfxSimulateClickAt(Designer(), place.CenterPoint()));
    }
    // Pixels of the designer at corner that differ from bitmap resource id.
    int PictureMismatches(CPoint corner, UINT id)
    {
        AfxPumpUntil([] { return false; }, 0);
        Snapshot shot(*m_designer);
        CBitmap picture;
        if (!shot.Ok() || !picture.LoadBitmap(id))
            return -1;
        BITMAP size {};
        picture.GetBitmap(&size);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&picture);
        int mismatches = 0;
        for (int y = 0; y < size.bmHeight; ++y)
            for (int x = 0; x < size.bmWidth; ++x)
                mismatches += shot.At(corner.x + x, corner.y + y) != dc.GetPixel(x, y);
        dc.SelectObject(old);
        return mismatches;
    }
    CString Stored(const CString& db, const char* columns)
    {
        return FirstRow(db, CString("SELECT ") + columns + " FROM [UserLabel]");
    }

    CUserLabelView* m_designer = nullptr;
    InputFeeder m_feeder;
};

TEST_F(UserLabelViewTest, ShownOnlyOnTheUserLabelsScreen)
{
    const CString db = OneLabel();
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    EXPECT_TRUE(m_designer->IsShown());
    EXPECT_TRUE(Shown(IDC_UL_WIDTH) && Shown(IDC_UL_ACCEPT) && Shown(IDC_UL_CLEAR));
    for (const auto& [id, expected] : { std::pair { IDC_UL_ACCEPT, CRect(500, 100, 580, 150) },
             std::pair { IDC_UL_CLEAR, CRect(500, 160, 580, 210) } }) {
        CRect place;
        m_designer->GetDlgItem(id)->GetWindowRect(&place);
        m_designer->ScreenToClient(&place);
        EXPECT_EQ(place, expected) << id;
    }
    EXPECT_EQ(UpperPaneHeight(), 350);
    // Hints 7-9 keep the screen as it is.
    for (Screen hint : { Screen::CommMode, Screen::LoggedIn, Screen::LoggedOut }) {
        LeftPane()->SendHint(hint, nullptr);
        EXPECT_TRUE(m_designer->IsShown()) << HintOf(hint);
    }
    const std::pair<Screen, const char*> others[] = { { Screen::Item, "Item_Read" },
        { Screen::Ingredient, "Add_Read" }, { Screen::ScaleRootInfo, "Scale_Root_Info" },
        { Screen::LandAddition, "Land_Add_Read" }, { Screen::Management, "Mg_Reg_Read" } };
    for (const auto& [hint, query] : others) {
        Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
        ClickCell(1, 2);
        ClickControl(IDC_WORK_LABEL_IMAGE);
        DragField(kWeight, CPoint(70, 90));
        ASSERT_TRUE(Shown(IDC_UL_FIRST_FONT + kWeight));
        Switch(hint, query, "kim", db);
        EXPECT_FALSE(m_designer->IsShown()) << HintOf(hint);
        EXPECT_FALSE(Shown(IDC_UL_WIDTH) || Shown(IDC_UL_ACCEPT) || Shown(IDC_UL_FIRST_FONT + kWeight))
            << HintOf(hint);
        EXPECT_GT(UpperPaneHeight(), 350) << HintOf(hint);
    }
}

TEST_F(UserLabelViewTest, PaintsTheLabelThePaletteLineAndTheFieldPictures)
{
    GetMainFrame()->MoveWindow(0, 0, 1600, 1200);
    Switch(Screen::UserLabel, "User_Label_Read", "kim", OneLabel());
    DragField(kWeight, CPoint(70, 90));
    Choose(IDC_UL_FIRST_FONT + kWeight, 2);
    AfxPumpUntil([] { return false; }, 0);
    Snapshot shot(*m_designer);
    ASSERT_TRUE(shot.Ok());
    ASSERT_GT(shot.Width(), 900);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(shot.InkOf(RGB(0, 0, 0), CRect(40, 50, 320, 270)), CRect(49, 59, 300, 260));
    const CRect line = shot.InkOf(RGB(0, 0, 255), CRect(590, 0, 610, 950));
    EXPECT_TRUE(line.left <= 600 && line.right >= 602 && line.Width() <= 5 && line.bottom == shot.Height());
    // The moved field fills its rectangle, the others stand on the palette.
    for (int i : { kWeight, kPrice, int(kFieldBarcode) }) {
        const CRect field = m_designer->GetFieldRect(i);
        EXPECT_GT(shot.CountOther(white, field), field.Width() * field.Height() / 4) << i;
    }
    EXPECT_EQ(m_designer->GetFieldRect(kWeight), CRect(70, 90, 160, 120));
    EXPECT_EQ(shot.CountOther(white, CRect(70, 121, 160, 140)), 0);
}

TEST_F(UserLabelViewTest, EveryFieldStartsAtItsPlaceOnThePalette)
{
    Switch(Screen::UserLabel, "User_Label_Read", "kim", OneLabel());
    const CRect homes[] = { { 720, 180, 820, 210 }, { 610, 35, 700, 50 }, { 610, 60, 710, 75 },
        { 610, 85, 710, 100 }, { 610, 110, 700, 125 }, { 610, 135, 700, 150 }, { 720, 10, 870, 90 },
        { 610, 160, 700, 175 }, { 720, 110, 770, 125 }, { 610, 185, 700, 200 }, { 610, 210, 700, 225 },
        { 610, 235, 700, 250 }, { 720, 130, 820, 145 }, { 720, 150, 820, 165 } };
    for (int i = 0; i < kLabelFieldCount; ++i) {
        EXPECT_EQ(m_designer->GetFieldRect(i), homes[i]) << i;
        EXPECT_EQ(m_designer->GetFieldHeight(i), 25) << i;
    }
}

TEST_F(UserLabelViewTest, LabelSizeFollowsTheTypedMillimetresUpTo60)
{
    Switch(Screen::UserLabel, "User_Label_Read", "kim", OneLabel());
    struct Case {
        const char* width;
        const char* length;
        CRect label;
        const char* message;
        bool lengthFirst;
    };
    const Case cases[] = {
        { "60", "", CRect(50, 60, 350, 250), nullptr, false },
        { "61", "", CRect(50, 60, 350, 250), "Max Width : 60mm", false },
        { "", "40", CRect(50, 60, 290, 260), nullptr, false },
        { "20", "40", CRect(50, 60, 150, 260), nullptr, false },
        { "20", "40", CRect(50, 60, 150, 260), nullptr, true },
    };
    for (const Case& c : cases) {
        ClickDesigner(IDC_UL_CLEAR);
        MessageBoxScript::Reset();
        Type(IDC_UL_WIDTH, c.width);
        Type(IDC_UL_LENGTH, c.length);
        if (c.lengthFirst) {
            ClickDesigner(IDC_UL_CLEAR);
            Type(IDC_UL_LENGTH, c.length);
            Type(IDC_UL_WIDTH, c.width);
        }
        EXPECT_EQ(m_designer->GetLabelRect(), c.label) << c.width << " x " << c.length;
        CString width;
        m_designer->GetDlgItem(IDC_UL_WIDTH)->GetWindowText(width);
        if (c.message) {
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
            EXPECT_EQ(width, "60");
        } else {
            EXPECT_EQ(MessageBoxScript::Count(), 0u) << c.width;
        }
    }
}

TEST_F(UserLabelViewTest, CaptionsAndListsStandWhereTheDesignerPutsThem)
{
    Switch(Screen::UserLabel, "User_Label_Read", "kim", OneLabel());
    const std::pair<int, CRect> places[] = { { IDC_UL_FORM_CAPTION, CRect(350, 60, 480, 85) },
        { IDC_UL_INGREDIENT_LINES, CRect(480, 33, 580, 250) },
        { IDC_UL_ADVERTISEMENT_LINES, CRect(480, 33, 580, 250) } };
    for (const auto& [id, rect] : places) {
        CRect place;
        m_designer->GetDlgItem(id)->GetWindowRect(&place);
        m_designer->ScreenToClient(&place);
        EXPECT_EQ(place, rect) << id;
    }
}

TEST_F(UserLabelViewTest, FontSizesLinesAndBarcodeFormsSizeTheField)
{
    Switch(Screen::UserLabel, "User_Label_Read", "kim", OneLabel());
    Type(IDC_UL_WIDTH, "40");
    Type(IDC_UL_LENGTH, "30");
    DragField(kWeight, CPoint(70, 90));
    const struct {
        int kind;
        int heightValue;
        int rectHeight;
    } kinds[] = { { 1, 25, 15 }, { 3, 25, 15 }, { 4, 32, 22 }, { 2, 40, 30 }, { 5, 40, 30 }, { 7, 40, 30 },
        { 9, 47, 37 }, { 6, 55, 45 }, { 8, 55, 45 } };
    for (const auto& k : kinds) {
        Choose(IDC_UL_FIRST_FONT + kWeight, k.kind);
        EXPECT_EQ(m_designer->GetFieldHeight(kWeight), k.heightValue) << k.kind;
        EXPECT_EQ(m_designer->GetFieldRect(kWeight), CRect(70, 90, 160, 90 + k.rectHeight)) << k.kind;
    }
    Choose(IDC_UL_FIRST_FONT + kWeight, 0);
    EXPECT_EQ(m_designer->GetFieldRect(kWeight), FieldHomeRect(kWeight, 600));
    DragField(0, CPoint(70, 150));
    Choose(IDC_UL_FIRST_FONT, 4);
    EXPECT_EQ(m_designer->GetFieldHeight(0), 32);

    // A text's height is the font's times its lines; no lines send it home.
    DragField(kAdvertisement, CPoint(60, 100));
    EXPECT_EQ(m_designer->GetFieldRect(kAdvertisement), CRect(60, 100, 260, 115));
    EXPECT_TRUE(Shown(IDC_UL_ADVERTISEMENT_LINES) && Shown(IDC_UL_LINES_CAPTION)
        && Shown(IDC_UL_FIRST_FONT + kAdvertisement) && !Shown(IDC_UL_INGREDIENT_LINES));
    Choose(IDC_UL_FIRST_FONT + kAdvertisement, 2);
    Choose(IDC_UL_ADVERTISEMENT_LINES, 2);
    EXPECT_EQ(m_designer->GetFieldHeight(kAdvertisement), 80);
    EXPECT_EQ(m_designer->GetFieldRect(kAdvertisement).Height(), 60);
    Choose(IDC_UL_ADVERTISEMENT_LINES, 0);
    EXPECT_EQ(m_designer->GetFieldRect(kAdvertisement), FieldHomeRect(kAdvertisement, 600));

    DragField(kFieldBarcode, CPoint(60, 70));
    ASSERT_TRUE(Shown(IDC_UL_BARCODE_FORM) && Shown(IDC_UL_BARCODE_LENGTH)
        && !Shown(IDC_UL_FIRST_FONT + kFieldBarcode));
    const std::pair<int, CSize> forms[]
        = { { 1, CSize(80, 150) }, { 2, CSize(80, 150) }, { 0, CSize(150, 80) } };
    for (const auto& [form, size] : forms) {
        Choose(IDC_UL_BARCODE_FORM, form);
        EXPECT_EQ(m_designer->GetFieldRect(kFieldBarcode), CRect(CPoint(60, 70), size)) << form;
        EXPECT_EQ(PictureMismatches(CPoint(60, 70), form == 0 ? 193 : 212 + form), 0) << form;
    }
    // A press beside every field hides the field's controls.
    ASSERT_TRUE(AfxSimulateMouse(Designer(), WM_LBUTTONDOWN, CPoint(300, 300), MK_LBUTTON));
    ASSERT_TRUE(AfxSimulateMouse(Designer(), WM_LBUTTONUP, CPoint(300, 300), 0));
    EXPECT_FALSE(Shown(IDC_UL_BARCODE_FORM) || Shown(IDC_UL_BARCODE_LENGTH));
}

// A field dropped left of the label and below it still lands on the label's
// edge; one sent home is saved as zeros, a text field's lines too.
TEST_F(UserLabelViewTest, AFieldLeftOfTheLabelLandsOnItAndOneSentHomeIsSavedAsZeros)
{
    const CString db = OneLabel();
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    ClickCell(1, 2);
    ClickControl(IDC_WORK_LABEL_IMAGE);
    DragField(kCount, CPoint(30, 300));
    EXPECT_NE(m_designer->GetFieldRect(kCount), FieldHomeRect(kCount, 600));
    const CPoint adv = m_designer->GetFieldRect(kAdvertisement).TopLeft() + CPoint(3, 55);
    ASSERT_TRUE(AfxSimulateMouse(Designer(), WM_LBUTTONDBLCLK, adv, MK_LBUTTON));
    ASSERT_EQ(m_designer->GetFieldRect(kAdvertisement), FieldHomeRect(kAdvertisement, 600));
    ClickDesigner(IDC_UL_ACCEPT);
    EXPECT_EQ(Stored(db, "[advX], [advY], [advKind], [advLine]"), "0\tjo/0\tjo/0\tjo/0\tjo/");
}

TEST_F(UserLabelViewTest, ARowShownDraggedAndSavedIsReadBackFromTheDatabase)
{
    const CString db = OneLabel();
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    MessageBoxScript::Reset();
    ClickDesigner(IDC_UL_ACCEPT);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Select a label information grid line");

    ClickCell(1, 2);
    ClickControl(IDC_WORK_LABEL_IMAGE);
    EXPECT_EQ(m_designer->GetLabelRect(), CRect(50, 60, 250, 210));
    EXPECT_EQ(m_designer->GetFieldRect(kFieldItemName).TopLeft(), CPoint(70, 90));
    EXPECT_EQ(m_designer->GetFieldRect(kAdvertisement), CRect(50, 70, 250, 130));
    EXPECT_EQ(m_designer->GetFieldRect(kFieldBarcode), FieldHomeRect(kFieldBarcode, 600));

    DragField(kWeight, CPoint(70, 90)); // 20 right of and 30 below the corner
    Choose(IDC_UL_FIRST_FONT + kWeight, 4);
    DragField(kPrice, CPoint(100, 50)); // 10 above the label: onto its edge
    EXPECT_EQ(m_designer->GetFieldRect(kPrice).TopLeft(), CPoint(100, 60));
    Choose(IDC_UL_FIRST_FONT + kPrice, 1);
    DragField(kCount, CPoint(400, 100)); // right of the label: home again
    EXPECT_EQ(m_designer->GetFieldRect(kCount), FieldHomeRect(kCount, 600));
    DragField(kFieldBarcode, CPoint(30, 150)); // left of the label: onto its edge
    Choose(IDC_UL_BARCODE_FORM, 2);
    Type(IDC_UL_BARCODE_LENGTH, "13");
    Choose(IDC_UL_ADVERTISEMENT_LINES, 1); // the advertisement on one line, its font size kept
    // A double click sends the item name home.
    const CPoint name = m_designer->GetFieldRect(kFieldItemName).CenterPoint();
    ASSERT_TRUE(AfxSimulateMouse(Designer(), WM_LBUTTONDBLCLK, name, MK_LBUTTON));
    EXPECT_EQ(m_designer->GetFieldRect(kFieldItemName), FieldHomeRect(kFieldItemName, 600));

    ClickDesigner(IDC_UL_ACCEPT);
    EXPECT_EQ(Stored(db,
                  "[weightX], [weightY], [weightKind], [priceX], [priceY], [CountX], [CountY], [CountKind], "
                  "[item_nameX], [item_nameKind], [barcodeX], [barcodeY], [barcode form], [barcodeLength], "
                  "[advX], [advY], [advKind], [advLine], [labelX], [labelY], [label_Gab]"),
        "40\tjo/60\tjo/4\tjo/100\tjo/0\tjo/0\tjo/0\tjo/0\tjo/0\tjo/0\tjo/0\tjo/180\tjo/2\tjo/13\tjo/0\tjo/"
        "20\tjo/"
        "2\tjo/1\tjo/40\tjo/30\tjo/2\tjo/");

    // Cleared, then read again from the database.
    ClickDesigner(IDC_UL_CLEAR);
    EXPECT_EQ(m_designer->GetFieldRect(kWeight), FieldHomeRect(kWeight, 600));
    Switch(Screen::UserLabel, "User_Label_Read", "kim", db);
    ClickCell(1, 2);
    ClickControl(IDC_WORK_LABEL_IMAGE);
    EXPECT_EQ(m_designer->GetFieldRect(kWeight), CRect(70, 90, 160, 112));
    EXPECT_EQ(m_designer->GetFieldRect(kPrice).TopLeft(), CPoint(100, 60));
    EXPECT_EQ(m_designer->GetFieldRect(kFieldBarcode), CRect(50, 150, 130, 300));
    EXPECT_EQ(m_designer->GetFieldRect(kFieldItemName), FieldHomeRect(kFieldItemName, 600));
}

} // namespace
