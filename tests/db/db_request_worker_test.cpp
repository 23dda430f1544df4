#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <thread>

#include "db/db_messages.h"
#include "db/db_request.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/manager_db_worker.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/sync.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/db_lock.h"
#include "tests/support/store_fault.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr DWORD kDeadlineMs = 10000;
// How long a mailbox must keep its edits to show that nothing touched them.
constexpr DWORD kQuietMs = 300;

// Threads of this process (a worker adds one while it lives).
std::size_t ThreadCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

struct Reply {
    UINT message;
    std::string name;
    std::string text;
    WPARAM outcome;
};

// An owner view: records every reply and answers "Report" (unless told to hold
// back), closing the worker's database on the done message, as the views do.
class TestOwner : public CWnd, public CInsertReadTarget {
public:
    // ownsMailbox: the mailbox dialog is owned by this window (as in the views);
    // else by a window of its own that outlives this one.
    explicit TestOwner(bool ownsMailbox = true)
    {
        const RECT rect { 0, 0, 100, 100 };
        CreateEx(0, nullptr, "owner", WS_POPUP, rect, nullptr, 0);
        if (!ownsMailbox)
            m_keeper.CreateEx(0, nullptr, "keeper", WS_POPUP, rect, nullptr, 0);
        m_mailbox.Create(ownsMailbox ? this : &m_keeper);
    }
    ~TestOwner() override
    {
        DestroyWindow();
        m_keeper.DestroyWindow();
    }

    void Attach(CDbRequestWorker* worker)
    {
        m_worker = worker;
        worker->SetOwner(this, &m_mailbox);
        worker->SetInsertReadTarget(this);
    }

    // Sends a request through the mailbox, as the views do.
    void Request(const char* name, const char* sql, const std::string& path)
    {
        m_mailbox.SetText(IDC_MAILBOX_NAME, name);
        m_mailbox.SetText(IDC_MAILBOX_TEXT, sql);
        m_worker->OpenDatabase(path.c_str());
        m_worker->SetEvent();
    }

    bool WaitForDone(DWORD timeoutMs = kDeadlineMs)
    {
        return AfxPumpUntil([this] { return m_done; }, timeoutMs);
    }

    // The parsers record the row, and whether they ran on the UI thread with
    // the worker's database still open.
    void SplitItemRowText(CString row) override { Parsed("item:", row); }
    void SplitScaleInfoRowText(CString row) override { Parsed("scale:", row); }
    void SplitUserLabelRowText(CString row) override { Parsed("label:", row); }
    void Parsed(const char* kind, const CString& row)
    {
        m_parsed.push_back(kind + row.Str());
        m_parsedOnUiThread = m_parsedOnUiThread && GetCurrentThreadId() == AfxGetUiThreadId();
        m_parsedWithDatabaseOpen = m_parsedWithDatabaseOpen && m_worker->IsDatabaseOpen();
    }

    std::vector<Reply> m_replies;
    std::vector<std::string> m_parsed;
    bool m_parsedOnUiThread = true;
    bool m_parsedWithDatabaseOpen = true;
    bool m_done = false;
    bool m_zeroParams = true; // every row reply came with wParam = lParam = 0
    bool m_acknowledge = true; // answer "Report" to streamed replies
    bool m_acknowledgeDone = true; // ... and to the done message
    bool m_directExecute = false; // the request runs through ExecuteRequest
    bool m_closeOnDone = true; // the done message closes the worker's database
    bool m_typedAnswer = false; // "Report" through the worker's Acknowledge
    std::function<void()> m_onReply; // runs inside each reply handler
    CWnd m_keeper;
    CMailboxDlg m_mailbox { this };
    CDbRequestWorker* m_worker = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_MGRQUERY_ROW && message <= WM_DBQUERY_DONE) {
            m_replies.push_back({ message, m_mailbox.Text(IDC_MAILBOX_NAME).Str(),
                m_mailbox.Text(IDC_MAILBOX_TEXT).Str(), wParam });
            const bool done = message == WM_MGRQUERY_DONE || message == WM_DBQUERY_DONE;
            m_zeroParams = m_zeroParams && (done || wParam == 0) && lParam == 0;
            if (m_onReply)
                m_onReply();
            if (done && m_closeOnDone)
                m_worker->CloseDatabase();
            if (m_acknowledge && !(done && (m_directExecute || !m_acknowledgeDone))) {
                if (m_typedAnswer) {
                    m_worker->Acknowledge();
                } else {
                    m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
                    m_worker->SetEvent();
                }
            }
            if (done)
                m_done = true;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string Row(std::initializer_list<const char*> values)
{
    std::string text;
    for (const char* v : values)
        text += std::string(v) + "\tjo/";
    return text;
}

class WorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_items = m_folder.FromTemplate(150, "items.mdb");
        m_managers = m_folder.FromTemplate(152, "Manager.mdb");
        CItemDbWorker setup;
        for (const char* key : { "1", "2" }) {
            setup.OpenDatabase(m_items.c_str());
            setup.Execute(
                CString::Formatted("INSERT INTO [Item]([item_num], [mg_id]) VALUES('%s', 'vexo')", key));
        }
        setup.OpenDatabase(m_managers.c_str());
        setup.Execute("INSERT INTO [Manager] VALUES('kim', 'pw', '3')");
        setup.OpenDatabase(m_managers.c_str());
        setup.Execute("INSERT INTO [Manager] VALUES('lee', 'pw', '4')");
        setup.CloseDatabase();
    }

    // Every wake-up that finds no request must leave the mailbox alone: a time
    // in which the edits do not change shows it.
    static bool MailboxStaysAsItIs(const CMailboxDlg& mailbox)
    {
        const std::string before = Edits(mailbox);
        return !AfxPumpUntil([&] { return Edits(mailbox) != before; }, kQuietMs);
    }
    static std::string Edits(const CMailboxDlg& mailbox)
    {
        return mailbox.Text(IDC_MAILBOX_NAME).Str() + "|" + mailbox.Text(IDC_MAILBOX_TEXT).Str() + "|"
            + mailbox.Text(IDC_MAILBOX_MARKER).Str();
    }

    static std::vector<UINT> Messages(const TestOwner& owner)
    {
        std::vector<UINT> out;
        for (const auto& r : owner.m_replies)
            out.push_back(r.message);
        return out;
    }

    TempFolder m_folder;
    ScopedMessageBoxScript m_boxes;
    std::string m_items;
    std::string m_managers;
};

