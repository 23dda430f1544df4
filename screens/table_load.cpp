#include "screens/table_load.h"

#include <algorithm>
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
    m_data.ItemWorker().Acknowledge();
}

LRESULT CTableLoad::OnDbQueryRow(WPARAM, LPARAM)
{
    CItemDbWorker& worker = m_data.ItemWorker();
    m_request = worker.TakeReplyName().request;
    const CString row = worker.TakeReplyRow();
    ++m_nReplyRows;
    if (!m_request) {
        // No reader: the row is dropped, but the worker still waits for its answer.
        Release();
        return 1;
    }
    CTableBridge& bridge = m_data.TableBridge();
    switch (*m_request) {
    case DbRequest::ItemRead:
        bridge.OnItemRow(row);
        break;
    case DbRequest::AddRead:
        bridge.OnAddRow(row);
        break;
    case DbRequest::AdvRead:
        bridge.OnAdvRow(row);
        break;
    case DbRequest::PresetRead:
        bridge.OnPresetRow(row);
        break;
    case DbRequest::ManagersRead:
        bridge.OnPlainRow(row);
        break;
    case DbRequest::LandAddRead:
        bridge.OnLandAddRow(row);
        break;
    case DbRequest::UserLabelRead:
        bridge.OnUserLabelRow(row);
        break;
    case DbRequest::ResultAllRead:
    case DbRequest::ResultItemAllRead:
    case DbRequest::ResultItemDayRead:
    case DbRequest::ResultDayRead:
        bridge.OnResultRow(row);
        break;
    case DbRequest::ScaleRegRead:
        m_scales.Register().SplitRows(row);
        break;
    case DbRequest::ScaleInfoRead:
        m_scales.Register().FillScaleInfoGrid(row);
        break;
    case DbRequest::ScaleRootInfoRead:
        m_scales.Register().FillScaleRootInfoGrid(row);
        break;
    case DbRequest::CommModeRead:
        m_scales.Register().FillScaleList(row);
        break;
    default:
        Release();
        break;
    }
    return 1;
}

namespace {

// The box of a streamed read that found no row; nullptr for none.
const char* NoRowText(std::optional<DbRequest> request)
{
    if (!request)
        return nullptr;
    if (IsResultsRequest(*request))
        return "Not exist a Result Data";
    switch (*request) {
    case DbRequest::ManagersRead:
        return "Not Found User info.";
    case DbRequest::UserLabelRead:
        return "Not Found User-label info.";
    case DbRequest::ScaleInfoRead:
        return "Not Found  Scale info.";
    case DbRequest::ScaleRootInfoRead:
        return "Not Found  Scale info2.";
    default:
        return nullptr;
    }
}

} // namespace

LRESULT CTableLoad::OnDbQueryEmpty(WPARAM, LPARAM)
{
    m_request = m_data.ItemWorker().TakeReplyName().request;
    if (const char* message = NoRowText(m_request))
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
        m_data.DbMailbox().PutQuery(DbRequest::ManagersRead, m_screen.UserId());
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
    m_request = m_data.ItemWorker().TakeReplyName().request;
    // Statements run by ExecuteRequest end here without an answer; every
    // streamed request gets one.
    if (!m_request)
        return EndRead();
    switch (*m_request) {
    case DbRequest::ManagerRegister:
    case DbRequest::ManagerRemove:
        return LoadEnd::ManagersChanged;
    case DbRequest::ScaleUpdate:
    case DbRequest::ScaleDelete:
        return LoadEnd::None;
    case DbRequest::ScaleInsert:
        m_scales.ReloadScaleRegister();
        return LoadEnd::None;
    case DbRequest::ItemUpdate:
    case DbRequest::AddUpdate:
    case DbRequest::UserLabelUpdate:
    case DbRequest::AdvUpdate:
    case DbRequest::LandAddUpdate:
    case DbRequest::ScaleInformationUpdate:
        LockKeyColumnAndTrailingRow();
        return LoadEnd::None;
    case DbRequest::ItemDelete:
    case DbRequest::AddDelete:
    case DbRequest::AdvDelete:
    case DbRequest::LandAddDelete:
        EndDelete(outcome);
        return LoadEnd::None;
    case DbRequest::PresetRead:
    case DbRequest::ScaleRegRead:
    case DbRequest::CommModeRead:
    case DbRequest::ItemReceived:
    case DbRequest::ManagersRead:
        Release();
        return LoadEnd::None;
    default:
        return EndRead();
    }
}

void CTableLoad::EndDelete(WPARAM outcome)
{
    CGridCtrl& grid = m_grid.Grid();
    LockKeyColumnAndTrailingRow();
    // A row the DELETE no longer found is gone all the same.
    const int deleted = m_rows.GetDeleteRow();
    if (outcome != kDbDoneFailed && deleted >= 1 && deleted < grid.GetRowCount() - 1)
        grid.DeleteRow(deleted);
    m_screen.Form().Invalidate();
}

CTableLoad::LoadEnd CTableLoad::EndRead()
{
    LockKeyColumnAndTrailingRow();
    const bool results = m_request && IsResultsRequest(*m_request);
    const bool viewOnly
        = results || m_request == DbRequest::ScaleInfoRead || m_request == DbRequest::ScaleRootInfoRead;
    if (viewOnly)
        LockAllCells();
    Release();
    const bool table = m_request == DbRequest::ItemRead || m_request == DbRequest::AddRead
        || m_request == DbRequest::AdvRead || m_request == DbRequest::LandAddRead
        || m_request == DbRequest::UserLabelRead;
    if (viewOnly || table) {
        m_grid.Grid().AutoSize(0);
        m_screen.Form().Invalidate();
    }
    return results ? LoadEnd::ResultsLoaded : LoadEnd::None;
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
