#pragma once
// The pop-up that shows the whole text of a cell that does not fit its column
// while the mouse rests over it.

#include "grid/grid_defs.h"

class CGridTitleTip : public CWnd {
public:
    CGridTitleTip();
    ~CGridTitleTip() override;

    // Creates the pop-up window for pParentWnd (the grid); TRUE when it exists.
    virtual BOOL Create(CWnd* pParentWnd);
    BOOL DestroyWindow() override;

    // Shows text over rectTitle (grid client coordinates) when it does not fit
    // there; the tip stays while the mouse is inside lpHoverRect.
    void Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = nullptr,
        const LOGFONT* lpLogFont = nullptr, COLORREF crTextClr = CLR_DEFAULT,
        COLORREF crBackClr = CLR_DEFAULT);
    void Hide();
    BOOL IsShown() const { return m_bShown; }
    const CString& GetTipText() const { return m_strText; }

    const MessageMap* GetMessageMap() const override;

protected:
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    CWnd* m_pParentWnd = nullptr;
    CRect m_rectTitle;
    CRect m_rectHover;
    BOOL m_bCreated = FALSE;
    BOOL m_bShown = FALSE;
    CString m_strText;
    COLORREF m_crText = CLR_DEFAULT;
    COLORREF m_crBack = CLR_DEFAULT;
    LOGFONT m_font {};
    BOOL m_bHasFont = FALSE;
    DWORD m_dwLastLButtonDown = static_cast<DWORD>(-1);
};
