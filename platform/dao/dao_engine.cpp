#include "platform/dao/dao_engine.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <mutex>

#include "platform/dao/jet_ddl.h"

namespace {

// Idle keyed connections kept for reuse, over all files.
constexpr std::size_t kMaxIdleConnections = 8;
// How long a statement waits for another connection's lock before failing.
constexpr int kBusyTimeoutMs = 3000;
// SQLCipher's default page size: a keyed file is a whole number of pages.
constexpr long long kCipherPageSize = 1024;
// Distinct byte values an encrypted first page shows at least (1024 random
// bytes show about 251); text, zeros and other formats show far fewer.
constexpr int kMinCipherByteValues = 200;

std::mutex g_cacheLock;
std::deque<std::shared_ptr<DaoConnection>> g_idle; // most recently used first

std::atomic<long> g_statements { 0 };
std::atomic<long> g_keyedOpens { 0 };
std::atomic<long> g_reusedOpens { 0 };

// When the last busy wait on a file (native path) ran out. For as long again
// a statement on it tries once without waiting, so that one refused action
// (a write and its read-back, the statements of an open) waits once, not once
// per statement; a statement that gets the lock clears the mark.
std::mutex g_heldLock;
std::map<std::string, std::chrono::steady_clock::time_point> g_held;

std::mutex g_faultLock;
DaoFault g_fault = DaoFault::None;
int g_faultCountdown = 0;

CString Quoted(const std::string& path)
{
    return CString("'" + path + "'");
}

JetStatus FileNotFound(const std::string& path)
{
    return JetStatus::Fail(JetError::FileNotFound, "Could not find file " + Quoted(path) + ".");
}

JetStatus Unrecognized(const std::string& path)
{
    return JetStatus::Fail(
        JetError::UnrecognizedFormat, "Unrecognized database format " + Quoted(path) + ".");
}

JetStatus Corrupt(const std::string& path)
{
    return JetStatus::Fail(JetError::CorruptDatabase,
        "Can't open database " + Quoted(path)
            + ". It may not be a database that your application recognizes, or the file may "
              "be corrupt.");
}

JetStatus NotAStoreDatabase(const std::string& path)
{
    return JetStatus::Fail(
        JetError::UnrecognizedFormat, Quoted(path) + " is not a store database, or it is damaged.");
}

JetStatus InUse(const std::string& path)
{
    return JetStatus::Fail(
        JetError::FileInUse, "Could not use " + Quoted(path) + "; the file is in use by another program.");
}

bool IsBusy(int rc)
{
    return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED;
}

// Sets the busy wait of the next statement on db (the file at path); false
// when it is to try without waiting.
bool ArmBusyWait(sqlite3* db, const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_heldLock);
    const auto held = g_held.find(path);
    const bool recent = held != g_held.end()
        && std::chrono::steady_clock::now() - held->second < std::chrono::milliseconds(kBusyTimeoutMs);
    sqlite3_busy_timeout(db, recent ? 0 : kBusyTimeoutMs);
    return !recent;
}

enum class Access { Read, Write };

// Marks the file held when a statement that waited (waited) ended rc without
// the lock; a write that got through clears the mark. A read does not: under
// another program's write lock reads still pass.
void NoteBusyResult(int rc, const std::string& path, bool waited, Access access)
{
    std::lock_guard<std::mutex> lock(g_heldLock);
    if (IsBusy(rc) && waited)
        g_held[path] = std::chrono::steady_clock::now();
    else if (access == Access::Write && (rc == SQLITE_OK || rc == SQLITE_DONE))
        g_held.erase(path);
}

JetStatus FaultStatus(DaoFault fault, const std::string& path)
{
    switch (fault) {
    case DaoFault::Locked:
        return JetStatus::Fail(JetError::Locked, "Couldn't update; currently locked by another session.");
    case DaoFault::DiskFull:
        return JetStatus::Fail(JetError::DiskFull, "Not enough space on disk.");
    case DaoFault::Corrupt:
        return Corrupt(path);
    case DaoFault::None:
        break;
    }
    return JetStatus::Success();
}

