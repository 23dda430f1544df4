#pragma once
// A thread that reads a connected socket and hands every block it receives, in
// order and tagged with a job number, to a sink. Protocol code (framing, and
// posting to the user-interface thread) lives in the sink.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/base/io_status.h"
#include "platform/base/types.h"

class CSocket;

class ISocketSink {
public:
    virtual ~ISocketSink() = default;
    // On the reader thread, once per received block, in arrival order.
    virtual void OnSocketBytes(UINT_PTR job, std::span<const std::uint8_t> bytes) = 0;
    // On the reader thread, last call for the job: PeerClosed or an IoError when
    // the connection ended, Ok when the reader was stopped.
    virtual void OnSocketClosed(UINT_PTR job, const IoStatus& why) = 0;
};

class CSocketReader {
public:
    CSocketReader();
    // Stops the reader. From the sink (the reader's own thread) it does not
    // wait: the thread ends by itself after the current call.
    ~CSocketReader();
    CSocketReader(const CSocketReader&) = delete;
    CSocketReader& operator=(const CSocketReader&) = delete;

    // Starts reading socket, which must stay open until the reader has stopped.
    // InvalidArgument when the socket is closed or a reader already runs.
    IoStatus Start(CSocket& socket, ISocketSink& sink, UINT_PTR job);

    // Wakes the thread and waits until it has ended, after its last sink call.
    // Called from the sink (the reader's own thread) it only asks the thread to
    // end after the current call; the destructor or a later Stop waits for it.
    void Stop();

    BOOL IsRunning() const;

private:
    struct Impl;
    std::shared_ptr<Impl> m_impl; // shared with the thread, which may outlive the reader
};
