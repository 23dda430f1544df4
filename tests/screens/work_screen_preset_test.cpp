// The preset key pages: a key typed into and left is checked (all keys'
// first lines) and stored key by key in [Preset] of the current page; the
// page is read again every time; a page change empties the keys first.

#include <cstdio>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/wnd/core/input_seam.h"
#include "resources/calvorn_ids.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/pixels.h"

namespace {

class WorkScreenPresetTest : public WorkScreenFixture {
protected:
    void Open(const std::vector<CString>& rows = {})
    {
        m_db = MakeItemDatabase();
        if (!rows.empty())
            Execute(m_db, rows);
        Switch(Screen::Preset, "Pre_Read", "vexo", m_db);
    }
    CEdit& Key(int index)
    {
        return *dynamic_cast<CEdit*>(m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY + index));
    }
    CString KeyText(int index)
    {
        CString text;
        Key(index).GetWindowText(text);
        return text;
    }
    CString KeyId(int index)
    {
        CString text;
        m_screen->GetDlgItem(IDC_PRESET_FIRST_KEY_ID + index)->GetWindowText(text);
        return text;
    }
    // Focus into key index, type text (CR for a new line), as the user does.
    void Type(int index, const std::string& text)
    {
        Key(index).SetFocus();
        // The key that lost the focus has the page read: let it end first.
        ASSERT_TRUE(WaitForLoad());
        for (const char ch : text) {
            if (ch == '\r')
                ASSERT_TRUE(AfxSimulateKey(Key(index).GetSafeHwnd(), VK_RETURN, "\r"));
            else
                ASSERT_TRUE(AfxSimulateKey(Key(index).GetSafeHwnd(), 0, std::string(1, ch).c_str()));
        }
    }
    // Moves the focus to key index (the focused key loses it) and waits for
    // the page read.
    void Leave(int toIndex)
    {
        Key(toIndex).SetFocus();
        ASSERT_TRUE(WaitForLoad());
    }
    std::vector<CString> Rows()
    {
        return Column(m_db,
            "SELECT [ID] || '|' || [page_num] || '|' || [num] || '|' || [str] || '|' || [mg_id] FROM "
            "[Preset] ORDER BY [ID]");
    }
    void ChoosePage(int index)
    {
        auto* combo = dynamic_cast<CComboBox*>(m_screen->GetDlgItem(IDC_PRESET_PAGE));
        ASSERT_NE(combo, nullptr);
        combo->SetCurSel(index);
        m_screen->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PRESET_PAGE, CBN_SELCHANGE),
            reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
        ASSERT_TRUE(WaitForLoad());
    }

    CString m_db;
};

TEST_F(WorkScreenPresetTest, AKeyIsInsertedOnceAndThenUpdatedByItsId)
{
    Open();
    ChoosePage(1);
    Type(6, "123\rPork");
    Leave(7);
    EXPECT_EQ(Rows(), (std::vector<CString> { "1|2|7|123\r\nPork|vexo" }));
    EXPECT_EQ(KeyId(6), "1");
    EXPECT_FALSE(Key(6).GetModify());
    Type(6, "4");
    Leave(8);
    EXPECT_EQ(Rows(), (std::vector<CString> { "1|2|7|123\r\nPork4|vexo" }));
    // Another key of the same page gets its own row; the first keeps its ID.
    Type(0, "42");
    Leave(1);
    EXPECT_EQ(Rows(), (std::vector<CString> { "1|2|7|123\r\nPork4|vexo", "2|2|1|42|vexo" }));
    EXPECT_EQ(KeyId(0), "2");
    EXPECT_EQ(KeyId(6), "1");
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkScreenPresetTest, FirstLinesAreCheckedOverAllKeys)
{
    struct Case {
        std::string typed;
        std::vector<CString> messages;
        bool stored;
    };
    const Case cases[] = {
        { "50000", {}, true },
        { "50001", { "Item Number is maximum 50000" }, false },
        { "123\rabc", {}, true },
        { "12a", { "Only, Input number to first line" }, false },
        { "", {}, true },
        { "99999999999999999999999", { "Item Number is maximum 50000" }, false },
    };
    for (const Case& c : cases) {
        Open();
        MessageBoxScript::Reset();
        Type(3, c.typed.empty() ? "x" : c.typed);
        if (c.typed.empty()) {
            ASSERT_TRUE(AfxSimulateKey(Key(3).GetSafeHwnd(), VK_BACK, ""));
            ASSERT_EQ(KeyText(3), "");
        }
        Leave(4);
        std::vector<CString> shown;
        for (const auto& box : m_boxes.Records())
            shown.push_back(box.text);
        EXPECT_EQ(shown, c.messages) << c.typed;
        EXPECT_EQ(Rows().size(), c.stored ? 1u : 0u) << c.typed;
        if (!c.stored) {
            EXPECT_EQ(CWnd::GetFocus(), &Key(3)) << c.typed;
            EXPECT_TRUE(Key(3).GetModify()) << c.typed;
        }
    }
}

