#pragma once
// CGridRows: rows and picks of the four editable table screens (items,
// ingredients, advertisements, origin texts): Insert (1007), Delete (1008),
// the column fill (32792) and the grid cell the user clicked last. The rows a
// command acts on come from the grid's pick state through the picked-rows
// rules (grid/pick_rules.h).

#include "platform/base/cstring.h"

class CItemDefaults;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CGridRows {
public:
    CGridRows(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CItemDefaults& defaults);
    CGridRows(const CGridRows&) = delete;
    CGridRows& operator=(const CGridRows&) = delete;

    // The cell of the last click (GRIDNOTIFY_CLICK); a new screen forgets it,
    // in the grid too, so a command never acts on another screen's row.
    void OnGridClick(int row, int column);
    void ForgetClickedCell();
    [[nodiscard]] int GetClickedRow() const { return m_nClickRow; }
    [[nodiscard]] int GetClickedColumn() const { return m_nClickColumn; }

    void OnInsertRows();
    // A placeholder row (key "-1") for grid row gridRow; its ID is read back
    // into the row's key cell. False when the INSERT was refused (told).
    [[nodiscard]] bool InsertPlaceholderRows(int gridRow);
    void OnDeleteRows();
    // The delete statement of the current delete row; its done message
    // removes the grid row unless the DELETE failed.
    void DeleteSelectedRows();
    void OnAutoValue();

    // The grid row the insert read-back fills, the row the last delete took.
    [[nodiscard]] int GetInsertRow() const { return m_nInsertRow; }
    [[nodiscard]] int GetDeleteRow() const { return m_nDeleteRow; }
    void ResetRows();

private:
    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CItemDefaults& m_defaults;
    int m_nClickRow = 0;
    int m_nClickColumn = 0;
    int m_nInsertRow = 0;
    int m_nDeleteRow = 0;
};
