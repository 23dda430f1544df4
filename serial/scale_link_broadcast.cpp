// The broadcast session: join every chosen scale, tell each joined scale that
// a broadcast starts, send the records once to "99", ask each joined scale for
// its status, and end each joined scale's session.

#include <initializer_list>

#include "platform/wnd/msgbox.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/serial_transfer.h"

namespace {

bool OneOf(const CString& word, std::initializer_list<const char*> words)
{
    for (const char* w : words) {
        if (word == w)
            return true;
    }
    return false;
}

} // namespace

ScaleId CScaleLink::JoinedId(int index) const
{
    if (index < 1 || index > kMaxBroadcastScales)
        return { '0', '0' };
    return m_joinedIds[static_cast<std::size_t>(index)];
}

void CScaleLink::OnBroadcastReply()
{
    const Mailbox box = ReadMailbox();
    if (box.reply != "Report")
        return;
    const CString& step = box.step;
    if (box.status == "BROADJOINERROR") {
        SendBroadcastEndJoin(m_nIndex);
        if (m_nIndex > m_nTotal - 1) {
            m_nTotal = m_nJoinedCount;
            m_nIndex = 1;
            SendBroadStart(1);
        } else {
            ++m_nIndex;
            SendBroadcastJoin(m_nIndex);
        }
        return;
    }
    if (box.status == "BROAD 3TimeError") {
        AfxMessageBox(box.status, MB_OK);
        StartClosingPass();
        return;
    }
    // An ALL_ENDJOIN that got no answer: that scale is done all the same.
    const bool endUnanswered = box.status == "ALL_ENDJOIN" && step == "ALL_ENDJOIN";
    if (box.status != "OK" && !endUnanswered)
        return;

    if (step == "OPEN") {
        m_joinedIds.fill({ '0', '0' });
        m_nJoinedCount = 0;
        m_nTotal = std::min(m_pWalk->GetBroadcastCount(), kMaxBroadcastScales);
        m_nIndex = 1;
        SendBroadcastJoin(1);
    } else if (step == "JOIN") {
        if (m_nJoinedCount < kMaxBroadcastScales) {
            ++m_nJoinedCount;
            m_joinedIds[static_cast<std::size_t>(m_nJoinedCount)] = m_lastJoinId;
        }
        if (m_nIndex > m_nTotal - 1) {
            m_nTotal = m_nJoinedCount;
            m_nIndex = 1;
            SendBroadStart(1);
        } else {
            ++m_nIndex;
            SendBroadcastJoin(m_nIndex);
        }
    } else if (step == "BROAD_START") {
        if (m_nIndex > m_nTotal - 1) {
            m_nIndex = 0;
            m_nTotal = 0;
            m_nRecordCount = 0;
            m_nRecordIndex = 0;
            StartFirstSend(box);
        } else {
            ++m_nIndex;
            SendBroadStart(m_nIndex);
        }
    } else if (OneOf(step, { "PLU_CLEAR", "ADD_CLEAR", "ADV_CLEAR", "LAND_ADD_CLEAR", "USER_LABEL_CLEAR" })) {
        AfterClear(step);
    } else if (OneOf(step, { "DATA", "ADD_DATA", "ADV_DATA", "LAND_ADD_DATA", "USER_LABEL_DATA" })) {
        if (m_nRecordIndex > m_nRecordCount - 1) {
            StartStatusPass();
        } else {
            ++m_nRecordIndex;
            SendNextRecord(step);
        }
    } else if (OneOf(step,
                   { "SELECT_DATA", "SELECT_ADD_DATA", "SELECT_ADV_DATA", "SELECT_LAND_ADD_DATA",
                       "USER_LABEL_SELECT_DATA" })) {
        if (m_nRecordIndex + 1 < m_nRecordCount) {
            ++m_nRecordIndex;
            SendNextRecord(step);
        } else {
            StartStatusPass();
        }
    } else if (step == "PRE_DATA") {
        StartStatusPass();
    } else if (step == "BROAD_STATUS_REQ") {
        ShowStatusReply(m_nIndex);
        if (m_nIndex > m_nTotal - 1) {
            StartClosingPass();
        } else {
            ++m_nIndex;
            SendStatusRequest(m_nIndex);
        }
    } else if (step == "ALL_ENDJOIN") {
        if (m_nIndex > m_nTotal - 1) {
            m_nTotal = 0;
            m_nIndex = 0;
            SendClose();
            AfxMessageBox("Trans Complete", MB_OK);
            if (box.kind != "SCALE_INFOMATION") {
                m_pHost->EnableItemTransButtons(TRUE);
                m_pHost->EnableScaleTransButtons(TRUE);
                m_pHost->EnableTransStopButton(FALSE);
            }
        } else {
            ++m_nIndex;
            SendAllEndJoin(m_nIndex);
        }
    } else if (OneOf(step, { "SELECT_SCALE_INFOMATION", "SELECT_SCALE_ROOT_INFOMATION" })) {
        StartResetPass();
    } else if (step == "ALL_RESET") {
        if (m_nIndex > m_nTotal - 1) {
            m_nTotal = 0;
            m_nIndex = 0;
            SendClose();
            AfxMessageBox("Trans Complete", MB_OK);
        } else {
            ++m_nIndex;
            SendAllReset(m_nIndex);
        }
    } else if (step == "BROAD MEMORY FULL" || step == "BROAD DATA LENGTH MISS"
        || step == "BROAD PROCESS ERROR") {
        AfxMessageBox(step == "BROAD MEMORY FULL"  ? "scale memory full"
                : step == "BROAD DATA LENGTH MISS" ? "scale data length error"
                                                   : "scale process error",
            MB_OK);
        StartClosingPass();
    }
}

