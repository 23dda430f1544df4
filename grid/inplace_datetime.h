#pragma once
// The date-time picker that opens over a date-time cell. At the end of the
// edit it writes the picked time into the cell's time and reports the end to
// the grid; the object deletes itself with its window.

#include "grid/inplace_editor.h"
#include "platform/wnd/controls/datetime_ctrl.h"

class CGridInPlaceDateTime : public CDateTimeCtrl, public CGridInPlaceEditor {
public:
    // Creates the picker over rect starting from *pcTime (the cell's own time,
    // not owned) and takes the focus. GetSafeHwnd() is null when the window
    // could not be made.
    CGridInPlaceDateTime(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
        COLORREF crFore, COLORREF crBack, CTime* pcTime, UINT nFirstChar);

    const MessageMap* GetMessageMap() const override;

protected:
    CWnd& EditorWnd() override { return *this; }
    // Writes the picked time into the cell's time.
    void BeforeEndReport() override;
    void PostNcDestroy() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    UINT OnGetDlgCode();

private:
    CTime* m_pcTime;
    COLORREF m_crForeClr;
    COLORREF m_crBackClr;
};
