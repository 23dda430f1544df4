#include "platform/net/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/net/socket_impl.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline; negative timeouts mean no limit.
int Remaining(int timeoutMs, Clock::time_point start)
{
    if (timeoutMs < 0)
        return -1;
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return spent >= timeoutMs ? 0 : static_cast<int>(timeoutMs - spent);
}

IoStatus Resolve(const char* address, UINT port, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port > 0xFFFF)
        return IoStatus::Error(IoCode::InvalidArgument, "port " + std::to_string(port) + " out of range");
    if (address == nullptr || *address == '\0') {
        out.sin_addr.s_addr = htonl(INADDR_ANY);
        return IoStatus::Ok();
    }
    if (inet_pton(AF_INET, address, &out.sin_addr) == 1)
        return IoStatus::Ok();
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address, nullptr, &hints, &found) != 0 || found == nullptr)
        return IoStatus::Error(IoCode::NotFound, std::string("no address for \"") + address + "\"");
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return IoStatus::Ok();
}

int NewStreamSocket()
{
    return socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

void SetNoDelay(int fd)
{
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

} // namespace

int PollFd(int fd, short events, int timeoutMs)
{
    const auto start = Clock::now();
    for (;;) {
        pollfd p { fd, events, 0 };
        const int n = poll(&p, 1, Remaining(timeoutMs, start));
        if (n > 0)
            return p.revents;
        if (n == 0)
            return 0;
        if (errno != EINTR)
            return -1;
    }
}

CSocket::CSocket()
    : m_impl(std::make_unique<Impl>())
{ }

CSocket::~CSocket()
{
    Close();
}

CSocket::CSocket(CSocket&& other) noexcept
    : m_impl(std::make_unique<Impl>())
{
    m_impl->fd = other.m_impl->fd.exchange(-1);
}

CSocket& CSocket::operator=(CSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        m_impl->fd = other.m_impl->fd.exchange(-1);
    }
    return *this;
}

IoStatus CSocket::Connect(const char* address, UINT port, int timeoutMs, const char* from)
{
    Close();
    if (address == nullptr || *address == '\0')
        return IoStatus::Error(IoCode::InvalidArgument, "connect without an address");
    sockaddr_in peer {};
    if (IoStatus s = Resolve(address, port, peer); !s.ok())
        return s;
    const int fd = NewStreamSocket();
    if (fd < 0)
        return IoStatus::FromErrno(errno, "socket()");
    SetNoDelay(fd);
    const std::string where = std::string(address) + ":" + std::to_string(port);
    if (from) {
        sockaddr_in local {};
        if (IoStatus s = Resolve(from, 0, local); !s.ok()) {
            ::close(fd);
            return s;
        }
        if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            const int err = errno;
            ::close(fd);
            return IoStatus::FromErrno(err, "bind " + std::string(from));
        }
    }
    int rc;
    do {
        rc = connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINPROGRESS) {
        const int err = errno;
        ::close(fd);
        return IoStatus::FromErrno(err, "connect " + where);
    }
    if (rc != 0) {
        const int revents = PollFd(fd, POLLOUT, timeoutMs);
        if (revents == 0) {
            ::close(fd);
            return IoStatus::Error(IoCode::Timeout,
                "connect " + where + ": no answer within " + std::to_string(timeoutMs) + " ms");
        }
        int err = 0;
        socklen_t length = sizeof err;
        if (revents < 0)
            err = errno;
        else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0)
            err = errno;
        if (err != 0) {
            ::close(fd);
            return IoStatus::FromErrno(err, "connect " + where);
        }
    }
    m_impl->fd = fd;
    return IoStatus::Ok();
}

namespace {

std::string Where(const char* address, UINT port)
{
    return std::string(address ? address : "") + ":" + std::to_string(port);
}

// A new stream socket bound to address and port, in fd; what names the call in
// a failure's text.
IoStatus BoundSocket(const char* address, UINT port, bool reuseAddress, const char* what, int& fd)
{
    sockaddr_in local {};
    if (IoStatus s = Resolve(address, port, local); !s.ok())
        return s;
    fd = NewStreamSocket();
    if (fd < 0)
        return IoStatus::FromErrno(errno, "socket()");
    if (reuseAddress) {
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        const int err = errno;
        ::close(fd);
        fd = -1;
        return IoStatus::FromErrno(err, std::string(what) + " " + Where(address, port));
    }
    return IoStatus::Ok();
}

} // namespace

