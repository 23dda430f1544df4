// The communication dialog (141) and the scale information dialog (140)
// around a stand-in work screen.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/icon_button.h"
#include "platform/base/cp949.h"
#include "resources/calvorn_ids.h"
#include "serial/comm_setup_dlg.h"
#include "serial/scale_info_dlg.h"
#include "tests/support/click_at.h"
#include "tests/support/dlg_item.h"
#include "tests/support/icon_check.h"
#include "tests/support/register_screen.h"
#include "tests/support/store_fault.h"

// ---- Dialog 141

namespace {

constexpr const char* kSettingsFile = "C:\\Windows\\system\\Manager\\Auto_Comset_File.bin";

class CommSetupTest : public ScaleRegisterTest {
protected:
    void SetUp() override
    {
        ScaleRegisterTest::SetUp();
        ASSERT_TRUE(m_dialog.Create(IDD_COMM_SETUP, &m_screen));
        m_dialog.SetOwnerView(&m_screen);
        m_screen.m_settings.InsertRegistered(0, "Scale name = 저울, IP=10.0.0.1");
        m_screen.m_settings.InsertRegistered(1, "Scale name = B, IP=10.0.0.2");
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        ScaleRegisterTest::TearDown();
    }
    void Send(UINT id, UINT code = 0) { m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); }
    std::string File() const { return TempDataRoot::ReadAll(m_root.Native(kSettingsFile)); }

    CCommSetupDlg m_dialog;
};

} // namespace

TEST_F(CommSetupTest, ModeChangeEmptiesBothListsAndAsksForTheModesScales)
{
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).GetCount(), 2);
    m_screen.m_settings.AddChosen("Scale name = B, IP=10.0.0.2");
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetCount(), 1);
    DlgItem<CButton>(m_dialog, IDC_COMM_ALL_SELECT).SetCheck(1);
    DlgItem<CComboBox>(m_dialog, IDC_COMM_MODE).SetCurSel(1);
    Send(IDC_COMM_MODE, CBN_SELCHANGE);
    EXPECT_EQ(DlgItem<CButton>(m_dialog, IDC_COMM_ALL_SELECT).GetCheck(), 0);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).GetCount(), 0);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetCount(), 0);
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Serial");
    DlgItem<CComboBox>(m_dialog, IDC_COMM_MODE).SetCurSel(0);
    Send(IDC_COMM_MODE, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_modes, (std::vector<int> { 2, 1 }));
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Ethernet");
    DlgItem<CComboBox>(m_dialog, IDC_COMM_PORT).SetCurSel(7);
    Send(IDC_COMM_PORT, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_comPort, 8);
    EXPECT_EQ(m_dialog.GetComPort(), 8);
    EXPECT_EQ(m_screen.m_settings.GetPort(), 7);
}

TEST_F(CommSetupTest, SettingsFileHoldsModePortAndChosenScalesInCp949)
{
    struct Case {
        int mode;
        int port;
        std::string expected;
    };
    const std::string chosen
        = Utf8ToCp949("Scale name = 저울, IP=10.0.0.1\r\nScale name = B, IP=10.0.0.2\r\n");
    const Case cases[] = {
        { 0, -1, "Auto\r\nethernet\r\nsocket\r\n" + chosen },
        { 1, 4, "Auto\r\nserial\r\ncom5\r\n" + chosen },
        { 1, 0, "Auto\r\nserial\r\ncom1\r\n" + chosen },
        { 1, -1, "Auto\r\nserial\r\n" + chosen },
        { 1, 8, "Auto\r\nserial\r\n" + chosen }, // there is no ninth port
        { -1, 2, "Auto\r\n" + chosen },
    };
    DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).SetCurSel(0);
    Send(IDC_COMM_SELECT);
    DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).SetCurSel(1);
    Send(IDC_COMM_SELECT);
    for (const Case& c : cases) {
        m_screen.m_settings.SelectMode(TransportOfEntry(c.mode));
        m_screen.m_settings.SelectPort(c.port);
        Send(IDOK);
        EXPECT_EQ(File(), c.expected) << c.mode << " " << c.port;
    }
    // The file is replaced, never rewritten in place: a reader holding the old one keeps it whole.
    const std::string held = m_root.Native(kSettingsFile) + ".held";
    std::filesystem::create_hard_link(m_root.Native(kSettingsFile), held);
    m_screen.m_settings.SelectMode(Transport::Ethernet);
    Send(IDOK);
    EXPECT_EQ(TempDataRoot::ReadAll(held), cases[5].expected);
    EXPECT_EQ(File(), cases[0].expected);
}

