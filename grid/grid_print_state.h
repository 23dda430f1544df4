#pragma once
// What a grid keeps while it prints: the print font, the page geometry and
// the margins, in the logical units in which the grid draws a page.

#include <memory>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi_types.h"

struct CGridPrintState {
    std::unique_ptr<CFont> m_PrinterFont; // from OnBeginPrinting to OnEndPrinting
    CSize m_CharSize;
    CSize m_PaperSize; // printable area, device units
    CSize m_LogicalPageSize;
    int m_nPageHeight = 0; // body rows
    int m_nPageWidth = 0; // non-fixed columns
    int m_nCurrPrintRow = 0;
    int m_nPrintColumn = 0;
    int m_nPageCount = 0;
    // In character heights (header, footer, top, bottom, gap) and widths
    // (left, right). Top and bottom are kept but not used by the layout.
    int m_nHeaderHeight = 2;
    int m_nFooterHeight = 2;
    int m_nLeftMargin = 4;
    int m_nRightMargin = 4;
    int m_nTopMargin = 1;
    int m_nBottomMargin = 1;
    int m_nGap = 1;
};
