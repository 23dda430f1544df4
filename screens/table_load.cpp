#include "screens/table_load.h"

#include <algorithm>
#include <initializer_list>
#include <typeinfo>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/grid_cells.h"
#include "screens/grid_rows.h"
#include "screens/reply_row.h"
#include "screens/scale_screens.h"
#include "screens/table_bridge.h"
#include "screens/users_screen.h"
#include "screens/work_screen_context.h"

namespace {

bool IsOneOf(const CString& name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

constexpr std::initializer_list<const char*> kResultNames = { "Scale_Result_All_Read",
    "Scale_Result_Item_All_Read", "Scale_Result_Item_Day_Read", "Scale_Result_Day_Read" };

} // namespace

CTableLoad::CTableLoad(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CScaleScreens& scales, CGridRows& rows, CUsersScreen& users, std::function<void()> resultsLoaded)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_scales(scales)
    , m_rows(rows)
    , m_users(users)
    , m_resultsLoaded(std::move(resultsLoaded))
    , m_fieldTexts(kRowFieldCount)
{ }

const MessageMap* CTableLoad::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnMessage<&CTableLoad::OnDbQueryRow>(WM_DBQUERY_ROW),
            OnMessage<&CTableLoad::OnDbQueryEmpty>(WM_DBQUERY_EMPTY),
            OnMessage<&CTableLoad::OnDbQueryDone>(WM_DBQUERY_DONE),
        });
    return &kMap;
}

void CTableLoad::Release()
{
    m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, kMailboxReport);
    m_data.ItemWorker().SetEvent();
}

