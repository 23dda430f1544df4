// The scale list: the ini file class on its own, and the Ethernet dialog's
// list of scales edited through its buttons and the address dialog.

#include "labeltool/ethernet_get_push_dlg.h"
#include "labeltool/ini_file.h"
#include "labeltool/scale_ip_dlg.h"
#include "platform/base/cp949.h"
#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"

namespace {

constexpr const char* kIni = "C:\\Zuvinf.ini";

std::string Read()
{
    return Cp949ToUtf8(TempDataRoot::ReadAll(kIni));
}

} // namespace

TEST(IniFileTest, LooksUpFirstSectionsAndLastKeysAndCutsAtTheLastSemicolon)
{
    TempDataRoot root;
    TempDataRoot::WriteAll(kIni,
        Utf8ToCp949(
            "top=1\r\n[IP]\r\nA=x\r\nA=y;z;w\r\n; note\r\n\r\n[ip]\r\nA=second\r\n[저울]\r\n이름=값\r\n"));
    {
        CIniFile ini;
        ASSERT_TRUE(ini.Open(kIni, TRUE, FALSE, TRUE, FALSE));
        EXPECT_EQ(ini.GetValue("", "top"), "1");
        EXPECT_EQ(ini.GetValue("Ip", "a"), "y;z");
        EXPECT_EQ(ini.GetValue("저울", "이름"), "값");
        EXPECT_EQ(ini.GetValue("IP", "B", "none"), "none");
        EXPECT_EQ(ini.GetValue("MODE", "A", "none"), "none");
        // Unmodified: the file is not touched.
        EXPECT_EQ(ini.Write(FALSE), "");
        EXPECT_FALSE(ini.IsModified());
        ini.SetValue("IP", "A", "new");
        ini.SetValue("MODE", "SCALE0", "1");
    }
    EXPECT_EQ(Read(),
        "top=1\r\n[IP]\r\nA=x\r\nA=new\r\n; "
        "note\r\n\r\n[ip]\r\nA=second\r\n[저울]\r\n이름=값\r\n[MODE]\r\nSCALE0=1\r\n");
    // Case counts when asked to.
    CIniFile exact;
    ASSERT_TRUE(exact.Open(kIni, FALSE, FALSE, FALSE, FALSE));
    EXPECT_EQ(exact.GetValue("ip", "A"), "second");
    EXPECT_EQ(exact.GetValue("ip", "a", "-"), "-");
    // Opening another file forgets the first.
    TempDataRoot::WriteAll("C:\\Other.ini", "[X]\r\nk=v\r\n");
    ASSERT_TRUE(exact.Open("C:\\Other.ini", FALSE, FALSE, FALSE, FALSE));
    EXPECT_EQ(exact.GetValue("X", "k"), "v");
    EXPECT_EQ(exact.GetValue("ip", "A", "-"), "-");
}

TEST(IniFileTest, AMissingFileIsCreatedAndBackupsAreNumbered)
{
    TempDataRoot root;
    CIniFile ini;
    EXPECT_FALSE(ini.Open(kIni, FALSE, FALSE, TRUE, FALSE));
    ASSERT_TRUE(ini.Open(kIni, FALSE, TRUE, TRUE, TRUE));
    EXPECT_TRUE(TempDataRoot::Exists(kIni));
    EXPECT_EQ(ini.GetValue("SCALE", "COUNT"), "");
    ini.SetValue("SCALE", "COUNT", "0");
    EXPECT_EQ(ini.Write(TRUE), "C:\\Zuvinf.ini.001");
    ini.SetValue("SCALE", "COUNT", "1");
    EXPECT_EQ(ini.Write(TRUE), "C:\\Zuvinf.ini.001");
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\Zuvinf.ini.001"), "[SCALE]\r\nCOUNT=0\r\n");
    EXPECT_EQ(Read(), "[SCALE]\r\nCOUNT=1\r\n");
}

