// Writes the store refuses: a read-only file or folder, another connection
// holding the file, the file replaced under the program, a full disk. After
// the box the grid shows what the database holds, and once the cause is gone
// it equals what a fresh load shows. Rows another program removed leave the
// grid with a message.

#include <iostream>

#include "platform/dao/dao_database.h"
#include "resources/calvorn_ids.h"
#include "screens/table_bridge.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"
#include "tests/support/db_lock.h"
#include "tests/support/store_fault.h"

namespace {

enum class Block { ReadOnlyFile, ReadOnlyFolder, Exclusive, Write, Replaced, FullDisk };

constexpr Block kBlocks[] = { Block::ReadOnlyFile, Block::ReadOnlyFolder, Block::Exclusive, Block::Write,
    Block::Replaced, Block::FullDisk };

const char* NameOf(Block block)
{
    constexpr const char* kNames[]
        = { "read-only file", "read-only folder", "exclusive lock", "write lock", "replaced", "full disk" };
    return kNames[static_cast<int>(block)];
}

class WorkScreenStoreFaultTest : public WorkScreenFixture {
protected:
    void SetUp() override
    {
        WorkScreenFixture::SetUp();
        m_folder = m_root.Native("C:\\store");
        m_mounted = m_disk.Mount(m_folder);
        m_db = MakeItemDatabase("C:\\store\\items.mdb");
        Execute(m_db,
            { "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('7', 'Apple', "
              "'2500', "
              "'vexo')",
                "INSERT INTO [Item]([item_num], [item_name], [unitprice], [mg_id]) VALUES('8', 'Pear', "
                "'900', "
                "'vexo')",
                // An older placeholder a refused insert must never be bound to.
                "INSERT INTO [Item]([item_num], [mg_id]) VALUES('-1', 'vexo')" });
        Load();
    }
    void Load() { Switch(Screen::Item, "Item_Read", "vexo", m_db); }

    // False (and nothing done) where this machine cannot make the block.
    // The engine's idle connections are dropped: one kept open from before
    // writes on past a mode or flag set later, as on any file system.
    bool Apply(Block block)
    {
        MessageBoxScript::Reset();
        CDaoDatabase::TEST_DropConnectionCache();
        switch (block) {
        case Block::ReadOnlyFile:
            return m_readOnly.Apply(m_db.Str());
        case Block::ReadOnlyFolder:
            return m_readOnly.Apply(m_folder);
        case Block::Exclusive:
            return m_lock.Hold(m_db.Str(), DbLockHolder::Kind::Exclusive);
        case Block::Write:
            return m_lock.Hold(m_db.Str(), DbLockHolder::Kind::Write);
        case Block::Replaced:
            m_saved = TempDataRoot::ReadAll(m_db.Str());
            TempDataRoot::WriteAll(m_db.Str(), std::string(m_saved.size(), '\x5a'));
            return true;
        case Block::FullDisk:
            return m_mounted && m_disk.Fill();
        }
        return false;
    }
    // step(block, label) under each block this machine can make; it calls Undo.
    template <typename Step> void UnderEachBlock(Step step)
    {
        for (const Block block : kBlocks) {
            if (Apply(block))
                step(block, std::string(NameOf(block)));
            else
                std::cout << "[ skipped ] " << NameOf(block) << ": this machine cannot make it\n";
        }
    }
    void Undo(Block block)
    {
        m_readOnly.Undo();
        m_lock.Release();
        m_disk.Free();
        if (block == Block::Replaced)
            TempDataRoot::WriteAll(m_db.Str(), m_saved);
    }

    int Col(const char* title) const { return ColumnOf(title, 1); }
    std::vector<CString> GridColumn(const char* title) const
    {
        std::vector<CString> texts;
        for (int r = 1; r < Grid().GetRowCount() - 1; ++r)
            texts.push_back(Grid().GetItemText(r, Col(title)));
        return texts;
    }
    std::vector<CString> StoredIds() { return Column(m_db, "SELECT [ID] FROM [Item] ORDER BY [ID]"); }
    std::vector<std::vector<CString>> GridRows() const
    {
        std::vector<std::vector<CString>> rows;
        for (int r = 1; r < Grid().GetRowCount(); ++r)
            rows.push_back(RowTexts(r));
        return rows;
    }
    // The grid against a fresh load of the same file.
    void ExpectGridEqualsALoad(const std::string& label)
    {
        const auto shown = GridRows();
        Load();
        EXPECT_EQ(shown, GridRows()) << label;
    }

