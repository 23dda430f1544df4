#include "platform/base/io_status.h"

#include <cerrno>
#include <cstring>

const char* ToString(IoCode code)
{
    switch (code) {
    case IoCode::Ok:
        return "OK";
    case IoCode::Timeout:
        return "TIMEOUT";
    case IoCode::PeerClosed:
        return "PEER_CLOSED";
    case IoCode::Refused:
        return "REFUSED";
    case IoCode::NotFound:
        return "NOT_FOUND";
    case IoCode::BadChecksum:
        return "BAD_CHECKSUM";
    case IoCode::BadLength:
        return "BAD_LENGTH";
    case IoCode::UnexpectedReply:
        return "UNEXPECTED_REPLY";
    case IoCode::InvalidArgument:
        return "INVALID_ARGUMENT";
    case IoCode::IoError:
        return "IO_ERROR";
    }
    return "UNKNOWN";
}

IoStatus IoStatus::FromErrno(int err, std::string_view context)
{
    IoCode code = IoCode::IoError;
    switch (err) {
    case ETIMEDOUT:
    case EAGAIN:
        code = IoCode::Timeout;
        break;
    case ECONNREFUSED:
        code = IoCode::Refused;
        break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        code = IoCode::NotFound;
        break;
    case EPIPE:
    case ECONNRESET:
    case ENOTCONN:
        code = IoCode::PeerClosed;
        break;
    case EINVAL:
    case EBADF:
        code = IoCode::InvalidArgument;
        break;
    default:
        break;
    }
    std::string text(context);
    text += ": ";
    text += std::strerror(err);
    return IoStatus(code, std::move(text));
}

std::string IoStatus::ToString() const
{
    if (ok())
        return "OK";
    std::string s = ::ToString(m_code);
    if (!m_text.empty()) {
        s += ": ";
        s += m_text;
    }
    return s;
}