// Counts a statement and returns the injected fault when it is due.
JetStatus CountStatement(const std::string& path)
{
    g_statements.fetch_add(1);
    std::lock_guard<std::mutex> lock(g_faultLock);
    if (g_fault == DaoFault::None || g_faultCountdown <= 0)
        return JetStatus::Success();
    if (--g_faultCountdown > 0)
        return JetStatus::Success();
    const DaoFault fault = g_fault;
    g_fault = DaoFault::None;
    return FaultStatus(fault, path);
}

std::string AfterPrefix(const char* message, const char* prefix)
{
    const char* at = std::strstr(message, prefix);
    return at ? std::string(at + std::strlen(prefix)) : std::string();
}

// The Jet error and text for a failed SQLite call.
JetStatus MapError(int extended, const char* message, const std::string& path)
{
    const char* msg = message ? message : "";
    switch (extended & 0xFF) {
    case SQLITE_CONSTRAINT:
        if (extended == SQLITE_CONSTRAINT_CHECK) {
            const std::string name = AfterPrefix(msg, "CHECK constraint failed: ");
            if (name.rfind(kJetSizeCheckPrefix, 0) == 0)
                return JetStatus::Fail(JetError::FieldTooSmall,
                    "The field '" + name.substr(std::strlen(kJetSizeCheckPrefix))
                        + "' is too small to accept the amount of data you attempted to add. "
                          "Try inserting or pasting less data.");
        }
        if (extended == SQLITE_CONSTRAINT_NOTNULL)
            return JetStatus::Fail(JetError::RequiredField,
                "The field '" + AfterPrefix(msg, "NOT NULL constraint failed: ")
                    + "' cannot contain a Null value because the Required property for this "
                      "field is set to True. Enter a value in this field.");
        return JetStatus::Fail(JetError::DuplicateValue,
            "The changes you requested to the table were not successful because they would "
            "create duplicate values in the index, primary key, or relationship. Change the "
            "data in the field or fields that contain duplicate data, remove the index, or "
            "redefine the index to permit duplicate entries and try again.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FaultStatus(DaoFault::Locked, path);
    case SQLITE_FULL:
        return FaultStatus(DaoFault::DiskFull, path);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Corrupt(path);
    case SQLITE_READONLY:
        return JetStatus::Fail(JetError::ReadOnly, "Cannot update. Database or object is read-only.");
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return JetStatus::Fail(JetError::DiskOrNetwork, CString("Disk or network error. (") + msg + ")");
    default:
        break;
    }
    std::string name = AfterPrefix(msg, "no such table: ");
    if (!name.empty())
        return JetStatus::Fail(JetError::UnknownTable,
            "The Microsoft Jet database engine cannot find the input table or query '" + name
                + "'. Make sure it exists and that its name is spelled correctly.");
    name = AfterPrefix(msg, "has no column named ");
    if (!name.empty())
        return JetStatus::Fail(JetError::UnknownInsertField,
            "The INSERT INTO statement contains the following unknown field name: '" + name
                + "'. Make sure you have typed the name correctly, and try the operation again.");
    name = AfterPrefix(msg, "no such column: ");
    if (!name.empty())
        return JetStatus::Fail(
            JetError::TooFewParameters, "Too few parameters. Expected 1. (unknown field '" + name + "')");
    return JetStatus::Fail(JetError::Generic, CString("Syntax error or invalid statement: ") + msg);
}

JetStatus MapError(sqlite3* db, int rc, const std::string& path)
{
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    return MapError((extended & 0xFF) == (rc & 0xFF) ? extended : rc, db ? sqlite3_errmsg(db) : "", path);
}

// Reads where the file is (device and inode) and its size; fails when it is
// missing or empty. The file itself is not opened here: closing a descriptor
// of it would drop every lock this process's connections hold on it.
JetStatus ReadIdentity(
    const std::string& path, const std::string& displayName, DaoFileIdentity& identity, long long& size)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileNotFound(displayName);
    size = st.st_size;
    if (size == 0)
        return Unrecognized(displayName);
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    return JetStatus::Success();
}

// Reads the file's first 16 bytes (the key's salt) through the connection's
// own descriptor; false when the file is shorter.
bool ReadSalt(sqlite3* db, std::uint8_t (&salt)[16])
{
    std::memset(salt, 0, sizeof salt);
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods)
        return false;
    return file->pMethods->xRead(file, salt, sizeof salt, 0) == SQLITE_OK;
}

