// Drawing and measuring of a cell.

#include <algorithm>

#include "grid/grid_cell.h"
#include "grid/grid_ctrl.h"
#include "grid/text_measure.h"

namespace {

// The image's rectangle from the grid's image list; FALSE without one.
BOOL GetImageRect(const CGridCellBase& cell, CRect& rect)
{
    CGridCtrl* grid = cell.GetGrid();
    CImageList* list = grid ? grid->GetImageList() : nullptr;
    if (!list || cell.GetImage() < 0)
        return FALSE;
    IMAGEINFO info {};
    if (!list->GetImageInfo(cell.GetImage(), &info))
        return FALSE;
    rect = info.rcImage;
    return TRUE;
}

// The two-colour lines of a heading cell that is not highlighted: light along
// the top and left, dark along the right and bottom; rect shrinks by 1.
void DrawRaisedLines(CDC* pDC, CRect& rect)
{
    CPen lightPen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
    CPen darkPen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    CPen* oldPen = pDC->SelectObject(&lightPen);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.left, rect.top);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(&darkPen);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(oldPen);
    rect.DeflateRect(1, 1);
}

} // namespace

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || !pDC || rect.Width() < 1 || rect.Height() < 1)
        return FALSE;

    const int savedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);

    CGridDefaultCell* def = GetDefaultCell();
    if (!def) {
        pDC->RestoreDC(savedDC);
        return FALSE;
    }

    COLORREF textClr = GetTextClr() == CLR_DEFAULT ? def->GetTextClr() : GetTextClr();
    COLORREF backClr = GetBackClr();
    if (backClr == CLR_DEFAULT)
        backClr = def->GetBackClr();
    else
        bEraseBkgnd = TRUE;

    const int gridLines = grid->GetGridLines();
    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            backClr = ::GetSysColor(COLOR_HIGHLIGHT);
            textClr = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            bEraseBkgnd = TRUE;
        }
        rect.right++;
        rect.bottom++;
        if (bEraseBkgnd) {
            CBrush brush(backClr);
            pDC->FillRect(rect, &brush);
        }
        if (gridLines != 0) {
            rect.right--;
            rect.bottom--;
        }
        if (grid->GetFrameFocusCell()) {
            CBrush brush(textClr);
            pDC->FrameRect(rect, &brush);
        }
        pDC->SetTextColor(textClr);
        if (gridLines == 0) {
            rect.right--;
            rect.bottom--;
        }
        rect.DeflateRect(0, 1, 1, 1);
    } else if (IsSelected()) {
        rect.right++;
        rect.bottom++;
        pDC->FillSolidRect(rect, ::GetSysColor(COLOR_HIGHLIGHT));
        rect.right--;
        rect.bottom--;
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        if (bEraseBkgnd) {
            rect.right++;
            rect.bottom++;
            CBrush brush(backClr);
            pDC->FillRect(rect, &brush);
            rect.right--;
            rect.bottom--;
        }
        pDC->SetTextColor(textClr);
    }

    if (IsFixed() && gridLines != 0) {
        const CGridCellCoord focus = grid->GetFocusCell();
        const BOOL highlighted
            = grid->GetTrackFocusCell() && focus.IsValid() && (focus.row == nRow || focus.col == nCol);
        if (highlighted) {
            rect.right++;
            rect.bottom++;
            pDC->DrawEdge(rect, BDR_SUNKENINNER, BF_RECT);
            rect.DeflateRect(1, 1);
        } else {
            DrawRaisedLines(pDC, rect);
        }
    }

    if (!pDC->IsPrinting()) {
        if (CFont* font = GetFontObject())
            pDC->SelectObject(font);
    }

    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, 0);

    CRect imageRect;
    if (GetImageRect(*this, imageRect)) {
        const int w = imageRect.Width() + 1;
        const int h = imageRect.Height() + 1;
        if (w + rect.left <= rect.right + 2 * margin && h + rect.top <= rect.bottom + 2 * margin)
            grid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
    }

    if (nRow == 0 && grid->GetSortColumn() == nCol) {
        CSize size = pDC->GetTextExtent("M", 1);
        int arrow = size.cy - 4;
        if (arrow >= rect.Height())
            arrow = rect.Height() - 4;
        if (arrow + rect.left < rect.right + 2 * margin) {
            const LOGFONT* lf = GetFont();
            const int top = rect.bottom - 2 - arrow;
            const int left
                = (lf && lf->lfEscapement == 900) ? (rect.left + rect.right - arrow) / 2 : rect.right - arrow;
            CPen lightPen(PS_SOLID, 0, ::GetSysColor(COLOR_3DHIGHLIGHT));
            CPen shadowPen(PS_SOLID, 0, ::GetSysColor(COLOR_3DSHADOW));
            CPen* oldPen = pDC->SelectObject(&lightPen);
            for (int pass = 0; pass < 2; ++pass) {
                const int d = pass == 0 ? 1 : 0;
                if (pass == 1)
                    pDC->SelectObject(&shadowPen);
                CPoint a, b, c;
                if (grid->GetSortAscending()) {
                    a = CPoint(left, top + arrow);
                    b = CPoint(left + arrow / 2, top);
                    c = CPoint(left + arrow, top + arrow);
                } else {
                    a = CPoint(left, top);
                    b = CPoint(left + arrow / 2, top + arrow);
                    c = CPoint(left + arrow, top);
                }
                pDC->MoveTo(a.x + d, a.y + d);
                pDC->LineTo(b.x + d, b.y + d);
                pDC->LineTo(c.x + d, c.y + d);
                pDC->LineTo(a.x + d, a.y + d);
            }
            pDC->SelectObject(oldPen);
        }
    }

    GetTextRect(rect);
    pDC->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);

    pDC->RestoreDC(savedDC);
    return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT pRect)
{
    CRect imageRect;
    if (GetImageRect(*this, imageRect))
        pRect->left += imageRect.Width() + 1 + static_cast<int>(GetMargin());
    return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC)
{
    CGridCtrl* grid = GetGrid();
    CGridDefaultCell* def = GetDefaultCell();
    const CSize defaultSize = def ? CSize(def->GetWidth(), def->GetHeight()) : CSize(0, 0);

    const DWORD format = GetFormat();
    const BOOL multiLine = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    // Single lines are measured on the grid's measuring DC (with or without a
    // DC from the caller, as long as it is that one).
    CGridTextMeasure* measure = nullptr;
    if (grid && !multiLine && (pDC || grid->GetSafeHwnd())) {
        measure = grid->GetTextMeasure();
        if (measure && pDC && pDC != measure->GetDC())
            measure = nullptr;
    }
    CDC* ownDC = nullptr;
    if (measure && !pDC && szText && *szText)
        pDC = measure->GetDC();
    if (!pDC && szText && *szText && grid && grid->GetSafeHwnd())
        pDC = ownDC = grid->GetGridDC();
    if (!pDC || !szText || !*szText)
        return defaultSize;

    CSize size;
    CFont* oldFont = nullptr;
    if (measure && !multiLine && pDC == measure->GetDC()) {
        size = measure->Extent(*this, szText);
    } else if (multiLine) {
        if (CFont* font = GetFontObject())
            oldFont = pDC->SelectObject(font);
        CString text(szText);
        int widest = 0;
        int start = 0;
        while (start <= text.GetLength()) {
            int end = text.Find('\n', start);
            if (end < 0)
                end = text.GetLength();
            const CString line = text.Mid(start, end - start);
            widest = std::max(widest, static_cast<int>(pDC->GetTextExtent(line, line.GetLength()).cx));
            start = end + 1;
        }
        CRect rect(0, 0, widest + 1, 0);
        pDC->DrawText(szText, -1, rect, format | DT_CALCRECT);
        size = rect.Size();
        TEXTMETRIC tm {};
        pDC->GetTextMetrics(&tm);
        size.cx += tm.tmOverhang;
    } else {
        if (CFont* font = GetFontObject())
            oldFont = pDC->SelectObject(font);
        size = pDC->GetTextExtent(szText, static_cast<int>(std::char_traits<char>::length(szText)));
        TEXTMETRIC tm {};
        pDC->GetTextMetrics(&tm);
        size.cx += tm.tmOverhang;
    }
    if (oldFont)
        pDC->SelectObject(oldFont);

    const int margin = static_cast<int>(GetMargin());
    size.cx += 4 * margin;
    size.cy += 2 * margin;
    const LOGFONT* lf = GetFont();
    if (lf && (lf->lfEscapement == 900 || lf->lfEscapement == -900)) {
        std::swap(size.cx, size.cy);
        size.cy += 4 * margin;
    }
    if (ownDC)
        grid->ReleaseGridDC(ownDC);
    return size;
}

