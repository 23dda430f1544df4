#include "screens/user_label_screen.h"

#include "db/checked_dao_helper.h"
#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/grid_cells.h"
#include "screens/grid_rows.h"
#include "screens/table_bridge.h"
#include "screens/table_load.h"
#include "screens/transfer_glue.h"
#include "screens/user_label_view.h"
#include "screens/work_screen_context.h"
#include "screens/work_screen_panels.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"

namespace {

constexpr const char* kInsertLost = "User Label Insert Error";
constexpr const char* kNoLabelRow = "Select a label information grid line";

// Runs one statement on its own connection; FALSE after the error was shown.
BOOL ExecuteOn(const CString& path, const CString& sql)
{
    CCheckedDaoHelper db;
    try {
        db.OpenDatabase(path);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    const BOOL ok = db.ExecuteChecked(sql);
    db.CloseDatabase();
    return ok;
}

} // namespace

CUserLabelScreen::CUserLabelScreen(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
    CGridRows& rows, CTableLoad& load, CTransferGlue& transfers)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_rows(rows)
    , m_load(load)
    , m_transfers(transfers)
{ }

const MessageMap* CUserLabelScreen::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CUserLabelScreen::OnInsert>(IDC_WORK_LABEL_INSERT),
            OnCommandMsg<&CUserLabelScreen::OnDelete>(IDC_WORK_LABEL_DELETE),
            OnCommandMsg<&CUserLabelScreen::OnReceive>(IDC_WORK_LABEL_RECV),
            OnCommandMsg<&CUserLabelScreen::OnTransAll>(IDC_WORK_LABEL_TRANS_ALL),
            OnCommandMsg<&CUserLabelScreen::OnTransSelect>(IDC_WORK_LABEL_TRANS_SELECT),
            OnCommandMsg<&CUserLabelScreen::OnImage>(IDC_WORK_LABEL_IMAGE),
        });
    return &kMap;
}

std::span<const PanelControl> CUserLabelScreen::PanelControls()
{
    static constexpr PanelControl kControls[] = {
        { IDC_WORK_LABEL_INSERT, PanelGroup::UserLabel, "Insert" },
        { IDC_WORK_LABEL_DELETE, PanelGroup::UserLabel, "Delete" },
        { IDC_WORK_LABEL_RECV, PanelGroup::UserLabel, "Receive" },
        { IDC_WORK_LABEL_TRANS_ALL, PanelGroup::UserLabel, "Trans" },
        { IDC_WORK_LABEL_TRANS_SELECT, PanelGroup::UserLabel, "Select Trans" },
        { IDC_WORK_LABEL_IMAGE, PanelGroup::UserLabel, "Image Display" },
    };
    return kControls;
}

void CUserLabelScreen::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_WORK_LABEL_INSERT, m_btnInsert);
    DDX_Control(dx, IDC_WORK_LABEL_DELETE, m_btnDelete);
    DDX_Control(dx, IDC_WORK_LABEL_IMAGE, m_btnImage);
    DDX_Control(dx, IDC_WORK_LABEL_RECV, m_btnReceive);
    DDX_Control(dx, IDC_WORK_LABEL_TRANS_ALL, m_btnTransAll);
    DDX_Control(dx, IDC_WORK_LABEL_TRANS_SELECT, m_btnTransSelect);
}

void CUserLabelScreen::EnableEditButtons(BOOL enable)
{
    for (CXPButton* button : { &m_btnInsert, &m_btnDelete }) {
        if (button->GetSafeHwnd())
            button->EnableWindow(enable);
    }
}

CUserLabelView* CUserLabelScreen::FindDesigner()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<CUserLabelView*>(right->GetUserLabelView()) : nullptr;
}

int CUserLabelScreen::KeyColumn() const
{
    const int column = FindColumn(m_grid.Grid(), "ID");
    return column >= 0 ? column : m_grid.Grid().GetColumnCount() - 1;
}

