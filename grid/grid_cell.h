#pragma once
// The ordinary text cell, and the grid's default cells from which every cell
// takes the attributes it leaves unset.

#include <functional>
#include <memory>

#include "grid/grid_cell_base.h"

class CGridCell : public CGridCellBase {
public:
    static constexpr const char* kClassName = "CGridCell";

    CGridCell();
    ~CGridCell() override;

    void SetText(LPCTSTR szText) override { m_strText = szText ? szText : ""; }
    void SetImage(int nImage) override { m_nImage = nImage; }
    void SetData(LPARAM lParam) override { m_lParam = lParam; }
    void SetFormat(DWORD nFormat) override { m_nFormat = nFormat; }
    void SetTextClr(COLORREF clr) override { m_crFgClr = clr; }
    void SetBackClr(COLORREF clr) override { m_crBkClr = clr; }
    void SetFont(const LOGFONT* plf) override;
    void SetMargin(UINT nMargin) override { m_nMargin = nMargin; }
    void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }
    void SetCoords(int nRow, int nCol) override { }

    LPCTSTR GetText() const override { return m_strText.GetString(); }
    int GetImage() const override { return m_nImage; }
    LPARAM GetData() const override { return m_lParam; }
    DWORD GetFormat() const override;
    COLORREF GetTextClr() const override { return m_crFgClr; }
    COLORREF GetBackClr() const override { return m_crBkClr; }
    LOGFONT* GetFont() const override;
    CFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    CWnd* GetEditWnd() const override { return m_pEditWnd; }
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override { return m_plfFont == nullptr; }
    BOOL IsEditing() const override { return m_bEditing; }

    // State 0, empty text, no image, no own format, colours, font or margin,
    // not editing, no grid. The user data stays.
    void Reset() override;

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

    CGridCell& operator=(const CGridCell& cell);
    using CGridCellBase::operator=;

protected:
    // While an edit is open: passes nChar on to its editor (bForwardChar) and
    // answers TRUE. Otherwise opens the editor that make creates (the cell
    // counts as editing meanwhile); FALSE, and no edit open, when its window
    // could not be made.
    BOOL OpenEditor(UINT nChar, BOOL bForwardChar, const std::function<CWnd*()>& make);

    CString m_strText;
    LPARAM m_lParam = 0;
    int m_nImage = -1;
    DWORD m_nFormat = static_cast<DWORD>(-1);
    COLORREF m_crFgClr = CLR_DEFAULT;
    COLORREF m_crBkClr = CLR_DEFAULT;
    std::unique_ptr<LOGFONT> m_plfFont;
    UINT m_nMargin = static_cast<UINT>(-1);
    BOOL m_bEditing = FALSE;
    CGridCtrl* m_pGrid = nullptr;
    CWnd* m_pEditWnd = nullptr;
};

class CGridDefaultCell : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridDefaultCell";

    // Format right-aligned single line with an ellipsis, the message-box font,
    // and the size measured from that font.
    CGridDefaultCell();
    ~CGridDefaultCell() override;

    // Always read-only; data, state and coordinates cannot be set.
    DWORD GetState() const override { return CGridCell::GetState() | GRIDSTATE_READONLY; }
    void SetData(LPARAM) override { }
    void SetState(DWORD) override { }
    void SetCoords(int, int) override { }

    // Takes the font and measures margin, width and height from it (null does
    // nothing).
    void SetFont(const LOGFONT* plf) override;
    LOGFONT* GetFont() const override { return m_plfFont.get(); }
    CFont* GetFontObject() const override;

    virtual DWORD GetStyle() const { return m_dwStyle; }
    virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    virtual int GetWidth() const { return m_Size.cx; }
    virtual int GetHeight() const { return m_Size.cy; }
    virtual void SetWidth(int nWidth) { m_Size.cx = nWidth; }
    virtual void SetHeight(int nHeight) { m_Size.cy = nHeight; }

protected:
    CSize m_Size { 30, 10 };
    std::unique_ptr<CFont> m_Font;
    DWORD m_dwStyle = 0;
};
