#pragma once
// Message boxes. Callable from any thread: off the UI thread the box runs on
// the UI thread and the caller waits for the answer; such a box is answered
// even while the UI thread waits on a kernel object (where Windows would have
// shown it on the calling thread). While a box is open the UI thread keeps
// serving sends, posts and timers.
//
// Test seam: with MessageBoxScript enabled no box is shown; each call is
// recorded and answered from the script.

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/wnd/core/messages.h"

// Shows text with the application's name as caption; type is MB_ buttons |
// icon | default button. Returns the ID of the button chosen.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The string table entry promptId as text (empty when missing).
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
// Box owned by owner (may be nullptr); caption nullptr: the application name.
int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);

// While an object of this class lives, a box on its thread whose text,
// caption and type equal those of a box shown since the object was made is
// not shown again: the call returns the answer that box got. For loops that
// may meet one cause on many rows (a column fill, an import). Objects nest;
// the innermost decides.
class CMessageBoxRepeatFilter {
public:
    CMessageBoxRepeatFilter();
    ~CMessageBoxRepeatFilter();
    CMessageBoxRepeatFilter(const CMessageBoxRepeatFilter&) = delete;
    CMessageBoxRepeatFilter& operator=(const CMessageBoxRepeatFilter&) = delete;

private:
    friend int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);
    CMessageBoxRepeatFilter* m_pOuter;
    std::map<std::tuple<std::string, std::string, UINT>, int> m_answers;
};

struct MessageBoxRecord {
    CString text;
    CString caption;
    UINT type = 0;
    DWORD threadId = 0; // GetCurrentThreadId of the caller
    int answer = 0;
};

class MessageBoxScript {
public:
    // While enabled, boxes are answered from the script instead of shown.
    static void Enable();
    static void Disable();
    static BOOL IsEnabled();
    // Forgets queued answers and records.
    static void Reset();

    // Queues the answer of the next box. Without a queued answer a box gets
    // its default button (the first, or MB_DEFBUTTON2/3).
    static void PushAnswer(int answer);
    // Queues an answer given only once closeWhen() holds: the box stays open
    // meanwhile, running a nested loop on the UI thread. After timeoutMs the
    // box closes with the answer all the same and the record is marked.
    static void PushAnswerWhen(int answer, std::function<bool()> closeWhen, DWORD timeoutMs = 5000);

    // Boxes shown so far, in order (any thread).
    static std::vector<MessageBoxRecord> Records();
    static size_t Count();
    // Boxes whose closeWhen condition never held before its time limit.
    static size_t TimedOutCount();
};
