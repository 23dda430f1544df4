// The scale screens: the register screen's list and buttons, the scale
// settings screens' Insert, Update and Delete, and the communication setup
// with the mode reloads it starts and the settings file it reads.

#include "screens/scale_screens.h"

#include <array>
#include <optional>
#include <span>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/grid_ctrl.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/data_kinds.h"
#include "screens/reply_row.h"
#include "screens/table_bridge.h"
#include "screens/transfer_ports.h"
#include "screens/work_screen_context.h"
#include "serial/scale_info_dlg.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"
#include "shell/scale_dialogs.h"
#include "shell/screen_table.h"
#include "transfer/scale_register.h"

namespace {

constexpr DWORD kScaleListStyle = 0x50810201;
constexpr DWORD kScaleButtonStyle = 0x50000000;
constexpr int kScaleListId = 900;
constexpr int kComPortToggleId = 1043;

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
    const char* insertName;
    const char* insertReadName;
    std::span<const char* const> columns;
    bool upperTitles; // the load shows the column names upper-cased
};

const SettingsTable* TableOfKind(std::optional<DataKind> kind)
{
    static const SettingsTable kInfo { DataKind::ScaleInfo, "Scale_Info", "WeightNum",
        "Scale_Information_Insert", "Scale_Information_Insert_read", kInfoColumns, false };
    static const SettingsTable kRootInfo { DataKind::ScaleRootInfo, "Scale_Root_Info", "MyID",
        "Scale_Root_Information_Insert", "Scale_Root_Information_Insert_read", kRootInfoColumns, true };
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

// The number of the screen of a kind word; 0 for none.
int ScreenNumberOf(std::optional<DataKind> kind, const CString& word)
{
    const std::optional<Screen> screen = ScreenOfWord(kind, word.View());
    return screen ? static_cast<int>(HintOf(*screen)) : 0;
}

// The key column of the settings grid: "ID", else the last column.
int KeyColumn(CWorkScreenGrid& grid)
{
    const int column = grid.FindColumn("ID");
    return column >= 0 ? column : grid.Grid().GetColumnCount() - 1;
}

} // namespace

CScaleScreens::CScaleScreens(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_pRegister(std::make_unique<CScaleRegister>())
{
    m_pRegister->SetOwnerView(this);
    m_pRegister->SetLanguage(2);
    m_commSetupDlg.Create(IDD_COMM_SETUP, &screen.Form());
    m_commSetupDlg.SetOwnerView(this);
}

CScaleScreens::~CScaleScreens()
{
    m_commSetupDlg.DestroyWindow();
}

CScaleRegisterPort& CScaleScreens::Register()
{
    return *m_pRegister;
}

CWnd* CScaleScreens::GetHostWindow()
{
    return &m_screen.Form();
}

CItemDbWorker* CScaleScreens::GetItemWorker()
{
    return &m_data.ItemWorker();
}

CMailboxDlg* CScaleScreens::GetDbMailbox()
{
    return &m_data.DbMailbox();
}

CGridCtrl* CScaleScreens::GetGrid()
{
    return &m_grid.Grid();
}

void CScaleScreens::SetGridColumnCount(int count)
{
    m_grid.SetGridColumnCount(count);
}

int CScaleScreens::InsertGridRow(const CString& heading, int position)
{
    return m_grid.InsertGridRow(heading, position);
}

void CScaleScreens::SetUpdateLock(int lock)
{
    m_screen.SetUpdateLock(lock);
}

void CScaleScreens::SetRequest(const CString& name, const CString& text)
{
    m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, name);
    m_data.DbMailbox().SetText(IDC_MAILBOX_TEXT, text);
}

// ---- Communication mode -----------------------------------------------------------

CString CScaleScreens::GetScaleIpFromList(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_commSettings.GetChosen().size()))
        return "";
    return CWorkScreenTransports::AddressOfLine(m_commSettings.GetChosen()[static_cast<std::size_t>(index)]);
}

