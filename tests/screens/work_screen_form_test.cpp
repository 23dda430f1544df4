// The work screen's form as a user meets it: which control each member
// drives, the captions, the places of the run-time controls and panels, and
// the synchronisation buttons of server mode.

#include <utility>
#include <vector>

#include "platform/gdi/font.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"

namespace {

class WorkScreenFormTest : public WorkScreenFixture {
protected:
    CRect RectOf(const CWnd* window) const
    {
        CRect rect;
        window->GetWindowRect(&rect);
        m_screen->ScreenToClient(&rect);
        return rect;
    }
    CRect RectOf(int id) const { return RectOf(m_screen->GetDlgItem(id)); }
    CString Caption(int id) const { return GetWindowTextString(m_screen->GetDlgItem(id)->GetSafeHwnd()); }
};

} // namespace

TEST_F(WorkScreenFormTest, MembersDriveTheirOwnControlsWithTheirCaptions)
{
    CKindOfView& s = *m_screen;
    // Each control of the form is bound to an object of its class.
    auto is = [&s]<typename T>(int id) { return dynamic_cast<const T*>(s.GetDlgItem(id)) != nullptr; };
    for (int id : { 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1025, 1027, 1029, 1030, 1050, 1051, 1052,
             1057, 1011, 1014, 1012, 1013, 1117, 1116, 57607, 1059, 1060, 1061, 1062, 1063, 1064 })
        EXPECT_TRUE(is.operator()<CXPButton>(id)) << id;
    for (int id : { 1026, 1028, 1039, 1143 })
        EXPECT_TRUE(is.operator()<CEdit>(id)) << id;
    for (int id : { 1033, 1034, 1032, 1044 })
        EXPECT_TRUE(is.operator()<CButton>(id)) << id;
    for (int id : { 1041, 1042 })
        EXPECT_TRUE(is.operator()<CStatic>(id)) << id;
    for (int id : { 1037, 1038, 1040 })
        EXPECT_TRUE(is.operator()<CStatusLamp>(id)) << id;
    // The send and receive lamps start at rest, the same picture.
    for (int id : { 1037, 1038 }) {
        const auto& lamp = dynamic_cast<const CStatusLamp&>(*s.GetDlgItem(id));
        EXPECT_EQ(lamp.GetSourceRow(), 32) << id;
        EXPECT_EQ(lamp.GetColumn(), CStatusLamp::kRestColumn) << id;
    }
    ASSERT_TRUE(is.operator()<CCaptionPanel>(IDC_WORK_CAPTION));

    const std::pair<int, const char*> captions[] = { { 1065, "Synchronization" }, { 1066, "Synchronization" },
        { 1007, "Insert" }, { 1008, "Delete" }, { 1009, "Trans" }, { 1010, "Select Trans" },
        { 1001, "All Receive" }, { 1002, "Select Receive" }, { 1025, "Trans" }, { 1027, "All Receive" },
        { 1029, "Select Receive" }, { 1030, "Trans Stop" }, { 1050, "Result Receive" },
        { 1051, "Result Clear" }, { 1052, "Reload Result" }, { 1057, "Result DB Sum" }, { 1033, "Edit" },
        { 1034, "Trans" }, { 1049, "EX)1 or 1,2 or 1-4" } };
    for (const auto& [id, text] : captions)
        EXPECT_EQ(Caption(id), text) << id;
    EXPECT_EQ(s.GetDlgItem(IDC_WORK_CAPTION)->GetStyle(), 0x50004000u);
}

TEST_F(WorkScreenFormTest, RunTimeControlsStandWhereTheScreensExpectThem)
{
    CKindOfView& s = *m_screen;
    // Register buttons and the scale list.
    EXPECT_EQ(RectOf(s.GetDlgItem(901)), CRect(530, 50, 600, 80));
    EXPECT_EQ(RectOf(s.GetDlgItem(902)), CRect(530, 90, 600, 120));
    EXPECT_EQ(RectOf(s.GetDlgItem(903)), CRect(530, 130, 600, 160));
    EXPECT_EQ(RectOf(s.GetDlgItem(900)), CRect(50, 60, 500, 400));
    EXPECT_EQ(GetWindowTextString(s.GetDlgItem(902)->GetSafeHwnd()), "INSERT");
    auto* list = dynamic_cast<CListCtrl*>(s.GetDlgItem(900));
    ASSERT_NE(list, nullptr);
    const int widths[] = { 100, 100, 80, 100, 80 };
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(list->GetColumnWidth(c), widths[c]) << c;
    // The page combo drops down at its place; the preset keys use the preset font.
    ASSERT_NE(s.GetDlgItem(800), nullptr);
    EXPECT_EQ(s.GetDlgItem(800)->GetStyle() & 0x3u, 0x2u);
    EXPECT_EQ(RectOf(800), CRect(500, 400, 600, 500));
    LOGFONT lf;
    ASSERT_GT(s.GetPresetKeys().GetKeyFont().GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, 14);
    EXPECT_EQ(lf.lfWidth, 8);
    EXPECT_EQ(lf.lfCharSet, 1);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
}

