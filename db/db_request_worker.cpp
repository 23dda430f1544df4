#include "db/db_request_worker.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "platform/base/exception.h"
#include "platform/wnd/app.h"
#include "platform/wnd/msgbox.h"
#include "platform/wnd/thread.h"
#include "platform/wnd/wnd.h"

namespace {

// Slice of a pumping wait while the destructor waits for the thread on the UI thread.
constexpr DWORD kStopPumpSliceMs = 1000;

bool IsOneOf(const CString& name, std::initializer_list<const char*> names)
{
    for (const char* n : names) {
        if (name == n)
            return true;
    }
    return false;
}

} // namespace

CDbRequestWorker::CDbRequestWorker(const WorkerProtocol& protocol)
    : m_protocol(protocol)
{
    m_pThread = AfxBeginThread(WorkerThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (m_pThread) {
        m_pThread->m_bAutoDelete = FALSE;
        m_pThread->ResumeThread();
    }
}

CDbRequestWorker::~CDbRequestWorker()
{
    m_stop.store(true);
    m_wake.release();
    if (!m_pThread)
        return;
    const HANDLE thread = m_pThread->m_hThread;
    auto ended = [thread] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; };
    if (AfxIsUiThread()) {
        // The thread may be inside a SendMessage to this thread: keep serving it.
        while (!AfxPumpUntil(ended, kStopPumpSliceMs)) { }
    } else {
        WaitForSingleObject(thread, INFINITE);
    }
    delete m_pThread;
}

void CDbRequestWorker::SetOwner(CWnd* owner, CMailboxDlg* mailbox)
{
    m_pOwner.store(owner);
    m_pMailbox.store(mailbox);
}

CString CDbRequestWorker::TableWord(const CString& requestName)
{
    const int underscore = requestName.Find('_');
    return underscore < 0 ? requestName : requestName.Left(underscore);
}

UINT CDbRequestWorker::WorkerThreadProc(void* param)
{
    auto* worker = static_cast<CDbRequestWorker*>(param);
    for (;;) {
        worker->m_wake.acquire();
        if (worker->m_stop.load())
            break;
        worker->m_bServing.store(true);
        worker->m_nPendingWakes.fetch_sub(1);
        try {
            worker->HandleRequest();
        } catch (CException* e) {
            e->Delete();
        } catch (...) { }
        worker->m_bServing.store(false);
        if (worker->m_stop.load())
            break;
    }
    return 0;
}

void CDbRequestWorker::HandleRequest()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    if (!mailbox)
        return;
    m_strRequestName = mailbox->TakeText(IDC_MAILBOX_NAME);
    m_strRequestSql = mailbox->TakeText(IDC_MAILBOX_TEXT);
    m_strMarker = m_protocol.readsMarker ? mailbox->TakeText(IDC_MAILBOX_MARKER) : CString();
    m_nReportFlag.store(0);

    // An acknowledgement that arrives while no reply waits for it is not a request.
    if (m_strRequestName == kMailboxReport || (m_strRequestName.IsEmpty() && m_strRequestSql.IsEmpty()))
        return;

    if (m_protocol.tableWord && TableWord(m_strRequestName) != m_protocol.tableWord) {
        AfxMessageBox("Right db read ok", MB_OK);
        // The owner still learns that the request is over (it closes its database).
        // Nothing was streamed, so no "Report" is awaited: the owner answers only
        // the requests it knows, and a wait here would swallow its next request.
        Reply(m_protocol.doneMessage, nullptr);
        return;
    }
    if (m_protocol.readsMarker && !m_strMarker.IsEmpty()) {
        InsertRead(m_strRequestName, m_strRequestSql);
        return;
    }
    if (m_strRequestSql.GetAt(0) == 'S') {
        StreamSelect(m_strRequestSql);
        return;
    }
    CString error;
    if (!ExecuteLocked(m_strRequestSql, FALSE, error))
        ReportDaoError(error);
    CloseDatabase();
    Reply(m_protocol.doneMessage, nullptr);
}

BOOL CDbRequestWorker::StopsAfterFirstRow() const
{
    return m_protocol.stopsAfterInsertRow
        && IsOneOf(m_strRequestName,
            { "Add_Insert_Read", "Item_Insert_Read", "Adv_Update_Insert_Read",
                "Land_Add_Update_Insert_Read" });
}