int CScaleScreens::ReadCommMode()
{
    MakeDirectoryPath(kManagerFolder);
    const std::vector<CString> lines = ReadSettingsLines(kCommSettingsFile);
    if (std::find(lines.begin(), lines.end(), CString("Auto")) == lines.end())
        return 0;
    m_commSettings.ClearChosen();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const CString& line = lines[i];
        if (line == "serial" || line == "ethernet") {
            const bool serial = line == "serial";
            m_screen.SignInAdministrator();
            m_nPickFirstScale = 0;
            m_commSettings.SelectMode(serial ? Transport::Serial : Transport::Ethernet);
            SetRequest(InfoOf(Screen::CommMode).query, m_screen.UserId());
            m_pRegister->SelectScaleAddress(
                m_data.ItemDbPath(), "", serial ? Transport::Serial : Transport::Ethernet);
        } else if (line.GetLength() == 4 && line.Left(3) == "com" && line[3] >= '1' && line[3] <= '8') {
            m_nComPort = line[3] - '0';
            m_commSettings.SelectPort(m_nComPort - 1);
        } else if (line != "socket") {
            m_commSettings.AddChosen(line);
        }
    }
    return 1;
}

void CScaleScreens::ApplyDefaultCommSettings()
{
    m_screen.SignInAdministrator();
    // The first registered scale becomes the chosen one.
    m_nPickFirstScale = 1;
    m_commSettings.SelectMode(Transport::Serial);
    m_commSettings.SelectPort(0);
    SetRequest(InfoOf(Screen::CommMode).query, m_screen.UserId());
    m_pRegister->SelectScaleAddress(m_data.ItemDbPath(), "", Transport::Serial);
    m_nComPort = 1;
}

BOOL CScaleScreens::ReloadScaleAddresses(Transport mode)
{
    // Whatever word a finished request left in the mailbox, only a request
    // being served owns it.
    if (m_data.RefuseWhileBusy())
        return FALSE;
    m_commSettings.ClearRegistered();
    SetRequest(InfoOf(Screen::CommMode).query, m_screen.UserId());
    m_screen.StartLoad([this, mode] {
        m_screen.SetUpdateLock(1);
        m_pRegister->SelectScaleAddress(m_data.ItemDbPath(), "", mode);
    });
    return TRUE;
}

void CScaleScreens::OnCommSetup()
{
    CGridCtrl& grid = m_grid.Grid();
    if (grid.GetSafeHwnd())
        grid.SetFocus();
    // The reload empties the list when it starts; a list still being filled
    // is left to its load.
    if (const std::optional<Transport> mode = m_commSettings.GetMode())
        ReloadScaleAddresses(*mode);
    else
        m_commSettings.ClearRegistered();
    const CString kind = m_screen.Kind();
    m_commSetupDlg.SetMode(kind);
    m_commSetupDlg.Open();
    if (const int number = ScreenNumberOf(m_screen.ScreenKind(), kind))
        m_screen.SetHint(number);
}

void CScaleScreens::OnCommModeChanged(int mode)
{
    // 1 Ethernet, 2 Serial, as the communication dialog sends them.
    if (mode == 1 || mode == 2)
        ReloadScaleAddresses(mode == 1 ? Transport::Ethernet : Transport::Serial);
}

void CScaleScreens::OnComPortToggle()
{
    m_nPortToggle = m_nPortToggle ? 0 : 1;
    m_nComPort = m_nPortToggle ? 5 : 1;
    m_screen.Form().SetDlgItemText(kComPortToggleId, m_nPortToggle ? "com5" : "com1");
}

// ---- Scale register screen --------------------------------------------------------

void CScaleScreens::CreateScaleRegisterControls()
{
    CWnd* form = &m_screen.Form();
    if (!m_scaleList.GetSafeHwnd()) {
        m_scaleList.Create(kScaleListStyle, CRect(50, 60, 500, 400), form, kScaleListId);
        const std::pair<const char*, int> columns[] = { { "Scale name", 100 }, { "IP address", 100 },
            { "Scale ID", 80 }, { "User ID", 100 }, { "ID", 80 } };
        int index = 0;
        for (const auto& [title, width] : columns)
            m_scaleList.InsertColumn(index++, title, LVCFMT_LEFT, width);
    }
    if (!m_btnScaleUpdate.GetSafeHwnd()) {
        m_btnScaleUpdate.Create("UPDATE", kScaleButtonStyle, CRect(530, 50, 600, 80), form, 901);
        m_btnScaleInsert.Create("INSERT", kScaleButtonStyle, CRect(530, 90, 600, 120), form, 902);
        m_btnScaleDelete.Create("DELETE", kScaleButtonStyle, CRect(530, 130, 600, 160), form, 903);
    }
}

