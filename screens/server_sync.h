#pragma once
// CServerSync: copies what a work screen shows into the server database
// (Server_Store.mdb) under one manager id, from which the results server
// answers the scales. Each row's key is looked up among the keys stored under
// that id (read once per run, compared as the engine compares text): a stored
// row is updated, a missing one inserted; nothing is deleted. Every value is
// quoted; an empty key is written and looked up as "0"; a row whose lookup
// fails, or whose statement fails, is counted and the run goes on. A run's
// statements reach the file together (one batch). Errors are shown (stop
// icon) by the run's own database helpers, so a run never shares a
// connection with the item worker.
//
// Rows are the grid's cell texts (index n = grid column n, column 0 unread).

#include <map>
#include <span>
#include <string>
#include <vector>

#include "db/checked_dao_helper.h"
#include "protocol/data_kinds.h"
#include "protocol/record_values.h"

struct SyncResult {
    int rows = 0; // rows or keys offered
    int failed = 0; // not written
};

// "Sync ok" when every row went in, else how many did not.
CString SyncOutcomeText(const SyncResult& result);

class CServerSync {
public:
    // A table's columns and its empty-cell rule (server_sync.cpp).
    struct Table;

    CServerSync(const CString& serverDbPath, const CString& userId);

    // Opens the server database for the run; FALSE after its error was shown.
    [[nodiscard]] BOOL Open();
    void Close();

    // The Item (1), Ingredient (2), Advertisement (4) or Land Addition (19)
    // grid rows; an empty cell becomes "NULL" in a text column, "0" in the
    // others.
    [[nodiscard]] SyncResult WriteGridRows(DataKind kind, std::span<const RecordRow> rows);
    // The user-label grid rows (columns 1-49), an empty cell "0".
    [[nodiscard]] SyncResult WriteUserLabels(std::span<const RecordRow> rows);
    // Item rows as the item database holds them (the manager's default values
    // are on): the item of each key is read from itemDbPath (of any manager
    // for the administrator) and written as stored; a key the item database
    // does not hold is counted as failed.
    [[nodiscard]] SyncResult WriteStoredItems(const CString& itemDbPath, std::span<const std::string> keys);
    // The keys of a preset page: key k is keyTexts[k - 1]'s first line, at
    // most 9 characters, "0" when empty; each key decides its own update or
    // insert.
    [[nodiscard]] SyncResult WritePresetPage(int page, std::span<const std::string> keyTexts);

private:
    // Stored keys of the manager in one table (SqlTextKey of each), with the
    // [ID]s of their rows; a key inserted by the run has none.
    using Keys = std::map<CString, std::vector<CString>>;

    // Reads the manager's keys of the table (where condition also holds)
    // once for a run; FALSE after the error was shown.
    BOOL ReadKeys(const Table& table, const CString& condition, Keys& keys);
    // Runs the UPDATE when keys holds the row's key (on the rows of its [ID]s,
    // which the engine finds at once), else the INSERT, which adds the key;
    // FALSE when the statement failed.
    BOOL WriteRow(const Table& table, const std::vector<CString>& values, Keys& keys);
    // Every item of the manager in the item database (of every manager for
    // the administrator), in stored order; FALSE after the error was shown.
    BOOL ReadItems(const CString& itemDbPath, CCheckedDaoHelper::Rows& rows);
    static CString WhereRows(const std::vector<CString>& ids);
    [[nodiscard]] SyncResult WriteTableRows(const Table& table, std::span<const RecordRow> rows);
    // writeOne(i) for i < count in one batch; a batch that did not reach the
    // file counts every row as failed.
    template <typename WriteOne> SyncResult Run(std::size_t count, WriteOne writeOne);

    CString m_strServerDbPath;
    CString m_strUserId;
    CCheckedDaoHelper m_server;
};
