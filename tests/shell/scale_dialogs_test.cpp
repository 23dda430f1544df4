// The small dialogs of the work screen and the results server: what each
// refuses, with which message, where the focus goes, and what it hands back.

#include <functional>

#include "platform/base/file_system.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/mouse_track.h"
#include "resources/calvorn_ids.h"
#include "shell/file_helpers.h"
#include "shell/message_dlg.h"
#include "shell/scale_dialogs.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/click_at.h"

namespace {

class ScaleDialogTest : public testing::Test {
protected:
    ScaleDialogTest()
    {
        ModalDialogScript::Enable();
        ModalDialogScript::Reset();
        MakeDirectoryPath("C:\\Windows\\system\\Manager");
        WriteResourceFile(152, "C:\\Windows\\system\\Manager\\Manager.mdb");
    }
    ~ScaleDialogTest() override { ModalDialogScript::Reset(); }

    // Runs dialog with action; the focused control's id afterwards goes to focus.
    INT_PTR Run(CDialog& dialog, std::function<void(CDialog&)> action, int* focus = nullptr)
    {
        ModalDialogScript::Push([action, focus](CDialog& d) {
            action(d);
            if (focus) {
                CWnd* focused = CWnd::GetFocus();
                *focus = focused ? focused->GetDlgCtrlID() : 0;
            }
        });
        return dialog.DoModal();
    }

public:
    static void Select(CDialog& dialog, int id, int index)
    {
        auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(id));
        ASSERT_NE(combo, nullptr) << id;
        combo->SetCurSel(index);
    }

protected:
    TempDataRoot m_root;
    ScopedMessageBoxScript m_boxes;
};

// ---- Dialog 209

struct BasicCase {
    int id;
    const char* text; // for an edit; nullptr: leave the combo unselected
    const char* message; // nullptr: accepted
};

// Fills every field of dialog 209 with a passing value.
void FillBasic(CDialog& dialog)
{
    for (int id : { IDC_BASIC_WEIGHT_DIGITS, IDC_BASIC_PRICE_DIGITS, IDC_BASIC_WEIGHT_UNIT,
             IDC_BASIC_LIMIT_DAY, IDC_BASIC_USER_LABEL, IDC_BASIC_POS_FLAG, IDC_BASIC_ADV_NUMBER,
             IDC_BASIC_PRICE_UNIT, IDC_BASIC_PASSWORD, IDC_BASIC_VAT })
        dialog.SetDlgItemText(id, "1");
    dialog.SetDlgItemText(IDC_BASIC_PRESET_PAGE, "2");
    dialog.SetDlgItemText(IDC_BASIC_BARCODE_PRICE, "3");
    for (int id : { IDC_BASIC_LABEL, IDC_BASIC_BARCODE_FORMAT, IDC_BASIC_NAME_SORT, IDC_BASIC_LAND_SORT,
             IDC_BASIC_CODE_LAND })
        ScaleDialogTest::Select(dialog, id, 1);
}

