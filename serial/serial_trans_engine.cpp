#include "serial/serial_trans_engine.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/base/bytes.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/scale_codes.h"
#include "resources/calvorn_ids.h"
#include "serial/serial_host.h"
#include "serial/serial_walk_state.h"

using W = SerialWord;

namespace {

// The monitoring thread's note that captures are waiting.
constexpr UINT kLineCaptureMessage = WM_APP + 0x224;
// The engine window's own timer of RunLater.
constexpr UINT_PTR kLaterTimer = 1;
// The engine window's timer of an unsure answer, and how long it waits for
// the numbered one (at most half the reply time).
constexpr UINT_PTR kSettleTimer = 2;
constexpr UINT kSettleMs = 300;

// Steps of each mode: what RunCommand does with a step word.
enum class Action { None, Open, Join, Close, Frame, Data };

Action SendAction(const CString& step)
{
    if (step == W::Open)
        return Action::Open;
    if (step == W::Join)
        return Action::Join;
    if (step == W::Close)
        return Action::Close;
    if (IsOneOf(step,
            { W::PluClear, W::PluData, W::PluSelectData, W::AddClear, W::AdvClear, W::LandAddClear,
                W::UserLabelClear, W::UserLabelData, W::UserLabelSelectData, W::SelectScaleInformation,
                W::SelectScaleRootInformation, W::EndJoin }))
        return Action::Frame;
    if (IsOneOf(step,
            { W::AddData, W::AddSelectData, W::PreData, W::AdvData, W::AdvSelectData, W::LandAddData,
                W::LandAddSelectData }))
        return Action::Data;
    return Action::None;
}

bool IsRequestStep(const CString& step)
{
    return IsOneOf(step,
        { W::PluRequest, W::PluAllRequest, W::AddAllRequest, W::AddRequest, W::PreAllRequest, W::PreRequest,
            W::AdvAllRequest, W::AdvRequest, W::LandAddAllRequest, W::LandAddRequest, W::ResultAllReadStep,
            W::ResultItemAllReadStep, W::ResultItemDayReadStep, W::ResultDayReadStep,
            W::UserLabelAllRequest });
}

Action ModeAction(std::optional<TransferCommand> mode, const CString& step)
{
    if (mode == TransferCommand::Trans) {
        if (IsOneOf(step, { W::ResultAllClearStep, W::ResetScale }))
            return Action::Frame;
        return SendAction(step);
    }
    if (mode == TransferCommand::Recv) {
        if (IsOneOf(step, { W::Open, W::Join, W::Close }))
            return SendAction(step);
        if (IsRequestStep(step) || IsOneOf(step, { W::RequestEnd, W::EndJoin }))
            return Action::Frame;
        return Action::None;
    }
    if (mode == TransferCommand::BroadTrans) {
        if (IsOneOf(step, { W::BroadStart, W::BroadStatusRequest, W::AllEndJoin, W::AllReset }))
            return Action::Frame;
        return SendAction(step);
    }
    return Action::None;
}

// Data steps of a broadcast, answered by the first joined scale only.
bool IsBroadcastDataStep(const CString& step)
{
    return IsOneOf(step,
        { W::PluClear, W::PluData, W::PluSelectData, W::AddClear, W::AddData, W::AddSelectData, W::PreData,
            W::AdvData, W::AdvSelectData, W::UserLabelClear, W::UserLabelData, W::UserLabelSelectData,
            W::LandAddData, W::LandAddSelectData });
}

std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

CString CapturedText(const ByteBuffer& bytes)
{
    std::string text;
    for (std::uint8_t b : bytes)
        text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
    return CString(text.c_str());
}

} // namespace

CSerialTransEngine::CSerialTransEngine()
    : m_line(std::make_shared<Line>())
{
    m_port.SetErrorHook([](const CString&) {});
    std::weak_ptr<Line> weak = m_line;
    m_port.SetByteHandler([weak](BYTE byte) {
        const std::shared_ptr<Line> line = weak.lock();
        if (!line)
            return;
        const unsigned generation = line->generation.load();
        if (generation != line->decoderGeneration) {
            line->receiver.Reset();
            line->decoderGeneration = generation;
        }
        const LinkReceiver::Event event = line->receiver.Feed(byte);
        if (event == LinkReceiver::Event::None)
            return;
        Capture capture;
        capture.join = event == LinkReceiver::Event::JoinReply;
        capture.generation = generation;
        const auto captured = line->receiver.Captured();
        capture.bytes.assign(captured.begin(), captured.end());
        HWND target = nullptr;
        {
            std::lock_guard<std::mutex> guard(line->lock);
            line->captures.push_back(std::move(capture));
            target = line->target;
        }
        if (target)
            ::PostMessage(target, kLineCaptureMessage);
    });
}

