#pragma once
// CScreenSwitch: the work screen's switch from one screen to the next on
// the left pane's hints, through the table of screens
// (shell/screen_table.h). A hint is dropped while the update lock is set;
// hints 7-9 take the user word alone and keep the screen; any other moves
// the left pane's settings and mailbox words in, clears what the screen
// before left (user, database, number, clicked and loaded rows), sets the
// screen's number, kind word and caption, splits the right pane, runs the
// screen's set-up (one function per kind: its panels through
// CWorkScreenLayout, then its load) and shows the reservation buttons and
// print kind. A table screen whose file another program replaced is set up
// again (WM_STORE_REPLACED, posted by the table bridge). It knows the screen through its state, grid and
// database interfaces and the shell's CWorkScreen (the log-in flag), and reaches the parts a set-up uses. UI
// thread.

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/cmdtarget.h"
#include "shell/screen_table.h"

class CCalvornView;
class CGridRows;
class CItemDefaults;
class CPresetKeys;
class CPresetSheetPrint;
class CResultScreens;
class CScaleScreens;
class CTableLoad;
class CUsersScreen;
class CWorkScreen;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenLayout;
class CWorkScreenState;

// The parts the switch and the set-ups reach (not owned).
struct ScreenSwitchParts {
    CWorkScreenLayout& layout;
    CPresetKeys& presetKeys;
    CItemDefaults& defaults;
    CScaleScreens& scales;
    CUsersScreen& users;
    CResultScreens& results;
    CPresetSheetPrint& print;
    CGridRows& rows;
    CTableLoad& load;
};

class CScreenSwitch : public CCmdTarget {
public:
    CScreenSwitch(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CWorkScreen& shellSide, const ScreenSwitchParts& parts);
    CScreenSwitch(const CScreenSwitch&) = delete;
    CScreenSwitch& operator=(const CScreenSwitch&) = delete;

    const MessageMap* GetMessageMap() const override;

    // The left pane's hint with its object (the item database's path, or
    // none).
    void OnUpdate(LPARAM hint, void* hintObject);
    // The screen's words as no screen has them: no user, no item database,
    // number 0; no row clicked or loaded, no scale picked.
    void ResetScreenWords();

private:
    // WM_STORE_REPLACED: a table screen is set up again on its own words,
    // its rows read from the file now at its path (not while a load runs).
    LRESULT OnStoreReplaced(WPARAM wParam, LPARAM lParam);
    using SetUp = void (CScreenSwitch::*)();
    static SetUp SetUpOf(ScreenSetUp setUp);
    // Returns the query word.
    CString TakeScreenWords(CCalvornView* left, LPARAM hint, void* hintObject);
    void ResetScreenState();
    void SetKindWord(const ScreenInfo& screen, const CString& query);
    static void SplitRightPane();

    void SetUpCommSetup();
    void SetUpLogIn();
    void SetUpLogOut();
    void SetUpLogOutScreen();
    void SetUpInitial();
    void SetUpItems();
    void SetUpTable();
    void SetUpPreset();
    void SetUpScaleInfo();
    void SetUpScaleRootInfo();
    void SetUpScaleReg();
    void SetUpResults();
    void SetUpUsers();
    void SetUpUserLabel();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CWorkScreen& m_shellSide;
    ScreenSwitchParts m_parts;
    // The left pane's server mode, taken at each switch: the
    // synchronisation buttons show in it.
    int m_nServerMode = 0;
};
