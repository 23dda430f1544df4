#pragma once
// What every in-place editor shares: the edited cell, the key that ended the
// edit, and the one end report to the grid (GRIDNOTIFY_ENDEDIT with the text
// and that key) after which the editor closes itself.

#include "grid/grid_defs.h"

// A typed character (a code point, as WM_CHAR and WM_IME_CHAR carry it) as
// UTF-8.
CString Utf8OfCodePoint(UINT codePoint);

class CGridInPlaceEditor {
public:
    CGridInPlaceEditor(int nRow, int nColumn, BOOL bExitOnArrows)
        : m_nRow(nRow)
        , m_nColumn(nColumn)
        , m_bExitOnArrows(bExitOnArrows)
    { }
    virtual ~CGridInPlaceEditor() = default;

    // Sends the end report (once only: the report sets off focus changes that
    // would end the edit again) and posts WM_CLOSE to the editor.
    void EndEdit();
    // Closes the editor without reporting its text.
    void CancelEdit();

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    // The key that ended the edit; 0 when it ended by losing the focus.
    UINT GetLastKey() const { return m_nLastChar; }

protected:
    // The editor's window.
    virtual CWnd& EditorWnd() = 0;
    // Runs just before the report while the window exists.
    virtual void BeforeEndReport() { }

    // Page Up/Down and the arrow keys end the edit when the editor exits on
    // arrows or Ctrl is held.
    BOOL EndsEditOnKeyDown(UINT nChar) const;
    // Records the key, gives the focus back to the grid and ends the edit.
    void EndByKey(UINT nChar);

    int m_nRow;
    int m_nColumn;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows;

private:
    BOOL m_bEnded = FALSE;
};