CSerialTransEngine::~CSerialTransEngine()
{
    {
        std::lock_guard<std::mutex> guard(m_line->lock);
        m_line->target = nullptr;
    }
    m_port.Close();
    if (GetSafeHwnd())
        DestroyWindow();
}

const MessageMap* CSerialTransEngine::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnMessage<&CSerialTransEngine::OnLineCapture>(kLineCaptureMessage),
            OnWm<WM_TIMER, &CSerialTransEngine::OnTimer>(),
        });
    return &kMap;
}

void CSerialTransEngine::SetOwnerView(CSerialHost* host, const CSerialWalkState* walk)
{
    m_pHost = host;
    m_pWalk = walk;
    if (!GetSafeHwnd())
        CreateEx(0, nullptr, "Serial engine", 0, CRect(0, 0, 0, 0), nullptr, 0);
    std::lock_guard<std::mutex> guard(m_line->lock);
    m_line->target = GetSafeHwnd();
}

void CSerialTransEngine::SetBroadcastReplySource(std::array<char, 2> id)
{
    m_broadcastSource = id;
}

// ---- commands ------------------------------------------------------------------

void CSerialTransEngine::ReadMailbox()
{
    m_mode = CommandOfWord(m_pHost->GetSerialText(IDC_SERIAL_COMMAND).View());
    m_strStep = m_pHost->GetSerialText(IDC_SERIAL_STEP);
    m_strReply = m_pHost->GetSerialText(IDC_SERIAL_REPLY);
    m_strStatus = m_pHost->GetSerialText(IDC_SERIAL_STATUS);
    m_nFrameLength = std::atoi(m_strStatus.GetString());
}

void CSerialTransEngine::RunCommand()
{
    if (!m_pHost)
        return;
    ReadMailbox();
    m_resends.Reset();
    m_bAwaitingData = false;
    const bool broadcast = m_mode == TransferCommand::BroadTrans;
    switch (ModeAction(m_mode, m_strStep)) {
    case Action::Open:
        OpenPort(broadcast);
        break;
    case Action::Join:
        if (broadcast)
            ResetPieces();
        else
            m_port.StartMonitoring();
        SendJoin();
        break;
    case Action::Close:
        ClosePort();
        break;
    case Action::Frame:
        if (broadcast)
            ResetPieces();
        SendFrame();
        break;
    case Action::Data:
        ResetPieces();
        SendData();
        break;
    case Action::None:
        break;
    }
}

void CSerialTransEngine::OpenPort(bool broadcast)
{
    CancelLater();
    NewGeneration();
    m_nSessionResends = 0;
    m_answers.Restart();
    if (broadcast)
        m_broadcastSource = { 0, 0 };
    const int port = m_pWalk ? m_pWalk->GetComPort() : 0;
    const BOOL opened
        = port >= 1 && port <= 8 && m_port.InitPort(static_cast<UINT>(port), 38400, 'N', 8, 1, 9, 2048);
    if (!opened) {
        Report(WM_SERIAL_PORT_OPEN_FAILED, W::PortOpenError);
        return;
    }
    if (broadcast)
        m_port.StartMonitoring();
    Report(WM_SERIAL_PORT_OPENED, W::Ok);
}

void CSerialTransEngine::NewGeneration()
{
    m_answers.Owe();
    m_line->generation.fetch_add(1);
    std::lock_guard<std::mutex> guard(m_line->lock);
    m_line->captures.clear();
}

void CSerialTransEngine::ResetPieces()
{
    m_nPieceCount = 0;
    m_nPieceIndex = 0;
    m_bPieced = false;
}

void CSerialTransEngine::SendJoin()
{
    NewGeneration();
    const std::size_t length = std::min<std::size_t>(m_transmit.size(), kJoinFrameSize);
    m_sendCopy.assign(m_transmit.begin(), m_transmit.begin() + static_cast<std::ptrdiff_t>(length));
    m_bSendCopyIsJoin = true;
    StartReplyTimer();
    m_port.WriteToPort(m_sendCopy);
    m_pHost->FlashSendLamp();
}