// TRUE when the file's first page looks encrypted (bytes of nearly every
// value). Read through SQLite's own file: closing another descriptor of the
// file would drop the locks the process holds on it.
bool LooksEncrypted(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods)
        return false;
    unsigned char page[kCipherPageSize] = {};
    if (file->pMethods->xRead(file, page, sizeof page, 0) != SQLITE_OK)
        return false;
    bool seen[256] = {};
    int values = 0;
    for (const unsigned char byte : page) {
        values += seen[byte] ? 0 : 1;
        seen[byte] = true;
    }
    return values >= kMinCipherByteValues;
}

CString SqlTextLiteral(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return CString(out + "'");
}

// Applies the key; the first read then proves it (this is where the key is derived).
int KeyAndVerify(sqlite3* db, const std::string& password)
{
    if (!password.empty()) {
        const CString pragma = "PRAGMA key = " + SqlTextLiteral(password);
        const int rc = sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

JetStatus OpenFresh(const std::string& path, const std::string& displayName, const std::string& password,
    bool readOnly, DaoFileIdentity identity, long long size, std::shared_ptr<DaoConnection>& out)
{
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        return JetStatus::Fail(
            JetError::DiskOrNetwork, "Disk or network error. (cannot open " + Quoted(displayName) + ")");
    }
    if (!ReadSalt(db, identity.salt)) {
        sqlite3_close(db);
        return Unrecognized(displayName);
    }
    const bool waits = ArmBusyWait(db, path);
    rc = KeyAndVerify(db, password);
    NoteBusyResult(rc, path, waits, Access::Read);
    if (rc != SQLITE_OK) {
        const bool encrypted = (rc & 0xFF) == SQLITE_NOTADB && LooksEncrypted(db);
        sqlite3_close(db);
        if (IsBusy(rc))
            return InUse(displayName);
        static const char kPlainHeader[] = "SQLite format 3";
        const bool plain = std::memcmp(identity.salt, kPlainHeader, sizeof kPlainHeader) == 0;
        if (encrypted && !plain && size % kCipherPageSize == 0)
            return JetStatus::Fail(JetError::InvalidPassword, "Not a valid password.");
        if ((rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT)
            return NotAStoreDatabase(displayName);
        return MapError(rc, "", displayName);
    }
    sqlite3_extended_result_codes(db, 1);
    g_keyedOpens.fetch_add(1);
    out = std::make_shared<DaoConnection>(db, path, password, readOnly, identity);
    out->SetDisplayName(displayName);
    return JetStatus::Success();
}

// Only blanks and semicolons may follow the statement.
bool OnlyTerminatorFollows(const char* tail)
{
    for (; tail && *tail; ++tail) {
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';')
            return false;
    }
    return true;
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

JetStatus Prepare(DaoConnection& connection, const CString& sql, Statement& out)
{
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(connection.Handle(), sql, -1, &out.stmt, &tail);
    if (rc != SQLITE_OK)
        return MapError(connection.Handle(), rc, connection.DisplayName());
    if (!out.stmt)
        return JetStatus::Fail(JetError::InvalidStatement,
            "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or "
            "'UPDATE'.");
    if (!OnlyTerminatorFollows(tail))
        return JetStatus::Fail(JetError::TrailingCharacters, "Characters found after end of SQL statement.");
    return JetStatus::Success();
}

COleVariant ColumnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(stmt, column);
        if (v >= std::numeric_limits<LONG>::min() && v <= std::numeric_limits<LONG>::max())
            return COleVariant(static_cast<LONG>(v));
        return COleVariant(static_cast<double>(v));
    }
    case SQLITE_FLOAT:
        return COleVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return COleVariant(CString(text ? text : "", sqlite3_column_bytes(stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const BYTE*>(sqlite3_column_blob(stmt, column));
        const int n = sqlite3_column_bytes(stmt, column);
        return COleVariant(std::vector<BYTE>(data, data + n));
    }
    default:
        return COleVariant::OfType(VT_NULL);
    }
}

// Runs sql with the texts bound to ?1, ?2, ...; the step's result code.
int RunBound(sqlite3* db, const char* sql, std::initializer_list<const std::string*> texts)
{
    Statement statement;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement.stmt, nullptr);
    int index = 0;
    for (const std::string* text : texts) {
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_text(statement.stmt, ++index, text->c_str(), -1, SQLITE_TRANSIENT);
    }
    return rc == SQLITE_OK ? sqlite3_step(statement.stmt) : rc;
}

