#include "grid/inplace_datetime.h"

#include "grid/grid_ctrl.h"

CGridInPlaceDateTime::CGridInPlaceDateTime(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow,
    int nColumn, COLORREF crFore, COLORREF crBack, CTime* pcTime, UINT nFirstChar)
    : CGridInPlaceEditor(nRow, nColumn, FALSE)
    , m_pcTime(pcTime)
    , m_crForeClr(crFore)
    , m_crBackClr(crBack)
{
    if (!CDateTimeCtrl::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | dwStyle, rect, pParent, nID))
        return;
    if (m_pcTime)
        SetTime(*m_pcTime);
    if (pParent)
        SendMessage(WM_SETFONT, static_cast<WPARAM>(pParent->SendMessage(WM_GETFONT, 0, 0)), 0);
    SetFocus();
    const BOOL dropped = nFirstChar == VK_LBUTTON || nFirstChar == VK_RETURN
        || (nFirstChar >= VK_PRIOR && nFirstChar <= VK_DOWN);
    if (!dropped)
        SendMessage(WM_CHAR, nFirstChar, 0);
}

const MessageMap* CGridInPlaceDateTime::GetMessageMap() const
{
    static const MessageMap kMap(CDateTimeCtrl::GetMessageMap(),
        {
            OnWm<WM_KEYDOWN, &CGridInPlaceDateTime::OnKeyDown>(),
            OnWm<WM_KEYUP, &CGridInPlaceDateTime::OnKeyUp>(),
            OnWm<WM_KILLFOCUS, &CGridInPlaceDateTime::OnKillFocus>(),
            OnWm<WM_GETDLGCODE, &CGridInPlaceDateTime::OnGetDlgCode>(),
        });
    return &kMap;
}

void CGridInPlaceDateTime::PostNcDestroy()
{
    delete this;
}

void CGridInPlaceDateTime::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (EndsEditOnKeyDown(nChar)) {
        EndByKey(nChar);
        return;
    }
    Default();
}

void CGridInPlaceDateTime::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Escape ends the edit too but keeps the picked time.
    if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE) {
        EndByKey(nChar);
        return;
    }
    Default();
}

void CGridInPlaceDateTime::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (pNewWnd != this)
        EndEdit();
}

UINT CGridInPlaceDateTime::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CGridInPlaceDateTime::BeforeEndReport()
{
    if (m_pcTime)
        GetTime(*m_pcTime);
}
