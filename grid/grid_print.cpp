// Printing the grid as a paged report: a header with the window and program
// titles, the heading rows on every page, the body rows that fit, and a footer
// with the page number and the date.
//
// A page in logical units (the grid's pixels, mapped onto the printable width):
//   header band (header x character height), gap, heading rows, body rows
//   (page height), ..., footer band at the bottom of the page.
// Every page holds the body rows that fit its page height, at least one: a
// row taller than a page has a page of its own and is printed cut at the
// page's bottom.

#include <algorithm>
#include <vector>

#include "grid/grid_ctrl.h"
#include "platform/base/datetime.h"
#include "platform/base/resource_script.h"
#include "platform/print/print_dialog.h"
#include "platform/print/print_info.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/frame.h"
#include "platform/wnd/docview/winapp.h"

namespace {

inline constexpr const char* kCharSample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
inline constexpr int kCharSampleLength = 52;
inline constexpr DWORD kPrintDialogFlags
    = PD_ALLPAGES | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;

// The first body row of every page, in order.
std::vector<int> PageStarts(const CGridCtrl& grid, int pageHeight)
{
    std::vector<int> starts { grid.GetFixedRowCount() };
    int total = 0;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        const int height = grid.GetRowHeight(row);
        if (total > 0 && total + height > pageHeight) {
            starts.push_back(row);
            total = height;
        } else {
            total += height;
        }
    }
    return starts;
}

// Body rows [first, end) of a page (1-based); empty past the last page.
std::pair<int, int> PageRows(const CGridCtrl& grid, int pageHeight, int page)
{
    const std::vector<int> starts = PageStarts(grid, pageHeight);
    if (page < 1 || page > static_cast<int>(starts.size()))
        return { grid.GetRowCount(), grid.GetRowCount() };
    const size_t index = static_cast<size_t>(page - 1);
    return { starts[index], index + 1 < starts.size() ? starts[index + 1] : grid.GetRowCount() };
}

// The text of the nearest frame among the grid's ancestors (the text of the
// last ancestor when none is a frame).
CString FrameTitle(const CWnd& grid)
{
    CString title;
    for (CWnd* wnd = grid.GetParent(); wnd; wnd = wnd->GetParent()) {
        wnd->GetWindowText(title);
        if (DynamicDownCast<CFrameWnd>(wnd))
            break;
    }
    return title;
}

CString AppTitle()
{
    CString title;
    AfxLoadString(AFX_IDS_APP_TITLE, title);
    return title;
}

// Grid lines of a printed cell (rect with inclusive edges) by the grid-line
// mode: its bottom and right edges, its top when top, its left when left.
void DrawCellLines(CDC* pDC, int gridLines, const CRect& rect, BOOL top, BOOL left)
{
    const BOOL horizontal = gridLines == 1 || gridLines == 3;
    const BOOL vertical = gridLines == 2 || gridLines == 3;
    if (horizontal) {
        pDC->MoveTo(rect.left - 1, rect.bottom);
        pDC->LineTo(rect.right + 1, rect.bottom);
        if (top) {
            pDC->MoveTo(rect.left - 1, rect.top - 1);
            pDC->LineTo(rect.right + 1, rect.top - 1);
        }
    }
    if (vertical) {
        pDC->MoveTo(rect.right, rect.top - 1);
        pDC->LineTo(rect.right, rect.bottom + 1);
        if (left) {
            pDC->MoveTo(rect.left - 1, rect.top - 1);
            pDC->LineTo(rect.left - 1, rect.bottom + 1);
        }
    }
}

