#include "db/db_request_worker.h"

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "platform/base/exception.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/thread.h"
#include "platform/wnd/core/wnd.h"

namespace {

// Slice of a pumping wait while the destructor waits for the thread on the UI thread.
constexpr DWORD kStopPumpSliceMs = 1000;

bool Names(const CString& name, DbRequest request)
{
    return RequestOfName(name.View()) == request;
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
            BOOL pending = worker->TakeRequest();
            while (pending && !worker->m_stop.load())
                pending = worker->HandleRequest();
        } catch (CException* e) {
            e->Delete();
        } catch (...) { }
        worker->m_bServing.store(false);
        if (worker->m_stop.load())
            break;
    }
    return 0;
}

BOOL CDbRequestWorker::TakeRequest()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    BOOL taken = FALSE;
    if (mailbox)
        mailbox->RunOnWindowThread([&] { taken = TakeRequestFrom(*mailbox); });
    return taken;
}

BOOL CDbRequestWorker::TakeRequestFrom(CMailboxDlg& mailbox)
{
    // No name, an acknowledgement that no reply waits for, or the note of a
    // received record (written without a wake-up, possibly over an answer the
    // worker has not read yet): not a request.
    const CString name = mailbox.Text(IDC_MAILBOX_NAME);
    if (name.IsEmpty() || name == kMailboxReport || Names(name, DbRequest::ItemReceived)
        || Names(name, DbRequest::UserLabelInsert))
        return FALSE;
    m_strRequestName = mailbox.TakeText(IDC_MAILBOX_NAME);
    m_strRequestSql = mailbox.TakeText(IDC_MAILBOX_TEXT);
    m_strMarker = m_protocol.readsMarker ? mailbox.TakeText(IDC_MAILBOX_MARKER) : CString();
    m_nReportFlag.store(0);
    return TRUE;
}

BOOL CDbRequestWorker::HandleRequest()
{
    if (m_protocol.tableWord && TableWord(m_strRequestName) != m_protocol.tableWord) {
        AfxMessageBox("Right db read ok", MB_OK);
        // The owner still learns that the request is over (it closes its database).
        // Nothing was streamed, so no "Report" is awaited: the owner answers only
        // the requests it knows, and a wait here would swallow its next request.
        Reply(m_protocol.doneMessage, nullptr);
        return FALSE;
    }
    if (m_protocol.readsMarker && !m_strMarker.IsEmpty()) {
        ServeInsertRead();
        return FALSE;
    }
    if (!m_strRequestSql.IsEmpty() && m_strRequestSql.GetAt(0) == 'S')
        return StreamSelect(m_strRequestSql);
    const WPARAM outcome = RunStatement(m_strRequestSql);
    CloseDatabase();
    Reply(m_protocol.doneMessage, nullptr, outcome);
    return FALSE;
}

WPARAM CDbRequestWorker::RunStatement(const CString& sql)
{
    CString error;
    long changed = 0;
    if (!ExecuteLocked(sql, FALSE, error, &changed)) {
        ReportDaoError(error);
        return kDbDoneFailed;
    }
    return changed > 0 ? kDbDoneOk : kDbDoneNoRow;
}

BOOL CDbRequestWorker::StopsAfterFirstRow() const
{
    const std::optional<DbRequest> request = RequestOfName(m_strRequestName.View());
    return m_protocol.stopsAfterInsertRow && request && IsTableInsertRead(*request);
}

CString CDbRequestWorker::HeaderRow(const QueryResult& result) const
{
    const bool keepCase = Names(m_strRequestName, DbRequest::UserLabelRead)
        || Names(m_strRequestName, DbRequest::ScaleInfoRead);
    std::vector<CString> names = result.fieldNames;
    if (!keepCase) {
        for (CString& name : names)
            name.MakeUpper();
    }
    return JoinRow(names, TRUE);
}

