#pragma once
// Data transfer of text: the clipboard, drag sources and drop targets.
// Text travels as the program's text (UTF-8 inside, plain text outside); CF_TEXT
// names it. UI thread.

#include <functional>

#include "platform/base/cstring.h"
#include "platform/wnd/core/wnd.h"

using CLIPFORMAT = WORD;
inline constexpr CLIPFORMAT CF_TEXT = 1;
inline constexpr CLIPFORMAT CF_UNICODETEXT = 13;

using DROPEFFECT = DWORD;
inline constexpr DROPEFFECT DROPEFFECT_NONE = 0;
inline constexpr DROPEFFECT DROPEFFECT_COPY = 1;
inline constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
inline constexpr DROPEFFECT DROPEFFECT_LINK = 4;

// TRUE when the clipboard holds text (CF_TEXT or CF_UNICODETEXT).
BOOL IsClipboardFormatAvailable(UINT format);
// Removes everything from the clipboard. FALSE when there is no clipboard.
BOOL EmptyClipboard();

// Data offered to the clipboard or to a drag.
class COleDataSource {
public:
    COleDataSource() = default;
    virtual ~COleDataSource() = default;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers text as CF_TEXT.
    void CacheText(const CString& text);
    BOOL HasText() const { return m_bHasText; }
    const CString& GetText() const { return m_text; }

    // Puts the data on the clipboard. The clipboard owns the object from then
    // on: it is deleted here, and the text stays on the clipboard.
    void SetClipboard();

    // Runs the drag loop and returns the effect the drop target chose
    // (DROPEFFECT_NONE when the drag was cancelled).
    DROPEFFECT DoDragDrop(DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE);

private:
    CString m_text;
    BOOL m_bHasText = FALSE;
};

// Data received from the clipboard or a drop.
class COleDataObject {
public:
    // Takes the clipboard's current data; FALSE when it holds nothing.
    BOOL AttachClipboard();
    // Takes text directly (a drop, or a test).
    void AttachText(const CString& text);
    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // The text, whole (bounded by its size, not by a NUL).
    CString GetText() const { return m_text; }

private:
    CString m_text;
    BOOL m_bHasText = FALSE;
};

// A window that accepts drops: the drag events over it reach these virtuals.
class COleDropTarget {
public:
    COleDropTarget() = default;
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Makes wnd a drop target (one target per window). FALSE when wnd has no
    // window or this object is already registered.
    virtual BOOL Register(CWnd* wnd);
    virtual void Revoke();
    BOOL IsRegistered() const { return m_hWnd != nullptr; }

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

private:
    HWND m_hWnd = nullptr;
    void* m_filter = nullptr;
};

// Delivers a drop of text on window hwnd at a client point with key state
// (MK_CONTROL ...): enter, over, then drop when the target accepts, else
// leave. Returns the effect the target chose (DROPEFFECT_NONE when hwnd is no
// drop target). The drag loop uses it for drops inside the program.
DROPEFFECT DeliverTextDrop(HWND hwnd, const CString& text, DWORD keyState, POINT clientPoint);

// Replaces the drag loop (tests): it receives the source and the allowed
// effects and returns the effect. An empty function restores the real loop.
using DragLoopHook = std::function<DROPEFFECT(COleDataSource& source, DROPEFFECT allowed)>;
void SetDragLoopHook(DragLoopHook hook);
