#pragma once
// CTableLoad: the loads of the table screens and the grid they fill. The
// item worker's row, empty and done messages (which CKindOfView receives as
// OnDbQueryRow, OnDbQueryEmpty and OnDbQueryDone) come here and go to the
// reader of their request name: the table bridge's row readers, the scale
// register's, or none (the worker is still answered). A done message locks
// the key column and the trailing row, removes the row a delete took (not
// when the DELETE failed), and clears the update lock. It also owns the
// grid's shape (RebuildGrid) and the cell routines the readers use, and the
// fields of the row an insert read back. It knows the screen through its
// state, grid and database interfaces (screens/work_screen_context.h).

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

class CGridRows;
class CScaleScreens;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CTableLoad {
public:
    CTableLoad(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CScaleScreens& scales, CGridRows& rows);
    CTableLoad(const CTableLoad&) = delete;
    CTableLoad& operator=(const CTableLoad&) = delete;

    // What a done message leaves to the screen after the load's own steps.
    enum class LoadEnd { None, ManagersChanged, ResultsLoaded };
    void OnDbQueryRow();
    void OnDbQueryEmpty();
    // outcome: the done message's wParam (kDbDoneOk, kDbDoneFailed, kDbDoneNoRow).
    [[nodiscard]] LoadEnd OnDbQueryDone(WPARAM outcome);
    // The request name of the last message, and the rows since ResetLoad.
    [[nodiscard]] const CString& GetRequestName() const { return m_strRequestName; }
    [[nodiscard]] int GetReplyRows() const { return m_nReplyRows; }
    void ResetLoad() { m_nReplyRows = 0; }

    // A grid of two rows and two columns, the trailing row "-->" and locked.
    void RebuildGrid();
    // Columns added get empty headings, their trailing-row cells locked.
    void SetGridColumnCount(int count);
    int InsertGridRow(const CString& heading, int position);
    void SetCellReadOnly(int row, int column);
    void SetCellPlain(int row, int column);
    // The grid's pick anchors forgotten; ClearPickedRows also its picks.
    void ResetGridSelection();
    void ClearPickedRows();
    [[nodiscard]] int FindColumn(const char* title, int start = 0) const;

    // The row an insert read back: its ID into the key cell of the insertion
    // row (SplitItemRowText), or only its fields kept.
    void SplitItemRowText(const CString& row);
    void SplitUserLabelRowText(const CString& row);
    [[nodiscard]] const std::vector<CString>& GetFieldTexts() const { return m_fieldTexts; }
    void ClearFieldTexts();

private:
    // "Report" to the worker, which waits for it after every streamed row.
    void Release();
    void LockKeyColumnAndTrailingRow();
    void LockAllCells();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CScaleScreens& m_scales;
    CGridRows& m_rows;
    CString m_strRequestName;
    int m_nReplyRows = 0;
    std::vector<CString> m_fieldTexts;
};
