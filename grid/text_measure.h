#pragma once
// Text extents of single-line texts on the grid's measuring DC: each distinct
// text is measured once per font (a font is known by its LOGFONT), and texts
// of figures are added up from their characters' advances once the font is
// found to add them up exactly. The DC is the measure's only user. UI thread.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grid/grid_defs.h"

class CGridCellBase;

class CGridTextMeasure {
public:
    explicit CGridTextMeasure(CDC* pDC);
    ~CGridTextMeasure();
    CGridTextMeasure(const CGridTextMeasure&) = delete;
    CGridTextMeasure& operator=(const CGridTextMeasure&) = delete;

    CDC* GetDC() const { return m_pDC; }
    // The extent of text on one line in cell's font, overhang included.
    CSize Extent(const CGridCellBase& cell, std::string_view text);
    // The height of a line in cell's font: Extent's height for every text.
    LONG LineHeight(const CGridCellBase& cell);

private:
    struct StringHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    struct FontEntry {
        std::string key;
        CFont* font = nullptr; // ownFont once made
        std::unique_ptr<CFont> ownFont;
        LONG overhang = 0;
        BOOL metricsRead = FALSE;
        std::unordered_map<std::string, CSize, StringHash, std::equal_to<>> extents;
        // Figures: advances in 1/64 pixel of the characters of kFigures, and
        // whether widths of such texts add up (checked once per font).
        BOOL figuresChecked = FALSE;
        BOOL figuresAdd = FALSE;
        LONG figureHeight = 0;
        int advance64[128] = {};
    };
    // Works out and checks the figure advances of the selected font.
    void CheckFigures(FontEntry& entry);
    // The width of a text of figures from the advances; -1 when the text has
    // other characters or the font's figures do not add up.
    static LONG FiguresWidth(const FontEntry& entry, std::string_view text);
    FontEntry& EntryOf(const CGridCellBase& cell);
    void Select(FontEntry& entry);

    CDC* m_pDC;
    std::vector<std::unique_ptr<FontEntry>> m_fonts;
    FontEntry* m_pLast = nullptr;
    FontEntry* m_pSelected = nullptr;
    CFont* m_pOldFont = nullptr;
    BOOL m_bFontChanged = FALSE;
    std::string m_key;
};
