#pragma once
// The drop-down list that opens over a combo cell. Ends like the text editor:
// one GRIDNOTIFY_ENDEDIT to the grid with the chosen text and the ending key,
// then it closes itself; the object deletes itself with its window. The combo
// box's selection field is its own window, so the list takes the typing
// (WM_CHAR and WM_IME_CHAR code points) itself.

#include <vector>

#include "grid/inplace_editor.h"
#include "platform/wnd/controls/combobox.h"

class CGridInPlaceList : public CComboBox, public CGridInPlaceEditor {
public:
    // Creates the list over rect (grown for four items) as a child of pParent
    // (the grid), fills it with Items, selects the item that starts with
    // sInitText (or shows sInitText when none does), drops it down and takes
    // the focus. GetSafeHwnd() is null when the window could not be made.
    CGridInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
        COLORREF crFore, COLORREF crBack, const std::vector<CString>& Items, CString sInitText,
        UINT nFirstChar);

    const MessageMap* GetMessageMap() const override;

protected:
    CWnd& EditorWnd() override { return *this; }
    void PostNcDestroy() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnImeChar(WPARAM wParam, LPARAM lParam);
    void TypeCharacter(UINT nChar);
    // Drop-down: the dropped width follows the options again.
    void OnDropdown();
    int OptionsWidth();
    void OnKillFocus(CWnd* pNewWnd);
    UINT OnGetDlgCode();

private:
    int m_nNumLines = 4;
    CString m_sInitText;
    COLORREF m_crForeClr;
    COLORREF m_crBackClr;
    BOOL m_bReplaceText = FALSE;
};
