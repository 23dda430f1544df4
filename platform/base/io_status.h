#pragma once
// Outcome of a byte-link operation (socket, serial port, frame or packet codec):
// a code and a context text. Call sites test ok() and show Text() or
// ToString() when something went wrong; errno never crosses this boundary.

#include <string>
#include <string_view>
#include <utility>

enum class IoCode {
    Ok,
    Timeout,
    PeerClosed,
    Refused,
    NotFound,
    BadChecksum,
    BadLength,
    UnexpectedReply,
    InvalidArgument,
    IoError,
};

// Stable name of a code for logs and test output ("TIMEOUT", "BAD_LENGTH" ...).
const char* ToString(IoCode code);

class [[nodiscard]] IoStatus {
public:
    IoStatus() = default;
    static IoStatus Ok() { return IoStatus(); }
    static IoStatus Error(IoCode code, std::string text) { return IoStatus(code, std::move(text)); }
    // Maps an errno value of a failed system call named by context.
    static IoStatus FromErrno(int err, std::string_view context);

    bool ok() const { return m_code == IoCode::Ok; }
    IoCode Code() const { return m_code; }
    const std::string& Text() const { return m_text; }
    // "OK", or "<CODE>: <text>".
    std::string ToString() const;

private:
    IoStatus(IoCode code, std::string text)
        : m_code(code)
        , m_text(std::move(text))
    { }

    IoCode m_code = IoCode::Ok;
    std::string m_text;
};
