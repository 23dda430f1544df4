// Cell editing through the grid's edit notification: the limits of each
// column with their messages, what reaches the database, the focus kept on a
// refused cell, and SQL text that stays text.

#include "db/db_messages.h"
#include "platform/wnd/core/input_seam.h"
#include "platform/wnd/core/menu.h"
#include "screens/table_bridge.h"
#include "shell/screen_table.h"
#include "tests/screens/work_screen_fixture.h"

namespace {

class WorkScreenEditTest : public WorkScreenFixture {
protected:
    void LoadItems(const char* posKind = "0", const char* posCode = "123")
    {
        m_db = MakeItemDatabase();
        Execute(m_db,
            { CString::Formatted(
                  "INSERT INTO [Item]([item_num], [item_name], [unitprice], [land], [pos_kind], "
                  "[pos_code], [mg_id]) VALUES('7', 'Apple', '1500', '12', '%s', '%s', 'vexo')",
                  posKind, posCode),
                "INSERT INTO [Item]([item_num], [item_name], [mg_id]) VALUES('8', 'Pear', 'vexo')" });
        Switch(Screen::Item, "Item_Read", "vexo", m_db);
        ASSERT_EQ(Grid().GetRowCount(), 4);
    }
    int Col(const char* title) const { return ColumnOf(title, 1); }
    CString Stored(const char* column, int id = 1)
    {
        return FirstRow(m_db, CString::Formatted("SELECT [%s] FROM [Item] WHERE [ID] = %d", column, id));
    }
    static CString Value(const char* text) { return CString(text) + "\tjo/"; }

    CString m_db;
};

const std::string kHangul14 = "가나다라마바사아자차카타파하";

} // namespace

TEST_F(WorkScreenEditTest, ItemColumnsKeepTheirLimits)
{
    LoadItems();
    struct Case {
        const char* title;
        const char* column;
        std::string typed;
        const char* refusal; // nullptr: stored
        const char* stored; // what the database holds afterwards
    };
    const Case cases[] = {
        { "ITEM_NUM", "item_num", "100000", " Item number is a 1 - 99999.", "7" },
        { "ITEM_NUM", "item_num", "99999", nullptr, "99999" },
        { "ITEM_NAME", "item_name", kHangul14, nullptr, kHangul14.c_str() },
        { "ITEM_NAME", "item_name", kHangul14 + "가", " Item Name is a 28 character.", kHangul14.c_str() },
        { "ITEM_NAME", "item_name", "", nullptr, "" },
        { "ITEM_NAME2", "item_name2", std::string(29, 'x'), " Item Name2 is a 28 character.", "NULL" },
        { "ITEM_NAME2", "item_name2", std::string(28, 'x'), nullptr, "xxxxxxxxxxxxxxxxxxxxxxxxxxxx" },
        { "UNITPRICE", "unitprice", "1000000", "Unit price is a 1 - 999999.", "1500" },
        { "UNITPRICE", "unitprice", "-5", nullptr, "-5" },
        // A number is a whole number: leading digits are not enough.
        { "UNITPRICE", "unitprice", "12ab", "Unit price is a 1 - 999999.", "-5" },
        { "UNITPRICE", "unitprice", "12,900", "Unit price is a 1 - 999999.", "-5" },
        { "UNITPRICE", "unitprice", "0", nullptr, "0" },
        { "ITEM_NUM", "item_num", "7x", " Item number is a 1 - 99999.", "99999" },
        { "LAND", "land", "3a", "Land is a 0 - 300.", "12" },
        { "POS_KIND", "pos_kind", "-", "Pos Kind is a 0 - 3.", "0" },
        { "POS_CODE", "pos_code", "12 34", "Pos code is a 1 - 999999.", "123" },
        { "DATEPRINT", "dateprint", "1.5", "DatePrinting is a 0 - 7.", "NULL" },
        { "FIX_PRICE", "fix_price", "9x", "Fix_price is a 1 - 99999.", "NULL" },
        { "POS_FLG", "pos_flg", "1+", "Pos flag is a 1 - 999.", "NULL" },
        { "UNITPRICE", "unitprice", "", nullptr, "0" },
        { "FIX_PRICE", "fix_price", "100000", "Fix_price is a 1 - 99999.", "NULL" },
        { "FIX_PRICE", "fix_price", "99999", nullptr, "99999" },
        { "LAND", "land", "301", "Land is a 0 - 300.", "12" },
        { "LAND", "land", "300", nullptr, "300" },
        { "POS_FLG", "pos_flg", "1000", "Pos flag is a 1 - 999.", "NULL" },
        { "POS_FLG", "pos_flg", "999", nullptr, "999" },
        { "DATEPRINT", "dateprint", "8", "DatePrinting is a 0 - 7.", "NULL" },
        { "DATEPRINT", "dateprint", "7", nullptr, "7" },
        { "POS_KIND", "pos_kind", "4", "Pos Kind is a 0 - 3.", "0" },
        { "POS_CODE", "pos_code", "1234567", "Pos code is a 1 - 999999.", "123" },
        { "POS_CODE", "pos_code", "999999", nullptr, "999999" },
        { "PIECE", "piece", "anything at all", nullptr, "anything at all" },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        const int column = Col(c.title);
        ASSERT_GT(column, 0) << c.title;
        Grid().SetFocusCell(2, 1);
        const CString shown = Grid().GetItemText(1, column);
        EditCell(1, column, CString(c.typed));
        const std::string label = std::string(c.title) + " <- " + c.typed;
        if (c.refusal) {
            ASSERT_EQ(MessageBoxScript::Count(), 1u) << label;
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.refusal) << label;
            EXPECT_EQ(Grid().GetFocusCell().row, 1) << label;
            EXPECT_EQ(Grid().GetFocusCell().col, column) << label;
            EXPECT_TRUE(Grid().IsFocusHeld()) << label;
            EXPECT_EQ(Grid().GetItemText(1, column), shown) << label; // what is stored
        } else {
            EXPECT_EQ(MessageBoxScript::Count(), 0u) << label;
            EXPECT_FALSE(Grid().IsFocusHeld()) << label;
        }
        EXPECT_EQ(Stored(c.column), Value(c.stored)) << label;
    }
}

