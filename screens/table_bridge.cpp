#include "screens/table_bridge.h"

#include <cstdlib>

#include "db/db_messages.h"
#include "db/item_columns.h"
#include "db/item_db_worker.h"
#include "db/item_schema.h"
#include "db/kind_table.h"
#include "db/mailbox_dlg.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/grid_cells.h"
#include "screens/item_defaults.h"
#include "screens/reply_row.h"
#include "screens/sale_fields.h"
#include "screens/work_screen_context.h"
#include "shell/calvorn_view.h"

namespace {

// A kind's default column list: its value columns and the key, the Item
// list with the sale columns before [additem] in language 3; empty for the
// kinds without a table.
CString DefaultColumns(DataKind kind, bool withSale)
{
    if (kind == DataKind::Item && withSale)
        return ItemValueList(0, kItemValuesBeforeSale) + ", [sale_start], [sale_price], [sale_day], "
            + ItemValueList(kItemValuesBeforeSale) + ", [ID]";
    if (const std::span<const char* const> columns = ValueColumnsOf(kind); !columns.empty())
        return ColumnList(columns) + ", [ID]";
    if (kind == DataKind::Preset)
        return ColumnList(kPresetKeyColumns) + ", [ID]";
    return kind == DataKind::UserLabel ? CString("*") : CString();
}

// The titles in language 1 of the item value columns (db/item_columns.h),
// then of the key.
constexpr std::size_t kItemKoreanTitleCount = kItemValueCount + 1;

const char* KoreanTitle(std::size_t n)
{
    return n < kItemValueCount ? kItemColumns[n].koreanTitle : "ID";
}

// Item field n (0-based) in KoreanTitle order: a value column, then "ID".
const char* ItemField(std::size_t n)
{
    return n < kItemValueCount ? kItemValueColumns[n] : "ID";
}

long Atol(const CString& text)
{
    return std::strtol(text.GetString(), nullptr, 10);
}

// The table column at a grid column (1 the key) for the language-1 edits of
// the short tables: a value column, then "ID"; nullptr beyond them.
const char* ShortTableColumn(DataKind kind, int column)
{
    const std::span<const char* const> columns = ValueColumnsOf(kind);
    if (columns.empty() || column < 1)
        return nullptr;
    const auto n = static_cast<std::size_t>(column - 1);
    return n < columns.size() ? columns[n] : n == columns.size() ? "ID" : nullptr;
}

void WriteSalePrice(CGridCtrl& grid, int row, int first, const CString& stored)
{
    const SalePrice sale = UnpackSalePrice(stored.View());
    grid.SetItemText(row, first, CString::Formatted("%ld", static_cast<long>(sale.kind)));
    grid.SetItemText(row, first + 1, CString::Formatted("%ld", static_cast<long>(sale.price)));
}

void WriteSaleDay(CGridCtrl& grid, int row, int first, const CString& stored)
{
    const SaleDay day = UnpackSaleDay(stored.View());
    grid.SetItemText(row, first, CString::Formatted("%ld", static_cast<long>(day.periodKind)));
    grid.SetItemText(row, first + 1, CString::Formatted("%d", day.option1));
    grid.SetItemText(row, first + 2, CString::Formatted("%ld", static_cast<long>(day.periodValue)));
}

} // namespace

CString ShownValue(DataKind kind, bool firstField, const CString& stored)
{
    switch (kind) {
    case DataKind::Item:
        if (firstField)
            return stored == "-1" || stored == "NULL" ? CString("0") : stored;
        return stored == "NULL" || stored == "0" ? CString() : stored;
    case DataKind::UserLabel:
        return stored == "NULL" || (firstField && stored == "-1") ? CString("0") : stored;
    default:
        return stored == "-1" || stored == "0" || stored == "NULL" ? CString() : stored;
    }
}

BOOL IsIntegerKey(const CString& key)
{
    const std::string_view text = key.View();
    std::size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i >= text.size() || text.size() - i > 18)
        return FALSE;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return FALSE;
    }
    return TRUE;
}

CTableBridge::CTableBridge(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CPresetKeyPage& presetKeys, CItemDefaults& defaults, CManagerList& managers)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_presetKeys(presetKeys)
    , m_defaults(defaults)
    , m_managers(managers)
    , m_rowBuffer(kRowFieldCount)
{ }

void CTableBridge::ClearRowBuffer()
{
    std::fill(m_rowBuffer.begin(), m_rowBuffer.end(), CString());
}

