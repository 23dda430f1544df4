#include "serial/comm_setup_dlg.h"

#include "platform/base/file_system.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/data_kinds.h"
#include "transfer/scale_register_host.h"

namespace {

constexpr const char* kSettingsFolders[]
    = { "C:\\Windows", "C:\\Windows\\system", "C:\\Windows\\system\\Manager" };

// Shows lines in list; a list that shows them already keeps its selection.
void ShowLines(CListBox& list, const std::vector<CString>& lines)
{
    if (!list.GetSafeHwnd())
        return;
    bool same = list.GetCount() == static_cast<int>(lines.size());
    CString text;
    for (int i = 0; same && i < list.GetCount(); ++i) {
        list.GetText(i, text);
        same = text == lines[static_cast<std::size_t>(i)];
    }
    if (same)
        return;
    list.ResetContent();
    for (const CString& line : lines)
        list.AddString(line);
}

} // namespace

CCommSetupDlg::CCommSetupDlg(CWnd* parent)
    : CDialog(IDD_COMM_SETUP, parent)
{ }

CCommSetupDlg::~CCommSetupDlg()
{
    if (m_pOwner)
        m_pOwner->GetCommSettings().SetListener(nullptr);
}

const MessageMap* CCommSetupDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CCommSetupDlg::OnOK>(IDOK),
            OnCommandMsg<&CCommSetupDlg::OnCancel>(IDCANCEL),
            OnControl<&CCommSetupDlg::OnModeChange>(CBN_SELCHANGE, IDC_COMM_MODE),
            OnControl<&CCommSetupDlg::OnPortChange>(CBN_SELCHANGE, IDC_COMM_PORT),
            OnCommandMsg<&CCommSetupDlg::OnSelect>(IDC_COMM_SELECT),
            OnControl<&CCommSetupDlg::OnSelect>(LBN_DBLCLK, IDC_COMM_ALL_LIST),
            OnCommandMsg<&CCommSetupDlg::OnRemove>(IDC_COMM_REMOVE),
            OnControl<&CCommSetupDlg::OnRemove>(LBN_DBLCLK, IDC_COMM_CHOSEN_LIST),
            OnCommandMsg<&CCommSetupDlg::OnAllSelect>(IDC_COMM_ALL_SELECT),
        });
    return &kMap;
}

void CCommSetupDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_COMM_MODE, m_modeBox);
    DDX_Control(dx, IDC_COMM_PORT, m_portBox);
    DDX_Control(dx, IDC_COMM_ALL_LIST, m_allList);
    DDX_Control(dx, IDC_COMM_CHOSEN_LIST, m_chosenList);
    DDX_Control(dx, IDC_COMM_ALL_SELECT, m_allSelect);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDC_COMM_SELECT, m_selectButton);
    DDX_Control(dx, IDC_COMM_REMOVE, m_removeButton);
}

BOOL CCommSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("Communication Dialog");
    SetDlgItemText(IDC_COMM_SELECT, "Select");
    SetDlgItemText(IDC_COMM_REMOVE, "Remove");
    m_modeBox.ResetContent();
    m_modeBox.AddString("Ethernet");
    m_modeBox.AddString("Serial");
    m_portBox.ResetContent();
    for (int port = 1; port <= 8; ++port)
        m_portBox.AddString(CString::Formatted("COM %d", port));
    const std::tuple<CIconButton*, UINT, const char*> buttons[] = { { &m_okButton, 163, "Ok" },
        { &m_selectButton, 170, "Select" }, { &m_removeButton, 171, "Remove" } };
    for (const auto& [button, icon, tip] : buttons)
        DressIconButton(*button, static_cast<int>(icon), tip);
    m_allSelect.SetWindowText("All Select");
    ShowSettings();
    return TRUE;
}

void CCommSetupDlg::SetOwnerView(CScaleRegisterHost* owner)
{
    if (m_pOwner)
        m_pOwner->GetCommSettings().SetListener(nullptr);
    m_pOwner = owner;
    if (m_pOwner)
        m_pOwner->GetCommSettings().SetListener([this] { ShowSettings(); });
    ShowSettings();
}

void CCommSetupDlg::ShowSettings()
{
    if (!m_pOwner || !GetSafeHwnd())
        return;
    const CCommSettings& settings = m_pOwner->GetCommSettings();
    const int modeEntry = EntryOfTransport(settings.GetMode());
    if (m_modeBox.GetSafeHwnd() && m_modeBox.GetCurSel() != modeEntry)
        m_modeBox.SetCurSel(modeEntry);
    if (m_portBox.GetSafeHwnd() && m_portBox.GetCurSel() != settings.GetPort())
        m_portBox.SetCurSel(settings.GetPort());
    ShowLines(m_allList, settings.GetRegistered());
    ShowLines(m_chosenList, settings.GetChosen());
}