// The land's limit follows the language: 300 in English, none with the sale
// columns. The Korean titles are not the check's: there a column is held to
// the item number's limits. The default-value dialog holds the land to 300
// whatever the language.
TEST_F(WorkScreenEditTest, TheLandLimitFollowsTheLanguage)
{
    struct Case {
        int language;
        const char* title;
        const char* typed;
        const char* refusal; // nullptr: stored
    };
    const Case cases[] = {
        { 1, "원산지", "481", nullptr },
        { 1, "원산지", "100000", "상품번호는 1 - 99999번이내로 하여야 함" },
        { 2, "LAND", "301", "Land is a 0 - 300." },
        { 2, "LAND", "300", nullptr },
        { 3, "LAND", "999", nullptr },
        { 3, "LAND", "12345", nullptr },
    };
    for (const Case& c : cases) {
        MessageBoxScript::Reset();
        m_screen->SetLanguage(c.language);
        LoadItems();
        const int land = Col(c.title);
        ASSERT_GT(land, 0) << c.title;
        EditCell(1, land, c.typed);
        const std::string label = std::to_string(c.language) + " " + c.typed;
        if (c.refusal) {
            ASSERT_EQ(MessageBoxScript::Count(), 1u) << label;
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.refusal) << label;
            EXPECT_EQ(Stored("land"), Value("12")) << label;
        } else {
            EXPECT_EQ(MessageBoxScript::Count(), 0u) << label;
            EXPECT_EQ(Stored("land"), Value(c.typed)) << label;
        }
    }
}

TEST_F(WorkScreenEditTest, TheClickAfterARefusalBoxSelectsTheCellClicked)
{
    LoadItems();
    const int price = Col("UNITPRICE");
    EditCell(1, price, "12ab");
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    ClickCell(2, Col("ITEM_NAME"));
    EXPECT_EQ(Grid().GetFocusCell(), CGridCellCoord(2, Col("ITEM_NAME")));
    EXPECT_FALSE(Grid().IsFocusHeld());
}