// ---- Senders ---------------------------------------------------------------------

CString CTableBridge::TakeUserWhere(CString& requestName, const char* prefix) const
{
    const CMailboxDlg::Query query = m_data.DbMailbox().TakeQuery();
    requestName = query.name;
    if (query.user == kAdministratorId)
        return "";
    return CString(prefix) + "[mg_id] = " + SqlLiteral(query.user);
}

void CTableBridge::SendSelect(const CString& databasePath, const CString& sql, const CString& requestName)
{
    CItemDbWorker* worker = &m_data.ItemWorker();
    worker->OpenDatabase(databasePath);
    m_loaded = { databasePath, worker->OpenedFile(), false };
    worker->SendNamed(requestName, sql);
}

void CTableBridge::Request(DataKind kind, CString databasePath, CString columnList)
{
    if (IsResultRead(kind)) {
        RequestResults(kind, databasePath, columnList);
        return;
    }
    const CString defaultColumns = DefaultColumns(kind, m_screen.Language() == 3);
    if (defaultColumns.IsEmpty())
        return;
    m_nRowsReceived = 0;
    if (kind != DataKind::Preset)
        m_nColumnCount = m_nNextRow = 0;
    if (kind == DataKind::Item)
        m_nHasSalePrice = m_nHasSaleDay = m_nSalePriceIndex = m_nSaleDayIndex = 0;
    if (kind == DataKind::UserLabel)
        m_nSkippedIndex = 0;
    CString name;
    CString where = TakeUserWhere(name, " WHERE ");
    if (kind == DataKind::Preset) {
        const CString page = CString::Formatted("[%s] = '%d'", kPresetPage, m_presetKeys.GetPage());
        where = where.IsEmpty() ? " WHERE " + page : where + " AND " + page;
    }
    CString columns = columnList;
    if (columns.IsEmpty())
        columns = defaultColumns;
    SendSelect(databasePath, "SELECT " + columns + " FROM [" + ItemTableOf(kind) + "]" + where, name);
}

// ---- Readers ---------------------------------------------------------------------

void CTableBridge::Acknowledge()
{
    m_data.ItemWorker().Acknowledge();
}

int CTableBridge::TakeReplyRow(const CString& rowText)
{
    m_nColumnCount = SplitReplyRow(rowText, m_rowBuffer);
    ++m_nRowsReceived;
    return std::min<int>(m_nColumnCount, static_cast<int>(m_rowBuffer.size()));
}

int CTableBridge::InsertListRow()
{
    return m_grid.Grid().InsertRow(CString::Formatted("List %ld", static_cast<long>(m_nNextRow)), m_nNextRow);
}

void CTableBridge::OnItemRow(CString rowText)
{
    m_nColumnCount = SplitReplyRow(rowText, m_rowBuffer);
    ++m_nRowsReceived;
    if (m_nRowsReceived == 1)
        WriteItemHeader();
    else
        WriteItemData();
    ++m_nNextRow;
    Acknowledge();
}

void CTableBridge::WriteItemHeader()
{
    const int values = std::min<int>(m_nColumnCount, static_cast<int>(m_rowBuffer.size()));
    int columns = values;
    for (int i = 0; i < values; ++i) {
        if (m_rowBuffer[i] == "SALE_PRICE") {
            m_nHasSalePrice = 1;
            m_nSalePriceIndex = i;
            columns += 1;
        } else if (m_rowBuffer[i] == "SALE_DAY") {
            m_nHasSaleDay = 1;
            m_nSaleDayIndex = i;
            columns += 2;
        }
    }
    SetGridColumnCount(m_grid.Grid(), columns + 1);
    if (m_screen.Language() == 1) {
        ClearRowBuffer();
        if (!m_defaults.LoadDefaultValues()) {
            for (std::size_t i = 0; i < kItemKoreanTitleCount; ++i)
                m_rowBuffer[i] = KoreanTitle(i);
        } else {
            m_defaults.LoadUncheckIndex();
            int n = 0;
            for (std::size_t k = 0; k < kItemValueCount; ++k) {
                if (m_defaults.GetUncheckColumns()[2 * k] == kItemValueColumns[k])
                    m_rowBuffer[n++] = KoreanTitle(k);
            }
            m_rowBuffer[n] = "ID";
        }
    }
    CGridCtrl& grid = m_grid.Grid();
    int column = 1;
    for (int i = 0; i < values; ++i) {
        const CString& title = m_rowBuffer[i];
        if (title == "SALE_PRICE") {
            grid.SetItemText(0, column++, "SALE_KIND");
            grid.SetItemText(0, column++, "SALE_PRICE");
        } else if (title == "SALE_DAY") {
            grid.SetItemText(0, column++, "SALE_PERIOD");
            grid.SetItemText(0, column++, "SALE_PERIOD OPT1");
            grid.SetItemText(0, column++, "SALE_PERIOD OPT2");
        } else if (title == "ADDITEM") {
            grid.SetItemText(0, column++, "INGREDIENT");
        } else {
            grid.SetItemText(0, column++, title);
        }
    }
}