TEST_F(ScaleDialogTest, BasicInfoRefusesTheFirstFailingFieldOnly)
{
    const BasicCase cases[] = {
        { IDC_BASIC_WEIGHT_DIGITS, "4", "Weight maximum cipher is 3" },
        { IDC_BASIC_WEIGHT_DIGITS, "3", nullptr },
        { IDC_BASIC_PRICE_DIGITS, "4", "Price maximum cipher is 3" },
        { IDC_BASIC_WEIGHT_UNIT, "2", "Weight unit is 0 or 1" },
        { IDC_BASIC_PRESET_PAGE, "", "Preset page is 1 ~3 page" },
        { IDC_BASIC_PRESET_PAGE, "4", "Preset page is 1 ~3 page" }, { IDC_BASIC_PRESET_PAGE, "1", nullptr },
        { IDC_BASIC_LIMIT_DAY, "1000", "Limit day : Maximum 999" },
        { IDC_BASIC_LABEL, nullptr, "Select a Label kind" },
        { IDC_BASIC_USER_LABEL, "101", "Userlabel : Maximum 100" },
        { IDC_BASIC_POS_FLAG, "100", "Pos-flag : Maximum 99" },
        { IDC_BASIC_BARCODE_FORMAT, nullptr, "Select a Barcode Print Format" },
        { IDC_BASIC_BARCODE_PRICE, "0", "Barcode price select : 1 ~ 3" },
        { IDC_BASIC_NAME_SORT, nullptr, "Item name sorting : 1 ~ 4" },
        { IDC_BASIC_LAND_SORT, nullptr, "Land sorting : 1 ~ 4" },
        { IDC_BASIC_CODE_LAND, nullptr, "Select a land" },
        { IDC_BASIC_ADV_NUMBER, "71", "Advertisement : Maximum 70" },
        { IDC_BASIC_PRICE_UNIT, "5", "Price unit : Maximum 4" },
        { IDC_BASIC_PASSWORD, "100000", "Password : 0 ~ 99999" },
        { IDC_BASIC_PASSWORD, "-1", "Password : 0 ~ 99999" }, { IDC_BASIC_PASSWORD, "99999", nullptr },
        { IDC_BASIC_DEL_WON, "999999", nullptr }, // a Korean-version field is never read in "eng"
    };
    for (const BasicCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << "=" << (c.text ? c.text : "none"));
        MessageBoxScript::Reset();
        CScaleBasicInfoDlg dialog;
        dialog.m_nFirstFlag = 1;
        dialog.m_strVersion = "eng";
        int focus = 0;
        const INT_PTR result = Run(
            dialog,
            [&](CDialog& d) {
                FillBasic(d);
                d.SetDlgItemText(IDC_BASIC_USER_LABEL, "7"); // a later field shows no message of its own
                if (c.text)
                    d.SetDlgItemText(c.id, c.text);
                else
                    Select(d, c.id, -1);
                // A later failing field shows no message of its own.
                const int later = c.id == IDC_BASIC_ADV_NUMBER || c.id == IDC_BASIC_PRICE_UNIT
                    ? IDC_BASIC_PASSWORD
                    : (c.id == IDC_BASIC_PASSWORD ? 0 : IDC_BASIC_ADV_NUMBER);
                if (c.message && later)
                    d.SetDlgItemText(later, later == IDC_BASIC_PASSWORD ? "-5" : "500");
                AfxClickDlgButton(d, IDOK);
            },
            &focus);
        if (c.message) {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
            EXPECT_EQ(focus, c.id);
            EXPECT_EQ(dialog.m_values[0], "");
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(MessageBoxScript::Count(), 0u);
        }
    }
}

TEST_F(ScaleDialogTest, BasicInfoStoresNormalisedValuesAndSelectionNumbers)
{
    CScaleBasicInfoDlg dialog;
    dialog.m_nFirstFlag = 1;
    dialog.m_strVersion = "eng";
    ASSERT_EQ(Run(dialog,
                  [](CDialog& d) {
                      FillBasic(d);
                      d.SetDlgItemText(IDC_BASIC_WEIGHT_DIGITS, "");
                      d.SetDlgItemText(IDC_BASIC_PRICE_DIGITS, "-1");
                      d.SetDlgItemText(IDC_BASIC_WEIGHT_UNIT, "0");
                      d.SetDlgItemText(IDC_BASIC_PRICE_UNIT, "-1"); // a field past the common ones keeps -1
                      d.SetDlgItemText(IDC_BASIC_VAT, "10");
                      Select(d, IDC_BASIC_LABEL, 12);
                      Select(d, IDC_BASIC_BARCODE_FORMAT, 0);
                      Select(d, IDC_BASIC_NAME_SORT, 3);
                      Select(d, IDC_BASIC_LAND_SORT, 2);
                      Select(d, IDC_BASIC_CODE_LAND, 1); // "TRUE"
                      Select(d, IDC_BASIC_LIMIT_PRINT_INFO, 1); // "TRUE"
                      Select(d, IDC_BASIC_LIMIT_PRINT_TYPE, 0); // "1. All Print"
                      AfxClickDlgButton(d, IDOK);
                  }),
        IDOK);
    const char* expected[] = { "0", "0", "0", "2", "1", "13", "1", "1", "1", "3", "4", "3", "1", "1", "1",
        "1", "-1", "1", "10", "", "" };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(dialog.m_values[i], expected[i]) << i;
    for (std::size_t i = 21; i < dialog.m_values.size(); ++i)
        EXPECT_TRUE(dialog.m_values[i].IsEmpty()) << i;
}