TEST_F(WorkerTest, ItemSelectStreamsHeaderRowsAndDoneEachAcknowledged)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.Request("Item_Read", "SELECT [item_num], [mg_id] FROM [Item] ORDER BY [ID]", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner),
        (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
    EXPECT_EQ(owner.m_replies[0].text, Row({ "ITEM_NUM", "MG_ID" }));
    EXPECT_EQ(owner.m_replies[1].text, Row({ "1", "vexo" }));
    EXPECT_EQ(owner.m_replies[2].text, Row({ "2", "vexo" }));
    for (const auto& r : owner.m_replies)
        EXPECT_EQ(r.name, "Item_Read");
    EXPECT_TRUE(owner.m_zeroParams);
    EXPECT_TRUE(AfxPumpUntil([&] { return worker.GetReportFlag() == 1; }, kDeadlineMs));
    EXPECT_FALSE(worker.IsDatabaseOpen());
}

TEST_F(WorkerTest, AnEmptySelectSendsHeaderEmptyAndDone)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.Request("User_Label_Read", "SELECT [file_num], [barcode form] FROM [UserLabel]", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_EMPTY, WM_DBQUERY_DONE }));
    EXPECT_EQ(owner.m_replies[0].text, Row({ "file_num", "barcode form" }));
}

TEST_F(WorkerTest, InsertReadNamesStreamOnlyTheFirstRow)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.Request("Item_Insert_Read", "SELECT [ID] FROM [Item] ORDER BY [ID] DESC", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
    EXPECT_EQ(owner.m_replies[1].text, Row({ "2" }));
}

TEST_F(WorkerTest, ManagerSelectStreamsRowsWithoutHeader)
{
    TestOwner owner;
    CManagerDbWorker worker;
    owner.Attach(&worker);
    owner.Request(
        "Manager_Read", "SELECT [mg_id], [corner_code] FROM [Manager] ORDER BY [mg_id]", m_managers);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner),
        (std::vector<UINT> { WM_MGRQUERY_ROW, WM_MGRQUERY_ROW, WM_MGRQUERY_ROW, WM_MGRQUERY_DONE }));
    EXPECT_EQ(owner.m_replies[0].text, Row({ "kim", "3" }));
    EXPECT_EQ(owner.m_replies[2].text, Row({ "vexo", "0" }));

    TestOwner empty;
    empty.Attach(&worker);
    empty.Request("Manager_Login", "SELECT [corner_code] FROM [manager] WHERE mg_id = 'x' AND mg_pass = 'y'",
        m_managers);
    ASSERT_TRUE(empty.WaitForDone());
    EXPECT_EQ(Messages(empty), (std::vector<UINT> { WM_MGRQUERY_EMPTY, WM_MGRQUERY_DONE }));
}

TEST_F(WorkerTest, ManagerWorkerRefusesOtherTableWordsAndStillEndsTheRequest)
{
    TestOwner owner;
    CManagerDbWorker worker;
    owner.Attach(&worker);
    owner.m_acknowledge = false;
    owner.Request("Scale_Read", "SELECT * FROM [ScaleMG]", m_managers);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), std::vector<UINT> { WM_MGRQUERY_DONE });
    EXPECT_EQ(owner.m_replies[0].name, "Scale_Read");
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].text, "Right db read ok");
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(worker.IsDatabaseOpen());

    // The left pane answers the done message of "Manager_Login" only; the worker
    // must not wait for an answer to the refused SELECT, or it would take the
    // wake-up of the next request for it.
    owner.m_done = false;
    owner.m_replies.clear();
    owner.m_acknowledge = true;
    owner.Request("Manager_Login", "SELECT [corner_code] FROM [Manager] WHERE [mg_id] = 'kim'", m_managers);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_MGRQUERY_ROW, WM_MGRQUERY_DONE }));
    EXPECT_EQ(owner.m_replies[0].text, Row({ "3" }));
}

