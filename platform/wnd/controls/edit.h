#pragma once
// CEdit: an edit control. Its text is the window's thread-safe text store, so
// worker threads may read and write it with Get/SetWindowText whether or not
// the control is on screen. Positions are byte offsets into the UTF-8 text.

#include "platform/wnd/core/wnd.h"

class CEdit : public CWnd {
public:
    CEdit() = default;

    // Creates an "EDIT" child window (ES_ styles in style). UI thread.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Selects [start, end); end -1 selects to the end, start -1 removes the
    // selection. UI thread.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    // Replaces the selection with text (inserts at the caret when nothing is
    // selected) and puts the caret after it.
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
    // Limits what the user may type (0: no limit, the default). Text set by
    // the program is never cut.
    void SetLimitText(UINT maxBytes);
    void LimitText(int maxBytes = 0) { SetLimitText(static_cast<UINT>(maxBytes)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    // TRUE when the user has typed since the text was last set by code.
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
    // The lines the control shows: a multi-line edit on screen breaks its
    // paragraphs where they reach its right edge, otherwise a line ends at
    // each CR LF. LineIndex: where line starts in the text, -1 past the last.
    // UI thread.
    int GetLineCount() const;
    int LineIndex(int line) const;
};
