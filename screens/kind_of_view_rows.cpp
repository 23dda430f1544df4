// Row insertion and deletion on the four editable table screens. A new grid
// row gets a database row at once: a placeholder whose key column holds "-1",
// whose ID is read straight back into the grid. Both commands act on the rows
// the user marked (Ctrl picks, a Shift range, a dragged range) or, with
// nothing marked, insert the count asked for in dialog 153 and delete the last
// clicked row. Only data rows (1 to row count - 2) are ever taken from the
// marks: the heading row and the trailing row are neither places to insert at
// nor rows to delete.

#include <algorithm>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/wnd/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/row_dialogs.h"
#include "screens/table_bridge.h"
#include "shell/calvorn_view.h"

namespace {

// The fifteen item columns of the long placeholder INSERT, in its order.
constexpr const char* kItemColumns[]
    = { "item_num", "item_name", "item_name2", "unitprice", "fix_price", "land", "pos_flg", "pos_code",
          "piece", "weight", "fmark", "pos_kind", "dateprint", "limit_day", "additem" };
constexpr int kItemColumnCount = 15;

struct TableWords {
    const char* table;
    const char* key;
    const char* insertName;
    const char* lookupName;
    const char* deleteName;
};

// The words of a kind's table; nullptr for kinds without rows of their own.
const TableWords* WordsOf(int kind)
{
    static const TableWords kItem { "Item", "item_num", "Item_Insert", "Item_Insert_Read",
        "Item_Insert_Delete" };
    static const TableWords kAdd { "Add", "num", "Add_Insert", "Add_Insert_Read", "Add_Insert_Delete" };
    static const TableWords kAdv { "AdvT", "adv_num", "Adv_Update_Insert", "Adv_Update_Insert_Read",
        "AdV_Insert_Delete" };
    static const TableWords kLand { "Land_Add", "land_num", "Land_Add_Update_Insert",
        "Land_Add_Update_Insert_Read", "Land_Add_Insert_Delete" };
    switch (kind) {
    case kKindItem:
        return &kItem;
    case kKindAdd:
        return &kAdd;
    case kKindAdv:
        return &kAdv;
    case kKindLandAdd:
        return &kLand;
    default:
        return nullptr;
    }
}

bool IsDataRow(int row, int rowCount)
{
    return row >= 1 && row <= rowCount - 2;
}

} // namespace

void CKindOfView::OnInsertRows()
{
    if (!WordsOf(m_nHint) || m_strItemDbPath.IsEmpty() || RefuseWhileBusy())
        return;
    EnableEditButtons(FALSE);
    EnableItemTransButtons(FALSE);
    m_rowList.clear();
    m_nCtrlPickSnapshot = m_grid.m_bCtrlPick;
    m_nShiftPickSnapshot = m_grid.m_bShiftPick;
    const int rowCount = m_grid.GetRowCount();

    // Positions, each taken after the rows inserted before it.
    const PickedRowList marked = PickRows(GridPickState(m_grid), rowCount, PickRule::Insert);
    std::vector<int> positions = marked.rows;
    if (!marked.marked) {
        CGridLineDlg dialog(this);
        dialog.m_nGridRows = rowCount - 1;
        dialog.m_strTable = m_strKind;
        if (dialog.DoModal() == IDOK) {
            const int first = IsDataRow(m_grid.m_nAnchorRowA, rowCount) ? m_grid.m_nAnchorRowA : rowCount - 1;
            for (int i = 0; i < dialog.m_nLineCount; ++i)
                positions.push_back(first + i);
        }
    }
    m_rowList = positions;
    for (const int position : positions) {
        const CString heading = CString::Formatted("List %ld", static_cast<long>(m_grid.GetRowCount() - 1));
        const int row = InsertGridRow(heading, position);
        if (row < 0)
            break;
        InsertPlaceholderRows(row);
    }
    m_pItemWorker->CloseDatabase();

    ResetGridSelection();
    EnableEditButtons(TRUE);
    EnableItemTransButtons(TRUE);
    Invalidate();
}

