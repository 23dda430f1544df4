// The two scale settings screens (Scale_Info, Scale_Root_Info): Insert,
// Update and Delete of a settings row through dialogs 209 and 211.

#include "screens/scale_settings_screens.h"

#include <array>
#include <optional>
#include <span>

#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "grid/pick_rules.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "protocol/data_kinds.h"
#include "screens/grid_cells.h"
#include "screens/grid_rows.h"
#include "screens/reply_row.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"
#include "shell/scale_dialogs.h"
#include "transfer/scale_register.h"

namespace {

constexpr const char* kRowRefusal = "Only, Select one line";
constexpr const char* kNoRowRefusal = "Select a grid line";
constexpr const char* kInsertLost = "Scale Info Insert Error";

// The columns of the two settings tables in grid order (columns 1 onward).
constexpr std::array<const char*, 19> kInfoColumns
    = { "WeightNum", "PriceNum", "WeightUnit", "PresetPageSelect", "LimitTime", "LabelInfo", "ULabelInfo",
          "pos_flag", "BarCodePrintFormat", "BarCodePriceSelect", "ItemNameSorting", "ItemLandSorting",
          "CodeLand", "PrintAdvNum", "wLimtTotalInfo", "wLimitPntType", "PriceUnit", "PassWord", "VAT" };
constexpr std::array<const char*, 7> kRootInfoColumns
    = { "Ethernet_Init", "Ethernet_Stat", "MyID", "IP", "MASK", "Destination_IP", "Destination_Port" };

// The settings table of a screen's kind.
struct SettingsTable {
    DataKind kind;
    const char* table;
    const char* keyColumn; // holds '-1' in a new row until it is written
    DbRequest insert;
    DbRequest insertRead;
    std::span<const char* const> columns;
    bool upperTitles; // the load shows the column names upper-cased
};

const SettingsTable* TableOfKind(std::optional<DataKind> kind)
{
    static const SettingsTable kInfo { DataKind::ScaleInfo, "Scale_Info", "WeightNum",
        DbRequest::ScaleInformationInsert, DbRequest::ScaleInformationInsertRead, kInfoColumns, false };
    static const SettingsTable kRootInfo { DataKind::ScaleRootInfo, "Scale_Root_Info", "MyID",
        DbRequest::ScaleRootInformationInsert, DbRequest::ScaleRootInformationInsertRead, kRootInfoColumns,
        true };
    if (kind == DataKind::ScaleInfo)
        return &kInfo;
    if (kind == DataKind::ScaleRootInfo)
        return &kRootInfo;
    return nullptr;
}

// "UPDATE [table] SET [c1] = 'v1', ... WHERE [ID] = key".
CString UpdateSql(const SettingsTable& table, const ScaleValueTable& values, const CString& key)
{
    CString sql = CString("UPDATE [") + table.table + "] SET ";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (i)
            sql += ", ";
        sql += CString("[") + table.columns[i] + "] = '" + SqlEscape(values[i]) + "'";
    }
    return sql + " WHERE [ID] = " + key;
}

// The settings dialog of a table: 209 for Scale_Info, 211 for Scale_Root_Info.
std::unique_ptr<CScaleInfoDlgBase> MakeSettingsDialog(const SettingsTable& table, CWnd* parent)
{
    if (table.kind == DataKind::ScaleInfo) {
        auto dialog = std::make_unique<CScaleBasicInfoDlg>(parent);
        dialog->m_nFirstFlag = 1;
        return dialog;
    }
    return std::make_unique<CScaleNetInfoDlg>(parent);
}

// The key column of the settings grid: "ID", else the last column.
int KeyColumn(CWorkScreenGrid& grid)
{
    const int column = FindColumn(grid.Grid(), "ID");
    return column >= 0 ? column : grid.Grid().GetColumnCount() - 1;
}

} // namespace

CScaleSettingsScreens::CScaleSettingsScreens(
    CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data, const CGridRows& rows)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_rows(rows)
{ }

