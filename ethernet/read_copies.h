#pragma once
// ReadCopies: which records of a read are copies the scale sent again after
// the PC sent a packet again. The scale may answer both sends: the first
// record after the resend answers the first send, and one that repeats it, in
// answer to the resend, is a copy. Or, on a whole read, the scale may start the
// read over: records that replay the read from its first one, in order, are
// copies. Anything else is a record of its own, equal lines too. UI thread.

#include <cstddef>
#include <vector>

#include "platform/base/bytes.h"

class ReadCopies {
public:
    void Clear() { *this = ReadCopies(); }
    // The packet the read waits on went again; whole: a whole read, which the
    // scale may start over.
    void Resent(bool whole)
    {
        ++m_resends;
        m_replayAt = whole ? 0 : kNone;
    }
    // A record came: true when it is a copy, not to be stored.
    [[nodiscard]] bool IsCopy(const ByteBuffer& record)
    {
        if (m_replayAt < m_taken.size() && record == m_taken[m_replayAt]) {
            ++m_replayAt;
            m_resends = 0;
            return true;
        }
        m_replayAt = kNone;
        if (m_owed > 0) {
            --m_owed;
            if (record == m_repeat)
                return true;
        }
        if (m_resends > 0) {
            m_repeat = record;
            m_owed = m_resends;
            m_resends = 0;
        }
        m_taken.push_back(record);
        return false;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<ByteBuffer> m_taken; // the records the read took, in order
    std::size_t m_replayAt = kNone; // the next record a replay repeats
    ByteBuffer m_repeat; // the record that answered a resent packet's first send
    int m_owed = 0; // answers its resends still owe
    int m_resends = 0; // resends since the last record taken
};