TEST_F(WorkScreenFormTest, ScaleSettingsScreensPlaceTheProgressGroupBesideTheGrid)
{
    const CString db = MakeItemDatabase();
    for (const auto& [hint, query] : { std::pair { Screen::ScaleInfo, "Scale_Info_Read" },
             std::pair { Screen::ScaleRootInfo, "Scale_Root_Info_Read" } }) {
        Switch(hint, query, "vexo", db);
        const std::pair<int, CRect> places[]
            = { { 1044, CRect(570, 432, 700, 552) }, { 1039, CRect(580, 450, 680, 480) },
                  { 1041, CRect(580, 490, 640, 510) }, { 1037, CRect(650, 475, 700, 525) },
                  { 1042, CRect(580, 520, 660, 540) }, { 1038, CRect(650, 505, 700, 555) } };
        for (const auto& [id, rect] : places) {
            EXPECT_EQ(RectOf(id), rect) << HintOf(hint) << " control " << id;
            EXPECT_TRUE(Visible(id)) << HintOf(hint) << " control " << id;
        }
        const std::pair<int, const char*> captions[]
            = { { 1011, "Insert" }, { 1014, "Update" }, { 1012, "Delete" }, { 1013, "Trans" } };
        for (const auto& [id, text] : captions)
            EXPECT_EQ(Caption(id), text) << HintOf(hint) << " control " << id;
    }
    // Leaving for an item screen hides the panel's buttons and moves the group.
    Switch(Screen::Item, "Item_Read", "vexo", db);
    for (int id : { 1011, 1012, 1013, 1014 })
        EXPECT_FALSE(Visible(id)) << id;
    const std::pair<int, CRect> places[]
        = { { 1044, CRect(200, 492, 330, 612) }, { 1039, CRect(210, 510, 310, 540) },
              { 1041, CRect(210, 550, 270, 570) }, { 1037, CRect(280, 535, 330, 585) },
              { 1042, CRect(210, 580, 290, 600) }, { 1038, CRect(280, 565, 330, 615) } };
    for (const auto& [id, rect] : places)
        EXPECT_EQ(RectOf(id), rect) << id;
}

TEST_F(WorkScreenFormTest, ButtonGroupsAreEnabledTogetherAndNothingElse)
{
    CKindOfView& s = *m_screen;
    s.Panels().EnableScaleTransButtons(FALSE);
    for (int id : { 1025, 1027, 1029 })
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : { 1026, 1028, 1009, 1010 })
        EXPECT_TRUE(Enabled(id)) << id;
    // The item panels' switches, reached through Context() as the screen's
    // parts reach them.
    s.Panels().EnableItemTransButtons(FALSE);
    for (int id : { 1009, 1010, 1001, 1002 })
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(1026));
    s.Panels().EnableTransStopButton(TRUE);
    EXPECT_TRUE(Enabled(1030));
    s.Panels().EnableEditButtons(FALSE);
    for (int id : { 1007, 1008, 1065 })
        EXPECT_FALSE(Enabled(id)) << id;
    s.Panels().EnableScaleTransButtons(TRUE);
    s.Panels().EnableItemTransButtons(TRUE);
    s.Panels().EnableEditButtons(TRUE);
    for (int id : { 1025, 1027, 1029, 1009, 1010, 1001, 1002, 1007, 1008, 1065 })
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(WorkScreenFormTest, ServerModeShowsTheSynchronisationButtonOfEachScreen)
{
    const CString db = MakeItemDatabase();
    // No user door sets server mode without a listening socket.
    LeftPane()->ServerStarted("", "");
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_TRUE(Visible(1065));
    EXPECT_FALSE(Visible(1066));
    Switch(Screen::Preset, "Pre_Read", "vexo", db);
    EXPECT_FALSE(Visible(1065));
    EXPECT_TRUE(Visible(1066));
    EXPECT_EQ(RectOf(1066), CRect(630, 80, 760, 130));
    Switch(Screen::Advertisement, "Adv_Read", "vexo", db);
    EXPECT_TRUE(Visible(1065));
    EXPECT_FALSE(Visible(1066));
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", db);
    EXPECT_FALSE(Visible(1065));
    EXPECT_FALSE(Visible(1066));
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_TRUE(Visible(1065));
    CString path = db;
    LeftPane()->SendHint(Screen::DatabaseChanged, &path);
    EXPECT_FALSE(Visible(1065));
    EXPECT_FALSE(Visible(1066));
}

TEST_F(WorkScreenFormTest, UserLabelsScreenShowsItsOwnButtonsApartAndNoOtherScreens)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    const std::pair<int, const char*> buttons[] = { { 1059, "Insert" }, { 1060, "Delete" }, { 1062, "Trans" },
        { 1063, "Select Trans" }, { 1061, "Receive" }, { 1064, "Image Display" } };
    std::vector<CRect> taken { RectOf(&Grid()) };
    for (const auto& [id, text] : buttons) {
        EXPECT_TRUE(Visible(id)) << id;
        EXPECT_EQ(Caption(id), text) << id;
        for (const CRect& other : taken) {
            CRect overlap;
            EXPECT_FALSE(overlap.IntersectRect(other, RectOf(id))) << id;
        }
        taken.push_back(RectOf(id));
    }
    // The progress group's texts and lamps stand inside its frame.
    const CRect group = RectOf(1044);
    for (int id : { 1041, 1037, 1039, 1042, 1038 }) {
        const CRect r = RectOf(id);
        EXPECT_TRUE(
            r.left >= group.left && r.right <= group.right && r.top >= group.top && r.bottom <= group.bottom)
            << id;
    }
    for (int id : { 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1030, 1033, 1034, 1049, 1025, 1027,
             1028, 1029, 1032, 1050, 1051, 1052, 1057 })
        EXPECT_FALSE(Visible(id)) << id;
}
