// The work screen's form as a user meets it: which control each member
// drives, the captions, the places of the run-time controls and panels, and
// the synchronisation buttons of server mode.

#include <utility>
#include <vector>

#include "platform/gdi/font.h"
#include "resources/calvorn_ids.h"
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
    for (int id : { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
             IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
             IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_TRANS_STOP,
             IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM,
             IDC_WORK_SCALE_INFO_INSERT, IDC_WORK_SCALE_INFO_UPDATE, IDC_WORK_SCALE_INFO_DELETE,
             IDC_WORK_SCALE_INFO_TRANS, IDC_WORK_RESERVATION_SETUP, IDC_WORK_RESERVATION_VIEW, ID_FILE_PRINT,
             IDC_WORK_LABEL_INSERT, IDC_WORK_LABEL_DELETE, IDC_WORK_LABEL_RECV, IDC_WORK_LABEL_TRANS_ALL,
             IDC_WORK_LABEL_TRANS_SELECT, IDC_WORK_LABEL_IMAGE })
        EXPECT_TRUE(is.operator()<CXPButton>(id)) << id;
    for (int id : { IDC_WORK_RECV_NUMBERS, IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_PROGRESS, IDC_WORK_POS_HELP })
        EXPECT_TRUE(is.operator()<CEdit>(id)) << id;
    for (int id :
        { IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP, IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_PROGRESS_GROUP })
        EXPECT_TRUE(is.operator()<CButton>(id)) << id;
    for (int id : { IDC_WORK_PC_LABEL, IDC_WORK_SCALE_LABEL })
        EXPECT_TRUE(is.operator()<CStatic>(id)) << id;
    for (int id : { IDC_WORK_SEND_LAMP, IDC_WORK_RECV_LAMP, IDC_WORK_RESERVATION_LAMP })
        EXPECT_TRUE(is.operator()<CStatusLamp>(id)) << id;
    // The send and receive lamps start at rest, the same picture.
    for (int id : { IDC_WORK_SEND_LAMP, IDC_WORK_RECV_LAMP }) {
        const auto& lamp = dynamic_cast<const CStatusLamp&>(*s.GetDlgItem(id));
        EXPECT_EQ(lamp.GetSourceRow(), 32) << id;
        EXPECT_EQ(lamp.GetColumn(), CStatusLamp::kRestColumn) << id;
    }
    ASSERT_TRUE(is.operator()<CCaptionPanel>(IDC_WORK_CAPTION));

    EXPECT_EQ(s.GetDlgItem(IDC_WORK_CAPTION)->GetStyle(), 0x50004000u);
}

TEST_F(WorkScreenFormTest, RunTimeControlsStandWhereTheScreensExpectThem)
{
    CKindOfView& s = *m_screen;
    // Register buttons and the scale list.
    EXPECT_EQ(RectOf(s.GetDlgItem(901)), CRect(530, 50, 600, 80));
    EXPECT_EQ(RectOf(s.GetDlgItem(IDC_SCALE_REGISTER_INSERT)), CRect(530, 90, 600, 120));
    EXPECT_EQ(RectOf(s.GetDlgItem(903)), CRect(530, 130, 600, 160));
    EXPECT_EQ(RectOf(s.GetDlgItem(IDC_SCALE_REGISTER_LIST)), CRect(50, 60, 500, 400));
    EXPECT_EQ(GetWindowTextString(s.GetDlgItem(IDC_SCALE_REGISTER_INSERT)->GetSafeHwnd()), "INSERT");
    auto* list = dynamic_cast<CListCtrl*>(s.GetDlgItem(IDC_SCALE_REGISTER_LIST));
    ASSERT_NE(list, nullptr);
    const int widths[] = { 100, 100, 80, 100, 80 };
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(list->GetColumnWidth(c), widths[c]) << c;
    // The page combo drops down at its place; the preset keys use the preset font.
    ASSERT_NE(s.GetDlgItem(IDC_PRESET_PAGE), nullptr);
    EXPECT_EQ(s.GetDlgItem(IDC_PRESET_PAGE)->GetStyle() & 0x3u, 0x2u);
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
        const std::pair<int, CRect> places[] = { { IDC_WORK_PROGRESS_GROUP, CRect(570, 432, 700, 552) },
            { IDC_WORK_PROGRESS, CRect(580, 450, 680, 480) },
            { IDC_WORK_PC_LABEL, CRect(580, 490, 640, 510) },
            { IDC_WORK_SEND_LAMP, CRect(650, 475, 700, 525) },
            { IDC_WORK_SCALE_LABEL, CRect(580, 520, 660, 540) },
            { IDC_WORK_RECV_LAMP, CRect(650, 505, 700, 555) } };
        for (const auto& [id, rect] : places) {
            EXPECT_EQ(RectOf(id), rect) << HintOf(hint) << " control " << id;
            EXPECT_TRUE(Visible(id)) << HintOf(hint) << " control " << id;
        }
        const std::pair<int, const char*> captions[]
            = { { IDC_WORK_SCALE_INFO_INSERT, "Insert" }, { IDC_WORK_SCALE_INFO_UPDATE, "Update" },
                  { IDC_WORK_SCALE_INFO_DELETE, "Delete" }, { IDC_WORK_SCALE_INFO_TRANS, "Trans" } };
        for (const auto& [id, text] : captions)
            EXPECT_EQ(Caption(id), text) << HintOf(hint) << " control " << id;
    }
    // Leaving for an item screen hides the panel's buttons and moves the group.
    Switch(Screen::Item, "Item_Read", "vexo", db);
    for (int id : { IDC_WORK_SCALE_INFO_INSERT, IDC_WORK_SCALE_INFO_DELETE, IDC_WORK_SCALE_INFO_TRANS,
             IDC_WORK_SCALE_INFO_UPDATE })
        EXPECT_FALSE(Visible(id)) << id;
    const std::pair<int, CRect> places[] = { { IDC_WORK_PROGRESS_GROUP, CRect(200, 492, 330, 612) },
        { IDC_WORK_PROGRESS, CRect(210, 510, 310, 540) }, { IDC_WORK_PC_LABEL, CRect(210, 550, 270, 570) },
        { IDC_WORK_SEND_LAMP, CRect(280, 535, 330, 585) },
        { IDC_WORK_SCALE_LABEL, CRect(210, 580, 290, 600) },
        { IDC_WORK_RECV_LAMP, CRect(280, 565, 330, 615) } };
    for (const auto& [id, rect] : places)
        EXPECT_EQ(RectOf(id), rect) << id;
}

