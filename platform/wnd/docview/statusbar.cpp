#include "platform/wnd/docview/statusbar.h"

#include "platform/base/resource_script.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/docview/winapp.h"

namespace {

constexpr int kBarHeight = 20;
constexpr int kPaneGap = 2;
constexpr int kPanePadding = 6;

} // namespace

CStatusBar::CStatusBar() = default;

CStatusBar::~CStatusBar() = default;

const MessageMap* CStatusBar::GetMessageMap() const
{
    static const MessageMap kMap(CControlBar::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CStatusBar::OnPaint>(),
        });
    return &kMap;
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateBar("msctls_statusbar32", parent, style, id);
}

CFont& CStatusBar::Font()
{
    if (!m_font.GetSafeHandle()) {
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        m_font.CreateFontIndirect(&metrics.lfStatusFont);
    }
    return m_font;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (!ids || count <= 0)
        return FALSE;
    m_panes.clear();
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&Font());
    for (int i = 0; i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        if (pane.id == ID_SEPARATOR) {
            AfxLoadString(AFX_IDS_IDLEMESSAGE, pane.text);
        } else {
            AfxLoadString(pane.id, pane.label);
            pane.width = dc.GetTextExtent(pane.label).cx + 2 * kPanePadding;
        }
        m_panes.push_back(pane);
    }
    dc.SelectObject(old);
    Invalidate();
    return TRUE;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[static_cast<std::size_t>(i)].id == id)
            return i;
    return -1;
}

CString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<std::size_t>(index)].text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    CString& current = m_panes[static_cast<std::size_t>(index)].text;
    const CString next(text ? text : "");
    if (current == next)
        return TRUE;
    current = next;
    if (update) {
        CRect rect;
        GetItemRect(index, &rect);
        InvalidateRect(&rect);
    }
    return TRUE;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    if (!rect)
        return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : m_panes)
        fixed += pane.width + kPaneGap;
    int x = kPaneGap;
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_panes[static_cast<std::size_t>(i)];
        const int width = pane.width > 0 ? pane.width : std::max(0, client.Width() - fixed - 2 * kPaneGap);
        if (i == index) {
            *rect = CRect(x, kPaneGap, x + width, client.bottom - 1);
            return;
        }
        x += width + kPaneGap;
    }
    *rect = CRect();
}

CSize CStatusBar::CalcFixedLayout(int cx)
{
    return CSize(cx, kBarHeight);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_panes[static_cast<std::size_t>(i)];
        int key = 0;
        switch (pane.id) {
        case ID_INDICATOR_CAPS:
            key = 0x14; // VK_CAPITAL
            break;
        case ID_INDICATOR_NUM:
            key = 0x90; // VK_NUMLOCK
            break;
        case ID_INDICATOR_SCRL:
            key = 0x91; // VK_SCROLL
            break;
        default:
            continue;
        }
        const CString label = pane.label;
        SetPaneText(i, (GetKeyState(key) & 1) ? label.GetString() : "");
    }
}

void CStatusBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont* old = dc.SelectObject(&Font());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.DeflateRect(kPanePadding / 2, 1);
        dc.DrawText(
            m_panes[static_cast<std::size_t>(i)].text, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    dc.SelectObject(old);
}