bool DetachAll(DaoConnection& connection)
{
    bool clean = true;
    for (const std::string& alias : connection.Attached())
        clean = RunBound(connection.Handle(), "DETACH DATABASE ?1", { &alias }) == SQLITE_DONE && clean;
    connection.Attached().clear();
    return clean;
}

} // namespace

bool DaoFileIdentity::operator==(const DaoFileIdentity& other) const
{
    return device == other.device && inode == other.inode && std::memcmp(salt, other.salt, sizeof salt) == 0;
}

DaoConnection::DaoConnection(
    sqlite3* db, std::string path, std::string password, bool readOnly, DaoFileIdentity identity)
    : m_db(db)
    , m_path(std::move(path))
    , m_password(std::move(password))
    , m_readOnly(readOnly)
    , m_identity(identity)
{ }

DaoConnection::~DaoConnection()
{
    sqlite3_close_v2(m_db);
}

JetStatus DaoAcquire(const std::string& path, const std::string& displayName, const std::string& password,
    bool readOnly, std::shared_ptr<DaoConnection>& out)
{
    DaoFileIdentity identity;
    long long size = 0;
    JetStatus status = ReadIdentity(path, displayName, identity, size);
    if (!status.Ok())
        return status;
    std::shared_ptr<DaoConnection> stale; // closed outside the lock
    {
        std::lock_guard<std::mutex> lock(g_cacheLock);
        for (auto it = g_idle.begin(); it != g_idle.end(); ++it) {
            DaoConnection& c = **it;
            if (c.Path() != path || c.ReadOnly() != readOnly || c.Password() != password)
                continue;
            DaoFileIdentity current = identity;
            if (!ReadSalt(c.Handle(), current.salt))
                return Unrecognized(displayName);
            if (c.Identity() == current) {
                out = std::move(*it);
                g_idle.erase(it);
                out->SetDisplayName(displayName);
                g_reusedOpens.fetch_add(1);
                return JetStatus::Success();
            }
            // The file at this path is another one now: never read it through this.
            stale = std::move(*it);
            g_idle.erase(it);
            break;
        }
    }
    stale.reset();
    return OpenFresh(path, displayName, password, readOnly, identity, size, out);
}

void DaoRelease(std::shared_ptr<DaoConnection> connection)
{
    if (!connection)
        return;
    if (!sqlite3_get_autocommit(connection->Handle()))
        sqlite3_exec(connection->Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    if (!DetachAll(*connection))
        return; // closed, never reused with another file in it
    // A file SQLite could open only for reading (read-only then) is opened
    // afresh next time: it may be writable again.
    if (!connection->ReadOnly() && sqlite3_db_readonly(connection->Handle(), "main") == 1)
        return;
    std::shared_ptr<DaoConnection> evicted;
    {
        std::lock_guard<std::mutex> lock(g_cacheLock);
        g_idle.push_front(std::move(connection));
        if (g_idle.size() > kMaxIdleConnections) {
            evicted = std::move(g_idle.back());
            g_idle.pop_back();
        }
    }
}

JetStatus DaoCreate(const std::string& path, const std::string& displayName, const std::string& password)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0)
        return JetStatus::Fail(JetError::DatabaseExists, "Database already exists.");
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = KeyAndVerify(db, password);
    // A new database has no page on disk until something is written.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    JetStatus status = rc == SQLITE_OK ? JetStatus::Success() : MapError(db, rc, displayName);
    sqlite3_close(db);
    return status;
}

JetStatus DaoExecute(DaoConnection& connection, const CString& sql, long& rowsAffected)
{
    rowsAffected = 0;
    JetStatus status = CountStatement(connection.DisplayName());
    if (!status.Ok())
        return status;
    CString text = sql;
    if (IsJetDdl(sql)) {
        status = TranslateJetDdl(sql, text);
        if (!status.Ok())
            return status;
    }
    const bool waits = ArmBusyWait(connection.Handle(), connection.Path());
    Statement statement;
    status = Prepare(connection, text, statement);
    if (!status.Ok())
        return status;
    if (sqlite3_column_count(statement.stmt) > 0)
        return JetStatus::Fail(JetError::SelectNotExecutable, "Cannot execute a select query.");
    const int rc = sqlite3_step(statement.stmt);
    NoteBusyResult(rc, connection.Path(), waits, Access::Write);
    if (rc != SQLITE_DONE)
        return MapError(connection.Handle(), rc, connection.DisplayName());
    rowsAffected = sqlite3_changes(connection.Handle());
    return JetStatus::Success();
}

