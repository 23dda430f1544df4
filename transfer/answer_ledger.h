#pragma once
// AnswerLedger: the answers a sender is owed by a scale whose answers carry no
// number. Every send of a packet (its first and each resend) owes one answer;
// answers are matched to the sends in order, oldest first. The ledger also
// measures how long the scale takes to answer (from a send, or from the answer
// before it when the scale was still busy), so that a slow scale is given its
// time instead of being resent to and run ahead of.
//
// The sender asks it: is the packet in flight answered, is an answer still
// owed and until when, how long to wait for an answer before a resend, and at
// the end, whether it may say "complete" (nothing owed, no answer beyond the
// sends, no refusal that may be another packet's) and how many records are
// certain. Times are milliseconds of a wrapping tick count; the ledger keeps
// no clock of its own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/types.h"
#include "protocol/scale_packet.h"

class AnswerLedger {
public:
    enum class Answer {
        Accepted, // an acknowledgement
        Refused, // a refusal the sender knows: the packet did not go through
        Other, // a refusal the sender does not know: the packet goes again
    };
    enum class Match {
        Packet, // the first answer of the packet in flight
        Copy, // the answer to another send of a packet already answered
        Surplus, // more answers than sends
    };

    explicit AnswerLedger(DWORD replyMs = 3000)
        : m_replyMs(replyMs)
    { }

    void SetReplyTime(DWORD replyMs) { m_replyMs = replyMs; }
    // A new job: nothing sent, nothing measured.
    void Clear();

    // A new packet goes out for the first time; record: it carries a record.
    void Sent(bool record, DWORD now);
    // The packet in flight goes out again.
    void Resent(DWORD now);
    // An answer came.
    Match Take(Answer answer, DWORD now);

    // The packet in flight has its acknowledgement or refusal.
    [[nodiscard]] bool IsAnswered() const { return m_answered; }
    // Answers the sends made so far still owe.
    [[nodiscard]] std::size_t Owed() const;
    // Time left until the oldest owed answer is overdue (0: none owed, or it is).
    [[nodiscard]] DWORD OwedTimeLeft(DWORD now) const;
    // A wait for owed answers ran out: the overdue ones are given up; the
    // time still to wait for the others (0: none is owed).
    [[nodiscard]] DWORD WaitOn(DWORD now);
    // The owed answers whose time has passed are owed no more: one that comes
    // after all the same is taken for a later send's, and shows as an answer
    // beyond the sends at the end.
    void GiveUpOverdue(DWORD now);
    // The wait for an answer: the reply deadline, longer for a scale measured
    // slower.
    [[nodiscard]] DWORD AnswerTime() const;
    // The scale's slowest answer so far, with a margin (least: floorMs).
    [[nodiscard]] DWORD MeasuredTime(DWORD floorMs) const;
    // The wait for the next answer of a scale still answering: its last
    // answer's time, with a margin (least: floorMs).
    [[nodiscard]] DWORD QuietTime(DWORD floorMs) const;
    // An answer came when no send owed one.
    [[nodiscard]] bool HasSurplus() const { return m_surplus > 0; }
    // The owed answers given up.
    [[nodiscard]] std::size_t GivenUp() const { return m_givenUp; }
    // A refusal came that the matching cannot tie to the packet it refused.
    [[nodiscard]] bool HasStrayRefusal() const { return m_strayRefusal; }
    // Nothing owed, nothing beyond the sends, no refusal astray.
    [[nodiscard]] bool IsSettled() const { return Owed() == 0 && !HasSurplus() && !m_strayRefusal; }
    // Records the scale took for certain, when its answers could not be
    // matched: no more than its acknowledgements less the answers beyond the
    // sends, none at or past the earliest packet a refusal may answer, none
    // past the last packet an answer was matched to.
    [[nodiscard]] std::size_t CertainRecords() const;
    // Records the matching took as acknowledged.
    [[nodiscard]] std::size_t AcceptedRecords() const { return m_acceptedRecords; }
    [[nodiscard]] std::size_t Answers() const { return m_answers; }
    [[nodiscard]] std::size_t Sends() const { return m_sends.size(); }

    // What a packet from the scale is to a sender, and the refusal's code;
    // none for data or anything else, which answers no send.
    [[nodiscard]] static std::optional<Answer> Of(const ScalePacket& packet, std::uint16_t& code);

private:
    struct Send {
        std::size_t packet;
        DWORD at;
    };

    DWORD m_replyMs;
    std::vector<Send> m_sends;
    std::vector<std::uint8_t> m_records; // per packet: 1 for a record
    std::size_t m_matched = 0; // sends that have their answer, or were given up
    std::size_t m_givenUp = 0;
    std::size_t m_answers = 0; // answers counted (unknown refusals too)
    std::size_t m_accepts = 0; // acknowledgements among them
    std::size_t m_surplus = 0; // answers that came when no send owed one
    std::size_t m_lastAnswered = 0; // 1 + the last packet an answer was matched to
    std::vector<std::size_t> m_refusedAt; // positions (from 1) of the refusals
    std::size_t m_acceptedRecords = 0;
    bool m_answered = false;
    bool m_strayRefusal = false;
    bool m_anyAnswer = false;
    DWORD m_lastAnswerAt = 0;
    DWORD m_slowestMs = 0;
    DWORD m_lastMs = 0; // the last answer's time
    DWORD m_unsureMs = 0; // the slowest the answer of a resent packet may have been
};
