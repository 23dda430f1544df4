#pragma once
// CUserLabelScreen: the commands of the work screen's user labels screen
// (hint 17) and their buttons 1059-1064. The grid holds one [UserLabel] row
// per line; Insert (1059) adds a placeholder row (file_num "-1") and reads
// its ID back through the table load, Delete (1060) removes the picked row
// by its ID, Image Display (1064) hands the picked row to the designer
// below; Receive (1061), Trans (1062) and Select Trans (1063) start the
// transfer glue's transfers. It keeps no state of the screen: that lives in
// the work screen; the screen switch places its panel and starts its load.
// It knows the screen
// through its state, grid and database interfaces, and the clicked cell
// through CGridRows. UI thread.

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CGridRows;
class CTableLoad;
class CTransferGlue;
class CUserLabelView;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CUserLabelScreen : public CCmdTarget {
public:
    CUserLabelScreen(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CGridRows& rows, CTableLoad& load, CTransferGlue& transfers);

    const MessageMap* GetMessageMap() const override;
    // Binds the buttons 1059-1064 of template 130.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();

    // The designer in the lower pane, or nullptr.
    static CUserLabelView* FindDesigner();

private:
    void OnInsert();
    void OnDelete();
    void OnImage();
    void OnReceive();
    void OnTransAll();
    void OnTransSelect();
    // Insert 1059 and Delete 1060.
    void EnableEditButtons(BOOL enable);
    // The column titled "ID" (the last column when none is).
    int KeyColumn() const;
    // Adds the placeholder row to the database and reads its ID back; the ID,
    // or "" when the insert or the read-back failed (after its message).
    CString InsertPlaceholder();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CGridRows& m_rows;
    CTableLoad& m_load;
    CTransferGlue& m_transfers;
    CXPButton m_btnInsert; // 1059
    CXPButton m_btnDelete; // 1060
    CXPButton m_btnReceive; // 1061
    CXPButton m_btnTransAll; // 1062
    CXPButton m_btnTransSelect; // 1063
    CXPButton m_btnImage; // 1064
};