JetStatus DaoAttach(DaoConnection& connection, const std::string& path, const std::string& displayName,
    const std::string& alias, const std::string& password)
{
    DaoFileIdentity identity;
    long long size = 0;
    JetStatus status = ReadIdentity(path, displayName, identity, size);
    if (!status.Ok())
        return status;
    sqlite3* db = connection.Handle();
    int rc = RunBound(db, "ATTACH DATABASE ?1 AS ?2 KEY ?3", { &path, &alias, &password });
    if (rc != SQLITE_DONE)
        return MapError(db, rc, displayName);
    connection.Attached().push_back(alias);
    // The first read proves the key, as at an open.
    const std::string probe = "SELECT count(*) FROM \"" + alias + "\".sqlite_master";
    rc = sqlite3_exec(db, probe.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        return JetStatus::Success();
    status = (rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT ? Unrecognized(displayName)
                                                                           : MapError(db, rc, displayName);
    (void)DetachAll(connection);
    return status;
}

JetStatus DaoTransaction(DaoConnection& connection, DaoTransactionStep step)
{
    sqlite3* db = connection.Handle();
    if (step != DaoTransactionStep::Begin && sqlite3_get_autocommit(db))
        return JetStatus::Fail(JetError::NoTransaction,
            "You tried to commit or roll back a transaction without first beginning a transaction.");
    const char* sql = step == DaoTransactionStep::Begin ? "BEGIN IMMEDIATE"
        : step == DaoTransactionStep::Commit            ? "COMMIT"
                                                        : "ROLLBACK";
    const bool waits = ArmBusyWait(db, connection.Path());
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    NoteBusyResult(rc, connection.Path(), waits, Access::Write);
    return rc == SQLITE_OK ? JetStatus::Success() : MapError(db, rc, connection.DisplayName());
}

JetStatus DaoQuery(DaoConnection& connection, const CString& sql, DaoResult& out)
{
    out = DaoResult();
    JetStatus status = CountStatement(connection.DisplayName());
    if (!status.Ok())
        return status;
    const bool waits = ArmBusyWait(connection.Handle(), connection.Path());
    Statement statement;
    status = Prepare(connection, sql, statement);
    if (!status.Ok())
        return status;
    const int columns = sqlite3_column_count(statement.stmt);
    if (columns == 0)
        return JetStatus::Fail(JetError::InvalidOperation, "Invalid operation.");
    for (int i = 0; i < columns; ++i) {
        DaoFieldDesc field;
        const char* name = sqlite3_column_name(statement.stmt, i);
        const char* decl = sqlite3_column_decltype(statement.stmt, i);
        const char* table = sqlite3_column_table_name(statement.stmt, i);
        field.name = name ? name : "";
        field.declType = decl ? decl : "";
        field.table = table ? table : "";
        out.fields.push_back(field);
    }
    for (bool first = true;; first = false) {
        const int rc = sqlite3_step(statement.stmt);
        if (first)
            NoteBusyResult(rc, connection.Path(), waits, Access::Read);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            out = DaoResult();
            // A read that gets no lock: another program holds the whole file.
            if (IsBusy(rc))
                return InUse(connection.DisplayName());
            return MapError(connection.Handle(), rc, connection.DisplayName());
        }
        std::vector<COleVariant> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(ColumnValue(statement.stmt, i));
        out.rows.push_back(std::move(row));
    }
    return JetStatus::Success();
}

namespace {

// Writes the copy of source into the new (empty) file at temp, keyed with
// password, through the backup of whole pages in one read transaction.
JetStatus BackUp(DaoConnection& source, const std::string& temp, const std::string& destinationName)
{
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &copy, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = KeyAndVerify(copy, source.Password());
    JetStatus status = JetStatus::Success();
    if (rc != SQLITE_OK) {
        status = MapError(copy, rc, destinationName);
    } else if (sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source.Handle(), "main")) {
        // The source's busy wait covers a writer that holds the file.
        const bool waits = ArmBusyWait(source.Handle(), source.Path());
        rc = sqlite3_backup_step(backup, -1);
        NoteBusyResult(rc, source.Path(), waits, Access::Read);
        const int finished = sqlite3_backup_finish(backup);
        if (IsBusy(rc))
            status = InUse(source.DisplayName());
        else if (rc != SQLITE_DONE)
            status = MapError(source.Handle(), rc, source.DisplayName());
        else if (finished != SQLITE_OK)
            status = MapError(copy, finished, destinationName);
    } else {
        status = MapError(copy, sqlite3_errcode(copy), destinationName);
    }
    if (status.Ok()) {
        // The copy is checked whole before it is used.
        DaoConnection checked(copy, temp, source.Password(), false, DaoFileIdentity());
        copy = nullptr;
        checked.SetDisplayName(destinationName);
        DaoResult result;
        status = DaoQuery(checked, "PRAGMA integrity_check", result);
        if (status.Ok()
            && (result.rows.size() != 1 || result.rows[0].empty() || result.rows[0][0].vt != VT_BSTR
                || result.rows[0][0].bstrVal != "ok"))
            status = Corrupt(destinationName);
    }
    sqlite3_close(copy);
    return status;
}

void SyncFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

JetStatus DaoReplace(const std::string& file, const std::string& target, const std::string& targetName,
    const std::string& password)
{
    // The store now at target, keyed as ours: its lock is taken (a journal a
    // killed writer left is rolled back on the way) and held over the rename.
    sqlite3* old = nullptr;
    struct stat st { };
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0
        && sqlite3_open_v2(target.c_str(), &old, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        const bool waits = ArmBusyWait(old, target);
        int rc = KeyAndVerify(old, password);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(old, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        NoteBusyResult(rc, target, waits, Access::Write);
        if (IsBusy(rc)) {
            sqlite3_close(old);
            return InUse(targetName);
        }
        if (rc != SQLITE_OK) {
            sqlite3_close(old); // not a store of ours: nothing to wait for
            old = nullptr;
        }
    } else {
        sqlite3_close(old);
        old = nullptr;
    }
    JetStatus status = JetStatus::Success();
    if (::rename(file.c_str(), target.c_str()) != 0)
        status = MapError(errno == ENOSPC ? SQLITE_FULL : SQLITE_CANTOPEN, std::strerror(errno), targetName);
    else
        SyncFolder(target);
    if (old)
        sqlite3_exec(old, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(old);
    return status;
}

JetStatus DaoCopy(const std::string& source, const std::string& sourceName, const std::string& destination,
    const std::string& destinationName, const std::string& password)
{
    if (destination.empty())
        return FileNotFound(destinationName);
    std::shared_ptr<DaoConnection> connection;
    JetStatus status = DaoAcquire(source, sourceName, password, false, connection);
    if (!status.Ok())
        return status;
    std::string temp = destination + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        DaoRelease(std::move(connection));
        return MapError(
            errno == ENOSPC ? SQLITE_FULL : SQLITE_CANTOPEN, std::strerror(errno), destinationName);
    }
    ::fchmod(fd, 0644);
    ::close(fd);
    status = BackUp(*connection, temp, destinationName);
    DaoRelease(std::move(connection));
    if (status.Ok())
        status = DaoReplace(temp, destination, destinationName, password);
    if (!status.Ok()) {
        ::unlink(temp.c_str());
        ::unlink((temp + "-journal").c_str());
    }
    return status;
}

void DaoInjectFault(DaoFault fault, int nthStatement)
{
    std::lock_guard<std::mutex> lock(g_faultLock);
    g_fault = nthStatement > 0 ? fault : DaoFault::None;
    g_faultCountdown = nthStatement;
}

DaoCounters DaoGetCounters()
{
    DaoCounters c;
    c.statements = g_statements.load();
    c.keyedOpens = g_keyedOpens.load();
    c.reusedOpens = g_reusedOpens.load();
    return c;
}

void DaoResetCounters()
{
    g_statements = 0;
    g_keyedOpens = 0;
    g_reusedOpens = 0;
}

void DaoDropIdleConnections()
{
    std::deque<std::shared_ptr<DaoConnection>> dropped;
    std::lock_guard<std::mutex> lock(g_cacheLock);
    dropped.swap(g_idle);
}
