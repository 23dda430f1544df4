#pragma once
// CBroadcastScales: the scales of a broadcast session. The walk chose them;
// those that answered their join are kept in the order they joined (at most
// kMaxBroadcastScales), and each pass (start, status, closing, reset) goes
// over the joined scales from the first. UI thread only.

#include <array>
#include <optional>

#include "platform/base/bytes.h"
#include "platform/base/cstring.h"
#include "serial/serial_host.h"
#include "serial/serial_walk_state.h"

class CBroadcastScales {
public:
    void SetWalk(const CSerialWalkState* walk) { m_pWalk = walk; }

    // The session opens: none joined; the join pass begins at the first
    // chosen scale (returned).
    int StartJoins();
    // The chosen scale of index (from 1), whose join frame goes now.
    ScaleId Try(int index);
    // The scale last tried joined.
    void Joined();
    int JoinedCount() const { return m_nJoinedCount; }
    // The joined scale of index (from 1); "00" outside the table.
    ScaleId JoinedId(int index) const;
    // The joined scale as the messages name it.
    CString JoinedLabel(int index) const;
    // The chosen scales that did not join, as the messages name them.
    CString NotJoined() const;

    // A pass over the joined scales: its first index; the next one, none once
    // the last has been served.
    int StartPass();
    std::optional<int> StepPass();
    // The join pass steps through the chosen scales the same way.
    int Index() const { return m_nIndex; }
    // No pass runs.
    void EndPass();

    // What the status reply of joined scale index says against the records
    // accepted: "" when it confirms them; its box is shown.
    CString StatusVerdict(const ByteBuffer& reply, int index, int accepted) const;

private:
    const CSerialWalkState* m_pWalk = nullptr;
    int m_nJoinedCount = 0;
    int m_nTotal = 0; // scales of the current pass
    int m_nIndex = 0; // 1-based position in the current pass
    std::array<ScaleId, kMaxBroadcastScales + 1> m_joinedIds {};
    ScaleId m_lastJoinId { '0', '0' };
};
