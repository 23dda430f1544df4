// CEdit over the window's text store; the widget (when there is one) follows.

#include "platform/wnd/controls/edit.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "platform/wnd/core/app.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

// UTF-16 index of a byte offset into text.
int CharIndex(const CString& text, int byteOffset)
{
    return static_cast<int>(
        QString::fromUtf8(text.GetString(), std::clamp(byteOffset, 0, text.GetLength())).size());
}

int ByteOffset(const QString& text, int charIndex)
{
    return static_cast<int>(text.left(charIndex).toUtf8().size());
}

// Where each line starts when the text is broken at its CR LFs only.
std::vector<int> ParagraphStarts(const CString& text)
{
    std::vector<int> starts { 0 };
    for (int at = text.Find("\r\n"); at >= 0; at = text.Find("\r\n", at + 2))
        starts.push_back(at + 2);
    return starts;
}

// Where each line the widget shows starts, as byte offsets into the window
// text (whose paragraphs end in CR LF where the widget's end in LF).
std::vector<int> ShownLineStarts(QPlainTextEdit& edit)
{
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(edit.document()->documentLayout());
    std::vector<int> starts;
    int paragraph = 0;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        if (layout)
            layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* lines = block.layout();
        const int count = lines ? lines->lineCount() : 0;
        if (count == 0)
            starts.push_back(paragraph);
        for (int i = 0; i < count; ++i)
            starts.push_back(paragraph + ByteOffset(text, lines->lineAt(i).textStart()));
        paragraph += static_cast<int>(text.toUtf8().size()) + 2;
    }
    return starts;
}

std::vector<int> LineStarts(HWND hwnd)
{
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state)
        return {};
    widget_bridge::FlushText(state);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(state->widget.data()))
        return ShownLineStarts(*edit);
    return ParagraphStarts(GetWindowTextString(hwnd));
}

} // namespace

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("EDIT", "", style | WS_CHILD, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL)
{
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state)
        return;
    const CString text = GetWindowTextString(GetSafeHwnd());
    const int length = text.GetLength();
    if (start < 0) {
        start = end = std::clamp(state->selEnd, 0, length);
    } else {
        if (end < 0 || end > length)
            end = length;
        start = std::min(start, length);
        if (start > end)
            std::swap(start, end);
    }
    state->selStart = start;
    state->selEnd = end;
    widget_bridge::FlushText(state);
    if (auto* line = qobject_cast<QLineEdit*>(state->widget.data())) {
        const int from = CharIndex(text, start);
        line->setSelection(from, CharIndex(text, end) - from);
    }
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state)
        return;
    widget_bridge::FlushText(state);
    if (auto* line = qobject_cast<QLineEdit*>(state->widget.data())) {
        const QString text = line->text();
        if (line->hasSelectedText()) {
            const int from = line->selectionStart();
            start = ByteOffset(text, from);
            end = ByteOffset(text, from + static_cast<int>(line->selectedText().size()));
        } else {
            start = end = ByteOffset(text, line->cursorPosition());
        }
        return;
    }
    const int length = GetWindowTextLength();
    start = std::clamp(state->selStart, 0, length);
    end = std::clamp(state->selEnd, start, length);
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL)
{
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state)
        return;
    int start = 0;
    int end = 0;
    GetSel(start, end);
    const CString current = GetWindowTextString(GetSafeHwnd());
    const CString insert(text ? text : "");
    SetWindowText(current.Left(start) + insert + current.Mid(end));
    SetSel(start + insert.GetLength(), start + insert.GetLength());
}

void CEdit::SetLimitText(UINT maxBytes)
{
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state)
        return;
    state->limitText = maxBytes;
    if (auto* line = qobject_cast<QLineEdit*>(state->widget.data()))
        line->setMaxLength(maxBytes == 0 ? std::numeric_limits<int>::max() : static_cast<int>(maxBytes));
}

UINT CEdit::GetLimitText() const
{
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state || state->limitText == 0)
        return 0x7FFFFFFE;
    return state->limitText;
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    if (readOnly)
        ModifyStyle(0, ES_READONLY);
    else
        ModifyStyle(ES_READONLY, 0);
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (auto* line = state ? qobject_cast<QLineEdit*>(state->widget.data()) : nullptr)
        line->setReadOnly(readOnly != FALSE);
    return state ? TRUE : FALSE;
}

BOOL CEdit::GetModify() const
{
    std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd());
    if (!state)
        return FALSE;
    std::lock_guard lock(state->textMutex);
    return state->modified ? TRUE : FALSE;
}

void CEdit::SetModify(BOOL modified)
{
    if (std::shared_ptr<WindowState> state = window_table::Find(GetSafeHwnd())) {
        std::lock_guard lock(state->textMutex);
        state->modified = modified != FALSE;
    }
}

int CEdit::GetLineCount() const
{
    return static_cast<int>(LineStarts(GetSafeHwnd()).size());
}

int CEdit::LineIndex(int line) const
{
    const std::vector<int> starts = LineStarts(GetSafeHwnd());
    return line >= 0 && line < static_cast<int>(starts.size()) ? starts[static_cast<std::size_t>(line)] : -1;
}