IoStatus CSocket::Listen(const char* address, UINT port, int backlog)
{
    Close();
    int fd = -1;
    if (IoStatus s = BoundSocket(address, port, true, "listen", fd); !s.ok())
        return s;
    if (listen(fd, backlog) != 0) {
        const int err = errno;
        ::close(fd);
        return IoStatus::FromErrno(err, "listen " + Where(address, port));
    }
    m_impl->fd = fd;
    return IoStatus::Ok();
}

IoStatus CSocket::Bind(const char* address, UINT port)
{
    Close();
    int fd = -1;
    if (IoStatus s = BoundSocket(address, port, false, "bind", fd); !s.ok())
        return s;
    m_impl->fd = fd;
    return IoStatus::Ok();
}

IoStatus CSocket::Accept(CSocket& connected, int timeoutMs)
{
    const int fd = m_impl->fd;
    if (fd < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "accept on a closed socket");
    const auto start = Clock::now();
    for (;;) {
        const int revents = PollFd(fd, POLLIN, Remaining(timeoutMs, start));
        if (revents == 0)
            return IoStatus::Error(
                IoCode::Timeout, "no connection within " + std::to_string(timeoutMs) + " ms");
        if (revents < 0)
            return IoStatus::FromErrno(errno, "accept");
        const int client = accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client >= 0) {
            SetNoDelay(client);
            connected.Close();
            connected.m_impl->fd = client;
            return IoStatus::Ok();
        }
        if (errno != EAGAIN && errno != EINTR && errno != ECONNABORTED)
            return IoStatus::FromErrno(errno, "accept");
    }
}

IoStatus CSocket::Send(std::span<const std::uint8_t> bytes, int timeoutMs)
{
    const int fd = m_impl->fd;
    if (fd < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "send on a closed socket");
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return IoStatus::FromErrno(errno, "send");
        const int revents = PollFd(fd, POLLOUT, Remaining(timeoutMs, start));
        if (revents == 0)
            return IoStatus::Error(IoCode::Timeout,
                std::to_string(bytes.size() - sent) + " bytes not taken within " + std::to_string(timeoutMs)
                    + " ms");
        if (revents < 0)
            return IoStatus::FromErrno(errno, "send");
    }
    return IoStatus::Ok();
}

IoStatus CSocket::SendSome(std::span<const std::uint8_t> bytes, std::size_t& sent)
{
    sent = 0;
    const int fd = m_impl->fd;
    if (fd < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "send on a closed socket");
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return IoStatus::FromErrno(errno, "send");
        break; // the connection takes nothing more now
    }
    return IoStatus::Ok();
}

IoStatus CSocket::Receive(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs)
{
    received = 0;
    const int fd = m_impl->fd;
    if (fd < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "receive on a closed socket");
    if (buffer.empty())
        return IoStatus::Error(IoCode::InvalidArgument, "receive into an empty buffer");
    const auto start = Clock::now();
    for (;;) {
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n > 0) {
            received = static_cast<std::size_t>(n);
            return IoStatus::Ok();
        }
        if (n == 0)
            return IoStatus::Error(IoCode::PeerClosed, "the peer closed the connection");
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return IoStatus::FromErrno(errno, "recv");
        const int revents = PollFd(fd, POLLIN, Remaining(timeoutMs, start));
        if (revents == 0)
            return IoStatus::Error(
                IoCode::Timeout, "nothing received within " + std::to_string(timeoutMs) + " ms");
        if (revents < 0)
            return IoStatus::FromErrno(errno, "recv");
    }
}

void CSocket::ShutDown()
{
    const int fd = m_impl->fd;
    if (fd >= 0)
        shutdown(fd, SHUT_RDWR);
}

void CSocket::Close()
{
    const int fd = m_impl->fd.exchange(-1);
    if (fd >= 0)
        ::close(fd);
}

void CSocket::Abort()
{
    const int fd = m_impl->fd.exchange(-1);
    if (fd < 0)
        return;
    const linger now { 1, 0 };
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    ::close(fd);
}

BOOL CSocket::IsOpen() const
{
    return m_impl->fd >= 0;
}

UINT CSocket::GetLocalPort() const
{
    sockaddr_in local {};
    socklen_t length = sizeof local;
    if (m_impl->fd < 0 || getsockname(m_impl->fd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

std::string CSocket::GetPeerAddress() const
{
    sockaddr_in peer {};
    socklen_t length = sizeof peer;
    if (m_impl->fd < 0 || getpeername(m_impl->fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return std::string();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
    return text;
}
