// The work screen's panels: which control groups each screen shows, where
// they stand and what they say.

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/table_bridge.h"
#include "screens/transfer_port.h"

namespace {

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

void CKindOfView::ShowControls(std::initializer_list<int> ids, BOOL show)
{
    for (int id : ids) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CKindOfView::EnableControls(std::initializer_list<int> ids, BOOL enable)
{
    for (int id : ids) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enable);
    }
}

void CKindOfView::PlaceControl(int id, int x, int y, int cx, int cy)
{
    if (CWnd* control = GetDlgItem(id))
        control->SetWindowPos(&CWnd::wndTop, x, y, cx, cy, SWP_SHOWWINDOW);
}

void CKindOfView::PlaceProgressGroup(int x, int y)
{
    // (x, y) is the frame's corner; the others stand relative to it.
    PlaceControl(1044, x, y, 130, 120);
    PlaceControl(1039, x + 10, y + 18, 100, 30);
    PlaceControl(1041, x + 10, y + 58, 60, 20);
    PlaceControl(1037, x + 80, y + 43, 50, 50);
    PlaceControl(1042, x + 10, y + 88, 80, 20);
    PlaceControl(1038, x + 80, y + 73, 50, 50);
}

void CKindOfView::EnableEditButtons(BOOL enable)
{
    EnableControls({ 1007, 1008, 1065 }, enable);
}

void CKindOfView::EnableItemTransButtons(BOOL enable)
{
    EnableControls({ 1009, 1010, 1001, 1002 }, enable);
}

void CKindOfView::EnableUserLabelEditButtons(BOOL enable)
{
    EnableControls({ 1059, 1060 }, enable);
}

void CKindOfView::EnableTransStopButton(BOOL enable)
{
    EnableControls({ 1030 }, enable);
}

void CKindOfView::EnableScaleTransButtons(BOOL enable)
{
    EnableControls({ 1025, 1027, 1029 }, enable);
}

void CKindOfView::ShowScaleInfoPanel(BOOL show)
{
    if (show) {
        if (m_grid.GetSafeHwnd())
            m_grid.SetWindowPos(&CWnd::wndTop, 50, 60, 700, 350, SWP_SHOWWINDOW);
        ShowControls({ 1011, 1012, 1013, 1014 }, TRUE);
        PlaceControl(1044, 570, 432, 130, 120);
        PlaceControl(1039, 580, 450, 100, 30);
        PlaceControl(1041, 580, 490, 60, 20);
        PlaceControl(1037, 650, 475, 50, 50);
        PlaceControl(1042, 580, 520, 80, 20);
        PlaceControl(1038, 650, 505, 50, 50);
        SetDlgItemText(1011, "Insert");
        SetDlgItemText(1014, "Update");
        SetDlgItemText(1012, "Delete");
        SetDlgItemText(1013, "Trans");
    } else {
        HideGrid();
        ShowControls({ 1011, 1014, 1012, 1013 }, FALSE);
    }
}

void CKindOfView::ShowSyncTablesButton(int serverMode)
{
    ShowControls({ 1065 }, serverMode ? TRUE : FALSE);
}

void CKindOfView::PlaceSyncPresetButton(int serverMode)
{
    if (!serverMode) {
        ShowControls({ 1066 }, FALSE);
        return;
    }
    if (m_hintKind == DataKind::Preset)
        PlaceControl(1066, 630, 80, 130, 50);
    else if (m_hintKind == DataKind::Adv)
        PlaceControl(1066, 510, 80, 130, 50);
    else if (m_hintKind == DataKind::UserLabel)
        PlaceControl(1066, 480, 310, 130, 30);
}

void CKindOfView::PlaceItemGrid()
{
    if (m_grid.GetSafeHwnd())
        m_grid.SetWindowPos(&CWnd::wndTop, 30, 70, 720, 400, SWP_SHOWWINDOW);
}

void CKindOfView::HideGrid()
{
    if (m_grid.GetSafeHwnd())
        m_grid.ShowWindow(SW_HIDE);
}

void CKindOfView::ShowReservationButtons(BOOL show)
{
    ShowControls({ 1116, 1117 }, show);
}

void CKindOfView::ShowUsersPanel(BOOL show)
{
    ShowControls({ 1053, 1054, 1055, 1056, 1058 }, show);
}

void CKindOfView::ShowUserLabelPanel(BOOL show)
{
    ShowControls({ 1059, 1060, 1061, 1062, 1063, 1064 }, show);
}

void CKindOfView::ShowPosKindHelp(BOOL show)
{
    if (show && m_editPosHelp.GetSafeHwnd())
        m_editPosHelp.SetWindowText(kPosKindHelp);
    ShowControls({ 1143, 1144 }, show);
}

// Every group hidden, the grid rebuilt and hidden: where each screen starts.
void CKindOfView::HideAllPanels()
{
    RebuildGrid();
    HideGrid();
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    ShowUsersPanel(FALSE);
    ShowUserLabelPanel(FALSE);
    ShowScaleInfoPanel(FALSE);
}

void CKindOfView::ShowItemTypeScreen()
{
    HideAllPanels();
    ShowSyncTablesButton(m_nServerMode);
    ShowControls({ 1066 }, FALSE);
    ShowControls(kEditGroup, TRUE);
    PlaceProgressGroup(200, 492);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    PlaceItemGrid();
}

void CKindOfView::ShowPresetScreen()
{
    HideAllPanels();
    ShowControls({ 1065 }, FALSE);
    PlaceSyncPresetButton(m_nServerMode);
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

void CKindOfView::ShowScaleInfoScreen(void (CScaleRegisterPort::*select)(const CString&))
{
    HideAllPanels();
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls({ 1065, 1066 }, FALSE);
    ShowScaleInfoPanel(TRUE);
    StartLoad([this, select] { (m_scales.Register().*select)(""); });
}

void CKindOfView::ShowScaleRegScreen()
{
    HideAllPanels();
    m_scales.ShowScaleRegisterControls(TRUE);
    m_scales.ClearScaleList();
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls({ 1065, 1066 }, FALSE);
    StartLoad([this] { m_scales.Register().SelectScales(""); });
}

void CKindOfView::ShowInitialDisplay()
{
    HideAllPanels();
    m_scales.ClearScaleList();
    ShowControls({ 1065, 1066 }, FALSE);
    ShowControls(kEditGroup, FALSE);
    ShowControls(kScaleDataGroup, FALSE);
    ShowControls(kProgressGroup, FALSE);
    ShowControls(kResultGroup, FALSE);
    Invalidate();
}

void CKindOfView::ShowLoggedOutScreen()
{
    m_nLoggedIn = 0;
    ShowInitialDisplay();
}

void CKindOfView::ShowUserLabelScreen()
{
    Invalidate();
    HideAllPanels();
    ShowControls(kNotUserLabelGroups, FALSE);
    m_nUpdateLock = 1;
    PlaceUserLabelPanel();
    PlaceSyncPresetButton(m_nServerMode);
    StartLoad([this] { m_pTableBridge->Request(DataKind::UserLabel, m_strItemDbPath); });
}

void CKindOfView::PlaceUserLabelPanel()
{
    ShowUserLabelPanel(TRUE);
    if (m_grid.GetSafeHwnd())
        m_grid.SetWindowPos(&CWnd::wndTop, 50, 60, 700, 200, SWP_SHOWWINDOW);
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
            SetDlgItemText(place.id, place.caption);
    }
}