void CTableBridge::WriteItemData()
{
    CGridCtrl& grid = m_grid.Grid();
    const int row = InsertListRow();
    if (row < 0)
        return;
    const int values = std::min<int>(m_nColumnCount, static_cast<int>(m_rowBuffer.size()));
    int column = 1;
    for (int i = 0; i < values; ++i) {
        const CString value = ShownValue(DataKind::Item, i == 0, m_rowBuffer[i]);
        if (i == m_nSalePriceIndex && m_nHasSalePrice) {
            WriteSalePrice(grid, row, column, value);
            column += 2;
        } else if (i == m_nSaleDayIndex && m_nHasSaleDay) {
            WriteSaleDay(grid, row, column, value);
            column += 3;
        } else {
            grid.SetItemText(row, column++, value);
        }
    }
}

void CTableBridge::ShortTableRow(const CString& rowText, std::initializer_list<const char*> koreanTitles)
{
    const int values = TakeReplyRow(rowText);
    CGridCtrl& grid = m_grid.Grid();
    if (m_nRowsReceived == 1) {
        SetGridColumnCount(m_grid.Grid(), values + 1);
        if (m_screen.Language() == 1) {
            ClearRowBuffer();
            std::size_t i = 0;
            for (const char* title : koreanTitles)
                m_rowBuffer[i++] = title;
        }
        for (int i = 0; i < values; ++i)
            grid.SetItemText(0, i + 1, m_rowBuffer[i]);
    } else {
        const int row = InsertListRow();
        for (int i = 0; row >= 0 && i < values; ++i) {
            grid.SetItemText(row, i + 1, ShownValue(DataKind::Add, i == 0, m_rowBuffer[i]));
        }
    }
    ++m_nNextRow;
    Acknowledge();
}

void CTableBridge::OnAddRow(CString rowText)
{
    ShortTableRow(rowText,
        { "첨가물 번호", "문자열1", "문자열2", "문자열3", "문자열4", "문자열5", "문자열6", "문자열7",
            "문자열8", "문자열9", "문자열10", "ID" });
}

void CTableBridge::OnAdvRow(CString rowText)
{
    ShortTableRow(rowText, { "광고문 번호", "문자열1", "문자열2", "ID" });
}

void CTableBridge::OnLandAddRow(CString rowText)
{
    ShortTableRow(rowText, { "원산지 번호", "원산지 명", "ID" });
}

void CTableBridge::OnPresetRow(CString rowText)
{
    SplitReplyRow(rowText, m_rowBuffer);
    ++m_nRowsReceived;
    if (m_nRowsReceived > 1) {
        const long key = Atol(m_rowBuffer[0]);
        if (key >= 1 && key <= 60)
            m_presetKeys.SetKey(static_cast<int>(key), m_rowBuffer[1], m_rowBuffer[2]);
    }
    Acknowledge();
}

void CTableBridge::OnUserLabelRow(CString rowText)
{
    const int values = TakeReplyRow(rowText);
    CGridCtrl& grid = m_grid.Grid();
    if (m_nRowsReceived == 1) {
        m_nSkippedIndex = -1;
        for (int i = 0; i < values; ++i) {
            if (m_rowBuffer[i] == "mg_id") {
                m_nSkippedIndex = i;
                break;
            }
        }
        SetGridColumnCount(m_grid.Grid(), values + (m_nSkippedIndex >= 0 ? 0 : 1));
        int column = 1;
        for (int i = 0; i < values; ++i) {
            if (i != m_nSkippedIndex)
                grid.SetItemText(0, column++, m_rowBuffer[i]);
        }
    } else {
        const int row = InsertListRow();
        int column = 1;
        for (int i = 0; row >= 0 && i < values; ++i) {
            if (i == m_nSkippedIndex)
                continue;
            grid.SetItemText(row, column++, ShownValue(DataKind::UserLabel, i == 0, m_rowBuffer[i]));
        }
    }
    ++m_nNextRow;
    Acknowledge();
}