const MessageMap* CScaleSettingsScreens::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CScaleSettingsScreens::OnScaleInfoInsert>(IDC_WORK_SCALE_INFO_INSERT),
            OnCommandMsg<&CScaleSettingsScreens::OnScaleInfoDelete>(IDC_WORK_SCALE_INFO_DELETE),
            OnCommandMsg<&CScaleSettingsScreens::OnScaleInfoUpdate>(IDC_WORK_SCALE_INFO_UPDATE),
        });
    return &kMap;
}

std::span<const PanelControl> CScaleSettingsScreens::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_SCALE_INFO_INSERT, PanelGroup::ScaleInfo, "Insert" },
        { IDC_WORK_SCALE_INFO_UPDATE, PanelGroup::ScaleInfo, "Update" },
        { IDC_WORK_SCALE_INFO_DELETE, PanelGroup::ScaleInfo, "Delete" },
    };
    return kControls;
}

void CScaleSettingsScreens::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_SCALE_INFO_INSERT, m_btnInsert);
    DDX_Control(dx, IDC_WORK_SCALE_INFO_UPDATE, m_btnUpdate);
    DDX_Control(dx, IDC_WORK_SCALE_INFO_DELETE, m_btnDelete);
    DDX_Control(dx, IDC_WORK_SCALE_INFO_TRANS, m_btnTrans);
}

