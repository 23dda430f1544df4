#include "shell/selection_dlg.h"

#include "db/sql_text.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/msgbox.h"
#include "shell/calvorn_view.h"
#include "shell/dialog_helpers.h"

namespace {

constexpr int kSelectIcon = 170;
constexpr int kRemoveIcon = 171;

} // namespace

std::vector<CString> SplitSelectionEntries(const CString& rows)
{
    std::vector<CString> entries;
    const CString separator(kDbValueEnd);
    int start = 0;
    for (int end = rows.Find(separator, start); end >= 0; end = rows.Find(separator, start)) {
        entries.push_back(rows.Mid(start, end - start));
        start = end + separator.GetLength();
    }
    return entries;
}

// ---- CSelectionDlgBase

CSelectionDlgBase::CSelectionDlgBase(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent)
{ }

const MessageMap* CSelectionDlgBase::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CSelectionDlgBase::OnSelect>(IDC_SELECT_ADD),
            OnCommandMsg<&CSelectionDlgBase::OnRemove>(IDC_SELECT_REMOVE),
        });
    return &kMap;
}

void CSelectionDlgBase::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SELECT_CANDIDATES, m_candidates);
    DDX_Control(dx, IDC_SELECT_CHOSEN, m_chosen);
    DDX_Control(dx, IDC_SELECT_ADD, m_selectButton);
    DDX_Control(dx, IDC_SELECT_REMOVE, m_removeButton);
    DDX_Control(dx, IDOK, m_okButton);
}

BOOL CSelectionDlgBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    DressIconButton(m_selectButton, kSelectIcon, "Select");
    DressIconButton(m_removeButton, kRemoveIcon, "Remove");
    DressIconButton(m_okButton, kOkIcon, "Ok");
    FillList();
    return TRUE;
}

void CSelectionDlgBase::FillList()
{
    try {
        m_daoHelper.OpenDatabase(kManagerDatabase);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return;
    }
    m_entries = SplitSelectionEntries(m_daoHelper.GetRows(ListQuery()));
    for (const CString& entry : m_entries)
        m_candidates.AddString(entry);
    m_daoHelper.CloseDatabase();
}

void CSelectionDlgBase::OnRemove()
{
    m_picker.Remove();
}

// ---- CManagerSelectDlg

CManagerSelectDlg::CManagerSelectDlg(CWnd* parent)
    : CSelectionDlgBase(IDD_MANAGER_SELECT, parent)
{ }

CString CManagerSelectDlg::ListQuery() const
{
    CString sql;
    sql.Format("SELECT %s FROM [Manager]", "[mg_id]");
    return sql;
}

void CManagerSelectDlg::OnSelect()
{
    m_picker.Select(CTwoListPicker::Place::Top);
}

void CManagerSelectDlg::OnOK()
{
    m_strResult.Empty();
    CString entry;
    for (int i = 0; i < m_chosen.GetCount(); ++i) {
        m_chosen.GetText(i, entry);
        if (!entry.IsEmpty())
            m_strResult += entry + kDbValueEnd;
    }
    EndDialog(IDOK);
}

// ---- CScaleSelectDlg

CScaleSelectDlg::CScaleSelectDlg(CWnd* parent)
    : CSelectionDlgBase(IDD_SCALE_SELECT, parent)
{ }

CString CScaleSelectDlg::ListQuery() const
{
    CString sql;
    if (m_strUserId == kAdministratorId)
        sql.Format("SELECT %s FROM [ScaleMG]", "[scale_name]");
    else
        sql.Format("SELECT %s FROM [ScaleMG] WHERE [mg_id] = %s", "[scale_name]",
            SqlLiteral(m_strUserId).GetString());
    return sql;
}

void CScaleSelectDlg::OnSelect()
{
    if (m_nSingleChoice && m_chosen.GetCount() == 0)
        m_picker.Select(CTwoListPicker::Place::Top);
}

void CScaleSelectDlg::OnOK()
{
    if (m_nSingleChoice && m_chosen.GetCount() > 0) {
        CString entry;
        m_chosen.GetText(0, entry);
        if (entry.IsEmpty())
            m_strResult.Empty();
        else
            m_strResult += entry + kDbValueEnd;
    }
    EndDialog(IDOK);
}
