#pragma once
// CDbRequestWorker: the request worker shared by CItemDbWorker and
// CManagerDbWorker. A worker thread waits on the worker's event, takes the
// request (name in edit 1003, SQL in 1002, insert-read marker in 1006) from the
// owner's mailbox, runs it and sends the rows one at a time to the owner's
// window with SendMessage, waiting after each message until the owner writes
// "Report" into edit 1003 and sets the event. The variants differ only in the
// WorkerProtocol they give.
//
// Threads: the constructor starts the thread; SetOwner, SetEvent, ExecuteRequest
// and the synchronous readers are called on the owner's thread; the helper lock
// (CDaoHelper) keeps the database calls of both threads apart and is never held
// while a message is sent or a message box is shown. The worker reads and
// empties the mailbox on the owner's (UI) thread, through the mailbox dialog,
// so a request written there (name, SQL, open, event) is seen whole or not at
// all, and the owner's row parsers of an insert-read run there too.
//
// Wake-ups: each SetEvent counts once. One that finds no request name (or
// "Report") in edit 1003 while the worker is idle is a stray: the mailbox is
// left as it is. After the done message of a streamed SELECT the worker waits
// for "Report" (and empties edit 1003); when the owner has written its next
// request instead, that request is served at once.
//
// Destruction stops the thread: a pending wait for "Report" is released, and on
// the UI thread the destructor keeps serving sent messages until the thread has
// ended, so a send in flight to the owner completes instead of deadlocking.

#include <atomic>
#include <semaphore>

#include "db/dao_helper.h"
#include "db/db_messages.h"
#include "db/db_request.h"

class CMailboxDlg;
class CWinThread;
class CWnd;

// What the owner does with a row read back after an insert (the work screen
// implements it; always called on the owner's (UI) thread: by HandleInsertRead,
// and for a request marked in edit 1006 through the mailbox).
class CInsertReadTarget {
public:
    virtual void SplitItemRowText(CString row) = 0;
    virtual void SplitScaleInfoRowText(CString row) = 0;
    virtual void SplitUserLabelRowText(CString row) = 0;

protected:
    ~CInsertReadTarget() = default;
};

struct WorkerProtocol {
    UINT rowMessage = 0;
    UINT emptyMessage = 0;
    UINT doneMessage = 0;
    bool sendsHeader = false; // column names before the rows
    bool readsMarker = false; // edit IDC_MAILBOX_MARKER turns a request into an insert-read
    bool stopsAfterInsertRow = false; // the *_Insert_Read names stream only their first row
    const char* tableWord = nullptr; // the only table word served, or nullptr for all
};

class CDbRequestWorker : public CDaoHelper {
public:
    ~CDbRequestWorker() override;

    // The owner view (target of the replies) and its mailbox dialog.
    void SetOwner(CWnd* owner, CMailboxDlg* mailbox);
    // The owner's row parsers for insert-reads (item worker; may stay unset).
    void SetInsertReadTarget(CInsertReadTarget* target) { m_pInsertTarget.store(target); }

    // Wakes the worker: a request is in the mailbox, or "Report" answers a reply.
    // Each call counts once (no two wake-ups merge).
    void SetEvent()
    {
        m_nPendingWakes.fetch_add(1);
        m_wake.release();
    }

    // TRUE from the owner's SetEvent for a request until the worker has
    // finished it (rows sent and the done message acknowledged): the worker's
    // database and the owner's mailbox are then in use. Owner's thread.
    BOOL IsRequestInFlight() const { return m_bServing.load() || m_nPendingWakes.load() > 0 ? TRUE : FALSE; }

    // Runs the statement in the mailbox (name 1003, SQL 1002, both emptied) on the
    // calling (owner's) thread, closes the database, then writes the name back
    // into 1003 and sends the done message, which the owner handles inside this
    // call and must not acknowledge. Its wParam, returned too, tells how the
    // statement ended (kDbDoneOk, kDbDoneFailed after the error box,
    // kDbDoneNoRow).
    WPARAM ExecuteRequest();

    // Runs one statement on the open database and shows its error: kDbDoneOk,
    // kDbDoneFailed or kDbDoneNoRow, as a done message would carry.
    [[nodiscard]] WPARAM RunStatement(const CString& sql);

