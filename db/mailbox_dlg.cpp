#include "db/mailbox_dlg.h"

#include "platform/wnd/core/app.h"

namespace {

// Carries RunOnWindowThread's task (lParam) to the dialog's thread.
constexpr UINT kRunTaskMessage = WM_APP + IDD_MAILBOX;

} // namespace

CMailboxDlg::CMailboxDlg(CWnd* parent)
    : CDialog(IDD_MAILBOX, parent)
{ }

CMailboxDlg::~CMailboxDlg()
{
    m_editMarker.DestroyWindow();
    m_editName.DestroyWindow();
    m_editText.DestroyWindow();
    DestroyWindow();
}

BOOL CMailboxDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_MAILBOX, parent ? parent : m_pParentWnd);
}

void CMailboxDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MAILBOX_MARKER, m_editMarker);
    DDX_Control(dx, IDC_MAILBOX_NAME, m_editName);
    DDX_Control(dx, IDC_MAILBOX_TEXT, m_editText);
}

CEdit* CMailboxDlg::Edit(int id)
{
    return const_cast<CEdit*>(static_cast<const CMailboxDlg*>(this)->Edit(id));
}

const CEdit* CMailboxDlg::Edit(int id) const
{
    switch (id) {
    case IDC_MAILBOX_MARKER:
        return &m_editMarker;
    case IDC_MAILBOX_NAME:
        return &m_editName;
    case IDC_MAILBOX_TEXT:
        return &m_editText;
    default:
        return nullptr;
    }
}

CString CMailboxDlg::Text(int id) const
{
    CString text;
    if (const CEdit* edit = Edit(id))
        edit->GetWindowText(text);
    return text;
}

CString CMailboxDlg::TakeText(int id)
{
    const CEdit* edit = Edit(id);
    return edit ? ExchangeWindowText(edit->GetSafeHwnd(), "") : CString();
}

void CMailboxDlg::SetText(int id, const CString& text)
{
    if (CEdit* edit = Edit(id))
        edit->SetWindowText(text);
}

void CMailboxDlg::PutQuery(const CString* name, const CString& user)
{
    if (name)
        SetText(IDC_MAILBOX_NAME, *name);
    SetText(IDC_MAILBOX_TEXT, user);
}

void CMailboxDlg::PutQuery(std::optional<DbRequest> request, const CString& user)
{
    const CString name = request ? CString(RequestName(*request)) : CString();
    PutQuery(request ? &name : nullptr, user);
}

CMailboxDlg::Query CMailboxDlg::TakeQuery()
{
    Query query;
    query.name = TakeText(IDC_MAILBOX_NAME);
    query.request = RequestOfName(query.name.View());
    query.user = TakeText(IDC_MAILBOX_TEXT);
    return query;
}

CString CMailboxDlg::TakeQueryUser()
{
    return TakeText(IDC_MAILBOX_TEXT);
}

BOOL CMailboxDlg::IsFree() const
{
    return Text(IDC_MAILBOX_TEXT).IsEmpty() ? TRUE : FALSE;
}

BOOL CMailboxDlg::RunOnWindowThread(const std::function<void()>& task)
{
    const HWND hwnd = GetSafeHwnd();
    if (!::IsWindow(hwnd))
        return FALSE;
    if (AfxIsUiThread()) {
        task();
        return TRUE;
    }
    return ::SendMessage(hwnd, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&task)) != 0 ? TRUE : FALSE;
}

LRESULT CMailboxDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunTaskMessage && lParam) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
