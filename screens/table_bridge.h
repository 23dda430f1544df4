#pragma once
// CTableBridge: the work screen's table loader and writer. The senders build
// the SELECT of a kind (every manager's rows for the administrator "vexo",
// else only the user's), hand it to the item worker through the screen's
// mailbox; the row readers turn each reply row into grid cells and answer
// "Report". The writers store one edited cell, delete one row or store a
// preset key, synchronously on the worker's database. It knows the screen
// through its state, grid and database interfaces (grid, mailbox 132,
// worker, update lock), fills
// and reads the preset keys through CPresetKeyPage, reads the manager's
// default values, and hands the manager ids of the users screen to a
// CManagerList (the preset keys and the users screen implement these two
// and include this header, never the other way). UI thread only.

#include <optional>
#include <vector>

#include "db/db_request.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/core/messages.h"
#include "protocol/data_kinds.h"

class CItemDefaults;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

// The preset key page as the bridge fills and stores it (CPresetKeys): the
// page the reads and writes use, key number (1-60) filled from a read row,
// and the row id of a key.
class CPresetKeyPage {
public:
    [[nodiscard]] virtual int GetPage() const = 0;
    virtual void SetKey(int number, const CString& text, const CString& id) = 0;
    [[nodiscard]] virtual CString GetKeyId(int number) const = 0;

protected:
    ~CPresetKeyPage() = default;
};

// Where the manager ids read for the users screen go (list 1053).
class CManagerList {
public:
    virtual void ClearUserIds() = 0;
    virtual void AddUserId(const CString& id) = 0;

protected:
    ~CManagerList() = default;
};

// Said when a row to be written or deleted has no whole-number key.
inline constexpr const char* kNoKeyText = "This row has no ID key: the change was not stored.";
// Said when an UPDATE or DELETE by key changed no row: another program removed it.
inline constexpr const char* kRowGoneText = "This row is no longer in the database.";
// Said when the file at the screen's path is no longer the one its rows came
// from (another program put a new one in its place).
inline constexpr const char* kStoreReplacedText
    = "Another program has replaced this database since the screen read it: the change was not "
      "stored.\nThe screen now shows the database in its place.";
// Said when Result DB Sum found totals of the screen gone from the item
// database: the count gone and the count shown.
inline constexpr const char* kTotalsGoneText
    = "%d of the %d totals shown were no longer in the item database (another program moved or "
      "deleted them): they were not added to the summary again.";
// Posted to the work screen when a write found its file replaced: the screen
// is loaded again from the file now at the path.
inline constexpr UINT WM_STORE_REPLACED = WM_APP + 0x117;

class CTableBridge {
public:
    CTableBridge(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data,
        CPresetKeyPage& presetKeys, CItemDefaults& defaults, CManagerList& managers);
    CTableBridge(const CTableBridge&) = delete;
    CTableBridge& operator=(const CTableBridge&) = delete;

    // Sends the SELECT of a kind's table (a short table, presets of the
    // current page, user labels or a sales-total kind): the request name and
    // the user id are in the screen's mailbox (1003, 1002). columnList ""
    // takes the kind's default list. Throws the database's exception when the
    // file does not open.
    void Request(DataKind kind, CString databasePath, CString columnList = "");

    // Row readers: the header row names the columns, each later row becomes
    // a grid row "List n"; each answers the worker.
    void OnItemRow(CString rowText);
    void OnAddRow(CString rowText);
    void OnAdvRow(CString rowText);
    void OnLandAddRow(CString rowText);
    void OnPresetRow(CString rowText);
    void OnUserLabelRow(CString rowText);
    // A reply row of any of the four sales-total requests; the header row
    // gives the grid the kind's titles in the screen's language.
    void OnResultRow(CString rowText);
    // Moves the rows of the read kind the grid shows, as the source holds
    // them, into the summary database (under userId, new keys), all or
    // nothing; a failure is told with the database's message (FALSE: neither
    // database changed), rows the source no longer held are told as gone.
    // Clears the screen's update lock.
    [[nodiscard]] BOOL ImportScaleResults(
        CString sourcePath, CString summaryPath, std::optional<DataKind> read, CString userId);

