#include "results/result_print.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/font.h"
#include "platform/print/print_dialog.h"

namespace {

constexpr double kLayoutDpi = 600.0;
constexpr DWORD kPrintFlags
    = PD_ALLPAGES | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
constexpr int kTitleX = 300;
constexpr int kTitleY = 150;
constexpr int kTableTop = 300;
constexpr int kClosingLineX = 200;
constexpr int kFooterTop = 200;
constexpr int kBlockLines = 14;

const ResultPageGeometry kPortrait { 100, 60, 71, 5, 10, 5 };
const ResultPageGeometry kLandscape { 200, 80, 31, 2, 16, 8 };

int PageCount(int items, int perPage)
{
    return items / perPage + (items % perPage ? 1 : 0);
}

CString Aligned(const CString& text, PrintAlign align)
{
    switch (align) {
    case PrintAlign::Right:
        return text + " ";
    case PrintAlign::Left:
        return " " + text;
    case PrintAlign::Center:
        break;
    }
    return text;
}

UINT AlignFlag(PrintAlign align)
{
    switch (align) {
    case PrintAlign::Right:
        return DT_RIGHT;
    case PrintAlign::Left:
        return DT_LEFT;
    case PrintAlign::Center:
        break;
    }
    return DT_CENTER;
}

void CreatePrintFont(CFont& font, const ResultPageGeometry& g, int dpiY)
{
    font.CreateFont(MulDiv(g.fontHeightPt, dpiY, 72), MulDiv(g.fontWidthPt, dpiY, 72), 0, 0, 0, 0, 0, 0,
        ANSI_CHARSET, OUT_TT_PRECIS, CLIP_STROKE_PRECIS, PROOF_QUALITY, FF_MODERN, "Helv");
}

} // namespace

const ResultPageGeometry& ResultGeometryFor(BOOL portrait)
{
    return portrait ? kPortrait : kLandscape;
}

struct ResultPrintRun::State {
    CPrintDialog dialog { FALSE, kPrintFlags };
    CDC dc;
    CFont font;
    CFont* oldFont = nullptr;
    int savedDc = 0;
    ResultPageGeometry geometry = kPortrait;
    double scale = 1.0;
    int textHeight = 0; // H: the height of "X"
    double pitch = 0; // H + 1 as at 600 dpi, in device units

    // A layout position in device units.
    int At(int units) const { return static_cast<int>(std::lround(units * scale)); }
    int LineTop(int y0, int k) const { return y0 + static_cast<int>(std::lround(k * pitch)); }
};

// One page: a print job with its title, the ruled lines and the footer.
class ResultPrintRun::Page {
public:
    Page(State& state, const CString& docName, const char* title, std::vector<int> edges)
        : m_s(state)
        , m_edges(std::move(edges))
    {
        DOCINFO info;
        info.lpszDocName = docName.GetString();
        m_s.dc.StartDoc(&info);
        m_s.dc.StartPage();
        m_s.dc.TextOut(m_s.At(kTitleX), m_s.At(kTitleY), title);
    }

    // Column j spans from the left edge j to j + 1.
    CRect Cell(int j) const
    {
        const int top = Top();
        return CRect(
            m_edges[static_cast<size_t>(j)], top, m_edges[static_cast<size_t>(j) + 1], top + m_s.textHeight);
    }
    int Top() const { return m_s.LineTop(m_s.At(kTableTop), m_line); }

    // The cell's text, and its left and top edges.
    void FramedCell(int j, const CString& text, PrintAlign align)
    {
        CRect rect = Cell(j);
        m_s.dc.DrawText(Aligned(text, align), &rect, AlignFlag(align) | DT_VCENTER);
        m_s.dc.MoveTo(rect.left, rect.bottom);
        m_s.dc.LineTo(rect.left, rect.top);
        m_s.dc.LineTo(rect.right, rect.top);
    }
    // No text: the left edge of column first, and with top set a top edge
    // over columns first .. last - 1, as over one cell.
    void OpenCell(int first, int last, bool top)
    {
        const CRect rect = Cell(first);
        m_s.dc.MoveTo(rect.left, rect.bottom);
        m_s.dc.LineTo(rect.left, rect.top);
        if (top)
            m_s.dc.LineTo(Cell(last - 1).right, rect.top);
    }
    // The right edge of the line's last cell; the next line.
    void EndLine()
    {
        const CRect last = Cell(static_cast<int>(m_edges.size()) - 2);
        m_s.dc.MoveTo(last.right, last.top);
        m_s.dc.LineTo(last.right, last.bottom);
        ++m_line;
    }

    // The closing line, the footer "page-pages", the end of the job.
    void Finish(int page, int pages)
    {
        const int y = Top();
        m_s.dc.MoveTo(m_s.At(kClosingLineX), y);
        m_s.dc.LineTo(m_edges.back(), y);
        const int lines = m_s.geometry.linesPerPage;
        CRect footer(m_edges[3], m_s.LineTop(m_s.At(kFooterTop), lines + 2), m_edges[4],
            m_s.LineTop(m_s.At(kFooterTop), lines + 3));
        m_s.dc.DrawText(CString::Formatted("%ld-%ld", static_cast<long>(page), static_cast<long>(pages)),
            &footer, DT_CENTER | DT_VCENTER);
        m_s.dc.EndPage();
        m_s.dc.EndDoc();
    }

private:
    State& m_s;
    std::vector<int> m_edges; // device x of every column's left edge, and the last right edge
    int m_line = 0;
};

