#pragma once
// CScaleSettingsScreens: the two scale settings screens (Scale Information,
// Scale Information2): their commands Insert (1011), Update (1014) and
// Delete (1012) of a settings row, with the four buttons of their panel
// (Trans 1013 is the transfers' command), and the ID of an inserted row
// read back. It knows the screen through its state, grid and database
// interfaces and reads the clicked row of CGridRows. UI thread.

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/work_screen_panels.h"

class CDataExchange;
class CGridCtrl;
class CGridRows;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CScaleSettingsScreens : public CCmdTarget {
public:
    CScaleSettingsScreens(
        CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data, const CGridRows& rows);

    const MessageMap* GetMessageMap() const override;
    // Binds the buttons 1011-1014 of template 130.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();
    // The row read back after a settings insert (its field 0 is the new key).
    void SplitScaleInfoRowText(const CString& row);

private:
    void OnScaleInfoUpdate();
    void OnScaleInfoInsert();
    void OnScaleInfoDelete();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    const CGridRows& m_rows;
    // Field 0 of the row read back after a settings insert.
    CString m_strInsertedKey;
    CXPButton m_btnInsert; // IDC_WORK_SCALE_INFO_INSERT
    CXPButton m_btnUpdate; // IDC_WORK_SCALE_INFO_UPDATE
    CXPButton m_btnDelete; // IDC_WORK_SCALE_INFO_DELETE
    CXPButton m_btnTrans; // IDC_WORK_SCALE_INFO_TRANS
};

// TRUE when exactly one data row of a settings screen is picked and row (the
// clicked row) is a data row, else FALSE after the refusal's message.
BOOL CheckSingleScaleRow(const CGridCtrl& grid, int row);
