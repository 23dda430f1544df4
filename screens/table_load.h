#pragma once
// CTableLoad: the loads of the table screens and the grid they fill. The
// item worker's row, empty and done messages (WM_DBQUERY_ROW, _EMPTY and
// _DONE) come here and go to the reader of their request name: the table
// bridge's row readers, the scale register's, or none (the worker is still
// answered). A done message locks the key column and the trailing row,
// removes the row a delete took (not when the DELETE failed), and clears the
// update lock; after a manager's register or delete the users screen reads
// its list again, after a sales-total load the hook it is given runs (the
// accumulation waits for it). It also owns the grid's shape (RebuildGrid)
// and the fields of the row an insert read back. It knows the screen through
// its state, grid and database interfaces (screens/work_screen_context.h)
// and reads the insert and delete rows of CGridRows.

#include <functional>
#include <optional>
#include <vector>

#include "db/db_request.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/cmdtarget.h"

class CGridRows;
class CScaleScreens;
class CUsersScreen;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CTableLoad : public CCmdTarget {
public:
    CTableLoad(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CScaleScreens& scales, CGridRows& rows, CUsersScreen& users, std::function<void()> resultsLoaded);

    const MessageMap* GetMessageMap() const override;
    // The request of the last message (none for a name of no request), and
    // the rows since ResetLoad.
    [[nodiscard]] std::optional<DbRequest> GetRequest() const { return m_request; }
    [[nodiscard]] int GetReplyRows() const { return m_nReplyRows; }
    void ResetLoad() { m_nReplyRows = 0; }

    // A grid of two rows and two columns, the trailing row "-->" and locked.
    void RebuildGrid();

    // The row an insert read back: its ID into the key cell of the insertion
    // row (SplitItemRowText), or only its fields kept.
    void SplitItemRowText(const CString& row);
    void SplitUserLabelRowText(const CString& row);
    [[nodiscard]] const std::vector<CString>& GetFieldTexts() const { return m_fieldTexts; }
    void ClearFieldTexts();

private:
    LRESULT OnDbQueryRow(WPARAM wParam, LPARAM lParam);
    LRESULT OnDbQueryEmpty(WPARAM wParam, LPARAM lParam);
    // wParam: the outcome (kDbDoneOk, kDbDoneFailed, kDbDoneNoRow).
    LRESULT OnDbQueryDone(WPARAM outcome, LPARAM lParam);
    // What a done message leaves to others after the load's own steps.
    enum class LoadEnd { None, ManagersChanged, ResultsLoaded };
    [[nodiscard]] LoadEnd EndLoad(WPARAM outcome);
    // The steps of a delete's and of a streamed read's done message.
    void EndDelete(WPARAM outcome);
    [[nodiscard]] LoadEnd EndRead();
    // "Report" to the worker, which waits for it after every streamed row.
    void Release();
    void LockKeyColumnAndTrailingRow();
    void LockAllCells();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CScaleScreens& m_scales;
    CGridRows& m_rows;
    CUsersScreen& m_users;
    std::function<void()> m_resultsLoaded;
    std::optional<DbRequest> m_request;
    int m_nReplyRows = 0;
    std::vector<CString> m_fieldTexts;
};