TEST_F(WorkerTest, BetweenRowsOnlyReportReleasesTheWorker)
{
    // Any other word in edit 1003, a request name included, is consumed and
    // ignored while a row waits for its answer; the edit is emptied.
    for (const char* word : { "Nope", "Item_Read" }) {
        TestOwner owner;
        CItemDbWorker worker;
        owner.Attach(&worker);
        owner.m_acknowledge = false;
        owner.Request("Item_Read", "SELECT [item_num] FROM [Item] ORDER BY [ID]", m_items);
        ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_replies.size() == 1; }, kDeadlineMs));
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, word);
        owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, "SELECT [mg_id] FROM [Item]");
        worker.SetEvent();
        ASSERT_TRUE(
            AfxPumpUntil([&] { return owner.m_mailbox.Text(IDC_MAILBOX_NAME).IsEmpty(); }, kDeadlineMs))
            << word;
        EXPECT_EQ(owner.m_replies.size(), 1u) << word;
        EXPECT_EQ(worker.GetReportFlag(), 0) << word;
        owner.m_acknowledge = true;
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
        worker.SetEvent();
        ASSERT_TRUE(owner.WaitForDone()) << word;
        ASSERT_EQ(owner.m_replies.size(), 4u) << word;
        EXPECT_EQ(owner.m_replies[1].text, Row({ "1" })) << word;
        EXPECT_EQ(owner.m_replies[2].text, Row({ "2" })) << word;
    }
}

TEST_F(WorkerTest, TheDoneReportIsTakenOutOfTheMailbox)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item] WHERE [item_num] = '2'", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_TRUE(AfxPumpUntil(
        [&] { return worker.GetReportFlag() == 1 && owner.m_mailbox.Text(IDC_MAILBOX_NAME).IsEmpty(); },
        kDeadlineMs))
        << Edits(owner.m_mailbox);
    // The answer emptied, the worker idles: nothing more happens to the mailbox.
    EXPECT_TRUE(MailboxStaysAsItIs(owner.m_mailbox));
    EXPECT_EQ(owner.m_replies.size(), 3u);
}

TEST_F(WorkerTest, TheDoneWaitKeepsWaitingUntilReport)
{
    TestOwner owner;
    CManagerDbWorker worker;
    owner.Attach(&worker);
    owner.m_acknowledgeDone = false;
    owner.Request("Manager_Read", "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'kim'", m_managers);
    ASSERT_TRUE(owner.WaitForDone());
    // A wake-up with an empty edit 1003 is not the answer.
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, "");
    worker.SetEvent();
    EXPECT_TRUE(MailboxStaysAsItIs(owner.m_mailbox));
    EXPECT_EQ(worker.GetReportFlag(), 0);
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, "vexo");
    worker.SetEvent();
    ASSERT_TRUE(AfxPumpUntil([&] { return worker.GetReportFlag() == 1; }, kDeadlineMs));
    EXPECT_EQ(Edits(owner.m_mailbox), "|vexo|");
    EXPECT_EQ(owner.m_replies.size(), 2u);
}

TEST_F(WorkerTest, ARequestSentWithoutAnsweringTheDoneMessageIsServed)
{
    // An owner that never answers the done message and sends its next request:
    // the wait after the done message ends on it and serves it whole.
    for (const bool itemWorker : { true, false }) {
        TestOwner owner;
        std::unique_ptr<CDbRequestWorker> worker;
        if (itemWorker)
            worker = std::make_unique<CItemDbWorker>();
        else
            worker = std::make_unique<CManagerDbWorker>();
        owner.Attach(worker.get());
        owner.m_acknowledgeDone = false;
        const std::string& path = itemWorker ? m_items : m_managers;
        const char* first = itemWorker ? "Item_Read" : "Manager_Read";
        owner.Request(first,
            itemWorker ? "SELECT [item_num] FROM [Item] WHERE [item_num] = '1'"
                       : "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'kim'",
            path);
        ASSERT_TRUE(owner.WaitForDone());
        owner.m_done = false;
        owner.m_replies.clear();
        const char* second = itemWorker ? "Item_Second" : "Manager_Second";
        owner.Request(second,
            itemWorker ? "SELECT [item_num] FROM [Item] WHERE [item_num] = '2'"
                       : "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'lee'",
            path);
        ASSERT_TRUE(owner.WaitForDone()) << second;
        ASSERT_FALSE(owner.m_replies.empty());
        EXPECT_EQ(owner.m_replies.back().name, second);
        EXPECT_EQ(
            owner.m_replies[owner.m_replies.size() - 2].text, itemWorker ? Row({ "2" }) : Row({ "lee" }));
        EXPECT_TRUE(m_boxes.Records().empty());
    }
}