BOOL CDbRequestWorker::StreamSelect(const CString& sql)
{
    // The whole result is read under the helper lock; the rows are sent after it.
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
    } else {
        if (m_protocol.sendsHeader) {
            const CString header = HeaderRow(result);
            if (!Reply(m_protocol.rowMessage, &header) || !WaitForReport())
                return FALSE;
        }
        if (result.rows.empty()) {
            if (!Reply(m_protocol.emptyMessage, nullptr) || !WaitForReport())
                return FALSE;
        } else {
            for (const auto& values : result.rows) {
                const CString row = JoinRow(values, TRUE);
                if (!Reply(m_protocol.rowMessage, &row) || !WaitForReport())
                    return FALSE;
                if (StopsAfterFirstRow())
                    break;
            }
        }
    }
    return Reply(m_protocol.doneMessage, nullptr, result.ok ? kDbDoneOk : kDbDoneFailed)
        && WaitForDoneReport();
}

BOOL CDbRequestWorker::Reply(UINT message, const CString* text, WPARAM outcome)
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    CWnd* owner = m_pOwner.load();
    if (m_stop.load() || !mailbox || !owner || !IsWindow(owner->GetSafeHwnd()))
        return FALSE;
    mailbox->SetText(IDC_MAILBOX_NAME, m_strRequestName);
    if (text)
        mailbox->SetText(IDC_MAILBOX_TEXT, *text);
    ::SendMessage(owner->GetSafeHwnd(), message, outcome, 0);
    return TRUE;
}

BOOL CDbRequestWorker::WaitForReport()
{
    m_nReportFlag.store(0);
    for (;;) {
        Wait();
        CMailboxDlg* mailbox = m_pMailbox.load();
        if (m_stop.load() || !mailbox)
            return FALSE;
        // Any other word is consumed and ignored; the edit is emptied either way.
        // The answer is one edit's text, taken in one step of the thread-safe
        // store: read here, without a trip to the owner's thread.
        const CString word = mailbox->TakeText(IDC_MAILBOX_NAME);
        m_strRequestSql = mailbox->Text(IDC_MAILBOX_TEXT);
        if (word == kMailboxReport) {
            m_nReportFlag.store(1);
            return TRUE;
        }
    }
}

BOOL CDbRequestWorker::WaitForDoneReport()
{
    // The owner may answer the done message and write its next request at
    // once, or write the next request without answering. "Report" ends the
    // wait (and is emptied); a request name ends it too and the request is
    // taken, to be served next, instead of being consumed and lost.
    m_nReportFlag.store(0);
    enum class Found { Nothing, Report, Request };
    for (;;) {
        Wait();
        CMailboxDlg* mailbox = m_pMailbox.load();
        if (m_stop.load() || !mailbox)
            return FALSE;
        Found found = Found::Nothing;
        const BOOL read = mailbox->RunOnWindowThread([&] {
            if (mailbox->Text(IDC_MAILBOX_NAME) == kMailboxReport) {
                mailbox->SetText(IDC_MAILBOX_NAME, "");
                m_strRequestSql = mailbox->Text(IDC_MAILBOX_TEXT);
                found = Found::Report;
            } else if (TakeRequestFrom(*mailbox)) {
                found = Found::Request;
            }
        });
        if (!read)
            return FALSE;
        if (found == Found::Report) {
            m_nReportFlag.store(1);
            return FALSE;
        }
        if (found == Found::Request)
            return TRUE;
    }
}

WPARAM CDbRequestWorker::ExecuteRequest()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    if (!mailbox)
        return kDbDoneFailed;
    const CString name = mailbox->TakeText(IDC_MAILBOX_NAME);
    const CString sql = mailbox->TakeText(IDC_MAILBOX_TEXT);
    const WPARAM outcome = RunStatement(sql);
    CloseDatabase();
    mailbox->SetText(IDC_MAILBOX_NAME, name);
    if (CWnd* owner = m_pOwner.load())
        ::SendMessage(owner->GetSafeHwnd(), m_protocol.doneMessage, outcome, 0);
    return outcome;
}

void CDbRequestWorker::Send(DbRequest request, const CString& sql)
{
    SendNamed(RequestName(request), sql);
}

