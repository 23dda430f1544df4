#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "db/mailbox_dlg.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/sync.h"

namespace {

TEST(MailboxTest, TakeTextLosesNoTextWrittenMeanwhile)
{
    // A writer puts the next text in as soon as the edit is empty; a reader on
    // another thread takes whatever is there. Taking and emptying are one step,
    // so no text written between them is wiped unread.
    CMailboxDlg mailbox;
    ASSERT_TRUE(mailbox.Create());
    constexpr int kTexts = 5000;
    std::atomic<bool> written { false };
    std::vector<int> taken;
    std::thread reader([&] {
        for (;;) {
            const CString text = mailbox.TakeText(IDC_MAILBOX_NAME);
            if (!text.IsEmpty())
                taken.push_back(std::atoi(text));
            else if (written.load())
                break;
        }
    });
    for (int i = 1; i <= kTexts; ++i) {
        while (!mailbox.Text(IDC_MAILBOX_NAME).IsEmpty())
            std::this_thread::yield();
        mailbox.SetText(IDC_MAILBOX_NAME, std::to_string(i).c_str());
    }
    written.store(true);
    reader.join();
    const CString last = mailbox.TakeText(IDC_MAILBOX_NAME);
    if (!last.IsEmpty())
        taken.push_back(std::atoi(last));
    AfxPumpMessage(); // the text updates the reader posted

    ASSERT_EQ(taken.size(), static_cast<std::size_t>(kTexts));
    for (int i = 0; i < kTexts; ++i)
        ASSERT_EQ(taken[static_cast<std::size_t>(i)], i + 1);
    EXPECT_EQ(mailbox.Text(IDC_MAILBOX_NAME), "");
}

TEST(MailboxTest, RunOnWindowThreadRunsTasksOnTheUiThreadInOrder)
{
    CMailboxDlg mailbox;
    std::vector<int> order;
    // No window yet: nothing runs.
    EXPECT_FALSE(mailbox.RunOnWindowThread([&] { order.push_back(0); }));
    ASSERT_TRUE(mailbox.Create());
    EXPECT_TRUE(mailbox.RunOnWindowThread([&] { order.push_back(1); }));
    std::atomic<int> ran { 0 };
    std::atomic<bool> onUiThread { true };
    std::thread worker([&] {
        for (int i = 2; i <= 4; ++i) {
            const BOOL done = mailbox.RunOnWindowThread([&, i] {
                order.push_back(i);
                onUiThread = onUiThread.load() && GetCurrentThreadId() == AfxGetUiThreadId();
            });
            if (done)
                ++ran;
        }
    });
    ASSERT_TRUE(AfxPumpUntil([&] { return ran.load() == 3; }, 10000));
    worker.join();
    EXPECT_EQ(order, (std::vector<int> { 1, 2, 3, 4 }));
    EXPECT_TRUE(onUiThread.load());

    // Once the window is gone, no task runs.
    std::atomic<int> result { -1 };
    mailbox.DestroyWindow();
    std::thread late([&] { result = mailbox.RunOnWindowThread([&] { order.push_back(5); }); });
    late.join();
    EXPECT_EQ(result.load(), FALSE);
    EXPECT_EQ(order.size(), 4u);
}

} // namespace
