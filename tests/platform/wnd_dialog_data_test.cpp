// Dialog data exchange, the dialog's Tab key, the modal and file dialog test
// seams, and the application's ini profile.

#include <gtest/gtest.h>

#include "platform/base/resource_script.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "platform/wnd/dialogs/modal_script.h"
#include "platform/wnd/docview/winapp.h"
#include "tests/support/temp_data_root.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr UINT kDataTemplate = 9501;

void AddDataTemplate()
{
    static const bool added = [] {
        std::vector<ResourceScriptError> errors;
        const BOOL ok = AfxAddResourceScript(R"(
DIALOG 9501 0 0 200 120
  CAPTION "Data"
  FONT 8 "MS Sans Serif"
  CONTROL 1000 EDIT "" 4 4 100 12 WS_BORDER | WS_TABSTOP
  CONTROL 1001 EDIT "" 4 20 100 12 ES_PASSWORD | WS_BORDER | WS_TABSTOP
  CONTROL 1002 EDIT "" 4 36 100 12 WS_BORDER | WS_TABSTOP | WS_DISABLED
  CONTROL 1003 BUTTON "Check" 4 52 60 12 BS_AUTOCHECKBOX | WS_TABSTOP
  CONTROL 1004 BUTTON "A" 4 68 60 12 BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP
  CONTROL 1005 BUTTON "B" 4 84 60 12 BS_AUTORADIOBUTTON
  CONTROL 1006 BUTTON "Other" 70 84 60 12 BS_AUTORADIOBUTTON | WS_GROUP
  CONTROL IDOK BUTTON "OK" 140 4 50 14 BS_DEFPUSHBUTTON | WS_TABSTOP
END
)",
            "wnd_dialog_data_test", &errors);
        EXPECT_TRUE(ok) << (errors.empty() ? "" : errors.front().message.GetString());
        return ok;
    }();
    (void)added;
}

class DataDlg : public CDialog {
public:
    DataDlg()
        : CDialog(kDataTemplate)
    { }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, 1000, text);
        DDX_Text(dx, 1001, number);
        DDX_Check(dx, 1003, check);
        DDX_Radio(dx, 1004, radio);
    }
    CString text = "hello";
    int number = 42;
    int check = 1;
    int radio = 1;
};

class ScriptedDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        AddDataTemplate();
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
    }
    void TearDown() override
    {
        ModalDialogScript::Reset();
        ModalDialogScript::Disable();
    }
    ScopedMessageBoxScript m_boxes;
};

} // namespace

TEST_F(ScriptedDialogTest, DataExchangeFillsControlsAndReadsThemBack)
{
    DataDlg dialog;
    ModalDialogScript::Push([](CDialog& d) {
        CString text;
        d.GetDlgItemText(1000, text);
        EXPECT_EQ(text, "hello");
        d.GetDlgItemText(1001, text);
        EXPECT_EQ(text, "42");
        EXPECT_EQ(d.GetDlgItem(1003)->SendMessage(BM_GETCHECK), BST_CHECKED);
        EXPECT_EQ(d.GetDlgItem(1005)->SendMessage(BM_GETCHECK), BST_CHECKED);
        EXPECT_EQ(d.GetDlgItem(1006)->SendMessage(BM_GETCHECK), BST_UNCHECKED);
        d.SetDlgItemText(1000, "typed");
        d.SetDlgItemText(1001, " -7 ");
        d.GetDlgItem(1003)->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        d.GetDlgItem(1005)->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        d.GetDlgItem(1004)->SendMessage(BM_SETCHECK, BST_CHECKED);
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.text, "typed");
    EXPECT_EQ(dialog.number, -7);
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.radio, 0);
}