TEST_F(ScaleDialogTest, BasicInfoLoadsAnExistingScaleAndShowsOneVersionsFields)
{
    CScaleBasicInfoDlg dialog;
    dialog.m_nFirstFlag = 1;
    dialog.m_nLoadFlag = 1;
    dialog.m_strVersion = "eng";
    const char* values[] = { "1", "2", "1", "3", "30", "5", "9", "8", "2", "1", "3", "4", "1", "6", "1", "3",
        "2", "1234", "10" };
    for (std::size_t i = 0; i < std::size(values); ++i)
        dialog.m_values[i] = values[i];
    bool koreanHidden = false;
    bool englishShown = false;
    ASSERT_EQ(Run(dialog,
                  [&](CDialog& d) {
                      koreanHidden = !d.GetDlgItem(IDC_BASIC_DEL_WON)->IsWindowVisible()
                          && !d.GetDlgItem(IDC_BASIC_HAN_FONT_LABEL)->IsWindowVisible();
                      englishShown = d.GetDlgItem(IDC_BASIC_PRICE_UNIT)->IsWindowVisible();
                      AfxClickDlgButton(d, IDOK);
                  }),
        IDOK);
    EXPECT_TRUE(koreanHidden);
    EXPECT_TRUE(englishShown);
    // Read back unchanged.
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(dialog.m_values[i], values[i]) << i;
}

TEST_F(ScaleDialogTest, BasicInfoShowsTheFieldsOfItsVersionOnly)
{
    const int english[] = { IDC_BASIC_PRICE_UNIT_LABEL, IDC_BASIC_PASSWORD_LABEL, IDC_BASIC_VAT_LABEL,
        IDC_BASIC_PRICE_UNIT, IDC_BASIC_PASSWORD, IDC_BASIC_VAT };
    const int korean[]
        = { IDC_BASIC_DEL_WON_LABEL, IDC_BASIC_HAN_FONT_LABEL, IDC_BASIC_DEL_WON, IDC_BASIC_HAN_FONT };
    for (const char* version : { "eng", "kor" }) {
        SCOPED_TRACE(version);
        CScaleBasicInfoDlg dialog;
        dialog.m_strVersion = version;
        const bool isEnglish = CString(version) == "eng";
        Run(dialog, [&](CDialog& d) {
            for (int id : english)
                EXPECT_EQ(d.GetDlgItem(id)->IsWindowVisible() != FALSE, isEnglish) << id;
            for (int id : korean)
                EXPECT_EQ(d.GetDlgItem(id)->IsWindowVisible() != FALSE, !isEnglish) << id;
            AfxClickDlgButton(d, IDCANCEL);
        });
    }
}

// ---- Dialog 211

TEST_F(ScaleDialogTest, NetInfoLoadsTheRegisteredValues)
{
    CScaleNetInfoDlg dialog;
    dialog.m_nLoadFlag = 1;
    const char* values[] = { "1", "2", "12", "192.168.0.12", "255.255.255.0", "10.0.0.1", "5" };
    for (std::size_t i = 0; i < std::size(values); ++i)
        dialog.m_values[i] = values[i];
    int initial = -1;
    int mode = -1;
    std::vector<CString> texts;
    Run(dialog, [&](CDialog& d) {
        initial = dynamic_cast<CComboBox*>(d.GetDlgItem(IDC_NET_ETHERNET_INIT))->GetCurSel();
        mode = dynamic_cast<CComboBox*>(d.GetDlgItem(IDC_NET_ETHERNET_MODE))->GetCurSel();
        for (int id : { IDC_NET_SCALE_ID, IDC_NET_SCALE_IP, IDC_NET_MASK, IDC_NET_DESTINATION_IP,
                 IDC_NET_DESTINATION_PORT }) {
            CString text;
            d.GetDlgItemText(id, text);
            texts.push_back(text);
        }
        AfxClickDlgButton(d, IDCANCEL);
    });
    EXPECT_EQ(initial, 1);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(texts, (std::vector<CString> { "12", "192.168.0.12", "255.255.255.0", "10.0.0.1", "5" }));
}

void FillNet(CDialog& dialog)
{
    ScaleDialogTest::Select(dialog, IDC_NET_ETHERNET_INIT, 1);
    ScaleDialogTest::Select(dialog, IDC_NET_ETHERNET_MODE, 2);
    dialog.SetDlgItemText(IDC_NET_SCALE_ID, "12");
    dialog.SetDlgItemText(IDC_NET_SCALE_IP, "192.168.0.12");
    dialog.SetDlgItemText(IDC_NET_MASK, "255.255.255.0");
    dialog.SetDlgItemText(IDC_NET_DESTINATION_IP, "");
    dialog.SetDlgItemText(IDC_NET_DESTINATION_PORT, "5");
}