TEST_F(WorkerTest, ExecuteRequestShowsTheErrorAndSendsDoneWithTheName)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.m_directExecute = true;
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, "Item_Update");
    owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, "UPDATE [Item] SET [nope] = '1'");
    worker.OpenDatabase(m_items.c_str());
    worker.ExecuteRequest();
    EXPECT_EQ(Messages(owner), std::vector<UINT> { WM_DBQUERY_DONE });
    EXPECT_EQ(owner.m_replies[0].name, "Item_Update");
    EXPECT_EQ(owner.m_replies[0].text, "");
    EXPECT_TRUE(owner.m_zeroParams);
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_FALSE(worker.IsDatabaseOpen());
}

TEST_F(WorkerTest, StatementsThroughTheMailboxAndErrorsWhileStreamingEndWithDone)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.Request("Item_Delete", "DELETE FROM [Item] WHERE [item_num] = '2'", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), std::vector<UINT> { WM_DBQUERY_DONE });

    TestOwner second;
    second.Attach(&worker);
    second.Request("Item_Read", "SELECT [nope] FROM [Item]", m_items);
    ASSERT_TRUE(second.WaitForDone());
    EXPECT_EQ(Messages(second), std::vector<UINT> { WM_DBQUERY_DONE });
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(m_boxes.Records()[0].threadId, GetCurrentThreadId());

    // A failing statement: the error, then the done message with its name.
    TestOwner third;
    third.Attach(&worker);
    third.Request("Item_Update", "UPDATE [Item] SET [nope] = '1'", m_items);
    ASSERT_TRUE(third.WaitForDone());
    EXPECT_EQ(Messages(third), std::vector<UINT> { WM_DBQUERY_DONE });
    EXPECT_EQ(third.m_replies[0].name, "Item_Update");
    ASSERT_EQ(m_boxes.Records().size(), 2u);
    EXPECT_EQ(m_boxes.Records()[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(m_boxes.Records()[1].text.Find("nope"), -1);
    EXPECT_FALSE(worker.IsDatabaseOpen());
}

TEST_F(WorkerTest, TheDoneMessageTellsWhetherTheStatementChangedARow)
{
    enum class Block { None, ReadOnlyFile, ReadOnlyFolder, Exclusive, Write };
    struct Case {
        const char* sql;
        Block block;
        WPARAM outcome;
        std::size_t boxes;
    };
    const Case cases[] = {
        { "UPDATE [Item] SET [item_name] = 'a' WHERE [item_num] = '1'", Block::None, kDbDoneOk, 0 },
        { "UPDATE [Item] SET [item_name] = 'a' WHERE [item_num] = '9'", Block::None, kDbDoneNoRow, 0 },
        { "DELETE FROM [Item] WHERE [item_num] = '9'", Block::None, kDbDoneNoRow, 0 },
        { "UPDATE [Item] SET [nope] = '1'", Block::None, kDbDoneFailed, 1 },
        { "UPDATE [Item] SET [item_name] = 'b' WHERE [item_num] = '1'", Block::ReadOnlyFile, kDbDoneFailed,
            1 },
        { "DELETE FROM [Item] WHERE [item_num] = '1'", Block::ReadOnlyFolder, kDbDoneFailed, 1 },
        { "UPDATE [Item] SET [item_name] = 'b' WHERE [item_num] = '1'", Block::Write, kDbDoneFailed, 1 },
        { "DELETE FROM [Item] WHERE [item_num] = '1'", Block::Exclusive, kDbDoneFailed, 1 },
    };
    CItemDbWorker worker;
    for (const bool direct : { true, false }) {
        for (const Case& c : cases) {
            // The mailbox path shares the statement's run: the slow lock waits once.
            if (!direct && (c.block == Block::Exclusive || c.block == Block::Write))
                continue;
            MessageBoxScript::Reset();
            ReadOnlyPath readOnly;
            DbLockHolder lock;
            if (c.block == Block::ReadOnlyFile) {
                ASSERT_TRUE(readOnly.Apply(m_items));
            } else if (c.block == Block::ReadOnlyFolder) {
                ASSERT_TRUE(readOnly.Apply(m_folder.Path().string()));
            } else if (c.block != Block::None) {
                const auto kind
                    = c.block == Block::Exclusive ? DbLockHolder::Kind::Exclusive : DbLockHolder::Kind::Write;
                ASSERT_TRUE(lock.Hold(m_items, kind));
            }
            TestOwner owner;
            owner.Attach(&worker);
            WPARAM returned = kDbDoneOk;
            if (direct) {
                owner.m_directExecute = true;
                owner.m_mailbox.SetText(IDC_MAILBOX_NAME, "Item_Update");
                owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, c.sql);
                worker.OpenDatabase(m_items.c_str());
                returned = worker.ExecuteRequest();
            } else {
                owner.Request("Item_Update", c.sql, m_items);
                ASSERT_TRUE(owner.WaitForDone()) << c.sql;
                returned = owner.m_replies.back().outcome;
            }
            ASSERT_EQ(Messages(owner), std::vector<UINT> { WM_DBQUERY_DONE }) << c.sql;
            EXPECT_EQ(owner.m_replies[0].outcome, c.outcome) << c.sql;
            EXPECT_EQ(returned, c.outcome) << c.sql;
            EXPECT_EQ(m_boxes.Records().size(), c.boxes) << c.sql;
        }
    }
    // A SELECT that fails ends with a failed done message too.
    TestOwner owner;
    owner.Attach(&worker);
    owner.Request("Item_Read", "SELECT [nope] FROM [Item]", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(owner.m_replies.back().outcome, kDbDoneFailed);
}

TEST_F(WorkerTest, ARequestIsInFlightFromItsEventUntilItsDoneIsAnswered)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    EXPECT_FALSE(worker.IsRequestInFlight());
    owner.m_acknowledgeDone = false;
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item] WHERE [item_num] = '1'", m_items);
    EXPECT_TRUE(worker.IsRequestInFlight());
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_TRUE(worker.IsRequestInFlight()); // the done message is not answered
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    worker.SetEvent();
    ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs));

    // A stray wake-up is over once the worker has looked at the mailbox.
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    worker.SetEvent();
    EXPECT_TRUE(worker.IsRequestInFlight());
    ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs));

    // The note of a received record is never served, even when a wake-up
    // finds it: its statement stays in the mailbox, nothing is replied.
    const std::size_t replies = owner.m_replies.size();
    for (const char* note : { "ITEM_REV", "User_Label_Insert" }) {
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, note);
        owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, "DELETE FROM [Item]");
        worker.SetEvent();
        ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs)) << note;
        EXPECT_EQ(owner.m_mailbox.Text(IDC_MAILBOX_NAME), note);
        EXPECT_EQ(owner.m_mailbox.Text(IDC_MAILBOX_TEXT), "DELETE FROM [Item]");
    }
    EXPECT_EQ(owner.m_replies.size(), replies);
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, "");

    // Each wait starts with no answer counted: the header is answered, the
    // first row is not.
    owner.m_replies.clear();
    owner.m_onReply = [&] {
        if (owner.m_replies.size() == 2)
            owner.m_acknowledge = false;
    };
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(AfxPumpUntil(
        [&] { return owner.m_replies.size() == 2 && worker.GetReportFlag() == 0; }, kDeadlineMs));
    EXPECT_TRUE(worker.IsRequestInFlight());
}

