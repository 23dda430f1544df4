#pragma once
// CServerSyncCommands: what the Synchronization buttons 1065 and 1066 do: the
// screen's rows (or the stored items, while the manager's default values are
// in force), the preset page or the user labels into the server database,
// under the update lock with the buttons disabled, then the outcome. It knows
// the screen through its state, grid, panels and database interfaces and
// reads the preset keys and the default values. UI thread.

#include "platform/base/cstring.h"

class CItemDefaults;
class CPresetKeys;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CServerSyncCommands {
public:
    CServerSyncCommands(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CPresetKeys& presetKeys, CItemDefaults& defaults);
    CServerSyncCommands(const CServerSyncCommands&) = delete;
    CServerSyncCommands& operator=(const CServerSyncCommands&) = delete;

    // Button 1065 and button 1066 (the preset page on hint 3, the user labels
    // on their screen, nothing elsewhere).
    void OnSyncTables(const CString& serverDbPath);
    void OnSyncPresetLabel(const CString& serverDbPath);
    void SyncUserLabels(const CString& serverDbPath);

private:
    void EnablePresetLabelButton(BOOL enable);

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CPresetKeys& m_presetKeys;
    CItemDefaults& m_defaults;
};
