// Window messages: creation and destruction order, painting, message maps,
// posted messages and the exception boundary.

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/base/exception.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/thread.h"
#include "platform/wnd/core/wnd.h"
#include "tests/support/pixels.h"
#include "tests/support/ui_pump.h"

namespace {

// Records every message it receives, in order.
class RecorderWnd : public CWnd {
public:
    std::vector<UINT> messages;
    std::vector<CRect> paintRects;
    int paints = 0;
    int createResult = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_CREATE && createResult != 0)
            return createResult;
        if (message == WM_PAINT) {
            ++paints;
            CPaintDC dc(this);
            paintRects.push_back(dc.m_ps.rcPaint);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    // Messages of interest only, in their order.
    std::vector<UINT> Filtered(std::initializer_list<UINT> keep) const
    {
        std::vector<UINT> out;
        for (UINT m : messages)
            for (UINT k : keep)
                if (m == k)
                    out.push_back(m);
        return out;
    }
};

// Logs destruction messages of several windows into one list.
class DestroyLogWnd : public CWnd {
public:
    DestroyLogWnd(std::vector<std::pair<int, UINT>>* log, int tag)
        : m_log(log)
        , m_tag(tag)
    { }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY || message == WM_NCDESTROY)
            m_log->emplace_back(m_tag, message);
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<std::pair<int, UINT>>* m_log;
    int m_tag;
};

BOOL CreateTopLevel(CWnd& wnd, DWORD style = WS_POPUP | WS_VISIBLE)
{
    return wnd.CreateEx(0, nullptr, "test", style, 10, 10, 200, 100, nullptr, 0);
}

TEST(WndLifecycle, CreateSizePaintDestroyInOrder)
{
    RecorderWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    ASSERT_TRUE(PumpUntil([&] { return wnd.paints > 0; }));
    ASSERT_TRUE(wnd.DestroyWindow());

    const std::vector<UINT> expected
        = { WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_PAINT, WM_DESTROY, WM_NCDESTROY };
    EXPECT_EQ(wnd.Filtered({ WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_PAINT, WM_DESTROY,
                  WM_NCDESTROY }),
        expected);
    EXPECT_EQ(wnd.m_hWnd.load(), nullptr);
}

TEST(WndLifecycle, SizeMessageCarriesClientSize)
{
    struct SizeWnd : RecorderWnd {
        int cx = -1, cy = -1;
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap kMap(CWnd::GetMessageMap(), { OnWm<WM_SIZE, &SizeWnd::OnSize>() });
            return &kMap;
        }
        void OnSize(UINT, int w, int h) { cx = w, cy = h; }
    } wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    EXPECT_EQ(wnd.cx, 200);
    EXPECT_EQ(wnd.cy, 100);
    wnd.MoveWindow(0, 0, 320, 240);
    EXPECT_EQ(wnd.cx, 320);
    EXPECT_EQ(wnd.cy, 240);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 320, 240));
    wnd.DestroyWindow();
}

TEST(WndLifecycle, CreateReturningMinusOneFailsAndCleansUp)
{
    RecorderWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.Filtered({ WM_CREATE, WM_DESTROY, WM_NCDESTROY }),
        (std::vector<UINT> { WM_CREATE, WM_DESTROY, WM_NCDESTROY }));
}

TEST(WndLifecycle, ChildWindowsGetDestroyBeforeAndNcDestroyAfterParent)
{
    std::vector<std::pair<int, UINT>> log;
    DestroyLogWnd parent(&log, 1);
    DestroyLogWnd child(&log, 2);
    DestroyLogWnd grandchild(&log, 3);
    ASSERT_TRUE(CreateTopLevel(parent, WS_POPUP));
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 100));
    ASSERT_TRUE(grandchild.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 10), &child, 101));
    const HWND childHwnd = child.GetSafeHwnd();
    parent.DestroyWindow();

    const std::vector<std::pair<int, UINT>> expected = { { 1, WM_DESTROY }, { 2, WM_DESTROY },
        { 3, WM_DESTROY }, { 3, WM_NCDESTROY }, { 2, WM_NCDESTROY }, { 1, WM_NCDESTROY } };
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(IsWindow(childHwnd));
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