TEST_F(WorkerTest, TheOwnerMayUseTheWorkersDatabaseBetweenStreamedRows)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    std::vector<std::string> seen;
    owner.m_onReply = [&] { seen.push_back(worker.GetRecordAt("SELECT COUNT(*) FROM [Item]", 0).Str()); };
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], Row({ "2" }));
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkerTest, HandleInsertReadRoutesTheFirstRowByRequestName)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    worker.OpenDatabase(m_items.c_str());
    const CString sql = "SELECT [ID] FROM [Item] WHERE [mg_id] = 'vexo' ORDER BY [ID] DESC";
    for (const char* name :
        { "Item_Insert_Read", "User_Label_Insert_Read", "Scale_Root_Information_Insert_read",
            "Scale_Root_Information_Insert_Read", "Land_Add_Update_Insert_Read" }) {
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, name);
        worker.HandleInsertRead(sql);
        EXPECT_EQ(owner.m_mailbox.Text(IDC_MAILBOX_NAME), name);
    }
    worker.HandleInsertRead("SELECT [ID] FROM [Item] WHERE [item_num] = '-1'");
    EXPECT_TRUE(m_boxes.Records().empty());
    // A read that fails shows the engine's error and parses nothing.
    worker.HandleInsertRead("SELECT [nope] FROM [Item]");
    ASSERT_EQ(m_boxes.Records().size(), 1u);
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(owner.m_parsed,
        (std::vector<std::string> { "item:" + Row({ "2" }), "label:" + Row({ "2" }), "scale:" + Row({ "2" }),
            "item:" + Row({ "2" }) }));
    EXPECT_TRUE(owner.m_replies.empty());
}

TEST_F(WorkerTest, ARequestSentRightAfterTheDoneMessageIsServed)
{
    // The next request goes out as soon as the done handler has returned, maybe
    // before the worker has read the acknowledgement; none may be lost.
    TestOwner owner;
    CManagerDbWorker worker;
    owner.Attach(&worker);
    for (int i = 0; i < 20; ++i) {
        owner.m_done = false;
        owner.m_replies.clear();
        owner.Request("Manager_Read", "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'kim'", m_managers);
        ASSERT_TRUE(owner.WaitForDone()) << "request " << i;
        EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_MGRQUERY_ROW, WM_MGRQUERY_DONE }));
    }
}

