#pragma once
// CDaoDatabase: one store database file. The files are SQLCipher databases keyed
// with the password of the connect string (";PWD=..."); the Jet rules the
// application relies on are kept (see platform/dao/jet_ddl.h).
//
// Every failure throws a CDaoException* with the engine's error number and text.
// An object is used by one thread at a time; different objects may be used on
// different threads at once.

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/dao/dao_constants.h"

// Faults the test seam can force on a statement.
enum class DaoFault { None, Locked, DiskFull, Corrupt };

struct DaoCounters {
    long statements = 0; // statements run (Execute and recordset opens)
    long keyedOpens = 0; // opens that keyed a file afresh
    long reusedOpens = 0; // opens served by a cached connection
};

// Which file a database object reads: where it lies (device and inode) and
// the salt its key was derived with (the file's first 16 bytes). A file put
// in place of another at the same path, or written over it afresh, has
// another identity.
struct DaoFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint8_t salt[16] = {};

    bool operator==(const DaoFileIdentity& other) const;
};

class CDaoRecordset;
class DaoConnection;
enum class DaoTransactionStep;

class CDaoDatabase {
public:
    CDaoDatabase();
    virtual ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Opens the file at path. connect carries the password (";PWD=quendrav").
    // exclusive is accepted and has no effect. Closes a database already open.
    // Throws when the file is missing (3024), empty or not a database (3343) or
    // keyed with another password (3031). The failure is raised here, at open.
    virtual void Open(LPCTSTR path, BOOL exclusive = FALSE, BOOL readOnly = FALSE, LPCTSTR connect = "");

    // Creates a new database file and opens it. locale may carry ";pwd=<password>".
    // Throws 3204 when the file exists.
    virtual void Create(LPCTSTR path, LPCTSTR locale = dbLangGeneral, int options = 0);

    // Closes the database; a no-op when it is not open.
    virtual void Close();

    BOOL IsOpen() const;
    // The path given to Open, empty when closed.
    CString GetName() const;
    CString GetConnect() const;
    // The identity of the open file, none when closed.
    std::optional<DaoFileIdentity> GetFileIdentity() const;

    // Runs exactly one statement that returns no rows (INSERT, UPDATE, DELETE and
    // Jet data definition). Refuses a SELECT (3065) and text after the statement
    // (3142). options are accepted (dbFailOnError and the rest). Throws on error.
    void Execute(LPCTSTR sql, int options = dbFailOnError);

    // The workspace's transaction, here over this database alone: after
    // BeginTrans the statements reach the file together at CommitTrans (one
    // write to disk), or never after Rollback; a statement that fails inside
    // it leaves the others in. Closing with a transaction open rolls it back.
    // CommitTrans and Rollback without BeginTrans throw 3034.
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    // Makes the file at path (keyed with connect's password) a part of this
    // database under alias: its tables are [alias].[table], and one
    // transaction covers both files, all of it reaching both or neither, also
    // across a crash. Outside a transaction; lasts until Close. Throws as Open.
    void Attach(LPCTSTR path, LPCTSTR alias, LPCTSTR connect);

    // Copies the store at source into destination (keyed with connect's
    // password) through the engine: the committed state of one moment (a
    // writer is waited for as a statement waits, a journal a killed writer
    // left is rolled back first), checked whole before it takes
    // destination's place as ReplaceDatabase puts it. Throws as Open, 3045
    // while another program holds either file, 3026 on a full disk, 3049 when
    // the copy is not whole; destination is then as it was.
    static void CopyDatabase(LPCTSTR source, LPCTSTR destination, LPCTSTR connect);
    // Puts the finished file in place of the store at target (renamed over
    // it) once no other connection reads or writes that store; throws 3045
    // when another program holds it beyond the wait, and nothing changes.
    static void ReplaceDatabase(LPCTSTR file, LPCTSTR target, LPCTSTR connect);

    // Rows changed by the last Execute.
    long GetRecordsAffected() const;

    // Test seam. TEST_InjectFault makes the nth statement from now (1 = the
    // next, over every database object) fail with the fault; DaoFault::None clears it.
    static void TEST_InjectFault(DaoFault fault, int nthStatement = 1);
    static DaoCounters TEST_GetCounters();
    static void TEST_ResetCounters();
    // Closes every idle cached connection.
    static void TEST_DropConnectionCache();

private:
    friend class CDaoRecordset;
    void Step(DaoTransactionStep step);
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
