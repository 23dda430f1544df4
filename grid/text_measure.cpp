#include "grid/text_measure.h"

#include <cstring>

#include "grid/grid_cell.h"

namespace {

// Characters of numbers, prices, dates and times.
inline constexpr std::string_view kFigures = "0123456789-+.,:/ ";
// Texts that must measure as their advances add up before the sum is trusted.
inline constexpr std::string_view kFigureSamples[]
    = { "100000", "2026-12-31", "1,234,567.89", "12:34:56", "-0.5", "+7/8", "1 1", "11", "7,4" };

inline constexpr size_t kMaxTexts = 200000;

} // namespace

CGridTextMeasure::CGridTextMeasure(CDC* pDC)
    : m_pDC(pDC)
{ }

CGridTextMeasure::~CGridTextMeasure()
{
    if (m_bFontChanged && m_pDC)
        m_pDC->SelectObject(m_pOldFont);
}

CGridTextMeasure::FontEntry& CGridTextMeasure::EntryOf(const CGridCellBase& cell)
{
    // Key: the font's LOGFONT, so a font that changes gets entries of its own.
    const LOGFONT* lf = cell.GetFont();
    m_key.assign(1, lf ? 'L' : 'N');
    if (lf)
        m_key.append(reinterpret_cast<const char*>(lf), sizeof(LOGFONT));
    if (m_pLast && m_pLast->key == m_key)
        return *m_pLast;
    for (auto& entry : m_fonts) {
        if (entry->key == m_key)
            return *(m_pLast = entry.get());
    }
    auto entry = std::make_unique<FontEntry>();
    entry->key = m_key;
    if (lf) {
        entry->ownFont = std::make_unique<CFont>();
        if (entry->ownFont->CreateFontIndirect(lf))
            entry->font = entry->ownFont.get();
    }
    m_fonts.push_back(std::move(entry));
    return *(m_pLast = m_fonts.back().get());
}

void CGridTextMeasure::Select(FontEntry& entry)
{
    if (m_pSelected != &entry && entry.font) {
        CFont* old = m_pDC->SelectObject(entry.font);
        if (!m_bFontChanged) {
            m_pOldFont = old;
            m_bFontChanged = TRUE;
        }
    }
    m_pSelected = &entry;
    if (!entry.metricsRead) {
        TEXTMETRIC tm {};
        m_pDC->GetTextMetrics(&tm);
        entry.overhang = tm.tmOverhang;
        entry.metricsRead = TRUE;
    }
}

void CGridTextMeasure::CheckFigures(FontEntry& entry)
{
    entry.figuresChecked = TRUE;
    // 64 copies of a character measure its advance in 1/64 pixel exactly.
    for (char ch : kFigures) {
        const std::string run(64, ch);
        entry.advance64[static_cast<unsigned char>(ch)]
            = m_pDC->GetTextExtent(run.data(), static_cast<int>(run.size())).cx;
    }
    entry.figureHeight = m_pDC->GetTextExtent("0", 1).cy;
    entry.figuresAdd = TRUE;
    for (std::string_view sample : kFigureSamples) {
        const CSize size = m_pDC->GetTextExtent(sample.data(), static_cast<int>(sample.size()));
        if (size.cx != FiguresWidth(entry, sample) || size.cy != entry.figureHeight) {
            entry.figuresAdd = FALSE;
            return;
        }
    }
    for (char a : kFigures) {
        for (char b : kFigures) {
            const char pair[2] = { a, b };
            if (m_pDC->GetTextExtent(pair, 2).cx != FiguresWidth(entry, std::string_view(pair, 2))) {
                entry.figuresAdd = FALSE;
                return;
            }
        }
    }
}

LONG CGridTextMeasure::FiguresWidth(const FontEntry& entry, std::string_view text)
{
    LONG sum = 0;
    for (char ch : text) {
        if (kFigures.find(ch) == std::string_view::npos)
            return -1;
        sum += entry.advance64[static_cast<unsigned char>(ch)];
    }
    return (sum + 32) / 64;
}

LONG CGridTextMeasure::LineHeight(const CGridCellBase& cell)
{
    FontEntry& entry = EntryOf(cell);
    if (!entry.figuresChecked) {
        Select(entry);
        CheckFigures(entry);
    }
    return entry.figureHeight;
}

CSize CGridTextMeasure::Extent(const CGridCellBase& cell, std::string_view text)
{
    FontEntry& entry = EntryOf(cell);
    if (!entry.figuresChecked) {
        Select(entry);
        CheckFigures(entry);
    }
    if (entry.figuresAdd) {
        if (const LONG width = FiguresWidth(entry, text); width >= 0)
            return CSize(width + entry.overhang, entry.figureHeight);
    }
    if (const auto it = entry.extents.find(text); it != entry.extents.end())
        return it->second;
    // The texts of many fills pass through: start again rather than grow.
    if (entry.extents.size() >= kMaxTexts)
        entry.extents.clear();
    Select(entry);
    CSize size = m_pDC->GetTextExtent(text.data(), static_cast<int>(text.size()));
    size.cx += entry.overhang;
    entry.extents.emplace(std::string(text), size);
    return size;
}