ResultPrintRun::ResultPrintRun(const char* docName)
    : m_docName(docName)
    , m_state(std::make_unique<State>())
{ }

ResultPrintRun::~ResultPrintRun()
{
    State& s = *m_state;
    if (s.oldFont)
        s.dc.SelectObject(s.oldFont);
    s.font.DeleteObject();
    if (s.savedDc)
        s.dc.RestoreDC(s.savedDc);
    if (s.dc.GetSafeHdc())
        s.dc.DeleteDC();
}

BOOL ResultPrintRun::Open()
{
    State& s = *m_state;
    if (s.dialog.DoModal() != IDOK || !s.dialog.GetPrinterDC())
        return FALSE;
    if (!s.dc.Attach(s.dialog.GetPrinterDC()))
        return FALSE;
    s.dialog.m_pd.hDC = nullptr; // the run releases the DC
    s.savedDc = s.dc.SaveDC();
    s.geometry = ResultGeometryFor(s.dialog.GetDevMode()->dmOrientation == DMORIENT_PORTRAIT);
    const int dpi = s.dc.GetDeviceCaps(LOGPIXELSX);
    s.scale = dpi > 0 ? dpi / kLayoutDpi : 1.0;
    const int dpiY = s.dc.GetDeviceCaps(LOGPIXELSY);
    CreatePrintFont(s.font, s.geometry, dpiY);
    // The line pitch is measured at 600 dpi and scaled like every position,
    // so that the font's rounding at one resolution does not add up over a page.
    CFont layoutFont;
    CreatePrintFont(layoutFont, s.geometry, static_cast<int>(kLayoutDpi));
    s.oldFont = s.dc.SelectObject(&layoutFont);
    s.pitch = (s.dc.GetTextExtent("X").cy + 1) * s.scale;
    s.dc.SelectObject(&s.font);
    s.textHeight = s.dc.GetTextExtent("X").cy;
    return TRUE;
}

namespace {

// The device x of each column's left edge and of the last right edge: the
// table starts at 2s.
std::vector<int> Edges(const ResultPageGeometry& g, const std::vector<int>& widths, double scale)
{
    std::vector<int> edges;
    int x = 2 * g.start;
    edges.push_back(static_cast<int>(std::lround(x * scale)));
    for (int w : widths) {
        x += w * g.unit;
        edges.push_back(static_cast<int>(std::lround(x * scale)));
    }
    return edges;
}

} // namespace

void ResultPrintRun::PrintList(
    const CGridCtrl& grid, const char* title, const std::vector<PrintColumn>& columns, int lines)
{
    State& s = *m_state;
    std::vector<int> widths;
    for (const PrintColumn& column : columns)
        widths.push_back(column.width);
    const int perPage = s.geometry.linesPerPage;
    const int pages = PageCount(lines, perPage);
    for (int p = 0; p < pages; ++p) {
        Page page(s, m_docName, title, Edges(s.geometry, widths, s.scale));
        for (int l = 0; l < std::min(lines - p * perPage, perPage); ++l) {
            const int row = p * perPage + l;
            for (size_t j = 0; j < columns.size(); ++j)
                page.FramedCell(
                    static_cast<int>(j), grid.GetItemText(row, columns[j].gridColumn), columns[j].align);
            page.EndLine();
        }
        page.Finish(p + 1, pages);
    }
}

void ResultPrintRun::PrintWeekdayBlocks(
    const CGridCtrl& grid, const char* title, const WeekdayBlockLayout& layout, int blocks)
{
    State& s = *m_state;
    std::vector<int> widths;
    for (const PrintColumn& column : layout.lead)
        widths.push_back(column.width);
    widths.insert(widths.end(), std::begin(layout.dayWidths), std::end(layout.dayWidths));
    const int lead = static_cast<int>(layout.lead.size());
    const int perPage = s.geometry.blocksPerPage;
    const int pages = PageCount(blocks, perPage);
    for (int p = 0; p < pages; ++p) {
        Page page(s, m_docName, title, Edges(s.geometry, widths, s.scale));
        for (int b = 0; b < std::min(blocks - p * perPage, perPage); ++b) {
            const int resultRow = p * perPage + b + 1;
            for (int line = 0; line < kBlockLines; ++line) {
                const int row = line % 2 == 0 ? 0 : resultRow;
                if (line < 2) {
                    for (int j = 0; j < lead; ++j)
                        page.FramedCell(j,
                            grid.GetItemText(row, layout.lead[static_cast<size_t>(j)].gridColumn),
                            PrintAlign::Center);
                } else {
                    // Below the first two lines the lead columns read as one empty cell.
                    page.OpenCell(0, lead, line == 2);
                }
                const int day = line / 2;
                for (int k = 0; k < 3; ++k)
                    page.FramedCell(lead + k, grid.GetItemText(row, layout.firstDayColumn + 3 * day + k),
                        PrintAlign::Center);
                page.EndLine();
            }
        }
        page.Finish(p + 1, pages);
    }
}
