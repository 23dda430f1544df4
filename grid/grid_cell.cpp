#include "grid/grid_cell.h"

#include "grid/grid_ctrl.h"
#include "grid/inplace_edit.h"

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& cell)
{
    if (this == &cell)
        return *this;
    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextClr(cell.GetTextClr());
    SetBackClr(cell.GetBackClr());
    SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
    SetMargin(cell.GetMargin());
    return *this;
}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* grid = GetGrid();
    return grid ? grid->GetDefaultCell(IsFixedRow(), IsFixedCol()) : nullptr;
}

LRESULT CGridCellBase::SendMessageToParent(int nRow, int nCol, int nMessage) const
{
    CGridCtrl* grid = GetGrid();
    return grid ? grid->SendNotify(nRow, nCol, nMessage) : 0;
}

BOOL CGridCellBase::OnSetCursor()
{
    SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

// ---- CGridCell ----

CGridCell::CGridCell()
{
    CGridCell::Reset();
}

CGridCell::~CGridCell() = default;

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.Empty();
    m_nImage = -1;
    m_bEditing = FALSE;
    m_pGrid = nullptr;
    m_pEditWnd = nullptr;
    m_nFormat = static_cast<DWORD>(-1);
    m_crBkClr = CLR_DEFAULT;
    m_crFgClr = CLR_DEFAULT;
    m_nMargin = static_cast<UINT>(-1);
    m_plfFont.reset();
}

CGridCell& CGridCell::operator=(const CGridCell& cell)
{
    if (this != &cell)
        CGridCellBase::operator=(cell);
    return *this;
}

void CGridCell::SetFont(const LOGFONT* plf)
{
    if (!plf) {
        m_plfFont.reset();
        return;
    }
    if (!m_plfFont)
        m_plfFont = std::make_unique<LOGFONT>();
    *m_plfFont = *plf;
}

DWORD CGridCell::GetFormat() const
{
    if (m_nFormat == static_cast<DWORD>(-1)) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? def->GetFormat() : 0;
    }
    return m_nFormat;
}

UINT CGridCell::GetMargin() const
{
    if (m_nMargin == static_cast<UINT>(-1)) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? def->GetMargin() : 0;
    }
    return m_nMargin;
}

LOGFONT* CGridCell::GetFont() const
{
    if (!m_plfFont) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? def->GetFont() : nullptr;
    }
    return m_plfFont.get();
}

CFont* CGridCell::GetFontObject() const
{
    if (m_plfFont) {
        // One shared font object for cells with their own font: valid until
        // the next such cell is asked.
        // Kept for the life of the process (no destruction order against
        // the drawing layer at exit).
        static CFont* s_font = new CFont;
        s_font->DeleteObject();
        s_font->CreateFontIndirect(m_plfFont.get());
        return s_font;
    }
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFontObject() : nullptr;
}

BOOL CGridCell::OpenEditor(UINT nChar, BOOL bForwardChar, const std::function<CWnd*()>& make)
{
    if (m_bEditing) {
        if (bForwardChar && m_pEditWnd)
            m_pEditWnd->SendMessage(WM_CHAR, nChar);
        return TRUE;
    }
    m_bEditing = TRUE;
    CWnd* editor = make();
    if (!editor->GetSafeHwnd()) {
        // The editor window could not be made: no edit is open.
        delete editor;
        m_bEditing = FALSE;
        m_pEditWnd = nullptr;
        return FALSE;
    }
    m_pEditWnd = editor;
    return TRUE;
}

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    const DWORD format = GetFormat();
    DWORD style = ES_RIGHT;
    if (!(format & DT_RIGHT) && (format & DT_CENTER))
        style = ES_CENTER;
    return OpenEditor(nChar, TRUE,
        [&] { return new CGridInPlaceEdit(m_pGrid, rect, style, nID, nRow, nCol, GetText(), nChar); });
}

void CGridCell::EndEdit()
{
    if (auto* editor = dynamic_cast<CGridInPlaceEditor*>(m_pEditWnd))
        editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_pEditWnd = nullptr;
    m_bEditing = FALSE;
}

// ---- CGridDefaultCell ----

CGridDefaultCell::CGridDefaultCell()
{
    m_nFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_crFgClr = CLR_DEFAULT;
    m_crBkClr = CLR_DEFAULT;
    m_Size = CSize(30, 10);
    m_dwStyle = 0;
    NONCLIENTMETRICS ncm {};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    SetFont(&ncm.lfMessageFont);
}

CGridDefaultCell::~CGridDefaultCell() = default;

void CGridDefaultCell::SetFont(const LOGFONT* plf)
{
    if (!plf)
        return;
    m_Font = std::make_unique<CFont>();
    m_Font->CreateFontIndirect(plf);
    CGridCell::SetFont(plf);

    HDC screen = GdiCreateScreenDC();
    if (!screen) {
        m_nMargin = 3;
        m_Size = CSize(40, 16);
        return;
    }
    CDC* dc = CDC::FromHandle(screen);
    CFont* old = dc->SelectObject(m_Font.get());
    m_nMargin = static_cast<UINT>(dc->GetTextExtent(" ", 1).cx);
    m_Size = dc->GetTextExtent(" XXXXXXXXXXXX ", 14);
    m_Size.cy = (m_Size.cy * 3) / 2;
    dc->SelectObject(old);
    DeleteDC(screen);
}

CFont* CGridDefaultCell::GetFontObject() const
{
    return m_Font.get();
}
