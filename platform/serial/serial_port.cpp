#include "platform/serial/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace {

std::mutex g_readFaultLock;
std::function<int()> g_readFault;

std::function<int()> ReadFault()
{
    std::lock_guard<std::mutex> lock(g_readFaultLock);
    return g_readFault;
}

std::mutex g_deviceLock;
std::map<UINT, std::string>& DeviceOverrides()
{
    static std::map<UINT, std::string> overrides;
    return overrides;
}

struct BaudEntry {
    UINT baud;
    speed_t speed;
};
constexpr BaudEntry kBauds[] = {
    { 110, B110 },
    { 300, B300 },
    { 600, B600 },
    { 1200, B1200 },
    { 2400, B2400 },
    { 4800, B4800 },
    { 9600, B9600 },
    { 19200, B19200 },
    { 38400, B38400 },
    { 57600, B57600 },
    { 115200, B115200 },
};

bool SpeedOf(UINT baud, speed_t& out)
{
    for (const BaudEntry& e : kBauds) {
        if (e.baud == baud) {
            out = e.speed;
            return true;
        }
    }
    return false;
}

UINT BaudOf(speed_t speed)
{
    for (const BaudEntry& e : kBauds) {
        if (e.speed == speed)
            return e.baud;
    }
    return 0;
}

} // namespace

std::string SerialDevicePath(UINT port)
{
    {
        std::lock_guard<std::mutex> lock(g_deviceLock);
        const auto it = DeviceOverrides().find(port);
        if (it != DeviceOverrides().end())
            return it->second;
    }
    const std::string variable = "CALVORN_COM" + std::to_string(port);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0')
        return path;
    return "/dev/ttyS" + std::to_string(port >= 1 ? port - 1 : 0);
}

void SetSerialReadFaultForTest(std::function<int()> fault)
{
    std::lock_guard<std::mutex> lock(g_readFaultLock);
    g_readFault = std::move(fault);
}

void SetSerialDevicePath(UINT port, const std::string& path)
{
    std::lock_guard<std::mutex> lock(g_deviceLock);
    if (path.empty())
        DeviceOverrides().erase(port);
    else
        DeviceOverrides()[port] = path;
}

struct CSerialPort::Impl {
    // Set before monitoring; read by the monitoring thread.
    ByteHandler byteHandler;
    ErrorHook errorHook;
    UINT portNumber = 0;
    DWORD eventMask = 0;

    // The port lock guards the device, its saved settings and the write buffer.
    std::mutex portLock;
    int fd = -1;
    termios saved {};
    bool savedValid = false;
    std::vector<std::uint8_t> writeBuffer;
    std::size_t writeLength = 0;

    std::thread thread;
    std::atomic<bool> alive { false };
    std::atomic<bool> stopRequested { false };
    std::atomic<bool> writeRequested { false };
    int wake[2] = { -1, -1 };

    ~Impl() { CloseWake(); }

    void CloseWake()
    {
        for (int& f : wake) {
            if (f >= 0)
                ::close(f);
            f = -1;
        }
    }

    void ReportError(const char* call, int err)
    {
        if (!errorHook)
            return;
        CString text;
        text.Format("WARNING:  %s Failed with the following error: \n%s\nPort: %d\n", call,
            std::strerror(err), static_cast<int>(portNumber));
        errorHook(text);
    }

    // Under the port lock.
    void CloseDevice()
    {
        if (fd < 0)
            return;
        if (savedValid)
            tcsetattr(fd, TCSANOW, &saved);
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        fd = -1;
        savedValid = false;
    }

    // A failed system call: its name and errno. Hooks are never called with the
    // port lock held (a hook that shows a message box runs a nested loop, whose
    // handlers may use the port again), so failures found under the lock are
    // kept and reported after it is released.
    struct Failure {
        const char* call = nullptr;
        int err = 0;
        explicit operator bool() const { return call != nullptr; }
    };

    void Report(const Failure& failure)
    {
        if (failure)
            ReportError(failure.call, failure.err);
    }

