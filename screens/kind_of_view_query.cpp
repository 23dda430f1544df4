// The work screen's query replies: the worker's row, empty and done messages,
// dispatched by request name, and the grid routines the row readers use.

#include <typeinfo>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/reply_row.h"
#include "screens/result_screens.h"
#include "screens/table_bridge.h"
#include "screens/transfer_port.h"
#include "shell/calvorn_view.h"

namespace {

bool IsOneOf(const CString& name, std::initializer_list<const char*> names)
{
    for (const char* n : names) {
        if (name == n)
            return true;
    }
    return false;
}

constexpr std::initializer_list<const char*> kResultNames = { "Scale_Result_All_Read",
    "Scale_Result_Item_All_Read", "Scale_Result_Item_Day_Read", "Scale_Result_Day_Read" };

constexpr const char* kBusyText
    = "The work screen is still reading its table.\nTry again when it has finished.";

} // namespace

BOOL CKindOfView::RefuseWhileBusy()
{
    if (!m_pItemWorker->IsRequestInFlight())
        return FALSE;
    AfxMessageBox(kBusyText, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

void CKindOfView::Release()
{
    m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    m_pItemWorker->SetEvent();
}

LRESULT CKindOfView::OnDbQueryRow(WPARAM, LPARAM)
{
    m_strRequestName = m_mailbox.TakeText(IDC_MAILBOX_NAME);
    const CString row = m_mailbox.TakeText(IDC_MAILBOX_TEXT);
    ++m_nReplyRows;
    const CString& name = m_strRequestName;
    if (name == "Item_Read") {
        m_pTableBridge->OnItemRow(row);
    } else if (name == "Add_Read") {
        m_pTableBridge->OnAddRow(row);
    } else if (name == "Adv_Read") {
        m_pTableBridge->OnAdvRow(row);
    } else if (name == "Pre_Read") {
        m_pTableBridge->OnPresetRow(row);
    } else if (name == "Mg_Reg_Read") {
        m_pTableBridge->OnPlainRow(row);
    } else if (name == "Land_Add_Read") {
        m_mailbox.SetText(IDC_MAILBOX_NAME, name);
        m_pTableBridge->OnLandAddRow(row);
    } else if (name == "User_Label_Read") {
        m_mailbox.SetText(IDC_MAILBOX_NAME, name);
        m_pTableBridge->OnUserLabelRow(row);
    } else if (IsOneOf(name, kResultNames)) {
        m_pTableBridge->OnResultRow(row);
    } else if (name == "Scale_Reg_Read") {
        m_scales.Register().SplitRows(row);
    } else if (name == "Scale_Info_Read") {
        m_scales.Register().FillScaleInfoGrid(row);
    } else if (name == "Scale_Root_Info_Read") {
        m_scales.Register().FillScaleRootInfoGrid(row);
    } else if (name == "Comm_Mode_Read") {
        m_scales.Register().FillScaleList(row);
    } else {
        // No reader: the row is dropped, but the worker still waits for its answer.
        Release();
    }
    return 1;
}

LRESULT CKindOfView::OnDbQueryEmpty(WPARAM, LPARAM)
{
    m_strRequestName = m_mailbox.TakeText(IDC_MAILBOX_NAME);
    const CString& name = m_strRequestName;
    const char* message = nullptr;
    if (IsOneOf(name, kResultNames))
        message = "Not exist a Result Data";
    else if (name == "Mg_Reg_Read")
        message = "Not Found User info.";
    else if (name == "User_Label_Read")
        message = "Not Found User-label info.";
    else if (name == "Scale_Info_Read")
        message = "Not Found  Scale info.";
    else if (name == "Scale_Root_Info_Read")
        message = "Not Found  Scale info2.";
    if (message)
        AfxMessageBox(message, MB_OK);
    // Every streamed reply waits for its answer, whatever its name.
    Release();
    return 1;
}

void CKindOfView::LockKeyColumnAndTrailingRow()
{
    const int keyColumn = FindColumn("ID");
    const int rows = m_grid.GetRowCount();
    const int columns = m_grid.GetColumnCount();
    if (keyColumn >= 0) {
        for (int r = 0; r < rows; ++r)
            SetCellReadOnly(r, keyColumn);
    }
    for (int c = 1; rows > 0 && c < columns; ++c)
        SetCellReadOnly(rows - 1, c);
}

LRESULT CKindOfView::OnDbQueryDone(WPARAM, LPARAM)
{
    m_pItemWorker->CloseDatabase();
    m_nUpdateLock = 0;
    m_strReply = "";
    m_strRequestName = m_mailbox.TakeText(IDC_MAILBOX_NAME);
    const CString& name = m_strRequestName;

    // Statements run by ExecuteRequest end here without an answer; every
    // streamed request gets one.
    if (IsOneOf(name, { "Mg_Reg_Insert", "Mg_Reg_Delete" })) {
        // The manager list is read afresh.
        m_mailbox.SetText(IDC_MAILBOX_NAME, "Mg_Reg_Read");
        m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
        StartLoad([this] {
            if (m_pTableBridge->RequestManagers(kManagerDatabase, m_strColumnList))
                m_nUpdateLock = 1;
        });
        return 1;
    }
    if (IsOneOf(name, { "Scale_Update", "Scale_Insert_Delete" }))
        return 1;
    if (name == "Scale_Insert") {
        m_scales.ReloadScaleRegister();
        return 1;
    }
    if (IsOneOf(name,
            { "Item_Update", "Add_Update", "User_Label_Update", "Adv_Update", "Land_Add_Update",
                "Scale_Information_Update" })) {
        LockKeyColumnAndTrailingRow();
        return 1;
    }
    if (IsOneOf(name,
            { "Item_Insert_Delete", "Add_Insert_Delete", "AdV_Insert_Delete", "Land_Add_Insert_Delete" })) {
        LockKeyColumnAndTrailingRow();
        const int deleted = m_rows.GetDeleteRow();
        if (deleted >= 1 && deleted < m_grid.GetRowCount() - 1)
            m_grid.DeleteRow(deleted);
        Invalidate();
        return 1;
    }
    if (IsOneOf(name, { "Pre_Read", "Scale_Reg_Read", "Comm_Mode_Read", "ITEM_REV", "Mg_Reg_Read" })) {
        Release();
        return 1;
    }
    LockKeyColumnAndTrailingRow();
    const bool viewOnly
        = IsOneOf(name, kResultNames) || name == "Scale_Info_Read" || name == "Scale_Root_Info_Read";
    if (viewOnly) {
        for (int r = 1; r < m_grid.GetRowCount(); ++r) {
            for (int c = 1; c < m_grid.GetColumnCount(); ++c)
                SetCellReadOnly(r, c);
        }
    }
    m_strColumnList = "";
    Release();
    if (viewOnly
        || IsOneOf(name, { "Item_Read", "Add_Read", "Adv_Read", "Land_Add_Read", "User_Label_Read" })) {
        m_grid.AutoSize(0);
        Invalidate();
    }
    if (IsOneOf(name, kResultNames))
        GetResultScreens().OnLoadDone();
    return 1;
}

int CKindOfView::FindColumn(const char* title, int start) const
{
    for (int c = start; c < m_grid.GetColumnCount(); ++c) {
        if (m_grid.GetItemText(0, c) == title)
            return c;
    }
    return -1;
}

void CKindOfView::SplitItemRowText(CString row)
{
    SplitReplyRow(row, m_fieldTexts);
    int keyColumn = -1;
    for (int c = 0; c <= m_grid.GetColumnCount() - 2; ++c) {
        if (m_grid.GetItemText(0, c) == "ID") {
            keyColumn = c;
            break;
        }
    }
    if (keyColumn < 0)
        keyColumn = m_grid.GetColumnCount() - 1;
    SetCellReadOnly(m_rows.GetInsertRow(), keyColumn);
    m_grid.SetItemText(m_rows.GetInsertRow(), keyColumn, m_fieldTexts[0]);
}

void CKindOfView::SplitScaleInfoRowText(CString row)
{
    m_scales.SplitScaleInfoRowText(row);
}

void CKindOfView::SplitUserLabelRowText(CString row)
{
    SplitReplyRow(row, m_fieldTexts);
}

void CKindOfView::RebuildGrid()
{
    UpdateData(TRUE);
    // The rows are filled cell by cell, which a virtual grid refuses: every
    // rebuild leaves the grid in normal mode, however often it runs.
    m_nVirtualMode = 0;
    m_grid.SetVirtualMode(FALSE);
    m_bHeaderSort = m_grid.GetHeaderSort();
    m_bEditable = m_grid.IsEditable();
    try {
        m_grid.SetEditable(m_bEditable);
        m_grid.SetAutoSizeStyle(3);
        m_grid.SetRowCount(2);
        m_grid.SetColumnCount(2);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        e->ReportError();
    }
    const int rows = m_grid.GetRowCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < m_grid.GetColumnCount(); ++c)
            m_grid.SetItemText(r, c, r == rows - 1 && c == 0 ? "-->" : "");
    }
    for (int c = 0; rows > 0 && c < m_grid.GetColumnCount(); ++c)
        SetCellReadOnly(rows - 1, c);
    m_grid.AutoSize(0);
    UpdateData(FALSE);
}

