// The broadcast session: join every chosen scale, tell each joined scale that
// a broadcast starts, send the records once to "99", ask each joined scale for
// its status, and end each joined scale's session.

#include <algorithm>

#include "platform/wnd/core/msgbox.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_walk_state.h"

using W = SerialWord;

void CScaleLink::OnBroadcastReply()
{
    const Mailbox box = ReadMailbox();
    if (box.reply != W::Report)
        return;
    if (box.status == W::BroadJoinError) {
        // The scale that did not join is told the end, and passed over.
        m_frames.Send(
            W::EndJoin, ScaleCommand::EndJoin, {}, m_pWalk->GetBroadcastScaleId(m_broadcast.Index()));
        if (!StepPass(&CScaleLink::SendBroadcastJoin))
            StartPass(&CScaleLink::SendBroadStart);
        return;
    }
    if (box.status == W::BroadThreeTimeError) {
        AfxMessageBox(box.status, MB_OK);
        m_ending.SetHow("No answer (" + box.status + ")");
        StartClosingPass();
        return;
    }
    // An ALL_ENDJOIN that got no answer: that scale is done all the same.
    const bool endUnanswered = box.status == W::AllEndJoin && box.step == W::AllEndJoin;
    if (box.status != W::Ok && !endUnanswered)
        return;
    if (OnBroadcastPass(box) || OnRecordSent(box.step)) {
        // The next frame went, or the session ended.
    } else if (box.step == W::SelectScaleInformation || box.step == W::SelectScaleRootInformation) {
        m_ending.NoteAccepted(box.step, m_nRecordIndex);
        StartPass(&CScaleLink::SendAllReset);
    } else if (const char* text = CSessionEnding::RefusalText(box.step, true)) {
        AfxMessageBox(text, MB_OK);
        m_ending.SetHow(CString("Trans Failed (") + text + ")");
        StartClosingPass();
    }
}

bool CScaleLink::OnBroadcastPass(const Mailbox& box)
{
    const CString& step = box.step;
    if (step == W::Open) {
        SendBroadcastJoin(m_broadcast.StartJoins());
    } else if (step == W::Join) {
        m_broadcast.Joined();
        if (!StepPass(&CScaleLink::SendBroadcastJoin))
            StartPass(&CScaleLink::SendBroadStart);
    } else if (step == W::BroadStart) {
        if (!StepPass(&CScaleLink::SendBroadStart)) {
            m_broadcast.EndPass();
            m_nRecordCount = 0;
            m_nRecordIndex = 0;
            StartFirstSend(box);
        }
    } else if (step == W::BroadStatusRequest) {
        const int index = m_broadcast.Index();
        const CString what
            = m_broadcast.StatusVerdict(m_pEngine->GetReceivedFrame(), index, m_ending.Accepted());
        if (!what.IsEmpty())
            m_ending.NoteShort(m_broadcast.JoinedLabel(index), what);
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
    } else if (step == W::AllReset) {
        if (!StepPass(&CScaleLink::SendAllReset))
            FinishBroadcast();
    } else {
        return false;
    }
    return true;
}

void CScaleLink::StartPass(IndexSender send)
{
    (this->*send)(m_broadcast.StartPass());
}

bool CScaleLink::StepPass(IndexSender send)
{
    const std::optional<int> next = m_broadcast.StepPass();
    if (!next)
        return false;
    (this->*send)(*next);
    return true;
}

void CScaleLink::StartClosingPass()
{
    if (m_broadcast.JoinedCount() < 1) {
        FinishBroadcast(); // no session to end
        return;
    }
    StartPass(&CScaleLink::SendAllEndJoin);
}

// "Trans Complete" only when every chosen scale joined and took every record.
void CScaleLink::FinishBroadcast()
{
    m_broadcast.EndPass();
    const CString missed = m_broadcast.NotJoined();
    const bool complete = m_ending.WentThrough() && m_ending.ShortScales().IsEmpty() && missed.IsEmpty();
    CString ending = EndingText("Trans Complete", false);
    if (!m_ending.WentThrough())
        ending = EndingText(m_ending.How(), false);
    else if (!m_ending.ShortScales().IsEmpty())
        ending = EndingText("Trans Failed (" + m_ending.ShortScales() + ")", false);
    else if (!missed.IsEmpty())
        ending = EndingText(
            CString::Formatted("Trans Complete on %d scales only", m_broadcast.JoinedCount()), false);
    if (!missed.IsEmpty())
        ending += " Not joined, sent nothing: " + missed + ".";
    m_frames.SendClose();
    AfxMessageBox(ending, complete ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
}

void CScaleLink::SendBroadcastJoin(int index)
{
    m_frames.SendJoin(m_broadcast.Try(index));
}

void CScaleLink::SendBroadStart(int index)
{
    if (m_broadcast.JoinedCount() < 1) {
        m_ending.SetHow("No scale joined");
        FinishBroadcast();
        return;
    }
    m_pEngine->SetBroadcastReplySource(m_broadcast.JoinedId(1));
    const std::uint8_t payload[] = { static_cast<std::uint8_t>(index == 1 ? 1 : 0), 0 };
    m_frames.Send(W::BroadStart, ScaleCommand::BroadStart, payload, m_broadcast.JoinedId(index));
}

void CScaleLink::SendStatusRequest(int index)
{
    m_frames.Send(W::BroadStatusRequest, ScaleCommand::BroadStatusRequest, {}, m_broadcast.JoinedId(index));
}

void CScaleLink::SendAllEndJoin(int index)
{
    m_frames.Send(W::AllEndJoin, ScaleCommand::EndJoin, {}, m_broadcast.JoinedId(index));
}

void CScaleLink::SendAllReset(int index)
{
    m_frames.Send(W::AllReset, ScaleCommand::ResetScale, {}, m_broadcast.JoinedId(index));
}
