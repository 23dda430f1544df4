#pragma once
// CDaoHelper: the one way into the store databases. It owns a database object,
// opens a file with the store password, runs statements and turns the rows of a
// SELECT into text (DbReplyRow: every value followed by TAB and "jo/"; "NULL"
// for a null field; "FALSE" for an empty result of a reader that returns text).
//
// The variants (CItemDbWorker, CManagerDbWorker, CGeneralDaoHelper,
// CReservationDaoHelper) derive from this class and publish the readers they
// offer. Every operation takes the helper's lock for its database work only;
// message boxes are shown after the lock is released, and the lock is never
// held while a message is sent, so a worker thread and its owner's thread may
// both use one helper.
//
// Database errors of the readers and of Execute are shown in a message box with
// the stop icon and the engine's text (at most 254 bytes); the reader then
// returns its error result. OpenDatabase lets the engine's CDaoException* reach
// the caller.

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/ole_variant.h"

// Connect string of every store database.
inline constexpr const char* kStoreDatabaseConnect = ";PWD=quendrav";
// What follows every value of a DbReplyRow.
inline constexpr const char* kDbValueEnd = "\tjo/";
// The text result of a reader when the SELECT returned no row (or failed).
inline constexpr const char* kDbNoRows = "FALSE";
// DAO execute options of every statement: fail on error, consistent, deny write.
inline constexpr int kDbExecuteOptions = dbFailOnError | dbConsistent | dbDenyWrite;

class CDaoHelper {
public:
    CDaoHelper();
    virtual ~CDaoHelper();
    CDaoHelper(const CDaoHelper&) = delete;
    CDaoHelper& operator=(const CDaoHelper&) = delete;

    // Opens the .mdb file at path (closing the open one first). Throws
    // CDaoException* when the file is missing, not a database or keyed otherwise.
    void OpenDatabase(CString path);
    // TRUE while a database is open.
    BOOL IsDatabaseOpen() const;
    // Which file the open database is (none when closed): a file put in the
    // path's place since has another identity.
    std::optional<DaoFileIdentity> OpenedFile() const;
    // Closes the database; a no-op when none is open.
    void CloseDatabase();
    // Runs one INSERT, UPDATE or DELETE. An error is shown; nothing is returned.
    virtual void Execute(CString sql);

    // One field value as text: "NULL", "%d", "%e" with a three-digit exponent,
    // the text, "TRUE"/"FALSE", "0x%02hX", a type name, and the "Array of " and
    // "Pointer to " prefixes for the array and by-reference bits.
    static CString VariantToText(const COleVariant& value);

    // The record count the last reader stored (DAO's count right after the open).
    long GetRecordCount() const;

protected:
    // Rows of a SELECT as text, read whole under the lock.
    struct QueryResult {
        BOOL ok = TRUE;
        CString error; // engine text when !ok
        long errorCode = 0; // engine error number when !ok
        std::vector<CString> fieldNames;
        std::vector<std::vector<CString>> rows; // VariantToText of every value
    };

    // Runs sql and reads every row; stores the record count. Never throws.
    QueryResult Query(const CString& sql);

    // The readers; see the variants for which ones each offers.
    // 0 for an empty result, 1 otherwise (also after an error).
    int ReadTable(CString sql);
    // Row index (from 0) as DbReplyRow; "" past the last row; "FALSE" when empty
    // or on error.
    CString GetRecordAt(CString sql, int index);
    // As GetRecordAt with the values joined without separator.
    CString GetValueAt(CString sql, int index);
    // The first row as DbReplyRow, "FALSE" when empty or on error.
    CString GetFirstRow(CString sql);
    // Every value of every row joined without separator, "FALSE" when empty.
    CString GetValues(CString sql);
    // Every row as DbReplyRow, one after the other; "FALSE" when empty.
    CString GetRows(CString sql);
    // Sum of every value read as a decimal integer (64-bit; text that does not
    // start with a number counts 0); 0 for no row and after an error.
    double SumColumn(CString sql);
    // 1 when sql opens (the fields are read), else "File Open Error." is shown
    // (the engine's text when another program holds the file) and 0 returned.
    int ProbeQuery(CString sql);

    // Shows a database error: the text in a stop box.
    static void ReportDaoError(const CString& text);
    // The error text of a caught exception (at most 254 bytes) and frees it.
    static CString TakeErrorText(class CException* e);

    // Runs the statement under the lock; FALSE with the engine text on error.
    // rowsChanged (when given) receives the rows the statement changed.
    BOOL ExecuteLocked(const CString& sql, BOOL closeAfter, CString& error, long* rowsChanged = nullptr);

    static CString JoinRow(const std::vector<CString>& values, BOOL withSeparators);
    // Row index of sql's result as text (every row when index < 0), with or
    // without the value separators; the readers' rules for no row and errors.
    CString RowText(const CString& sql, int index, BOOL withSeparators);

    // Serialises every use of m_database between the worker and owner threads.
    mutable std::mutex m_lock;
    std::unique_ptr<CDaoDatabase> m_database;
    long m_nRecordCount = 0;
};
