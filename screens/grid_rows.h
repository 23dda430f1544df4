#pragma once
// CGridRows: rows and picks of the four editable table screens (items,
// ingredients, advertisements, origin texts): Insert (1007) and Delete (1008)
// with their buttons, the column fill (32792) and the grid cell the user
// clicked last (the clicks of grid 1005). The rows a command acts on come
// from the grid's pick state through the picked-rows rules
// (grid/pick_rules.h); the cells the fill writes are checked and written
// back by CCellEditor. A new item row takes CItemDefaults' values. The
// transfers, the settings screens and the user labels screen read the
// clicked cell.

#include <span>

#include "controls/xp_button.h"
#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/work_screen_panels.h"

class CCellEditor;
class CDataExchange;
class CItemDefaults;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CGridRows : public CCmdTarget {
public:
    CGridRows(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CItemDefaults& defaults, CCellEditor& editor);

    const MessageMap* GetMessageMap() const override;
    // Binds the buttons 1007 and 1008 of template 130.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();

    // The cell of the last click; a new screen forgets it, in the grid too,
    // so a command never acts on another screen's row.
    void ForgetClickedCell();
    [[nodiscard]] int GetClickedRow() const { return m_nClickRow; }
    [[nodiscard]] int GetClickedColumn() const { return m_nClickColumn; }

    // The grid row the insert read-back fills, the row the last delete took.
    [[nodiscard]] int GetInsertRow() const { return m_nInsertRow; }
    [[nodiscard]] int GetDeleteRow() const { return m_nDeleteRow; }
    void ResetRows();

private:
    // GRIDNOTIFY_CLICK of grid 1005; its right clicks and drags are taken
    // and ignored.
    void OnGridClick(NMHDR* header, LRESULT* result);
    void OnGridIgnored(NMHDR* header, LRESULT* result);
    void OnInsertRows();
    // A placeholder row (key "-1") for grid row gridRow; its ID is read back
    // into the row's key cell. False when the INSERT was refused (told).
    [[nodiscard]] bool InsertPlaceholderRows(int gridRow);
    void OnDeleteRows();
    // The delete statement of the current delete row; its done message
    // removes the grid row unless the DELETE failed.
    void DeleteSelectedRows();
    void OnAutoValue();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CItemDefaults& m_defaults;
    CCellEditor& m_editor;
    int m_nClickRow = 0;
    int m_nClickColumn = 0;
    int m_nInsertRow = 0;
    int m_nDeleteRow = 0;
    CXPButton m_btnInsert;
    CXPButton m_btnDelete;
};