TEST_F(CommSetupTest, SelectRemoveAndAllSelectEditTheChosenList)
{
    Send(IDC_COMM_SELECT); // nothing selected
    EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
    DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).SetCurSel(1);
    Send(IDC_COMM_SELECT);
    DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).SetCurSel(0);
    Send(IDC_COMM_SELECT);
    EXPECT_EQ(m_screen.m_settings.GetChosen(),
        (std::vector<CString> { "Scale name = B, IP=10.0.0.2", "Scale name = 저울, IP=10.0.0.1" }));
    DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).SetCurSel(0);
    Send(IDC_COMM_REMOVE);
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = 저울, IP=10.0.0.1" });
    Send(IDC_COMM_REMOVE); // the selection went with the entry
    EXPECT_EQ(m_screen.m_settings.GetChosen().size(), 1u);
    DlgItem<CButton>(m_dialog, IDC_COMM_ALL_SELECT).SetCheck(1);
    Send(IDC_COMM_ALL_SELECT);
    EXPECT_EQ(m_screen.m_settings.GetChosen(), m_screen.m_settings.GetRegistered());
    DlgItem<CButton>(m_dialog, IDC_COMM_ALL_SELECT).SetCheck(0);
    Send(IDC_COMM_ALL_SELECT);
    EXPECT_TRUE(m_screen.m_settings.GetChosen().empty());
}

TEST_F(CommSetupTest, TheDialogShowsItsOwnersSettingsAndTipsItsButtons)
{
    // A list that changes only in its first line is shown anew.
    m_screen.m_settings.SetChosen({ "a", "b" });
    m_screen.m_settings.SetChosen({ "z", "b" });
    CString text;
    DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetText(0, text);
    EXPECT_EQ(text, "z");

    // Another work screen: the dialog follows it, not the first one.
    RegisterScreen other;
    other.m_settings.SetChosen({ "other" });
    m_dialog.SetOwnerView(&other);
    m_screen.m_settings.SetChosen({ "first", "again" });
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetCount(), 1);
    other.m_settings.AddChosen("more");
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetCount(), 2);
    m_dialog.SetOwnerView(&m_screen);
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetCount(), 2);
    DlgItem<CListBox>(m_dialog, IDC_COMM_CHOSEN_LIST).GetText(0, text);
    EXPECT_EQ(text, "first");

    // A mode chosen elsewhere shows in the dialog.
    m_screen.m_settings.SelectMode(Transport::Serial);
    EXPECT_EQ(DlgItem<CComboBox>(m_dialog, IDC_COMM_MODE).GetCurSel(), 1); // "Serial"

    // The ports the engine can open, COM 1 to COM 8.
    const CComboBox& ports = DlgItem<CComboBox>(m_dialog, IDC_COMM_PORT);
    ASSERT_EQ(ports.GetCount(), 8);
    ports.GetLBText(7, text);
    EXPECT_EQ(text, "COM 8");

    for (const auto& [id, icon, tip] : { std::tuple { IDOK, 163, "Ok" }, { IDC_COMM_SELECT, 170, "Select" },
             { IDC_COMM_REMOVE, 171, "Remove" } }) {
        auto* button = dynamic_cast<CIconButton*>(m_dialog.GetDlgItem(id));
        ASSERT_NE(button, nullptr) << tip;
        button->GetToolTip().GetText(text, button, 1);
        EXPECT_EQ(text, tip);
        EXPECT_TRUE(ShowsIcon(m_dialog, id, icon)) << tip;
        if (id != IDOK) {
            button->GetWindowText(text);
            EXPECT_EQ(text, tip);
        }
    }
}

TEST_F(CommSetupTest, NetworkSettingsModeAllowsOneChosenScale)
{
    m_dialog.SetMode("Scale_Root_Info");
    m_dialog.ShowWindow(SW_SHOW);
    m_screen.m_settings.SetChosen(m_screen.m_settings.GetRegistered());
    Send(IDOK);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "One Select Scale(Scale info2)");
    EXPECT_FALSE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_TRUE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.SetMode("Scale_Info");
    Send(IDOK);
    EXPECT_TRUE(TempDataRoot::Exists(m_root.Native(kSettingsFile)));
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
    m_dialog.ShowWindow(SW_SHOW);
    Send(IDCANCEL);
    EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
}