CString CDbRequestWorker::HeaderRow(const QueryResult& result) const
{
    const bool keepCase = m_strRequestName == "User_Label_Read" || m_strRequestName == "Scale_Info_Read";
    std::vector<CString> names = result.fieldNames;
    if (!keepCase) {
        for (CString& name : names)
            name.MakeUpper();
    }
    return JoinRow(names, TRUE);
}

void CDbRequestWorker::StreamSelect(const CString& sql)
{
    // The whole result is read under the helper lock; the rows are sent after it.
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
    } else {
        if (m_protocol.sendsHeader) {
            const CString header = HeaderRow(result);
            if (!Reply(m_protocol.rowMessage, &header) || !WaitForReport())
                return;
        }
        if (result.rows.empty()) {
            if (!Reply(m_protocol.emptyMessage, nullptr) || !WaitForReport())
                return;
        } else {
            for (const auto& values : result.rows) {
                const CString row = JoinRow(values, TRUE);
                if (!Reply(m_protocol.rowMessage, &row) || !WaitForReport())
                    return;
                if (StopsAfterFirstRow())
                    break;
            }
        }
    }
    if (Reply(m_protocol.doneMessage, nullptr))
        WaitForDoneReport();
}

BOOL CDbRequestWorker::Reply(UINT message, const CString* text)
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    CWnd* owner = m_pOwner.load();
    if (m_stop.load() || !mailbox || !owner || !IsWindow(owner->GetSafeHwnd()))
        return FALSE;
    mailbox->SetText(IDC_MAILBOX_NAME, m_strRequestName);
    if (text)
        mailbox->SetText(IDC_MAILBOX_TEXT, *text);
    ::SendMessage(owner->GetSafeHwnd(), message, 0, 0);
    return TRUE;
}

BOOL CDbRequestWorker::WaitForReport()
{
    m_nReportFlag.store(0);
    for (;;) {
        Wait();
        if (m_stop.load())
            return FALSE;
        CMailboxDlg* mailbox = m_pMailbox.load();
        if (!mailbox)
            return FALSE;
        const CString word = mailbox->Text(IDC_MAILBOX_NAME);
        m_strRequestSql = mailbox->Text(IDC_MAILBOX_TEXT);
        mailbox->SetText(IDC_MAILBOX_NAME, "");
        if (word == kMailboxReport) {
            m_nReportFlag.store(1);
            return TRUE;
        }
    }
}

void CDbRequestWorker::WaitForDoneReport()
{
    // The owner may write its next request as soon as its done handler has
    // returned, before this thread reads the acknowledgement. Each SetEvent is
    // counted, so the acknowledgement is consumed here and the request's own
    // wake-up stays for the main loop; the edit is only read, so no write of
    // the next request can be lost ("Report" left in it names no request).
    m_nReportFlag.store(0);
    Wait();
    CMailboxDlg* mailbox = m_pMailbox.load();
    if (!m_stop.load() && mailbox && mailbox->Text(IDC_MAILBOX_NAME) == kMailboxReport)
        m_nReportFlag.store(1);
}

void CDbRequestWorker::ExecuteRequest()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    if (!mailbox)
        return;
    const CString name = mailbox->TakeText(IDC_MAILBOX_NAME);
    const CString sql = mailbox->TakeText(IDC_MAILBOX_TEXT);
    Execute(sql);
    CloseDatabase();
    mailbox->SetText(IDC_MAILBOX_NAME, name);
    if (CWnd* owner = m_pOwner.load())
        ::SendMessage(owner->GetSafeHwnd(), m_protocol.doneMessage, 0, 0);
}

void CDbRequestWorker::InsertRead(const CString& requestName, const CString& sql)
{
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return;
    }
    if (result.rows.empty())
        return;
    CInsertReadTarget* target = m_pInsertTarget.load();
    if (!target)
        return;
    const CString row = JoinRow(result.rows.front(), TRUE);
    if (IsOneOf(requestName,
            { "Item_Insert_Read", "Add_Insert_Read", "Adv_Update_Insert_Read",
                "Land_Add_Update_Insert_Read" }))
        target->SplitItemRowText(row);
    else if (requestName == "User_Label_Insert_Read")
        target->SplitUserLabelRowText(row);
    else if (IsOneOf(requestName, { "Scale_Information_Insert_read", "Scale_Root_Information_Insert_read" }))
        target->SplitScaleInfoRowText(row);
}

void CDbRequestWorker::Wait()
{
    m_wake.acquire();
    m_nPendingWakes.fetch_sub(1);
}
