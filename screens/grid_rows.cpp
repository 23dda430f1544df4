// Row insertion and deletion on the four editable table screens. A new grid
// row gets a database row at once: a placeholder whose key column holds "-1",
// whose ID is read straight back into the grid. Both commands act on the rows
// the user marked (Ctrl picks, a Shift range, a dragged range) or, with
// nothing marked, insert the count asked for in dialog 153 and delete the last
// clicked row. Only data rows (1 to row count - 2) are ever taken from the
// marks: the heading row and the trailing row are neither places to insert at
// nor rows to delete.

#include "screens/grid_rows.h"

#include <algorithm>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/item_schema.h"
#include "db/kind_table.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/item_defaults.h"
#include "screens/row_dialogs.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_panels.h"
#include "shell/calvorn_view.h"

namespace {

struct TableWords {
    DataKind kind;
    DbRequest insert;
    DbRequest lookup;
    DbRequest remove;
};

// The words of a kind's table; nullptr for kinds without rows of their own.
const TableWords* WordsOf(std::optional<DataKind> kind)
{
    static const TableWords kWords[] = {
        { DataKind::Item, DbRequest::ItemInsert, DbRequest::ItemInsertRead, DbRequest::ItemDelete },
        { DataKind::Add, DbRequest::AddInsert, DbRequest::AddInsertRead, DbRequest::AddDelete },
        { DataKind::Adv, DbRequest::AdvInsert, DbRequest::AdvInsertRead, DbRequest::AdvDelete },
        { DataKind::LandAddition, DbRequest::LandAddInsert, DbRequest::LandAddInsertRead,
            DbRequest::LandAddDelete },
    };
    for (const TableWords& words : kWords) {
        if (words.kind == kind)
            return &words;
    }
    return nullptr;
}

bool IsDataRow(int row, int rowCount)
{
    return row >= 1 && row <= rowCount - 2;
}

} // namespace

CGridRows::CGridRows(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
    CWorkScreenDatabase& data, CItemDefaults& defaults, CCellEditor& editor)
    : m_screen(screen)
    , m_grid(grid)
    , m_panels(panels)
    , m_data(data)
    , m_defaults(defaults)
    , m_editor(editor)
{ }

const MessageMap* CGridRows::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnNotifyMsg<&CGridRows::OnGridClick>(static_cast<UINT>(GRIDNOTIFY_CLICK), IDC_WORK_GRID),
            OnNotifyMsg<&CGridRows::OnGridIgnored>(static_cast<UINT>(GRIDNOTIFY_RCLICK), IDC_WORK_GRID),
            OnNotifyMsg<&CGridRows::OnGridIgnored>(static_cast<UINT>(GRIDNOTIFY_BEGINDRAG), IDC_WORK_GRID),
            OnNotifyMsg<&CGridRows::OnGridIgnored>(static_cast<UINT>(-8), IDC_WORK_GRID),
            OnCommandMsg<&CGridRows::OnInsertRows>(IDC_WORK_INSERT),
            OnCommandMsg<&CGridRows::OnDeleteRows>(IDC_WORK_DELETE),
            OnCommandMsg<&CGridRows::OnAutoValue>(ID_AUTO_VALUE),
        });
    return &kMap;
}

std::span<const PanelControl> CGridRows::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_INSERT, PanelGroup::Edit, "Insert" },
        { IDC_WORK_DELETE, PanelGroup::Edit, "Delete" },
    };
    return kControls;
}

void CGridRows::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_INSERT, m_btnInsert);
    DDX_Control(dx, IDC_WORK_DELETE, m_btnDelete);
}

void CGridRows::OnInsertRows()
{
    CGridCtrl& grid = m_grid.Grid();
    if (!WordsOf(m_screen.HintKind()) || m_data.ItemDbPath().IsEmpty() || m_data.RefuseWhileBusy())
        return;
    m_panels.EnableEditButtons(FALSE);
    m_panels.EnableItemTransButtons(FALSE);
    const int rowCount = grid.GetRowCount();

    // Positions, each taken after the rows inserted before it.
    const PickedRowList marked = grid.PickRows(PickRule::Insert);
    std::vector<int> positions = marked.rows;
    if (!marked.marked) {
        CGridLineDlg dialog(&m_screen.Form());
        dialog.SetKind(m_screen.ScreenKind());
        if (dialog.DoModal() == IDOK) {
            const int anchor = grid.Picks().rangeA;
            const int first = IsDataRow(anchor, rowCount) ? anchor : rowCount - 1;
            for (int i = 0; i < dialog.GetLineCount(); ++i)
                positions.push_back(first + i);
        }
    }
    for (const int position : positions) {
        const CString heading = CString::Formatted("List %ld", static_cast<long>(grid.GetRowCount() - 1));
        const int row = m_grid.Grid().InsertRow(heading, position);
        if (row < 0)
            break;
        // A refused INSERT takes its grid row back and ends the insertion.
        if (!InsertPlaceholderRows(row)) {
            grid.DeleteRow(row);
            break;
        }
    }
    m_data.ItemWorker().CloseDatabase();

    m_grid.Grid().ForgetPickAnchors();
    m_panels.EnableEditButtons(TRUE);
    m_panels.EnableItemTransButtons(TRUE);
    m_screen.Form().Invalidate();
}

