// The scale screens of the work screen: the scale settings screens' Insert,
// Update, Delete and Trans, the scale register screen's list and buttons, and
// the communication setup command with the mode reloads it starts.

#include <array>
#include <memory>
#include <span>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/wnd/msgbox.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "screens/transfer_port.h"
#include "serial/scale_info_dlg.h"
#include "serial/scale_register.h"
#include "shell/calvorn_view.h"
#include "shell/scale_dialogs.h"
#include "shell/view_hints.h"

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

// The settings table of a screen's kind word.
struct SettingsTable {
    const char* table;
    const char* keyColumn; // holds '-1' in a new row until it is written
    const char* insertName;
    const char* insertReadName;
    std::span<const char* const> columns;
    bool upperTitles; // the load shows the column names upper-cased
};

const SettingsTable* TableOfKind(const CString& kind)
{
    static const SettingsTable kInfo { "Scale_Info", "WeightNum", "Scale_Information_Insert",
        "Scale_Information_Insert_read", kInfoColumns, false };
    static const SettingsTable kRootInfo { "Scale_Root_Info", "MyID", "Scale_Root_Information_Insert",
        "Scale_Root_Information_Insert_read", kRootInfoColumns, true };
    if (kind == "Scale_Info")
        return &kInfo;
    if (kind == "Scale_Root_Info")
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
    if (CString(table.table) == "Scale_Info") {
        auto dialog = std::make_unique<CScaleBasicInfoDlg>(parent);
        dialog->m_nFirstFlag = 1;
        return dialog;
    }
    return std::make_unique<CScaleNetInfoDlg>(parent);
}

// The current screen's number for a kind word, 0 when the word has none.
int ScreenNumberOfKind(const CString& kind)
{
    static const std::pair<const char*, int> kNumbers[] = { { "Item", 1 }, { "Add", 2 }, { "Adv", 4 },
        { "Land_addition", 19 }, { "User_Label_Read", 17 }, { "Pre", 3 }, { "Scale_reg", 6 },
        { "Scale_Info", 5 }, { "Mg_Reg_Read", 16 }, { "Scale_Root_Info", 18 },
        { "Scale_Result_All_Read", 12 }, { "Scale_Result_Item_All_Read", 13 },
        { "Scale_Result_Item_Day_Read", 14 }, { "Scale_Result_Day_Read", 15 } };
    for (const auto& [word, number] : kNumbers) {
        if (kind == word)
            return number;
    }
    return 0;
}

} // namespace

// ---- Communication mode -----------------------------------------------------------

BOOL CKindOfView::ReloadScaleAddresses(int mode)
{
    // Whatever word a finished request left in the mailbox, only a request
    // being served owns it.
    if (!m_pScaleRegister || RefuseWhileBusy())
        return FALSE;
    m_commSettings.ClearRegistered();
    m_mailbox.SetText(IDC_MAILBOX_NAME, kQueryCommModeRead);
    m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
    StartLoad([this, mode] {
        m_nUpdateLock = 1;
        m_pScaleRegister->SelectScaleAddress(m_strItemDbPath, "", mode);
    });
    return TRUE;
}

void CKindOfView::OnCommSetup()
{
    if (m_grid.GetSafeHwnd())
        m_grid.SetFocus();
    // The reload empties the list when it starts; a list still being filled
    // is left to its load.
    const CString mode = m_commSettings.ModeText();
    if (mode == "Ethernet")
        ReloadScaleAddresses(1);
    else if (mode == "Serial")
        ReloadScaleAddresses(2);
    else
        m_commSettings.ClearRegistered();
    m_commSetupDlg.m_strMode = m_strKind;
    m_commSetupDlg.ShowSettings();
    m_commSetupDlg.ShowWindow(SW_SHOW);
    if (const int number = ScreenNumberOfKind(m_strKind))
        m_nHint = number;
}

LRESULT CKindOfView::OnCommModeChanged(WPARAM wParam, LPARAM)
{
    if (wParam == 1 || wParam == 2)
        ReloadScaleAddresses(static_cast<int>(wParam));
    return 1;
}

// ---- Scale register screen --------------------------------------------------------

void CKindOfView::OnScaleListClick(NMHDR* header, LRESULT* result)
{
    m_nRegisterRow = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
    *result = 0;
}

void CKindOfView::ReloadScaleRegister()
{
    ClearScaleList();
    m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Reg_Read");
    m_mailbox.SetText(IDC_MAILBOX_TEXT, m_strUserId);
    if (m_pScaleRegister)
        StartLoad([this] { m_pScaleRegister->SelectScales(""); });
}

