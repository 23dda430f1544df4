#pragma once
// TCP sockets: the client side that talks to a scale, and the listening side of
// the results server. Every blocking call takes a deadline in milliseconds (a
// negative one waits without limit) and returns an IoStatus; no call raises a
// signal when the peer has gone.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/base/io_status.h"
#include "platform/base/types.h"

class CSocketReader;

class CSocket {
public:
    CSocket();
    ~CSocket();
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;
    CSocket(CSocket&& other) noexcept;
    CSocket& operator=(CSocket&& other) noexcept;

    // Connects to an IPv4 address (dotted text or host name) and port. Refused
    // when nothing listens there, Timeout when no answer came within timeoutMs,
    // InvalidArgument without an address.
    // A socket that is open is closed first. From, when given, is the local
    // address to connect from.
    IoStatus Connect(const char* address, UINT port, int timeoutMs, const char* from = nullptr);

    // Binds to address ("" or "0.0.0.0" for every interface) and port (0 picks a
    // free one, see GetLocalPort) and listens.
    IoStatus Listen(const char* address, UINT port, int backlog = 5);
    // Binds without listening and without address reuse: the address is held,
    // no other socket may listen there, and a connection to it is refused.
    IoStatus Bind(const char* address, UINT port);

    // Waits for the next connection on a listening socket and hands it to
    // connected. Timeout when none came within timeoutMs; InvalidArgument on a
    // socket that does not listen (also after ShutDown from another thread).
    IoStatus Accept(CSocket& connected, int timeoutMs);

    // Sends every byte or fails: Timeout when the peer takes nothing for
    // timeoutMs, PeerClosed when the connection is gone.
    IoStatus Send(std::span<const std::uint8_t> bytes, int timeoutMs);
    // Sends what the connection takes now, without waiting: sent tells how many
    // bytes went (possibly none). PeerClosed when the connection is gone.
    IoStatus SendSome(std::span<const std::uint8_t> bytes, std::size_t& sent);

    // One read of at most buffer.size() bytes; received > 0 on success.
    // Timeout when nothing came within timeoutMs, PeerClosed when the peer ended
    // the connection.
    IoStatus Receive(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs);

    // Ends both directions. A thread waiting in Receive or Accept on this socket
    // returns; the socket stays open until Close.
    void ShutDown();

    // Closes the socket. No other thread may be using it.
    void Close();
    // Closes the socket so that the peer sees a reset, not an orderly end.
    void Abort();

    BOOL IsOpen() const;
    // Local port of a bound or connected socket, 0 when there is none.
    UINT GetLocalPort() const;
    // Dotted address of the peer of a connected socket, "" when there is none.
    std::string GetPeerAddress() const;

private:
    friend class CSocketReader;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
