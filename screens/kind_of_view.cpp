#include "screens/kind_of_view.h"

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "platform/wnd/cmdui.h"
#include "platform/wnd/runtime_class.h"
#include "screens/command_forwarding.h"
#include "shell/view_hints.h"

namespace {

constexpr UINT kCommSetup = 32773;
constexpr std::size_t kFieldCount = 400;

} // namespace

CKindOfView::CKindOfView()
    : m_mailbox(this)
    , m_fieldTexts(kFieldCount)
{
    m_pItemWorker = new CItemDbWorker;
    m_pItemWorker->SetOwner(this, &m_mailbox);
    m_pItemWorker->SetInsertReadTarget(this);
    m_mailbox.Create(this);
}

CKindOfView::~CKindOfView()
{
    delete m_pItemWorker;
}

const CRuntimeClass* CKindOfView::GetThisClass()
{
    static const CRuntimeClass kClass { "CKindOfView", &AfxCreateObject<CKindOfView>, CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CKindOfView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnMessage<&CKindOfView::OnQueryRow>(WM_DBQUERY_ROW),
            OnMessage<&CKindOfView::OnQueryEmpty>(WM_DBQUERY_EMPTY),
            OnMessage<&CKindOfView::OnQueryDone>(WM_DBQUERY_DONE),
            OnCommandMsg<&CKindOfView::OnCommSetup>(kCommSetup),
            OnUpdateCommand<&CKindOfView::OnUpdateCommSetup>(kCommSetup),
        });
    return &kMap;
}

BOOL CKindOfView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    BOOL forwarded = FALSE;
    const BOOL handled = ForwardToLeftPane(
        { 32771, 32774, 32775, 32776, 32779, 32780, 32781, 32785, 32787, 32788, 32789, 32790, 57600, 57601 },
        id, code, extra, handlerInfo, &forwarded);
    return forwarded ? handled : CView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CKindOfView::OnUpdate(CView*, LPARAM hint, void*)
{
    if (hint == kHintLoggedIn)
        m_nLoggedIn = 1;
    else if (hint == kHintLoggedOut)
        m_nLoggedIn = 0;
}

void CKindOfView::OnDraw(CDC*) { }

void CKindOfView::Acknowledge()
{
    m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    m_pItemWorker->SetEvent();
}

LRESULT CKindOfView::OnQueryRow(WPARAM, LPARAM)
{
    Acknowledge();
    return 1;
}

LRESULT CKindOfView::OnQueryEmpty(WPARAM, LPARAM)
{
    Acknowledge();
    return 1;
}

LRESULT CKindOfView::OnQueryDone(WPARAM, LPARAM)
{
    m_pItemWorker->CloseDatabase();
    Acknowledge();
    return 1;
}

void CKindOfView::OnCommSetup() { }

void CKindOfView::OnUpdateCommSetup(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nLoggedIn ? TRUE : FALSE);
}

void CKindOfView::SplitRow(const CString& row)
{
    std::fill(m_fieldTexts.begin(), m_fieldTexts.end(), CString());
    std::size_t index = 0;
    int start = 0;
    while (index < m_fieldTexts.size()) {
        const int end = row.Find(kDbValueEnd, start);
        if (end < 0)
            break;
        m_fieldTexts[index++] = row.Mid(start, end - start);
        start = end + static_cast<int>(std::char_traits<char>::length(kDbValueEnd));
    }
}

void CKindOfView::SplitItemRowText(CString row)
{
    SplitRow(row);
}

void CKindOfView::SplitScaleInfoRowText(CString row)
{
    SplitRow(row);
}

void CKindOfView::SplitUserLabelRowText(CString row)
{
    SplitRow(row);
}