TEST_F(WorkScreenFormTest, ButtonGroupsAreEnabledTogetherAndNothingElse)
{
    CKindOfView& s = *m_screen;
    s.Panels().EnableScaleTransButtons(FALSE);
    for (int id : { IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT })
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id :
        { IDC_WORK_RECV_NUMBERS, IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT })
        EXPECT_TRUE(Enabled(id)) << id;
    // The item panels' switches, reached through Context() as the screen's
    // parts reach them.
    s.Panels().EnableItemTransButtons(FALSE);
    for (int id : { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT })
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_WORK_RECV_NUMBERS));
    s.Panels().EnableTransStopButton(TRUE);
    EXPECT_TRUE(Enabled(IDC_WORK_TRANS_STOP));
    s.Panels().EnableEditButtons(FALSE);
    for (int id : { IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_SYNC_TABLES })
        EXPECT_FALSE(Enabled(id)) << id;
    s.Panels().EnableScaleTransButtons(TRUE);
    s.Panels().EnableItemTransButtons(TRUE);
    s.Panels().EnableEditButtons(TRUE);
    for (int id : { IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT,
             IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
             IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_SYNC_TABLES })
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(WorkScreenFormTest, ServerModeShowsTheSynchronisationButtonOfEachScreen)
{
    const CString db = MakeItemDatabase();
    // No user door sets server mode without a listening socket.
    LeftPane()->ServerStarted("", "");
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_TRUE(Visible(IDC_WORK_SYNC_TABLES));
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_PRESET_LABEL));
    Switch(Screen::Preset, "Pre_Read", "vexo", db);
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_TABLES));
    EXPECT_TRUE(Visible(IDC_WORK_SYNC_PRESET_LABEL));
    EXPECT_EQ(RectOf(IDC_WORK_SYNC_PRESET_LABEL), CRect(630, 80, 760, 130));
    Switch(Screen::Advertisement, "Adv_Read", "vexo", db);
    EXPECT_TRUE(Visible(IDC_WORK_SYNC_TABLES));
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_PRESET_LABEL));
    Switch(Screen::ScaleInfo, "Scale_Info_Read", "vexo", db);
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_TABLES));
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_PRESET_LABEL));
    Switch(Screen::Item, "Item_Read", "vexo", db);
    EXPECT_TRUE(Visible(IDC_WORK_SYNC_TABLES));
    CString path = db;
    LeftPane()->SendHint(Screen::DatabaseChanged, &path);
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_TABLES));
    EXPECT_FALSE(Visible(IDC_WORK_SYNC_PRESET_LABEL));
}

TEST_F(WorkScreenFormTest, UserLabelsScreenShowsItsOwnButtonsApartAndNoOtherScreens)
{
    const CString db = MakeItemDatabase();
    Switch(Screen::Item, "Item_Read", "vexo", db);
    Switch(Screen::UserLabel, "User_Label_Read", "vexo", db);
    const std::pair<int, const char*> buttons[]
        = { { IDC_WORK_LABEL_INSERT, "Insert" }, { IDC_WORK_LABEL_DELETE, "Delete" },
              { IDC_WORK_LABEL_TRANS_ALL, "Trans" }, { IDC_WORK_LABEL_TRANS_SELECT, "Select Trans" },
              { IDC_WORK_LABEL_RECV, "Receive" }, { IDC_WORK_LABEL_IMAGE, "Image Display" } };
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
    const CRect group = RectOf(IDC_WORK_PROGRESS_GROUP);
    for (int id : { IDC_WORK_PC_LABEL, IDC_WORK_SEND_LAMP, IDC_WORK_PROGRESS, IDC_WORK_SCALE_LABEL,
             IDC_WORK_RECV_LAMP }) {
        const CRect r = RectOf(id);
        EXPECT_TRUE(
            r.left >= group.left && r.right <= group.right && r.top >= group.top && r.bottom <= group.bottom)
            << id;
    }
    for (int id : { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
             IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
             IDC_WORK_RECV_NUMBERS, IDC_WORK_TRANS_STOP, IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP,
             IDC_WORK_RANGE_HINT, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_PAGE,
             IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_RESULT_RECV,
             IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM })
        EXPECT_FALSE(Visible(id)) << id;
}