TEST(WndLifecycle, SelfDeletingWindowIsFreedInPostNcDestroy)
{
    static int deleted = 0;
    struct OwnedWnd : CWnd {
        void PostNcDestroy() override
        {
            ++deleted;
            delete this;
        }
    };
    deleted = 0;
    auto* wnd = new OwnedWnd;
    ASSERT_TRUE(CreateTopLevel(*wnd, WS_POPUP));
    const HWND hwnd = wnd->GetSafeHwnd();
    SendMessage(hwnd, WM_CLOSE); // default handling destroys the window
    EXPECT_EQ(deleted, 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WndPaint, InvalidationsCoalesceIntoOnePaint)
{
    RecorderWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    ASSERT_TRUE(PumpUntil([&] { return wnd.paints > 0; }));
    AfxPumpMessage();
    wnd.paints = 0;
    wnd.paintRects.clear();

    CRect a(0, 0, 10, 10), b(50, 20, 60, 30), c(5, 5, 20, 15);
    wnd.InvalidateRect(&a);
    wnd.InvalidateRect(&b);
    wnd.InvalidateRect(&c);
    EXPECT_EQ(wnd.paints, 0); // deferred
    ASSERT_TRUE(PumpUntil([&] { return wnd.paints > 0; }));
    for (int i = 0; i < 5; ++i)
        AfxPumpMessage();
    EXPECT_EQ(wnd.paints, 1);
    // The one paint covers everything invalidated: the bounding box of the
    // three rectangles, and nothing is left to paint afterwards.
    ASSERT_EQ(wnd.paintRects.size(), 1u);
    EXPECT_EQ(wnd.paintRects[0], CRect(0, 0, 60, 30));
    CRect update;
    EXPECT_FALSE(wnd.GetUpdateRect(&update));
    wnd.DestroyWindow();
}

TEST(WndPaint, UpdateWindowPaintsPendingAreaAtOnce)
{
    RecorderWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    ASSERT_TRUE(PumpUntil([&] { return wnd.paints > 0; }));
    AfxPumpMessage();
    wnd.paints = 0;
    wnd.paintRects.clear();

    wnd.UpdateWindow(); // nothing pending: no paint
    EXPECT_EQ(wnd.paints, 0);
    CRect area(10, 10, 40, 30);
    wnd.InvalidateRect(&area);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, 1);
    ASSERT_EQ(wnd.paintRects.size(), 1u);
    EXPECT_EQ(wnd.paintRects[0], area);
    for (int i = 0; i < 5; ++i)
        AfxPumpMessage();
    EXPECT_EQ(wnd.paints, 1); // the deferred paint was used up
    wnd.DestroyWindow();
}

TEST(WndPaint, HiddenWindowGetsNoPaint)
{
    RecorderWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    wnd.Invalidate();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(wnd.paints, 0);
    wnd.DestroyWindow();
}

// ---- Message maps ------------------------------------------------------------------------------

class BaseMapWnd : public CWnd {
public:
    std::vector<std::string> calls;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&BaseMapWnd::OnCustom>(WM_USER + 1),
                OnMessage<&BaseMapWnd::OnBaseOnly>(WM_USER + 2),
                OnCommandMsg<&BaseMapWnd::OnBaseCommand>(500),
            });
        return &kMap;
    }

protected:
    LRESULT OnCustom(WPARAM, LPARAM)
    {
        calls.push_back("base custom");
        return 1;
    }
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("base only");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    void OnBaseCommand() { calls.push_back("base command"); }
};

class DerivedMapWnd : public BaseMapWnd {
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(BaseMapWnd::GetMessageMap(),
            {
                OnMessage<&DerivedMapWnd::OnCustomDerived>(WM_USER + 1),
                OnCommandRange<&DerivedMapWnd::OnRange>(600, 659),
                OnControl<&DerivedMapWnd::OnKillFocus600>(EN_KILLFOCUS, 600),
                OnNotifyMsg<&DerivedMapWnd::OnClick>(NM_CLICK, 900),
                OnTimerMsg<&DerivedMapWnd::OnTimer>(),
            });
        return &kMap;
    }

private:
    LRESULT OnCustomDerived(WPARAM, LPARAM)
    {
        calls.push_back("derived custom");
        return 2;
    }
    void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    void OnKillFocus600() { calls.push_back("kill focus 600"); }
    void OnClick(NMHDR* header, LRESULT* result)
    {
        calls.push_back("click " + std::to_string(header->idFrom));
        *result = 77;
    }
    void OnTimer(UINT_PTR id) { calls.push_back("timer " + std::to_string(id)); }
};

TEST(WndMessageMap, DerivedEntriesWinAndBaseEntriesAreInherited)
{
    DerivedMapWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 2);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 2, 3, 4), 7);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 3), 0); // unmapped: default procedure
    EXPECT_EQ(wnd.calls, (std::vector<std::string> { "derived custom", "base only" }));
    wnd.DestroyWindow();
}