TEST_F(ScaleDialogTest, NetInfoRefusesInTableOrder)
{
    const BasicCase cases[] = {
        { IDC_NET_ETHERNET_INIT, nullptr, "Select a Ethernet Initial" },
        { IDC_NET_ETHERNET_MODE, nullptr, "Select a Ethernet Mode" },
        { IDC_NET_SCALE_ID, "0", "Scale ID : 1 ~ 99" },
        { IDC_NET_SCALE_ID, "100", "Scale ID : 1 ~ 99" },
        { IDC_NET_SCALE_ID, "99", nullptr },
        { IDC_NET_SCALE_IP, "300.1.1.1", "IP Address : 0.0.0.0 ~ 255.255.255.255" },
        { IDC_NET_MASK, "1.2.3", "IP Address : 0.0.0.0 ~ 255.255.255.255" },
        { IDC_NET_SCALE_IP, "1.2.3.4.5", "IP Address : 0.0.0.0 ~ 255.255.255.255" },
        { IDC_NET_DESTINATION_IP, "1.2.3.4.", "IP Address : 0.0.0.0 ~ 255.255.255.255" },
        { IDC_NET_DESTINATION_IP, "1..3.4", "IP Address : 0.0.0.0 ~ 255.255.255.255" },
        { IDC_NET_DESTINATION_IP, " 10.0.0.1 ", nullptr },
        { IDC_NET_DESTINATION_PORT, "", "Destination Port : 1000 ~ 9999" },
        { IDC_NET_DESTINATION_PORT, "0", "Destination Port : 1000 ~ 9999" },
        { IDC_NET_DESTINATION_PORT, "65536", "Destination Port : 1000 ~ 9999" },
        { IDC_NET_DESTINATION_PORT, "1239", "This Port number is not useable number" },
        { IDC_NET_DESTINATION_PORT, "1235", "This Port number is not useable number" },
        { IDC_NET_DESTINATION_PORT, "65535", nullptr },
        { IDC_NET_DESTINATION_PORT, "1", nullptr },
    };
    for (const BasicCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << "=" << (c.text ? c.text : "none"));
        MessageBoxScript::Reset();
        CScaleNetInfoDlg dialog;
        int focus = 0;
        const INT_PTR result = Run(
            dialog,
            [&](CDialog& d) {
                FillNet(d);
                if (c.text)
                    d.SetDlgItemText(c.id, c.text);
                else
                    Select(d, c.id, -1);
                if (c.message)
                    d.SetDlgItemText(IDC_NET_DESTINATION_PORT,
                        c.id == IDC_NET_DESTINATION_PORT ? c.text : "0"); // a later failure is not shown
                AfxClickDlgButton(d, IDOK);
            },
            &focus);
        if (c.message) {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.message);
            EXPECT_EQ(focus, c.id);
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(MessageBoxScript::Count(), 0u);
        }
    }
}

