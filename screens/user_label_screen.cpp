#include "screens/user_label_screen.h"

#include <algorithm>

#include "db/checked_dao_helper.h"
#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "screens/transfer_glue.h"
#include "screens/user_label_view.h"
#include "shell/calvorn_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"

namespace {

constexpr int kInsertButton = 1059;
constexpr int kDeleteButton = 1060;
constexpr const char* kInsertLost = "User Label Insert Error";
constexpr const char* kNoLabelRow = "Select a label information grid line";

// The other screens' groups, hidden while this one shows.
constexpr std::initializer_list<int> kOtherGroups = { 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026,
    1030, 1033, 1034, 1049, 1025, 1027, 1028, 1029, 1032, 1050, 1051, 1052, 1057 };

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

CUserLabelScreen::CUserLabelScreen(CKindOfView& view)
    : m_view(view)
{ }

CUserLabelView* CUserLabelScreen::FindDesigner()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<CUserLabelView*>(right->GetUserLabelView()) : nullptr;
}

void CUserLabelScreen::Show()
{
    CKindOfView& v = m_view;
    v.SetCaptionText("User-label");
    v.Invalidate();
    v.HideAllPanels();
    v.ShowControls(kOtherGroups, FALSE);
    v.m_nUpdateLock = 1;
    PlacePanel();
    v.PlaceSyncPresetButton(v.m_nServerMode);
    v.StartLoad([&v] { v.m_pTableBridge->RequestUserLabels(v.m_strItemDbPath); });
}

void CUserLabelScreen::PlacePanel()
{
    CKindOfView& v = m_view;
    v.ShowUserLabelPanel(TRUE);
    if (v.m_grid.GetSafeHwnd())
        v.m_grid.SetWindowPos(&CWnd::wndTop, 50, 60, 700, 200, SWP_SHOWWINDOW);
    const struct {
        int id, x, y, cx, cy;
        const char* caption;
    } kPlaces[]
        = { { kInsertButton, 50, 270, 60, 30, "Insert" }, { kDeleteButton, 120, 270, 60, 30, "Delete" },
              { 1062, 480, 270, 70, 30, "Trans" }, { 1063, 560, 270, 100, 30, "Select Trans" },
              { 1061, 680, 270, 70, 30, "Receive" }, { 1064, 50, 310, 130, 30, "Image Display" },
              { 1044, 190, 260, 285, 80, nullptr }, { 1041, 200, 278, 55, 20, nullptr },
              { 1037, 200, 303, 45, 30, nullptr }, { 1039, 270, 278, 95, 20, nullptr },
              { 1042, 375, 278, 85, 20, nullptr }, { 1038, 375, 303, 45, 30, nullptr } };
    for (const auto& place : kPlaces) {
        v.PlaceControl(place.id, place.x, place.y, place.cx, place.cy);
        if (place.caption)
            v.SetDlgItemText(place.id, place.caption);
    }
}

int CUserLabelScreen::KeyColumn() const
{
    const int column = m_view.FindColumn("ID");
    return column >= 0 ? column : m_view.m_grid.GetColumnCount() - 1;
}

CString CUserLabelScreen::InsertPlaceholder()
{
    CKindOfView& v = m_view;
    // A failed insert or read-back must not leave an earlier insert's ID here.
    v.m_load.ClearFieldTexts();
    const CString user = SqlLiteral(v.m_strUserId);
    if (!ExecuteOn(
            v.m_strItemDbPath, "INSERT INTO [UserLabel]([file_num], [mg_id]) VALUES('-1', " + user + ")"))
        return CString();
    const CString sql = v.m_strUserId == kAdministratorId
        ? CString("SELECT [ID] FROM [UserLabel] WHERE [file_num] = '-1' ORDER BY [ID] DESC")
        : "SELECT [ID] FROM [UserLabel] WHERE [file_num] = '-1' AND [mg_id] = " + user
            + " ORDER BY [ID] DESC";
    CItemDbWorker* worker = v.GetItemWorker();
    v.m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    v.m_mailbox.SetText(IDC_MAILBOX_NAME, "User_Label_Insert_Read");
    v.StartLoad([&] {
        worker->OpenDatabase(v.m_strItemDbPath);
        worker->HandleInsertRead(sql);
    });
    worker->CloseDatabase();
    v.m_mailbox.SetText(IDC_MAILBOX_NAME, "");
    const CString& id = v.m_load.GetFieldTexts()[0];
    return IsIntegerKey(id) ? id : CString();
}

