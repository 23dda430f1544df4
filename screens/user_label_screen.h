#pragma once
// CUserLabelScreen: the work screen's user labels screen (hint 17). The grid
// holds one [UserLabel] row per line; Insert adds a placeholder row
// (file_num "-1") and reads its ID back, Delete removes the picked row by its
// ID, Image Display hands the picked row to the designer below. It keeps no
// state: everything lives in the work screen, so one is made per command.
// UI thread.

#include "platform/base/cstring.h"

class CKindOfView;
class CUserLabelView;

class CUserLabelScreen {
public:
    explicit CUserLabelScreen(CKindOfView& view);

    // Caption, grid and panel of the screen, then the load of the rows.
    void Show();
    void Insert();
    void Delete();
    void ShowImage();

    // The designer in the lower pane, or nullptr.
    static CUserLabelView* FindDesigner();

private:
    void PlacePanel();
    // The column titled "ID" (the last column when none is).
    int KeyColumn() const;
    // Adds the placeholder row to the database and reads its ID back; the ID,
    // or "" when the insert or the read-back failed (after its message).
    CString InsertPlaceholder();

    CKindOfView& m_view;
};
