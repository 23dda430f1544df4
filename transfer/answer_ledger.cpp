#include "transfer/answer_ledger.h"

#include <algorithm>
#include <cstdint>

#include "platform/base/bytes.h"
#include "protocol/scale_codes.h"

namespace {

// The later of two ticks of a wrapping count that lie close together.
DWORD Later(DWORD a, DWORD b)
{
    return static_cast<std::int32_t>(b - a) > 0 ? b : a;
}

} // namespace

void AnswerLedger::Clear()
{
    *this = AnswerLedger(m_replyMs);
}

void AnswerLedger::Sent(bool record, DWORD now)
{
    m_records.push_back(record ? 1 : 0);
    m_answered = false;
    m_sends.push_back({ m_records.size() - 1, now });
}

void AnswerLedger::Resent(DWORD now)
{
    if (!m_records.empty())
        m_sends.push_back({ m_records.size() - 1, now });
}

AnswerLedger::Match AnswerLedger::Take(Answer answer, DWORD now)
{
    ++m_answers;
    if (answer == Answer::Accepted)
        ++m_accepts;
    else if (answer == Answer::Refused)
        m_refusedAt.push_back(m_answers);
    if (m_matched == m_sends.size()) {
        ++m_surplus;
        m_strayRefusal = m_strayRefusal || answer == Answer::Refused;
        return Match::Surplus;
    }
    const bool resentSince
        = m_matched + 1 < m_sends.size() && m_sends.back().packet == m_sends[m_matched].packet;
    const Send& send = m_sends[m_matched++];
    const bool inFlight = send.packet + 1 == m_records.size();
    // A scale answers in order: it began on this send when it had answered
    // the one before. The first answer of a packet sent again may answer any
    // of its sends: until its copies come, the slowest it may be holds the
    // wait for them, and no measure is taken.
    const DWORD began = m_anyAnswer ? Later(send.at, m_lastAnswerAt) : send.at;
    m_lastMs = now - began;
    if (inFlight && !m_answered && resentSince)
        m_unsureMs = now - send.at;
    else
        m_slowestMs = std::max<DWORD>(m_slowestMs, m_lastMs);
    if (Owed() == 0)
        m_unsureMs = 0;
    m_lastAnswerAt = now;
    m_anyAnswer = true;
    m_lastAnswered = send.packet + 1;
    if (inFlight && !m_answered && answer != Answer::Other) {
        m_answered = true;
        if (answer == Answer::Accepted && m_records[send.packet] != 0)
            ++m_acceptedRecords;
        return Match::Packet;
    }
    // A refusal matched to a packet already passed may be the next one's.
    m_strayRefusal = m_strayRefusal || (answer == Answer::Refused && !inFlight);
    return Match::Copy;
}

std::size_t AnswerLedger::Owed() const
{
    return m_sends.size() - m_matched;
}

DWORD AnswerLedger::OwedTimeLeft(DWORD now) const
{
    if (Owed() == 0)
        return 0;
    const DWORD at = m_sends[m_matched].at;
    const DWORD began = m_anyAnswer ? Later(at, m_lastAnswerAt) : at;
    const DWORD due = began + std::max(AnswerTime(), m_unsureMs + m_unsureMs / 2);
    return static_cast<std::int32_t>(due - now) > 0 ? due - now : 0;
}

void AnswerLedger::GiveUpOverdue(DWORD now)
{
    while (Owed() > 0 && OwedTimeLeft(now) == 0) {
        ++m_matched;
        ++m_givenUp;
    }
    if (Owed() == 0)
        m_unsureMs = 0;
}

DWORD AnswerLedger::WaitOn(DWORD now)
{
    GiveUpOverdue(now);
    return Owed() == 0 ? 0 : std::max<DWORD>(OwedTimeLeft(now), 1);
}

std::optional<AnswerLedger::Answer> AnswerLedger::Of(const ScalePacket& packet, std::uint16_t& code)
{
    code = 0;
    if (packet.Is(ScaleCommand::Ack))
        return Answer::Accepted;
    if (!packet.Is(ScaleCommand::Nak))
        return std::nullopt;
    ByteReader reader(packet.payload);
    // A refusal the sender does not know: the packet goes again.
    return reader.GetU16LE(code) && NakText(code) != nullptr ? Answer::Refused : Answer::Other;
}

DWORD AnswerLedger::AnswerTime() const
{
    return MeasuredTime(m_replyMs);
}

DWORD AnswerLedger::MeasuredTime(DWORD floorMs) const
{
    return std::max<DWORD>(floorMs, m_slowestMs + m_slowestMs / 2);
}

DWORD AnswerLedger::QuietTime(DWORD floorMs) const
{
    return std::max<DWORD>(floorMs, m_lastMs + m_lastMs / 2);
}

// The scale answers in the order of the packets and each packet it took at
// least once. A refusal at answer j of q answers packet m - 1 - (q - j) or a
// later one (m packets sent): the records before it were taken. No packet
// after the last one an answer was matched to is shown taken.
std::size_t AnswerLedger::CertainRecords() const
{
    const std::size_t packets = m_records.size();
    std::size_t bound = packets;
    for (std::size_t at : m_refusedAt) {
        const std::size_t later = m_answers - at;
        bound = std::min(bound, packets > later + 1 ? packets - 1 - later : 0);
    }
    bound = std::min(bound, m_lastAnswered);
    const auto records = static_cast<std::size_t>(
        std::count(m_records.begin(), m_records.begin() + static_cast<std::ptrdiff_t>(bound), 1));
    const std::size_t accepts = m_accepts - std::min(m_accepts, m_surplus);
    return std::min({ records, accepts, m_acceptedRecords });
}
