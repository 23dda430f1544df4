#include "screens/server_sync.h"

#include <array>
#include <optional>

#include "db/item_schema.h"
#include "db/kind_table.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/plu_fields.h"
#include "protocol/scale_records.h"

struct CServerSync::Table {
    const char* name;
    std::vector<const char*> columns; // grid columns 1..n, the key first
    std::size_t firstText = 0; // columns firstText..lastText: empty is "NULL"
    std::size_t lastText = 0;
};

namespace {

constexpr std::size_t kPresetKeyChars = 9;

// The UserLabel columns the sync writes: those of the received record but
// [mg_id], which WriteRow adds.
std::vector<const char*> UserLabelColumns()
{
    std::vector<const char*> columns;
    for (const char* column : ReceivedUserLabelColumns()) {
        if (std::string_view(column) != std::string_view("mg_id"))
            columns.push_back(column);
    }
    return columns;
}

// The first line of text, at most count characters (UTF-8).
std::string FirstLine(const std::string& text, std::size_t count)
{
    const std::string line = text.substr(0, text.find('\r'));
    std::size_t end = 0;
    for (std::size_t chars = 0; end < line.size() && chars < count; ++chars) {
        ++end;
        while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            ++end;
    }
    return line.substr(0, end);
}

CString Quoted(const CString& value)
{
    return SqlLiteral(value);
}

} // namespace

CString SyncOutcomeText(const SyncResult& result)
{
    if (result.failed == 0)
        return "Sync ok";
    CString text;
    text.Format("Sync failed : %d of %d rows were not written.", result.failed, result.rows);
    return text;
}

CServerSync::CServerSync(const CString& serverDbPath, const CString& userId)
    : m_strServerDbPath(serverDbPath)
    , m_strUserId(userId)
{ }

BOOL CServerSync::Open()
{
    try {
        m_server.OpenDatabase(m_strServerDbPath);
        return TRUE;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
}

void CServerSync::Close()
{
    m_server.CloseDatabase();
}

BOOL CServerSync::ReadKeys(const Table& table, const CString& condition, Keys& keys)
{
    const CString key = SqlName(table.columns[0]);
    CCheckedDaoHelper::Rows rows;
    if (m_server.Select("SELECT " + key + ", [ID] FROM " + SqlName(table.name)
                + " WHERE [mg_id] = " + Quoted(m_strUserId) + condition + " AND " + key + " IS NOT NULL",
            &rows)
        == CCheckedDaoHelper::Lookup::Failed)
        return FALSE;
    for (const auto& row : rows)
        keys[SqlTextKey(row[0])].push_back(row[1]);
    return TRUE;
}

// " WHERE [ID] IN (...) AND " when ids holds any, else " WHERE ".
CString CServerSync::WhereRows(const std::vector<CString>& ids)
{
    if (ids.empty())
        return " WHERE ";
    CString list;
    for (const CString& id : ids)
        list += (list.IsEmpty() ? "" : ", ") + id;
    return " WHERE [ID] IN (" + list + ") AND ";
}

BOOL CServerSync::WriteRow(const Table& table, const std::vector<CString>& values, Keys& keys)
{
    const CString name = SqlName(table.name);
    const CString owner = SqlName("mg_id") + " = " + Quoted(m_strUserId);
    CString sql;
    const CString key = SqlTextKey(values[0]);
    const auto found = keys.find(key);
    if (found != keys.end()) {
        CString set;
        for (std::size_t i = 1; i < table.columns.size(); ++i)
            set += SqlName(table.columns[i]) + " = " + Quoted(values[i]) + ", ";
        sql = "UPDATE " + name + " SET " + set + owner + WhereRows(found->second) + SqlName(table.columns[0])
            + " = " + Quoted(values[0]) + " AND " + owner;
    } else {
        CString columns;
        CString list;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            columns += SqlName(table.columns[i]) + ", ";
            list += Quoted(values[i]) + ", ";
        }
        sql = "INSERT INTO " + name + "(" + columns + SqlName("mg_id") + ") VALUES(" + list
            + Quoted(m_strUserId) + ")";
    }
    if (!m_server.ExecuteChecked(sql))
        return FALSE;
    keys.try_emplace(key);
    return TRUE;
}

template <typename WriteOne> SyncResult CServerSync::Run(std::size_t count, WriteOne writeOne)
{
    SyncResult result;
    result.rows = static_cast<int>(count);
    const CMessageBoxRepeatFilter once; // a lock refuses every row: one box
    m_server.BeginBatch();
    for (std::size_t i = 0; i < count; ++i) {
        if (!writeOne(i))
            ++result.failed;
    }
    if (!m_server.EndBatch())
        result.failed = result.rows;
    return result;
}