void CKindOfView::OnScaleUpdate()
{
    if (RefuseWhileBusy())
        return;
    const int row = m_nRegisterRow;
    if (row < 0 || row >= m_scaleList.GetItemCount() || m_scaleList.GetItemText(row, 0).IsEmpty())
        return;
    CScaleInfoDlg dialog(this);
    dialog.m_strMode = "Scale_Update";
    dialog.m_strScaleNum = "0";
    dialog.m_strScaleName = m_scaleList.GetItemText(row, 0);
    dialog.m_strIp = m_scaleList.GetItemText(row, 1);
    dialog.m_strScaleId = m_scaleList.GetItemText(row, 2);
    dialog.m_strKey = m_scaleList.GetItemText(row, 4);
    dialog.m_strManagerId = m_scaleList.GetItemText(row, 3);
    if (dialog.DoModal() != IDOK || !m_pScaleRegister)
        return;
    // The list keeps showing what is stored.
    if (!CScaleRegister::IsRecordKey(dialog.m_strKey)) {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    m_scaleList.SetItemText(row, 0, dialog.m_strScaleName);
    m_scaleList.SetItemText(row, 1, dialog.m_strIp);
    m_scaleList.SetItemText(row, 2, dialog.m_strScaleId);
    m_scaleList.SetItemText(row, 3, dialog.m_strManagerId);
    m_scaleList.SetItemText(row, 4, dialog.m_strKey);
    m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Update");
    m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    StartLoad([&] {
        m_pScaleRegister->UpdateScale(dialog.m_strScaleNum, dialog.m_strScaleName, dialog.m_strIp,
            dialog.m_strScaleId, dialog.m_strManagerId, dialog.m_strKey);
    });
}

void CKindOfView::OnScaleInsert()
{
    if (RefuseWhileBusy())
        return;
    CScaleInfoDlg dialog(this);
    dialog.m_strMode = "Scale_Insert";
    // A new scale belongs to the manager who registers it.
    dialog.m_strManagerId = m_strUserId;
    if (dialog.DoModal() != IDOK || !m_pScaleRegister)
        return;
    m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert");
    m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    StartLoad([&] {
        m_pScaleRegister->InsertScale(dialog.m_strScaleNum, dialog.m_strScaleName, dialog.m_strIp,
            dialog.m_strScaleId, dialog.m_strManagerId.IsEmpty() ? m_strUserId : dialog.m_strManagerId);
    });
}

void CKindOfView::OnScaleDelete()
{
    if (RefuseWhileBusy())
        return;
    const int row = m_nRegisterRow;
    if (row < 0 || row >= m_scaleList.GetItemCount())
        return;
    if (MessageBox("This Scale -> Delete?", "Delete", MB_YESNO) != IDYES)
        return;
    const CString key = m_scaleList.GetItemText(row, 4);
    if (!m_pScaleRegister)
        return;
    if (!CScaleRegister::IsRecordKey(key)) {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    m_mailbox.SetText(IDC_MAILBOX_NAME, "Scale_Insert_Delete");
    m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
    StartLoad([&] { m_pScaleRegister->DeleteScale(key); });
    m_scaleList.DeleteItem(row);
    m_nRegisterRow = -1;
}

// ---- Scale settings screens -------------------------------------------------------

BOOL CKindOfView::CheckSingleScaleRow()
{
    if (m_grid.m_bCtrlPick || m_grid.m_bShiftPick || m_grid.m_nDownRow != m_grid.m_nUpRow) {
        AfxMessageBox(kRowRefusal, MB_OK);
        return FALSE;
    }
    // The heading row and the empty last row hold no settings.
    if (m_nClickRow < 1 || m_nClickRow >= m_grid.GetRowCount() - 1) {
        AfxMessageBox(kNoRowRefusal, MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CKindOfView::OnScaleInfoUpdate()
{
    if (RefuseWhileBusy())
        return;
    const SettingsTable* table = TableOfKind(m_strKind);
    if (table && CheckSingleScaleRow()) {
        const int row = m_nClickRow;
        std::unique_ptr<CScaleInfoDlgBase> dialog = MakeSettingsDialog(*table, this);
        dialog->m_nNewFlag = 0;
        dialog->m_nLoadFlag = 1;
        dialog->m_strVersion = "eng";
        for (std::size_t i = 0; i < table->columns.size(); ++i)
            dialog->m_values[i] = m_grid.GetItemText(row, static_cast<int>(i) + 1);
        m_nUpdateLock = 1;
        StartLoad([&] {
            m_pItemWorker->OpenDatabase(kScaleSettingsDatabase);
            if (dialog->DoModal() != IDOK)
                return;
            const CString key = m_grid.GetItemText(row, m_grid.GetColumnCount() - 1);
            // The grid keeps showing what is stored.
            if (!CScaleRegister::IsRecordKey(key)) {
                AfxMessageBox(kNoKeyText, MB_OK);
                return;
            }
            for (std::size_t i = 0; i < table->columns.size(); ++i)
                m_grid.SetItemText(row, static_cast<int>(i) + 1, dialog->m_values[i]);
            m_pItemWorker->Execute(UpdateSql(*table, dialog->m_values, key));
        });
        m_pItemWorker->CloseDatabase();
        m_nUpdateLock = 0;
    }
    m_grid.AutoSize(0);
    ResetGridSelection();
}

void CKindOfView::OnScaleInfoInsert()
{
    if (RefuseWhileBusy())
        return;
    const SettingsTable* table = TableOfKind(m_strKind);
    if (!table) {
        m_grid.AutoSize(0);
        return;
    }
    std::unique_ptr<CScaleInfoDlgBase> dialog = MakeSettingsDialog(*table, this);
    dialog->m_nNewFlag = 1;
    dialog->m_nLoadFlag = 0;
    dialog->m_strVersion = "eng";
    if (dialog->DoModal() == IDOK) {
        // An empty table's load gave the grid no columns: it gets the table's.
        const int columns = static_cast<int>(table->columns.size()) + 2;
        if (m_grid.GetColumnCount() < columns) {
            SetGridColumnCount(columns);
            for (int c = 1; c < columns; ++c) {
                CString title = c < columns - 1 ? table->columns[static_cast<std::size_t>(c - 1)] : "ID";
                if (table->upperTitles)
                    title.MakeUpper();
                m_grid.SetItemText(0, c, title);
            }
        }
        const int row = m_grid.GetRowCount() - 1;
        InsertGridRow(CString::Formatted("List %ld", static_cast<long>(row)), row);
        m_nInsertRow = row;
        m_mailbox.SetText(IDC_MAILBOX_NAME, table->insertName);
        m_mailbox.SetText(IDC_MAILBOX_TEXT, "");
        m_nUpdateLock = 1;
        // A failed insert or read-back must not leave an earlier row's ID here.
        std::fill(m_fieldTexts.begin(), m_fieldTexts.end(), CString());
        StartLoad([&] {
            m_pItemWorker->OpenDatabase(kScaleSettingsDatabase);
            m_pItemWorker->Execute(CString::Formatted(
                "INSERT INTO [%s]([%s]) VALUES('%s')", table->table, table->keyColumn, "-1"));
            m_mailbox.SetText(IDC_MAILBOX_NAME, "");
            m_mailbox.SetText(IDC_MAILBOX_NAME, table->insertReadName);
            m_pItemWorker->HandleInsertRead(
                CString::Formatted("SELECT [ID] FROM [%s] WHERE [%s] = '-1' ORDER BY [ID] DESC", table->table,
                    table->keyColumn));
        });
        m_mailbox.SetText(IDC_MAILBOX_NAME, "");
        const CString key = m_fieldTexts[0];
        if (!CScaleRegister::IsRecordKey(key)) {
            m_grid.DeleteRow(row);
            AfxMessageBox(kInsertLost, MB_OK);
        } else {
            int keyColumn = FindColumn("ID");
            if (keyColumn < 0)
                keyColumn = m_grid.GetColumnCount() - 1;
            for (int c = 1; c < m_grid.GetColumnCount(); ++c)
                SetCellReadOnly(row, c);
            m_grid.SetItemText(row, keyColumn, key);
            for (std::size_t i = 0; i < table->columns.size(); ++i)
                m_grid.SetItemText(row, static_cast<int>(i) + 1, dialog->m_values[i]);
            StartLoad([&] { m_pItemWorker->Execute(UpdateSql(*table, dialog->m_values, key)); });
        }
    }
    m_pItemWorker->CloseDatabase();
    m_nUpdateLock = 0;
    ResetGridSelection();
    m_grid.AutoSize(0);
}

void CKindOfView::OnScaleInfoDelete()
{
    if (RefuseWhileBusy())
        return;
    EnableControls({ 1059, 1060 }, FALSE);
    const int rows = m_grid.GetRowCount();
    const int target = m_nClickRow >= 1 ? m_nClickRow : rows - 2;
    m_nDeleteRow = target;
    const SettingsTable* table = TableOfKind(m_strKind);
    if (table && target >= 1 && target < rows - 1) {
        m_nUpdateLock = 1;
        int keyColumn = FindColumn("ID");
        if (keyColumn < 0)
            keyColumn = m_grid.GetColumnCount() - 1;
        const CString key = m_grid.GetItemText(target, keyColumn);
        // Only a whole-number key names one row.
        if (CScaleRegister::IsRecordKey(key)) {
            StartLoad([&] {
                m_pItemWorker->OpenDatabase(kScaleSettingsDatabase);
                m_pItemWorker->Execute(CString("DELETE FROM [") + table->table + "] WHERE [ID] = " + key);
            });
            m_grid.DeleteRow(target);
        } else {
            AfxMessageBox(kNoKeyText, MB_OK);
        }
        m_pItemWorker->CloseDatabase();
        m_nUpdateLock = 0;
    }
    ResetGridSelection();
    EnableControls({ 1059, 1060 }, TRUE);
    Invalidate();
}

void CKindOfView::OnScaleInfoTrans()
{
    // The send reads the grid row the load may still be filling.
    if (RefuseWhileBusy())
        return;
    if (m_strKind == "Scale_Info")
        SendScaleInfo();
    else if (m_strKind == "Scale_Root_Info")
        SendScaleRootInfo();
}

namespace {

// The order both senders hand to the transport; the transport reads the
// grid's current row (the clicked row) when it builds the record.
TransferOrder ScaleOrder(const CKindOfView& view, const char* command, const char* kind)
{
    TransferOrder order;
    order.command = command;
    order.dataKind = kind;
    order.scope = "select";
    order.languageIndex = view.m_nLanguage;
    order.scales = view.m_commSettings.m_scales;
    order.comPort = view.m_nComPort;
    return order;
}

} // namespace

BOOL CKindOfView::BeginScaleSend()
{
    m_nSerialStop.store(0);
    m_nBroadcast = 0;
    m_serialMailbox.ClearAll();
    std::fill(m_recvNumbers.begin(), m_recvNumbers.end(), 0);
    m_nSerialScaleIndex = m_nSerialScaleCount = m_nEthThreadCount = 0;
    if (m_commSettings.GetMode() < 0 || (m_commSettings.IsSerial() && m_nComPort < 1)) {
        AfxMessageBox("Select a port.", MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CKindOfView::SendScaleInfo()
{
    if (!BeginScaleSend())
        return;
    const int count = static_cast<int>(m_commSettings.m_scales.size());
    if (m_commSettings.IsSerial()) {
        m_nSerialScaleCount = count;
        if (!CheckSingleScaleRow())
            return;
        if (count == 0) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        m_nBroadcast = count >= 2 ? 1 : 0;
        if (m_pTransferPort)
            m_pTransferPort->StartSerialTransfer(
                ScaleOrder(*this, count >= 2 ? "BROAD_TRANS" : "TRANS", "SCALE_INFOMATION"));
        return;
    }
    m_nEthThreadCount = count;
    if (count < 1) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (!CheckSingleScaleRow())
        return;
    if (m_pTransferPort)
        m_pTransferPort->StartEthernetTransfer(ScaleOrder(*this, "TRANS", "SCALE_INFOMATION"));
}

void CKindOfView::SendScaleRootInfo()
{
    if (!BeginScaleSend())
        return;
    const int count = static_cast<int>(m_commSettings.m_scales.size());
    if (m_commSettings.IsSerial()) {
        m_nSerialScaleCount = count;
        if (!CheckSingleScaleRow())
            return;
    } else {
        m_nEthThreadCount = count;
        if (count < 1) {
            AfxMessageBox("Communication Setting error", MB_OK);
            return;
        }
        if (!CheckSingleScaleRow())
            return;
    }
    if (count == 0) {
        AfxMessageBox("Communication Setting error", MB_OK);
        return;
    }
    if (count >= 2) {
        AfxMessageBox("Only, One Scale Trans", MB_OK);
        return;
    }
    if (!m_pTransferPort)
        return;
    const TransferOrder order = ScaleOrder(*this, "TRANS", "SCALE_ROOT_INFOMATION");
    if (m_commSettings.IsSerial())
        m_pTransferPort->StartSerialTransfer(order);
    else
        m_pTransferPort->StartEthernetTransfer(order);
}