TEST_F(WorkScreenEditTest, PosKindAndPosCodeAreCheckedTogether)
{
    LoadItems("2", "1234567890");
    const int kind = Col("POS_KIND");
    const int code = Col("POS_CODE");
    // Kind 2 admits ten digits.
    EditCell(1, code, "1234567891");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    EXPECT_EQ(Stored("pos_code"), Value("1234567891"));
    // Back to kind 0: the kind is stored, the code is named as too long.
    EditCell(1, kind, "0");
    EXPECT_EQ(Stored("pos_kind"), Value("0"));
    ASSERT_EQ(MessageBoxScript::Count(), 1u);
    EXPECT_EQ(MessageBoxScript::Records()[0].text, "Pos code is a 1 - 999999.");
    EXPECT_EQ(Grid().GetFocusCell().col, code);
    EXPECT_FALSE(Grid().IsFocusHeld());
    // A code of six characters suits kind 0.
    MessageBoxScript::Reset();
    Grid().SetItemText(1, code, "123456");
    EditCell(1, kind, "0");
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    // Kind 1 admits seven digits up to 10,000,000; kind 3 eight up to 100,000,000.
    struct Case {
        const char* kind;
        const char* code;
        bool stored;
    };
    for (const Case& c : { Case { "1", "9999999", true }, Case { "1", "10000000", false },
             Case { "3", "99999999", true }, Case { "3", "123456789", false } }) {
        MessageBoxScript::Reset();
        Grid().SetItemText(1, kind, c.kind);
        EditCell(1, code, c.code);
        EXPECT_EQ(MessageBoxScript::Count(), c.stored ? 0u : 1u) << c.kind << " " << c.code;
        EXPECT_EQ(Stored("pos_code") == Value(c.code), c.stored) << c.kind << " " << c.code;
    }
    // A new kind names a code already too long for it: eight digits for kind
    // 3, ten for kind 2, any for kind 1.
    struct Change {
        const char* code;
        const char* kind;
        const char* warning; // nullptr: none
    };
    for (const Change& c :
        { Change { "123456789", "3", "Pos code is a 1 - 99999999." }, Change { "12345678", "3", nullptr },
            Change { "12345678901", "2", "Pos code is a 1 - 9999999999." },
            Change { "1234567890", "2", nullptr }, Change { "12345678901", "1", nullptr } }) {
        MessageBoxScript::Reset();
        Grid().SetItemText(1, code, c.code);
        EditCell(1, kind, c.kind);
        EXPECT_EQ(Stored("pos_kind"), Value(c.kind)) << c.kind << " " << c.code;
        ASSERT_EQ(MessageBoxScript::Count(), c.warning ? 1u : 0u) << c.kind << " " << c.code;
        if (c.warning) {
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.warning) << c.kind << " " << c.code;
        }
    }
}

TEST_F(WorkScreenEditTest, ShortTablesStoreNullForAnEmptiedTextAndCheckTheirNumbers)
{
    m_db = MakeItemDatabase();
    Execute(m_db,
        { "INSERT INTO [Add]([num], [str1], [mg_id]) VALUES('5', 'salt', 'vexo')",
            "INSERT INTO [Land_Add]([land_num], [land_str], [mg_id]) VALUES('201', 'Jeju', 'vexo')",
            "INSERT INTO [AdvT]([adv_num], [str1], [mg_id]) VALUES('3', 'Sale', 'vexo')" });
    struct Case {
        Screen hint;
        const char* query;
        const char* table;
        const char* column;
        int gridColumn;
        std::string typed;
        const char* refusal;
        const char* stored;
    };
    const Case cases[] = {
        { Screen::Ingredient, "Add_Read", "Add", "num", 1, "601", " Ingre. number is a 1 - 600.", "5" },
        { Screen::Ingredient, "Add_Read", "Add", "num", 1, "600", nullptr, "600" },
        { Screen::Ingredient, "Add_Read", "Add", "num", 1, "", nullptr, "0" },
        { Screen::Ingredient, "Add_Read", "Add", "str1", 2, "", nullptr, "NULL" },
        { Screen::Ingredient, "Add_Read", "Add", "str1", 2, std::string(61, 's'),
            "Line String is within 60 characters", "NULL" },
        { Screen::Advertisement, "Adv_Read", "AdvT", "str1", 2, std::string(51, 'a'),
            "Line1 is within 50 characters", "Sale" },
        { Screen::Advertisement, "Adv_Read", "AdvT", "adv_num", 1, "999", nullptr, "999" },
        { Screen::Advertisement, "Adv_Read", "AdvT", "str1", 2, "", nullptr, "NULL" },
        { Screen::Advertisement, "Adv_Read", "AdvT", "adv_num", 1, "", nullptr, "0" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_num", 1, "200",
            "Land Addition is a 201 - 500.", "201" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_num", 1, "501",
            "Land Addition is a 201 - 500.", "201" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_num", 1, "500", nullptr, "500" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_str", 2, std::string(51, 'l'),
            "Line1 is within 50 characters", "Jeju" },
        { Screen::LandAddition, "Land_Add_Read", "Land_Add", "land_str", 2, "", nullptr, "NULL" },
    };
    for (const Case& c : cases) {
        Switch(c.hint, c.query, "vexo", m_db);
        MessageBoxScript::Reset();
        EditCell(1, c.gridColumn, CString(c.typed));
        const std::string label = std::string(c.table) + "." + c.column + " <- " + c.typed;
        ASSERT_EQ(MessageBoxScript::Count(), c.refusal ? 1u : 0u) << label;
        if (c.refusal) {
            EXPECT_EQ(MessageBoxScript::Records()[0].text, c.refusal) << label;
        }
        EXPECT_EQ(
            FirstRow(m_db, CString::Formatted("SELECT [%s] FROM [%s] WHERE [ID] = 1", c.column, c.table)),
            Value(c.stored))
            << label;
        // The cell shows what a load of the stored value shows ("NULL" empty).
        const CString shown = Grid().GetItemText(1, c.gridColumn);
        Switch(c.hint, c.query, "vexo", m_db);
        EXPECT_EQ(Grid().GetItemText(1, c.gridColumn), shown) << label;
    }
}