// Prints the cells of row from column first up to end that end left of
// rightLimit, from rect.left on; rect keeps the row's top and bottom and is
// left after the last cell printed. Lines by the grid-line mode: a top line
// when top, a left line at column 0 and, with firstLeft, at the first cell.
void PrintCellRun(CGridCtrl& grid, CDC* pDC, int row, int first, int end, int rightLimit, CRect& rect,
    BOOL top, BOOL firstLeft)
{
    for (int col = first; col < end; ++col) {
        const int width = grid.GetColumnWidth(col);
        if (width <= 0)
            continue;
        rect.right = rect.left + width - 1;
        if (rect.right > rightLimit)
            break;
        if (CGridCellBase* cell = grid.GetCell(row, col))
            cell->PrintCell(pDC, row, col, rect);
        pDC->SelectStockObject(BLACK_PEN);
        DrawCellLines(pDC, grid.GetGridLines(), rect, top, firstLeft || col == 0);
        firstLeft = FALSE;
        rect.left = rect.right + 1;
    }
}

// A bold copy of the print font.
void CreateBoldFont(const CFont& printFont, CFont& bold)
{
    LOGFONT lf {};
    printFont.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&lf);
}

} // namespace

void CGridCtrl::SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin,
    int nTopMargin, int nBottomMargin, int nGap)
{
    const auto set = [](int& member, int value) {
        if (value >= 0)
            member = value;
    };
    set(m_Print.m_nHeaderHeight, nHeaderHeight);
    set(m_Print.m_nFooterHeight, nFooterHeight);
    set(m_Print.m_nLeftMargin, nLeftMargin);
    set(m_Print.m_nRightMargin, nRightMargin);
    set(m_Print.m_nTopMargin, nTopMargin);
    set(m_Print.m_nBottomMargin, nBottomMargin);
    set(m_Print.m_nGap, nGap);
}

void CGridCtrl::GetPrintMarginInfo(int& nHeaderHeight, int& nFooterHeight, int& nLeftMargin,
    int& nRightMargin, int& nTopMargin, int& nBottomMargin, int& nGap) const
{
    nHeaderHeight = m_Print.m_nHeaderHeight;
    nFooterHeight = m_Print.m_nFooterHeight;
    nLeftMargin = m_Print.m_nLeftMargin;
    nRightMargin = m_Print.m_nRightMargin;
    nTopMargin = m_Print.m_nTopMargin;
    nBottomMargin = m_Print.m_nBottomMargin;
    nGap = m_Print.m_nGap;
}

