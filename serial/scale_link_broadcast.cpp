// The broadcast session: join every chosen scale, tell each joined scale that
// a broadcast starts, send the records once to "99", ask each joined scale for
// its status, and end each joined scale's session.

#include <algorithm>

#include "platform/wnd/core/msgbox.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"

using W = SerialWord;

ScaleId CScaleLink::JoinedId(int index) const
{
    if (index < 1 || index > kMaxBroadcastScales)
        return { '0', '0' };
    return m_joinedIds[static_cast<std::size_t>(index)];
}

void CScaleLink::OnBroadcastReply()
{
    const Mailbox box = ReadMailbox();
    if (box.reply != W::Report)
        return;
    const CString& step = box.step;
    if (box.status == W::BroadJoinError) {
        SendBroadcastEndJoin(m_nIndex);
        if (!StepPass(&CScaleLink::SendBroadcastJoin))
            StartPass(&CScaleLink::SendBroadStart);
        return;
    }
    if (box.status == W::BroadThreeTimeError) {
        AfxMessageBox(box.status, MB_OK);
        m_strEnding = "No answer (" + box.status + ")";
        StartClosingPass();
        return;
    }
    // An ALL_ENDJOIN that got no answer: that scale is done all the same.
    const bool endUnanswered = box.status == W::AllEndJoin && step == W::AllEndJoin;
    if (box.status != W::Ok && !endUnanswered)
        return;

    if (step == W::Open) {
        m_joinedIds.fill({ '0', '0' });
        m_strShortScales.Empty();
        m_nJoinedCount = 0;
        m_nTotal = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
        m_nIndex = 1;
        SendBroadcastJoin(1);
    } else if (step == W::Join) {
        if (m_nJoinedCount < kMaxBroadcastScales) {
            ++m_nJoinedCount;
            m_joinedIds[static_cast<std::size_t>(m_nJoinedCount)] = m_lastJoinId;
        }
        if (!StepPass(&CScaleLink::SendBroadcastJoin))
            StartPass(&CScaleLink::SendBroadStart);
    } else if (step == W::BroadStart) {
        if (!StepPass(&CScaleLink::SendBroadStart)) {
            m_nIndex = 0;
            m_nTotal = 0;
            m_nRecordCount = 0;
            m_nRecordIndex = 0;
            StartFirstSend(box);
        }
    } else if (OnRecordSent(step, &CScaleLink::StartStatusPass)) {
        // The next record went to "99", or the status pass began.
    } else if (step == W::BroadStatusRequest) {
        ShowStatusReply(m_nIndex);
        if (!StepPass(&CScaleLink::SendStatusRequest))
            StartClosingPass();
    } else if (step == W::AllEndJoin) {
        if (!StepPass(&CScaleLink::SendAllEndJoin)) {
            FinishBroadcast();
            if (box.kind != DataKind::ScaleInfo) {
                m_pHost->EnableItemTransButtons(TRUE);
                m_pHost->EnableScaleTransButtons(TRUE);
                m_pHost->EnableTransStopButton(FALSE);
            }
        }
    } else if (step == W::SelectScaleInformation || step == W::SelectScaleRootInformation) {
        NoteAccepted(step);
        StartPass(&CScaleLink::SendAllReset);
    } else if (step == W::AllReset) {
        if (!StepPass(&CScaleLink::SendAllReset))
            FinishBroadcast();
    } else if (const char* text = RefusalText(step, true)) {
        AfxMessageBox(text, MB_OK);
        m_strEnding = CString("Trans Failed (") + text + ")";
        StartClosingPass();
    }
}

void CScaleLink::StartPass(IndexSender send)
{
    m_nTotal = m_nJoinedCount;
    m_nIndex = 1;
    (this->*send)(1);
}

bool CScaleLink::StepPass(IndexSender send)
{
    if (m_nIndex > m_nTotal - 1)
        return false;
    ++m_nIndex;
    (this->*send)(m_nIndex);
    return true;
}

void CScaleLink::StartStatusPass()
{
    StartPass(&CScaleLink::SendStatusRequest);
}

