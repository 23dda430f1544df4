// CBlockingSocket over the platform's sockets.

#include "labeltool/blocking_socket.h"

#include <ctime>

#include "platform/wnd/core/wnd.h"
#include "protocol/scale_stream.h"

namespace {

// The system's error number of a failed call, as the status carries it
// (0 for a time-out or a closed peer).
int CodeOf(const IoStatus& status)
{
    switch (status.Code()) {
    case IoCode::Refused:
        return 10061;
    case IoCode::Timeout:
        return 10060;
    case IoCode::PeerClosed:
        return 10054;
    default:
        return status.ok() ? 0 : 10004;
    }
}

} // namespace

CBlockingSocketException::CBlockingSocketException(const char* operation, int code)
    : m_code(code)
    , m_operation(operation)
{ }

CString CBlockingSocketException::ErrorText() const
{
    return m_code != 0 ? CString::Formatted("%s error #%d", m_operation, m_code)
                       : CString::Formatted("%s error", m_operation);
}

BOOL CBlockingSocketException::GetErrorMessage(LPTSTR buffer, UINT size, UINT* helpContext) const
{
    CopyErrorText(ErrorText(), buffer, size, helpContext);
    return TRUE;
}

void CBlockingSocket::Throw(const char* operation, const IoStatus& status)
{
    throw new CBlockingSocketException(operation, CodeOf(status));
}

void CBlockingSocket::Create()
{
    Cleanup();
}

void CBlockingSocket::Connect(const char* address, UINT port, int timeoutMs)
{
    m_backlog.clear();
    if (IoStatus status = m_socket.Connect(address, port, timeoutMs); !status.ok())
        Throw("Connect", status);
}

std::size_t CBlockingSocket::Write(std::span<const std::uint8_t> bytes, int timeoutMs)
{
    if (IoStatus status = m_socket.Send(bytes, timeoutMs); !status.ok())
        Throw(status.Code() == IoCode::Timeout ? "Send timeout" : "Send", status);
    return bytes.size();
}

std::size_t CBlockingSocket::Receive(std::span<std::uint8_t> buffer, int timeoutMs)
{
    std::size_t received = 0;
    IoStatus status = m_socket.Receive(buffer, received, timeoutMs);
    if (status.Code() == IoCode::PeerClosed)
        return 0;
    if (!status.ok())
        Throw(status.Code() == IoCode::Timeout ? "Receive timeout" : "Receive", status);
    return received;
}

BOOL CBlockingSocket::ReceiveEvent(ScalePacketFramer& framer, ScalePacketFramer::Event& out, int timeoutMs)
{
    IoStatus status = ReceiveScaleEvent(m_socket, framer, m_backlog, out, timeoutMs);
    if (status.Code() == IoCode::PeerClosed)
        return FALSE;
    if (!status.ok())
        Throw(status.Code() == IoCode::Timeout ? "Receive timeout" : "Receive", status);
    return TRUE;
}

void CBlockingSocket::Close()
{
    m_socket.Close();
}

void CBlockingSocket::Cleanup()
{
    Close();
}

void CBlockingSocket::LogError(CWnd* window, const char* message, const CBlockingSocketException& e)
{
    const std::time_t now = std::time(nullptr);
    char when[32] = {};
    if (const std::tm* gmt = std::gmtime(&now))
        std::strftime(when, sizeof when, "%m/%d/%y %H:%M:%S GMT", gmt);
    char text[50] = {};
    e.GetErrorMessage(text, 49);
    const CString line = CString::Formatted("WINSOCK ERROR--%s %s -- %s\r\n", message, text, when);
    if (window && window->GetSafeHwnd())
        window->SendMessage(WM_SOCKET_LOG, 0, reinterpret_cast<LPARAM>(line.GetString()));
}