void CKindOfView::InsertPlaceholderRows(int gridRow)
{
    const TableWords* words = WordsOf(m_nHint);
    if (!words)
        return;
    const CString key = "-1";
    m_mailbox.SetText(IDC_MAILBOX_NAME, "");
    m_mailbox.SetText(IDC_MAILBOX_NAME, words->insertName);
    m_mailbox.SetText(IDC_MAILBOX_TEXT, "");

    CString sql;
    if (m_nHint == kKindItem && LoadDefaultValues()) {
        LoadCheckValues();
        LoadUncheckIndex();
        std::vector<CString> values(kItemColumnCount, CString("NULL"));
        values[0] = key;
        for (std::size_t e = 0; e + 1 < m_defaultValues.size(); e += 2) {
            const CString& name = m_defaultValues[e];
            // The key stays "-1" whatever the defaults say: the ID lookup
            // finds the new row by it.
            for (int k = 1; k < kItemColumnCount; ++k) {
                if (name == kItemColumns[k])
                    values[static_cast<std::size_t>(k)] = m_defaultValues[e + 1];
            }
        }
        CString columns;
        CString literals;
        for (int k = 0; k < kItemColumnCount; ++k) {
            columns += CString::Formatted("[%s], ", kItemColumns[k]);
            literals += SqlLiteral(values[static_cast<std::size_t>(k)]) + ", ";
        }
        sql = "INSERT INTO [Item](" + columns + "[mg_id]) VALUES(" + literals + SqlLiteral(m_strUserId) + ")";
    } else {
        sql = CString::Formatted("INSERT INTO [%s]([%s], [mg_id]) VALUES(%s, %s)", words->table, words->key,
            SqlLiteral(key).GetString(), SqlLiteral(m_strUserId).GetString());
    }

    try {
        m_pItemWorker->OpenDatabase(m_strItemDbPath);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return;
    }
    m_pItemWorker->Execute(sql);

    m_mailbox.SetText(IDC_MAILBOX_NAME, "");
    m_mailbox.SetText(IDC_MAILBOX_NAME, words->lookupName);
    if (m_nHint == kKindAdv || m_nHint == kKindLandAdd)
        m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    CString lookup = CString::Formatted("SELECT [ID] FROM [%s] WHERE [%s] = '-1'", words->table, words->key);
    if (m_strUserId != kAdministratorId)
        lookup += " AND [mg_id] = " + SqlLiteral(m_strUserId);
    lookup += " ORDER BY [ID] DESC";
    m_nInsertRow = gridRow;
    m_pItemWorker->HandleInsertRead(lookup);
}

void CKindOfView::OnDeleteRows()
{
    if (!WordsOf(m_nHint) || RefuseWhileBusy())
        return;
    EnableEditButtons(FALSE);
    EnableItemTransButtons(FALSE);
    m_rowList.clear();
    m_nCtrlPickSnapshot = m_grid.m_bCtrlPick;
    m_nShiftPickSnapshot = m_grid.m_bShiftPick;
    const int rowCount = m_grid.GetRowCount();

    std::vector<int> rows = PickedRows(GridPickState(m_grid), rowCount, PickRule::Delete);
    // Highest first, so that the rows still to come keep their places.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    m_rowList = rows;
    for (const int row : rows) {
        m_nDeleteRow = row;
        DeleteSelectedRows();
    }

    ResetGridSelection();
    EnableEditButtons(TRUE);
    EnableItemTransButtons(TRUE);
    Invalidate();
}

void CKindOfView::DeleteSelectedRows()
{
    const TableWords* words = WordsOf(m_nHint);
    if (!words || m_strItemDbPath.IsEmpty() || !IsDataRow(m_nDeleteRow, m_grid.GetRowCount()))
        return;
    m_mailbox.SetText(IDC_MAILBOX_NAME, words->deleteName);
    m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    m_pTableBridge->DeleteRows(m_strItemDbPath, m_nDeleteRow, m_nHint);
}