    // The owner's typed calls (its thread). Each writes the mailbox's edits
    // as the protocol has them, in its order, and wakes the worker; no other
    // code writes them.
    //
    // A streamed request: its name and sql written, then the wake-up. The
    // owner has opened the database; the rows come as reply messages.
    void Send(DbRequest request, const CString& sql);
    // The same under the name a screen's query carries as written (the left
    // pane's word, which may name no request).
    void SendNamed(const CString& name, const CString& sql);
    // A statement run here by ExecuteRequest: its name and sql written, then
    // the run. Returns how it ended, as the done message does.
    WPARAM Run(DbRequest request, const CString& sql);
    // The same under the name a screen's query carries as written.
    WPARAM RunNamed(const CString& name, const CString& sql);
    // The answer "Report" to a reply message, and the wake-up.
    void Acknowledge();
    // In a reply message: its request's name taken from the mailbox (the
    // name as written, and the request it names, if any); the row (or header)
    // of a row message taken.
    struct ReplyName {
        CString text;
        std::optional<DbRequest> request;
    };
    ReplyName TakeReplyName();
    CString TakeReplyRow();
    // The mailbox emptied: its name edit, or the name and the text.
    void ClearRequestName();
    void ClearRequest();
    // A request noted in the mailbox without a wake-up (a statement the
    // owner runs itself, a received record's for the store): its name (none
    // leaves the name edit as it is), then text.
    void Note(std::optional<DbRequest> request, const CString& text);

    // 1 after the last wait ended with "Report", else 0.
    int GetReportFlag() const { return m_nReportFlag.load(); }

    // The name of the request being served (the table word decides its routing).
    static CString TableWord(const CString& requestName);

protected:
    explicit CDbRequestWorker(const WorkerProtocol& protocol);

    // Reads a row back and hands the first row to the target's parser chosen
    // by requestName. Owner's thread.
    void InsertRead(const CString& requestName, const CString& sql);

    CMailboxDlg* Mailbox() const { return m_pMailbox.load(); }

private:
    static UINT WorkerThreadProc(void* param);
    // Takes the request from the mailbox (on its thread). FALSE for a stray
    // wake-up, which leaves the mailbox as it is.
    BOOL TakeRequest();
    // The same, run on the mailbox's thread.
    BOOL TakeRequestFrom(CMailboxDlg& mailbox);
    // Serves the request taken. TRUE when the wait after its done message took
    // the owner's next request, which is then served at once.
    BOOL HandleRequest();
    BOOL StreamSelect(const CString& sql);
    // The insert-read of a request marked in edit 1006: the row is read here,
    // the owner's parser runs on the owner's thread, then the database closes.
    void ServeInsertRead();
    // The parser of requestName gets row; other names have none.
    void RouteInsertRow(const CString& requestName, const CString& row);
    // FALSE when the worker is stopping (or the owner is gone) instead of "Report".
    BOOL WaitForReport();
    // The wait after the done message of a streamed SELECT; TRUE when it found
    // (and took) the owner's next request instead of "Report".
    BOOL WaitForDoneReport();
    // Writes the name (and text) into the mailbox and sends message (wParam
    // outcome) to the owner. FALSE when the owner has no window, so no
    // acknowledgement can come.
    BOOL Reply(UINT message, const CString* text, WPARAM outcome = kDbDoneOk);
    CString HeaderRow(const QueryResult& result) const;
    BOOL StopsAfterFirstRow() const;
    // Waits for the next SetEvent.
    void Wait();

    const WorkerProtocol m_protocol;
    std::atomic<CWnd*> m_pOwner { nullptr };
    std::atomic<CMailboxDlg*> m_pMailbox { nullptr };
    std::atomic<CInsertReadTarget*> m_pInsertTarget { nullptr };
    std::counting_semaphore<> m_wake { 0 }; // the worker's event, counting each SetEvent
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_nPendingWakes { 0 }; // SetEvent calls not yet taken by the thread
    std::atomic<bool> m_bServing { false }; // the thread is inside a request
    std::atomic<int> m_nReportFlag { 0 };
    CWinThread* m_pThread = nullptr;

    // The request being served (worker thread; taken on the mailbox's thread
    // while the worker waits for it).
    CString m_strRequestName;
    CString m_strRequestSql;
    CString m_strMarker;
};
