#include "tests/support/db_lock.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "tests/support/store_password.h"

namespace {

void WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

DbLockHolder::~DbLockHolder()
{
    Release();
}

bool DbLockHolder::Hold(const std::string& nativePath, Kind kind, int timeoutMs, const std::string& statement)
{
    Release();
    int in[2];
    int out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0)
        return false;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[1]);
        ::close(out[0]);
        ::execlp("sqlcipher", "sqlcipher", nativePath.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    m_input = in[1];
    m_output = out[0];
    WriteAll(m_input,
        std::string(".bail on\nPRAGMA key='") + kStorePassword
            + "';\nPRAGMA busy_timeout=" + std::to_string(timeoutMs) + ";\n"
            + (kind == Kind::Exclusive    ? "BEGIN EXCLUSIVE;\n"
                    : kind == Kind::Write ? "BEGIN IMMEDIATE;\n"
                                          : "BEGIN;\n")
            + "SELECT COUNT(*) FROM sqlite_master;\n" + (statement.empty() ? "" : statement + ";\n")
            + "SELECT 'held';\n");
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (seen.find("held\n") == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd { m_output, POLLIN, 0 };
        char buffer[256];
        const ssize_t n = left.count() > 0 && ::poll(&fd, 1, static_cast<int>(left.count())) > 0
            ? ::read(m_output, buffer, sizeof buffer)
            : 0;
        if (n <= 0) {
            Abandon(); // the shell may be gone: nothing more is written to it
            return false;
        }
        seen.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

void DbLockHolder::Abandon()
{
    ::close(m_input);
    ::close(m_output);
    ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

void DbLockHolder::Kill()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL); // before its input closes: it must not end on its own
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    ::close(m_input);
    ::close(m_output);
    m_pid = -1;
}

void DbLockHolder::Commit()
{
    if (m_pid <= 0)
        return;
    WriteAll(m_input, "COMMIT;\n");
    Release();
}

void DbLockHolder::Release()
{
    if (m_pid <= 0)
        return;
    WriteAll(m_input, "ROLLBACK;\n.quit\n");
    ::close(m_input);
    ::close(m_output);
    int status = 0;
    if (::waitpid(m_pid, &status, 0) != m_pid)
        ::kill(m_pid, SIGKILL);
    m_pid = -1;
}
