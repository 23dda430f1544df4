#pragma once
// SerialAnswerLedger: what the RS-232 engine is owed for the frame it wrote
// last, and what each scale of the session has shown of its numbering.
//
// A frame is owed one answer: once one is taken, whatever else comes before
// the next frame is a repeat. An ACK, NAK or status reply answers the frame
// whose number it carries. A scale that leaves its answers at 0 is taken as
// not numbering them until it answers with a number.

#include <array>
#include <set>

#include "platform/base/bytes.h"
#include "protocol/link_frame.h"

class SerialAnswerLedger {
public:
    enum class Match { Answer, Stray };

    // A session opens: nothing is known of its scales.
    void Restart();
    // An answer is owed again: a frame went, or the answer taken decided nothing.
    void Owe() { m_bAnswered = false; }
    bool IsAnswered() const { return m_bAnswered; }

    // answer: the ACK, NAK or status reply captured (nullptr for any other
    // frame); sent: the frame last written, unstuffed.
    [[nodiscard]] Match Classify(const LinkFrame* answer, const ByteBuffer& sent) const;
    // The answer is taken.
    void Take(const LinkFrame* answer, const ByteBuffer& sent);

private:
    using Scale = std::array<char, 2>;

    std::set<Scale> m_numbering; // answer with the frame's number
    bool m_bAnswered = false;
};