LRESULT CTableLoad::OnDbQueryRow(WPARAM, LPARAM)
{
    CMailboxDlg& mailbox = m_data.DbMailbox();
    m_strRequestName = mailbox.TakeText(IDC_MAILBOX_NAME);
    const CString row = mailbox.TakeText(IDC_MAILBOX_TEXT);
    ++m_nReplyRows;
    const CString& name = m_strRequestName;
    CTableBridge& bridge = m_data.TableBridge();
    if (name == "Item_Read") {
        bridge.OnItemRow(row);
    } else if (name == "Add_Read") {
        bridge.OnAddRow(row);
    } else if (name == "Adv_Read") {
        bridge.OnAdvRow(row);
    } else if (name == "Pre_Read") {
        bridge.OnPresetRow(row);
    } else if (name == "Mg_Reg_Read") {
        bridge.OnPlainRow(row);
    } else if (name == "Land_Add_Read") {
        mailbox.SetText(IDC_MAILBOX_NAME, name);
        bridge.OnLandAddRow(row);
    } else if (name == "User_Label_Read") {
        mailbox.SetText(IDC_MAILBOX_NAME, name);
        bridge.OnUserLabelRow(row);
    } else if (IsOneOf(name, kResultNames)) {
        bridge.OnResultRow(row);
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

LRESULT CTableLoad::OnDbQueryEmpty(WPARAM, LPARAM)
{
    m_strRequestName = m_data.DbMailbox().TakeText(IDC_MAILBOX_NAME);
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

void CTableLoad::LockKeyColumnAndTrailingRow()
{
    const CGridCtrl& grid = m_grid.Grid();
    const int keyColumn = FindColumn(m_grid.Grid(), "ID");
    const int rows = grid.GetRowCount();
    const int columns = grid.GetColumnCount();
    if (keyColumn >= 0) {
        for (int r = 0; r < rows; ++r)
            SetCellReadOnly(m_grid.Grid(), r, keyColumn);
    }
    for (int c = 1; rows > 0 && c < columns; ++c)
        SetCellReadOnly(m_grid.Grid(), rows - 1, c);
}

void CTableLoad::LockAllCells()
{
    const CGridCtrl& grid = m_grid.Grid();
    for (int r = 1; r < grid.GetRowCount(); ++r) {
        for (int c = 1; c < grid.GetColumnCount(); ++c)
            SetCellReadOnly(m_grid.Grid(), r, c);
    }
}

LRESULT CTableLoad::OnDbQueryDone(WPARAM outcome, LPARAM)
{
    switch (EndLoad(outcome)) {
    case LoadEnd::ManagersChanged:
        // The manager list is read afresh.
        m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, "Mg_Reg_Read");
        m_data.DbMailbox().SetText(IDC_MAILBOX_TEXT, m_screen.UserId());
        m_users.RequestManagers();
        break;
    case LoadEnd::ResultsLoaded:
        m_resultsLoaded();
        break;
    case LoadEnd::None:
        break;
    }
    return 1;
}

CTableLoad::LoadEnd CTableLoad::EndLoad(WPARAM outcome)
{
    m_data.ItemWorker().CloseDatabase();
    m_screen.SetUpdateLock(0);
    m_strRequestName = m_data.DbMailbox().TakeText(IDC_MAILBOX_NAME);
    const CString& name = m_strRequestName;
    CGridCtrl& grid = m_grid.Grid();

    // Statements run by ExecuteRequest end here without an answer; every
    // streamed request gets one.
    if (IsOneOf(name, { "Mg_Reg_Insert", "Mg_Reg_Delete" }))
        return LoadEnd::ManagersChanged;
    if (IsOneOf(name, { "Scale_Update", "Scale_Insert_Delete" }))
        return LoadEnd::None;
    if (name == "Scale_Insert") {
        m_scales.ReloadScaleRegister();
        return LoadEnd::None;
    }
    if (IsOneOf(name,
            { "Item_Update", "Add_Update", "User_Label_Update", "Adv_Update", "Land_Add_Update",
                "Scale_Information_Update" })) {
        LockKeyColumnAndTrailingRow();
        return LoadEnd::None;
    }
    if (IsOneOf(name,
            { "Item_Insert_Delete", "Add_Insert_Delete", "AdV_Insert_Delete", "Land_Add_Insert_Delete" })) {
        LockKeyColumnAndTrailingRow();
        // A row the DELETE no longer found is gone all the same.
        const int deleted = m_rows.GetDeleteRow();
        if (outcome != kDbDoneFailed && deleted >= 1 && deleted < grid.GetRowCount() - 1)
            grid.DeleteRow(deleted);
        m_screen.Form().Invalidate();
        return LoadEnd::None;
    }
    if (IsOneOf(name, { "Pre_Read", "Scale_Reg_Read", "Comm_Mode_Read", "ITEM_REV", "Mg_Reg_Read" })) {
        Release();
        return LoadEnd::None;
    }
    LockKeyColumnAndTrailingRow();
    const bool viewOnly
        = IsOneOf(name, kResultNames) || name == "Scale_Info_Read" || name == "Scale_Root_Info_Read";
    if (viewOnly)
        LockAllCells();
    Release();
    if (viewOnly
        || IsOneOf(name, { "Item_Read", "Add_Read", "Adv_Read", "Land_Add_Read", "User_Label_Read" })) {
        grid.AutoSize(0);
        m_screen.Form().Invalidate();
    }
    return IsOneOf(name, kResultNames) ? LoadEnd::ResultsLoaded : LoadEnd::None;
}

void CTableLoad::SplitItemRowText(const CString& row)
{
    CGridCtrl& grid = m_grid.Grid();
    SplitReplyRow(row, m_fieldTexts);
    int keyColumn = -1;
    for (int c = 0; c <= grid.GetColumnCount() - 2; ++c) {
        if (grid.GetItemText(0, c) == "ID") {
            keyColumn = c;
            break;
        }
    }
    if (keyColumn < 0)
        keyColumn = grid.GetColumnCount() - 1;
    SetCellReadOnly(m_grid.Grid(), m_rows.GetInsertRow(), keyColumn);
    grid.SetItemText(m_rows.GetInsertRow(), keyColumn, m_fieldTexts[0]);
}

void CTableLoad::SplitUserLabelRowText(const CString& row)
{
    SplitReplyRow(row, m_fieldTexts);
}

void CTableLoad::ClearFieldTexts()
{
    std::fill(m_fieldTexts.begin(), m_fieldTexts.end(), CString());
}

void CTableLoad::RebuildGrid()
{
    CGridCtrl& grid = m_grid.Grid();
    // The rows are filled cell by cell, which a virtual grid refuses: every
    // rebuild leaves the grid in normal mode, however often it runs.
    grid.SetVirtualMode(FALSE);
    try {
        grid.SetAutoSizeStyle(3);
        grid.SetRowCount(2);
        grid.SetColumnCount(2);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        e->ReportError();
    }
    const int rows = grid.GetRowCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            grid.SetItemText(r, c, r == rows - 1 && c == 0 ? "-->" : "");
    }
    for (int c = 0; rows > 0 && c < grid.GetColumnCount(); ++c)
        SetCellReadOnly(m_grid.Grid(), rows - 1, c);
    grid.AutoSize(0);
}
