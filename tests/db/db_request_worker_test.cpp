#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "db/db_messages.h"
#include "db/item_db_worker.h"
#include "db/mailbox_dlg.h"
#include "db/manager_db_worker.h"
#include "platform/wnd/app.h"
#include "platform/wnd/sync.h"
#include "platform/wnd/wnd.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_pump.h"

namespace {

constexpr DWORD kDeadlineMs = 10000;

struct Reply {
    UINT message;
    std::string name;
    std::string text;
};

// An owner view: records every reply and answers "Report" (unless told to hold
// back), closing the worker's database on the done message, as the views do.
class TestOwner : public CWnd, public CInsertReadTarget {
public:
    // ownsMailbox: the mailbox dialog is owned by this window (as in the views).
    explicit TestOwner(bool ownsMailbox = true)
    {
        const RECT rect { 0, 0, 100, 100 };
        CreateEx(0, nullptr, "owner", WS_POPUP, rect, nullptr, 0);
        m_mailbox.Create(ownsMailbox ? this : nullptr);
    }
    ~TestOwner() override { DestroyWindow(); }

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

    void SplitItemRowText(CString row) override { m_parsed.push_back("item:" + row.Str()); }
    void SplitScaleInfoRowText(CString row) override { m_parsed.push_back("scale:" + row.Str()); }
    void SplitUserLabelRowText(CString row) override { m_parsed.push_back("label:" + row.Str()); }

    std::vector<Reply> m_replies;
    std::vector<std::string> m_parsed;
    bool m_done = false;
    bool m_acknowledge = true; // answer "Report" to streamed replies
    bool m_directExecute = false; // the request runs through ExecuteRequest
    std::function<void()> m_onReply; // runs inside each reply handler
    CMailboxDlg m_mailbox { this };
    CDbRequestWorker* m_worker = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_MGRQUERY_ROW && message <= WM_DBQUERY_DONE) {
            m_replies.push_back(
                { message, m_mailbox.Text(IDC_MAILBOX_NAME).Str(), m_mailbox.Text(IDC_MAILBOX_TEXT).Str() });
            if (m_onReply)
                m_onReply();
            const bool done = message == WM_MGRQUERY_DONE || message == WM_DBQUERY_DONE;
            if (done)
                m_worker->CloseDatabase();
            if (m_acknowledge && !(done && m_directExecute)) {
                m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
                m_worker->SetEvent();
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

TEST_F(WorkerTest, OnlyReportReleasesTheWorker)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.m_acknowledge = false;
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item] ORDER BY [ID]", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_replies.size() == 1; }, kDeadlineMs));
    // Another word is consumed and ignored; the edit is emptied.
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, "Nope");
    worker.SetEvent();
    ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_mailbox.Text(IDC_MAILBOX_NAME).IsEmpty(); }, kDeadlineMs));
    EXPECT_EQ(owner.m_replies.size(), 1u);
    EXPECT_EQ(worker.GetReportFlag(), 0);
    owner.m_acknowledge = true;
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    worker.SetEvent();
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(owner.m_replies.size(), 4u);
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

TEST_F(WorkerTest, AStrayReportWhileIdleIsNotARequest)
{
    TestOwner owner;
    CItemDbWorker worker;
    owner.Attach(&worker);
    owner.m_mailbox.SetText(IDC_MAILBOX_NAME, kMailboxReport);
    worker.SetEvent();
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item] WHERE [item_num] = '1'", m_items);
    ASSERT_TRUE(owner.WaitForDone());
    EXPECT_EQ(Messages(owner), (std::vector<UINT> { WM_DBQUERY_ROW, WM_DBQUERY_ROW, WM_DBQUERY_DONE }));
    EXPECT_TRUE(m_boxes.Records().empty());
}

TEST_F(WorkerTest, DestroyingAnIdleWorkerEndsItsThread)
{
    TestOwner owner;
    auto* worker = new CItemDbWorker;
    owner.Attach(worker);
    delete worker; // returns only after the thread has left its loop
    SUCCEED();
}

TEST_F(WorkerTest, DestroyingAWorkerThatWaitsForReportDoesNotDeadlock)
{
    TestOwner owner;
    auto* worker = new CItemDbWorker;
    owner.Attach(worker);
    owner.m_acknowledge = false;
    owner.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return owner.m_replies.size() == 1; }, kDeadlineMs));
    delete worker;
    EXPECT_EQ(owner.m_replies.size(), 1u);
}

TEST_F(WorkerTest, DestroyingABusyWorkerDoesNotDeadlock)
{
    // Deleted right after the request: wherever the worker is (reading, blocked in
    // its send to this thread, or waiting for "Report"), the stop gets through.
    for (int round = 0; round < 5; ++round) {
        TestOwner owner;
        auto* worker = new CItemDbWorker;
        owner.Attach(worker);
        owner.m_acknowledge = round % 2 == 0;
        owner.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
        delete worker;
        EXPECT_LE(owner.m_replies.size(), 4u);
    }
}

TEST_F(WorkerTest, AWorkerWhoseOwnerWindowIsGoneAbandonsTheRequest)
{
    TestOwner gone(false);
    CItemDbWorker worker;
    gone.Attach(&worker);
    gone.DestroyWindow();
    gone.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(AfxPumpUntil([&] { return gone.m_mailbox.Text(IDC_MAILBOX_TEXT).IsEmpty(); }, kDeadlineMs));
    EXPECT_TRUE(gone.m_replies.empty());

    // Not left waiting for an answer that cannot come: the next request is served.
    TestOwner live;
    live.Attach(&worker);
    live.Request("Item_Read", "SELECT [item_num] FROM [Item]", m_items);
    ASSERT_TRUE(live.WaitForDone());
    EXPECT_EQ(live.m_replies.size(), 4u);
}

} // namespace
