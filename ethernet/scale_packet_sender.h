#pragma once
// Writes the jobs' packets to their scales on threads of its own (a job keeps
// to one of them), each job's in the order they were queued. The user-interface thread decides every packet
// and hands it here: on loopback and on a busy machine a send wakes the peer and runs its network stack on
// the sender, and with many scales at once that must not cost the user-interface thread per packet. When
// nothing else waits for the caller, a hop to another thread would only add to the round trip: it may then
// write on its own thread, once nothing queued before is left on the job's thread. A send that fails is not
// reported: the job's reply timer sends the packet again, as for a packet lost on the way.
//
// A job's socket may go only after Forget(job): queued packets of the job are
// dropped then, and one being written is waited for. Send, ShutDown and Forget
// are called on one thread (the user-interface thread).

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/base/bytes.h"
#include "platform/base/types.h"
#include "platform/net/socket.h"

class CScalePacketSender {
public:
    CScalePacketSender() = default;
    // Drops what is queued and ends the threads.
    ~CScalePacketSender();
    CScalePacketSender(const CScalePacketSender&) = delete;
    CScalePacketSender& operator=(const CScalePacketSender&) = delete;

    // Queues a packet for the job's connected socket; with `direct`, writes it
    // at once when nothing is queued or being written, as far as the connection
    // takes it without waiting (the rest is queued). Never waits for the peer.
    void Send(UINT_PTR job, CSocket& socket, ByteBuffer packet, int timeoutMs, bool direct);
    // Ends the job's connection after the job's packets queued before: at once
    // when none is left.
    void ShutDown(UINT_PTR job, CSocket& socket);
    // Drops the job's queued packets and returns once none of them is being
    // written.
    void Forget(UINT_PTR job);
    // The packets queued and not yet written or dropped.
    std::size_t Pending();

private:
    struct Item {
        UINT_PTR job = 0;
        CSocket* socket = nullptr;
        ByteBuffer packet;
        int timeoutMs = 0;
        bool shutDown = false; // instead of a packet
    };

    // One writing thread and its queue.
    struct Lane {
        std::mutex lock;
        std::condition_variable wake; // the queue got an item, or the end
        std::condition_variable written; // an item was written
        std::deque<Item> queue;
        UINT_PTR writing = 0; // the job of the item being written, 0 when none
        bool waiting = false; // the thread sleeps on wake
        bool stopping = false;
        std::thread thread; // started with the lane's first item
    };
    // Enough lanes that one send's wake-up of its peer does not hold up the
    // others' on a busy machine.
    static constexpr std::size_t kLanes = 4;

    Lane& LaneOf(UINT_PTR job) { return m_lanes[job % kLanes]; }
    // Queues the item, or returns false when it may be done on the caller's
    // thread.
    bool Queue(Item& item, bool direct);
    static void Write(Item& item);
    static void Run(Lane& lane);

    std::array<Lane, kLanes> m_lanes;
};
