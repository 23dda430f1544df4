#pragma once
// SerialAnswerLedger: what the RS-232 engine is owed for the frame it wrote
// last, and what each scale of the session has shown of its numbering.
//
// A frame is owed one answer: once one is taken, whatever else comes before
// the next frame is a repeat. An ACK, NAK or status reply answers the frame
// whose number it carries. A scale that leaves its answers at 0 is taken as
// not numbering them until it answers with a number; a 0 from it after an
// answer already taken may be that answer repeated (Unsure): the engine waits
// a short while for the numbered one (holding the 0) and takes the 0 when none
// comes.

#include <array>
#include <optional>
#include <set>

#include "platform/base/bytes.h"
#include "protocol/link_frame.h"

class SerialAnswerLedger {
public:
    enum class Match { Answer, Stray, Unsure };

    // A session opens: nothing is known of its scales.
    void Restart();
    // An answer is owed again: a frame went, or the answer taken decided
    // nothing. What was held is dropped.
    void Owe();
    bool IsAnswered() const { return m_bAnswered; }

    // answer: the ACK, NAK or status reply captured (nullptr for any other
    // frame); sent: the frame last written, unstuffed.
    [[nodiscard]] Match Classify(const LinkFrame* answer, const ByteBuffer& sent) const;
    // The answer is taken; unsure when it was a 0 that no numbered answer
    // followed. What was held is dropped: it was a repeat.
    void Take(const LinkFrame* answer, const ByteBuffer& sent, bool unsure);

    // An unsure answer as captured; false when one is held already (the same
    // 0 again).
    bool Hold(ByteBuffer captured);
    bool IsHolding() const { return m_held.has_value(); }
    // The answer held, taken out.
    std::optional<ByteBuffer> TakeHeld();

private:
    using Scale = std::array<char, 2>;

    std::set<Scale> m_numbering; // answer with the frame's number
    std::set<Scale> m_plain; // leave their answers at 0
    std::set<Scale> m_answered; // have answered a frame
    bool m_bAnswered = false;
    std::optional<ByteBuffer> m_held;
};