void CKindOfView::SetGridColumnCount(int count)
{
    const int old = m_grid.GetColumnCount();
    try {
        m_grid.SetColumnCount(count);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        e->ReportError();
        return;
    }
    m_nFixedColumns = m_grid.GetFixedColumnCount();
    for (int c = old; c < count; ++c)
        m_grid.SetItemText(0, c, "");
    // New cells of the trailing row stay locked like the others.
    const int last = m_grid.GetRowCount() - 1;
    for (int c = old; last > 0 && c < count; ++c)
        SetCellReadOnly(last, c);
}

int CKindOfView::InsertGridRow(const CString& heading, int position)
{
    return m_grid.InsertRow(heading, position);
}

void CKindOfView::SetCellPlain(int row, int column)
{
    const CGridCellBase* cell = m_grid.GetCell(row, column);
    if (!cell)
        return;
    if (typeid(*cell) != typeid(CGridCell))
        m_grid.SetCellType(row, column, GridCellClassOf<CGridCell>());
    m_grid.SetItemState(row, column, m_grid.GetItemState(row, column) & ~GRIDSTATE_READONLY);
}

void CKindOfView::SetCellReadOnly(int row, int column)
{
    SetCellPlain(row, column);
    m_grid.SetItemState(row, column, m_grid.GetItemState(row, column) | GRIDSTATE_READONLY);
}