    // Raw line of the given settings, RTS off; the first failing step is returned.
    Failure ApplyLine(UINT baud, char parity, UINT dataBits, UINT stopBits)
    {
        speed_t speed = B38400;
        if (!SpeedOf(baud, speed) || dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2)
            || std::string_view("NEOMS").find(parity) == std::string_view::npos)
            return { "BuildCommDCB()", EINVAL };
        static constexpr tcflag_t kSizes[] = { CS5, CS6, CS7, CS8 };
        termios line {};
        line.c_cflag = CREAD | CLOCAL | kSizes[dataBits - 5];
        if (stopBits == 2)
            line.c_cflag |= CSTOPB;
        // Mark and space: the parity bit stuck at 1 (odd) or 0 (even).
        if (parity != 'N') {
            line.c_cflag |= PARENB | (parity == 'O' || parity == 'M' ? PARODD : 0);
            line.c_cflag |= parity == 'M' || parity == 'S' ? CMSPAR : 0;
            line.c_iflag |= INPCK;
        }
        line.c_cc[VMIN] = 1;
        line.c_cc[VTIME] = 0;
        cfsetispeed(&line, speed);
        cfsetospeed(&line, speed);
        if (tcsetattr(fd, TCSANOW, &line) != 0)
            return { "SetCommState()", errno };
        int rts = TIOCM_RTS; // a pseudo-terminal has no modem lines
        if (ioctl(fd, TIOCMBIC, &rts) != 0 && errno != ENOTTY && errno != EINVAL)
            return { "SetCommState()", errno };
        return {};
    }

    void Signal()
    {
        if (wake[1] >= 0) {
            const std::uint8_t byte = 1;
            [[maybe_unused]] const ssize_t n = ::write(wake[1], &byte, 1);
        }
    }

    // Copies a block into the write buffer; false when the port is closed or the
    // block does not fit. Under the port lock.
    bool Queue(std::span<const std::uint8_t> bytes)
    {
        if (fd < 0 || bytes.size() > writeBuffer.size())
            return false;
        std::copy(bytes.begin(), bytes.end(), writeBuffer.begin());
        writeLength = bytes.size();
        return true;
    }

    // Writes the queued bytes after dropping unread input. Under the port lock;
    // a failure is returned for reporting after the lock is released.
    Failure WriteQueued(bool& written)
    {
        written = false;
        if (fd < 0)
            return {};
        tcflush(fd, TCIFLUSH);
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000 + writeLength);
        std::size_t done = 0;
        while (done < writeLength) {
            const ssize_t n = ::write(fd, writeBuffer.data() + done, writeLength - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                return { "WriteFile()", errno };
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p { fd, POLLOUT, 0 };
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0)
                return { "GetOverlappedResults() in WriteFile()", ETIMEDOUT };
        }
        written = true;
        return {};
    }

    enum class Receive {
        Bytes, // at least one byte was handed on
        Nothing, // the driver held nothing
        Failed, // the read failed (reported unless the run of failures already was)
    };

    // Reads what the driver holds and hands it on byte by byte. A failure is
    // reported when reported is false, which it then becomes.
    Receive ReceiveChars(bool& reported)
    {
        std::array<std::uint8_t, 256> chunk;
        bool got = false;
        for (;;) {
            ssize_t n;
            int err = 0;
            {
                std::lock_guard<std::mutex> lock(portLock);
                if (fd < 0 || stopRequested)
                    return got ? Receive::Bytes : Receive::Nothing;
                const std::function<int()> fault = ReadFault();
                if (const int injected = fault ? fault() : 0; injected != 0) {
                    n = -1;
                    err = injected;
                } else {
                    n = ::read(fd, chunk.data(), chunk.size());
                    err = n < 0 ? errno : 0;
                }
            }
            if (n < 0 && err == EINTR)
                continue;
            if (n < 0 && err == EAGAIN)
                return got ? Receive::Bytes : Receive::Nothing;
            if (n <= 0) {
                if (!reported)
                    ReportError("ReadFile()", n < 0 ? err : EIO);
                reported = true;
                return Receive::Failed;
            }
            got = true;
            reported = false; // a read that works ends a run of failures
            for (ssize_t i = 0; i < n && !stopRequested; ++i) {
                if (byteHandler)
                    byteHandler(chunk[static_cast<std::size_t>(i)]);
            }
        }
    }

    // A failing device rests before it is watched again: first kFirstRestMs,
    // doubling up to kLongestRestMs while it keeps failing.
    static constexpr int kFirstRestMs = 10;
    static constexpr int kLongestRestMs = 1000;
    static int NextRest(int restMs)
    {
        return restMs == 0 ? kFirstRestMs : std::min(restMs * 2, kLongestRestMs);
    }

    // Waits for received bytes, a write request or the end. Failures of the wait
    // or of a read are reported once per run of failures and the thread goes
    // on; a device that keeps failing (a hang-up) rests between tries instead of
    // being polled at full speed.
    void CommThread()
    {
        const bool watchReceive = (eventMask & EV_RXCHAR) != 0;
        int restMs = 0; // rest after the last failure; 0 while the device works
        bool resting = false;
        bool reported = false; // the current run of failures was reported
        auto failed = [&] {
            restMs = NextRest(restMs);
            resting = true;
        };
        while (!stopRequested) {
            int device;
            {
                std::lock_guard<std::mutex> lock(portLock);
                device = fd;
            }
            pollfd p[2] = { { watchReceive && !resting ? device : -1, POLLIN, 0 }, { wake[0], POLLIN, 0 } };
            const int ready = poll(p, 2, resting ? restMs : -1);
            if (ready < 0) {
                if (errno != EINTR) {
                    if (!reported)
                        ReportError("WaitCommEvent()", errno);
                    reported = true;
                    failed();
                }
                continue;
            }
            if (ready == 0) { // rested: watch the device again
                resting = false;
                continue;
            }
            if (p[1].revents != 0) {
                std::uint8_t drain[64];
                while (::read(wake[0], drain, sizeof drain) > 0) { }
                if (stopRequested)
                    break;
                if (writeRequested.exchange(false)) {
                    Failure failure;
                    bool written = false;
                    {
                        std::lock_guard<std::mutex> lock(portLock);
                        failure = WriteQueued(written);
                    }
                    Report(failure);
                }
            }
            if (p[0].revents == 0)
                continue;
            switch (ReceiveChars(reported)) {
            case Receive::Bytes:
                restMs = 0;
                break;
            case Receive::Nothing:
                if ((p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
                    failed(); // hung up with nothing to read
                break;
            case Receive::Failed:
                failed();
                break;
            }
        }
        alive = false;
    }

    void StopThread()
    {
        stopRequested = true;
        Signal();
        if (!thread.joinable())
            return;
        if (thread.get_id() == std::this_thread::get_id())
            return; // from the byte handler: the thread ends after it
        thread.join();
        CloseWake();
    }
};

CSerialPort::CSerialPort()
    : m_impl(std::make_shared<Impl>())
{ }

CSerialPort::~CSerialPort()
{
    Close();
    if (m_impl->thread.joinable())
        m_impl->thread.detach(); // destroyed from its own byte handler: the thread keeps Impl alive
}

void CSerialPort::SetByteHandler(ByteHandler handler)
{
    m_impl->byteHandler = std::move(handler);
}
void CSerialPort::SetErrorHook(ErrorHook hook)
{
    m_impl->errorHook = std::move(hook);
}

BOOL CSerialPort::InitPort(UINT portNumber, UINT baud, char parity, UINT dataBits, UINT stopBits,
    DWORD eventMask, UINT writeBufferSize)
{
    Impl& m = *m_impl;
    m.StopThread();
    std::unique_lock<std::mutex> lock(m.portLock);
    m.writeBuffer.assign(writeBufferSize, 0);
    m.writeLength = 0;
    m.portNumber = portNumber;
    m.eventMask = eventMask;
    m.CloseDevice();

    const std::string path = SerialDevicePath(portNumber);
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FALSE;
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        ::close(fd);
        return FALSE;
    }
    m.fd = fd;

    m.savedValid = tcgetattr(fd, &m.saved) == 0;
    Impl::Failure failure;
    if (!m.savedValid)
        failure = { "GetCommState()", errno };
    else
        failure = m.ApplyLine(baud, parity, dataBits, stopBits);
    tcflush(fd, TCIOFLUSH);
    lock.unlock();
    m.Report(failure);
    if (!failure)
        return TRUE;
    // A line that cannot be set (or a device that is no serial port) is no port.
    lock.lock();
    m.CloseDevice();
    return FALSE;
}

