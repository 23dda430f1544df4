#include "platform/print/print_script.h"

#include <deque>
#include <mutex>
#include <utility>

#include "platform/gdi/gdi_object.h"

namespace {

struct ScriptState {
    std::mutex mutex;
    bool enabled = false;
    std::deque<PrintDialogAnswer> answers;
    std::vector<PrintDialogRecord> dialogs;
    std::vector<PrintJobRecord> jobs;
    double previewZoom = 0;
    std::vector<HBITMAP> previewPages;
};

ScriptState& State()
{
    static auto* state = new ScriptState;
    return *state;
}

PrintJobRecord* JobAt(ScriptState& s, int job)
{
    return job >= 0 && job < static_cast<int>(s.jobs.size()) ? &s.jobs[static_cast<size_t>(job)] : nullptr;
}

} // namespace

void PrintScript::Enable()
{
    std::lock_guard lock(State().mutex);
    State().enabled = true;
}

void PrintScript::Disable()
{
    std::lock_guard lock(State().mutex);
    State().enabled = false;
}

BOOL PrintScript::IsEnabled()
{
    std::lock_guard lock(State().mutex);
    return State().enabled ? TRUE : FALSE;
}

void PrintScript::Reset()
{
    std::lock_guard lock(State().mutex);
    State().answers.clear();
    State().dialogs.clear();
    State().jobs.clear();
    State().previewZoom = 0;
    for (HBITMAP page : State().previewPages)
        ::DeleteObject(page);
    State().previewPages.clear();
}

void PrintScript::Push(const PrintDialogAnswer& answer)
{
    std::lock_guard lock(State().mutex);
    State().answers.push_back(answer);
}

void PrintScript::PushCancel()
{
    PrintDialogAnswer answer;
    answer.ok = FALSE;
    Push(answer);
}

std::vector<PrintDialogRecord> PrintScript::DialogRecords()
{
    std::lock_guard lock(State().mutex);
    return State().dialogs;
}

std::vector<PrintJobRecord> PrintScript::Jobs()
{
    std::lock_guard lock(State().mutex);
    return State().jobs;
}

void PrintScript::SetPreviewZoom(double zoom)
{
    std::lock_guard lock(State().mutex);
    State().previewZoom = zoom;
}

std::vector<HBITMAP> PrintScript::TakePreviewPages()
{
    std::lock_guard lock(State().mutex);
    return std::exchange(State().previewPages, {});
}

namespace print_seam {

PrintDialogAnswer NextAnswer(const PrintDialogRecord& record)
{
    std::lock_guard lock(State().mutex);
    ScriptState& s = State();
    s.dialogs.push_back(record);
    if (s.answers.empty()) {
        PrintDialogAnswer cancel;
        cancel.ok = FALSE;
        return cancel;
    }
    PrintDialogAnswer answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

int BeginJob(const PrintJobRecord& job)
{
    std::lock_guard lock(State().mutex);
    ScriptState& s = State();
    if (!s.enabled)
        return -1;
    s.jobs.push_back(job);
    return static_cast<int>(s.jobs.size()) - 1;
}

void AddPage(int job)
{
    std::lock_guard lock(State().mutex);
    if (PrintJobRecord* record = JobAt(State(), job))
        record->pages.emplace_back();
}

void AddText(int job, const CString& text, const CRect& rect)
{
    std::lock_guard lock(State().mutex);
    PrintJobRecord* record = JobAt(State(), job);
    if (record && !record->pages.empty())
        record->pages.back().texts.push_back({ text, rect });
}

void EndJob(int job, BOOL aborted)
{
    std::lock_guard lock(State().mutex);
    if (PrintJobRecord* record = JobAt(State(), job)) {
        record->ended = !aborted;
        record->aborted = aborted;
    }
}

double PreviewZoom()
{
    std::lock_guard lock(State().mutex);
    return State().enabled ? State().previewZoom : 0;
}

void AddPreviewPage(HBITMAP page)
{
    std::lock_guard lock(State().mutex);
    State().previewPages.push_back(page);
}

} // namespace print_seam
