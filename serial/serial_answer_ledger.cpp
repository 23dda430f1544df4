#include "serial/serial_answer_ledger.h"

void SerialAnswerLedger::Restart()
{
    m_numbering.clear();
    m_bAnswered = false;
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
    return Match::Answer;
}

void SerialAnswerLedger::Take(const LinkFrame* answer, const ByteBuffer& sent)
{
    m_bAnswered = true;
    if (!answer)
        return;
    const Scale source = answer->header.source;
    LinkFrameHeader header;
    if (answer->header.sequence != 0 && LinkFrameHeader::Decode(sent, header)
        && answer->header.sequence == header.sequence)
        m_numbering.insert(source);
}