void CGridCtrl::Print(CDC* pPrntDC)
{
    CDC ownDC;
    CDC* dc = pPrntDC;
    HDC dialogDC = nullptr;
    if (!dc) {
        CPrintDialog printDlg(FALSE, kPrintDialogFlags, this);
        if (printDlg.DoModal() != IDOK)
            return;
        dialogDC = printDlg.GetPrinterDC();
        if (!dialogDC || !ownDC.Attach(dialogDC))
            return;
        dc = &ownDC;
    }
    dc->m_bPrinting = TRUE;

    CString title = AppTitle();
    if (title.IsEmpty())
        title = FrameTitle(*this);
    DOCINFO doc;
    doc.lpszDocName = title.GetString();
    if (dc->StartDoc(&doc) > 0) {
        CPrintInfo info;
        info.m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
        OnBeginPrinting(dc, &info);
        BOOL ok = TRUE;
        for (UINT page = info.GetMinPage(); ok && page <= info.GetMaxPage(); ++page) {
            dc->StartPage();
            info.m_nCurPage = page;
            OnPrint(dc, &info);
            ok = dc->EndPage() > 0;
        }
        OnEndPrinting(dc, &info);
        if (ok)
            dc->EndDoc();
        else
            dc->AbortDoc();
    }
    if (dialogDC)
        ownDC.DeleteDC();
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo)
        return;
    CDC* gridDC = GetGridDC();
    if (!gridDC)
        return;
    m_Print.m_PrinterFont = std::make_unique<CFont>();
    m_Print.m_PrinterFont->CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    CFont* oldFont = pDC->SelectObject(m_Print.m_PrinterFont.get());

    const CSize sample = pDC->GetTextExtent(kCharSample, kCharSampleLength);
    m_Print.m_CharSize = CSize(sample.cx / kCharSampleLength, sample.cy);
    const int marginWidth = (m_Print.m_nLeftMargin + m_Print.m_nRightMargin) * m_Print.m_CharSize.cx;
    m_Print.m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));

    m_Print.m_LogicalPageSize.cx = GetVirtualWidth() + marginWidth;
    m_Print.m_LogicalPageSize.cy = MulDiv(
        m_Print.m_LogicalPageSize.cx, m_Print.m_PaperSize.cy, std::max<LONG>(1, m_Print.m_PaperSize.cx));
    m_Print.m_nPageHeight = m_Print.m_LogicalPageSize.cy - GetFixedRowHeight()
        - (m_Print.m_nHeaderHeight + m_Print.m_nFooterHeight + 2 * m_Print.m_nGap) * m_Print.m_CharSize.cy;
    m_Print.m_nPageCount = static_cast<int>(PageStarts(*this, m_Print.m_nPageHeight).size());
    m_Print.m_nPageWidth = m_Print.m_LogicalPageSize.cx - GetFixedColumnWidth() - marginWidth;
    m_Print.m_nPrintColumn = GetFixedColumnCount();

    pInfo->SetMaxPage(static_cast<UINT>(m_Print.m_nPageCount));
    pInfo->m_nCurPage = 1;
    ReleaseGridDC(gridDC);
    pDC->SelectObject(oldFont);
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !m_Print.m_PrinterFont)
        return;
    const int saved = pDC->SaveDC();
    pDC->SelectObject(m_Print.m_PrinterFont.get());
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_Print.m_LogicalPageSize);
    pDC->SetViewportExt(m_Print.m_PaperSize);
    pDC->SetWindowOrg(-m_Print.m_nLeftMargin * m_Print.m_CharSize.cx, 0);

    const CSize ch = m_Print.m_CharSize;
    const int bandWidth
        = m_Print.m_LogicalPageSize.cx - (m_Print.m_nLeftMargin + m_Print.m_nRightMargin) * ch.cx;
    pInfo->m_rectDraw.SetRect(0, 0, bandWidth, m_Print.m_nHeaderHeight * ch.cy);
    PrintHeader(pDC, pInfo);

    const auto [first, end] = PageRows(*this, m_Print.m_nPageHeight, static_cast<int>(pInfo->m_nCurPage));
    m_Print.m_nCurrPrintRow = first;
    PrintRowCells(pDC, pInfo);
    PrintColumnHeadings(pDC, pInfo);

    if (first < end) {
        const int bodyTop = (m_Print.m_nHeaderHeight + m_Print.m_nGap) * ch.cy + GetFixedRowHeight();
        const int fixedWidth = GetFixedColumnWidth();
        const int rightLimit = fixedWidth + m_Print.m_nPageWidth;
        pDC->SelectStockObject(BLACK_PEN);
        int top = 0;
        for (int row = first; row < end; ++row) {
            const int height = GetRowHeight(row);
            if (height <= 0)
                continue;
            CRect rect;
            rect.top = bodyTop + top;
            // A row taller than the page (alone on it) is cut at the page's bottom.
            rect.bottom = bodyTop + std::min(top + height, m_Print.m_nPageHeight) - 1;
            rect.left = fixedWidth;
            PrintCellRun(
                *this, pDC, row, m_Print.m_nPrintColumn, GetColumnCount(), rightLimit, rect, FALSE, FALSE);
            top += height;
            m_Print.m_nCurrPrintRow = row + 1;
        }
        pInfo->m_rectDraw.SetRect(0, m_Print.m_LogicalPageSize.cy - m_Print.m_nFooterHeight * ch.cy,
            bandWidth, m_Print.m_LogicalPageSize.cy);
        PrintFooter(pDC, pInfo);
    }
    pDC->RestoreDC(saved);
}

void CGridCtrl::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_Print.m_PrinterFont.reset();
}

