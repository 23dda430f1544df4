#include "serial/serial_answer_ledger.h"

void SerialAnswerLedger::Restart()
{
    m_numbering.clear();
    m_plain.clear();
    m_answered.clear();
    Owe();
}

void SerialAnswerLedger::Owe()
{
    m_bAnswered = false;
    m_held.reset();
}

SerialAnswerLedger::Match SerialAnswerLedger::Classify(const LinkFrame* answer, const ByteBuffer& sent) const
{
    LinkFrameHeader header;
    if (!answer || !LinkFrameHeader::Decode(sent, header))
        return Match::Answer;
    const std::uint16_t number = answer->header.sequence;
    const Scale source = answer->header.source;
    if (number == header.sequence)
        return Match::Answer;
    if (number != 0 || m_numbering.contains(source))
        return Match::Stray;
    // Its first answer, or a scale known to leave its answers at 0.
    if (m_plain.contains(source) || !m_answered.contains(source))
        return Match::Answer;
    return Match::Unsure;
}

void SerialAnswerLedger::Take(const LinkFrame* answer, const ByteBuffer& sent, bool unsure)
{
    m_bAnswered = true;
    m_held.reset();
    if (!answer)
        return;
    const Scale source = answer->header.source;
    m_answered.insert(source);
    if (unsure)
        m_plain.insert(source);
    LinkFrameHeader header;
    if (answer->header.sequence != 0 && LinkFrameHeader::Decode(sent, header)
        && answer->header.sequence == header.sequence)
        m_numbering.insert(source);
}

bool SerialAnswerLedger::Hold(ByteBuffer captured)
{
    if (m_held)
        return false;
    m_held = std::move(captured);
    return true;
}

std::optional<ByteBuffer> SerialAnswerLedger::TakeHeld()
{
    std::optional<ByteBuffer> held = std::move(m_held);
    m_held.reset();
    return held;
}
