// The scale list: the ini file class on its own, and the Ethernet dialog's
// list of scales edited through its buttons and the address dialog.

#include <functional>
#include <set>

#include "labeltool/ethernet_get_push_dlg.h"
#include "labeltool/ini_file.h"
#include "labeltool/scale_ip_dlg.h"
#include "platform/base/cp949.h"
#include "resources/tarnel_ids.h"
#include "tests/labeltool/tarnel_fixture.h"
#include "tests/support/store_fault.h"

namespace {

constexpr const char* kIni = "C:\\Zuvinf.ini";

std::string Read()
{
    return Cp949ToUtf8(TempDataRoot::ReadAll(kIni));
}

// Every scale entry of the file, "<IP value>/<MODE value>" ("-" for a missing
// one), sorted; with the number of those COUNT holds.
std::multiset<std::string> ScaleEntries()
{
    CIniFile ini;
    EXPECT_TRUE(ini.Open(kIni, FALSE, FALSE, TRUE, FALSE));
    std::multiset<std::string> entries;
    std::vector<CString> keys = ini.GetKeys("IP");
    for (const CString& key : ini.GetKeys("MODE"))
        if (CString ip; !ini.Lookup("IP", key, ip))
            keys.push_back(key);
    for (const CString& key : keys) {
        CString ip = "-", mode = "-";
        (void)ini.Lookup("IP", key, ip);
        (void)ini.Lookup("MODE", key, mode);
        entries.insert(ip.Str() + "/" + mode.Str());
    }
    return entries;
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
        EXPECT_TRUE(ini.Write(FALSE));
        EXPECT_FALSE(ini.IsModified());
        // The unnamed section's keys go as any other's.
        ini.DeleteKeys("", [](const CString& key) { return key == "top"; });
        EXPECT_EQ(ini.GetValue("", "top", "-"), "-");
        EXPECT_TRUE(ini.IsModified());
        ini.SetValue("IP", "A", "new");
        ini.SetValue("MODE", "SCALE0", "1");
    }
    EXPECT_EQ(Read(),
        "[IP]\r\nA=x\r\nA=new\r\n; "
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
    // The number follows the highest of the family, the name without its extension.
    TempDataRoot::WriteAll("C:\\Zuvinf.007", "");
    EXPECT_TRUE(ini.Write(TRUE));
    EXPECT_EQ(ini.GetBackupPath(), "C:\\Zuvinf.ini.008");
    ini.SetValue("SCALE", "COUNT", "1");
    EXPECT_TRUE(ini.Write(TRUE));
    EXPECT_EQ(ini.GetBackupPath(), "C:\\Zuvinf.ini.008");
    EXPECT_EQ(TempDataRoot::ReadAll("C:\\Zuvinf.ini.008"), "[SCALE]\r\nCOUNT=0\r\n");
    EXPECT_EQ(Read(), "[SCALE]\r\nCOUNT=1\r\n");
}

TEST(IniFileTest, ALastLineEndedByCrAloneIsALineOfItsOwn)
{
    TempDataRoot root;
    TempDataRoot::WriteAll(kIni, "[A]\r\nk=v\r");
    CIniFile ini;
    ASSERT_TRUE(ini.Open(kIni, FALSE, FALSE, TRUE, FALSE));
    EXPECT_EQ(ini.GetValue("A", "k"), "v");
    ini.SetValue("A", "n", "1");
    EXPECT_TRUE(ini.Write(FALSE));
    EXPECT_EQ(Read(), "[A]\r\nk=v\r\nn=1\r\n");
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
    // The texts of the list of scales (or of the adopted list).
    static std::vector<CString> ScaleTexts(CDialog& dialog, int list = IDC_GP_SCALES)
    {
        auto* scales = dynamic_cast<CListBox*>(dialog.GetDlgItem(list));
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
    const std::string file = "[SCALE]\r\nCOUNT=2\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=Z:9.9.9.9\r\n"
                             "[MODE]\r\nSCALE0=1\r\nSCALE1=7\r\n";
    TempDataRoot::WriteAll(kIni, file);
    // Opening writes nothing; the scale of MODE 7 is shown nowhere in PUSH mode.
    ModalDialogScript::Push([](CDialog& dialog) { AfxClickDlgButton(dialog, IDC_GP_CLOSE); });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Read(), file);
    std::vector<bool> enabled;
    ModalDialogScript::Push([&](CDialog& dialog) {
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
    // The scale not listed is kept after the list, still counted.
    EXPECT_EQ(Read(),
        "[SCALE]\r\nCOUNT=4\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=저울C:3.3.3.3\r\nSCALE2=B:2.2.2.2\r\n"
        "SCALE3=Z:9.9.9.9\r\n[MODE]\r\nSCALE0=1\r\nSCALE1=1\r\nSCALE2=1\r\nSCALE3=7\r\n");
    // GET mode lists every scale; a scale double-clicked is the one to fetch
    // from, and a deletion keeps the others' adoption.
    ModalDialogScript::Push([&](CDialog& dialog) {
        ClickItem(dialog, IDC_GP_SCALES, 2);
        AfxClickDlgButton(dialog, IDC_GP_DELETE);
        ClickItem(dialog, IDC_GP_SCALES, 0, false, true);
    });
    Command(*Frame(), ID_GET_DATA);
    EXPECT_EQ(Read(),
        "[SCALE]\r\nCOUNT=3\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=저울C:3.3.3.3\r\nSCALE2=Z:9.9.9.9\r\n"
        "[MODE]\r\nSCALE0=1\r\nSCALE1=1\r\nSCALE2=7\r\n");
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
    // A scale beyond COUNT is kept at the save, still beyond it.
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
            + "SCALE1=B:2.2.2.2\r\nSCALE2=W:6.6.6.6\r\n[MODE]\r\nSCALE0=0\r\nSCALE1=0\r\n[tail]\r\nend");
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
        { 2, 5, 2 }, // keys beyond COUNT are left out
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
        const std::string file = "[SCALE]\r\nCOUNT=" + std::to_string(c.count) + "\r\n" + ip + mode;
        TempDataRoot::WriteAll(kIni, file);
        std::vector<CString> listed;
        ModalDialogScript::Push([&](CDialog& dialog) { listed = ScaleTexts(dialog); });
        Command(*Frame(), ID_PUT_DATA);
        std::vector<CString> expected;
        for (int i = 0; i < c.listed; ++i)
            expected.push_back(CString::Formatted("S%d:10.0.0.1", i));
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(Read(), file); // opening writes nothing
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

TEST_F(ScaleListTest, AListChangeKeepsEveryScaleEntryItDidNotRead)
{
    struct Case {
        const char* name;
        std::string count; // the [SCALE] lines
        int scales; // S0:10.0.0.1 ..., MODE "0"
        int withoutMode; // the last ones have no MODE
        int listed; // at the opening
    };
    const Case cases[] = {
        { "negative COUNT", "COUNT=-5\r\n", 2, 0, 0 },
        { "no COUNT", "", 2, 0, 0 },
        { "COUNT not a number", "COUNT=abc\r\n", 2, 0, 0 },
        { "COUNT below the keys", "COUNT=1\r\n", 2, 0, 1 },
        { "an IP without its MODE", "COUNT=2\r\n", 2, 1, 1 },
        { "past the listed 1,000", "COUNT=1500\r\n", 1500, 0, 1000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string ip = "[IP]\r\n", mode = "[MODE]\r\n";
        for (int i = 0; i < c.scales; ++i) {
            ip += "SCALE" + std::to_string(i) + "=S" + std::to_string(i) + ":10.0.0.1\r\n";
            if (i < c.scales - c.withoutMode)
                mode += "SCALE" + std::to_string(i) + "=0\r\n";
        }
        const std::string file = "[SCALE]\r\n" + c.count + ip + mode;
        TempDataRoot::WriteAll(kIni, file);
        std::multiset<std::string> expected = ScaleEntries();
        std::size_t listed = 0;
        ModalDialogScript::Push([&](CDialog& dialog) {
            listed = ScaleTexts(dialog).size();
            AddScale(dialog, "N", "10.9.9.9");
        });
        Command(*Frame(), ID_PUT_DATA);
        EXPECT_EQ(listed, static_cast<std::size_t>(c.listed));
        expected.insert("N:10.9.9.9/0");
        EXPECT_EQ(ScaleEntries(), expected);
        std::vector<CString> again;
        ModalDialogScript::Push([&](CDialog& dialog) { again = ScaleTexts(dialog); });
        Command(*Frame(), ID_PUT_DATA);
        ASSERT_EQ(again.size(), std::min<std::size_t>(listed + 1, kMaxListedScales));
        EXPECT_EQ(ScaleEntries(), expected);
    }
}

TEST_F(ScaleListTest, AChangeTheFileDidNotTakeIsToldAndTheListShowsTheFile)
{
    const std::string folder = m_root.Native("C:\\");
    const std::string file = "[SCALE]\r\nCOUNT=4\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=B:2.2.2.2\r\n"
                             "SCALE2=C:3.3.3.3\r\nSCALE3=D:4.4.4.4\r\n[MODE]\r\nSCALE0=0\r\nSCALE1=0\r\n"
                             "SCALE2=1\r\nSCALE3=1\r\n";
    const std::vector<CString> scales { "A:1.1.1.1", "B:2.2.2.2" }, adopted { "C:3.3.3.3", "D:4.4.4.4" };
    // A read-only file (no full disk then) is still read: its scales are listed.
    for (const std::string& readOnlyPath : { m_root.Native(kIni), folder, std::string() }) {
        const bool full = readOnlyPath.empty();
        SCOPED_TRACE(full ? "full disk" : readOnlyPath);
        FullDisk disk;
        ReadOnlyPath readOnly;
        if (full && !disk.Mount(folder))
            continue;
        TempDataRoot::WriteAll(kIni, file);
        ASSERT_TRUE(full ? disk.Fill() : readOnly.Apply(readOnlyPath));
        MessageBoxScript::Reset();
        std::vector<std::pair<std::vector<CString>, std::vector<CString>>> shown;
        std::vector<CString> after;
        ModalDialogScript::Push([&](CDialog& dialog) {
            const auto note
                = [&] { shown.emplace_back(ScaleTexts(dialog), ScaleTexts(dialog, IDC_GP_ADOPTED)); };
            AddScale(dialog, "E", "5.5.5.5");
            note();
            for (const int button : { IDC_GP_DELETE, IDC_GP_ADOPT }) {
                ClickItem(dialog, IDC_GP_SCALES, 1);
                AfxClickDlgButton(dialog, button);
                note();
            }
            for (const auto& [button, item] :
                { std::pair { IDC_GP_REMOVE, 0 }, { IDC_GP_MOVE_UP, 1 }, { IDC_GP_MOVE_DOWN, 0 } }) {
                ClickItem(dialog, IDC_GP_ADOPTED, item);
                AfxClickDlgButton(dialog, button);
                note();
            }
            // The cause gone, the change is kept.
            disk.Free();
            readOnly.Undo();
            AddScale(dialog, "E", "5.5.5.5");
            after = ScaleTexts(dialog);
        });
        Command(*Frame(), ID_PUT_DATA);
        EXPECT_EQ(Boxes(), std::vector<CString>(6, kScaleListNotWrittenText));
        ASSERT_EQ(shown.size(), 6u);
        for (const auto& [scalesShown, adoptedShown] : shown) {
            EXPECT_EQ(scalesShown, scales);
            EXPECT_EQ(adoptedShown, adopted);
        }
        EXPECT_EQ(after, (std::vector<CString> { "A:1.1.1.1", "B:2.2.2.2", "E:5.5.5.5" }));
        EXPECT_EQ(ScaleEntries(),
            (std::multiset<std::string> {
                "A:1.1.1.1/0", "B:2.2.2.2/0", "E:5.5.5.5/0", "C:3.3.3.3/1", "D:4.4.4.4/1" }));
    }
}

TEST_F(ScaleListTest, AScaleAddedOverALineCutIntoNulBytesIsListedAgain)
{
    // A write cut short: the last line, "SCALE1=..." once, is NUL bytes after its key.
    const std::string cut = std::string("SCALE1") + std::string(9, '\0');
    TempDataRoot::WriteAll(kIni, "[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\n" + cut);
    std::vector<CString> listed, again;
    ModalDialogScript::Push([&](CDialog& dialog) {
        AddScale(dialog, "B", "2.2.2.2");
        listed = ScaleTexts(dialog);
    });
    Command(*Frame(), ID_GET_DATA);
    ModalDialogScript::Push([&](CDialog& dialog) { again = ScaleTexts(dialog); });
    Command(*Frame(), ID_GET_DATA);
    EXPECT_EQ(listed, (std::vector<CString> { "A:1.1.1.1", "B:2.2.2.2" }));
    EXPECT_EQ(again, listed);
    EXPECT_NE(TempDataRoot::ReadAll(kIni).find(cut), std::string::npos);
}

// Another tarnel saves the list between this one's reading and its change:
// the change is refused with a box and the list shown as the file holds it;
// made again, both scales are kept.
TEST_F(ScaleListTest, AChangeOverAnotherProgramsSaveIsToldAndNoScaleIsLost)
{
    TempDataRoot::WriteAll(kIni, "[SCALE]\r\nCOUNT=1\r\n[IP]\r\nSCALE0=S0:1.1.1.1\r\n[MODE]\r\nSCALE0=0\r\n");
    std::vector<CString> refused, after;
    ModalDialogScript::Push([&](CDialog& dialog) {
        TempDataRoot::WriteAll(kIni,
            "[SCALE]\r\nCOUNT=2\r\n[IP]\r\nSCALE0=S0:1.1.1.1\r\nSCALE1=S2:2.2.2.2\r\n[MODE]\r\nSCALE0=0\r\n"
            "SCALE1=0\r\n");
        AddScale(dialog, "S1", "3.3.3.3");
        refused = ScaleTexts(dialog);
        AddScale(dialog, "S1", "3.3.3.3");
        after = ScaleTexts(dialog);
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(Boxes(), std::vector<CString> { kScaleListChangedText });
    EXPECT_EQ(refused, (std::vector<CString> { "S0:1.1.1.1", "S2:2.2.2.2" }));
    EXPECT_EQ(after, (std::vector<CString> { "S0:1.1.1.1", "S2:2.2.2.2", "S1:3.3.3.3" }));
    EXPECT_EQ(
        ScaleEntries(), (std::multiset<std::string> { "S0:1.1.1.1/0", "S2:2.2.2.2/0", "S1:3.3.3.3/0" }));
}

// A last line ended by CR alone: its MODE is "1" (the scale is adopted), and
// stays so after a save, whose lines all end in CR LF.
TEST_F(ScaleListTest, ALastLineEndedByCrAloneKeepsItsMode)
{
    TempDataRoot::WriteAll(kIni,
        "[SCALE]\r\nCOUNT=2\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=B:2.2.2.2\r\n[MODE]\r\nSCALE0=0\r\nSCALE1="
        "1\r");
    std::vector<CString> adopted;
    ModalDialogScript::Push([&](CDialog& dialog) {
        adopted = ScaleTexts(dialog, IDC_GP_ADOPTED);
        AddScale(dialog, "C", "3.3.3.3");
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(adopted, std::vector<CString> { "B:2.2.2.2" });
    EXPECT_EQ(Read(),
        "[SCALE]\r\nCOUNT=3\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=C:3.3.3.3\r\nSCALE2=B:2.2.2.2\r\n[MODE]\r\n"
        "SCALE0=0\r\nSCALE1=0\r\nSCALE2=1\r\n");
}

// The buttons follow the lists from the opening on, and a refilled list has
// its first item selected.
TEST_F(ScaleListTest, ButtonsFollowTheListsFromTheOpening)
{
    std::vector<bool> opening, selected;
    ModalDialogScript::Push([&](CDialog& dialog) {
        for (const int id : { IDC_GP_DELETE, IDC_GP_ADOPT, IDC_GP_ADOPT_ALL, IDC_GP_REMOVE, IDC_GP_REMOVE_ALL,
                 IDC_GP_MOVE_UP, IDC_GP_MOVE_DOWN })
            opening.push_back(dialog.GetDlgItem(id)->IsWindowEnabled() != FALSE);
        AddScale(dialog, "A", "1.1.1.1");
        AddScale(dialog, "B", "2.2.2.2");
        const auto* scales = dynamic_cast<CListBox*>(dialog.GetDlgItem(IDC_GP_SCALES));
        selected = { scales->GetSel(0) > 0, scales->GetSel(1) > 0 };
    });
    Command(*Frame(), ID_PUT_DATA);
    EXPECT_EQ(opening, std::vector<bool>(7, false));
    EXPECT_EQ(selected, (std::vector<bool> { true, false }));
}

// Entries the lists do not hold follow the list with their lines as read:
// one without a MODE gets none at its new place, and one kept through a
// deletion is still kept at the change after.
TEST_F(ScaleListTest, EntriesNotListedKeepTheirLinesThroughChanges)
{
    struct Case {
        const char* name;
        std::string file;
        std::function<void(CDialog&)> change;
        std::multiset<std::string> entries;
    };
    const Case cases[] = {
        { "an entry without a MODE moves",
            "[SCALE]\r\nCOUNT=3\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=B:2.2.2.2\r\n"
            "SCALE2=C:3.3.3.3\r\n[MODE]\r\nSCALE0=0\r\nSCALE2=0\r\n",
            [](CDialog& dialog) {
                ClickItem(dialog, IDC_GP_SCALES, 0);
                AfxClickDlgButton(dialog, IDC_GP_ADOPT);
            },
            { "C:3.3.3.3/0", "A:1.1.1.1/1", "B:2.2.2.2/-" } },
        { "a deletion, then an addition",
            "[SCALE]\r\nCOUNT=4\r\n[IP]\r\nSCALE0=A:1.1.1.1\r\nSCALE1=B:2.2.2.2\r\n"
            "SCALE2=C:3.3.3.3\r\nSCALE3=X:7.7.7.7\r\n[MODE]\r\nSCALE0=0\r\nSCALE1=0\r\nSCALE2=0\r\nSCALE3="
            "7\r\n",
            [](CDialog& dialog) {
                ClickItem(dialog, IDC_GP_SCALES, 0);
                AfxClickDlgButton(dialog, IDC_GP_DELETE);
                AddScale(dialog, "N", "9.9.9.9");
            },
            { "B:2.2.2.2/0", "C:3.3.3.3/0", "N:9.9.9.9/0", "X:7.7.7.7/7" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataRoot::WriteAll(kIni, c.file);
        ModalDialogScript::Push([&](CDialog& dialog) { c.change(dialog); });
        Command(*Frame(), ID_PUT_DATA);
        EXPECT_EQ(ScaleEntries(), c.entries);
    }
}