void CDbRequestWorker::SendNamed(const CString& name, const CString& sql)
{
    if (CMailboxDlg* mailbox = m_pMailbox.load()) {
        mailbox->SetText(IDC_MAILBOX_NAME, name);
        mailbox->SetText(IDC_MAILBOX_TEXT, sql);
    }
    SetEvent();
}

WPARAM CDbRequestWorker::Run(DbRequest request, const CString& sql)
{
    return RunNamed(RequestName(request), sql);
}

WPARAM CDbRequestWorker::RunNamed(const CString& name, const CString& sql)
{
    if (CMailboxDlg* mailbox = m_pMailbox.load()) {
        mailbox->SetText(IDC_MAILBOX_NAME, name);
        mailbox->SetText(IDC_MAILBOX_TEXT, sql);
    }
    return ExecuteRequest();
}

void CDbRequestWorker::Acknowledge()
{
    if (CMailboxDlg* mailbox = m_pMailbox.load())
        mailbox->SetText(IDC_MAILBOX_NAME, kMailboxReport);
    SetEvent();
}

CDbRequestWorker::ReplyName CDbRequestWorker::TakeReplyName()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    ReplyName reply;
    if (mailbox)
        reply.text = mailbox->TakeText(IDC_MAILBOX_NAME);
    reply.request = RequestOfName(reply.text.View());
    return reply;
}

CString CDbRequestWorker::TakeReplyRow()
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    return mailbox ? mailbox->TakeText(IDC_MAILBOX_TEXT) : CString();
}

void CDbRequestWorker::ClearRequestName()
{
    if (CMailboxDlg* mailbox = m_pMailbox.load())
        mailbox->SetText(IDC_MAILBOX_NAME, "");
}

void CDbRequestWorker::ClearRequest()
{
    if (CMailboxDlg* mailbox = m_pMailbox.load()) {
        mailbox->SetText(IDC_MAILBOX_NAME, "");
        mailbox->SetText(IDC_MAILBOX_TEXT, "");
    }
}

void CDbRequestWorker::Note(std::optional<DbRequest> request, const CString& text)
{
    CMailboxDlg* mailbox = m_pMailbox.load();
    if (!mailbox)
        return;
    if (request)
        mailbox->SetText(IDC_MAILBOX_NAME, RequestName(*request));
    mailbox->SetText(IDC_MAILBOX_TEXT, text);
}

void CDbRequestWorker::InsertRead(const CString& requestName, const CString& sql)
{
    const QueryResult result = Query(sql);
    if (!result.ok) {
        ReportDaoError(result.error);
        return;
    }
    if (!result.rows.empty())
        RouteInsertRow(requestName, JoinRow(result.rows.front(), TRUE));
}

void CDbRequestWorker::ServeInsertRead()
{
    const QueryResult result = Query(m_strRequestSql);
    CMailboxDlg* mailbox = m_pMailbox.load();
    BOOL closed = FALSE;
    if (result.ok && !result.rows.empty() && mailbox) {
        // The parsers fill the owner's grid: they run on the owner's thread.
        const CString row = JoinRow(result.rows.front(), TRUE);
        mailbox->RunOnWindowThread([&] {
            RouteInsertRow(m_strRequestName, row);
            CloseDatabase();
            closed = TRUE;
        });
    }
    if (!closed)
        CloseDatabase();
    if (!result.ok)
        ReportDaoError(result.error);
}

void CDbRequestWorker::RouteInsertRow(const CString& requestName, const CString& row)
{
    CInsertReadTarget* target = m_pInsertTarget.load();
    if (!target)
        return;
    const std::optional<DbRequest> request = RequestOfName(requestName.View());
    if (!request)
        return;
    if (IsTableInsertRead(*request))
        target->SplitItemRowText(row);
    else if (request == DbRequest::UserLabelInsertRead)
        target->SplitUserLabelRowText(row);
    else if (request == DbRequest::ScaleInformationInsertRead
        || request == DbRequest::ScaleRootInformationInsertRead)
        target->SplitScaleInfoRowText(row);
}

void CDbRequestWorker::Wait()
{
    m_wake.acquire();
    m_nPendingWakes.fetch_sub(1);
}
