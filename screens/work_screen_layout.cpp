#include "screens/work_screen_layout.h"

#include <utility>

#include "grid/grid_ctrl.h"
#include "platform/base/file_system.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "screens/kind_of_view_preset.h"
#include "screens/result_kinds.h"
#include "screens/scale_screens.h"
#include "screens/work_screen_context.h"

namespace {

constexpr DWORD kCaptionStyle = 0x50004000;
constexpr int kCaptionHeight = 18;
constexpr const char* kInitialCaption = "Initial Display";

// Groups of the screens.
constexpr std::initializer_list<int> kEditGroup
    = { 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1030, 1033, 1034, 1049 };
constexpr std::initializer_list<int> kScaleDataGroup = { 1025, 1027, 1028, 1029, 1032 };
constexpr std::initializer_list<int> kResultGroup = { 1050, 1051, 1052, 1057 };
constexpr std::initializer_list<int> kProgressGroup = { 1044, 1039, 1041, 1037, 1042, 1038 };
// The other screens' groups, hidden while the user labels screen shows.
constexpr std::initializer_list<int> kNotUserLabelGroups = { 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002,
    1026, 1030, 1033, 1034, 1049, 1025, 1027, 1028, 1029, 1032, 1050, 1051, 1052, 1057 };

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
    const std::pair<int, CWnd*> controls[] = { { 1033, &m_groupEdit }, { 1034, &m_groupTrans },
        { 1032, &m_groupScaleTrans }, { 1049, &m_labelRangeHint }, { 1041, &m_labelPc },
        { 1042, &m_labelScale }, { 1044, &m_groupProgress }, { 1039, &m_editProgress },
        { 1144, &m_groupPosHelp }, { 1143, &m_editPosHelp } };
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
    PlaceControl(1044, x, y, 130, 120);
    PlaceControl(1039, x + 10, y + 18, 100, 30);
    PlaceControl(1041, x + 10, y + 58, 60, 20);
    PlaceControl(1037, x + 80, y + 43, 50, 50);
    PlaceControl(1042, x + 10, y + 88, 80, 20);
    PlaceControl(1038, x + 80, y + 73, 50, 50);
}

void CWorkScreenLayout::EnableEditButtons(BOOL enable)
{
    EnableControls({ 1007, 1008, 1065 }, enable);
}

void CWorkScreenLayout::EnableItemTransButtons(BOOL enable)
{
    EnableControls({ 1009, 1010, 1001, 1002 }, enable);
}

void CWorkScreenLayout::EnableUserLabelEditButtons(BOOL enable)
{
    EnableControls({ 1059, 1060 }, enable);
}

void CWorkScreenLayout::EnableTransStopButton(BOOL enable)
{
    EnableControls({ 1030 }, enable);
}

void CWorkScreenLayout::EnableScaleTransButtons(BOOL enable)
{
    EnableControls({ 1025, 1027, 1029 }, enable);
}

// ---- Panels --------------------------------------------------------------------------

void CWorkScreenLayout::ShowStartPanels()
{
    PlaceItemGrid();
    ShowControls({ 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1025, 1027, 1028, 1029, 1032, 1049,
                     1030, 1033, 1034, 1037, 1038, 1041, 1042, 1039, 1044, 1050, 1051, 1052, 1057 },
        FALSE);
    EnableItemTransButtons(TRUE);
    EnableScaleTransButtons(TRUE);
    EnableTransStopButton(FALSE);
    ShowUsersPanel(FALSE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);

    const std::pair<int, const char*> captions[] = { { 1065, "Synchronization" }, { 1066, "Synchronization" },
        { 1007, "Insert" }, { 1008, "Delete" }, { 1009, "Trans" }, { 1010, "Select Trans" },
        { 1001, "All Receive" }, { 1002, "Select Receive" }, { 1025, "Trans" }, { 1027, "All Receive" },
        { 1029, "Select Receive" }, { 1030, "Trans Stop" }, { 1050, "Result Receive" },
        { 1051, "Result Clear" }, { 1052, "Reload Result" }, { 1057, "Result DB Sum" } };
    for (const auto& [id, text] : captions)
        m_screen.Form().SetDlgItemText(id, text);

    ShowControls({ 1040, 1116, 1045, 1046, 1047, 1048, 1129 }, FALSE);
    ShowReservationButtons(FALSE);
    ShowPosKindHelp(FALSE);
    ShowControls({ 1145, 57607 }, FALSE);
}

void CWorkScreenLayout::ClearScreenPanels()
{
    if (m_editProgress.GetSafeHwnd())
        m_editProgress.SetWindowText("");
    ShowPosKindHelp(FALSE);
    ShowControls({ 1145, 57607 }, FALSE);
}

void CWorkScreenLayout::ShowScaleInfoPanel(BOOL show)
{
    if (show) {
        if (m_grid.Grid().GetSafeHwnd())
            m_grid.Grid().SetWindowPos(&CWnd::wndTop, 50, 60, 700, 350, SWP_SHOWWINDOW);
        ShowControls({ 1011, 1012, 1013, 1014 }, TRUE);
        PlaceControl(1044, 570, 432, 130, 120);
        PlaceControl(1039, 580, 450, 100, 30);
        PlaceControl(1041, 580, 490, 60, 20);
        PlaceControl(1037, 650, 475, 50, 50);
        PlaceControl(1042, 580, 520, 80, 20);
        PlaceControl(1038, 650, 505, 50, 50);
        m_screen.Form().SetDlgItemText(1011, "Insert");
        m_screen.Form().SetDlgItemText(1014, "Update");
        m_screen.Form().SetDlgItemText(1012, "Delete");
        m_screen.Form().SetDlgItemText(1013, "Trans");
    } else {
        HideGrid();
        ShowControls({ 1011, 1014, 1012, 1013 }, FALSE);
    }
}

