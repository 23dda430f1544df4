#include "platform/net/socket_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <thread>

#include "platform/net/socket_impl.h"

struct CSocketReader::Impl {
    std::thread thread;
    std::atomic<bool> running { false };
    std::atomic<bool> stopRequested { false };
    int wake[2] = { -1, -1 }; // pipe: a byte in it ends the thread

    ~Impl() { CloseWake(); }

    void CloseWake()
    {
        for (int& fd : wake) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }

    void Run(int fd, ISocketSink& sink, UINT_PTR job)
    {
        std::array<std::uint8_t, 4096> buffer;
        IoStatus why = IoStatus::Ok();
        while (!stopRequested) {
            pollfd p[2] = { { fd, POLLIN, 0 }, { wake[0], POLLIN, 0 } };
            const int n = poll(p, 2, -1);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                why = IoStatus::FromErrno(errno, "poll");
                break;
            }
            if (p[1].revents != 0)
                break;
            const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
            if (got > 0) {
                sink.OnSocketBytes(job, std::span(buffer.data(), static_cast<std::size_t>(got)));
                continue;
            }
            if (got == 0) {
                why = IoStatus::Error(IoCode::PeerClosed, "the peer closed the connection");
                break;
            }
            if (errno != EINTR && errno != EAGAIN) {
                why = IoStatus::FromErrno(errno, "recv");
                break;
            }
        }
        running = false;
        sink.OnSocketClosed(job, why);
    }

    void Join()
    {
        if (thread.joinable()) {
            if (thread.get_id() == std::this_thread::get_id())
                thread.detach();
            else
                thread.join();
        }
        CloseWake();
    }
};

CSocketReader::CSocketReader()
    : m_impl(std::make_shared<Impl>())
{ }

CSocketReader::~CSocketReader()
{
    Stop();
    if (m_impl->thread.joinable()) // destroyed from its own sink: the thread keeps Impl alive
        m_impl->thread.detach();
}

IoStatus CSocketReader::Start(CSocket& socket, ISocketSink& sink, UINT_PTR job)
{
    const int fd = socket.m_impl->fd;
    if (fd < 0)
        return IoStatus::Error(IoCode::InvalidArgument, "reader on a closed socket");
    if (m_impl->running)
        return IoStatus::Error(IoCode::InvalidArgument, "the reader already runs");
    m_impl->Join(); // a reader that ended by itself
    if (pipe2(m_impl->wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return IoStatus::FromErrno(errno, "pipe2");
    m_impl->stopRequested = false;
    m_impl->running = true;
    m_impl->thread = std::thread([impl = m_impl, fd, &sink, job] { impl->Run(fd, sink, job); });
    return IoStatus::Ok();
}

void CSocketReader::Stop()
{
    m_impl->stopRequested = true;
    if (m_impl->wake[1] >= 0) {
        const std::uint8_t byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_impl->wake[1], &byte, 1);
    }
    if (m_impl->thread.joinable() && m_impl->thread.get_id() == std::this_thread::get_id())
        return; // called from the sink: the thread ends after this call
    m_impl->Join();
}

BOOL CSocketReader::IsRunning() const
{
    return m_impl->running;
}