void CCommSetupDlg::OnModeChange()
{
    if (!m_pOwner)
        return;
    const int index = m_modeBox.GetCurSel();
    CCommSettings& settings = m_pOwner->GetCommSettings();
    // The mode in force chosen again: its scales and the choice stay.
    if (index >= 0 && settings.GetMode() == TransportOfEntry(index))
        return;
    settings.ClearRegistered();
    settings.ClearChosen();
    settings.SelectMode(TransportOfEntry(index));
    if (m_allSelect.GetSafeHwnd())
        m_allSelect.SetCheck(0);
    // The work screen holds its update lock while the reload runs.
    m_pOwner->GetHostWindow()->SendMessage(WM_COMMMODE_CHANGED, index == 0 ? 1 : 2, 0);
}

void CCommSetupDlg::OnPortChange()
{
    const int index = m_portBox.GetCurSel();
    if (index < 0)
        return;
    m_nComPort = index + 1;
    if (!m_pOwner)
        return;
    m_pOwner->GetCommSettings().SelectPort(index);
    m_pOwner->SetComPort(m_nComPort);
}

void CCommSetupDlg::OnSelect()
{
    CString line;
    if (m_pOwner && m_picker.GetCandidate(line))
        m_pOwner->GetCommSettings().AddChosen(line);
}

void CCommSetupDlg::OnRemove()
{
    const int index = m_chosenList.GetCurSel();
    if (!m_pOwner || index < 0)
        return;
    m_pOwner->GetCommSettings().RemoveChosen(index);
}

void CCommSetupDlg::OnAllSelect()
{
    if (!m_pOwner)
        return;
    CCommSettings& settings = m_pOwner->GetCommSettings();
    settings.SetChosen(m_allSelect.GetCheck() ? settings.GetRegistered() : std::vector<CString>());
}

void CCommSetupDlg::OnOK()
{
    if (KindOfScreenWord(m_strMode.View()) == DataKind::ScaleRootInfo && m_chosenList.GetCount() >= 2) {
        AfxMessageBox("One Select Scale(Scale info2)", MB_OK);
        ShowWindow(SW_SHOWNOACTIVATE);
        return;
    }
    // Not saved: the dialog stays with the choice, which Ok can save later.
    CString error;
    if (!WriteCommFile(&error)) {
        AfxMessageBox(
            CString::Formatted("The communication settings were not saved.\n%s", error), MB_OK | MB_ICONSTOP);
        return;
    }
    ShowWindow(SW_HIDE);
}

void CCommSetupDlg::OnCancel()
{
    ShowWindow(SW_HIDE);
    RestoreOpenedChoice();
}

void CCommSetupDlg::Open()
{
    if (m_pOwner && !IsWindowVisible())
        m_opened = m_pOwner->GetCommSettings().GetChoice();
    ShowSettings();
    ShowWindow(SW_SHOW);
}

void CCommSetupDlg::RestoreOpenedChoice()
{
    if (!m_pOwner || !m_opened)
        return;
    CCommSettings& settings = m_pOwner->GetCommSettings();
    const bool otherMode = settings.GetMode() != m_opened->mode;
    if (settings.GetPort() != m_opened->port) {
        const int port = m_opened->port + 1; // 0 for none
        if (port > 0)
            m_nComPort = port;
        m_pOwner->SetComPort(port);
    }
    settings.SetChoice(*m_opened);
    if (otherMode && m_opened->mode)
        m_pOwner->GetHostWindow()->SendMessage(
            WM_COMMMODE_CHANGED, m_opened->mode == Transport::Ethernet ? 1 : 2, 0);
}

BOOL CCommSetupDlg::WriteCommFile(CString* error)
{
    CString text = "Auto\n";
    const std::optional<Transport> mode = TransportOfEntry(m_modeBox.GetCurSel());
    const int port = m_portBox.GetCurSel();
    if (mode == Transport::Ethernet) {
        text += "ethernet\nsocket\n";
    } else if (mode == Transport::Serial) {
        text += "serial\n";
        if (port >= 0)
            text += CString::Formatted("com%d\n", port + 1);
    }
    for (int i = 0; i < m_chosenList.GetCount(); ++i) {
        CString line;
        m_chosenList.GetText(i, line);
        text += line + "\n";
    }
    // The folder and its parents, when missing.
    for (const char* folder : kSettingsFolders)
        ::CreateDirectory(folder, nullptr);
    return WriteTextFileAtomically(kCommSettingsFile, text, error);
}