TEST(WndMessageMap, CommandsNotificationsAndRangesRouteByIdAndCode)
{
    DerivedMapWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(500, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(633, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(660, BN_CLICKED)); // outside the range
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(600, EN_KILLFOCUS));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(601, EN_KILLFOCUS)); // no entry for 601
    NMHDR header;
    header.idFrom = 900;
    header.code = NM_CLICK;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 900, reinterpret_cast<LPARAM>(&header)), 77);
    header.code = NM_DBLCLK;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 900, reinterpret_cast<LPARAM>(&header)), 0);
    wnd.SendMessage(WM_TIMER, 42);
    EXPECT_EQ(wnd.calls,
        (std::vector<std::string> {
            "base command", "range 633", "kill focus 600", "click 900", "timer 42" }));
    EXPECT_TRUE(wnd.OnCmdMsg(500, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(wnd.OnCmdMsg(501, CN_COMMAND, nullptr, nullptr));
    wnd.DestroyWindow();
}

TEST(WndMessageMap, DefaultProcedureKeepsWindowText)
{
    CWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    wnd.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("캡션 text"));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "캡션 text");
    char buffer[5];
    EXPECT_EQ(wnd.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "캡"); // never cut inside a character
    EXPECT_EQ(wnd.SendMessage(WM_GETTEXTLENGTH), static_cast<LRESULT>(strlen("캡션 text")));
    wnd.DestroyWindow();
}

TEST(WndMessageMap, DialogItemsAreFoundByIdAndCarryText)
{
    CWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent, WS_POPUP));
    CWnd a, b;
    ASSERT_TRUE(a.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1003));
    ASSERT_TRUE(b.Create(nullptr, "", WS_VISIBLE, CRect(10, 0, 20, 10), &parent, 1002));
    EXPECT_EQ(parent.GetDlgItem(1002), &b);
    EXPECT_EQ(parent.GetDlgItem(1004), nullptr);
    parent.SetDlgItemInt(1003, static_cast<UINT>(-12));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(parent.GetDlgItemInt(1003, &ok)), -12);
    EXPECT_TRUE(ok);
    parent.SetDlgItemText(1002, "12x");
    EXPECT_EQ(parent.GetDlgItemInt(1002, &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(b.GetParent(), &parent);
    EXPECT_EQ(b.GetDlgCtrlID(), 1002);
    parent.DestroyWindow();
}

TEST(WndGeometry, ChildCoordinatesConvertThroughParents)
{
    CWnd parent, child;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 100, 50, 300, 200, nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(20, 30, 120, 80), &parent, 1));
    CRect window;
    child.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(120, 80, 220, 130));
    CPoint p(5, 6);
    child.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(125, 86));
    parent.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(25, 36));
    EXPECT_FALSE(child.IsWindowVisible()); // the parent is hidden
    parent.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(child.IsWindowVisible());
    EXPECT_TRUE(parent.IsChild(&child));
    parent.DestroyWindow();
}

TEST(WndState, EnableWindowReportsPreviousStateAndNotifies)
{
    RecorderWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    EXPECT_FALSE(wnd.EnableWindow(FALSE)); // was enabled
    EXPECT_FALSE(wnd.IsWindowEnabled());
    EXPECT_TRUE(wnd.EnableWindow(TRUE)); // was disabled
    EXPECT_TRUE(wnd.IsWindowEnabled());
    EXPECT_EQ(wnd.Filtered({ WM_ENABLE }).size(), 2u);
    wnd.DestroyWindow();
}

// ---- Posted messages ---------------------------------------------------------------------------

class SequenceWnd : public CWnd {
public:
    std::vector<LPARAM> received;
    std::vector<DWORD> threads;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(), { OnMessage<&SequenceWnd::OnItem>(WM_APP + 5) });
        return &kMap;
    }

private:
    LRESULT OnItem(WPARAM, LPARAM lParam)
    {
        received.push_back(lParam);
        threads.push_back(GetCurrentThreadId());
        return 0;
    }
};

TEST(WndPost, PostedMessagesArriveInOrderOnTheUiThread)
{
    SequenceWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    const HWND hwnd = wnd.GetSafeHwnd();
    std::thread worker([hwnd] {
        for (int i = 0; i < 200; ++i)
            PostMessage(hwnd, WM_APP + 5, 0, i);
    });
    worker.join();
    EXPECT_TRUE(wnd.received.empty()); // nothing before the UI thread pumps
    ASSERT_TRUE(PumpUntil([&] { return wnd.received.size() == 200; }));
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(wnd.received[static_cast<size_t>(i)], i);
    for (DWORD id : wnd.threads)
        EXPECT_EQ(id, AfxGetUiThreadId());
    wnd.DestroyWindow();
}