CString CUserLabelScreen::InsertPlaceholder()
{
    // A failed insert or read-back must not leave an earlier insert's ID here.
    m_load.ClearFieldTexts();
    const CString path = m_data.ItemDbPath();
    const CString user = SqlLiteral(m_screen.UserId());
    if (!ExecuteOn(path, "INSERT INTO [UserLabel]([file_num], [mg_id]) VALUES('-1', " + user + ")"))
        return CString();
    const CString sql = m_screen.UserId() == kAdministratorId
        ? CString("SELECT [ID] FROM [UserLabel] WHERE [file_num] = '-1' ORDER BY [ID] DESC")
        : "SELECT [ID] FROM [UserLabel] WHERE [file_num] = '-1' AND [mg_id] = " + user
            + " ORDER BY [ID] DESC";
    CItemDbWorker& worker = m_data.ItemWorker();
    worker.Note(DbRequest::UserLabelInsertRead, "");
    m_screen.StartLoad([&] {
        worker.OpenDatabase(path);
        worker.HandleInsertRead(sql);
    });
    worker.CloseDatabase();
    worker.ClearRequestName();
    const CString& id = m_load.GetFieldTexts()[0];
    return IsIntegerKey(id) ? id : CString();
}

void CUserLabelScreen::OnInsert()
{
    m_transfers.ClearReceiveNumbers();
    if (m_data.RefuseWhileBusy())
        return;
    m_screen.SetUpdateLock(1);
    EnableEditButtons(FALSE);
    m_grid.Grid().ClearPicks();
    CGridCtrl& grid = m_grid.Grid();
    const int rows = grid.GetRowCount();
    const int clicked = m_rows.GetClickedRow();
    const int row = clicked >= 1 && clicked < rows ? clicked : rows - 1;
    m_grid.Grid().InsertRow(CString::Formatted("List %ld", static_cast<long>(rows - 1)), row);
    CString key;
    if (!m_data.ItemDbPath().IsEmpty() && m_screen.HintKind() == DataKind::UserLabel)
        key = InsertPlaceholder();
    if (key.IsEmpty()) {
        grid.DeleteRow(row);
        AfxMessageBox(kInsertLost, MB_OK);
    } else {
        const int column = KeyColumn();
        SetCellReadOnly(m_grid.Grid(), row, column);
        grid.SetItemText(row, column, key);
    }
    m_screen.SetUpdateLock(0);
    m_grid.Grid().ForgetPickAnchors();
    EnableEditButtons(TRUE);
    grid.Invalidate();
}

void CUserLabelScreen::OnDelete()
{
    if (m_data.RefuseWhileBusy())
        return;
    EnableEditButtons(FALSE);
    CGridCtrl& grid = m_grid.Grid();
    const int rows = grid.GetRowCount();
    const int row = m_rows.GetClickedRow() >= 1 ? m_rows.GetClickedRow() : rows - 2;
    const CString path = m_data.ItemDbPath();
    if (!path.IsEmpty() && row >= 1 && row < rows - 1) {
        m_screen.SetUpdateLock(1);
        const CString key = grid.GetItemText(row, KeyColumn());
        // Only a whole-number key names one row.
        if (!IsIntegerKey(key)) {
            AfxMessageBox(kNoKeyText, MB_OK);
        } else if (ExecuteOn(path, "DELETE FROM [UserLabel] WHERE [ID] = " + key)) {
            grid.DeleteRow(row);
            m_rows.ForgetClickedCell();
        }
        m_screen.SetUpdateLock(0);
    }
    m_grid.Grid().ForgetPickAnchors();
    EnableEditButtons(TRUE);
    m_screen.Form().Invalidate();
}

void CUserLabelScreen::OnImage()
{
    const int row = m_rows.GetClickedRow();
    CUserLabelView* designer = FindDesigner();
    if (row < 1 || row >= m_grid.Grid().GetRowCount() - 1 || !designer) {
        AfxMessageBox(kNoLabelRow, MB_OK);
        return;
    }
    designer->Panel().LoadLabelFromGrid(row);
}

void CUserLabelScreen::OnTransAll()
{
    m_transfers.ClearReceiveNumbers();
    m_transfers.StartTransfer(TransferCommand::Trans, TransferScope::All, FALSE, TRUE);
}

void CUserLabelScreen::OnTransSelect()
{
    m_transfers.ClearReceiveNumbers();
    m_transfers.StartTransfer(TransferCommand::Trans, TransferScope::Select, FALSE, FALSE);
}

void CUserLabelScreen::OnReceive()
{
    m_transfers.ClearReceiveNumbers();
    m_transfers.StartTransfer(TransferCommand::Recv, TransferScope::All, FALSE, FALSE);
}
