// The work screens as far as the shell uses them: the log-in flag that
// follows hints 8 and 9, the item worker's acknowledged replies, and the
// commands handed to the left pane.

#include <gtest/gtest.h>

#include <memory>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/store_paths.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "resources/calvorn_ids.h"
#include "screens/kind_of_view.h"
#include "screens/register_screens.h"
#include "screens/user_label_view.h"
#include "shell/calvorn_app.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/screen_table.h"
#include "tests/support/command.h"
#include "tests/support/store_fault.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

class WorkScreenTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterWorkScreens();
        FileDialogScript::Enable();
        FileDialogScript::Reset();
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        m_app = std::make_unique<CCalvornApp>();
        ASSERT_TRUE(m_app->InitInstance());
        CRightCotainerView* right = GetMainFrame()->GetRightContainerView();
        m_screen = dynamic_cast<CKindOfView*>(right->GetKindOfView());
        m_label = dynamic_cast<CUserLabelView*>(right->GetUserLabelView());
        ASSERT_NE(m_screen, nullptr);
        ASSERT_NE(m_label, nullptr);
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd) {
            m_app->m_pMainWnd->DestroyWindow();
            AfxRunMessageLoop();
        }
        m_app.reset();
        FileDialogScript::Reset();
        ModalDialogScript::Reset();
    }

    CCalvornView* LeftPane() const { return GetMainFrame()->GetCalvornView(); }

    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
    std::unique_ptr<CCalvornApp> m_app;
    CKindOfView* m_screen = nullptr;
    CUserLabelView* m_label = nullptr;
};

} // namespace

TEST_F(WorkScreenTest, AutomaticLogInSetsTheFlagAndHintsEightAndNineFollowTheLogIn)
{
    EXPECT_EQ(m_screen->GetCommSetupFlag(), 1);
    EXPECT_EQ(m_screen->GetItemWorker() != nullptr, true);
    CString text;
    m_screen->OnUpdate(LeftPane(), HintOf(Screen::LoggedOut), &text);
    EXPECT_EQ(m_screen->GetCommSetupFlag(), 0);
    m_screen->OnUpdate(LeftPane(), HintOf(Screen::LoggedIn), &text);
    EXPECT_EQ(m_screen->GetCommSetupFlag(), 1);
}

TEST_F(WorkScreenTest, ActiveScreenAnswersCommunicationSetupItself)
{
    CMainFrame* frame = GetMainFrame();
    frame->SetActiveView(m_screen);
    m_screen->SetCommSetupFlag(0);
    CCmdUI state;
    state.m_nID = ID_COMM_SETUP;
    state.DoUpdate(frame, TRUE);
    EXPECT_FALSE(state.m_bEnabled);
    // The left pane's rule, which would write the user id, did not run.
    EXPECT_TRUE(LeftPane()->Mailbox().Text(IDC_WORK_RECV_SELECT).IsEmpty());
}

TEST_F(WorkScreenTest, ScreensHandTheProgramsCommandsToTheLeftPane)
{
    CMainFrame* frame = GetMainFrame();
    const std::pair<UINT, const char*> commands[]
        = { { ID_FILE_OPEN, "ItemDB File Open" }, { ID_EXCEL_NEW_FILE, "New Excel File" } };
    for (CView* view : { static_cast<CView*>(m_screen), static_cast<CView*>(m_label) }) {
        frame->SetActiveView(view);
        for (const auto& [id, title] : commands) {
            FileDialogScript::Reset();
            FileDialogScript::PushCancel();
            Command(*frame, id);
            ASSERT_EQ(FileDialogScript::Records().size(), 1u) << id;
            EXPECT_EQ(FileDialogScript::Records()[0].title, title) << id;
        }
    }
    // The label view also hands over 32773: the left pane's hint 7 follows.
    frame->SetActiveView(m_label);
    Command(*frame, ID_COMM_SETUP);
    EXPECT_EQ(LeftPane()->Mailbox().Text(IDC_MAILBOX_NAME), "Comm_Mode_Read");
}

TEST_F(WorkScreenTest, StreamedRowsAreAcknowledged)
{
    const CString items(m_root.Native("C:\\items.mdb").c_str());
    ASSERT_TRUE(WriteResourceFile(150, items));
    CItemDbWorker* worker = m_screen->GetItemWorker();
    // The left pane's choice of the item screen: its words, then the hint.
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_NAME, "Item_Read");
    LeftPane()->Mailbox().SetText(IDC_MAILBOX_TEXT, "vexo");
    CString path = items;
    LeftPane()->SendHint(Screen::Item, &path);
    EXPECT_TRUE(PumpUntil([&] { return !worker->IsDatabaseOpen(); }));
    EXPECT_TRUE(PumpUntil([&] { return worker->GetReportFlag() == 1; }));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

// The first start on a full data folder: each database that cannot be made
// is told once, though two parts make the reservation store, and no empty
// file is left that a later read takes for a damaged database.
TEST(WorkScreenStart, AFullDataFolderTellsEachFileOnce)
{
    TempDataRoot root;
    ScopedMessageBoxScript boxes;
    FullDisk disk;
    if (!disk.Mount(root.Native("C:\\Windows\\system\\Manager"), 1 << 20))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_TRUE(disk.Fill());
    RegisterWorkScreens();
    auto app = std::make_unique<CCalvornApp>();
    ASSERT_TRUE(app->InitInstance());
    std::vector<CString> texts, expected;
    for (const MessageBoxRecord& box : boxes.Records())
        texts.push_back(box.text);
    for (const char* file : { kManagerDatabase, kScaleSettingsDatabase, kReservationDatabase }) {
        expected.push_back(CString(file) + " =>DB File not making");
        EXPECT_FALSE(TempDataRoot::Exists(root.Native(file))) << file;
    }
    EXPECT_EQ(texts, expected);
    app->m_pMainWnd->DestroyWindow();
    AfxRunMessageLoop();
}