TEST_F(WorkerTest, AStrayWakeUpLeavesTheMailboxAlone)
{
    // A wake-up that finds no request name (an owner answering the done message
    // of a statement, which needs no answer) must not take the edits: the owner
    // may be writing its next request, or keep its own words there.
    struct Case {
        const char* name;
        const char* text;
        const char* marker;
    };
    for (const Case& c : { Case { "Report", "vexo", "" }, Case { "", "vexo", "" },
             Case { "", "SELECT [ID] FROM [Item]", "1" } }) {
        TestOwner owner;
        CItemDbWorker worker;
        owner.Attach(&worker);
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, c.name);
        owner.m_mailbox.SetText(IDC_MAILBOX_TEXT, c.text);
        owner.m_mailbox.SetText(IDC_MAILBOX_MARKER, c.marker);
        worker.OpenDatabase(m_items.c_str());
        worker.SetEvent();
        EXPECT_TRUE(MailboxStaysAsItIs(owner.m_mailbox)) << Edits(owner.m_mailbox);
        EXPECT_EQ(Edits(owner.m_mailbox), std::string(c.name) + "|" + c.text + "|" + c.marker);
        EXPECT_TRUE(owner.m_replies.empty());
        EXPECT_TRUE(owner.m_parsed.empty());
        EXPECT_TRUE(worker.IsDatabaseOpen());

        owner.m_mailbox.SetText(IDC_MAILBOX_MARKER, "");
        owner.Request("Item_Read", "SELECT [item_num] FROM [Item] WHERE [item_num] = '1'", m_items);
        ASSERT_TRUE(owner.WaitForDone());
        EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
        EXPECT_EQ(owner.m_replies[1].text, Row({ "1" }));
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkerTest, StatementsAnsweredByTheOwnerLoseNoRequest)
{
    // The work screen answers every done message, statements included, and may
    // send its next request at once; each surplus wake-up is a stray.
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    for (int i = 0; i < 10; ++i) {
        owner.m_done = false;
        owner.m_replies.clear();
        const CString insert
            = CString::Formatted("INSERT INTO [Item]([item_num], [mg_id]) VALUES('n%d', 'kim')", i);
        owner.Request("Item_Insert", insert, m_items);
        ASSERT_TRUE(owner.WaitForDone()) << i;
        EXPECT_EQ(Messages(owner), std::vector<UINT> { WM_DBQUERY_DONE });
        owner.m_done = false;
        owner.m_replies.clear();
        owner.Request("Item_Read", "SELECT COUNT(*) FROM [Item] WHERE [mg_id] = 'kim'", m_items);
        ASSERT_TRUE(owner.WaitForDone()) << i;
        ASSERT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
        EXPECT_EQ(owner.m_replies[1].text, Row({ std::to_string(i + 1).c_str() }));
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkerTest, MarkedInsertReadsRunTheParserOnTheUiThreadThenCloseTheDatabase)
{
    struct Case {
        const char* name;
        const char* parsed; // "" when the name has no parser
    };
    const Case cases[] = {
        { "Item_Insert_Read", "item:" },
        { "Add_Insert_Read", "item:" },
        { "Adv_Update_Insert_Read", "item:" },
        { "Land_Add_Update_Insert_Read", "item:" },
        { "User_Label_Insert_Read", "label:" },
        { "Scale_Information_Insert_read", "scale:" },
        { "Scale_Root_Information_Insert_read", "scale:" },
        { "Scale_Root_Information_Insert_Read", "" },
        { "Item_Read", "" },
    };
    for (const Case& c : cases) {
        TestOwner owner;
        CItemDbWorker worker;
        owner.Attach(&worker);
        owner.m_mailbox.SetText(IDC_MAILBOX_MARKER, "1");
        owner.Request(c.name, "SELECT [ID], [item_num] FROM [Item] ORDER BY [ID] DESC", m_items);
        ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsDatabaseOpen(); }, kDeadlineMs)) << c.name;
        const std::vector<std::string> parsed = *c.parsed
            ? std::vector<std::string> { c.parsed + Row({ "2", "2" }) }
            : std::vector<std::string> {};
        EXPECT_EQ(owner.m_parsed, parsed) << c.name;
        EXPECT_TRUE(owner.m_parsedOnUiThread) << c.name;
        EXPECT_TRUE(owner.m_parsedWithDatabaseOpen) << c.name;
        EXPECT_TRUE(owner.m_replies.empty()) << c.name;
        EXPECT_EQ(Edits(owner.m_mailbox), "||") << c.name;
    }
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkerTest, AMarkedInsertReadThatFailsShowsTheErrorAndClosesTheDatabase)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.m_mailbox.SetText(IDC_MAILBOX_MARKER, "1");
    owner.Request("Item_Insert_Read", "SELECT [nope] FROM [Item]", m_items);
    ASSERT_TRUE(
        AfxPumpUntil([&] { return !worker.IsDatabaseOpen() && m_boxes.Records().size() == 1; }, kDeadlineMs));
    EXPECT_EQ(m_boxes.Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_NE(m_boxes.Records()[0].text.Find("nope"), -1);
    EXPECT_TRUE(owner.m_parsed.empty());
    EXPECT_TRUE(owner.m_replies.empty());

    // No row: nothing parsed, the database closed all the same.
    owner.m_mailbox.SetText(IDC_MAILBOX_MARKER, "1");
    owner.Request("Item_Insert_Read", "SELECT [ID] FROM [Item] WHERE [item_num] = '-1'", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsDatabaseOpen(); }, kDeadlineMs));
    EXPECT_TRUE(owner.m_parsed.empty());
    EXPECT_EQ(m_boxes.Records().size(), 1u);

    // The worker is free for the next request.
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item] WHERE [item_num] = '1'", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
}

