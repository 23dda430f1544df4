#pragma once
// The text editor that opens over a grid cell. It reports the end of the edit
// to the grid with one GRIDNOTIFY_ENDEDIT notification (the text and the key
// that ended it) and closes itself; the object deletes itself with its window.

#include "grid/inplace_editor.h"

class CGridInPlaceEdit : public CEdit, public CGridInPlaceEditor {
public:
    // Creates the edit window over rect as a child of pParent (the grid) and
    // takes the focus; nFirstChar is the key or character that started the
    // edit (VK_LBUTTON for a mouse click). GetSafeHwnd() is null when the
    // window could not be made.
    CGridInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
        CString sInitText, UINT nFirstChar);
    ~CGridInPlaceEdit() override;

    const MessageMap* GetMessageMap() const override;

protected:
    void PostNcDestroy() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnImeChar(WPARAM wParam, LPARAM lParam);
    // Pastes the clipboard's text up to its first line end.
    LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
    void OnKillFocus(CWnd* pNewWnd);
    UINT OnGetDlgCode();

    CWnd& EditorWnd() override { return *this; }

private:
    void Widen();
    // Replaces the selection by the character (Backspace deletes).
    void TypeCharacter(UINT nChar);

    CString m_sInitText;
    CRect m_Rect;
};
