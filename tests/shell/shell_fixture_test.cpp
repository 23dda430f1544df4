// The shell fixture's implementation, and checks of the fixture itself.

#include "tests/shell/shell_fixture.h"

#include "db/db_messages.h"
#include "db/manager_db_worker.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/base/path.h"
#include "resources/calvorn_ids.h"
#include "shell/file_helpers.h"

void RecordingView::OnUpdate(CView*, LPARAM hint, void* hintObject)
{
    HintRecord record;
    record.hint = hint;
    if (hintObject)
        record.text = *static_cast<CString*>(hintObject);
    if (CMainFrame* frame = GetMainFrame())
        if (CCalvornView* pane = frame->GetCalvornView()) {
            record.queryName = pane->Mailbox().Text(IDC_MAILBOX_NAME);
            record.userId = pane->Mailbox().Text(IDC_MAILBOX_TEXT);
        }
    m_hints.push_back(record);
}

FakeKindOfView::FakeKindOfView()
    : m_mailbox(this)
{
    m_pWorker = new CItemDbWorker;
    m_pWorker->SetOwner(this, &m_mailbox);
    m_mailbox.Create(this);
}

FakeKindOfView::~FakeKindOfView()
{
    delete m_pWorker;
}

const CRuntimeClass* FakeKindOfView::GetThisClass()
{
    static const CRuntimeClass kClass { kWorkScreenClassName, &AfxCreateObject<FakeKindOfView>,
        CView::GetThisClass() };
    return &kClass;
}

const CRuntimeClass* FakeUserLabelView::GetThisClass()
{
    static const CRuntimeClass kClass { kUserLabelViewClassName, &AfxCreateObject<FakeUserLabelView>,
        CView::GetThisClass() };
    return &kClass;
}

ShellTest::ShellTest()
{
    AfxRegisterRuntimeClass(FakeKindOfView::GetThisClass());
    AfxRegisterRuntimeClass(FakeUserLabelView::GetThisClass());
    ModalDialogScript::Enable();
    ModalDialogScript::Reset();
    FileDialogScript::Enable();
    FileDialogScript::Reset();
    m_app = std::make_unique<CCalvornApp>();
}

ShellTest::~ShellTest()
{
    ShutDown();
    m_app.reset();
    ModalDialogScript::Reset();
    FileDialogScript::Reset();
    AfxUnregisterRuntimeClass(FakeKindOfView::GetThisClass());
    AfxUnregisterRuntimeClass(FakeUserLabelView::GetThisClass());
}

BOOL ShellTest::StartUp()
{
    return m_app->InitInstance();
}

void ShellTest::ShutDown()
{
    if (CWnd* frame = m_app ? m_app->m_pMainWnd : nullptr) {
        frame->DestroyWindow();
        AfxRunMessageLoop(); // takes the quit request of the main window
    }
}

CCalvornView* ShellTest::LeftPane() const
{
    return Frame() ? Frame()->GetCalvornView() : nullptr;
}

CTreeCtrl& ShellTest::CategoryTree() const
{
    return *static_cast<CTreeCtrl*>(LeftPane()->GetDlgItem(IDC_CATEGORY_TREE));
}

CCaptionPanel& ShellTest::CaptionPanel() const
{
    return *static_cast<CCaptionPanel*>(LeftPane()->GetDlgItem(IDC_CAPTION_PANEL));
}

CIconButton& ShellTest::LoginButton() const
{
    return *static_cast<CIconButton*>(LeftPane()->GetDlgItem(IDC_LOGIN_BUTTON));
}

FakeKindOfView* ShellTest::WorkScreen() const
{
    CRightCotainerView* right = Frame() ? Frame()->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<FakeKindOfView*>(right->GetKindOfView()) : nullptr;
}

FakeUserLabelView* ShellTest::LabelView() const
{
    CRightCotainerView* right = Frame() ? Frame()->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<FakeUserLabelView*>(right->GetUserLabelView()) : nullptr;
}

void ShellTest::LogOut()
{
    LeftPane()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOGIN_BUTTON, BN_CLICKED), 0);
}

void ShellTest::LogIn(const char* id, const char* password, const char* itemDatabase)
{
    const CString user(id);
    const CString pass(password);
    ModalDialogScript::Push([user, pass](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_LOGIN_ID, user);
        dialog.SetDlgItemText(IDC_LOGIN_PASSWORD, pass);
        AfxClickDlgButton(dialog, IDOK);
    });
    if (*itemDatabase)
        FileDialogScript::PushPath(itemDatabase);
    else
        FileDialogScript::PushCancel();
    const size_t boxesBefore = MessageBoxScript::Count();
    const size_t dialogsBefore = FileDialogScript::Records().size();
    LeftPane()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LOGIN_BUTTON, BN_CLICKED), 0);
    // Done when the log-in failed (a box) or succeeded (the item database dialog ran).
    ASSERT_TRUE(PumpUntil([&] {
        return MessageBoxScript::Count() > boxesBefore || FileDialogScript::Records().size() > dialogsBefore;
    }));
    // The request is over when the done message closed the worker's database
    // and the worker has taken the acknowledgement.
    ASSERT_TRUE(PumpUntil([&] { return LeftPane()->IsManagerWorkerIdle(); }));
}

CString ShellTest::MakeItemDatabase(const char* name)
{
    const CString path(m_root.Native((CString("C:\\items\\") + name).Str()).c_str());
    MakeDirectoryPath(CString(m_root.Native("C:\\items").c_str()));
    EXPECT_TRUE(WriteResourceFile(150, path));
    return path;
}

namespace {

// Opens Manager.mdb in helper; FALSE (with a test failure) when it cannot.
bool OpenManagerDb(CGeneralDaoHelper& helper)
{
    try {
        helper.OpenDatabase(kManagerDatabase);
        return true;
    } catch (CException* e) {
        ADD_FAILURE() << "Manager.mdb: " << e->GetErrorText().GetString();
        e->Delete();
        return false;
    }
}

} // namespace

void ShellTest::ExecuteOnManagerDb(const char* sql)
{
    CGeneralDaoHelper helper;
    if (!OpenManagerDb(helper))
        return;
    const size_t boxes = MessageBoxScript::Count();
    helper.Execute(sql);
    EXPECT_EQ(MessageBoxScript::Count(), boxes) << sql;
}

CString ShellTest::ReadManagerDb(const char* sql)
{
    CGeneralDaoHelper helper;
    if (!OpenManagerDb(helper))
        return CString();
    const CString row = helper.GetFirstRow(sql);
    helper.CloseDatabase();
    const int end = row.Find(kDbValueEnd);
    return end < 0 ? row : row.Left(end);
}

TEST_F(ShellTest, StartUpBuildsTheFrameWithRecordingScreens)
{
    ASSERT_TRUE(StartUp());
    ASSERT_NE(Frame(), nullptr);
    EXPECT_NE(LeftPane(), nullptr);
    EXPECT_NE(WorkScreen(), nullptr);
    EXPECT_NE(LabelView(), nullptr);
}

TEST_F(ShellTest, StartUpFailsWithoutTheWorkScreenClasses)
{
    AfxUnregisterRuntimeClass(FakeKindOfView::GetThisClass());
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}