TEST_F(WorkerTest, DestroyingAnIdleWorkerEndsItsThread)
{
    TestOwner owner;
    const std::size_t before = ThreadCount();
    auto* worker = new CItemDbWorker;
    owner.Attach(worker);
    EXPECT_TRUE(AfxPumpUntil([&] { return ThreadCount() == before + 1; }, kDeadlineMs));
    delete worker; // returns only after the thread has left its loop
    EXPECT_TRUE(AfxPumpUntil([&] { return ThreadCount() == before; }, kDeadlineMs));
}

TEST_F(WorkerTest, DestroyingAWorkerThatWaitsForReportDoesNotDeadlock)
{
    TestOwner owner;
    const std::size_t before = ThreadCount();
    auto* worker = new CItemDbWorker;
    owner.Attach(worker);
    owner.m_acknowledge = false;
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_replies.size() == 1; }, kDeadlineMs));
    delete worker;
    EXPECT_EQ(owner.m_replies.size(), 1u);
    EXPECT_EQ(owner.m_replies[0].text, Row({ "ITEM_NUM" }));
    EXPECT_TRUE(AfxPumpUntil([&] { return ThreadCount() == before; }, kDeadlineMs));
}

TEST_F(WorkerTest, DestroyingABusyWorkerDoesNotDeadlock)
{
    // Deleted right after the request: wherever the worker is (reading, blocked in
    // its send to this thread, or waiting for "Report"), the stop gets through.
    // What the owner got is the start of the stream, in order.
    const std::vector<Reply> full = {
        { WM_DBQUERY_ROW, "Item_Read", Row({ "ITEM_NUM" }) },
        { WM_DBQUERY_ROW, "Item_Read", Row({ "1" }) },
        { WM_DBQUERY_ROW, "Item_Read", Row({ "2" }) },
        { WM_DBQUERY_DONE, "Item_Read", "" },
    };
    for (int round = 0; round < 6; ++round) {
        TestOwner owner;
        const std::size_t before = ThreadCount();
        auto* worker = new CItemDbWorker;
        owner.Attach(worker);
        owner.m_acknowledge = round % 2 == 0;
        owner.Request("Item_Read", "SELECT [item_num] FROM [Item] ORDER BY [ID]", m_items);
        if (round >= 4) { // let the worker get into the stream
            ASSERT_TRUE(AfxPumpUntil([&] { return !owner.m_replies.empty(); }, kDeadlineMs));
        }
        delete worker;
        ASSERT_LE(owner.m_replies.size(), full.size()) << round;
        if (!owner.m_acknowledge) {
            EXPECT_LE(owner.m_replies.size(), 1u) << round;
        }
        for (std::size_t i = 0; i < owner.m_replies.size(); ++i) {
            EXPECT_EQ(owner.m_replies[i].message, full[i].message) << round << " " << i;
            EXPECT_EQ(owner.m_replies[i].name, full[i].name) << round << " " << i;
            if (full[i].message == WM_DBQUERY_ROW) {
                EXPECT_EQ(owner.m_replies[i].text, full[i].text) << round << " " << i;
            }
        }
        EXPECT_TRUE(AfxPumpUntil([&] { return ThreadCount() == before; }, kDeadlineMs)) << round;
    }
}

TEST_F(WorkerTest, AWorkerWhoseOwnerWindowIsGoneAbandonsTheRequest)
{
    TestOwner gone(false);
    CItemDbWorker worker;
    gone.Attach(&worker);
    gone.DestroyWindow();
    gone.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs));
    EXPECT_EQ(Edits(gone.m_mailbox), "||"); // taken, then dropped
    EXPECT_TRUE(gone.m_replies.empty());

    // Not left waiting for an answer that cannot come: the next request is served.
    TestOwner live;
    live.Attach(&worker);
    live.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(live.WaitForDone());
    EXPECT_EQ(live.m_replies.size(), 4u);
}

TEST_F(WorkerTest, AnOwnerWindowClosedDuringALoadGetsNoRowAfterIt)
{
    // The window goes after the 50th reply: inside that reply's handler, from
    // a close posted there (the next row is already on its way), or while its
    // answer is held back. A late "Report" follows in every case.
    constexpr int kRows = 2000;
    constexpr std::size_t kAt = 50;
    CItemDbWorker setup;
    setup.OpenDatabase(m_items.c_str());
    setup.Execute(
        CString::Formatted("INSERT INTO [Item]([item_num], [mg_id]) WITH RECURSIVE n(x) AS "
                           "(SELECT 3 UNION ALL SELECT x + 1 FROM n WHERE x < %d) SELECT x, 'vexo' FROM n",
            kRows));
    enum class Close { InHandler, Posted, WhileHeld };
    for (const Close close : { Close::InHandler, Close::Posted, Close::WhileHeld }) {
        TestOwner owner(false);
        CItemDbWorker worker;
        owner.Attach(&worker);
        owner.m_onReply = [&] {
            if (owner.m_replies.size() != kAt)
                return;
            if (close == Close::InHandler)
                owner.DestroyWindow();
            else if (close == Close::Posted)
                owner.PostMessage(WM_CLOSE);
            else
                owner.m_acknowledge = false;
        };
        owner.Request("Item_Read", "SELECT [item_num] FROM [Item] ORDER BY [ID]", m_items);
        ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_replies.size() >= kAt; }, kDeadlineMs));
        owner.DestroyWindow();
        owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
        worker.SetEvent();
        ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs));
        ASSERT_EQ(owner.m_replies.size(), kAt) << static_cast<int>(close);
        for (std::size_t i = 1; i < kAt; ++i)
            EXPECT_EQ(owner.m_replies[i].text, Row({ std::to_string(i).c_str() })) << i;

        TestOwner live; // the worker is free again
        live.Attach(&worker);
        live.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
        ASSERT_TRUE(live.WaitForDone());
        EXPECT_EQ(live.m_replies.size(), static_cast<std::size_t>(kRows) + 2);
    }
}