// ---- Dialog 140

using ScaleInfoDlgTest = ScaleRegisterTest;

TEST_F(ScaleInfoDlgTest, ReturnsTheFieldsOfItsMode)
{
    struct Case {
        DbRequest mode;
        const char* name;
        const char* scaleId;
        int result;
        const char* nameBack;
        const char* keyBack;
        const char* message;
        const char* ip = "127.0.0.2";
        const char* ipBack = "127.0.0.2";
    };
    const Case cases[] = {
        { DbRequest::ScaleUpdate, "A", "3", IDOK, "A", "77", nullptr },
        { DbRequest::ScaleInsert, "", "3", IDOK, "TEMP", "5", nullptr, " 10.0.0.07 ", "10.0.0.7" },
        { DbRequest::ScaleInsert, "A", "", IDCANCEL, "A", "5", "Input Scale ID" },
        // A typed address must be one that can exist; a serial scale has none.
        { DbRequest::ScaleInsert, "A", "3", IDCANCEL, "A", "5", "The IP address", "10.0.0.300",
            "10.0.0.300" },
        { DbRequest::ScaleInsert, "A", "3", IDOK, "A", "5", nullptr, "", "" },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        CScaleInfoDlg dialog(&m_screen);
        dialog.SetMode(c.mode);
        ScaleInfo start;
        start.scaleNum = "9";
        start.key = "5";
        start.managerId = "kim";
        dialog.SetInfo(start);
        CString shownNumber;
        CString okText;
        CString okTip;
        bool icons = false;
        std::vector<CString> labels;
        bool hidden = false;
        ModalDialogScript::Push([&](CDialog& d) {
            d.GetDlgItemText(IDC_SCALE_INFO_NUMBER, shownNumber);
            d.GetDlgItemText(IDOK, okText);
            if (auto* ok = dynamic_cast<CIconButton*>(d.GetDlgItem(IDOK)))
                ok->GetToolTip().GetText(okTip, ok, 1);
            icons = ShowsIcon(d, IDOK, c.mode == DbRequest::ScaleUpdate ? 178 : 181)
                && ShowsIcon(d, IDCANCEL, 162);
            for (int id :
                { IDC_SCALE_INFO_NUMBER_LABEL, IDC_SCALE_INFO_NAME_LABEL, IDC_SCALE_INFO_IP_LABEL,
                    IDC_SCALE_INFO_SCALE_ID_LABEL, IDC_SCALE_INFO_KEY_LABEL, IDC_SCALE_INFO_MANAGER_LABEL }) {
                CString label;
                d.GetDlgItemText(id, label);
                labels.push_back(label);
            }
            hidden = true; // the manager and key edits and their labels
            for (int id : { IDC_SCALE_INFO_KEY, IDC_SCALE_INFO_MANAGER, IDC_SCALE_INFO_KEY_LABEL,
                     IDC_SCALE_INFO_MANAGER_LABEL })
                hidden = hidden && !(d.GetDlgItem(id)->GetStyle() & WS_VISIBLE);
            d.SetDlgItemText(IDC_SCALE_INFO_NAME, c.name);
            d.SetDlgItemText(IDC_SCALE_INFO_IP, c.ip);
            d.SetDlgItemText(IDC_SCALE_INFO_SCALE_ID, c.scaleId);
            d.SetDlgItemText(IDC_SCALE_INFO_KEY, "77");
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), c.result) << RequestName(c.mode) << c.scaleId;
        EXPECT_EQ(shownNumber, "0");
        EXPECT_EQ(okText, c.mode == DbRequest::ScaleUpdate ? "UPDATE" : "INSERT");
        EXPECT_EQ(okTip, c.mode == DbRequest::ScaleUpdate ? "Update" : "Insert");
        EXPECT_TRUE(icons) << RequestName(c.mode);
        EXPECT_EQ(labels,
            (std::vector<CString> { "Scale Num", "Scale name", "IP Addr", "Scale ID Num", "ID", "User ID" }));
        EXPECT_TRUE(hidden);
        const ScaleInfo& info = dialog.GetInfo();
        EXPECT_EQ(info.scaleName, c.nameBack) << RequestName(c.mode);
        EXPECT_EQ(info.key, c.keyBack) << RequestName(c.mode);
        EXPECT_EQ(info.scaleNum, "0");
        EXPECT_EQ(info.ip, c.ipBack);
        EXPECT_EQ(info.managerId, "kim");
        ASSERT_EQ(m_boxes.Records().size(), c.message ? 1u : 0u) << c.ip;
        if (c.message) {
            EXPECT_EQ(m_boxes.Records()[0].text.Find(c.message), 0) << m_boxes.Records()[0].text.GetString();
        }
    }
}

