#pragma once
// CBlockingSocket: TCP calls that block the calling thread, each under a
// limit, with every failure thrown as a CBlockingSocketException (thrown by
// pointer; the catcher calls Delete). The socket closes itself when destroyed.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/base/exception.h"
#include "platform/net/socket.h"
#include "protocol/scale_packet.h"

class CWnd;

class CBlockingSocketException : public CException {
public:
    // operation: the failed call ("Connect", "Receive timeout" ...); code: the
    // system's error number, 0 when there is none.
    CBlockingSocketException(const char* operation, int code);

    // "<operation> error #<code>", or "<operation> error" for code 0, cut to
    // size - 1 characters. TRUE.
    BOOL GetErrorMessage(LPTSTR buffer, UINT size, UINT* helpContext = nullptr) const override;
    const CString& GetOperation() const { return m_operation; }
    int GetCode() const { return m_code; }

protected:
    CString ErrorText() const override;

private:
    int m_code;
    CString m_operation;
};

class CBlockingSocket {
public:
    CBlockingSocket() = default;
    ~CBlockingSocket() { Cleanup(); }
    CBlockingSocket(const CBlockingSocket&) = delete;
    CBlockingSocket& operator=(const CBlockingSocket&) = delete;

    // A stream socket; connecting opens it.
    void Create();
    // Port of the dotted address, waiting at most timeoutMs: "Connect".
    void Connect(const char* address, UINT port, int timeoutMs);
    // Every byte, each send under timeoutMs: "Send timeout" or "Send".
    std::size_t Write(std::span<const std::uint8_t> bytes, int timeoutMs);
    // One read of at most buffer.size() bytes under timeoutMs ("Receive
    // timeout", "Receive"); 0 when the peer has closed.
    std::size_t Receive(std::span<std::uint8_t> buffer, int timeoutMs);
    // The next greeting or whole packet of the stream under timeoutMs,
    // "Receive timeout" or "Receive"; FALSE when the peer has closed first.
    BOOL ReceiveEvent(ScalePacketFramer& framer, ScalePacketFramer::Event& out, int timeoutMs);
    // "Close" never fails here; closing a closed socket does nothing.
    void Close();
    // Closes without looking at the result; never throws.
    void Cleanup();

    BOOL IsOpen() const { return m_socket.IsOpen(); }

    // "WINSOCK ERROR--<message> <error text> -- <time GMT>\r\n" sent to window
    // as message 0x423 (lParam: the text).
    static void LogError(CWnd* window, const char* message, const CBlockingSocketException& e);

private:
    [[noreturn]] static void Throw(const char* operation, const IoStatus& status);

    CSocket m_socket;
    std::vector<ScalePacketFramer::Event> m_backlog;
};

inline constexpr UINT WM_SOCKET_LOG = 0x423;