void CUserLabelScreen::Insert()
{
    CKindOfView& v = m_view;
    if (v.RefuseWhileBusy())
        return;
    v.m_nUpdateLock = 1;
    v.EnableControls({ kInsertButton, kDeleteButton }, FALSE);
    v.ClearPickedRows();
    v.m_pTransfers->ClearReceiveNumbers();
    const int rows = v.m_grid.GetRowCount();
    const int row = v.ClickedRow() >= 1 && v.ClickedRow() < rows ? v.ClickedRow() : rows - 1;
    v.InsertGridRow(CString::Formatted("List %ld", static_cast<long>(rows - 1)), row);
    CString key;
    if (!v.m_strItemDbPath.IsEmpty() && v.m_nHint == kKindUserLabel)
        key = InsertPlaceholder();
    if (key.IsEmpty()) {
        v.m_grid.DeleteRow(row);
        AfxMessageBox(kInsertLost, MB_OK);
    } else {
        const int column = KeyColumn();
        v.SetCellReadOnly(row, column);
        v.m_grid.SetItemText(row, column, key);
    }
    v.m_nUpdateLock = 0;
    v.ResetGridSelection();
    v.EnableControls({ kInsertButton, kDeleteButton }, TRUE);
    v.m_grid.Invalidate();
}

void CUserLabelScreen::Delete()
{
    CKindOfView& v = m_view;
    if (v.RefuseWhileBusy())
        return;
    v.EnableControls({ kInsertButton, kDeleteButton }, FALSE);
    const int rows = v.m_grid.GetRowCount();
    const int row = v.ClickedRow() >= 1 ? v.ClickedRow() : rows - 2;
    if (!v.m_strItemDbPath.IsEmpty() && row >= 1 && row < rows - 1) {
        v.m_nUpdateLock = 1;
        const CString key = v.m_grid.GetItemText(row, KeyColumn());
        // Only a whole-number key names one row.
        if (!IsIntegerKey(key)) {
            AfxMessageBox(kNoKeyText, MB_OK);
        } else if (ExecuteOn(v.m_strItemDbPath, "DELETE FROM [UserLabel] WHERE [ID] = " + key)) {
            v.m_grid.DeleteRow(row);
            v.ForgetClickedCell();
        }
        v.m_nUpdateLock = 0;
    }
    v.ResetGridSelection();
    v.EnableControls({ kInsertButton, kDeleteButton }, TRUE);
    v.Invalidate();
}

void CUserLabelScreen::ShowImage()
{
    const int row = m_view.ClickedRow();
    CUserLabelView* designer = FindDesigner();
    if (row < 1 || row >= m_view.m_grid.GetRowCount() - 1 || !designer) {
        AfxMessageBox(kNoLabelRow, MB_OK);
        return;
    }
    designer->LoadLabelFromGrid(row);
}

// The work screen's user-label commands hand on to the screen; the three
// transfers go through the work screen's transfer start.

void CKindOfView::ShowUserLabelScreen()
{
    CUserLabelScreen(*this).Show();
}

void CKindOfView::OnUserLabelInsert()
{
    CUserLabelScreen(*this).Insert();
}

void CKindOfView::OnUserLabelDelete()
{
    CUserLabelScreen(*this).Delete();
}

void CKindOfView::OnUserLabelImage()
{
    CUserLabelScreen(*this).ShowImage();
}

void CKindOfView::OnUserLabelTransAll()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer("TRANS", "all", FALSE, TRUE);
}

void CKindOfView::OnUserLabelTransSelect()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer("TRANS", "select", FALSE, FALSE);
}

void CKindOfView::OnUserLabelRecv()
{
    m_pTransfers->ClearReceiveNumbers();
    m_pTransfers->StartTransfer("RECV", "all", FALSE, FALSE);
}