void CSerialTransEngine::SendFrame()
{
    m_bPieced = false;
    const std::size_t length
        = std::min<std::size_t>(m_transmit.size(), static_cast<std::size_t>(std::max(0, m_nFrameLength)));
    m_sendCopy.assign(m_transmit.begin(), m_transmit.begin() + static_cast<std::ptrdiff_t>(length));
    m_bSendCopyIsJoin = false;
    WriteSendCopy();
}

void CSerialTransEngine::SendData()
{
    LinkFrameHeader header;
    if (!LinkFrameHeader::Decode(m_transmit, header)) {
        SendFrame();
        return;
    }
    const std::size_t pieces = PieceCount(header.length);
    if (pieces >= 2) {
        m_bPieced = true;
        m_nPieceCount = static_cast<int>(pieces);
        m_nPieceIndex = 1;
        SendNextChunk();
        return;
    }
    ResetPieces();
    SendFrame();
}

void CSerialTransEngine::SendNextChunk()
{
    ByteBuffer piece;
    if (!BuildPiece(m_transmit, static_cast<std::size_t>(m_nPieceIndex), piece).ok())
        return;
    m_sendCopy = std::move(piece);
    m_bSendCopyIsJoin = false;
    WriteSendCopy();
}

void CSerialTransEngine::WriteSendCopy()
{
    NewGeneration();
    StartReplyTimer();
    m_port.WriteToPort(StuffFrame(m_sendCopy));
    m_pHost->FlashSendLamp();
}

void CSerialTransEngine::Resend()
{
    m_resends.Count();
    ++m_nSessionResends;
    if (m_bSendCopyIsJoin) {
        NewGeneration();
        StartReplyTimer();
        m_port.WriteToPort(m_sendCopy);
        return;
    }
    WriteSendCopy();
}

void CSerialTransEngine::ClosePort()
{
    KillReplyTimer();
    CancelLater();
    NewGeneration();
    m_port.Close();
    m_resends.Reset();
    m_bAwaitingData = false;
    ResetPieces();
    Report(WM_SERIAL_SESSION_END, W::Close);
}

void CSerialTransEngine::StartReplyTimer()
{
    if (HWND window = m_pHost->GetTransferWindow()) {
        ::SetTimer(window, kSerialReplyTimer, m_replyTimeoutMs);
        m_bTimerRunning = true;
    }
}

void CSerialTransEngine::KillReplyTimer()
{
    if (HWND window = m_pHost ? m_pHost->GetTransferWindow() : nullptr)
        ::KillTimer(window, kSerialReplyTimer);
    m_bTimerRunning = false;
}

void CSerialTransEngine::RunLater(UINT milliseconds, std::function<void()> action)
{
    m_later = std::move(action);
    SetTimer(kLaterTimer, milliseconds);
}

void CSerialTransEngine::CancelLater()
{
    m_later = nullptr;
    if (GetSafeHwnd())
        KillTimer(kLaterTimer);
}

void CSerialTransEngine::OnTimer(UINT_PTR id)
{
    if (id == kSettleTimer) {
        KillTimer(kSettleTimer);
        TakeHeld();
        return;
    }
    if (id != kLaterTimer)
        return;
    KillTimer(kLaterTimer);
    std::function<void()> action = std::move(m_later);
    m_later = nullptr;
    if (action)
        action();
}

// ---- reports -----------------------------------------------------------------

void CSerialTransEngine::Report(UINT message, SerialWord status)
{
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, Text(W::Report));
    m_transmit.clear();
    m_resends.Reset();
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, Text(status));
    if (HWND window = m_pHost->GetTransferWindow())
        ::SendMessage(window, message);
}

// A frame that decides nothing: the wait goes on under the timer.
void CSerialTransEngine::KeepWaiting()
{
    m_answers.Owe();
    StartReplyTimer();
}

void CSerialTransEngine::OnReplyTimeout()
{
    if (!m_pHost || !m_bTimerRunning)
        return;
    if (m_answers.IsHolding()) {
        TakeHeld(); // it came in time
        return;
    }
    const bool broadcast = m_mode == TransferCommand::BroadTrans;
    if (m_bAwaitingData) {
        KillReplyTimer();
        m_bAwaitingData = false;
        Report(WM_SERIAL_SESSION_ERROR, broadcast ? W::BroadThreeTimeError : W::TimeOut);
        return;
    }
    if (m_resends.MayResend()) {
        if (m_strStep == W::Join) {
            KillReplyTimer();
            Report(WM_SERIAL_SESSION_ERROR, broadcast ? W::BroadJoinError : W::JoinError);
            return;
        }
        if (m_strStep == W::EndJoin || m_strStep == W::AllEndJoin) {
            KillReplyTimer();
            Report(WM_SERIAL_SESSION_END, m_strStep == W::EndJoin ? W::EndJoin : W::AllEndJoin);
            return;
        }
        if (m_strStep == W::RequestEnd) {
            // The pause before ENDJOIN runs; its ENDJOIN brings its own timer.
            KillReplyTimer();
            return;
        }
        Resend();
        return;
    }
    KillReplyTimer();
    m_resends.Reset();
    Report(WM_SERIAL_SESSION_ERROR, broadcast ? W::BroadThreeTimeError : W::TimeOut);
}

