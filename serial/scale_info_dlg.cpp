#include "serial/scale_info_dlg.h"

#include <utility>

#include "platform/net/dotted_address.h"
#include "platform/wnd/core/msgbox.h"

namespace {

constexpr const char* kBadAddressText
    = "The IP address must be four numbers from 0 to 255, such as 192.168.0.10.";

// Each edit and the field of the entry it shows.
constexpr std::pair<int, CString ScaleInfo::*> kFieldEdits[]
    = { { IDC_SCALE_INFO_NUMBER, &ScaleInfo::scaleNum }, { IDC_SCALE_INFO_NAME, &ScaleInfo::scaleName },
          { IDC_SCALE_INFO_IP, &ScaleInfo::ip }, { IDC_SCALE_INFO_SCALE_ID, &ScaleInfo::scaleId },
          { IDC_SCALE_INFO_KEY, &ScaleInfo::key }, { IDC_SCALE_INFO_MANAGER, &ScaleInfo::managerId } };

} // namespace

CScaleInfoDlg::CScaleInfoDlg(CWnd* parent)
    : CDialog(IDD_SCALE_INFO, parent)
{ }

const MessageMap* CScaleInfoDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CScaleInfoDlg::OnOK>(IDOK),
        });
    return &kMap;
}

void CScaleInfoDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SCALE_INFO_IP, m_ipAddress);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CScaleInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("Scale Info");
    const std::pair<int, const char*> labels[]
        = { { IDC_SCALE_INFO_NUMBER_LABEL, "Scale Num" }, { IDC_SCALE_INFO_NAME_LABEL, "Scale name" },
              { IDC_SCALE_INFO_IP_LABEL, "IP Addr" }, { IDC_SCALE_INFO_SCALE_ID_LABEL, "Scale ID Num" },
              { IDC_SCALE_INFO_KEY_LABEL, "ID" }, { IDC_SCALE_INFO_MANAGER_LABEL, "User ID" } };
    for (const auto& [id, text] : labels)
        SetDlgItemText(id, text);
    for (int id : { IDC_SCALE_INFO_MANAGER, IDC_SCALE_INFO_MANAGER_LABEL, IDC_SCALE_INFO_KEY,
             IDC_SCALE_INFO_KEY_LABEL }) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(SW_HIDE);
    }
    const bool update = m_mode == DbRequest::ScaleUpdate;
    DressIconButton(m_okButton, update ? 178 : 181, update ? "Update" : "Insert");
    m_okButton.SetWindowText(update ? "UPDATE" : "INSERT");
    DressIconButton(m_cancelButton, 162, "Cancel");
    m_info.scaleNum = "0";
    for (const auto& [id, field] : kFieldEdits)
        SetDlgItemText(id, m_info.*field);
    return TRUE;
}

void CScaleInfoDlg::OnOK()
{
    // The key is read back only when an entry is updated.
    for (const auto& [id, field] : kFieldEdits)
        if (id != IDC_SCALE_INFO_KEY || m_mode == DbRequest::ScaleUpdate)
            GetDlgItemText(id, m_info.*field);
    if (m_info.scaleName.IsEmpty())
        m_info.scaleName = "TEMP";
    if (m_info.scaleId.IsEmpty()) {
        AfxMessageBox("Input Scale ID", MB_OK);
        return;
    }
    // A serial scale has no address; one that is typed must be able to exist.
    m_info.ip.Trim();
    if (!m_info.ip.IsEmpty()) {
        const std::optional<DottedQuad> quad = ParseDottedQuad(m_info.ip.View());
        if (!quad) {
            AfxMessageBox(kBadAddressText, MB_OK);
            return;
        }
        m_info.ip = DottedText(*quad).c_str();
    }
    EndDialog(IDOK);
}
