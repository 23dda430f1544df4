#include "platform/dao/dao_database.h"

#include <cctype>
#include <mutex>

#include "platform/base/path.h"
#include "platform/dao/dao_database_impl.h"
#include "platform/dao/dao_engine.h"

namespace {

constexpr const char* kSource = "DAO.Database";

// The value of key=... in a ";KEY=value;..." string (key without case), or "".
std::string ConnectValue(const char* connect, const char* key)
{
    const std::string text = connect ? connect : "";
    const std::string wanted = std::string(key) + "=";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        if (part.size() >= wanted.size()) {
            bool match = true;
            for (std::size_t i = 0; i < wanted.size() && match; ++i)
                match = std::toupper(static_cast<unsigned char>(part[i]))
                    == std::toupper(static_cast<unsigned char>(wanted[i]));
            if (match)
                return part.substr(wanted.size());
        }
        start = end + 1;
    }
    return std::string();
}

} // namespace

CDaoDatabase::CDaoDatabase()
    : m_impl(std::make_unique<Impl>())
{ }

CDaoDatabase::~CDaoDatabase()
{
    Close();
}

void CDaoDatabase::Open(LPCTSTR path, BOOL, BOOL readOnly, LPCTSTR connect)
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    m_impl->CloseLocked();
    const std::string file = path ? path : "";
    std::shared_ptr<DaoConnection> connection;
    // Windows paths ("C:\\...") live under the data root; error texts name the
    // file as the program does, in its Windows form also when it was picked in
    // a file dialog.
    const std::string native = file.empty() ? file : MapWindowsPath(file);
    ThrowIfFailed(
        DaoAcquire(native, WindowsFormOf(file), ConnectValue(connect, "PWD"), readOnly != FALSE, connection),
        kSource);
    m_impl->connection = std::move(connection);
    m_impl->name = file;
    m_impl->connect = connect ? connect : "";
}

void CDaoDatabase::Create(LPCTSTR path, LPCTSTR locale, int)
{
    const std::string file = path ? path : "";
    const std::string password = ConnectValue(locale, "PWD");
    ThrowIfFailed(
        DaoCreate(file.empty() ? file : MapWindowsPath(file), WindowsFormOf(file), password), kSource);
    Open(path, FALSE, FALSE, CString(";PWD=" + password));
}

void CDaoDatabase::Close()
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    m_impl->CloseLocked();
}

BOOL CDaoDatabase::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    return m_impl->connection != nullptr;
}

CString CDaoDatabase::GetName() const
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    return m_impl->name;
}

CString CDaoDatabase::GetConnect() const
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    return m_impl->connect;
}

std::optional<DaoFileIdentity> CDaoDatabase::GetFileIdentity() const
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    if (!m_impl->connection)
        return std::nullopt;
    return m_impl->connection->Identity();
}

void CDaoDatabase::Execute(LPCTSTR sql, int)
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    if (!m_impl->connection)
        ThrowIfFailed(JetStatus::Fail(JetError::NotOpen, "Object invalid or no longer set."), kSource);
    ThrowIfFailed(DaoExecute(*m_impl->connection, CString(sql ? sql : ""), m_impl->recordsAffected), kSource);
}

void CDaoDatabase::Attach(LPCTSTR path, LPCTSTR alias, LPCTSTR connect)
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    if (!m_impl->connection)
        ThrowIfFailed(JetStatus::Fail(JetError::NotOpen, "Object invalid or no longer set."), kSource);
    const std::string file = path ? path : "";
    ThrowIfFailed(DaoAttach(*m_impl->connection, file.empty() ? file : MapWindowsPath(file),
                      WindowsFormOf(file), alias ? alias : "", ConnectValue(connect, "PWD")),
        kSource);
}

void CDaoDatabase::Step(DaoTransactionStep step)
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    if (!m_impl->connection)
        ThrowIfFailed(JetStatus::Fail(JetError::NotOpen, "Object invalid or no longer set."), kSource);
    ThrowIfFailed(DaoTransaction(*m_impl->connection, step), kSource);
}

void CDaoDatabase::BeginTrans()
{
    Step(DaoTransactionStep::Begin);
}

void CDaoDatabase::CommitTrans()
{
    Step(DaoTransactionStep::Commit);
}

void CDaoDatabase::Rollback()
{
    Step(DaoTransactionStep::Rollback);
}

void CDaoDatabase::CopyDatabase(LPCTSTR source, LPCTSTR destination, LPCTSTR connect)
{
    const std::string from = source ? source : "";
    const std::string to = destination ? destination : "";
    ThrowIfFailed(DaoCopy(from.empty() ? from : MapWindowsPath(from), from,
                      to.empty() ? to : MapWindowsPath(to), to, ConnectValue(connect, "PWD")),
        kSource);
}

void CDaoDatabase::ReplaceDatabase(LPCTSTR file, LPCTSTR target, LPCTSTR connect)
{
    const std::string from = file ? file : "";
    const std::string to = target ? target : "";
    ThrowIfFailed(DaoReplace(from.empty() ? from : MapWindowsPath(from), to.empty() ? to : MapWindowsPath(to),
                      to, ConnectValue(connect, "PWD")),
        kSource);
}

long CDaoDatabase::GetRecordsAffected() const
{
    std::lock_guard<std::mutex> lock(m_impl->lock);
    return m_impl->recordsAffected;
}

void CDaoDatabase::TEST_InjectFault(DaoFault fault, int nthStatement)
{
    DaoInjectFault(fault, nthStatement);
}
DaoCounters CDaoDatabase::TEST_GetCounters()
{
    return DaoGetCounters();
}
void CDaoDatabase::TEST_ResetCounters()
{
    DaoResetCounters();
}
void CDaoDatabase::TEST_DropConnectionCache()
{
    DaoDropIdleConnections();
}
