#include "serial/serial_transfer.h"

#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "serial/scale_link.h"
#include "serial/serial_trans_engine.h"
#include "serial/table_routes.h"

using W = SerialWord;

CSerialTransfer::CSerialTransfer(CSerialHost* host, int language)
    : m_pHost(host)
    , m_engine(std::make_unique<CSerialTransEngine>())
    , m_link(std::make_unique<CScaleLink>())
{
    m_engine->SetOwnerView(host, this);
    m_engine->SetLanguage(language);
    m_link->SetOwnerView(host, m_engine.get(), this);
    m_link->SetLanguage(language);
}

CSerialTransfer::~CSerialTransfer() = default;

std::array<char, 2> CSerialTransfer::GetBroadcastScaleId(int index) const
{
    if (index < 1 || index > kMaxBroadcastScales)
        return { '0', '0' };
    return m_broadcastIds[static_cast<std::size_t>(index)];
}

// "<name> (ID <id>)" of the chosen-scale line at (0-based), "scale <id>" when
// the line names none.
CString CSerialTransfer::ScaleLabel(int at, ScaleId scaleId) const
{
    const CString line = at >= 0 && at < static_cast<int>(m_scales.size())
        ? m_scales[static_cast<std::size_t>(at)].line
        : CString();
    const int name = line.Find("Scale name = ");
    const int comma = line.Find(',');
    const CString id(std::string(scaleId.begin(), scaleId.end()).c_str());
    if (name < 0 || comma < name)
        return "scale " + id;
    return CString::Formatted("%s (ID %s)", line.Mid(name + 13, comma - name - 13), id);
}

CString CSerialTransfer::GetCurrentScaleLabel() const
{
    return ScaleLabel(m_nSerialScaleIndex - 1, m_currentId);
}

CString CSerialTransfer::GetBroadcastScaleLabel(int index) const
{
    return ScaleLabel(index - 1, GetBroadcastScaleId(index));
}

BOOL CSerialTransfer::CheckStart(const TransferOrder& order) const
{
    const auto refuse = [](const CString& text, UINT type) {
        AfxMessageBox(text, type);
        return FALSE;
    };
    if (m_bRunning)
        return refuse("A transfer is still running. Wait until it ends.", MB_OK);
    if (order.comPort < 1)
        return refuse("Select a port.", MB_OK);
    const int count = static_cast<int>(order.scales.size());
    if (count < 1)
        return refuse("Communication Setting error", MB_OK);
    if (order.command != TransferCommand::Recv && !order.oneByOne && count > kMaxBroadcastScales)
        return refuse(CString::Formatted("A broadcast reaches at most %d scales; %d are chosen.",
                          kMaxBroadcastScales, count),
            MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

void CSerialTransfer::Start(const TransferOrder& order)
{
    if (!CheckStart(order))
        return;
    const int count = static_cast<int>(order.scales.size());
    const bool receive = order.command == TransferCommand::Recv;
    m_scales = order.scales;
    m_strTargetDatabase = order.targetDatabase;
    m_nComPort = order.comPort;
    m_nSerialStop = 0;
    m_nBroadcast = 0;
    m_nSerialScaleIndex = 0;
    m_nSerialScaleCount = count;
    m_bRunning = TRUE;
    m_link->SetRows(order.rows, m_pHost->GetRequestNumbers());
    m_link->ResetSequence();
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, "");
    m_pHost->SetSerialText(IDC_SERIAL_NO_ITEM, "");
    m_pHost->SetSerialText(IDC_SERIAL_KIND, Word(order.kind));
    m_pHost->SetSerialText(IDC_SERIAL_SCOPE, Word(order.scope));
    if (receive) {
        m_pHost->SetSerialText(IDC_SERIAL_COMMAND, Word(TransferCommand::Recv));
        SerialNextScale(m_nSerialScaleIndex);
    } else if (count == 1 || order.oneByOne) {
        m_pHost->SetSerialText(IDC_SERIAL_COMMAND, Word(TransferCommand::Trans));
        SerialNextScale(m_nSerialScaleIndex);
    } else {
        m_pHost->SetSerialText(IDC_SERIAL_COMMAND, Word(TransferCommand::BroadTrans));
        m_nBroadcast = 1;
        StartSerialBroadcast(count);
    }
}

void CSerialTransfer::SetActive(BOOL active)
{
    if (m_bActive == active)
        return;
    m_bActive = active;
    m_pHost->SetTransferActive(active ? 1 : 0);
}

void CSerialTransfer::SerialNextScale(int line)
{
    SetActive(TRUE);
    if (m_nSerialScaleIndex > m_nSerialScaleCount - 1 || line < 0
        || line >= static_cast<int>(m_scales.size())) {
        EndWalk();
        return;
    }
    m_bRunning = TRUE;
    m_pHost->EnableItemTransButtons(FALSE);
    m_pHost->EnableScaleTransButtons(FALSE);
    m_pHost->EnableTransStopButton(TRUE);
    m_currentId = m_scales[static_cast<std::size_t>(line)].id;
    ++m_nSerialScaleIndex;
    if (MailboxCommand(*m_pHost) == TransferCommand::Recv) {
        // Every scale and every read gets its own database; the sales totals
        // go into the open item database.
        const std::optional<DataKind> kind = MailboxKind(*m_pHost);
        const CString id(std::string(m_currentId.begin(), m_currentId.end()).c_str());
        if (!m_strTargetDatabase.IsEmpty())
            m_link->SetTargetDatabase(m_strTargetDatabase);
        else if (kind && IsResultRead(*kind))
            m_link->SetTargetDatabase(m_pHost->GetItemDbPath());
        else
            m_link->SetTargetDatabase(m_pHost->MakeReceivedDataPath(id), true);
    }
    m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(W::Open));
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, "");
    m_pHost->SetSerialText(IDC_SERIAL_REPLY, "");
    m_pHost->SetSerialText(IDC_SERIAL_NO_ITEM, "");
    m_link->StartSession();
}