void CGridCtrl::PrintRowCells(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo)
        return;
    const auto [first, end] = PageRows(*this, m_Print.m_nPageHeight, static_cast<int>(pInfo->m_nCurPage));
    const int bodyTop
        = (m_Print.m_nHeaderHeight + m_Print.m_nGap) * m_Print.m_CharSize.cy + GetFixedRowHeight();
    int left = 0;
    for (int col = 0; col < GetFixedColumnCount(); ++col) {
        const int width = GetColumnWidth(col);
        if (width <= 0)
            continue;
        int top = 0;
        for (int row = first; row < end; ++row) {
            const int height = GetRowHeight(row);
            if (height <= 0)
                continue;
            const CRect rect(left, bodyTop + top, left + width - 1,
                bodyTop + std::min(top + height, m_Print.m_nPageHeight) - 1);
            if (CGridCellBase* cell = GetCell(row, col))
                cell->PrintCell(pDC, row, col, rect);
            pDC->SelectStockObject(BLACK_PEN);
            DrawCellLines(pDC, m_nGridLines, rect, FALSE, col == 0);
            top += height;
        }
        left += width;
    }
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !m_Print.m_PrinterFont)
        return;
    CFont* oldFont = pDC->SelectObject(m_Print.m_PrinterFont.get());
    int top = (m_Print.m_nHeaderHeight + m_Print.m_nGap) * m_Print.m_CharSize.cy;
    for (int row = 0; row < GetFixedRowCount(); ++row) {
        const int height = GetRowHeight(row);
        if (height <= 0)
            continue;
        CRect rect(0, top, 0, top + height - 1);
        BOOL firstCell = TRUE;
        if (m_Print.m_nPrintColumn >= GetFixedColumnCount()) {
            PrintColumnHeadingRow(0, GetFixedColumnCount(), row, rect, pDC, firstCell);
            firstCell = FALSE;
        }
        rect.left = GetFixedColumnWidth();
        PrintColumnHeadingRow(m_Print.m_nPrintColumn, GetColumnCount(), row, rect, pDC, firstCell);
        top += height;
    }
    pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintColumnHeadingRow(
    int nFirstCol, int nEndCol, int nRow, CRect& rect, CDC* pDC, BOOL bFirstCell)
{
    PrintCellRun(*this, pDC, nRow, nFirstCol, nEndCol, GetFixedColumnWidth() + m_Print.m_nPageWidth, rect,
        nRow == 0, bFirstCell);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !m_Print.m_PrinterFont)
        return;
    CFont bold;
    CreateBoldFont(*m_Print.m_PrinterFont, bold);
    CFont* oldFont = pDC->SelectObject(&bold);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rect = pInfo->m_rectDraw;
    const CString windowTitle = FrameTitle(*this);
    if (!windowTitle.IsEmpty())
        pDC->DrawText(windowTitle, rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    const CString appTitle = AppTitle();
    if (!appTitle.IsEmpty())
        pDC->DrawText(appTitle, rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rect.left, rect.bottom);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->SelectObject(oldPen);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !m_Print.m_PrinterFont)
        return;
    CRect rect = pInfo->m_rectDraw;
    CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.right, rect.top);
    pDC->SelectObject(oldPen);

    CFont bold;
    CreateBoldFont(*m_Print.m_PrinterFont, bold);
    CFont* oldFont = pDC->SelectObject(&bold);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(RGB(0, 0, 0));
    const CString page = CString::Formatted(
        "Page %d of %d", static_cast<int>(pInfo->m_nCurPage), static_cast<int>(pInfo->GetMaxPage()));
    pDC->DrawText(page, rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    // The date stands at the left, cut short of the page text.
    CRect dateRect = rect;
    dateRect.right -= pDC->GetTextExtent(page).cx + 2 * m_Print.m_CharSize.cx;
    if (dateRect.right > dateRect.left) {
        const CString date = CTime::GetCurrentTime().Format("%c");
        pDC->DrawText(date, dateRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
    }
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}