TEST_F(ScaleDialogTest, NetInfoReturnsItsValuesAndAsksAboutRegisteredScales)
{
    CScaleNetInfoDlg fresh;
    ASSERT_EQ(Run(fresh,
                  [](CDialog& d) {
                      FillNet(d);
                      AfxClickDlgButton(d, IDOK);
                  }),
        IDOK);
    const char* expected[] = { "1", "2", "12", "192.168.0.12", "255.255.255.0", "0.0.0.0", "5" };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(fresh.m_values[i], expected[i]) << i;
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    CScaleNetInfoDlg first; // the combos' first entries are choices too
    ASSERT_EQ(Run(first,
                  [](CDialog& d) {
                      FillNet(d);
                      Select(d, IDC_NET_ETHERNET_INIT, 0);
                      Select(d, IDC_NET_ETHERNET_MODE, 0);
                      AfxClickDlgButton(d, IDOK);
                  }),
        IDOK);
    EXPECT_EQ(first.m_values[0], "0");
    EXPECT_EQ(first.m_values[1], "0");

    CGeneralDaoHelper helper;
    helper.OpenDatabase("C:\\Windows\\system\\Manager\\Manager.mdb");
    helper.Execute("INSERT INTO [ScaleMG] ([com_port], [ip], [mg_id]) VALUES ('12', '192.168.0.12', 'vexo')");
    helper.CloseDatabase();
    // Editing that scale: both questions come; a No keeps the dialog open
    // with the focus on the field asked about.
    const struct {
        int first;
        int second;
        INT_PTR result;
    } answers[] = { { IDYES, IDYES, IDOK }, { IDNO, IDYES, IDCANCEL }, { IDYES, IDNO, IDCANCEL } };
    for (const auto& a : answers) {
        MessageBoxScript::Reset();
        MessageBoxScript::PushAnswer(a.first);
        MessageBoxScript::PushAnswer(a.second);
        CScaleNetInfoDlg dialog;
        dialog.m_nLoadFlag = 1;
        for (std::size_t i = 0; i < std::size(expected); ++i)
            dialog.m_values[i] = expected[i];
        int focus = 0;
        EXPECT_EQ(Run(
                      dialog, [](CDialog& d) { AfxClickDlgButton(d, IDOK); }, &focus),
            a.result);
        ASSERT_EQ(MessageBoxScript::Count(), 2u);
        EXPECT_EQ(MessageBoxScript::Records()[0].text, "Already, Scale ID exists. To be continued?");
        EXPECT_EQ(MessageBoxScript::Records()[0].caption, "Attention");
        EXPECT_EQ(MessageBoxScript::Records()[1].text, "Already, Scale IP exists. To be continued?");
        if (a.second == IDNO) {
            EXPECT_EQ(focus, IDC_NET_SCALE_IP);
        } else if (a.first == IDNO) {
            EXPECT_EQ(focus, IDC_NET_SCALE_ID);
        }
        EXPECT_EQ(dialog.m_values[3], "192.168.0.12");
    }
}

// ---- Dialog 225

TEST_F(ScaleDialogTest, MessageWindowShowsTheTextItIsGiven)
{
    CMessageDlg message;
    ASSERT_TRUE(message.Create());
    message.ShowMessage("scale1 (127.0.0.4): No answer");
    CString shown;
    message.GetDlgItemText(IDC_MESSAGE_TEXT, shown);
    EXPECT_EQ(shown, "scale1 (127.0.0.4): No answer");
    EXPECT_TRUE(message.IsWindowVisible());
}

// ---- Dialog 227

TEST_F(ScaleDialogTest, ModelSelectionReturnsTheSeriesCode)
{
    CSelectModelDlg first;
    ASSERT_EQ(Run(first, [](CDialog& d) { AfxClickDlgButton(d, IDOK); }), IDOK);
    EXPECT_EQ(first.m_strModel, "PQ");
    // Chosen by a click at its place, inside the "MODEL" group box.
    CSelectModelDlg second;
    ASSERT_EQ(Run(second,
                  [](CDialog& d) {
                      EXPECT_TRUE(ClickAtControl(d, IDC_MODEL_Q));
                      AfxClickDlgButton(d, IDOK);
                  }),
        IDOK);
    EXPECT_EQ(second.m_strModel, "Q");
}

// ---- Dialog 198

