#include "serial/broadcast_scales.h"

#include <algorithm>

#include "platform/wnd/core/msgbox.h"
#include "protocol/link_frame.h"
#include "protocol/scale_codes.h"

int CBroadcastScales::StartJoins()
{
    m_joinedIds.fill({ '0', '0' });
    m_nJoinedCount = 0;
    m_nTotal = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
    m_nIndex = 1;
    return m_nIndex;
}

ScaleId CBroadcastScales::Try(int index)
{
    m_lastJoinId = m_pWalk->GetBroadcastScaleId(index);
    return m_lastJoinId;
}

void CBroadcastScales::Joined()
{
    if (m_nJoinedCount < kMaxBroadcastScales) {
        ++m_nJoinedCount;
        m_joinedIds[static_cast<std::size_t>(m_nJoinedCount)] = m_lastJoinId;
    }
}

ScaleId CBroadcastScales::JoinedId(int index) const
{
    if (index < 1 || index > kMaxBroadcastScales)
        return { '0', '0' };
    return m_joinedIds[static_cast<std::size_t>(index)];
}

int CBroadcastScales::StartPass()
{
    m_nTotal = m_nJoinedCount;
    m_nIndex = 1;
    return m_nIndex;
}

std::optional<int> CBroadcastScales::StepPass()
{
    if (m_nIndex > m_nTotal - 1)
        return std::nullopt;
    return ++m_nIndex;
}

void CBroadcastScales::EndPass()
{
    m_nTotal = 0;
    m_nIndex = 0;
}

CString CBroadcastScales::NotJoined() const
{
    CString names;
    const int count = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
    for (int i = 1; i <= count; ++i) {
        const ScaleId id = m_pWalk->GetBroadcastScaleId(i);
        bool joined = false;
        for (int j = 1; j <= m_nJoinedCount && !joined; ++j)
            joined = JoinedId(j) == id;
        if (!joined)
            names += (names.IsEmpty() ? "" : ", ") + m_pWalk->GetBroadcastScaleLabel(i);
    }
    return names;
}

CString CBroadcastScales::JoinedLabel(int index) const
{
    const int count = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
    for (int i = 1; i <= count; ++i) {
        if (m_pWalk->GetBroadcastScaleId(i) == JoinedId(index))
            return m_pWalk->GetBroadcastScaleLabel(i);
    }
    const ScaleId id = JoinedId(index);
    return CString::Formatted("ID %c%c", id[0], id[1]);
}

CString CBroadcastScales::StatusVerdict(const ByteBuffer& reply, int index, int accepted) const
{
    LinkFrame frame;
    const bool parsed
        = ParseLinkFrame(reply, frame).ok() && frame.header.command == ToWord(ScaleCommand::BroadStatusReply);
    const std::size_t length = parsed ? std::min<std::size_t>(frame.header.length, frame.payload.size()) : 0;
    if (length < 2)
        return "status unreadable"; // no count to hold against the records sent
    const int su = frame.payload[0] | (frame.payload[1] << 8);
    const int code = length == 4 ? frame.payload[2] | (frame.payload[3] << 8) : 0;
    const ScaleId id = JoinedId(index);
    // A count without its code shows no box; the count is used all the same.
    if (length == 4)
        AfxMessageBox(code == 0 ? CString::Formatted("%d%d....OKcode su=%d", id[0], id[1], su)
                                : CString::Formatted("%d%d....errcode su=%d", id[0], id[1], code),
            MB_OK);
    // The scale's own count of what it kept, against the records sent.
    if (code > 0)
        return CString::Formatted("error code %d", code);
    if (su < accepted)
        return CString::Formatted("kept %d", su);
    return "";
}
