#pragma once
// Inside of CSocket, shared with CSocketReader.

#include <atomic>

#include "platform/net/socket.h"

struct CSocket::Impl {
    std::atomic<int> fd { -1 };
};

// Waits until fd has one of events or the deadline passes (negative: no limit).
// Returns the poll revents, 0 on time-out, -1 with errno on failure.
int PollFd(int fd, short events, int timeoutMs);