    std::string m_folder;
    FullDisk m_disk;
    bool m_mounted = false;
    ReadOnlyPath m_readOnly;
    DbLockHolder m_lock;
    std::string m_saved;
    CString m_db;
};

TEST_F(WorkScreenStoreFaultTest, ARefusedEditShowsTheStoredValue)
{
    UnderEachBlock([&](Block block, const std::string& label) {
        const CString before = Grid().GetItemText(1, Col("UNITPRICE"));
        EditCell(1, Col("UNITPRICE"), "2600");
        EXPECT_EQ(MessageBoxScript::Count(), 1u) << label;
        EXPECT_EQ(Grid().GetItemText(1, Col("UNITPRICE")), before) << label;
        Undo(block);
        EXPECT_EQ(FirstRow(m_db, "SELECT [unitprice] FROM [Item] WHERE [ID] = 1"), before + "\tjo/") << label;
        ExpectGridEqualsALoad(label);
        // The cause gone, the next edit is stored.
        const CString next = CString::Formatted("%d", 3000 + static_cast<int>(block));
        EditCell(1, Col("UNITPRICE"), next);
        EXPECT_EQ(FirstRow(m_db, "SELECT [unitprice] FROM [Item] WHERE [ID] = 1"), next + "\tjo/") << label;
        ExpectGridEqualsALoad(label);
    });
}

TEST_F(WorkScreenStoreFaultTest, ARefusedInsertOrDeleteLeavesTheGridAsStored)
{
    UnderEachBlock([&](Block block, const std::string& label) {
        const auto shown = GridRows();
        ModalDialogScript::Push([](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "3");
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickControl(IDC_WORK_INSERT);
        EXPECT_EQ(MessageBoxScript::Count(), 1u) << label;
        EXPECT_EQ(GridRows(), shown) << label;
        ClickCell(1, 2);
        ClickControl(IDC_WORK_DELETE);
        EXPECT_EQ(MessageBoxScript::Count(), 2u) << label;
        EXPECT_EQ(GridRows(), shown) << label;
        Undo(block);
        EXPECT_EQ(GridColumn("ID"), StoredIds()) << label;
        ExpectGridEqualsALoad(label);
    });
}

TEST_F(WorkScreenStoreFaultTest, ARowAnotherProgramRemovedLeavesTheGrid)
{
    // The placeholder row as a load shows it: its key "-1" as 0, nulls empty.
    EXPECT_EQ(Grid().GetItemText(3, Col("ITEM_NUM")), "0");
    EXPECT_EQ(Grid().GetItemText(3, Col("ITEM_NAME")), "");
    EXPECT_EQ(Grid().GetItemText(3, Col("UNITPRICE")), "");
    // Another program deletes rows 1 and 2; this one then edits and deletes them.
    Execute(m_db, { "DELETE FROM [Item] WHERE [ID] IN (1, 2)" });
    EditCell(1, Col("UNITPRICE"), "2600");
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, kRowGoneText);
    EXPECT_EQ(GridColumn("ID"), (std::vector<CString> { "2", "3" }));
    ClickCell(1, 2);
    ClickControl(IDC_WORK_DELETE);
    ASSERT_EQ(MessageBoxScript::Count(), 2u);
    EXPECT_EQ(MessageBoxScript::Records()[1].text, kRowGoneText);
    EXPECT_EQ(GridColumn("ID"), StoredIds());
    EXPECT_TRUE(FirstRow(m_db, "SELECT [ID] FROM [Item] WHERE [unitprice] = '2600'") == "FALSE");
    // Edits of different columns of one row by two programs both keep.
    MessageBoxScript::Reset();
    Execute(m_db, { "UPDATE [Item] SET [item_name] = 'Fig' WHERE [ID] = 3" });
    EditCell(1, Col("UNITPRICE"), "1200");
    EXPECT_EQ(
        FirstRow(m_db, "SELECT [item_name], [unitprice] FROM [Item] WHERE [ID] = 3"), "Fig\tjo/1200\tjo/");
}

TEST_F(WorkScreenStoreFaultTest, AFillRefusedUnderAnyBlockShowsWhatTheFileHolds)
{
    const auto fill = [&](const char* start) {
        ClickCell(1, Col("ITEM_NUM"));
        ModalDialogScript::Push([start](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_AUTO_VALUE_START, start);
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickToolbar(ID_AUTO_VALUE);
    };
    const auto stored = [&] { return Column(m_db, "SELECT [item_num] FROM [Item] ORDER BY [ID]"); };
    // A typed edit of the first cell before each block: its old text is not
    // what the file holds when the fill is refused.
    int typed = 20;
    EditCell(1, Col("ITEM_NUM"), CString::Formatted("%d", ++typed));
    std::vector<CString> before = stored(); // read before the block: a lock refuses it
    UnderEachBlock([&](Block block, const std::string& label) {
        const std::vector<CString> shown = GridColumn("ITEM_NUM");
        fill("900");
        EXPECT_EQ(MessageBoxScript::Count(), 1u) << label;
        EXPECT_EQ(GridColumn("ITEM_NUM"), shown) << label;
        Undo(block);
        EXPECT_EQ(stored(), before) << label;
        EXPECT_EQ(GridColumn("ITEM_NUM"), shown) << label;
        ExpectGridEqualsALoad(label);
        fill("900");
        EXPECT_EQ(stored(), (std::vector<CString> { "900", "901", "902" })) << label;
        ExpectGridEqualsALoad(label);
        EditCell(1, Col("ITEM_NUM"), CString::Formatted("%d", ++typed));
        before = stored();
    });
}

TEST_F(WorkScreenStoreFaultTest, EachRefusedCellOfAFillShowsWhatIsStored)
{
    const CString db = MakeItemDatabase("C:\\land.mdb");
    Switch(Screen::LandAddition, "Land_Add_Read", "vexo", db);
    ModalDialogScript::Push([](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_GRID_LINE_COUNT, "3");
        AfxClickDlgButton(dialog, IDOK);
    });
    ClickControl(IDC_WORK_INSERT);
    ASSERT_EQ(Grid().GetRowCount(), 5);
    auto fill = [&](const char* start) {
        ClickCell(1, 1);
        ModalDialogScript::Push([start](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_AUTO_VALUE_START, start);
            dialog.SetDlgItemText(IDC_AUTO_VALUE_INCREMENT, "1");
            AfxClickDlgButton(dialog, IDOK);
        });
        ClickToolbar(ID_AUTO_VALUE);
    };
    auto landColumn = [&] {
        std::vector<CString> texts;
        for (int r = 1; r <= 3; ++r)
            texts.push_back(Grid().GetItemText(r, 1));
        return texts;
    };
    MessageBoxScript::Reset();
    fill("1");
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Land Addition is a 201 - 500.");
    EXPECT_EQ(Column(db, "SELECT [land_num] FROM [Land_Add] ORDER BY [ID]"),
        (std::vector<CString> { "-1", "-1", "-1" }));
    EXPECT_EQ(landColumn(), (std::vector<CString> { "", "", "" }));
    // Refused by a lock: the stored values again, and all of them once it ends.
    DbLockHolder lock;
    ASSERT_TRUE(lock.Hold(m_root.Native("C:\\land.mdb"), DbLockHolder::Kind::Write));
    MessageBoxScript::Reset();
    fill("301");
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(landColumn(), (std::vector<CString> { "", "", "" }));
    lock.Release();
    fill("301");
    EXPECT_EQ(landColumn(), (std::vector<CString> { "301", "302", "303" }));
    EXPECT_EQ(Column(db, "SELECT [land_num] FROM [Land_Add] ORDER BY [ID]"),
        (std::vector<CString> { "301", "302", "303" }));
}

} // namespace