int CGridCellBase::GetTextHeight(LPCTSTR szText)
{
    CGridCtrl* grid = GetGrid();
    const DWORD format = GetFormat();
    const BOOL multiLine = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    const LOGFONT* lf = GetFont();
    const BOOL upright = !lf || (lf->lfEscapement != 900 && lf->lfEscapement != -900);
    CGridTextMeasure* measure = grid && grid->GetSafeHwnd() && !multiLine && upright && szText && *szText
        ? grid->GetTextMeasure()
        : nullptr;
    if (!measure)
        return static_cast<int>(GetTextExtent(szText).cy);
    return static_cast<int>(measure->LineHeight(*this)) + 2 * static_cast<int>(GetMargin());
}

CSize CGridCellBase::GetCellExtent(CDC* pDC)
{
    CSize size = GetTextExtent(GetText(), pDC);
    CRect imageRect;
    if (GetImageRect(*this, imageRect)) {
        size.cx += imageRect.Width();
        size.cy = std::max(size.cy, static_cast<LONG>(imageRect.Height()));
    }
    return size;
}

BOOL CGridCellBase::PrintCell(CDC* pDC, int nRow, int nCol, CRect rect)
{
    CGridCtrl* grid = GetGrid();
    CGridDefaultCell* def = GetDefaultCell();
    if (!grid || !pDC || !def || rect.Width() < 1 || rect.Height() < 1)
        return FALSE;
    const int savedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    if (grid->GetShadedPrintOut()) {
        const COLORREF back = GetBackClr() == CLR_DEFAULT ? def->GetBackClr() : GetBackClr();
        rect.right++;
        rect.bottom++;
        pDC->FillSolidRect(rect, back);
        rect.right--;
        rect.bottom--;
        pDC->SetTextColor(GetTextClr() == CLR_DEFAULT ? def->GetTextClr() : GetTextClr());
    } else {
        pDC->SetTextColor(RGB(0, 0, 0));
    }
    if (IsFixed()) {
        DrawRaisedLines(pDC, rect);
    }
    if (CFont* font = GetFontObject())
        pDC->SelectObject(font);
    rect.DeflateRect(static_cast<int>(GetMargin()), 0);
    CRect imageRect;
    if (GetImageRect(*this, imageRect))
        grid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
    GetTextRect(rect);
    pDC->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
    pDC->RestoreDC(savedDC);
    return TRUE;
}
