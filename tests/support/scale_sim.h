#pragma once
// A scale simulator for tests: it speaks the TCP packet protocol on a loopback
// address (127.0.0.x, port 1239) and the serial link protocol on the far end of
// a pseudo-terminal pair, answers by a script, and records what it received.
// Its decoding is its own, written apart from the program's codecs, so that a
// fault shared by encoder and decoder still shows.
//
// Every wait takes a deadline; Stop() (also run by the destructor) ends the
// simulator's thread without sleeping.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/socket.h"
#include "platform/serial/pseudo_terminal.h"

namespace scalesim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr unsigned kScalePort = 1239;

// ---- TCP ---------------------------------------------------------------------

struct TcpPacket {
    std::uint16_t command = 0;
    Bytes payload;
};

// What the scale does in answer to one packet.
struct TcpReply {
    std::vector<Bytes> writes; // each goes out in its own send
    bool holdAfterFirst = false; // writes after the first wait for Release()
    bool close = false; // the scale closes the connection afterwards
    bool reset = false; // the scale resets the connection afterwards

    static Bytes Packet(std::uint16_t command, const Bytes& payload = {});
    static TcpReply Ack();
    static TcpReply Nak(std::uint16_t code);
    static TcpReply Data(const Bytes& payload);
    static TcpReply EndOfData();
    static TcpReply Silence();
    // One write that holds all the given packets back to back.
    static TcpReply Merged(const std::vector<Bytes>& packets);
    // The bytes in two writes, cut at `at`; the second waits for Release().
    static TcpReply Split(const Bytes& bytes, std::size_t at);
};

// Called on the simulator's thread for each whole packet, with its index among
// all packets received since Start.
using TcpScript = std::function<TcpReply(const TcpPacket&, std::size_t index)>;

TcpReply AckEverything(const TcpPacket&, std::size_t);

class TcpScale {
public:
    // WelcomeNuls: "welcome" and several NULs, as some scales greet.
    enum class Greeting { Welcome, WelcomeNul, WelcomeNuls, None };

    TcpScale() = default;
    ~TcpScale();
    TcpScale(const TcpScale&) = delete;
    TcpScale& operator=(const TcpScale&) = delete;

    // Listens on 127.0.0.x port 1239, x picked from the process id and the next
    // free address, and serves one connection after another.
    bool Start(TcpScript script = AckEverything, Greeting greeting = Greeting::Welcome);
    // Listens on the given address and port (the stand-alone simulator).
    bool StartAt(const std::string& address, unsigned port, TcpScript script, Greeting greeting);
    void Stop();
    // Bytes sent in the greeting's own write, right after it (set before Start).
    void GlueToGreeting(const Bytes& bytes) { m_greetingTail = bytes; }
    // Bytes sent in the greeting's own write, right before it (set before Start).
    void GlueBeforeGreeting(const Bytes& bytes) { m_greetingHead = bytes; }

    std::string Address() const { return m_address; }

    // Sends the writes a reply held back; called before that reply is ready
    // (its packet seen, its script still running), the reply holds nothing.
    void Release();
    // Sends bytes to the connected client now.
    bool SendNow(const Bytes& bytes);
    // Closes the current connection from the scale's side.
    void Disconnect();

    std::vector<TcpPacket> Received() const;
    Bytes ReceivedBytes() const;
    std::size_t Connections() const;
    bool WaitForPackets(std::size_t count, int timeoutMs) const;
    bool WaitForConnections(std::size_t count, int timeoutMs) const;

private:
    void Serve();
    void Converse(CSocket& connection);

    TcpScript m_script;
    Greeting m_greeting = Greeting::Welcome;
    Bytes m_greetingTail;
    Bytes m_greetingHead;
    std::string m_address;
    CSocket m_listener;
    std::thread m_thread;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    CSocket* m_connection = nullptr; // while a client is connected
    // Deques: a long transfer grows them without copying what they hold.
    std::deque<TcpPacket> m_received;
    std::deque<std::uint8_t> m_receivedBytes;
    std::vector<Bytes> m_held;
    bool m_releaseEarly = false;
    std::size_t m_connections = 0;
};

// The commands of the packets a scale received, in order.
std::vector<std::uint16_t> Commands(const TcpScale& scale);

// ---- serial ------------------------------------------------------------------

struct SerialFrame {
    bool join = false; // a join frame (STX ... ETX, 14 bytes), sent as is
    Bytes bytes; // join: as sent; link: unstuffed header, payload and sum
    bool sumOk = false; // link frames: the u32 sum matched
    std::string scaleId;
    std::uint16_t sequence = 0;
    std::uint16_t command = 0;
    std::uint8_t pieceCount = 0;
    std::uint8_t pieceNumber = 0;
    Bytes payload;
};

struct SerialReply {
    std::vector<Bytes> writes; // line bytes, each written on its own

    static SerialReply Silence();
    static SerialReply Raw(Bytes bytes);
    // The join reply: the join frame with fields 6-7 and 8-9 exchanged and the
    // version character at byte 11.
    static SerialReply JoinReply(const SerialFrame& join, char version = '2');
    // A link frame from the scale, stuffed and delimited; badSum spoils its sum.
    static Bytes Frame(const std::string& scaleId, std::uint16_t command, const Bytes& payload,
        std::uint8_t pieceCount = 0, std::uint8_t pieceNumber = 0, bool badSum = false);
    static SerialReply Ack(const std::string& scaleId);
    static SerialReply Nak(const std::string& scaleId, std::uint16_t code);
    static SerialReply Data(const std::string& scaleId, const Bytes& payload, std::uint8_t pieceCount = 0,
        std::uint8_t pieceNumber = 0);
};

// A scale that is switched off: its address refuses every connection, and no
// other test process starts a scale there while this one holds it.
class OffScale {
public:
    bool Start();
    std::string Address() const { return m_address; }

private:
    CSocket m_holder;
    std::string m_address;
};

using SerialScript = std::function<SerialReply(const SerialFrame&, std::size_t index)>;

// Joins with version '2' and acknowledges every link frame, as scale "07".
SerialReply JoinAndAckEverything(const SerialFrame& frame, std::size_t);

class SerialScale {
public:
    SerialScale() = default;
    ~SerialScale();
    SerialScale(const SerialScale&) = delete;
    SerialScale& operator=(const SerialScale&) = delete;

    // Opens the pseudo-terminal pair and starts answering.
    bool Start(SerialScript script = JoinAndAckEverything);
    void Stop();

    // The device a CSerialPort opens to reach this scale.
    std::string DevicePath() const { return m_line.SlavePath(); }

    // Writes line bytes now.
    bool SendNow(const Bytes& bytes);

    std::vector<SerialFrame> Received() const;
    Bytes ReceivedBytes() const;
    bool WaitForFrames(std::size_t count, int timeoutMs) const;
    bool WaitForBytes(std::size_t count, int timeoutMs) const;

private:
    void Serve();
    void Decode(std::uint8_t byte);
    void Finish(SerialFrame frame);

    SerialScript m_script;
    CPseudoTerminal m_line;
    std::thread m_thread;

    // Decoder state (simulator thread only).
    enum class State { Idle, Join, Frame } m_state = State::Idle;
    Bytes m_capture;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<SerialFrame> m_received;
    Bytes m_receivedBytes;
};

} // namespace scalesim
