#pragma once
// CUserLabelScreen: the commands of the work screen's user labels screen
// (hint 17). The grid holds one [UserLabel] row per line; Insert adds a
// placeholder row (file_num "-1") and reads its ID back through the table
// load, Delete removes the picked row by its ID, Image Display hands the
// picked row to the designer below. It keeps no state: everything lives in
// the work screen, which makes one per command and places the screen's panel
// itself. It knows the screen through its state, grid, panels and database
// interfaces. UI thread.

#include "platform/base/cstring.h"

class CTableLoad;
class CUserLabelView;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CUserLabelScreen {
public:
    CUserLabelScreen(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CTableLoad& load);

    void Insert();
    void Delete();
    void ShowImage();

    // The designer in the lower pane, or nullptr.
    static CUserLabelView* FindDesigner();

private:
    // The column titled "ID" (the last column when none is).
    int KeyColumn() const;
    // Adds the placeholder row to the database and reads its ID back; the ID,
    // or "" when the insert or the read-back failed (after its message).
    CString InsertPlaceholder();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CTableLoad& m_load;
};