namespace {

// The table of a kind whose rows the grid edits (db/kind_table.h); its text
// columns are those after the key, the item's the two names.
std::optional<CServerSync::Table> TableOfKind(DataKind kind)
{
    const std::span<const char* const> columns = ValueColumnsOf(kind);
    if (columns.empty())
        return std::nullopt;
    CServerSync::Table table { ItemTableOf(kind), { columns.begin(), columns.end() }, 2, columns.size() };
    if (kind == DataKind::Item) {
        table.firstText = PluColumn(PluField::ItemName);
        table.lastText = PluColumn(PluField::ItemName2);
    }
    return table;
}

const CServerSync::Table kItemTable = *TableOfKind(DataKind::Item);
const CServerSync::Table kUserLabelTable { kTableUserLabel, UserLabelColumns(), 0, 0 };
const CServerSync::Table kPresetTable { kTablePreset, { kPresetKey }, 0, 0 };

// The row's cells 1..n of the table, empty ones replaced.
std::vector<CString> GridValues(const CServerSync::Table& table, const RecordRow& row)
{
    std::vector<CString> values;
    for (std::size_t column = 1; column <= table.columns.size(); ++column) {
        const std::string_view cell = Cell(row, column);
        if (!cell.empty())
            values.emplace_back(std::string(cell));
        else
            values.emplace_back(column >= table.firstText && column <= table.lastText ? "NULL" : "0");
    }
    return values;
}

} // namespace

SyncResult CServerSync::WriteTableRows(const Table& table, std::span<const RecordRow> rows)
{
    Keys keys;
    if (!ReadKeys(table, "", keys))
        return SyncResult { static_cast<int>(rows.size()), static_cast<int>(rows.size()) };
    return Run(rows.size(), [&](std::size_t r) { return WriteRow(table, GridValues(table, rows[r]), keys); });
}

SyncResult CServerSync::WriteGridRows(DataKind kind, std::span<const RecordRow> rows)
{
    const std::optional<Table> table = TableOfKind(kind);
    return table ? WriteTableRows(*table, rows) : SyncResult();
}

SyncResult CServerSync::WriteUserLabels(std::span<const RecordRow> rows)
{
    return WriteTableRows(kUserLabelTable, rows);
}

BOOL CServerSync::ReadItems(const CString& itemDbPath, CCheckedDaoHelper::Rows& rows)
{
    CCheckedDaoHelper items;
    try {
        items.OpenDatabase(itemDbPath);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    CString sql = "SELECT " + ItemValueList() + ", [ID] FROM [Item] WHERE [item_num] IS NOT NULL";
    if (!(m_strUserId == kAdministratorId))
        sql += " AND [mg_id] = " + Quoted(m_strUserId);
    const CCheckedDaoHelper::Lookup read = items.Select(sql + " ORDER BY [ID]", &rows);
    items.CloseDatabase();
    return read != CCheckedDaoHelper::Lookup::Failed;
}

SyncResult CServerSync::WriteStoredItems(const CString& itemDbPath, std::span<const std::string> keys)
{
    CCheckedDaoHelper::Rows rows;
    Keys stored;
    if (!ReadItems(itemDbPath, rows) || !ReadKeys(kItemTable, "", stored))
        return SyncResult { static_cast<int>(keys.size()), static_cast<int>(keys.size()) };
    // The item of a key is the first row the item database holds for it.
    std::map<CString, std::size_t> first;
    for (std::size_t i = 0; i < rows.size(); ++i)
        first.try_emplace(SqlTextKey(rows[i][0]), i);
    return Run(keys.size(), [&](std::size_t k) {
        const auto found = first.find(SqlTextKey(CString(keys[k])));
        if (found == first.end())
            return FALSE;
        std::vector<CString> values = rows[found->second];
        values.resize(kItemValueCount);
        if (values[0].IsEmpty())
            values[0] = "0";
        return WriteRow(kItemTable, values, stored);
    });
}

SyncResult CServerSync::WritePresetPage(int page, std::span<const std::string> keyTexts)
{
    CString pageText;
    pageText.Format("%d", page);
    const CString onPage = " AND " + SqlName(kPresetPage) + " = " + Quoted(pageText);
    Keys stored;
    if (!ReadKeys(kPresetTable, onPage, stored))
        return SyncResult { static_cast<int>(keyTexts.size()), static_cast<int>(keyTexts.size()) };
    return Run(keyTexts.size(), [&](std::size_t k) {
        const std::string line = FirstLine(keyTexts[k], kPresetKeyChars);
        const CString text = line.empty() ? CString("0") : CString(line);
        CString num;
        num.Format("%d", static_cast<int>(k + 1));
        const auto found = stored.find(SqlTextKey(num));
        const CString sql = found != stored.end()
            ? "UPDATE [Preset] SET " + SqlName(kPresetText) + " = " + Quoted(text) + WhereRows(found->second)
                + "[mg_id] = " + Quoted(m_strUserId) + onPage + " AND " + SqlName(kPresetKey) + " = "
                + Quoted(num)
            : "INSERT INTO [Preset](" + ColumnList(kPresetColumns) + ", [mg_id]) VALUES(" + Quoted(pageText)
                + ", " + Quoted(num) + ", " + Quoted(text) + ", " + Quoted(m_strUserId) + ")";
        return m_server.ExecuteChecked(sql);
    });
}