void CScaleScreens::ShowScaleRegisterControls(BOOL show)
{
    for (CWnd* control : { static_cast<CWnd*>(&m_scaleList), static_cast<CWnd*>(&m_btnScaleUpdate),
             static_cast<CWnd*>(&m_btnScaleInsert), static_cast<CWnd*>(&m_btnScaleDelete) }) {
        if (control->GetSafeHwnd())
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CScaleScreens::ClearScaleList()
{
    m_scaleList.DeleteAllItems();
    m_nRegisterRow = -1;
}

void CScaleScreens::OnScaleListClick(int item)
{
    m_nRegisterRow = item;
}

void CScaleScreens::ReloadScaleRegister()
{
    ClearScaleList();
    SetRequest("Scale_Reg_Read", m_screen.UserId());
    m_screen.StartLoad([this] { m_pRegister->SelectScales(""); });
}

int CScaleScreens::ClickedScale(bool needName) const
{
    const int row = m_nRegisterRow;
    if (row < 0 || row >= m_scaleList.GetItemCount())
        return -1;
    if (needName && m_scaleList.GetItemText(row, 0).IsEmpty())
        return -1;
    return row;
}

void CScaleScreens::OnScaleUpdate()
{
    if (m_data.RefuseWhileBusy())
        return;
    const int row = ClickedScale(true);
    if (row < 0)
        return;
    CScaleInfoDlg dialog(&m_screen.Form());
    dialog.SetMode("Scale_Update");
    dialog.SetInfo({ "0", m_scaleList.GetItemText(row, 0), m_scaleList.GetItemText(row, 1),
        m_scaleList.GetItemText(row, 2), m_scaleList.GetItemText(row, 4), m_scaleList.GetItemText(row, 3) });
    if (dialog.DoModal() != IDOK)
        return;
    const ScaleInfo& info = dialog.GetInfo();
    // The list keeps showing what is stored.
    if (!CScaleRegister::IsRecordKey(info.key)) {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    SetRequest("Scale_Update", "");
    const BOOL started = m_screen.StartLoad([&] {
        m_pRegister->UpdateScale(
            info.scaleNum, info.scaleName, info.ip, info.scaleId, info.managerId, info.key);
    });
    if (!started)
        return;
    const CString texts[] = { info.scaleName, info.ip, info.scaleId, info.managerId, info.key };
    for (int c = 0; c < 5; ++c)
        m_scaleList.SetItemText(row, c, texts[c]);
}

void CScaleScreens::OnScaleInsert()
{
    if (m_data.RefuseWhileBusy())
        return;
    CScaleInfoDlg dialog(&m_screen.Form());
    dialog.SetMode("Scale_Insert");
    // A new scale belongs to the manager who registers it.
    const CString userId = m_screen.UserId();
    ScaleInfo start;
    start.managerId = userId;
    dialog.SetInfo(start);
    if (dialog.DoModal() != IDOK)
        return;
    const ScaleInfo& info = dialog.GetInfo();
    SetRequest("Scale_Insert", "");
    m_screen.StartLoad([&] {
        m_pRegister->InsertScale(info.scaleNum, info.scaleName, info.ip, info.scaleId,
            info.managerId.IsEmpty() ? userId : info.managerId);
    });
}

void CScaleScreens::OnScaleDelete()
{
    if (m_data.RefuseWhileBusy())
        return;
    const int row = ClickedScale(false);
    if (row < 0)
        return;
    if (m_screen.Form().MessageBox("This Scale -> Delete?", "Delete", MB_YESNO) != IDYES)
        return;
    const CString key = m_scaleList.GetItemText(row, 4);
    if (!CScaleRegister::IsRecordKey(key)) {
        AfxMessageBox(kNoKeyText, MB_OK);
        return;
    }
    SetRequest("Scale_Insert_Delete", "");
    // A database that did not open keeps the scale listed.
    if (!m_screen.StartLoad([&] { m_pRegister->DeleteScale(key); }))
        return;
    m_scaleList.DeleteItem(row);
    m_nRegisterRow = -1;
}

// ---- Scale settings screens -------------------------------------------------------

BOOL CScaleScreens::CheckSingleScaleRow()
{
    const CGridCtrl& grid = m_grid.Grid();
    if (!MarksOneRow(grid.Picks())) {
        AfxMessageBox(kRowRefusal, MB_OK);
        return FALSE;
    }
    // The heading row and the empty last row hold no settings.
    const int row = m_grid.ClickedRow();
    if (row < 1 || row >= grid.GetRowCount() - 1) {
        AfxMessageBox(kNoRowRefusal, MB_OK);
        return FALSE;
    }
    return TRUE;
}

void CScaleScreens::SplitScaleInfoRowText(const CString& row)
{
    std::vector<CString> fields(1);
    SplitReplyRow(row, fields);
    m_strInsertedKey = fields[0];
}

void CScaleScreens::OnScaleInfoUpdate()
{
    if (m_data.RefuseWhileBusy())
        return;
    CGridCtrl& grid = m_grid.Grid();
    CItemDbWorker& worker = m_data.ItemWorker();
    const SettingsTable* table = TableOfKind(m_screen.ScreenKind());
    if (table && CheckSingleScaleRow()) {
        const int row = m_grid.ClickedRow();
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
    m_grid.ResetGridSelection();
}

void CScaleScreens::OnScaleInfoInsert()
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
            m_grid.SetGridColumnCount(columns);
            for (int c = 1; c < columns; ++c) {
                CString title = c < columns - 1 ? table->columns[static_cast<std::size_t>(c - 1)] : "ID";
                if (table->upperTitles)
                    title.MakeUpper();
                grid.SetItemText(0, c, title);
            }
        }
        const int row = grid.GetRowCount() - 1;
        m_grid.InsertGridRow(CString::Formatted("List %ld", static_cast<long>(row)), row);
        SetRequest(table->insertName, "");
        m_screen.SetUpdateLock(1);
        // A failed insert or read-back must not leave an earlier row's ID here.
        m_strInsertedKey = "";
        m_screen.StartLoad([&] {
            worker.OpenDatabase(kScaleSettingsDatabase);
            worker.Execute(CString::Formatted(
                "INSERT INTO [%s]([%s]) VALUES('%s')", table->table, table->keyColumn, "-1"));
            m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, "");
            m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, table->insertReadName);
            worker.HandleInsertRead(
                CString::Formatted("SELECT [ID] FROM [%s] WHERE [%s] = '-1' ORDER BY [ID] DESC", table->table,
                    table->keyColumn));
        });
        m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, "");
        const CString key = m_strInsertedKey;
        if (!CScaleRegister::IsRecordKey(key)) {
            grid.DeleteRow(row);
            AfxMessageBox(kInsertLost, MB_OK);
        } else {
            for (int c = 1; c < grid.GetColumnCount(); ++c)
                m_grid.SetCellReadOnly(row, c);
            grid.SetItemText(row, KeyColumn(m_grid), key);
            for (std::size_t i = 0; i < table->columns.size(); ++i)
                grid.SetItemText(row, static_cast<int>(i) + 1, dialog->m_values[i]);
            m_screen.StartLoad([&] { worker.Execute(UpdateSql(*table, dialog->m_values, key)); });
        }
    }
    worker.CloseDatabase();
    m_screen.SetUpdateLock(0);
    m_grid.ResetGridSelection();
    grid.AutoSize(0);
}

void CScaleScreens::OnScaleInfoDelete()
{
    if (m_data.RefuseWhileBusy())
        return;
    CWnd& form = m_screen.Form();
    CGridCtrl& grid = m_grid.Grid();
    CItemDbWorker& worker = m_data.ItemWorker();
    for (int id : { 1059, 1060 })
        if (CWnd* button = form.GetDlgItem(id))
            button->EnableWindow(FALSE);
    const int rows = grid.GetRowCount();
    const int target = m_grid.ClickedRow() >= 1 ? m_grid.ClickedRow() : rows - 2;
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
    m_grid.ResetGridSelection();
    for (int id : { 1059, 1060 })
        if (CWnd* button = form.GetDlgItem(id))
            button->EnableWindow(TRUE);
    form.Invalidate();
}