TEST_F(WorkerTest, AManagerWorkerWhoseOwnerIsGoneDropsAnEmptyResult)
{
    TestOwner gone(false);
    CManagerDbWorker worker;
    gone.Attach(&worker);
    gone.DestroyWindow();
    gone.Request("Manager_Login", "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'nobody'", m_managers);
    ASSERT_TRUE(AfxPumpUntil([&] { return !worker.IsRequestInFlight(); }, kDeadlineMs));
    EXPECT_EQ(Edits(gone.m_mailbox), "||");
    EXPECT_TRUE(gone.m_replies.empty());

    TestOwner live;
    live.Attach(&worker);
    live.Request("Manager_Read", "SELECT [mg_id] FROM [Manager] WHERE [mg_id] = 'lee'", m_managers);
    ASSERT_TRUE(live.WaitForDone());
    EXPECT_EQ(Messages(live), (std::vector<UINT> { WM_MGRQUERY_ROW, WM_MGRQUERY_DONE }));
}

} // namespace

// Every request has its own name, and the name parses back to it; other
// texts name none.
TEST(DbRequestTest, EachNameParsesBackToItsRequest)
{
    std::set<std::string> names;
    for (int n = 0; n <= static_cast<int>(DbRequest::ItemReceived); ++n) {
        const auto request = static_cast<DbRequest>(n);
        EXPECT_EQ(RequestOfName(RequestName(request)), request) << RequestName(request);
        names.insert(RequestName(request));
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(DbRequest::ItemReceived) + 1);
    EXPECT_STREQ(RequestName(DbRequest::ScaleInformationInsertRead), "Scale_Information_Insert_read");
    EXPECT_STREQ(RequestName(DbRequest::AdvDelete), "AdV_Insert_Delete");
    for (const char* other : { "", "Report", "item_read", "Item_Read " })
        EXPECT_EQ(RequestOfName(other), std::nullopt) << other;
    // The sales totals' reads, and the insert-reads of the four item tables.
    std::set<DbRequest> results;
    std::set<DbRequest> tableReads;
    for (int n = 0; n <= static_cast<int>(DbRequest::ItemReceived); ++n) {
        if (IsResultsRequest(static_cast<DbRequest>(n)))
            results.insert(static_cast<DbRequest>(n));
        if (IsTableInsertRead(static_cast<DbRequest>(n)))
            tableReads.insert(static_cast<DbRequest>(n));
    }
    EXPECT_EQ(results,
        (std::set<DbRequest> { DbRequest::ResultAllRead, DbRequest::ResultItemAllRead,
            DbRequest::ResultItemDayRead, DbRequest::ResultDayRead }));
    EXPECT_EQ(tableReads,
        (std::set<DbRequest> { DbRequest::ItemInsertRead, DbRequest::AddInsertRead, DbRequest::AdvInsertRead,
            DbRequest::LandAddInsertRead }));
}

// The typed calls write what the protocol reads: the request's name and its
// text, then the wake-up (Send) or the run (Run); the replies carry the name.
TEST_F(WorkerTest, TypedCallsSendAndRunUnderTheRequestsName)
{
    TestOwner owner;
    owner.m_typedAnswer = true;
    CItemDbWorker worker;
    owner.Attach(&worker);
    worker.OpenDatabase(m_items.c_str());
    worker.Send(DbRequest::AddRead, "SELECT [item_num] FROM [Item] ORDER BY [ID]");
    ASSERT_TRUE(owner.WaitForDone());
    ASSERT_EQ(owner.m_replies.size(), 4u);
    for (const auto& r : owner.m_replies)
        EXPECT_EQ(r.name, "Add_Read");
    EXPECT_EQ(owner.m_replies[2].text, Row({ "2" }));

    // The run closes the database itself (this owner leaves it open).
    TestOwner direct;
    direct.Attach(&worker);
    direct.m_directExecute = true;
    direct.m_closeOnDone = false;
    worker.OpenDatabase(m_items.c_str());
    EXPECT_EQ(worker.Run(DbRequest::ItemDelete, "DELETE FROM [Item] WHERE [item_num] = '9'"), kDbDoneNoRow);
    ASSERT_EQ(Messages(direct), std::vector<UINT> { WM_DBQUERY_DONE });
    EXPECT_EQ(direct.m_replies[0].name, "Item_Insert_Delete");
    EXPECT_EQ(direct.m_replies[0].text, "");
    EXPECT_FALSE(worker.IsDatabaseOpen());
}