TEST_F(WorkScreenEditTest, QuotesAndStatementsInAValueAreStoredAsText)
{
    LoadItems();
    const int name = Col("ITEM_NAME");
    for (const char* text : { "O'Brien", "x'; DELETE FROM [Item]; --" }) {
        EditCell(1, name, text);
        EXPECT_EQ(Stored("item_name", 1), Value(text));
    }
    EXPECT_EQ(Stored("item_name", 2), Value("Pear"));
    EXPECT_EQ(Column(m_db, "SELECT [ID] FROM [Item] ORDER BY [ID]"), (std::vector<CString> { "1", "2" }));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
}

TEST_F(WorkScreenEditTest, ARowWithoutANumericKeyIsNotWritten)
{
    LoadItems();
    const int name = Col("ITEM_NAME");
    const int key = ColumnOf("ID");
    for (const char* badKey : { "", "1 OR 1=1", "abc" }) {
        MessageBoxScript::Reset();
        Grid().SetItemText(1, key, badKey);
        EditCell(1, name, "Changed");
        ASSERT_EQ(MessageBoxScript::Count(), 1u) << badKey;
        EXPECT_NE(MessageBoxScript::Records()[0].text.Find("no ID"), -1);
    }
    EXPECT_EQ(Column(m_db, "SELECT [item_name] FROM [Item] ORDER BY [ID]"),
        (std::vector<CString> { "Apple", "Pear" }));
}

// The keys a statement may carry as [ID]: digits after at most one sign,
// no more than 18 of them.
TEST(TableBridgeKeyTest, AKeyIsAWholeNumberOfAtMostEighteenDigits)
{
    const std::pair<const char*, BOOL> cases[] = { { "17", TRUE }, { "+5", TRUE }, { "-5", TRUE },
        { "-", FALSE }, { "", FALSE }, { "5-", FALSE }, { "--5", FALSE }, { "123456789012345678", TRUE },
        { "-123456789012345678", TRUE }, { "1234567890123456789", FALSE } };
    for (const auto& [key, whole] : cases)
        EXPECT_EQ(IsIntegerKey(key), whole) << key;
}

TEST_F(WorkScreenEditTest, EditsWriteNothingWithoutADatabaseOrOnTheKeyOrOnScaleSettings)
{
    LoadItems();
    const int name = Col("ITEM_NAME");
    // The key column itself.
    EditCell(1, ColumnOf("ID"), "5");
    // The scale settings screen writes through its own dialogs (its grid is
    // another; the hint alone is changed, as no door does; so is the path).
    m_screen->Context().SetHint(5);
    EditCell(1, name, "Scale");
    m_screen->Context().SetHint(1);
    // No item database under a loaded grid: only the grid changes.
    const CString path = m_screen->Context().ItemDbPath();
    m_screen->Context().SetItemDbPath("");
    EditCell(1, name, "Nowhere");
    m_screen->Context().SetItemDbPath(path);
    EXPECT_EQ(Column(m_db, "SELECT [ID] FROM [Item] ORDER BY [ID]"), (std::vector<CString> { "1", "2" }));
    EXPECT_EQ(Stored("item_name"), Value("Apple"));
    EXPECT_EQ(MessageBoxScript::Count(), 0u);
    // An edit that changes nothing still writes the cell.
    EditCell(2, name, "Pear");
    EXPECT_EQ(Stored("item_name", 2), Value("Pear"));
}

