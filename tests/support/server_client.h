#pragma once
// A scale as a client of the results server: it connects to the server's
// port, sends data requests, result reports and cancels, and collects what
// the server sends on a thread of its own. Its encoding is its own, written
// apart from the program's codecs. Replies are cut every 532 bytes (a
// keep-alive would break that: tests do not run one).

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/socket.h"

namespace scalesim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kServerReplyBytes = 532;

// The 20-byte data request for record number of table kind (0 Item ... 5
// Land_Add).
Bytes DataRequest(std::uint16_t tableKind, std::uint32_t number, std::uint16_t direction = 0);
// The 42-byte result report (or cancel) of one sale.
Bytes SaleMessage(bool cancel, std::uint32_t itemNumber, std::int32_t price, std::int32_t weight);

// A port of the results server's range (1500-8000) that nothing listens on
// at address now.
unsigned FreeServerPort(const char* address);

// A scale's sale sent until it is acknowledged, as a scale does: each try on
// a new connection, closed after waitMs without the reply. The tries made
// (sends); acknowledged tells whether the last one was answered. Blocking:
// not on the user-interface thread.
int ReportUntilAcknowledged(
    const std::string& address, unsigned port, const Bytes& sale, int waitMs, int tries, bool& acknowledged);

class ServerClient {
public:
    ServerClient() = default;
    ~ServerClient();
    ServerClient(const ServerClient&) = delete;
    ServerClient& operator=(const ServerClient&) = delete;

    // From: the local address to connect from ("" for any).
    bool Connect(
        const std::string& address, unsigned port, int timeoutMs = 5000, const std::string& from = {});
    bool Send(const Bytes& bytes);
    // Ends the connection from the scale's side and stops collecting.
    void Close();

    std::size_t ReplyCount() const;
    // The whole replies received so far, in order.
    std::vector<Bytes> Replies() const;
    std::size_t ReceivedByteCount() const;
    // True once the server has closed the connection.
    bool PeerClosed() const;
    // Waits (blocking: not on the user-interface thread) for count replies.
    bool WaitForReplies(std::size_t count, int timeoutMs) const;

private:
    void Collect();

    CSocket m_socket;
    std::thread m_thread;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    Bytes m_received;
    bool m_peerClosed = false;
};

// A scale that reports sale after sale over one held connection, each sale
// with a price of its own, the first at once, then pauseMs apart. A sale without its reply within
// waitMs is sent again on a new connection, as is one whose connection the
// server closed. On a thread of its own.
class PacedScale {
public:
    PacedScale(unsigned port, std::int32_t firstPrice, int pauseMs, int waitMs);
    ~PacedScale();
    PacedScale(const PacedScale&) = delete;
    PacedScale& operator=(const PacedScale&) = delete;

    // After the sale in hand.
    void Stop();
    // The prices of the sales acknowledged, in order.
    std::vector<std::int32_t> AckedPrices() const;
    // Sales sent again, and connections opened after the first.
    int Resends() const;
    int Reconnects() const;

private:
    void Run();

    const unsigned m_port;
    const int m_pauseMs;
    const int m_waitMs;
    std::int32_t m_price;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_bStop = false;
    std::vector<std::int32_t> m_acked;
    int m_resends = 0;
    int m_reconnects = 0;
    std::thread m_thread;
};

} // namespace scalesim
