#include "screens/work_screen_layout.h"

#include <algorithm>
#include <iterator>
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
// Where the grid stands before the first screen.
constexpr PanelRect kStartGrid { 30, 70, 720, 400 };

// The layout's own frames and labels of the groups.
constexpr PanelControl kOwnControls[] = {
    { IDC_WORK_EDIT_GROUP, PanelGroup::Edit, nullptr },
    { IDC_WORK_TRANS_GROUP, PanelGroup::Edit, nullptr },
    { IDC_WORK_RANGE_HINT, PanelGroup::Edit, nullptr },
    { IDC_WORK_SCALE_TRANS_GROUP, PanelGroup::ScaleData, nullptr },
    { IDC_WORK_PROGRESS_GROUP, PanelGroup::Progress, nullptr },
    { IDC_WORK_PROGRESS, PanelGroup::Progress, nullptr },
    { IDC_WORK_PC_LABEL, PanelGroup::Progress, nullptr },
    { IDC_WORK_SCALE_LABEL, PanelGroup::Progress, nullptr },
};

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
    , m_controls(std::begin(kOwnControls), std::end(kOwnControls))
{ }

void CWorkScreenLayout::AddControls(std::span<const PanelControl> controls)
{
    m_controls.insert(m_controls.end(), controls.begin(), controls.end());
}

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

void CWorkScreenLayout::ShowGroups(PanelGroups groups, BOOL show)
{
    for (const PanelControl& control : m_controls) {
        if (HasGroup(groups, control.group))
            ShowControls({ control.id }, show);
    }
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
    PlaceGrid(kStartGrid);
    HideGrid();
    ShowGroups(~PanelGroups { 0 }, FALSE);
    EnableItemTransButtons(TRUE);
    EnableScaleTransButtons(TRUE);
    EnableTransStopButton(FALSE);
    for (const PanelControl& control : m_controls) {
        if (control.caption)
            m_screen.Form().SetDlgItemText(control.id, control.caption);
    }

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

void CWorkScreenLayout::PlaceGrid(const PanelRect& place)
{
    if (m_grid.Grid().GetSafeHwnd())
        m_grid.Grid().SetWindowPos(&CWnd::wndTop, place.x, place.y, place.cx, place.cy, SWP_SHOWWINDOW);
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

void CWorkScreenLayout::ShowPosKindHelp(BOOL show)
{
    if (show && m_editPosHelp.GetSafeHwnd())
        m_editPosHelp.SetWindowText(kPosKindHelp);
    ShowControls({ IDC_WORK_POS_HELP, IDC_WORK_POS_HELP_GROUP }, show);
}

// ---- Screens -------------------------------------------------------------------------

void CWorkScreenLayout::ShowPanels(ScreenSetUp setUp, int serverMode)
{
    const ScreenPanels* panels = PanelsOf(setUp);
    if (!panels)
        return;
    const PanelGroups shown = panels->shown | (serverMode ? panels->serverShown : 0);
    if (panels->gridCells == GridCells::Rebuilt)
        m_grid.RebuildGrid();
    HideGrid();
    m_presetKeys.ShowPresetKeys(FALSE);
    m_presetKeys.ClearPresetKeys();
    m_presetKeys.ShowPageCombo(FALSE);
    m_scales.ShowScaleRegisterControls(FALSE);
    if (panels->scaleList == ScaleList::Emptied)
        m_scales.ClearScaleList();
    ShowGroups(~shown, FALSE);
    ShowGroups(shown, TRUE);
    if (panels->grid)
        PlaceGrid(*panels->grid);
    if (const auto& corner = panels->progress) {
        // The frame's corner; the others stand relative to it.
        const PanelPlace places[] = { { IDC_WORK_PROGRESS_GROUP, corner->x, corner->y, 130, 120 },
            { IDC_WORK_PROGRESS, corner->x + 10, corner->y + 18, 100, 30 },
            { IDC_WORK_PC_LABEL, corner->x + 10, corner->y + 58, 60, 20 },
            { IDC_WORK_SEND_LAMP, corner->x + 80, corner->y + 43, 50, 50 },
            { IDC_WORK_SCALE_LABEL, corner->x + 10, corner->y + 88, 80, 20 },
            { IDC_WORK_RECV_LAMP, corner->x + 80, corner->y + 73, 50, 50 } };
        for (const PanelPlace& place : places)
            PlaceControl(place.id, place.x, place.y, place.cx, place.cy);
    }
    for (const PanelPlace& place : panels->places) {
        const auto control = std::find_if(m_controls.begin(), m_controls.end(),
            [&place](const PanelControl& c) { return c.id == place.id; });
        if (control != m_controls.end() && HasGroup(shown, control->group))
            PlaceControl(place.id, place.x, place.y, place.cx, place.cy);
    }
    if (HasGroup(shown, PanelGroup::PresetKeys)) {
        m_presetKeys.ShowPresetKeys(TRUE);
        m_presetKeys.TakeComboPage();
        m_presetKeys.ShowPageCombo(TRUE);
    }
    if (HasGroup(shown, PanelGroup::ScaleRegister))
        m_scales.ShowScaleRegisterControls(TRUE);
}

void CWorkScreenLayout::ShowResultPanels(DataKind kind)
{
    ShowPanels(ScreenSetUp::Results, 0);
    ShowControls({ IDC_WORK_RESULT_CLEAR }, kind == DataKind::ResultAll);
    // A database picked in a file dialog has a native path: compared as files.
    ShowControls({ IDC_WORK_RESULT_SUM }, !IsSameFile(m_data.ItemDbPath(), kResultSumPath));
}