TEST_F(ScriptedDialogTest, NonNumberIsRefusedAndTheDialogStaysOpen)
{
    DataDlg dialog;
    ModalDialogScript::Push([](CDialog& d) {
        d.SetDlgItemText(1001, "12x");
        AfxClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(ModalDialogScript::Records().size(), 1u);
    EXPECT_TRUE(ModalDialogScript::Records()[0].leftOpen);
    EXPECT_EQ(ModalDialogScript::Records()[0].templateId, kDataTemplate);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Please enter an integer.");
    EXPECT_EQ(dialog.number, 42);
}

TEST_F(ScriptedDialogTest, WithoutAnActionTheDialogIsCancelled)
{
    DataDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(ModalDialogScript::Records().size(), 1u);
}

TEST_F(ScriptedDialogTest, TabMovesAlongTheTabStopsSkippingDisabledOnes)
{
    DataDlg dialog;
    std::vector<int> focus;
    ModalDialogScript::Push([&](CDialog& d) {
        // Tab at the focus, and where the focus went.
        const auto tab = [&] {
            MSG msg;
            msg.hwnd = CWnd::GetFocus()->GetSafeHwnd();
            msg.message = WM_KEYDOWN;
            msg.wParam = VK_TAB;
            EXPECT_TRUE(d.PreTranslateMessage(&msg));
            focus.push_back(CWnd::GetFocus()->GetDlgCtrlID());
        };
        d.GetDlgItem(1000)->SetFocus();
        for (int i = 0; i < 4; ++i)
            tab();
        SetKeyStateOverride(VK_SHIFT, TRUE);
        tab();
        ClearKeyStateOverrides();
        AfxClickDlgButton(d, IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(focus, (std::vector<int> { 1001, 1003, 1004, IDOK, 1004 }));
}

TEST(WndFileDialog, ScriptAnswersAndRecords)
{
    FileDialogScript::Enable();
    FileDialogScript::Reset();
    FileDialogScript::PushPath("/tmp/store/items.mdb");
    CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "mdb File(*.mdb)|*.mdb||");
    open.m_ofn.lpstrTitle = "ItemDB File Open";
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/store/items.mdb");
    EXPECT_EQ(open.GetFileName(), "items.mdb");
    EXPECT_EQ(open.GetFileTitle(), "items");
    EXPECT_EQ(open.GetFileExt(), "mdb");
    CFileDialog save(FALSE);
    EXPECT_EQ(save.DoModal(), IDCANCEL); // nothing queued
    const std::vector<FileDialogRecord> records = FileDialogScript::Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].open);
    EXPECT_EQ(records[0].title, "ItemDB File Open");
    EXPECT_EQ(records[0].flags, OFN_HIDEREADONLY);
    EXPECT_FALSE(records[1].open);
    FileDialogScript::Reset();
    FileDialogScript::Disable();
}

TEST(WndProfile, ValuesAndRecentFilesLiveInAnIniFile)
{
    TempDataRoot root;
    {
        CWinApp app("Profiled");
        EXPECT_FALSE(app.WriteProfileString("Settings", "Key", "value")); // no key yet
        app.SetRegistryKey("Store Program");
        app.LoadStdProfileSettings(2);
        EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "한글 값"));
        EXPECT_TRUE(app.WriteProfileInt("Settings", "Count", 12));
        app.AddToRecentFileList("/a.mdb");
        app.AddToRecentFileList("/b.mdb");
        app.AddToRecentFileList("/c.mdb");
        app.AddToRecentFileList("/B.mdb");
        EXPECT_EQ(app.GetRecentFiles(), (std::vector<CString> { "/B.mdb", "/c.mdb" }));
        const std::string ini = TempDataRoot::ReadAll(app.GetProfilePath().GetString());
        EXPECT_NE(ini.find("[Settings]\r\n"), std::string::npos);
        EXPECT_NE(ini.find("Count=12\r\n"), std::string::npos);
    }
    CWinApp again("Profiled");
    again.SetRegistryKey("Store Program");
    again.LoadStdProfileSettings(4);
    EXPECT_EQ(again.GetProfileString("settings", "name"), "한글 값");
    EXPECT_EQ(again.GetProfileInt("Settings", "Count", 0), 12u);
    EXPECT_EQ(again.GetProfileInt("Settings", "Missing", 5), 5u);
    EXPECT_EQ(again.GetRecentFiles(), (std::vector<CString> { "/B.mdb", "/c.mdb" }));
}
