#include "grid/grid_url_cell.h"

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/desktop/shell_services.h"

namespace {

// The link prefixes, each searched anywhere in a text, in this order.
constexpr const char* kUrlPrefixes[] = { "www.",
    "http:", "mailto:", "ftp:", "https:", "news:", "gopher:", "telnet:", "url:", "file:", "ftp." };

// The prefixes a click may open, with what goes in front of the link.
struct Launchable {
    const char* prefix;
    const char* scheme;
};
constexpr Launchable kLaunchable[]
    = { { "http:", "" }, { "https:", "" }, { "mailto:", "" }, { "www.", "http://" } };

} // namespace

CGridURLCell::CGridURLCell()
    : m_clrUrl(::GetSysColor(COLOR_HIGHLIGHT))
{ }

BOOL CGridURLCell::HasUrl(const CString& str)
{
    return std::any_of(std::begin(kUrlPrefixes), std::end(kUrlPrefixes),
        [&](const char* prefix) { return str.Find(prefix) >= 0; });
}

CString CGridURLCell::LaunchAddress(const CString& link)
{
    // The earliest web or mail prefix in the word starts the address.
    int best = -1;
    const Launchable* chosen = nullptr;
    for (const Launchable& l : kLaunchable) {
        const int at = link.Find(l.prefix);
        if (at >= 0 && (best < 0 || at < best)) {
            best = at;
            chosen = &l;
        }
    }
    if (!chosen)
        return CString();
    // A web or mail prefix inside another scheme's link ("file://x/http:")
    // does not make it a web link.
    for (const char* other : { "ftp:", "news:", "gopher:", "telnet:", "url:", "file:", "ftp." }) {
        const int at = link.Find(other);
        if (at >= 0 && at < best)
            return CString();
    }
    return CString(chosen->scheme) + link.Mid(best);
}

BOOL CGridURLCell::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    if (HasUrl(GetText()))
        SetTextClr(m_clrUrl);
    m_Rect = rect;
    return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
}

BOOL CGridURLCell::Edit(int, int, CRect, CPoint, UINT, UINT)
{
    return FALSE;
}

void CGridURLCell::OnClick(CPoint pointCellRelative)
{
    CString link;
    if (!m_bLaunchUrl || !OverURL(pointCellRelative, link))
        return;
    const CString address = LaunchAddress(link);
    if (address.IsEmpty())
        return;
    SHELLEXECUTEINFO info;
    info.hwnd = m_pGrid ? m_pGrid->GetSafeHwnd() : nullptr;
    info.lpVerb = "open";
    info.lpFile = address.GetString();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteEx(&info);
}

BOOL CGridURLCell::OnSetCursor()
{
    CString link;
    CPoint point;
    if (m_pGrid && m_pGrid->GetSafeHwnd() && ::GetCursorPos(&point)) {
        m_pGrid->ScreenToClient(&point);
        if (OverURL(point - m_Rect.TopLeft(), link)) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
    }
    return CGridCell::OnSetCursor();
}

BOOL CGridURLCell::OverURL(CPoint pointCellRelative, CString& strURL)
{
    const CString text = GetText();
    if (text.IsEmpty() || !HasUrl(text) || m_Rect.IsRectEmpty())
        return FALSE;
    const CPoint point = pointCellRelative + m_Rect.TopLeft();
    const int margin = static_cast<int>(GetMargin());
    CRect textRect = m_Rect;
    textRect.DeflateRect(margin, 0);
    GetTextRect(textRect);
    if (point.x < textRect.left || point.x > textRect.right)
        return FALSE;
    // The text's own width (the extent holds four margins).
    const int width = std::max(1, static_cast<int>(GetTextExtent(text).cx) - 4 * margin);
    const DWORD format = GetFormat();
    int left = textRect.left;
    if (format & DT_RIGHT)
        left = textRect.right - width;
    else if (format & DT_CENTER)
        left = (textRect.left + textRect.right - width) / 2;
    if (point.x < left || point.x > left + width)
        return FALSE;
    const int length = text.GetLength();
    // The character under the point, by the average character width.
    const int index = std::clamp((point.x - left) * length / width, 0, length - 1);
    if (text.GetAt(index) == ' ')
        return FALSE;
    int start = index;
    while (start > 0 && text.GetAt(start - 1) != ' ')
        --start;
    int end = index;
    while (end < length && text.GetAt(end) != ' ')
        ++end;
    const CString word = text.Mid(start, end - start);
    if (!HasUrl(word))
        return FALSE;
    strURL = word;
    return TRUE;
}