void CSerialTransfer::StartSerialBroadcast(int count)
{
    m_broadcastIds.fill({ '0', '0' });
    m_nBroadcastCount = std::min(count, kMaxBroadcastScales);
    SetActive(TRUE);
    m_pHost->EnableItemTransButtons(FALSE);
    m_pHost->EnableScaleTransButtons(FALSE);
    m_pHost->EnableTransStopButton(TRUE);
    for (int i = 0; i < m_nBroadcastCount && i < static_cast<int>(m_scales.size()); ++i)
        m_broadcastIds[static_cast<std::size_t>(i + 1)] = m_scales[static_cast<std::size_t>(i)].id;
    m_currentId = m_broadcastIds[1];
    m_pHost->SetSerialText(IDC_SERIAL_STEP, Text(W::Open));
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, "");
    m_link->StartSession();
}

void CSerialTransfer::EndWalk()
{
    m_bRunning = FALSE;
    SetActive(FALSE);
    m_pHost->SetSerialText(IDC_SERIAL_KIND, "");
    m_pHost->EnableItemTransButtons(TRUE);
    m_pHost->EnableScaleTransButtons(TRUE);
    m_pHost->EnableTransStopButton(FALSE);
}

LRESULT CSerialTransfer::OnSerialPortOpened()
{
    m_link->OnReply();
    return 1;
}

LRESULT CSerialTransfer::OnSerialPortOpenFailed()
{
    const CString status = m_pHost->GetSerialText(IDC_SERIAL_STATUS);
    if (status != W::PortOpenError)
        return 1;
    AfxMessageBox(status, MB_OK);
    if (MailboxCommand(*m_pHost) == TransferCommand::BroadTrans)
        EndWalk();
    else
        SerialNextScale(m_nSerialScaleIndex);
    return 1;
}

LRESULT CSerialTransfer::OnSerialSessionEnd()
{
    const CString status = m_pHost->GetSerialText(IDC_SERIAL_STATUS);
    if (status != W::Close) {
        m_link->OnReply();
        return 1;
    }
    m_pHost->SetSerialText(IDC_SERIAL_STATUS, "");
    if (m_nSerialStop) {
        EndWalk();
    } else if (MailboxCommand(*m_pHost) == TransferCommand::BroadTrans) {
        if (MailboxKind(*m_pHost) == DataKind::ScaleInfo) {
            // Scale settings: the buttons stay as the screen has them.
            m_bRunning = FALSE;
            SetActive(FALSE);
        } else {
            EndWalk();
        }
    } else {
        SerialNextScale(m_nSerialScaleIndex);
    }
    return 1;
}

void CSerialTransfer::OnSerialReplyTimeout()
{
    m_engine->OnReplyTimeout();
}
