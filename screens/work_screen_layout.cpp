#include "screens/work_screen_layout.h"

#include <utility>

#include "grid/grid_ctrl.h"
#include "platform/base/file_system.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/preset_keys.h"
#include "screens/result_kinds.h"
#include "screens/scale_screens.h"
#include "screens/work_screen_context.h"

namespace {

constexpr DWORD kCaptionStyle = 0x50004000;
constexpr int kCaptionHeight = 18;
constexpr const char* kInitialCaption = "Initial Display";

// Groups of the screens.
constexpr std::initializer_list<int> kEditGroup = { IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_TRANS_ALL,
    IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT, IDC_WORK_RECV_NUMBERS,
    IDC_WORK_TRANS_STOP, IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP, IDC_WORK_RANGE_HINT };
constexpr std::initializer_list<int> kScaleDataGroup = { IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL,
    IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP };
constexpr std::initializer_list<int> kResultGroup
    = { IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM };
constexpr std::initializer_list<int> kProgressGroup = { IDC_WORK_PROGRESS_GROUP, IDC_WORK_PROGRESS,
    IDC_WORK_PC_LABEL, IDC_WORK_SEND_LAMP, IDC_WORK_SCALE_LABEL, IDC_WORK_RECV_LAMP };
// The other screens' groups, hidden while the user labels screen shows.
constexpr std::initializer_list<int> kNotUserLabelGroups = { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL,
    IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL,
    IDC_WORK_RECV_SELECT, IDC_WORK_RECV_NUMBERS, IDC_WORK_TRANS_STOP, IDC_WORK_EDIT_GROUP,
    IDC_WORK_TRANS_GROUP, IDC_WORK_RANGE_HINT, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL,
    IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_RESULT_RECV,
    IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM };

constexpr const char* kPosKindHelp
    = "Pos Kind => 0 : Kan-13, 1 : Kan-8, 2 : Kan-13 Fixation, 3 : 4State_37\r\n"
      "--> Kan-13 : Pos_Code 1-999999\r\n"
      "--> Kan-8  : Pos_Code 1-9999999\r\n"
      "--> 2 : Kan-13 Fixation  : Pos_Code 1-9999999999\r\n"
      "--> 3 : 4State_37  : Pos_Code 1-99999999\r\n";

} // namespace

CWorkScreenLayout::CWorkScreenLayout(CWorkScreenState& screen, CWorkScreenGrid& grid,
    CWorkScreenDatabase& data, CPresetKeys& presetKeys, CScaleScreens& scales)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
    , m_presetKeys(presetKeys)
    , m_scales(scales)
{ }

void CWorkScreenLayout::DoDataExchange(CDataExchange* dx)
{
    const std::pair<int, CWnd*> controls[]
        = { { IDC_WORK_EDIT_GROUP, &m_groupEdit }, { IDC_WORK_TRANS_GROUP, &m_groupTrans },
              { IDC_WORK_SCALE_TRANS_GROUP, &m_groupScaleTrans }, { IDC_WORK_RANGE_HINT, &m_labelRangeHint },
              { IDC_WORK_PC_LABEL, &m_labelPc }, { IDC_WORK_SCALE_LABEL, &m_labelScale },
              { IDC_WORK_PROGRESS_GROUP, &m_groupProgress }, { IDC_WORK_PROGRESS, &m_editProgress },
              { IDC_WORK_POS_HELP_GROUP, &m_groupPosHelp }, { IDC_WORK_POS_HELP, &m_editPosHelp } };
    for (const auto& [id, control] : controls)
        DDX_Control(dx, id, *control);
}

// ---- Caption -------------------------------------------------------------------------

BOOL CWorkScreenLayout::CreateCaption()
{
    if (!m_captionPanel.Create(
            nullptr, nullptr, kCaptionStyle, CRect(0, 0, 0, 0), &m_screen.Form(), IDC_WORK_CAPTION))
        return FALSE;
    SetCaption(kInitialCaption, kInitialCaption);
    return TRUE;
}

void CWorkScreenLayout::SizeCaption(int cx)
{
    if (m_captionPanel.GetSafeHwnd())
        m_captionPanel.SetWindowPos(&CWnd::wndTop, 0, 0, cx, kCaptionHeight, SWP_NOMOVE);
}

