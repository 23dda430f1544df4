#pragma once
// CSerialTransEngine: the transport of one RS-232 session at a time. It takes
// one command at a time from the work screen's serial mailbox (open the port,
// join a scale, send the frame waiting in the transmit buffer, close), frames
// and stuffs it, guards it with the work screen's timer 150, sends it again
// when the reply is missing or bad, decodes the reply and reports: report words
// in the mailbox, then one of the messages 1224-1227 to the work screen.
//
// Threads: the port's monitoring thread only cuts the line into frames and join
// replies and posts them to this engine's own hidden window; every decision,
// timer, resend and report runs on the user-interface thread.
//
// Mailbox words it writes: status (1023) "OK", "PORT OPEN ERROR", "JOINERROR",
// "BROADJOINERROR", "Time out", "3TimeError", "BROAD 3TimeError", "ENDJOIN",
// "ALL_ENDJOIN", "CLOSE"; result words (1022) "END_ITEM", "MEMORY FULL",
// "PROCESS ERROR", "DATA LENGTH MISS" and their "BROAD " forms; "NOITEM" (1025).

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "platform/serial/serial_port.h"
#include "platform/wnd/core/wnd.h"
#include "protocol/data_kinds.h"
#include "protocol/link_frame.h"
#include "protocol/serial_words.h"
#include "serial/serial_answer_ledger.h"
#include "transfer/resend_guard.h"

class CSerialHost;

// A frame that gets no answer, or a bad one, is sent again up to four times.
inline constexpr int kSerialResendLimit = 4;
class CSerialWalkState;

class CSerialTransEngine : public CWnd {
public:
    CSerialTransEngine();
    ~CSerialTransEngine() override;

    const MessageMap* GetMessageMap() const override;

    // Stores the work screen and the walk (COM port, broadcast flag) and
    // creates the engine's hidden window. UI thread.
    void SetOwnerView(CSerialHost* host, const CSerialWalkState* walk);
    void SetLanguage(int language) { m_nLanguage = language; }
    // How long a reply is waited for (5000 ms; shorter in tests).
    void SetReplyTimeout(UINT milliseconds) { m_replyTimeoutMs = milliseconds; }
    UINT GetReplyTimeout() const { return m_replyTimeoutMs; }

    // Runs the command named by the mailbox's step word (see the .cpp's table).
    void RunCommand();
    // Timer 150 of the work screen fired.
    void OnReplyTimeout();

    // The frame the next command sends (whole, unstuffed), as the scale link
    // builds it.
    void SetTransmitFrame(ByteBuffer frame) { m_transmit = std::move(frame); }
    const ByteBuffer& GetTransmitFrame() const { return m_transmit; }
    // The last reply frame, unstuffed (header, payload and sum).
    const ByteBuffer& GetReceivedFrame() const { return m_received; }
    void ClearReceivedFrame() { m_received.clear(); }

    // Set when the scale acknowledges a request; cleared as each scale's session
    // starts.
    int IsRequestAcknowledged() const { return m_nRequestAcknowledged; }
    void ClearRequestAcknowledged() { m_nRequestAcknowledged = 0; }
    // The scale that answers for all in a broadcast's data phase.
    void SetBroadcastReplySource(std::array<char, 2> id);
    // The reply taken decides nothing: the wait goes on under the timer.
    void KeepWaiting();
    // Frames sent again since the port opened: after one, the scale may
    // answer both sends.
    int GetResendCount() const { return m_nSessionResends; }

    // Runs action on the user-interface thread after milliseconds, unless the
    // port closes or opens first. One at a time: a new one replaces the old.
    void RunLater(UINT milliseconds, std::function<void()> action);
    void CancelLater();

    BOOL IsPortOpen() const { return m_port.IsOpen(); }

protected:
    LRESULT OnLineCapture(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);

private:
    struct Capture {
        bool join = false;
        unsigned generation = 0;
        ByteBuffer bytes; // join reply as captured; frame still stuffed
    };
    // State shared with the monitoring thread.
    struct Line {
        std::mutex lock;
        std::deque<Capture> captures;
        std::atomic<unsigned> generation { 0 };
        unsigned decoderGeneration = 0; // monitoring thread only
        LinkReceiver receiver; // monitoring thread only
        HWND target = nullptr;
    };

    void ReadMailbox();
    void OpenPort(bool broadcast);
    void SendJoin();
    void SendFrame();
    void SendData();
    void SendNextChunk();
    void WriteSendCopy();
    void ClosePort();
    void StartReplyTimer();
    void KillReplyTimer();
    void NewGeneration();
    void ResetPieces();

    // unsure: a 0 that no numbered answer followed.
    void OnFrameReceived(const Capture& capture, bool unsure = false);
    void CheckJoinReply(const ByteBuffer& reply, bool broadcast);
    void OnReplyFrame(const LinkFrame& frame);
    void OnBroadcastFrame(const LinkFrame& frame);
    // ACK of a frame or piece: the next piece, or report "OK".
    void OnAcknowledged();
    void OnBadReply(const LinkFrame* frame, bool sumOk, bool broadcast);
    // The ACK, NAK or status reply that capture holds, when it may answer
    // the frame last written.
    std::optional<LinkFrame> AnswerFrameOf(const Capture& capture) const;
    // The unsure answer held is taken: no numbered one came.
    void TakeHeld();
    void Resend();
    void Report(UINT message, SerialWord status);

    CSerialHost* m_pHost = nullptr;
    const CSerialWalkState* m_pWalk = nullptr;
    CSerialPort m_port;
    std::shared_ptr<Line> m_line;
    int m_nLanguage = 2;
    UINT m_replyTimeoutMs = 5000;

    // Copies of the mailbox read by the last command.
    std::optional<TransferCommand> m_mode;
    CString m_strStep;
    CString m_strReply;
    CString m_strStatus;
    int m_nFrameLength = 0;

    ResendGuard m_resends { kSerialResendLimit };
    int m_nSessionResends = 0;
    SerialAnswerLedger m_answers;
    int m_nPieceCount = 0;
    int m_nPieceIndex = 0;
    bool m_bPieced = false;
    ByteBuffer m_transmit;
    ByteBuffer m_sendCopy; // the frame or piece last written, unstuffed
    bool m_bSendCopyIsJoin = false;
    ByteBuffer m_received;
    int m_nRequestAcknowledged = 0;
    // After a request's ACK: the scale's records are awaited under the timer,
    // and a time-out ends the wait without resending the request.
    bool m_bAwaitingData = false;
    bool m_bTimerRunning = false;
    std::array<char, 2> m_broadcastSource { 0, 0 };
    std::function<void()> m_later;
};
