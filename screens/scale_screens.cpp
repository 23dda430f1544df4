// The scale screens: the register screen's list and buttons, and the
// communication setup with the mode reloads it starts and the settings file
// it reads.

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
#include "platform/base/file_system.h"
#include "platform/wnd/core/cmdui.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/data_kinds.h"
#include "resources/calvorn_ids.h"
#include "screens/grid_cells.h"
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
#include "transfer/transfer_order.h"

namespace {

constexpr DWORD kScaleListStyle = 0x50810201;
constexpr DWORD kScaleButtonStyle = 0x50000000;
// The register's run-time controls.

// The number of the screen of a kind word; 0 for none.
int ScreenNumberOf(std::optional<DataKind> kind, const CString& word)
{
    const std::optional<Screen> screen = ScreenOfWord(kind, word.View());
    return screen ? static_cast<int>(HintOf(*screen)) : 0;
}

} // namespace

CScaleScreens::CScaleScreens(
    CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data, std::function<int()> loggedIn)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_loggedIn(std::move(loggedIn))
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

const MessageMap* CScaleScreens::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CScaleScreens::OnCommSetup>(ID_COMM_SETUP),
            OnUpdateCommand<&CScaleScreens::OnUpdateCommSetup>(ID_COMM_SETUP),
            OnCommandMsg<&CScaleScreens::OnComPortToggle>(IDC_WORK_COM_PORT_TOGGLE),
            OnMessage<&CScaleScreens::OnCommModeChanged>(WM_COMMMODE_CHANGED),
            OnNotifyMsg<&CScaleScreens::OnScaleListClick>(NM_CLICK, IDC_SCALE_REGISTER_LIST),
            OnCommandMsg<&CScaleScreens::OnScaleUpdate>(IDC_SCALE_REGISTER_UPDATE),
            OnCommandMsg<&CScaleScreens::OnScaleInsert>(IDC_SCALE_REGISTER_INSERT),
            OnCommandMsg<&CScaleScreens::OnScaleDelete>(IDC_SCALE_REGISTER_DELETE),
        });
    return &kMap;
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
    ::SetGridColumnCount(m_grid.Grid(), count);
}

int CScaleScreens::InsertGridRow(const CString& heading, int position)
{
    return m_grid.Grid().InsertRow(heading, position);
}

void CScaleScreens::SetUpdateLock(int lock)
{
    m_screen.SetUpdateLock(lock);
}

void CScaleScreens::SetRequest(std::optional<DbRequest> request, const CString& text)
{
    m_data.DbMailbox().PutQuery(request, text);
}

// ---- Communication mode -----------------------------------------------------------

CString CScaleScreens::GetScaleIpFromList(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_commSettings.GetChosen().size()))
        return "";
    return AddressOfScaleLine(m_commSettings.GetChosen()[static_cast<std::size_t>(index)]);
}

int CScaleScreens::ReadCommMode()
{
    MakeDirectoryPath(kManagerFolder);
    RemoveLeftoverTemporaries(kCommSettingsFile); // of saves killed before they ended
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
    // A register the start-up could not make (told then) has no scale to choose.
    if (GetFileAttributes(kManagerDatabase) == INVALID_FILE_ATTRIBUTES)
        return;
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

void CScaleScreens::OnUpdateCommSetup(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_loggedIn() ? TRUE : FALSE);
}

LRESULT CScaleScreens::OnCommModeChanged(WPARAM mode, LPARAM)
{
    // 1 Ethernet, 2 Serial, as the communication dialog sends them.
    if (mode == 1 || mode == 2)
        ReloadScaleAddresses(mode == 1 ? Transport::Ethernet : Transport::Serial);
    return 1;
}

void CScaleScreens::OnComPortToggle()
{
    m_nPortToggle = m_nPortToggle ? 0 : 1;
    m_nComPort = m_nPortToggle ? 5 : 1;
    m_screen.Form().SetDlgItemText(IDC_WORK_COM_PORT_TOGGLE, m_nPortToggle ? "com5" : "com1");
}

// ---- Scale register screen --------------------------------------------------------

void CScaleScreens::CreateScaleRegisterControls()
{
    CWnd* form = &m_screen.Form();
    if (!m_scaleList.GetSafeHwnd()) {
        m_scaleList.Create(kScaleListStyle, CRect(50, 60, 500, 400), form, IDC_SCALE_REGISTER_LIST);
        const std::pair<const char*, int> columns[] = { { "Scale name", 100 }, { "IP address", 100 },
            { "Scale ID", 80 }, { "User ID", 100 }, { "ID", 80 } };
        int index = 0;
        for (const auto& [title, width] : columns)
            m_scaleList.InsertColumn(index++, title, LVCFMT_LEFT, width);
    }
    if (!m_btnScaleUpdate.GetSafeHwnd()) {
        m_btnScaleUpdate.Create(
            "UPDATE", kScaleButtonStyle, CRect(530, 50, 600, 80), form, IDC_SCALE_REGISTER_UPDATE);
        m_btnScaleInsert.Create(
            "INSERT", kScaleButtonStyle, CRect(530, 90, 600, 120), form, IDC_SCALE_REGISTER_INSERT);
        m_btnScaleDelete.Create(
            "DELETE", kScaleButtonStyle, CRect(530, 130, 600, 160), form, IDC_SCALE_REGISTER_DELETE);
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

void CScaleScreens::OnScaleListClick(NMHDR* header, LRESULT* result)
{
    m_nRegisterRow = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
    *result = 0;
}

void CScaleScreens::ReloadScaleRegister()
{
    ClearScaleList();
    SetRequest(DbRequest::ScaleRegRead, m_screen.UserId());
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
    dialog.SetMode(DbRequest::ScaleUpdate);
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
    SetRequest(DbRequest::ScaleUpdate, "");
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
    dialog.SetMode(DbRequest::ScaleInsert);
    // A new scale belongs to the manager who registers it.
    const CString userId = m_screen.UserId();
    ScaleInfo start;
    start.managerId = userId;
    dialog.SetInfo(start);
    if (dialog.DoModal() != IDOK)
        return;
    const ScaleInfo& info = dialog.GetInfo();
    SetRequest(DbRequest::ScaleInsert, "");
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
    SetRequest(DbRequest::ScaleDelete, "");
    // A database that did not open keeps the scale listed.
    if (!m_screen.StartLoad([&] { m_pRegister->DeleteScale(key); }))
        return;
    m_scaleList.DeleteItem(row);
    m_nRegisterRow = -1;
}