// ---- replies -----------------------------------------------------------------

// One reply per note (each capture posts its own), so that the messages
// between two exchanges, a stop among them, are handled even when the scale
// answers before this returns.
LRESULT CSerialTransEngine::OnLineCapture(WPARAM, LPARAM)
{
    for (;;) {
        Capture capture;
        {
            std::lock_guard<std::mutex> guard(m_line->lock);
            if (m_line->captures.empty())
                return 0;
            capture = std::move(m_line->captures.front());
            m_line->captures.pop_front();
        }
        if (!m_port.IsOpen())
            continue;
        m_pHost->FlashRecvLamp(); // every frame the line brings
        // Replies to a frame written before the last one, or after the answer
        // to the last one was taken.
        if (capture.generation != m_line->generation.load() || m_answers.IsAnswered())
            continue;
        const std::optional<LinkFrame> answer = AnswerFrameOf(capture);
        switch (m_answers.Classify(answer ? &*answer : nullptr, m_sendCopy)) {
        case SerialAnswerLedger::Match::Stray:
            continue; // the wait goes on, its deadline kept
        case SerialAnswerLedger::Match::Unsure:
            // It waits a short while for the numbered one.
            if (m_answers.Hold(std::move(capture.bytes)))
                SetTimer(kSettleTimer, std::min(kSettleMs, m_replyTimeoutMs / 2));
            continue;
        case SerialAnswerLedger::Match::Answer:
            break;
        }
        OnFrameReceived(capture);
        return 0;
    }
}

void CSerialTransEngine::OnFrameReceived(const Capture& capture, bool unsure)
{
    const std::optional<LinkFrame> answer = AnswerFrameOf(capture);
    m_answers.Take(answer ? &*answer : nullptr, m_sendCopy, unsure);
    const bool broadcast = m_pWalk && m_pWalk->GetBroadcastFlag() != 0;
    KillReplyTimer();
    if (capture.join) {
        CheckJoinReply(capture.bytes, broadcast);
        return;
    }
    if (m_bSendCopyIsJoin) {
        // Only a join reply answers the join frame.
        KeepWaiting();
        return;
    }
    LinkFrame frame;
    m_received = UnstuffFrame(capture.bytes);
    if (!ParseLinkFrame(m_received, frame).ok()) {
        OnBadReply(nullptr, false, broadcast);
        return;
    }
    if (broadcast)
        OnBroadcastFrame(frame);
    else
        OnReplyFrame(frame);
}

void CSerialTransEngine::CheckJoinReply(const ByteBuffer& reply, bool broadcast)
{
    if (!m_bSendCopyIsJoin) {
        KeepWaiting();
        return;
    }
    const JoinCheck check = ::CheckJoinReply(m_sendCopy, reply);
    if (check == JoinCheck::Accepted) {
        Report(WM_SERIAL_SESSION_END, W::Ok);
        return;
    }
    if (check == JoinCheck::VersionError)
        AfxMessageBox(VersionErrorText(m_nLanguage), MB_OK);
    if (!broadcast)
        AfxMessageBox(CapturedText(reply), MB_OK);
    Report(WM_SERIAL_SESSION_ERROR, broadcast ? W::BroadJoinError : W::JoinError);
}

std::optional<LinkFrame> CSerialTransEngine::AnswerFrameOf(const Capture& capture) const
{
    LinkFrame frame;
    if (capture.join || m_bSendCopyIsJoin || !ParseLinkFrame(UnstuffFrame(capture.bytes), frame).ok())
        return std::nullopt;
    const auto command = static_cast<ScaleCommand>(frame.header.command);
    if (command != ScaleCommand::Ack && command != ScaleCommand::Nak
        && command != ScaleCommand::BroadStatusReply)
        return std::nullopt;
    return frame;
}

void CSerialTransEngine::TakeHeld()
{
    std::optional<ByteBuffer> held = m_answers.TakeHeld();
    if (!held)
        return;
    Capture capture;
    capture.generation = m_line->generation.load();
    capture.bytes = std::move(*held);
    OnFrameReceived(capture, true);
}