TEST_F(CommSetupTest, SettingsThatCannotBeSavedAreToldAndTheChoiceStays)
{
    const std::string folder = m_root.Native("C:\\Windows\\system\\Manager");
    const std::string saved = "Auto\r\nserial\r\ncom2\r\n";
    for (const bool full : { false, true }) {
        FullDisk disk;
        ReadOnlyPath readOnly;
        if (full
            && !(disk.Mount(folder)
                && (TempDataRoot::WriteAll(m_root.Native(kSettingsFile), saved), disk.Fill())))
            continue;
        if (!full) {
            TempDataRoot::WriteAll(m_root.Native(kSettingsFile), saved);
            ASSERT_TRUE(readOnly.Apply(folder));
        }
        MessageBoxScript::Reset();
        m_screen.m_settings.SetChosen({});
        m_screen.m_settings.SelectMode(Transport::Ethernet);
        m_dialog.Open();
        DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).SetCurSel(1);
        ASSERT_TRUE(ClickButton(m_dialog, IDC_COMM_SELECT));
        ASSERT_TRUE(ClickButton(m_dialog, IDOK));
        ASSERT_EQ(m_boxes.Records().size(), 1u) << full;
        const std::string text = m_boxes.Records()[0].text.Str();
        EXPECT_EQ(text.rfind("The communication settings were not saved.", 0), 0u) << text;
        EXPECT_NE(text.find(full ? "Disk full" : "denied"), std::string::npos) << text;
        EXPECT_TRUE(m_dialog.GetStyle() & WS_VISIBLE);
        EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = B, IP=10.0.0.2" });
        EXPECT_EQ(File(), saved);
        // The cause gone, the same Ok saves the choice.
        disk.Free();
        readOnly.Undo();
        ASSERT_TRUE(ClickButton(m_dialog, IDOK));
        EXPECT_EQ(m_boxes.Records().size(), 1u);
        EXPECT_FALSE(m_dialog.GetStyle() & WS_VISIBLE);
        EXPECT_EQ(File(), "Auto\r\nethernet\r\nsocket\r\nScale name = B, IP=10.0.0.2\r\n");
    }
}

TEST_F(CommSetupTest, ChoosingTheModeInForceKeepsTheChosenScales)
{
    m_screen.m_settings.SelectMode(Transport::Ethernet);
    m_screen.m_settings.AddChosen("Scale name = B, IP=10.0.0.2");
    DlgItem<CComboBox>(m_dialog, IDC_COMM_MODE).SetCurSel(0);
    Send(IDC_COMM_MODE, CBN_SELCHANGE);
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = B, IP=10.0.0.2" });
    EXPECT_EQ(DlgItem<CListBox>(m_dialog, IDC_COMM_ALL_LIST).GetCount(), 2);
    EXPECT_TRUE(m_screen.m_modes.empty());
}

TEST_F(CommSetupTest, EscapePutsBackTheModeTheDialogOpenedWith)
{
    m_screen.m_settings.SelectMode(Transport::Serial);
    m_screen.m_settings.AddChosen("Scale name = B, IP=10.0.0.2");
    // Nothing changed: the scales of the mode are not asked for again.
    m_dialog.Open();
    Send(IDCANCEL);
    EXPECT_TRUE(m_screen.m_modes.empty());
    // Switched to Ethernet, then Escape: Serial and its scales again.
    m_dialog.Open();
    DlgItem<CComboBox>(m_dialog, IDC_COMM_MODE).SetCurSel(0);
    Send(IDC_COMM_MODE, CBN_SELCHANGE);
    Send(IDCANCEL);
    EXPECT_EQ(m_screen.m_modes, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(m_screen.m_settings.ModeText(), "Serial");
    EXPECT_EQ(m_screen.m_settings.GetChosen(), std::vector<CString> { "Scale name = B, IP=10.0.0.2" });
}
