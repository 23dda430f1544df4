#pragma once
// The results server's connections as the user-interface thread sees them.
// The listening thread and each connection's reader queue their events here,
// tagged with the connection, in arrival order; the first event of an empty
// queue posts `message` to the target window, whose handler takes them all
// with Take. A connection's bytes are cut into whole messages by their
// header: a data request is 20 bytes, a result report or cancel 42; a partial
// message waits for the rest, several in one block come one by one, and a
// message of any other command drops what was received.

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/base/bytes.h"
#include "platform/net/socket.h"
#include "platform/net/socket_reader.h"
#include "platform/wnd/core/messages.h"

struct ServerEvent {
    enum class Kind { Accepted, AcceptFailed, Message, Closed };
    Kind kind = Kind::Message;
    UINT_PTR connection = 0;
    std::unique_ptr<CSocket> socket; // Accepted
    ByteBuffer bytes; // Message
    std::chrono::steady_clock::time_point arrival; // when it was queued
};

// Takes the whole messages from the front of pending; drops pending whole at
// a command that is none of the server's.
std::vector<ByteBuffer> CutServerMessages(ByteBuffer& pending);

// True for a result report or cancel as CutServerMessages cut it.
bool IsSaleMessage(const ByteBuffer& message);

class CServerEventQueue : public ISocketSink {
public:
    CServerEventQueue(HWND target, UINT message);

    // Listening thread.
    void PushAccepted(UINT_PTR connection, std::unique_ptr<CSocket> socket);
    void PushAcceptFailed();

    // Reader threads.
    void OnSocketBytes(UINT_PTR connection, std::span<const std::uint8_t> bytes) override;
    void OnSocketClosed(UINT_PTR connection, const IoStatus& why) override;

    // The next event; false when none waits. Any thread.
    bool Take(ServerEvent& out);

private:
    void Push(ServerEvent event);

    const HWND m_target;
    const UINT m_message;
    std::mutex m_lock;
    std::deque<ServerEvent> m_events;
    std::map<UINT_PTR, ByteBuffer> m_pending; // bytes of unfinished messages
};