void CWorkScreenLayout::ShowSyncTablesButton(int serverMode)
{
    ShowControls({ 1065 }, serverMode ? TRUE : FALSE);
}

void CWorkScreenLayout::PlaceSyncPresetButton(int serverMode)
{
    if (!serverMode) {
        ShowControls({ 1066 }, FALSE);
        return;
    }
    const std::optional<DataKind> kind = m_screen.HintKind();
    if (kind == DataKind::Preset)
        PlaceControl(1066, 630, 80, 130, 50);
    else if (kind == DataKind::Adv)
        PlaceControl(1066, 510, 80, 130, 50);
    else if (kind == DataKind::UserLabel)
        PlaceControl(1066, 480, 310, 130, 30);
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
    ShowControls({ 1116, 1117 }, show);
}

void CWorkScreenLayout::ShowUsersPanel(BOOL show)
{
    ShowControls({ 1053, 1054, 1055, 1056, 1058 }, show);
}

void CWorkScreenLayout::ShowUserLabelPanel(BOOL show)
{
    ShowControls({ 1059, 1060, 1061, 1062, 1063, 1064 }, show);
}

void CWorkScreenLayout::ShowPosKindHelp(BOOL show)
{
    if (show && m_editPosHelp.GetSafeHwnd())
        m_editPosHelp.SetWindowText(kPosKindHelp);
    ShowControls({ 1143, 1144 }, show);
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
    ShowControls({ 1065, 1066 }, FALSE);
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
}

void CWorkScreenLayout::ShowTablePanels(int serverMode)
{
    HideAllPanels();
    ShowSyncTablesButton(serverMode);
    ShowControls({ 1066 }, FALSE);
    ShowControls(kEditGroup, TRUE);
    PlaceProgressGroup(200, 492);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    PlaceItemGrid();
}

void CWorkScreenLayout::ShowPresetPanels(int serverMode)
{
    HideAllPanels();
    ShowControls({ 1065 }, FALSE);
    PlaceSyncPresetButton(serverMode);
    ShowControls(kEditGroup, FALSE);
    PlaceControl(1032, 780, 60, 150, 250);
    PlaceControl(1025, 800, 80, 100, 50);
    PlaceControl(1027, 800, 140, 100, 50);
    PlaceControl(1028, 800, 210, 100, 20);
    PlaceControl(1029, 800, 235, 100, 50);
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
    ShowControls({ 1065, 1066 }, FALSE);
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
    ShowControls({ 1065, 1066 }, FALSE);
}

void CWorkScreenLayout::ShowResultPanels(DataKind kind)
{
    HideAllPanels();
    m_scales.ClearScaleList();
    ShowControls({ 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1025, 1027, 1028, 1029, 1032, 1030,
                     1033, 1034, 1049 },
        FALSE);
    PlaceProgressGroup(50, 492);
    ShowControls({ 1050, 1052 }, TRUE);
    ShowControls({ 1051 }, kind == DataKind::ResultAll);
    // A database picked in a file dialog has a native path: compared as files.
    ShowControls({ 1057 }, !IsSameFile(m_data.ItemDbPath(), kResultSumPath));
    PlaceItemGrid();
}

void CWorkScreenLayout::ShowUsersPanels()
{
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    m_scales.ClearScaleList();
    ShowControls({ 1065, 1066, 1007, 1008, 1009, 1010, 1001, 1002, 1026, 1030, 1033, 1034, 1049, 1044, 1039,
                     1041, 1037, 1042, 1038, 1025, 1027, 1028, 1029, 1032, 1050, 1051, 1052, 1057 },
        FALSE);
    HideGrid();
    m_screen.Form().SetDlgItemText(1054, "User ID");
    m_screen.Form().SetDlgItemText(1055, "Register");
    m_screen.Form().SetDlgItemText(1056, "Delete");
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
    } kPlaces[] = { { 1059, 50, 270, 60, 30, "Insert" }, { 1060, 120, 270, 60, 30, "Delete" },
        { 1062, 480, 270, 70, 30, "Trans" }, { 1063, 560, 270, 100, 30, "Select Trans" },
        { 1061, 680, 270, 70, 30, "Receive" }, { 1064, 50, 310, 130, 30, "Image Display" },
        { 1044, 190, 260, 285, 80, nullptr }, { 1041, 200, 278, 55, 20, nullptr },
        { 1037, 200, 303, 45, 30, nullptr }, { 1039, 270, 278, 95, 20, nullptr },
        { 1042, 375, 278, 85, 20, nullptr }, { 1038, 375, 303, 45, 30, nullptr } };
    for (const auto& place : kPlaces) {
        PlaceControl(place.id, place.x, place.y, place.cx, place.cy);
        if (place.caption)
            m_screen.Form().SetDlgItemText(place.id, place.caption);
    }
}
