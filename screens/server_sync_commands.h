#pragma once
// CServerSyncCommands: the Synchronization buttons 1065 and 1066 and what
// they do: the screen's rows (or the stored items, while the manager's default values are
// in force), the preset page or the user labels into the server database,
// under the update lock with the buttons disabled, then the outcome. It knows
// the screen through its state, grid, panels and database interfaces (the
// server database's path too) and reads the preset keys and the default
// values. UI thread.

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CItemDefaults;
class CPresetKeys;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CServerSyncCommands : public CCmdTarget {
public:
    CServerSyncCommands(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CPresetKeys& presetKeys, CItemDefaults& defaults);

    const MessageMap* GetMessageMap() const override;
    // Binds the buttons 1065 and 1066 of template 130.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();

private:
    // Button 1065 and button 1066 (the preset page on hint 3, the user labels
    // on their screen, nothing elsewhere).
    void OnSyncTables();
    void OnSyncPresetLabel();
    void SyncUserLabels();
    void EnablePresetLabelButton(BOOL enable);

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CPresetKeys& m_presetKeys;
    CItemDefaults& m_defaults;
    CXPButton m_btnTables; // IDC_WORK_SYNC_TABLES
    CXPButton m_btnPresetLabel; // IDC_WORK_SYNC_PRESET_LABEL
};