BOOL CSerialPort::StartMonitoring()
{
    Impl& m = *m_impl;
    if (m.alive)
        return TRUE;
    {
        // Purged before the thread runs, so that every byte that arrives once
        // this call has returned is handed over.
        std::lock_guard<std::mutex> lock(m.portLock);
        if (m.fd < 0)
            return FALSE;
        tcflush(m.fd, TCIOFLUSH);
    }
    m.StopThread();
    if (pipe2(m.wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return FALSE;
    m.stopRequested = false;
    m.writeRequested = false;
    m.alive = true;
    m.thread = std::thread([impl = m_impl] { impl->CommThread(); });
    return TRUE;
}

BOOL CSerialPort::StopMonitoring()
{
    m_impl->StopThread();
    return TRUE;
}

void CSerialPort::Close()
{
    StopMonitoring();
    std::lock_guard<std::mutex> lock(m_impl->portLock);
    m_impl->CloseDevice();
}

BOOL CSerialPort::WriteToPort(std::span<const std::uint8_t> bytes)
{
    Impl& m = *m_impl;
    Impl::Failure failure;
    bool written = false;
    {
        std::lock_guard<std::mutex> lock(m.portLock);
        if (m.Queue(bytes))
            failure = m.WriteQueued(written);
    }
    m.Report(failure);
    return written ? TRUE : FALSE;
}

BOOL CSerialPort::SendRaw(std::span<const std::uint8_t> bytes)
{
    Impl& m = *m_impl;
    {
        std::lock_guard<std::mutex> lock(m.portLock);
        if (!m.Queue(bytes))
            return FALSE;
    }
    KickWrite();
    return TRUE;
}

void CSerialPort::KickWrite()
{
    m_impl->writeRequested = true;
    m_impl->Signal();
}

BOOL CSerialPort::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_impl->portLock);
    return m_impl->fd >= 0;
}