bool CGridRows::InsertPlaceholderRows(int gridRow)
{
    const TableWords* words = WordsOf(m_screen.HintKind());
    if (!words)
        return false;
    const char* table = ItemTableOf(words->kind);
    const char* keyColumn = ValueColumnsOf(words->kind).front();
    const CString key = "-1";
    m_data.ItemWorker().Note(words->insert, "");

    CString sql;
    if (m_screen.HintKind() == DataKind::Item && m_defaults.LoadDefaultValues()) {
        m_defaults.LoadCheckValues();
        m_defaults.LoadUncheckIndex();
        const std::vector<CString>& defaultValues = m_defaults.GetCheckValues();
        std::vector<CString> values(kItemValueCount, CString("NULL"));
        values[0] = key;
        for (std::size_t e = 0; e + 1 < defaultValues.size(); e += 2) {
            // The key stays "-1" whatever the defaults say: the ID lookup
            // finds the new row by it.
            if (const int k = ItemValueIndex(defaultValues[e].View()); k > 0)
                values[static_cast<std::size_t>(k)] = defaultValues[e + 1];
        }
        CString literals;
        for (const CString& value : values)
            literals += SqlLiteral(value) + ", ";
        sql = "INSERT INTO [Item](" + ItemValueList() + ", [mg_id]) VALUES(" + literals
            + SqlLiteral(m_screen.UserId()) + ")";
    } else {
        sql = CString::Formatted("INSERT INTO [%s]([%s], [mg_id]) VALUES(%s, %s)", table, keyColumn,
            SqlLiteral(key).GetString(), SqlLiteral(m_screen.UserId()).GetString());
    }

    if (!m_data.TableBridge().OpenForWrite(m_data.ItemDbPath()))
        return false;
    // Only a stored row is looked up: the lookup of a refused one would find
    // an older placeholder.
    if (m_data.ItemWorker().RunStatement(sql) != kDbDoneOk)
        return false;

    CString lookup = CString::Formatted("SELECT [ID] FROM [%s] WHERE [%s] = '-1'", table, keyColumn);
    if (m_screen.UserId() != kAdministratorId)
        lookup += " AND [mg_id] = " + SqlLiteral(m_screen.UserId());
    lookup += " ORDER BY [ID] DESC";
    m_nInsertRow = gridRow;
    const bool emptied
        = m_screen.HintKind() == DataKind::Adv || m_screen.HintKind() == DataKind::LandAddition;
    m_data.ItemWorker().ReadInserted(
        words->lookup, lookup, emptied ? CItemDbWorker::TextEdit::Emptied : CItemDbWorker::TextEdit::Kept);
    return true;
}

void CGridRows::OnDeleteRows()
{
    CGridCtrl& grid = m_grid.Grid();
    if (!WordsOf(m_screen.HintKind()) || m_data.RefuseWhileBusy())
        return;
    m_panels.EnableEditButtons(FALSE);
    m_panels.EnableItemTransButtons(FALSE);

    std::vector<int> rows = grid.PickRows(PickRule::Delete).rows;
    // Highest first, so that the rows still to come keep their places.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    const CMessageBoxRepeatFilter once; // one box for many rows found gone
    for (const int row : rows) {
        m_nDeleteRow = row;
        DeleteSelectedRows();
    }

    m_grid.Grid().ForgetPickAnchors();
    m_panels.EnableEditButtons(TRUE);
    m_panels.EnableItemTransButtons(TRUE);
    m_screen.Form().Invalidate();
}

void CGridRows::DeleteSelectedRows()
{
    CGridCtrl& grid = m_grid.Grid();
    const std::optional<DataKind> kind = m_screen.HintKind();
    const TableWords* words = WordsOf(kind);
    if (!words || m_data.ItemDbPath().IsEmpty() || !IsDataRow(m_nDeleteRow, grid.GetRowCount()))
        return;
    m_data.TableBridge().DeleteRows(words->remove, m_data.ItemDbPath(), m_nDeleteRow, *kind);
}

void CGridRows::OnGridClick(NMHDR* header, LRESULT*)
{
    const auto* notify = reinterpret_cast<const GRIDNOTIFY*>(header);
    m_nClickRow = notify->iRow;
    m_nClickColumn = notify->iColumn;
}

void CGridRows::OnGridIgnored(NMHDR*, LRESULT*) { }

void CGridRows::ForgetClickedCell()
{
    m_nClickRow = 0;
    m_nClickColumn = 0;
    CGridCtrl& grid = m_grid.Grid();
    grid.ForgetClickedRow();
    if (grid.GetSafeHwnd())
        grid.SetFocusCell(-1, -1);
}

void CGridRows::ResetRows()
{
    m_nDeleteRow = 0;
    m_nInsertRow = 0;
}