void CScaleLink::StartClosingPass()
{
    if (m_nJoinedCount < 1) {
        FinishBroadcast(); // no session to end
        return;
    }
    StartPass(&CScaleLink::SendAllEndJoin);
}

// "Trans Complete" only when every chosen scale joined and took every record.
void CScaleLink::FinishBroadcast()
{
    m_nTotal = 0;
    m_nIndex = 0;
    const CString missed = NotJoinedScales();
    const bool complete = m_strEnding.IsEmpty() && m_strShortScales.IsEmpty() && missed.IsEmpty();
    CString ending = EndingText("Trans Complete", false);
    if (!m_strEnding.IsEmpty())
        ending = EndingText(m_strEnding, false);
    else if (!m_strShortScales.IsEmpty())
        ending = EndingText("Trans Failed (" + m_strShortScales + ")", false);
    else if (!missed.IsEmpty())
        ending = EndingText(CString::Formatted("Trans Complete on %d scales only", m_nJoinedCount), false);
    if (!missed.IsEmpty())
        ending += " Not joined, sent nothing: " + missed + ".";
    SendClose();
    AfxMessageBox(ending, complete ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
}

CString CScaleLink::NotJoinedScales() const
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

void CScaleLink::ShowStatusReply(int index)
{
    LinkFrame frame;
    const ByteBuffer received = m_pEngine->GetReceivedFrame();
    const bool parsed = ParseLinkFrame(received, frame).ok()
        && frame.header.command == ToWord(ScaleCommand::BroadStatusReply);
    const std::size_t length = parsed ? std::min<std::size_t>(frame.header.length, frame.payload.size()) : 0;
    CString what;
    if (length < 2) {
        // No count to hold against the records sent.
        what = "status unreadable";
    } else {
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
            what = CString::Formatted("error code %d", code);
        else if (su < m_nAcked)
            what = CString::Formatted("kept %d", su);
    }
    if (!what.IsEmpty())
        m_strShortScales += (m_strShortScales.IsEmpty() ? "" : ", ") + JoinedLabel(index) + " " + what;
}

CString CScaleLink::JoinedLabel(int index) const
{
    const int count = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
    for (int i = 1; i <= count; ++i) {
        if (m_pWalk->GetBroadcastScaleId(i) == JoinedId(index))
            return m_pWalk->GetBroadcastScaleLabel(i);
    }
    const ScaleId id = JoinedId(index);
    return CString::Formatted("ID %c%c", id[0], id[1]);
}

void CScaleLink::SendBroadcastJoin(int index)
{
    m_lastJoinId = m_pWalk->GetBroadcastScaleId(index);
    const std::string id(m_lastJoinId.begin(), m_lastJoinId.end());
    HandOff(W::Join, ::BuildJoinFrame(id));
}

void CScaleLink::SendBroadStart(int index)
{
    if (m_nJoinedCount < 1) {
        m_strEnding = "No scale joined";
        FinishBroadcast();
        return;
    }
    m_pEngine->SetBroadcastReplySource(JoinedId(1));
    const std::uint8_t payload[] = { static_cast<std::uint8_t>(index == 1 ? 1 : 0), 0 };
    HandOff(W::BroadStart, BuildFrame(ToWord(ScaleCommand::BroadStart), payload, JoinedId(index)));
}

void CScaleLink::SendStatusRequest(int index)
{
    HandOff(W::BroadStatusRequest, BuildFrame(ToWord(ScaleCommand::BroadStatusRequest), {}, JoinedId(index)));
}

void CScaleLink::SendAllEndJoin(int index)
{
    HandOff(W::AllEndJoin, BuildFrame(ToWord(ScaleCommand::EndJoin), {}, JoinedId(index)));
}

void CScaleLink::SendBroadcastEndJoin(int index)
{
    HandOff(W::EndJoin, BuildFrame(ToWord(ScaleCommand::EndJoin), {}, m_pWalk->GetBroadcastScaleId(index)));
}

void CScaleLink::SendAllReset(int index)
{
    HandOff(W::AllReset, BuildFrame(ToWord(ScaleCommand::ResetScale), {}, JoinedId(index)));
}