TEST_F(ScaleDialogTest, ServerPortAcceptsFifteenHundredToEightThousand)
{
    const struct {
        const char* typed;
        const char* written; // nullptr: refused
    } cases[] = {
        { "", "3000" },
        { "1499", nullptr },
        { "1500", "1500" },
        { "8000", "8000" },
        { "8001", nullptr },
        { "2000x", "2000x" },
    };
    const std::string file = m_root.Native(kServerPortFile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        MessageBoxScript::Reset();
        TempDataRoot::WriteAll(file, "4000");
        CServerPortDlg dialog;
        CString shown;
        const INT_PTR result = Run(dialog, [&](CDialog& d) {
            d.GetDlgItemText(IDC_SERVER_PORT_NUMBER, shown);
            d.SetDlgItemText(IDC_SERVER_PORT_NUMBER, c.typed);
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(shown, "4000");
        if (c.written) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(TempDataRoot::ReadAll(file), c.written);
        } else {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(MessageBoxScript::Count(), 1u);
            EXPECT_EQ(MessageBoxScript::Records()[0].text, "Port Number : 1500 ~8000");
            EXPECT_EQ(TempDataRoot::ReadAll(file), "4000");
        }
    }
    // The last line counts; an empty file shows the default.
    TempDataRoot::WriteAll(file, "1600\r\n7000");
    EXPECT_EQ(CServerPortDlg::ReadPortText(), "7000");
    TempDataRoot::WriteAll(file, "");
    CServerPortDlg dialog;
    CString shown;
    Run(dialog, [&](CDialog& d) { d.GetDlgItemText(IDC_SERVER_PORT_NUMBER, shown); });
    EXPECT_EQ(shown, "3000");
}

TEST_F(ScaleDialogTest, ServerPortWriteFailureIsReported)
{
    MakeDirectoryPath(kServerPortFile);
    TempDataRoot::WriteAll(m_root.Native(kServerPortFile) + "/x", "x");
    CServerPortDlg dialog;
    EXPECT_EQ(Run(dialog, [](CDialog& d) { AfxClickDlgButton(d, IDOK); }), IDCANCEL);
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_NE(MessageBoxScript::Records()[0].text.Find("could not be written"), -1);
}

// ---- Dialog 201

TEST_F(ScaleDialogTest, ItemNumberAcceptsANumberAListOrARange)
{
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        { "1", true },
        { "1,2,3", true },
        { "1-4", true },
        { "1-2,3", false },
        { "1-2-3", false },
        { "1.5", false },
        { "1,2.5", true },
        { "-5", true },
        { "", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CItemNumberDlg::IsValidEntry(c.text), c.accepted ? TRUE : FALSE);
        MessageBoxScript::Reset();
        CItemNumberDlg dialog;
        const INT_PTR result = Run(dialog, [&](CDialog& d) {
            d.SetDlgItemText(IDC_ITEM_NUMBER, c.text);
            AfxClickDlgButton(d, IDOK);
        });
        EXPECT_EQ(result, c.accepted ? IDOK : IDCANCEL);
        EXPECT_EQ(dialog.m_strItemNumber, c.accepted ? c.text : "");
        EXPECT_EQ(MessageBoxScript::Count(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_EQ(MessageBoxScript::Records()[0].text, "Input Error");
        }
    }
}

} // namespace

namespace {

// Every edit of the settings dialogs takes the clicks at its middle: the
// combo boxes above them show only their selection field.
TEST_F(ScaleDialogTest, CombosLeaveTheEditsBelowThemFree)
{
    const struct {
        UINT templateId;
        std::vector<int> edits;
        std::vector<int> combos;
    } cases[] = {
        { IDD_SCALE_BASIC_INFO,
            { IDC_BASIC_WEIGHT_DIGITS, IDC_BASIC_PRICE_DIGITS, IDC_BASIC_WEIGHT_UNIT, IDC_BASIC_PRESET_PAGE,
                IDC_BASIC_LIMIT_DAY, IDC_BASIC_USER_LABEL, IDC_BASIC_POS_FLAG, IDC_BASIC_BARCODE_PRICE,
                IDC_BASIC_ADV_NUMBER, IDC_BASIC_PRICE_UNIT, IDC_BASIC_PASSWORD, IDC_BASIC_VAT },
            { IDC_BASIC_LABEL, IDC_BASIC_BARCODE_FORMAT, IDC_BASIC_CODE_LAND, IDC_BASIC_NAME_SORT,
                IDC_BASIC_LAND_SORT, IDC_BASIC_LIMIT_PRINT_INFO, IDC_BASIC_LIMIT_PRINT_TYPE } },
        { IDD_SCALE_NET_INFO,
            { IDC_NET_SCALE_ID, IDC_NET_SCALE_IP, IDC_NET_MASK, IDC_NET_DESTINATION_IP,
                IDC_NET_DESTINATION_PORT },
            { IDC_NET_ETHERNET_INIT, IDC_NET_ETHERNET_MODE } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateId);
        CScaleBasicInfoDlg basic;
        basic.m_strVersion = "eng";
        CScaleNetInfoDlg net;
        CDialog& dialog = c.templateId == IDD_SCALE_BASIC_INFO ? static_cast<CDialog&>(basic) : net;
        Run(dialog, [&](CDialog& d) {
            auto hit = [&](int id, bool top) {
                CRect rect;
                d.GetDlgItem(id)->GetWindowRect(&rect);
                const CPoint point(rect.CenterPoint().x, top ? rect.top + 4 : rect.CenterPoint().y);
                const HWND found = WindowFromPoint(point);
                return found ? CWnd::FromHandle(found)->GetDlgCtrlID() : 0;
            };
            for (int id : c.edits)
                EXPECT_EQ(hit(id, false), id);
            for (int id : c.combos)
                EXPECT_EQ(hit(id, true), id);
        });
    }
}

} // namespace
