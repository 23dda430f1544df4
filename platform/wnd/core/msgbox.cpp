// Message boxes and their test script.

#include "platform/wnd/core/msgbox.h"

#include <deque>
#include <mutex>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/base/resource_script.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/sync.h"

namespace {

struct ScriptedAnswer {
    int answer = IDOK;
    std::function<bool()> closeWhen;
    DWORD timeoutMs = 0;
};

struct Script {
    std::mutex mutex;
    bool enabled = false;
    std::deque<ScriptedAnswer> answers;
    std::vector<MessageBoxRecord> records;
    size_t timedOut = 0;
};

Script& TheScript()
{
    static Script* script = new Script;
    return *script;
}

// Buttons of a type, in order; the first is the default unless MB_DEFBUTTONn.
std::vector<int> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE:
        return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL:
        return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO:
        return { IDYES, IDNO };
    case MB_RETRYCANCEL:
        return { IDRETRY, IDCANCEL };
    default:
        return { IDOK };
    }
}

int DefaultAnswer(UINT type)
{
    const std::vector<int> buttons = ButtonsOf(type);
    const size_t index = (type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0];
}

int ScriptedBox(const MessageBoxRecord& base)
{
    Script& script = TheScript();
    ScriptedAnswer answer;
    answer.answer = DefaultAnswer(base.type);
    {
        std::lock_guard lock(script.mutex);
        if (!script.answers.empty()) {
            answer = std::move(script.answers.front());
            script.answers.pop_front();
        }
    }
    bool timedOut = false;
    if (answer.closeWhen)
        timedOut = !AfxPumpUntil(answer.closeWhen, answer.timeoutMs);
    MessageBoxRecord record = base;
    record.answer = answer.answer;
    std::lock_guard lock(script.mutex);
    script.records.push_back(record);
    if (timedOut)
        ++script.timedOut;
    return answer.answer;
}

QString ToQt(const CString& text)
{
    return QString::fromUtf8(text.GetString(), text.GetLength());
}

int ShownBox(HWND owner, const MessageBoxRecord& record)
{
    QWidget* parent = owner ? wnd_internal::ExistingWidgetOf(owner) : nullptr;
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(ToQt(record.caption));
    box.setText(ToQt(record.text));
    switch (record.type & MB_ICONMASK) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    static const struct {
        int id;
        const char* label;
        QMessageBox::ButtonRole role;
    } kLabels[] = {
        { IDOK, "OK", QMessageBox::AcceptRole },
        { IDCANCEL, "Cancel", QMessageBox::RejectRole },
        { IDABORT, "Abort", QMessageBox::RejectRole },
        { IDRETRY, "Retry", QMessageBox::AcceptRole },
        { IDIGNORE, "Ignore", QMessageBox::AcceptRole },
        { IDYES, "Yes", QMessageBox::YesRole },
        { IDNO, "No", QMessageBox::NoRole },
    };
    const std::vector<int> ids = ButtonsOf(record.type);
    std::vector<std::pair<QPushButton*, int>> buttons;
    const int defaultId = DefaultAnswer(record.type);
    for (int id : ids) {
        for (const auto& label : kLabels) {
            if (label.id != id)
                continue;
            QPushButton* button = box.addButton(QString::fromLatin1(label.label), label.role);
            buttons.emplace_back(button, id);
            if (id == defaultId)
                box.setDefaultButton(button);
            if (id == IDCANCEL || (ids.size() == 1))
                box.setEscapeButton(button);
        }
    }
    box.exec();
    for (const auto& [button, id] : buttons)
        if (box.clickedButton() == button)
            return id;
    return ids.size() == 1 ? ids.front() : IDCANCEL;
}

int RunBox(HWND owner, const MessageBoxRecord& record)
{
    if (MessageBoxScript::IsEnabled())
        return ScriptedBox(record);
    if (!QApplication::instance())
        return DefaultAnswer(record.type);
    return ShownBox(owner, record);
}

} // namespace

namespace {
thread_local CMessageBoxRepeatFilter* t_repeatFilter = nullptr;
} // namespace

CMessageBoxRepeatFilter::CMessageBoxRepeatFilter()
    : m_pOuter(t_repeatFilter)
{
    t_repeatFilter = this;
}

CMessageBoxRepeatFilter::~CMessageBoxRepeatFilter()
{
    t_repeatFilter = m_pOuter;
}

int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type)
{
    MessageBoxRecord record;
    record.text = text ? text : "";
    record.caption = caption ? caption : AfxGetAppName();
    record.type = type;
    record.threadId = GetCurrentThreadId();
    if (CMessageBoxRepeatFilter* filter = t_repeatFilter) {
        const auto key = std::make_tuple(record.text.Str(), record.caption.Str(), type);
        if (const auto it = filter->m_answers.find(key); it != filter->m_answers.end())
            return it->second;
        t_repeatFilter = nullptr; // the box itself shows what it is asked to
        const int answer = MessageBox(owner, text, caption, type);
        t_repeatFilter = filter;
        filter->m_answers.emplace(key, answer);
        return answer;
    }
    if (AfxIsUiThread())
        return RunBox(owner, record);
    int answer = DefaultAnswer(type);
    // Off the UI thread: the box runs there and this thread waits.
    if (!dispatch_internal::RunMessageBoxOnUiThread([&] { answer = RunBox(owner, record); })
        && MessageBoxScript::IsEnabled())
        answer = ScriptedBox(record);
    return answer;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT)
{
    return MessageBox(nullptr, text, nullptr, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT)
{
    CString text;
    AfxLoadString(promptId, text);
    return MessageBox(nullptr, text, nullptr, type);
}

void MessageBoxScript::Enable()
{
    std::lock_guard lock(TheScript().mutex);
    TheScript().enabled = true;
}

void MessageBoxScript::Disable()
{
    std::lock_guard lock(TheScript().mutex);
    TheScript().enabled = false;
}

BOOL MessageBoxScript::IsEnabled()
{
    std::lock_guard lock(TheScript().mutex);
    return TheScript().enabled ? TRUE : FALSE;
}

void MessageBoxScript::Reset()
{
    Script& script = TheScript();
    std::lock_guard lock(script.mutex);
    script.answers.clear();
    script.records.clear();
    script.timedOut = 0;
}

void MessageBoxScript::PushAnswer(int answer)
{
    ScriptedAnswer entry;
    entry.answer = answer;
    std::lock_guard lock(TheScript().mutex);
    TheScript().answers.push_back(std::move(entry));
}

void MessageBoxScript::PushAnswerWhen(int answer, std::function<bool()> closeWhen, DWORD timeoutMs)
{
    ScriptedAnswer entry;
    entry.answer = answer;
    entry.closeWhen = std::move(closeWhen);
    entry.timeoutMs = timeoutMs;
    std::lock_guard lock(TheScript().mutex);
    TheScript().answers.push_back(std::move(entry));
}

std::vector<MessageBoxRecord> MessageBoxScript::Records()
{
    std::lock_guard lock(TheScript().mutex);
    return TheScript().records;
}

size_t MessageBoxScript::Count()
{
    std::lock_guard lock(TheScript().mutex);
    return TheScript().records.size();
}

size_t MessageBoxScript::TimedOutCount()
{
    std::lock_guard lock(TheScript().mutex);
    return TheScript().timedOut;
}
