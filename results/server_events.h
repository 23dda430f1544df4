#pragma once
// The results server's connections as its serving thread sees them. The
// listening thread and each connection's reader queue their events here,
// tagged with the connection and stamped with their arrival, in arrival
// order; the serving thread waits for them (Wait) and takes them (Take). A
// connection's reader starts as its accept is queued, so its bytes are read
// and stamped as they come, whatever the serving thread is doing. A
// connection's bytes are cut into whole messages by their command's length
// (ServerMessageLength, protocol/server_messages.h): a partial message waits
// for the rest, several in one block come one by one, and a message of any
// other command drops what was received.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/base/bytes.h"
#include "platform/net/socket.h"
#include "platform/net/socket_reader.h"

struct ServerEvent {
    enum class Kind { Accepted, AcceptFailed, Message, Closed };
    Kind kind = Kind::Message;
    UINT_PTR connection = 0;
    std::unique_ptr<CSocket> socket; // Accepted
    std::unique_ptr<CSocketReader> reader; // Accepted: reading socket unless it failed to start
    BOOL readerStarted = FALSE;
    ByteBuffer bytes; // Message
    std::chrono::steady_clock::time_point arrival; // when it was queued
};

// Takes the whole messages from the front of pending; drops pending whole at
// a command that is none of the server's.
std::vector<ByteBuffer> CutServerMessages(ByteBuffer& pending);

class CServerEventQueue : public ISocketSink {
public:
    CServerEventQueue() = default;
    // Stops the readers of accepts not taken.
    ~CServerEventQueue() override;
    CServerEventQueue(const CServerEventQueue&) = delete;
    CServerEventQueue& operator=(const CServerEventQueue&) = delete;

    // Listening thread: queues the accept and starts its reader, whose events
    // come after it.
    void PushAccepted(UINT_PTR connection, std::unique_ptr<CSocket> socket);
    void PushAcceptFailed();

    // Reader threads.
    void OnSocketBytes(UINT_PTR connection, std::span<const std::uint8_t> bytes) override;
    void OnSocketClosed(UINT_PTR connection, const IoStatus& why) override;

    // The next event; false when none waits. Any thread.
    bool Take(ServerEvent& out);
    // Until an event is queued or Wake is called since the last Wait, or
    // until; events queued before the last Wait do not end it.
    void Wait(std::chrono::steady_clock::time_point until);
    void Wake();
    // Drops every event not taken (their readers stopped).
    void Clear();

private:
    void Push(ServerEvent event);

    std::mutex m_lock;
    std::condition_variable m_signal;
    bool m_bSignalled = false;
    std::deque<ServerEvent> m_events;
    std::map<UINT_PTR, ByteBuffer> m_pending; // bytes of unfinished messages
};