    // Writers, each under its request (sent by the worker's ExecuteRequest).
    // A row whose key is not a number is not written (a message says so).
    // After a refused UPDATE the cell shows what the database holds; a row
    // the UPDATE or DELETE no longer finds is said to be gone (the UPDATE
    // takes it off the grid, the done message of the DELETE does).
    void UpdateCell(DbRequest request, CString databasePath, int row, int column, DataKind kind);
    // The cell shows the value its row holds in the database, as a load shows
    // it; the text before the last edit when it cannot be read.
    void ShowStoredCell(CString databasePath, int row, int column, DataKind kind);
    void DeleteRows(DbRequest request, CString databasePath, int row, DataKind kind);
    // The key's text under request (a new key's under PresetUpdateInsert).
    void SavePresets(DbRequest request, CString databasePath, int keyNumber, CString text);
    // Opens databasePath on the item worker for a write. Refused (FALSE, the
    // database closed) when it did not open (told) or when it is no longer
    // the file the screen's rows were read from: that is told once and the
    // screen loaded again (WM_STORE_REPLACED); until then every write to it
    // is refused without a word.
    [[nodiscard]] BOOL OpenForWrite(const CString& databasePath);

    // The users screen (table_bridge_users.cpp): the manager list of list
    // 1053 and the statements that register or delete a manager. Only the
    // administrator's request is sent: FALSE when none was.
    BOOL RequestManagers(CString databasePath, CString columnList);
    void OnPlainRow(CString rowText);
    void InsertManager(CString sql, CString databasePath);
    // FALSE when the database did not open or the DELETE failed (told).
    [[nodiscard]] BOOL DeleteManager(CString sql, CString databasePath);

private:
    void ClearRowBuffer();
    // A reply row split into the row buffer and counted; the number of its
    // values the buffer holds.
    int TakeReplyRow(const CString& rowText);
    // The grid row "List n" inserted at the next row's place; its index.
    int InsertListRow();
    // The screen's query taken from the mailbox: its request's name, and the
    // user's condition (prefix and [mg_id], none for the administrator).
    // SendSelect opens the database and starts the worker on sql under the
    // query's name.
    void SendSelect(const CString& databasePath, const CString& sql, const CString& requestName);
    CString TakeUserWhere(CString& requestName, const char* prefix) const;
    void ShortTableRow(const CString& rowText, std::initializer_list<const char*> koreanTitles);
    void RequestResults(DataKind read, const CString& databasePath, const CString& columnList);
    void WriteItemHeader();
    void WriteItemData();
    void Acknowledge();
    // The database column of an edited grid column, "" when none.
    CString ColumnNameFor(int column, DataKind kind);
    // Runs sql through the worker's ExecuteRequest under request: the done
    // message's outcome (kDbDoneFailed also when the database did not open,
    // its message told).
    [[nodiscard]] WPARAM RunRequest(const CString& databasePath, DbRequest request, const CString& sql);
    // The database field an edited column writes: its name, and the grid
    // cells it spans from first (the packed sale fields span two and three).
    struct CellField {
        CString name;
        int first = 0;
        int cells = 1;
    };
    CellField FieldOf(int column, DataKind kind);
    // The cells of field in row show stored as a load shows it.
    void ShowValue(int row, int column, DataKind kind, const CellField& field, const CString& stored);
    // The ID cell of a grid row.
    CString RowKey(int row) const;
    // The file at the screen's path is not the one its rows came from
    // (told once: the screen is loaded again). Quiet when it does not open.
    [[nodiscard]] bool IsReplaced(const CString& databasePath);
    void TellReplaced();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
    CPresetKeyPage& m_presetKeys;
    CItemDefaults& m_defaults;
    CManagerList& m_managers;
    std::vector<CString> m_rowBuffer;
    int m_nColumnCount = 0;
    int m_nNextRow = 0;
    int m_nRowsReceived = 0;
    int m_nHasSalePrice = 0;
    int m_nHasSaleDay = 0;
    int m_nSalePriceIndex = 0;
    int m_nSaleDayIndex = 0;
    int m_nSkippedIndex = 0;
    // The kind of the last sales-total SELECT: its rows' titles.
    std::optional<DataKind> m_resultRead;
    // The file the screen's rows were read from, taken when the load opened
    // it; replaced once a write found another file at the path.
    struct LoadedFile {
        CString path;
        std::optional<DaoFileIdentity> identity;
        bool replaced = false;
    };
    LoadedFile m_loaded;
};

// A stored value as the grid shows it for kind (firstField: the table's first
// column): the loads' rules for "NULL", "0" and "-1".
CString ShownValue(DataKind kind, bool firstField, const CString& stored);

// TRUE when key is a whole decimal integer (the form [ID] takes in SQL).
BOOL IsIntegerKey(const CString& key);