// ---- Writers ---------------------------------------------------------------------

CString CTableBridge::ColumnNameFor(int column, DataKind kind)
{
    const CString title = m_grid.Grid().GetItemText(0, column);
    if (kind == DataKind::Item) {
        if (m_screen.Language() != 1)
            return title == "INGREDIENT" ? CString("ADDITEM") : title;
        if (!m_defaults.LoadDefaultValues())
            return column >= 1 && column <= static_cast<int>(kItemKoreanTitleCount)
                ? CString(ItemField(static_cast<std::size_t>(column - 1)))
                : CString();
        for (std::size_t i = 0; i < kItemValueCount; ++i) {
            if (title == KoreanTitle(i))
                return kItemValueColumns[i];
        }
        return "";
    }
    if (m_screen.Language() != 1) {
        CString name = title;
        return name.MakeLower();
    }
    if (const char* name = ShortTableColumn(kind, column))
        return CString(name).MakeLower();
    return title.IsEmpty() ? CString() : CString(title).MakeLower();
}

BOOL CTableBridge::OpenForWrite(const CString& databasePath)
{
    const bool loaded = databasePath == m_loaded.path;
    if (loaded && m_loaded.replaced)
        return FALSE;
    CItemDbWorker& worker = m_data.ItemWorker();
    try {
        worker.OpenDatabase(databasePath);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (!loaded || worker.OpenedFile() == m_loaded.identity)
        return TRUE;
    worker.CloseDatabase();
    TellReplaced();
    return FALSE;
}

void CTableBridge::TellReplaced()
{
    m_loaded.replaced = true;
    AfxMessageBox(kStoreReplacedText, MB_OK | MB_ICONSTOP);
    // Loaded again once the command that wrote has ended.
    m_screen.Form().PostMessage(WM_STORE_REPLACED);
}

bool CTableBridge::IsReplaced(const CString& databasePath)
{
    if (databasePath != m_loaded.path)
        return false;
    if (m_loaded.replaced)
        return true;
    CItemDbWorker& worker = m_data.ItemWorker();
    try {
        worker.OpenDatabase(databasePath);
    } catch (CException* e) {
        e->Delete(); // the read after it fails as quietly
        return false;
    }
    const bool same = worker.OpenedFile() == m_loaded.identity;
    worker.CloseDatabase();
    if (!same)
        TellReplaced();
    return !same;
}

WPARAM CTableBridge::RunRequest(const CString& databasePath, DbRequest request, const CString& sql)
{
    if (!OpenForWrite(databasePath))
        return kDbDoneFailed;
    return m_data.ItemWorker().Run(request, sql);
}

CTableBridge::CellField CTableBridge::FieldOf(int column, DataKind kind)
{
    CellField field { ColumnNameFor(column, kind), column, 1 };
    if (kind != DataKind::Item)
        return field;
    if (field.name == "SALE_KIND" || field.name == "SALE_PRICE") {
        field.first = field.name == "SALE_KIND" ? column : column - 1;
        field.name = "sale_price";
        field.cells = 2;
    } else if (field.name == "SALE_PERIOD" || field.name == "SALE_PERIOD OPT1"
        || field.name == "SALE_PERIOD OPT2") {
        field.first = field.name == "SALE_PERIOD" ? column
            : field.name == "SALE_PERIOD OPT1"    ? column - 1
                                                  : column - 2;
        field.name = "sale_day";
        field.cells = 3;
    }
    return field;
}

CString CTableBridge::RowKey(int row) const
{
    const int keyColumn = FindColumn(m_grid.Grid(), "ID");
    return keyColumn >= 0 ? m_grid.Grid().GetItemText(row, keyColumn) : CString();
}

void CTableBridge::UpdateCell(DbRequest request, CString databasePath, int row, int column, DataKind kind)
{
    CGridCtrl& grid = m_grid.Grid();
    // Preset keys are written by SavePresets.
    const char* table = kind == DataKind::Preset ? nullptr : ItemTableOf(kind);
    if (grid.GetItemText(0, column) == "ID" || !table)
        return;
    const CellField field = FieldOf(column, kind);
    const auto text = [&](int offset) { return grid.GetItemText(row, field.first + offset); };
    const CString value = field.cells == 2 ? CString(PackSalePrice(text(0).View(), text(1).View()))
        : field.cells == 3 ? CString(PackSaleDay(text(0).View(), text(1).View(), text(2).View()))
                           : grid.GetItemText(row, column);
    const CString key = RowKey(row);
    if (field.name.IsEmpty() || !IsIntegerKey(key)) {
        if (!IsIntegerKey(key))
            AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    const CString sql = CString::Formatted(
        "UPDATE [%s] SET %s = %s WHERE [ID] = %s", table, SqlName(field.name), SqlLiteral(value), key);
    switch (RunRequest(databasePath, request, sql)) {
    case kDbDoneFailed:
        ShowStoredCell(databasePath, row, column, kind);
        break;
    case kDbDoneNoRow:
        AfxMessageBox(kRowGoneText, MB_OK | MB_ICONSTOP);
        grid.DeleteRow(row);
        m_screen.Form().Invalidate();
        break;
    default:
        // Shown as a load shows it ("NULL" stored for an emptied text shows
        // empty, a packed field as its parts hold it).
        ShowValue(row, column, kind, field, value);
        break;
    }
}

void CTableBridge::ShowStoredCell(CString databasePath, int row, int column, DataKind kind)
{
    CGridCtrl& grid = m_grid.Grid();
    const char* table = kind == DataKind::Preset ? nullptr : ItemTableOf(kind);
    const CellField field = FieldOf(column, kind);
    const CString key = RowKey(row);
    std::optional<CString> stored;
    // A file put in the screen's file's place holds other rows under these keys.
    if (table && !field.name.IsEmpty() && IsIntegerKey(key) && !IsReplaced(databasePath))
        stored = m_data.ItemWorker().ReadValueQuietly(databasePath,
            CString::Formatted("SELECT %s FROM [%s] WHERE [ID] = %s", SqlName(field.name), table, key));
    if (stored)
        ShowValue(row, column, kind, field, *stored);
    else
        grid.RestoreReplacedText(row, column);
    grid.RedrawCell(row, column);
}

void CTableBridge::ShowValue(
    int row, int column, DataKind kind, const CellField& field, const CString& stored)
{
    CGridCtrl& grid = m_grid.Grid();
    if (field.cells == 2)
        WriteSalePrice(grid, row, field.first, stored);
    else if (field.cells == 3)
        WriteSaleDay(grid, row, field.first, stored);
    else
        grid.SetItemText(row, column, ShownValue(kind, column == 1, stored));
}

void CTableBridge::DeleteRows(DbRequest request, CString databasePath, int row, DataKind kind)
{
    // User labels are deleted on their own screen, preset keys not at all.
    const char* table = kind == DataKind::UserLabel || kind == DataKind::Preset ? nullptr : ItemTableOf(kind);
    const CString key = RowKey(row);
    if (!table)
        return;
    if (!IsIntegerKey(key)) {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    const CString sql = CString::Formatted("DELETE FROM [%s] WHERE [ID] = %s", table, key);
    if (RunRequest(databasePath, request, sql) == kDbDoneNoRow)
        AfxMessageBox(kRowGoneText, MB_OK | MB_ICONSTOP);
}

void CTableBridge::SavePresets(DbRequest request, CString databasePath, int keyNumber, CString text)
{
    if (keyNumber < 1 || keyNumber > 60)
        return;
    const CString id = m_presetKeys.GetKeyId(keyNumber);
    CString sql;
    if (id.IsEmpty()) {
        sql = CString::Formatted("INSERT INTO [Preset](%s, [mg_id]) VALUES('%d', '%d', %s, %s)",
            ColumnList(kPresetColumns), m_presetKeys.GetPage(), keyNumber, SqlLiteral(text),
            SqlLiteral(m_screen.UserId()));
        request = DbRequest::PresetUpdateInsert;
    } else if (IsIntegerKey(id)) {
        sql = CString::Formatted("UPDATE [Preset] SET [%s] = '%d', [%s] = '%d', [%s] = %s WHERE [ID] = %s",
            kPresetPage, m_presetKeys.GetPage(), kPresetKey, keyNumber, kPresetText, SqlLiteral(text), id);
    } else {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    m_data.ItemWorker().Note(request, sql);
    if (!OpenForWrite(databasePath))
        return;
    CItemDbWorker* worker = &m_data.ItemWorker();
    worker->Execute(sql);
    worker->CloseDatabase();
}