void CWorkScreenLayout::SetCaption(const CString& text, const CString& tip)
{
    if (!m_captionPanel.GetSafeHwnd())
        return;
    m_captionPanel.SetCaption(text);
    m_captionPanel.SetTipText(tip);
}

// ---- Controls ------------------------------------------------------------------------

void CWorkScreenLayout::ShowControls(std::initializer_list<int> ids, BOOL show)
{
    for (int id : ids) {
        if (CWnd* control = m_screen.Form().GetDlgItem(id))
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CWorkScreenLayout::EnableControls(std::initializer_list<int> ids, BOOL enable)
{
    for (int id : ids) {
        if (CWnd* control = m_screen.Form().GetDlgItem(id))
            control->EnableWindow(enable);
    }
}

void CWorkScreenLayout::PlaceControl(int id, int x, int y, int cx, int cy)
{
    if (CWnd* control = m_screen.Form().GetDlgItem(id))
        control->SetWindowPos(&CWnd::wndTop, x, y, cx, cy, SWP_SHOWWINDOW);
}

void CWorkScreenLayout::PlaceProgressGroup(int x, int y)
{
    // (x, y) is the frame's corner; the others stand relative to it.
    PlaceControl(IDC_WORK_PROGRESS_GROUP, x, y, 130, 120);
    PlaceControl(IDC_WORK_PROGRESS, x + 10, y + 18, 100, 30);
    PlaceControl(IDC_WORK_PC_LABEL, x + 10, y + 58, 60, 20);
    PlaceControl(IDC_WORK_SEND_LAMP, x + 80, y + 43, 50, 50);
    PlaceControl(IDC_WORK_SCALE_LABEL, x + 10, y + 88, 80, 20);
    PlaceControl(IDC_WORK_RECV_LAMP, x + 80, y + 73, 50, 50);
}

void CWorkScreenLayout::EnableEditButtons(BOOL enable)
{
    EnableControls({ IDC_WORK_INSERT, IDC_WORK_DELETE, IDC_WORK_SYNC_TABLES }, enable);
}

void CWorkScreenLayout::EnableItemTransButtons(BOOL enable)
{
    EnableControls(
        { IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT }, enable);
}

void CWorkScreenLayout::EnableTransStopButton(BOOL enable)
{
    EnableControls({ IDC_WORK_TRANS_STOP }, enable);
}

void CWorkScreenLayout::EnableScaleTransButtons(BOOL enable)
{
    EnableControls({ IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_SELECT }, enable);
}

// ---- Panels --------------------------------------------------------------------------

void CWorkScreenLayout::ShowStartPanels()
{
    PlaceItemGrid();
    ShowControls(
        { IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
            IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
            IDC_WORK_RECV_NUMBERS, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_PAGE,
            IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_RANGE_HINT, IDC_WORK_TRANS_STOP,
            IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP, IDC_WORK_SEND_LAMP, IDC_WORK_RECV_LAMP,
            IDC_WORK_PC_LABEL, IDC_WORK_SCALE_LABEL, IDC_WORK_PROGRESS, IDC_WORK_PROGRESS_GROUP,
            IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR, IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM },
        FALSE);
    EnableItemTransButtons(TRUE);
    EnableScaleTransButtons(TRUE);
    EnableTransStopButton(FALSE);
    ShowUsersPanel(FALSE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);

    const std::pair<int, const char*> captions[]
        = { { IDC_WORK_SYNC_TABLES, "Synchronization" }, { IDC_WORK_SYNC_PRESET_LABEL, "Synchronization" },
              { IDC_WORK_INSERT, "Insert" }, { IDC_WORK_DELETE, "Delete" }, { IDC_WORK_TRANS_ALL, "Trans" },
              { IDC_WORK_TRANS_SELECT, "Select Trans" }, { IDC_WORK_RECV_ALL, "All Receive" },
              { IDC_WORK_RECV_SELECT, "Select Receive" }, { IDC_WORK_SCALE_TRANS, "Trans" },
              { IDC_WORK_SCALE_RECV_ALL, "All Receive" }, { IDC_WORK_SCALE_RECV_SELECT, "Select Receive" },
              { IDC_WORK_TRANS_STOP, "Trans Stop" }, { IDC_WORK_RESULT_RECV, "Result Receive" },
              { IDC_WORK_RESULT_CLEAR, "Result Clear" }, { IDC_WORK_RESULT_RELOAD, "Reload Result" },
              { IDC_WORK_RESULT_SUM, "Result DB Sum" } };
    for (const auto& [id, text] : captions)
        m_screen.Form().SetDlgItemText(id, text);

    ShowControls({ IDC_WORK_RESERVATION_LAMP, IDC_WORK_RESERVATION_VIEW, IDC_WORK_RESV_SEND_LAMP,
                     IDC_WORK_RESV_RECV_LAMP, IDC_WORK_RESV_PC_LABEL, IDC_WORK_RESV_SCALE_LABEL,
                     IDC_WORK_RESERVATION_LABEL },
        FALSE);
    ShowReservationButtons(FALSE);
    ShowPosKindHelp(FALSE);
    ShowControls({ IDC_WORK_PRESET_NOTE, ID_FILE_PRINT }, FALSE);
}

void CWorkScreenLayout::ClearScreenPanels()
{
    if (m_editProgress.GetSafeHwnd())
        m_editProgress.SetWindowText("");
    ShowPosKindHelp(FALSE);
    ShowControls({ IDC_WORK_PRESET_NOTE, ID_FILE_PRINT }, FALSE);
}

void CWorkScreenLayout::ShowScaleInfoPanel(BOOL show)
{
    if (show) {
        if (m_grid.Grid().GetSafeHwnd())
            m_grid.Grid().SetWindowPos(&CWnd::wndTop, 50, 60, 700, 350, SWP_SHOWWINDOW);
        ShowControls({ IDC_WORK_SCALE_INFO_INSERT, IDC_WORK_SCALE_INFO_DELETE, IDC_WORK_SCALE_INFO_TRANS,
                         IDC_WORK_SCALE_INFO_UPDATE },
            TRUE);
        PlaceControl(IDC_WORK_PROGRESS_GROUP, 570, 432, 130, 120);
        PlaceControl(IDC_WORK_PROGRESS, 580, 450, 100, 30);
        PlaceControl(IDC_WORK_PC_LABEL, 580, 490, 60, 20);
        PlaceControl(IDC_WORK_SEND_LAMP, 650, 475, 50, 50);
        PlaceControl(IDC_WORK_SCALE_LABEL, 580, 520, 80, 20);
        PlaceControl(IDC_WORK_RECV_LAMP, 650, 505, 50, 50);
        m_screen.Form().SetDlgItemText(IDC_WORK_SCALE_INFO_INSERT, "Insert");
        m_screen.Form().SetDlgItemText(IDC_WORK_SCALE_INFO_UPDATE, "Update");
        m_screen.Form().SetDlgItemText(IDC_WORK_SCALE_INFO_DELETE, "Delete");
        m_screen.Form().SetDlgItemText(IDC_WORK_SCALE_INFO_TRANS, "Trans");
    } else {
        HideGrid();
        ShowControls({ IDC_WORK_SCALE_INFO_INSERT, IDC_WORK_SCALE_INFO_UPDATE, IDC_WORK_SCALE_INFO_DELETE,
                         IDC_WORK_SCALE_INFO_TRANS },
            FALSE);
    }
}

void CWorkScreenLayout::ShowSyncTablesButton(int serverMode)
{
    ShowControls({ IDC_WORK_SYNC_TABLES }, serverMode ? TRUE : FALSE);
}

void CWorkScreenLayout::PlaceSyncPresetButton(int serverMode)
{
    if (!serverMode) {
        ShowControls({ IDC_WORK_SYNC_PRESET_LABEL }, FALSE);
        return;
    }
    const std::optional<DataKind> kind = m_screen.HintKind();
    if (kind == DataKind::Preset)
        PlaceControl(IDC_WORK_SYNC_PRESET_LABEL, 630, 80, 130, 50);
    else if (kind == DataKind::Adv)
        PlaceControl(IDC_WORK_SYNC_PRESET_LABEL, 510, 80, 130, 50);
    else if (kind == DataKind::UserLabel)
        PlaceControl(IDC_WORK_SYNC_PRESET_LABEL, 480, 310, 130, 30);
}

void CWorkScreenLayout::PlaceItemGrid()
{
    if (m_grid.Grid().GetSafeHwnd())
        m_grid.Grid().SetWindowPos(&CWnd::wndTop, 30, 70, 720, 400, SWP_SHOWWINDOW);
}

void CWorkScreenLayout::HideGrid()
{
    if (m_grid.Grid().GetSafeHwnd())
        m_grid.Grid().ShowWindow(SW_HIDE);
}

void CWorkScreenLayout::ShowReservationButtons(BOOL show)
{
    ShowControls({ IDC_WORK_RESERVATION_VIEW, IDC_WORK_RESERVATION_SETUP }, show);
}

void CWorkScreenLayout::ShowUsersPanel(BOOL show)
{
    ShowControls({ IDC_WORK_USER_LIST, IDC_WORK_USER_LABEL, IDC_WORK_USER_REGISTER, IDC_WORK_USER_DELETE,
                     IDC_WORK_USER_GROUP },
        show);
}

void CWorkScreenLayout::ShowUserLabelPanel(BOOL show)
{
    ShowControls({ IDC_WORK_LABEL_INSERT, IDC_WORK_LABEL_DELETE, IDC_WORK_LABEL_RECV,
                     IDC_WORK_LABEL_TRANS_ALL, IDC_WORK_LABEL_TRANS_SELECT, IDC_WORK_LABEL_IMAGE },
        show);
}

void CWorkScreenLayout::ShowPosKindHelp(BOOL show)
{
    if (show && m_editPosHelp.GetSafeHwnd())
        m_editPosHelp.SetWindowText(kPosKindHelp);
    ShowControls({ IDC_WORK_POS_HELP, IDC_WORK_POS_HELP_GROUP }, show);
}

// Every group hidden, the grid rebuilt and hidden: where each screen starts.
void CWorkScreenLayout::HideAllPanels()
{
    m_grid.RebuildGrid();
    HideGrid();
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    ShowUsersPanel(FALSE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);
}

// ---- Screens -------------------------------------------------------------------------

void CWorkScreenLayout::ShowInitialPanels()
{
    HideAllPanels();
    m_scales.ClearScaleList();
    ShowControls({ IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL }, FALSE);
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
}

void CWorkScreenLayout::ShowTablePanels(int serverMode)
{
    HideAllPanels();
    ShowSyncTablesButton(serverMode);
    ShowControls({ IDC_WORK_SYNC_PRESET_LABEL }, FALSE);
    ShowControls(kEditGroup, TRUE);
    PlaceProgressGroup(200, 492);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    PlaceItemGrid();
}

void CWorkScreenLayout::ShowPresetPanels(int serverMode)
{
    HideAllPanels();
    ShowControls({ IDC_WORK_SYNC_TABLES }, FALSE);
    PlaceSyncPresetButton(serverMode);
    ShowControls(kEditGroup, FALSE);
    PlaceControl(IDC_WORK_SCALE_TRANS_GROUP, 780, 60, 150, 250);
    PlaceControl(IDC_WORK_SCALE_TRANS, 800, 80, 100, 50);
    PlaceControl(IDC_WORK_SCALE_RECV_ALL, 800, 140, 100, 50);
    PlaceControl(IDC_WORK_SCALE_RECV_PAGE, 800, 210, 100, 20);
    PlaceControl(IDC_WORK_SCALE_RECV_SELECT, 800, 235, 100, 50);
    PlaceProgressGroup(630, 142);
    m_presetKeys.ShowPresetKeys(TRUE);
    m_presetKeys.TakeComboPage();
    m_presetKeys.ShowPageCombo(TRUE);
    ShowControls(kResultGroup, FALSE);
}

void CWorkScreenLayout::ShowScaleInfoPanels()
{
    HideAllPanels();
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls({ IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL }, FALSE);
    ShowScaleInfoPanel(TRUE);
}

void CWorkScreenLayout::ShowScaleRegPanels()
{
    HideAllPanels();
    m_scales.ShowScaleRegisterControls(TRUE);
    m_scales.ClearScaleList();
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls({ IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL }, FALSE);
}

void CWorkScreenLayout::ShowResultPanels(DataKind kind)
{
    HideAllPanels();
    m_scales.ClearScaleList();
    ShowControls({ IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
                     IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
                     IDC_WORK_RECV_NUMBERS, IDC_WORK_SCALE_TRANS, IDC_WORK_SCALE_RECV_ALL,
                     IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_SCALE_RECV_SELECT, IDC_WORK_SCALE_TRANS_GROUP,
                     IDC_WORK_TRANS_STOP, IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP, IDC_WORK_RANGE_HINT },
        FALSE);
    PlaceProgressGroup(50, 492);
    ShowControls({ IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_RELOAD }, TRUE);
    ShowControls({ IDC_WORK_RESULT_CLEAR }, kind == DataKind::ResultAll);
    // A database picked in a file dialog has a native path: compared as files.
    ShowControls({ IDC_WORK_RESULT_SUM }, !IsSameFile(m_data.ItemDbPath(), kResultSumPath));
    PlaceItemGrid();
}

void CWorkScreenLayout::ShowUsersPanels()
{
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    m_scales.ClearScaleList();
    ShowControls({ IDC_WORK_SYNC_TABLES, IDC_WORK_SYNC_PRESET_LABEL, IDC_WORK_INSERT, IDC_WORK_DELETE,
                     IDC_WORK_TRANS_ALL, IDC_WORK_TRANS_SELECT, IDC_WORK_RECV_ALL, IDC_WORK_RECV_SELECT,
                     IDC_WORK_RECV_NUMBERS, IDC_WORK_TRANS_STOP, IDC_WORK_EDIT_GROUP, IDC_WORK_TRANS_GROUP,
                     IDC_WORK_RANGE_HINT, IDC_WORK_PROGRESS_GROUP, IDC_WORK_PROGRESS, IDC_WORK_PC_LABEL,
                     IDC_WORK_SEND_LAMP, IDC_WORK_SCALE_LABEL, IDC_WORK_RECV_LAMP, IDC_WORK_SCALE_TRANS,
                     IDC_WORK_SCALE_RECV_ALL, IDC_WORK_SCALE_RECV_PAGE, IDC_WORK_SCALE_RECV_SELECT,
                     IDC_WORK_SCALE_TRANS_GROUP, IDC_WORK_RESULT_RECV, IDC_WORK_RESULT_CLEAR,
                     IDC_WORK_RESULT_RELOAD, IDC_WORK_RESULT_SUM },
        FALSE);
    HideGrid();
    m_screen.Form().SetDlgItemText(IDC_WORK_USER_LABEL, "User ID");
    m_screen.Form().SetDlgItemText(IDC_WORK_USER_REGISTER, "Register");
    m_screen.Form().SetDlgItemText(IDC_WORK_USER_DELETE, "Delete");
    ShowUsersPanel(TRUE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);
}

void CWorkScreenLayout::ShowUserLabelPanels(int serverMode)
{
    HideAllPanels();
    ShowControls(kNotUserLabelGroups, FALSE);
    PlaceUserLabelPanel();
    PlaceSyncPresetButton(serverMode);
}

void CWorkScreenLayout::PlaceUserLabelPanel()
{
    ShowUserLabelPanel(TRUE);
    if (m_grid.Grid().GetSafeHwnd())
        m_grid.Grid().SetWindowPos(&CWnd::wndTop, 50, 60, 700, 200, SWP_SHOWWINDOW);
    const struct {
        int id, x, y, cx, cy;
        const char* caption;
    } kPlaces[] = { { IDC_WORK_LABEL_INSERT, 50, 270, 60, 30, "Insert" },
        { IDC_WORK_LABEL_DELETE, 120, 270, 60, 30, "Delete" },
        { IDC_WORK_LABEL_TRANS_ALL, 480, 270, 70, 30, "Trans" },
        { IDC_WORK_LABEL_TRANS_SELECT, 560, 270, 100, 30, "Select Trans" },
        { IDC_WORK_LABEL_RECV, 680, 270, 70, 30, "Receive" },
        { IDC_WORK_LABEL_IMAGE, 50, 310, 130, 30, "Image Display" },
        { IDC_WORK_PROGRESS_GROUP, 190, 260, 285, 80, nullptr },
        { IDC_WORK_PC_LABEL, 200, 278, 55, 20, nullptr }, { IDC_WORK_SEND_LAMP, 200, 303, 45, 30, nullptr },
        { IDC_WORK_PROGRESS, 270, 278, 95, 20, nullptr }, { IDC_WORK_SCALE_LABEL, 375, 278, 85, 20, nullptr },
        { IDC_WORK_RECV_LAMP, 375, 303, 45, 30, nullptr } };
    for (const auto& place : kPlaces) {
        PlaceControl(place.id, place.x, place.y, place.cx, place.cy);
        if (place.caption)
            m_screen.Form().SetDlgItemText(place.id, place.caption);
    }
}
