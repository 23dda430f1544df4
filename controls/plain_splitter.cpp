#include "controls/plain_splitter.h"

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/paint_dc.h"

namespace {

constexpr UINT kRedrawNoChildren = 0x0040;

} // namespace

CPlainSplitterWnd::CPlainSplitterWnd() = default;

CPlainSplitterWnd::~CPlainSplitterWnd() = default;

const MessageMap* CPlainSplitterWnd::GetMessageMap() const
{
    static const MessageMap kMap(CSplitterWnd::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CPlainSplitterWnd::OnPaint>(),
        });
    return &kMap;
}

void CPlainSplitterWnd::OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect)
{
    if (!dc) {
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE | kRedrawNoChildren);
        return;
    }
    if (type != ESplitType::Border) {
        // Boxes, bars and intersections as the standard splitter draws them.
        CSplitterWnd::OnDrawSplitter(dc, type, rect);
        return;
    }
    CRect r(rect);
    dc->Draw3dRect(&r, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    r.DeflateRect(1, 1);
    dc->Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

void CPlainSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect inside;
    GetInsideRect(inside);
    DrawAllSplitBars(&dc, inside.right, inside.bottom);
}