void CKindOfView::ResetGridSelection()
{
    m_grid.m_nAnchorRowA = 0;
    m_grid.m_nAnchorRowB = 0;
    m_grid.m_nDownRow = 0;
    m_grid.m_nUpRow = 0;
    m_grid.m_bAnchorToggle = 0;
    m_grid.m_bCtrlPick = 0;
    m_grid.m_bShiftPick = 0;
}

void CKindOfView::ClearPickedRows()
{
    m_grid.m_bCtrlPick = 0;
    std::fill(std::begin(m_grid.m_PickList), std::end(m_grid.m_PickList), 0);
    m_grid.m_bShiftPick = 0;
    m_grid.m_nAnchorRowA = 0;
    m_grid.m_nAnchorRowB = 0;
    m_grid.m_nDownRow = 0;
    m_grid.m_nUpRow = 0;
}

void CKindOfView::ForgetClickedCell()
{
    m_rows.ForgetClickedCell();
}

void CKindOfView::OnGridClick(NMHDR* header, LRESULT*)
{
    const auto* notify = reinterpret_cast<const GRIDNOTIFY*>(header);
    m_rows.OnGridClick(notify->iRow, notify->iColumn);
}

void CKindOfView::OnGridIgnored(NMHDR*, LRESULT*) { }