namespace {

class ScaleListTest : public TarnelTest {
protected:
    ScaleListTest() { ChooseTcp(); }
    // Clicks the list's item, with Ctrl to add it to the selection.
    static void ClickItem(CDialog& dialog, int list, int index, bool control = false, bool twice = false)
    {
        auto* box = dynamic_cast<CListBox*>(dialog.GetDlgItem(list));
        RECT rect {};
        ASSERT_NE(box->GetItemRect(index, &rect), LB_ERR);
        const CPoint center((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        const UINT keys = control ? MK_CONTROL : 0;
        AfxSimulateMouse(box->GetSafeHwnd(), WM_LBUTTONDOWN, center, MK_LBUTTON | keys);
        AfxSimulateMouse(box->GetSafeHwnd(), WM_LBUTTONUP, center, keys);
        if (twice) {
            AfxSimulateMouse(box->GetSafeHwnd(), WM_LBUTTONDBLCLK, center, MK_LBUTTON);
            AfxSimulateMouse(box->GetSafeHwnd(), WM_LBUTTONUP, center, 0);
        }
    }
    // The texts of the list of scales.
    static std::vector<CString> ScaleTexts(CDialog& dialog)
    {
        auto* scales = dynamic_cast<CListBox*>(dialog.GetDlgItem(IDC_GP_SCALES));
        std::vector<CString> texts(static_cast<std::size_t>(scales->GetCount()));
        for (int i = 0; i < scales->GetCount(); ++i)
            scales->GetText(i, texts[static_cast<std::size_t>(i)]);
        return texts;
    }
    // A scale typed into the address dialog; OK pressed, then Cancel when
    // the name is refused.
    static void AddScale(CDialog& dialog, const char* name, const char* address)
    {
        ModalDialogScript::Push([name, address](CDialog& ip) {
            ip.GetDlgItem(IDC_SCALE_IP_NAME)->SetWindowText(name);
            const HWND field = ip.GetDlgItem(IDC_SCALE_IP_ADDRESS)->GetSafeHwnd();
            for (const char* c = address; *c; ++c)
                AfxSimulateKey(field, *c == '.' ? 0xBEu : static_cast<UINT>(*c), std::string(1, *c).c_str());
            AfxClickDlgButton(ip, IDOK);
        });
        AfxClickDlgButton(dialog, IDC_GP_ADD);
    }
};

} // namespace

TEST_F(ScaleListTest, ScalesAreAddedAdoptedAndOrderedAndTheFileFollows)
{
    TempDataRoot::WriteAll(kIni,
        "[SCALE]\r\nCOUNT=2\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=Z:9.9.9.9\r\n"
        "[MODE]\r\nSCALE0=1\r\nSCALE1=7\r\n");
    // Opening in PUSH mode saves the list at once: the scale of MODE 7 is not counted.
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDC_GP_CLOSE); });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_NE(Read().find("[SCALE]\r\nCOUNT=1\r\n"), std::string::npos) << Read();
    std::vector<bool> enabled;
    ModalDialogScript::Push([&](CDialog& dialog) {
        // Opening in PUSH mode drops the scale of MODE 7 from the file.
        AddScale(dialog, "B;C", "2.2.2.2");
        AddScale(dialog, ":BC", "2.2.2.2");
        AddScale(dialog, ";B", "2.2.2.2");
        AddScale(dialog, "B", "2.2.2.2");
        AddScale(dialog, "저울C", "3.3.3.3");
        ClickItem(dialog, IDC_GP_SCALES, 0);
        ClickItem(dialog, IDC_GP_SCALES, 1, true);
        AfxClickDlgButton(dialog, IDC_GP_ADOPT); // Add >>: A, B, 저울C
        ClickItem(dialog, IDC_GP_ADOPTED, 2);
        for (int button : { IDC_GP_REMOVE, IDC_GP_MOVE_UP, IDC_GP_MOVE_DOWN }) // Remove, Move Up, Move Down
            enabled.push_back(dialog.GetDlgItem(button)->IsWindowEnabled() != FALSE);
        AfxClickDlgButton(dialog, IDC_GP_MOVE_UP); // Move Up: A, 저울C, B
        // Two together: down, then up again.
        ClickItem(dialog, IDC_GP_ADOPTED, 0);
        ClickItem(dialog, IDC_GP_ADOPTED, 1, true);
        AfxClickDlgButton(dialog, IDC_GP_MOVE_DOWN); // B, A, 저울C
        ClickItem(dialog, IDC_GP_ADOPTED, 1);
        ClickItem(dialog, IDC_GP_ADOPTED, 2, true);
        AfxClickDlgButton(dialog, IDC_GP_MOVE_UP); // A, 저울C, B
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(enabled, (std::vector<bool> { true, true, false }));
    const std::vector<CString> refusals(3, "(:)을 입력하지 마십시요!! Error");
    EXPECT_EQ(Boxes(), refusals);
    EXPECT_EQ(Read(),
        "[SCALE]\r\nCOUNT=3\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=저울C:3.3.3.3\r\nSCALE2=B:2.2.2.2\r\n"
        "[MODE]\r\nSCALE0=1\r\nSCALE1=1\r\nSCALE2=1\r\n");
    // GET mode lists every scale; a scale double-clicked is the one to fetch
    // from, and a deletion keeps the others' adoption.
    ModalDialogScript::Push([&](CDialog& dialog) {
        ClickItem(dialog, IDC_GP_SCALES, 2);
        AfxClickDlgButton(dialog, IDC_GP_DELETE);
        ClickItem(dialog, IDC_GP_SCALES, 0, false, true);
    });
    Command(*Frame(), ID_GET_DATA);
    EXPECT_EQ(Read(),
        "[SCALE]\r\nCOUNT=2\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=저울C:3.3.3.3\r\n"
        "[MODE]\r\nSCALE0=1\r\nSCALE1=1\r\n");
    EXPECT_EQ(AfxGetApp()->GetProfileString("Settings", "rcvscale", ""), "A:1.1.1.1");
}

TEST_F(ScaleListTest, LinesNotUnderstoodAreKeptAndTheListReadsBackEqual)
{
    // A NUL byte, an empty section name, a key-less value, a bare word, an
    // LF-only line, bytes that are no CP949, and no line end at the last line.
    const std::string odd = std::string("x\0y=1\r\n", 7) + "[]\r\n=x\r\nword\nbad=\xFF\xFE\r\n";
    // Keys that only look like a scale's are kept and not listed.
    const std::string ip = "[IP]\r\nSCALE0=A:1.1.1.1\r\n=x\r\nSCALE=Z:9.9.9.9\r\nSCALE01=Y:8.8.8.8\r\n"
                           "SCALE0x=X:7.7.7.7\r\nOTHER5=V:5.5.5.5\r\n";
    // A scale beyond COUNT is dropped at the save.
    const std::string stale = "SCALE123456789=W:6.6.6.6\r\n";
    const std::string mode = "[MODE]\r\nSCALE0=0\r\n[tail]\r\nend";
    TempDataRoot::WriteAll(kIni, odd + "[SCALE]\r\nCOUNT=1\r\n" + ip + stale + mode);
    std::vector<CString> listed;
    ModalDialogScript::Push([&](CDialog& dialog) {
        AddScale(dialog, "B", "2.2.2.2");
        listed = ScaleTexts(dialog);
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(listed, (std::vector<CString> { "A:1.1.1.1", "B:2.2.2.2" }));
    EXPECT_EQ(TempDataRoot::ReadAll(kIni),
        odd + "[SCALE]\r\nCOUNT=2\r\n" + ip
            + "SCALE1=B:2.2.2.2\r\n[MODE]\r\nSCALE0=0\r\nSCALE1=0\r\n[tail]\r\nend");
    std::vector<CString> again;
    ModalDialogScript::Push([&](CDialog& dialog) { again = ScaleTexts(dialog); });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(again, listed);
}

TEST_F(ScaleListTest, OnlyTheScalesPresentAreReadAndTheListIsBounded)
{
    struct Case {
        long count; // COUNT in the file
        long keys; // SCALE<keys - 1> .. SCALE0 present, in that order
        int listed; // S0 .. S<listed - 1>, in order
    };
    const Case cases[] = {
        { 5000000, 2, 2 },
        { 2, 5, 2 }, // keys beyond COUNT are left out, and dropped from the file
        { 9, 12, 9 },
        { 5000, 1500, static_cast<int>(kMaxListedScales) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::string ip = "[IP]\r\n", mode = "[MODE]\r\n";
        for (long i = c.keys - 1; i >= 0; --i) {
            ip += "SCALE" + std::to_string(i) + "=S" + std::to_string(i) + ":10.0.0.1\r\n";
            mode += "SCALE" + std::to_string(i) + "=0\r\n";
        }
        TempDataRoot::WriteAll(kIni, "[SCALE]\r\nCOUNT=" + std::to_string(c.count) + "\r\n" + ip + mode);
        std::vector<CString> listed;
        ModalDialogScript::Push([&](CDialog& dialog) { listed = ScaleTexts(dialog); });
        Command(*Frame(), ID_PUT_DATA);
        std::vector<CString> expected;
        for (int i = 0; i < c.listed; ++i)
            expected.push_back(CString::Formatted("S%d:10.0.0.1", i));
        EXPECT_EQ(listed, expected);
        EXPECT_NE(Read().find("[SCALE]\r\nCOUNT=" + std::to_string(c.listed) + "\r\n"), std::string::npos);
        EXPECT_EQ(Read().find("SCALE" + std::to_string(c.listed) + "="), std::string::npos);
    }
}

TEST_F(ScaleListTest, AnAddressThatCannotExistIsRefused)
{
    TempDataRoot::WriteAll(kIni, "[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\n[MODE]\r\nSCALE0=0\r\n");
    int listed = -1;
    ModalDialogScript::Push([&](CDialog& dialog) {
        AddScale(dialog, "B", "999.1.1");
        AddScale(dialog, "C", "1.2.3");
        listed = dynamic_cast<CListBox*>(dialog.GetDlgItem(IDC_GP_SCALES))->GetCount();
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Boxes(), std::vector<CString>(2, kBadScaleAddressText));
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(Read(), "[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\n[MODE]\r\nSCALE0=0\r\n");
}