void CSerialTransEngine::OnAcknowledged()
{
    if (m_bPieced && m_nPieceIndex < m_nPieceCount) {
        ++m_nPieceIndex;
        m_resends.Reset();
        SendNextChunk();
        return;
    }
    Report(WM_SERIAL_SESSION_END, W::Ok);
}

void CSerialTransEngine::OnReplyFrame(const LinkFrame& frame)
{
    switch (static_cast<ScaleCommand>(frame.header.command)) {
    case ScaleCommand::Ack:
        if (IsRequestStep(m_strStep)) {
            m_nRequestAcknowledged = 1;
            m_bAwaitingData = true;
            KeepWaiting(); // for its records
            return;
        }
        if (m_strStep == W::RequestEnd) {
            ResetPieces();
            return;
        }
        OnAcknowledged();
        return;
    case ScaleCommand::Data:
        // Records answer an acknowledged request only.
        if (m_nRequestAcknowledged && IsRequestStep(m_strStep)) {
            m_bAwaitingData = false;
            Report(WM_SERIAL_SESSION_END, W::Ok);
        } else {
            KeepWaiting();
        }
        return;
    case ScaleCommand::EndOfData:
        if (!IsRequestStep(m_strStep)) {
            KeepWaiting(); // it answers no record, clear or end
            return;
        }
        m_bAwaitingData = false;
        m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(W::EndItem));
        Report(WM_SERIAL_SESSION_END, W::Ok);
        return;
    case ScaleCommand::Nak:
        OnBadReply(&frame, true, false);
        return;
    default:
        KeepWaiting();
        return;
    }
}

void CSerialTransEngine::OnBroadcastFrame(const LinkFrame& frame)
{
    const auto command = static_cast<ScaleCommand>(frame.header.command);
    if (IsBroadcastDataStep(m_strStep)) {
        if (frame.header.source != m_broadcastSource) {
            OnBadReply(&frame, true, true);
            return;
        }
        if (command == ScaleCommand::Ack)
            OnAcknowledged();
        else if (command == ScaleCommand::Nak)
            OnBadReply(&frame, true, true);
        else
            KeepWaiting();
        return;
    }
    if (command == ScaleCommand::Ack || command == ScaleCommand::BroadStatusReply)
        OnAcknowledged();
    else if (command == ScaleCommand::Nak)
        OnBadReply(&frame, true, true);
    else
        KeepWaiting();
}

void CSerialTransEngine::OnBadReply(const LinkFrame* frame, bool sumOk, bool broadcast)
{
    if (sumOk && frame && frame->header.command == ToWord(ScaleCommand::Nak) && frame->payload.size() >= 2) {
        const std::uint16_t code = U16At(frame->payload, 0);
        std::optional<SerialWord> word;
        switch (static_cast<NakCode>(code)) {
        case NakCode::MemoryFull:
            word = broadcast ? W::BroadMemoryFull : W::MemoryFull;
            break;
        case NakCode::ProcessError:
            word = broadcast ? W::BroadProcessError : W::ProcessError;
            break;
        case NakCode::DataLengthMiss:
            if (frame->payload.size() >= 6) {
                AfxMessageBox(
                    CString::Formatted("%d...%d", U16At(frame->payload, 2), U16At(frame->payload, 4)), MB_OK);
            }
            word = broadcast ? W::BroadDataLengthMiss : W::DataLengthMiss;
            break;
        case NakCode::NoItem:
            if (!broadcast && IsRequestStep(m_strStep)) {
                m_bAwaitingData = false;
                m_pHost->SetSerialText(IDC_SERIAL_NO_ITEM, Text(W::NoItem));
                Report(WM_SERIAL_SESSION_END, W::Ok);
                return;
            }
            break;
        }
        if (word && m_strStep == W::EndJoin) {
            // The end refused is as good as the end unanswered: the session
            // closes rather than end again.
            Report(WM_SERIAL_SESSION_END, W::EndJoin);
            return;
        }
        if (word) {
            m_bAwaitingData = false;
            m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(*word));
            Report(WM_SERIAL_SESSION_END, W::Ok);
            return;
        }
    }
    if (m_resends.MayResend()) {
        Resend();
        return;
    }
    m_bAwaitingData = false;
    Report(WM_SERIAL_SESSION_ERROR, broadcast ? W::BroadThreeTimeError : W::ThreeTimeError);
}
