#pragma once
// The receiving side of a scale connection: CScalePacketPump sits behind a
// CSocketReader, cuts the byte stream into the greeting and whole packets, and
// hands each, in order and tagged with the job, to an IScalePacketSink on the
// reader thread.

#include <mutex>

#include "platform/net/socket.h"
#include "platform/net/socket_reader.h"
#include "protocol/scale_packet.h"

class IScalePacketSink {
public:
    virtual ~IScalePacketSink() = default;
    // A greeting, a whole packet, or a run of bytes that was dropped (and why).
    virtual void OnScaleEvent(UINT_PTR job, ScalePacketFramer::Event event) = 0;
    // The connection ended (PeerClosed, an error) or its reader was stopped (Ok).
    virtual void OnScaleClosed(UINT_PTR job, const IoStatus& why) = 0;
};

class CScalePacketPump : public ISocketSink {
public:
    // The stream starts with the scale's greeting unless start says otherwise.
    explicit CScalePacketPump(
        IScalePacketSink& sink, ScalePacketFramer::Start start = ScalePacketFramer::Start::AwaitGreeting);

    void OnSocketBytes(UINT_PTR job, std::span<const std::uint8_t> bytes) override;
    void OnSocketClosed(UINT_PTR job, const IoStatus& why) override;

    // Drops an unfinished packet (a Dropped event goes to the sink), e.g. before
    // a packet is sent again after its reply time ran out. Any thread.
    void DiscardPending(UINT_PTR job);

private:
    IScalePacketSink& m_sink;
    std::mutex m_lock; // the framer, between the reader thread and DiscardPending
    ScalePacketFramer m_framer;
};

// Blocking receive for callers that wait on their own thread: reads until the
// framer yields its next event (events already framed are taken first), or
// timeoutMs has passed (Timeout), or the connection ends (PeerClosed).
IoStatus ReceiveScaleEvent(CSocket& socket, ScalePacketFramer& framer,
    std::vector<ScalePacketFramer::Event>& backlog, ScalePacketFramer::Event& out, int timeoutMs);
