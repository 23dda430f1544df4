#pragma once
// Small helpers over POSIX descriptors for the file code of platform/base.
// Not for application code.

#include <cerrno>
#include <cstddef>
#include <unistd.h>

// Writes all size bytes, retrying on EINTR. Returns 0, or the errno value of
// the failure (ENOSPC when the system accepts no more bytes).
inline int WriteFully(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Reads up to size bytes, retrying on EINTR and short reads until the end of
// the file. Returns the count read, or -1 with errno set.
inline ssize_t ReadFully(int fd, void* data, std::size_t size)
{
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}
