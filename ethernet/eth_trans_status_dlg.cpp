#include "ethernet/eth_trans_status_dlg.h"

#include "ethernet/transfer_host.h"

CEthTransStatusDlg::CEthTransStatusDlg()
    : CDialog(IDD_ETH_TRANS_STATUS, nullptr)
{ }

CEthTransStatusDlg::~CEthTransStatusDlg()
{
    DestroyWindow();
}

const MessageMap* CEthTransStatusDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CEthTransStatusDlg::OnStop>(IDC_ETH_STOP),
            OnCommandMsg<&CEthTransStatusDlg::OnCloseButton>(IDOK),
            OnWm<WM_TIMER, &CEthTransStatusDlg::OnTimer>(),
        });
    return &kMap;
}

BOOL CEthTransStatusDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_ETH_TRANS_STATUS, parent);
}

void CEthTransStatusDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ETH_SENT_LIST, m_listSent);
    DDX_Control(dx, IDC_ETH_RECEIVED_LIST, m_listReceived);
    DDX_Control(dx, IDC_ETH_SEND_LAMP, m_lampSend);
    DDX_Control(dx, IDC_ETH_RECEIVE_LAMP, m_lampReceive);
    DDX_Control(dx, IDOK, m_btnClose);
    DDX_Control(dx, IDC_ETH_STOP, m_btnStop);
}

BOOL CEthTransStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("Ethernet ~Ing Dialog");
    m_btnStop.SetWindowText("Stop");
    m_btnClose.SetWindowText("Close");
    m_lampSend.SetImage(32, 1, 0);
    m_lampReceive.SetImage(32, 1, 0);
    return TRUE;
}

void CEthTransStatusDlg::BeginTransfer()
{
    m_sent.clear();
    m_received.clear();
    RefreshLists();
    if (GetSafeHwnd())
        ShowWindow(SW_SHOWNA);
}

void CEthTransStatusDlg::AddSent(const CString& line)
{
    Add(m_sent, m_listSent, m_lampSend, line);
}

void CEthTransStatusDlg::AddReceived(const CString& line)
{
    Add(m_received, m_listReceived, m_lampReceive, line);
}

void CEthTransStatusDlg::Add(std::vector<CString>& lines, CListBox&, CStatusLamp& lamp, const CString& line)
{
    if (lines.size() >= kMaxLogLines)
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(kMaxLogLines / 2));
    lines.push_back(line);
    if (!m_bRefreshPending && GetSafeHwnd()) {
        m_bRefreshPending = TRUE;
        SetTimer(kRefreshTimer, kRefreshMs);
    }
    // A lit lamp stays lit until its flash ends: drawing it again per packet
    // would cost more than the packet.
    if (lamp.GetSafeHwnd() && !lamp.IsFlashing())
        lamp.Flash(kFlashMs);
}

void CEthTransStatusDlg::OnTimer(UINT_PTR id)
{
    if (id == kRefreshTimer)
        RefreshLists();
}

void CEthTransStatusDlg::RefreshLists()
{
    if (m_bRefreshPending && GetSafeHwnd())
        KillTimer(kRefreshTimer);
    m_bRefreshPending = FALSE;
    const auto show = [](CListBox& list, const std::vector<CString>& lines) {
        if (!list.GetSafeHwnd())
            return;
        list.ResetContent();
        const std::size_t first = lines.size() > kShownLines ? lines.size() - kShownLines : 0;
        for (std::size_t i = first; i < lines.size(); ++i)
            list.AddString(lines[i]);
        list.SetTopIndex(list.GetCount() - 1); // the newest line in view
    };
    show(m_listSent, m_sent);
    show(m_listReceived, m_received);
}

void CEthTransStatusDlg::OnStop()
{
    if (m_pOwnerView)
        m_pOwnerView->SetEthernetStop(1);
    if (m_onStop)
        m_onStop();
}

void CEthTransStatusDlg::OnCloseButton()
{
    OnStop();
    EndDialog(IDOK);
}