TEST(WndPost, MessagesForADestroyedWindowAreDropped)
{
    auto* wnd = new SequenceWnd;
    ASSERT_TRUE(CreateTopLevel(*wnd, WS_POPUP));
    const HWND hwnd = wnd->GetSafeHwnd();
    EXPECT_TRUE(PostMessage(hwnd, WM_APP + 5, 0, 1));
    wnd->DestroyWindow();
    delete wnd;
    EXPECT_FALSE(PostMessage(hwnd, WM_APP + 5, 0, 2));
    AfxPumpMessage(); // the queued message finds no window and is dropped
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WndPost, QuitMessageEndsTheMessageLoopWithItsCode)
{
    struct QuitWnd : CWnd {
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap kMap(
                CWnd::GetMessageMap(), { OnMessage<&QuitWnd::OnQuitSoon>(WM_APP + 9) });
            return &kMap;
        }
        LRESULT OnQuitSoon(WPARAM code, LPARAM)
        {
            PostQuitMessage(static_cast<int>(code));
            return 0;
        }
    } wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    wnd.PostMessage(WM_APP + 9, 3);
    EXPECT_EQ(AfxRunMessageLoop(), 3);
    wnd.DestroyWindow();
}

// ---- Exception boundary --------------------------------------------------------------------

class ThrowingWnd : public CWnd {
public:
    int handled = 0;
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CWnd::GetMessageMap(),
            {
                OnMessage<&ThrowingWnd::OnStd>(WM_USER + 10),
                OnMessage<&ThrowingWnd::OnFramework>(WM_USER + 11),
                OnMessage<&ThrowingWnd::OnUser>(WM_USER + 12),
                OnMessage<&ThrowingWnd::OnFine>(WM_USER + 13),
            });
        return &kMap;
    }

private:
    LRESULT OnStd(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    LRESULT OnFramework(WPARAM, LPARAM)
    {
        AfxThrowFileException(CFileException::fileNotFound, 2, "missing.mdb");
    }
    LRESULT OnUser(WPARAM, LPARAM) { AfxThrowUserException(); }
    LRESULT OnFine(WPARAM, LPARAM) { return ++handled; }
};

TEST(WndExceptions, EscapedExceptionsShowAStopBoxAndTheProgramGoesOn)
{
    ScopedMessageBoxScript script;
    ThrowingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));

    EXPECT_EQ(wnd.SendMessage(WM_USER + 10), 0);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 11), 0);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 12), 0); // silent: the user was told already
    EXPECT_EQ(wnd.SendMessage(WM_USER + 13), 1);

    const auto records = MessageBoxScript::Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].text, "handler failed");
    EXPECT_EQ(records[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_NE(records[1].text.Find("missing.mdb"), -1);
    EXPECT_EQ(records[1].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(IsWindow(wnd.GetSafeHwnd()));
    wnd.DestroyWindow();
}

TEST(WndExceptions, PostedAndCrossThreadMessagesAreGuardedToo)
{
    ScopedMessageBoxScript script;
    ThrowingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, WS_POPUP));
    const HWND hwnd = wnd.GetSafeHwnd();
    wnd.PostMessage(WM_USER + 10);
    std::atomic<LRESULT> sent { -1 };
    std::thread worker([&] { sent = SendMessage(hwnd, WM_USER + 10); });
    ASSERT_TRUE(PumpUntil([&] { return sent.load() != -1; }));
    worker.join();
    EXPECT_EQ(sent.load(), 0);
    ASSERT_TRUE(PumpUntil([] { return MessageBoxScript::Count() == 2; }));
    wnd.DestroyWindow();
}

TEST(WndExceptions, ExceptionInCreateFailsTheCreation)
{
    ScopedMessageBoxScript script;
    struct BadCreate : CWnd {
        const MessageMap* GetMessageMap() const override
        {
            static const MessageMap kMap(CWnd::GetMessageMap(), { OnWm<WM_CREATE, &BadCreate::OnCreate>() });
            return &kMap;
        }
        int OnCreate(LPCREATESTRUCT) { throw std::runtime_error("no resources"); }
    } wnd;
    EXPECT_FALSE(CreateTopLevel(wnd, WS_POPUP));
    EXPECT_EQ(MessageBoxScript::Count(), 1u);
}

} // namespace
