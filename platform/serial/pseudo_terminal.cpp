#include "platform/serial/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

struct CPseudoTerminal::Impl {
    int master = -1;
    int slave = -1;
    std::string slavePath;
    int wake[2] = { -1, -1 };
    std::atomic<bool> interrupted { false };

    void CloseAll()
    {
        for (int* fd : { &master, &slave, &wake[0], &wake[1] }) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
        slavePath.clear();
    }
};

namespace {

using Clock = std::chrono::steady_clock;

int Left(int timeoutMs, Clock::time_point start)
{
    if (timeoutMs < 0)
        return -1;
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return spent >= timeoutMs ? 0 : static_cast<int>(timeoutMs - spent);
}

} // namespace

CPseudoTerminal::CPseudoTerminal()
    : m_impl(std::make_unique<Impl>())
{ }

CPseudoTerminal::~CPseudoTerminal()
{
    Close();
}

IoStatus CPseudoTerminal::Open()
{
    Close();
    Impl& m = *m_impl;
    m.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m.master < 0)
        return IoStatus::FromErrno(errno, "posix_openpt");
    char name[128] = {};
    if (grantpt(m.master) != 0 || unlockpt(m.master) != 0 || ptsname_r(m.master, name, sizeof name) != 0) {
        const int err = errno;
        m.CloseAll();
        return IoStatus::FromErrno(err, "pseudo-terminal slave");
    }
    m.slavePath = name;
    m.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m.slave < 0 || pipe2(m.wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int err = errno;
        m.CloseAll();
        return IoStatus::FromErrno(err, "open pseudo-terminal");
    }
    termios line {};
    tcgetattr(m.slave, &line);
    cfmakeraw(&line);
    tcsetattr(m.slave, TCSANOW, &line);
    fcntl(m.master, F_SETFL, fcntl(m.master, F_GETFL) | O_NONBLOCK);
    m.interrupted = false;
    return IoStatus::Ok();
}

void CPseudoTerminal::Close()
{
    m_impl->CloseAll();
}

bool CPseudoTerminal::IsOpen() const
{
    return m_impl->master >= 0;
}

std::string CPseudoTerminal::SlavePath() const
{
    return m_impl->slavePath;
}

IoStatus CPseudoTerminal::Write(std::span<const std::uint8_t> bytes, int timeoutMs)
{
    Impl& m = *m_impl;
    if (m.master < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "pseudo-terminal not open");
    const auto start = Clock::now();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m.master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return IoStatus::FromErrno(errno, "write pseudo-terminal");
        pollfd p { m.master, POLLOUT, 0 };
        if (poll(&p, 1, Left(timeoutMs, start)) == 0)
            return IoStatus::Error(IoCode::Timeout, "line full");
    }
    return IoStatus::Ok();
}

IoStatus CPseudoTerminal::Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs)
{
    Impl& m = *m_impl;
    received = 0;
    if (m.master < 0 || buffer.empty())
        return IoStatus::Error(IoCode::InvalidArgument, "pseudo-terminal not open");
    const auto start = Clock::now();
    for (;;) {
        if (m.interrupted)
            return IoStatus::Error(IoCode::PeerClosed, "interrupted");
        const ssize_t n = ::read(m.master, buffer.data(), buffer.size());
        if (n > 0) {
            received = static_cast<std::size_t>(n);
            return IoStatus::Ok();
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return IoStatus::FromErrno(errno, "read pseudo-terminal");
        pollfd p[2] = { { m.master, POLLIN, 0 }, { m.wake[0], POLLIN, 0 } };
        const int ready = poll(p, 2, Left(timeoutMs, start));
        if (ready == 0)
            return IoStatus::Error(
                IoCode::Timeout, "nothing on the line within " + std::to_string(timeoutMs) + " ms");
        if (ready < 0 && errno != EINTR)
            return IoStatus::FromErrno(errno, "poll pseudo-terminal");
    }
}

void CPseudoTerminal::Interrupt()
{
    Impl& m = *m_impl;
    m.interrupted = true;
    if (m.wake[1] >= 0) {
        const std::uint8_t byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(m.wake[1], &byte, 1);
    }
}