BOOL CSerialPort::IsMonitoring() const
{
    return m_impl->alive;
}
UINT CSerialPort::GetPortNumber() const
{
    return m_impl->portNumber;
}

UINT CSerialPort::GetWriteBufferSize() const
{
    std::lock_guard<std::mutex> lock(m_impl->portLock);
    return static_cast<UINT>(m_impl->writeBuffer.size());
}

DWORD CSerialPort::GetInputQueueCount() const
{
    std::lock_guard<std::mutex> lock(m_impl->portLock);
    int count = 0;
    if (m_impl->fd < 0 || ioctl(m_impl->fd, FIONREAD, &count) != 0)
        return 0;
    return static_cast<DWORD>(count);
}

BOOL CSerialPort::GetLineSettings(SerialLineSettings& out) const
{
    std::lock_guard<std::mutex> lock(m_impl->portLock);
    termios line {};
    if (m_impl->fd < 0 || tcgetattr(m_impl->fd, &line) != 0)
        return FALSE;
    out.baud = BaudOf(cfgetospeed(&line));
    const bool odd = (line.c_cflag & PARODD) != 0;
    if ((line.c_cflag & PARENB) == 0)
        out.parity = 'N';
    else if ((line.c_cflag & CMSPAR) != 0)
        out.parity = odd ? 'M' : 'S';
    else
        out.parity = odd ? 'O' : 'E';
    switch (line.c_cflag & CSIZE) {
    case CS5:
        out.dataBits = 5;
        break;
    case CS6:
        out.dataBits = 6;
        break;
    case CS7:
        out.dataBits = 7;
        break;
    default:
        out.dataBits = 8;
        break;
    }
    out.stopBits = (line.c_cflag & CSTOPB) != 0 ? 2 : 1;
    out.rawMode = (line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0
        && (line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP)) == 0
        && (line.c_oflag & OPOST) == 0;
    return TRUE;
}