TEST_F(WorkScreenPresetTest, AnInvalidKeyBlocksOthersAndShowsEachMessageOnce)
{
    Open();
    // Key 11 was typed into and left wrong before; the focus the checks move
    // takes it away again, and its kill-focus must not start a second round.
    Key(10).SetWindowText("abc");
    Key(10).SetModify(TRUE);
    Key(20).SetWindowText("60000");
    Type(5, "77");
    Leave(6);
    std::vector<CString> shown;
    for (const auto& box : m_boxes.Records())
        shown.push_back(box.text);
    // One kill-focus, both checks; the focus they move starts no second round.
    EXPECT_EQ(
        shown, (std::vector<CString> { "Only, Input number to first line", "Item Number is maximum 50000" }));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(CWnd::GetFocus(), &Key(20));
    // Mended keys let the next kill-focus store the edited key.
    Key(10).SetWindowText("1");
    Key(20).SetWindowText("2");
    Key(5).SetFocus();
    Leave(6);
    EXPECT_EQ(Rows(), (std::vector<CString> { "1|1|6|77|vexo" }));
}

TEST_F(WorkScreenPresetTest, LeavingAnUntouchedKeyWritesNothingButReadsThePage)
{
    Open({ "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '3', '33', 'vexo')" });
    EXPECT_EQ(KeyText(2), "33");
    Key(2).SetWindowText("changed by code");
    Key(2).SetFocus();
    Leave(3);
    EXPECT_EQ(Rows(), (std::vector<CString> { "1|1|3|33|vexo" }));
    // The read shows the stored text again.
    EXPECT_EQ(KeyText(2), "33");
}

TEST_F(WorkScreenPresetTest, APageChangeEmptiesTheKeysBeforeItsRowsArrive)
{
    Open({ "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('1', '1', '11', 'vexo')",
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('3', '60', '360', 'vexo')",
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('3', '61', '361', 'vexo')",
        // 2^32 + 1: out of range, not key 1 once cut to an int.
        "INSERT INTO [Preset]([page_num], [num], [str], [mg_id]) VALUES('3', '4294967297', 'x', 'vexo')" });
    EXPECT_EQ(KeyText(0), "11");
    Key(30).SetWindowText("typed");
    ChoosePage(2);
    EXPECT_EQ(m_screen->GetPresetKeys().GetPage(), 3);
    EXPECT_EQ(KeyText(0), "");
    EXPECT_EQ(KeyText(30), "");
    EXPECT_EQ(KeyText(59), "360");
    EXPECT_EQ(KeyId(59), "2");
    EXPECT_EQ(KeyId(0), "");
}

TEST_F(WorkScreenPresetTest, AKeyThatCannotReachItsDatabaseSaysWhy)
{
    Open();
    ASSERT_EQ(std::remove(m_root.Native("C:\\items.mdb").c_str()), 0);
    MessageBoxScript::Reset();
    Type(4, "12");
    Leave(5);
    // The store says so, then the page read that follows does.
    const CString text = "Could not find file 'C:\\items.mdb'.";
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    for (const auto& box : m_boxes.Records()) {
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
    }
}

TEST_F(WorkScreenPresetTest, TheSheetFrameRingsTheTenKeysOfTheLastRowOnly)
{
    Open();
    // A window wide enough to show what lies right of the tenth key.
    GetMainFrame()->SetWindowPos(nullptr, 0, 0, 1600, 1000, SWP_NOMOVE | SWP_NOZORDER);
    AfxPumpUntil([] { return false; }, 0);
    Snapshot shot(*m_screen);
    ASSERT_TRUE(shot.Ok());
    ASSERT_GT(shot.Width(), 760);
    const COLORREF frame = shot.At(52, 385);
    EXPECT_NE(frame, shot.At(80, 385));
    EXPECT_EQ(shot.InkOf(frame, CRect(0, 300, 760, 460)), CRect(48, 353, 625, 417));
}

} // namespace
