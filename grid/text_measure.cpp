#include "grid/text_measure.h"

#include <cstring>

#include "grid/grid_cell.h"

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
    // Key: the default cell's font object, or the cell's own LOGFONT.
    const LOGFONT* own = cell.IsDefaultFont() ? nullptr : cell.GetFont();
    CFont* shared = own ? nullptr : cell.GetFontObject();
    m_key.assign(1, own ? 'L' : 'D');
    if (own)
        m_key.append(reinterpret_cast<const char*>(own), sizeof(LOGFONT));
    else
        m_key.append(reinterpret_cast<const char*>(&shared), sizeof(shared));
    if (m_pLast && m_pLast->key == m_key)
        return *m_pLast;
    for (auto& entry : m_fonts) {
        if (entry->key == m_key)
            return *(m_pLast = entry.get());
    }
    auto entry = std::make_unique<FontEntry>();
    entry->key = m_key;
    if (own) {
        entry->ownFont = std::make_unique<CFont>();
        if (entry->ownFont->CreateFontIndirect(own))
            entry->font = entry->ownFont.get();
    } else {
        entry->font = shared;
    }
    m_fonts.push_back(std::move(entry));
    return *(m_pLast = m_fonts.back().get());
}

void CGridTextMeasure::Select(FontEntry& entry)
{
    if (m_pSelected == &entry)
        return;
    if (entry.font) {
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

CSize CGridTextMeasure::Extent(const CGridCellBase& cell, std::string_view text)
{
    FontEntry& entry = EntryOf(cell);
    if (const auto it = entry.extents.find(text); it != entry.extents.end())
        return it->second;
    Select(entry);
    CSize size = m_pDC->GetTextExtent(text.data(), static_cast<int>(text.size()));
    size.cx += entry.overhang;
    entry.extents.emplace(std::string(text), size);
    return size;
}