void CScaleLink::StartStatusPass()
{
    m_nTotal = m_nJoinedCount;
    m_nIndex = 1;
    SendStatusRequest(1);
}

void CScaleLink::StartClosingPass()
{
    m_nTotal = m_nJoinedCount;
    m_nIndex = 1;
    if (m_nJoinedCount < 1) {
        SendClose();
        return;
    }
    SendAllEndJoin(1);
}

void CScaleLink::StartResetPass()
{
    m_nTotal = m_nJoinedCount;
    m_nIndex = 1;
    SendAllReset(1);
}

void CScaleLink::ShowStatusReply(int index)
{
    LinkFrame frame;
    const ByteBuffer received = m_pEngine->GetReceivedFrame();
    if (!ParseLinkFrame(received, frame).ok() || frame.header.length != 4 || frame.payload.size() < 4)
        return;
    const int su = frame.payload[0] | (frame.payload[1] << 8);
    const int code = frame.payload[2] | (frame.payload[3] << 8);
    const ScaleId id = JoinedId(index);
    if (code == 0)
        AfxMessageBox(CString::Formatted("%d%d....OKcode su=%d", id[0], id[1], su), MB_OK);
    else
        AfxMessageBox(CString::Formatted("%d%d....errcode su=%d", id[0], id[1], code), MB_OK);
}

void CScaleLink::SendBroadcastJoin(int index)
{
    m_lastJoinId = m_pWalk->GetBroadcastScaleId(index);
    const std::string id(m_lastJoinId.begin(), m_lastJoinId.end());
    HandOff("JOIN", ::BuildJoinFrame(id));
}

void CScaleLink::SendBroadStart(int index)
{
    if (m_nJoinedCount < 1) {
        SendClose();
        AfxMessageBox("Trans Complete", MB_OK);
        return;
    }
    m_pEngine->SetBroadcastReplySource(JoinedId(1));
    const std::uint8_t payload[] = { static_cast<std::uint8_t>(index == 1 ? 1 : 0), 0 };
    HandOff("BROAD_START", BuildFrame(ToWord(ScaleCommand::BroadStart), payload, JoinedId(index)));
}

void CScaleLink::SendStatusRequest(int index)
{
    HandOff("BROAD_STATUS_REQ", BuildFrame(ToWord(ScaleCommand::BroadStatusRequest), {}, JoinedId(index)));
}

void CScaleLink::SendAllEndJoin(int index)
{
    HandOff("ALL_ENDJOIN", BuildFrame(ToWord(ScaleCommand::EndJoin), {}, JoinedId(index)));
}

void CScaleLink::SendBroadcastEndJoin(int index)
{
    HandOff("ENDJOIN", BuildFrame(ToWord(ScaleCommand::EndJoin), {}, m_pWalk->GetBroadcastScaleId(index)));
}

void CScaleLink::SendAllReset(int index)
{
    HandOff("ALL_RESET", BuildFrame(ToWord(ScaleCommand::ResetScale), {}, JoinedId(index)));
}
