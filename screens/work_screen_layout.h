#pragma once
// CWorkScreenLayout: the work screen's panels, laid out from data: the
// controls its parts declare (id, group, caption) and each set-up's row of
// groups and places (screens/screen_panels.h). It owns the caption panel
// (200) over the grid, the frames and labels of the groups (1032-1034, 1041,
// 1042, 1044, 1049), the progress text (1039), the Pos kind help (1143,
// 1144), and the button groups its parts enable and grey
// (CWorkScreenPanels). It knows the screen through its state, grid and
// database interfaces, and hides and shows the preset keys' and the scale
// register's controls. The screen switch (screens/screen_switch.h) lays out
// each screen through it. UI thread.

#include <span>
#include <vector>

#include "controls/caption_panel.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/controls/static.h"
#include "protocol/data_kinds.h"
#include "screens/screen_panels.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CPresetKeys;
class CScaleScreens;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CWorkScreenLayout final : public CWorkScreenPanels {
public:
    CWorkScreenLayout(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CPresetKeys& presetKeys, CScaleScreens& scales);
    CWorkScreenLayout(const CWorkScreenLayout&) = delete;
    CWorkScreenLayout& operator=(const CWorkScreenLayout&) = delete;

    // Binds the frames, labels, progress text and Pos kind help of template
    // 130.
    void DoDataExchange(CDataExchange* dx);
    // The caption panel, made when the form is, with the initial display's
    // caption; FALSE when it could not be made.
    BOOL CreateCaption();
    // The caption panel spans the form's width cx.
    void SizeCaption(int cx);
    // The caption over the grid and its tip (nothing before the panel is made).
    void SetCaption(const CString& text, const CString& tip);

    // Where the form starts: every group hidden but the grid's place, the
    // transfer buttons usable and the stop greyed, the buttons' texts set.
    void ShowStartPanels();
    // What every switch clears: the progress text, the Pos kind help, the
    // preset note and the print button.
    void ClearScreenPanels();
    void ShowReservationButtons(BOOL show);
    // The Pos kind help of the item screen (1143, 1144).
    void ShowPosKindHelp(BOOL show);

    // A part's controls (screens/work_screen_panels.h), added once when the
    // screen is made; the layout's own frames and labels are there already.
    void AddControls(std::span<const PanelControl> controls);
    // The panels of a set-up's screen (screens/screen_panels.h); serverMode
    // shows the synchronisation buttons. Every control of a group the screen
    // does not show is hidden.
    void ShowPanels(ScreenSetUp setUp, int serverMode);
    // A sales-total screen: Result Clear on the scale total only, Result DB
    // Sum unless the screen shows the summary database itself.
    void ShowResultPanels(DataKind kind);

    // CWorkScreenPanels
    void EnableEditButtons(BOOL enable) override;
    void EnableItemTransButtons(BOOL enable) override;
    void EnableScaleTransButtons(BOOL enable) override;
    void EnableTransStopButton(BOOL enable) override;

private:
    void ShowControls(std::initializer_list<int> ids, BOOL show);
    void ShowGroups(PanelGroups groups, BOOL show);
    void EnableControls(std::initializer_list<int> ids, BOOL enable);
    void PlaceControl(int id, int x, int y, int cx, int cy);
    void PlaceGrid(const PanelRect& place);
    void HideGrid();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CPresetKeys& m_presetKeys;
    CScaleScreens& m_scales;
    std::vector<PanelControl> m_controls;
    CCaptionPanel m_captionPanel;
    CButton m_groupEdit; // IDC_WORK_EDIT_GROUP
    CButton m_groupTrans; // IDC_WORK_TRANS_GROUP
    CButton m_groupScaleTrans; // IDC_WORK_SCALE_TRANS_GROUP
    CStatic m_labelRangeHint; // IDC_WORK_RANGE_HINT
    CStatic m_labelPc; // IDC_WORK_PC_LABEL
    CStatic m_labelScale; // IDC_WORK_SCALE_LABEL
    CButton m_groupProgress; // IDC_WORK_PROGRESS_GROUP
    CEdit m_editProgress; // IDC_WORK_PROGRESS
    CEdit m_editPosHelp; // IDC_WORK_POS_HELP
    CButton m_groupPosHelp; // IDC_WORK_POS_HELP_GROUP
};