BOOL CheckSingleScaleRow(const CGridCtrl& grid, int row)
{
    if (!MarksOneRow(grid.Picks())) {
        AfxMessageBox(kRowRefusal, MB_OK);
        return FALSE;
    }
    // The heading row and the empty last row hold no settings.
    if (row < 1 || row >= grid.GetRowCount() - 1) {
        AfxMessageBox(kNoRowRefusal, MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CScaleSettingsScreens::SplitScaleInfoRowText(const CString& row)
{
    std::vector<CString> fields(1);
    SplitReplyRow(row, fields);
    m_strInsertedKey = fields[0];
}

void CScaleSettingsScreens::OnScaleInfoUpdate()
{
    if (m_data.RefuseWhileBusy())
        return;
    CGridCtrl& grid = m_grid.Grid();
    CItemDbWorker& worker = m_data.ItemWorker();
    const SettingsTable* table = TableOfKind(m_screen.ScreenKind());
    if (table && CheckSingleScaleRow(grid, m_rows.GetClickedRow())) {
        const int row = m_rows.GetClickedRow();
        std::unique_ptr<CScaleInfoDlgBase> dialog = MakeSettingsDialog(*table, &m_screen.Form());
        dialog->m_nNewFlag = 0;
        dialog->m_nLoadFlag = 1;
        dialog->m_strVersion = "eng";
        for (std::size_t i = 0; i < table->columns.size(); ++i)
            dialog->m_values[i] = grid.GetItemText(row, static_cast<int>(i) + 1);
        m_screen.SetUpdateLock(1);
        m_screen.StartLoad([&] {
            worker.OpenDatabase(kScaleSettingsDatabase);
            if (dialog->DoModal() != IDOK)
                return;
            const CString key = grid.GetItemText(row, grid.GetColumnCount() - 1);
            // The grid keeps showing what is stored.
            if (!CScaleRegister::IsRecordKey(key)) {
                AfxMessageBox(kNoKeyText, MB_OK);
                return;
            }
            for (std::size_t i = 0; i < table->columns.size(); ++i)
                grid.SetItemText(row, static_cast<int>(i) + 1, dialog->m_values[i]);
            worker.Execute(UpdateSql(*table, dialog->m_values, key));
        });
        worker.CloseDatabase();
        m_screen.SetUpdateLock(0);
    }
    grid.AutoSize(0);
    m_grid.Grid().ForgetPickAnchors();
}

void CScaleSettingsScreens::OnScaleInfoInsert()
{
    if (m_data.RefuseWhileBusy())
        return;
    CGridCtrl& grid = m_grid.Grid();
    CItemDbWorker& worker = m_data.ItemWorker();
    const SettingsTable* table = TableOfKind(m_screen.ScreenKind());
    if (!table) {
        grid.AutoSize(0);
        return;
    }
    std::unique_ptr<CScaleInfoDlgBase> dialog = MakeSettingsDialog(*table, &m_screen.Form());
    dialog->m_nNewFlag = 1;
    dialog->m_nLoadFlag = 0;
    dialog->m_strVersion = "eng";
    if (dialog->DoModal() == IDOK) {
        // An empty table's load gave the grid no columns: it gets the table's.
        const int columns = static_cast<int>(table->columns.size()) + 2;
        if (grid.GetColumnCount() < columns) {
            SetGridColumnCount(m_grid.Grid(), columns);
            for (int c = 1; c < columns; ++c) {
                CString title = c < columns - 1 ? table->columns[static_cast<std::size_t>(c - 1)] : "ID";
                if (table->upperTitles)
                    title.MakeUpper();
                grid.SetItemText(0, c, title);
            }
        }
        const int row = grid.GetRowCount() - 1;
        m_grid.Grid().InsertRow(CString::Formatted("List %ld", static_cast<long>(row)), row);
        worker.Note(table->insert, "");
        m_screen.SetUpdateLock(1);
        // A failed insert or read-back must not leave an earlier row's ID here.
        m_strInsertedKey = "";
        m_screen.StartLoad([&] {
            worker.OpenDatabase(kScaleSettingsDatabase);
            worker.Execute(CString::Formatted(
                "INSERT INTO [%s]([%s]) VALUES('%s')", table->table, table->keyColumn, "-1"));
            worker.ReadInserted(table->insertRead,

                CString::Formatted("SELECT [ID] FROM [%s] WHERE [%s] = '-1' ORDER BY [ID] DESC", table->table,
                    table->keyColumn));
        });
        worker.ClearRequestName();
        const CString key = m_strInsertedKey;
        if (!CScaleRegister::IsRecordKey(key)) {
            grid.DeleteRow(row);
            AfxMessageBox(kInsertLost, MB_OK);
        } else {
            for (int c = 1; c < grid.GetColumnCount(); ++c)
                SetCellReadOnly(m_grid.Grid(), row, c);
            grid.SetItemText(row, KeyColumn(m_grid), key);
            for (std::size_t i = 0; i < table->columns.size(); ++i)
                grid.SetItemText(row, static_cast<int>(i) + 1, dialog->m_values[i]);
            m_screen.StartLoad([&] { worker.Execute(UpdateSql(*table, dialog->m_values, key)); });
        }
    }
    worker.CloseDatabase();
    m_screen.SetUpdateLock(0);
    m_grid.Grid().ForgetPickAnchors();
    grid.AutoSize(0);
}

void CScaleSettingsScreens::OnScaleInfoDelete()
{
    if (m_data.RefuseWhileBusy())
        return;
    CWnd& form = m_screen.Form();
    CGridCtrl& grid = m_grid.Grid();
    CItemDbWorker& worker = m_data.ItemWorker();
    for (UINT id : { IDC_WORK_LABEL_INSERT, IDC_WORK_LABEL_DELETE })
        if (CWnd* button = form.GetDlgItem(id))
            button->EnableWindow(FALSE);
    const int rows = grid.GetRowCount();
    const int target = m_rows.GetClickedRow() >= 1 ? m_rows.GetClickedRow() : rows - 2;
    const SettingsTable* table = TableOfKind(m_screen.ScreenKind());
    if (table && target >= 1 && target < rows - 1) {
        m_screen.SetUpdateLock(1);
        const CString key = grid.GetItemText(target, KeyColumn(m_grid));
        // Only a whole-number key names one row.
        if (CScaleRegister::IsRecordKey(key)) {
            m_screen.StartLoad([&] {
                worker.OpenDatabase(kScaleSettingsDatabase);
                worker.Execute(CString("DELETE FROM [") + table->table + "] WHERE [ID] = " + key);
            });
            grid.DeleteRow(target);
        } else {
            AfxMessageBox(kNoKeyText, MB_OK);
        }
        worker.CloseDatabase();
        m_screen.SetUpdateLock(0);
    }
    m_grid.Grid().ForgetPickAnchors();
    for (UINT id : { IDC_WORK_LABEL_INSERT, IDC_WORK_LABEL_DELETE })
        if (CWnd* button = form.GetDlgItem(id))
            button->EnableWindow(TRUE);
    form.Invalidate();
}