TEST_F(WorkScreenEditTest, SalePriceAndPeriodArePackedAndRefusedWhenTheyDoNotFit)
{
    m_db = MakeItemDatabase();
    Execute(m_db,
        { "INSERT INTO [Item]([item_num], [sale_price], [sale_day], [mg_id]) VALUES('7', '16777316', "
          "'12330', 'vexo')" });
    m_screen->SetLanguage(3);
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    const int kind = Col("SALE_KIND");
    ASSERT_GT(kind, 0);
    EXPECT_EQ(Grid().GetItemText(1, kind), "1");
    EXPECT_EQ(Grid().GetItemText(1, kind + 1), "100");
    EXPECT_EQ(Grid().GetItemText(1, kind + 2), "1");
    EXPECT_EQ(Grid().GetItemText(1, kind + 3), "1");
    EXPECT_EQ(Grid().GetItemText(1, kind + 4), "42");
    EditCell(1, kind + 1, "16777215");
    EXPECT_EQ(Stored("sale_price"), Value("33554431"));
    EditCell(1, kind + 1, "16777216");
    EXPECT_EQ(MessageBoxScript::Records().back().text, "Sale price is a 0 - 16777215.");
    EXPECT_EQ(Stored("sale_price"), Value("33554431"));
    EditCell(1, kind + 3, "0");
    EXPECT_EQ(Stored("sale_day"), Value("10282"));
    EditCell(1, kind + 4, "2048");
    EXPECT_EQ(MessageBoxScript::Records().back().text, "Sale period is a 0 - 2047.");
    EXPECT_EQ(Stored("sale_day"), Value("10282"));
    EXPECT_EQ(Grid().GetItemText(1, kind + 4), "42"); // the stored part, not the packed field
    EditCell(1, kind, "256");
    EXPECT_EQ(MessageBoxScript::Records().back().text, "Sale kind is a 0 - 255.");
    // Their numbers are whole numbers too.
    for (const auto& [column, text] : { std::pair { kind, "1a" }, { kind + 1, "5x" }, { kind + 4, "1 " } }) {
        const std::size_t boxes = MessageBoxScript::Count();
        EditCell(1, column, text);
        EXPECT_EQ(MessageBoxScript::Count(), boxes + 1) << text;
    }
    EXPECT_EQ(Stored("sale_price"), Value("33554431"));
    // The lowest sale price is stored.
    EditCell(1, kind + 1, "0");
    EXPECT_EQ(Stored("sale_price"), Value("16777216"));
    EXPECT_EQ(Stored("sale_day"), Value("10282"));
    const std::size_t boxes = MessageBoxScript::Count();
    EditCell(1, kind, "255");
    EXPECT_EQ(MessageBoxScript::Count(), boxes);
    EditCell(1, kind, "0");
    EXPECT_EQ(Stored("sale_price"), Value("0"));
    // SALE_START takes what is typed.
    EditCell(1, Col("SALE_START"), "20261209");
    EXPECT_EQ(Stored("sale_start"), Value("20261209"));
    // A period value typed keeps the other two period fields; the row shows
    // what a load of the stored fields shows.
    EditCell(1, kind + 4, "41");
    const std::vector<CString> shown = RowTexts(1);
    Switch(Screen::Item, "Item_Read", "vexo", m_db);
    EXPECT_EQ(RowTexts(1), shown);
    EXPECT_EQ(Grid().GetItemText(1, kind + 3), "0");
    EXPECT_EQ(Grid().GetItemText(1, kind + 4), "41");
}

TEST_F(WorkScreenEditTest, AltAndALetterReachTheMenusOnlyWhileNoCellIsEdited)
{
    LoadItems();
    PopupMenuScript::Enable();
    PopupMenuScript::Reset();
    const int name = Col("ITEM_NAME");
    ClickCell(1, name);
    ASSERT_TRUE(AfxSimulateKey(Grid().GetSafeHwnd(), VK_F2));
    ASSERT_TRUE(Grid().IsItemEditing(1, name));
    CWnd* editor = CWnd::GetFocus();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor, &Grid());
    ASSERT_TRUE(AfxSimulateKey(editor->GetSafeHwnd(), 'F', "f", FALSE, FALSE, TRUE));
    EXPECT_TRUE(PopupMenuScript::Records().empty());
    EXPECT_TRUE(Grid().IsItemEditing(1, name));
    ASSERT_TRUE(AfxSimulateKey(editor->GetSafeHwnd(), VK_ESCAPE, "\x1b"));
    ASSERT_TRUE(AfxSimulateKey(Grid().GetSafeHwnd(), 'F', "f", FALSE, FALSE, TRUE));
    EXPECT_EQ(PopupMenuScript::Records().size(), 1u); // "File(&F)"
    PopupMenuScript::Disable();
    PopupMenuScript::Reset();
}
