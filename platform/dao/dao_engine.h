#pragma once
// Internal: the engine under CDaoDatabase and CDaoRecordset. Opens keyed
// SQLCipher files, keeps one idle keyed connection per file for reuse, runs
// statements and reads whole result sets.
//
// Reuse: keying a file (SQLCipher's key derivation) costs tens of milliseconds,
// and the callers open and close around nearly every statement. A closed
// database hands its connection back here; the next open of the same path with
// the same password takes it again when the file is still the same one: same
// device and inode, and the same first 16 bytes (the salt the key was derived
// with). A file rewritten in place with the same salt is caught by SQLite's own
// check of the file change counter when the next statement starts. A connection
// is used by one database object at a time (it leaves the cache while in use).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/jet_status.h"
#include "platform/dao/ole_variant.h"

struct sqlite3;

class DaoConnection {
public:
    DaoConnection(
        sqlite3* db, std::string path, std::string password, bool readOnly, DaoFileIdentity identity);
    ~DaoConnection();
    DaoConnection(const DaoConnection&) = delete;
    DaoConnection& operator=(const DaoConnection&) = delete;

    sqlite3* Handle() const { return m_db; }
    // The native path (the cache key).
    const std::string& Path() const { return m_path; }
    // The file as the program named it ("C:\Windows\system\..."), for error
    // texts; set by each acquire (a connection has one user at a time).
    const std::string& DisplayName() const { return m_displayName; }
    void SetDisplayName(std::string name) { m_displayName = std::move(name); }
    const std::string& Password() const { return m_password; }
    bool ReadOnly() const { return m_readOnly; }
    const DaoFileIdentity& Identity() const { return m_identity; }
    // The aliases of the files attached to it, detached before reuse.
    std::vector<std::string>& Attached() { return m_attached; }

private:
    sqlite3* const m_db;
    const std::string m_path;
    const std::string m_password;
    const bool m_readOnly;
    const DaoFileIdentity m_identity;
    std::string m_displayName;
    std::vector<std::string> m_attached;
};

struct DaoFieldDesc {
    CString name; // column name or alias as the statement gives it
    CString declType; // declared type of a table column ("TEXT(50)"), empty for expressions
    CString table; // source table, empty for expressions
};

struct DaoResult {
    std::vector<DaoFieldDesc> fields;
    std::vector<std::vector<COleVariant>> rows;
};

// Opens path (native) for use (from the cache or keyed afresh). Fails with
// FileNotFound, UnrecognizedFormat (empty or foreign file) or InvalidPassword.
// displayName is the file as the program knows it: error texts name it.
JetStatus DaoAcquire(const std::string& path, const std::string& displayName, const std::string& password,
    bool readOnly, std::shared_ptr<DaoConnection>& out);
// Hands a connection back for reuse, rolling back a transaction left open.
void DaoRelease(std::shared_ptr<DaoConnection> connection);
// Creates a new keyed database file; fails with DatabaseExists when path exists.
JetStatus DaoCreate(const std::string& path, const std::string& displayName, const std::string& password);

// Runs exactly one statement that returns no rows (Jet data-definition statements
// are translated first). rowsAffected receives the changed row count.
JetStatus DaoExecute(DaoConnection& connection, const CString& sql, long& rowsAffected);
// Runs exactly one statement that returns rows and reads all of them.
JetStatus DaoQuery(DaoConnection& connection, const CString& sql, DaoResult& out);

// Attaches the keyed file at path (native) under alias; fails as an open
// does, and while a transaction is open.
JetStatus DaoAttach(DaoConnection& connection, const std::string& path, const std::string& displayName,
    const std::string& alias, const std::string& password);

// Renames file (native) over target once no other connection reads or
// writes the store at target: its lock is waited for as a statement waits,
// else InUse and nothing changes. A journal a killed writer left beside
// target is rolled back into the old file first, never into the new one.
JetStatus DaoReplace(const std::string& file, const std::string& target, const std::string& targetName,
    const std::string& password);
// Copies the database at source (native) into a new file at destination,
// keyed with password: a snapshot of the committed state read in one
// transaction (a writer is waited for as a read waits; a journal a killed
// writer left is rolled back first), checked whole, then renamed over
// destination. On failure destination is as it was.
JetStatus DaoCopy(const std::string& source, const std::string& sourceName, const std::string& destination,
    const std::string& destinationName, const std::string& password);

enum class DaoTransactionStep { Begin, Commit, Rollback };
// Begins, commits or rolls back the connection's transaction. Commit and
// rollback fail with NoTransaction when none is open.
JetStatus DaoTransaction(DaoConnection& connection, DaoTransactionStep step);

// Test seam, see CDaoDatabase::TEST_*.
void DaoInjectFault(DaoFault fault, int nthStatement);
DaoCounters DaoGetCounters();
void DaoResetCounters();
void DaoDropIdleConnections();
