#include "platform/wnd/controls/treectrl.h"

#include <algorithm>

#include "platform/gdi/image_list.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/system_params.h"

namespace {

constexpr int kIndent = 19; // per level
constexpr int kTextGap = 3; // between image and text
constexpr int kMinRowHeight = 16;

} // namespace

struct CTreeCtrl::Item {
    CString text;
    int image = 0;
    int selectedImage = 0;
    DWORD_PTR data = 0;
    bool expanded = false;
    Item* parent = nullptr;
    int level = 0;
    std::vector<std::unique_ptr<Item>> children;

    HTREEITEM Handle() { return reinterpret_cast<HTREEITEM>(this); }
};

CTreeCtrl::CTreeCtrl() = default;

CTreeCtrl::~CTreeCtrl() = default;

const MessageMap* CTreeCtrl::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CTreeCtrl::OnPaint>(),
            OnWm<WM_LBUTTONDOWN, &CTreeCtrl::OnLButtonDown>(),
            OnWm<WM_LBUTTONDBLCLK, &CTreeCtrl::OnLButtonDblClk>(),
            OnWm<WM_KEYDOWN, &CTreeCtrl::OnKeyDown>(),
            OnWm<WM_GETDLGCODE, &CTreeCtrl::OnGetDlgCode>(),
        });
    return &kMap;
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("SysTreeView32", nullptr, style | WS_CHILD, rect, parent, id);
}

CFont& CTreeCtrl::Font()
{
    if (!m_font.GetSafeHandle()) {
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        m_font.CreateFontIndirect(&metrics.lfMessageFont);
    }
    return m_font;
}

CImageList* CTreeCtrl::SetImageList(CImageList* images, int kind)
{
    if (kind != TVSIL_NORMAL)
        return nullptr;
    CImageList* old = m_images;
    m_images = images;
    Invalidate();
    return old;
}

CImageList* CTreeCtrl::GetImageList(int kind) const
{
    return kind == TVSIL_NORMAL ? m_images : nullptr;
}

CTreeCtrl::Item* CTreeCtrl::Find(HTREEITEM handle) const
{
    if (!handle)
        return nullptr;
    std::vector<Item*> all;
    Collect(m_roots, all, false);
    for (Item* item : all)
        if (item->Handle() == handle)
            return item;
    return nullptr;
}

void CTreeCtrl::Collect(
    const std::vector<std::unique_ptr<Item>>& items, std::vector<Item*>& rows, bool onlyExpanded) const
{
    for (const auto& item : items) {
        rows.push_back(item.get());
        if (!onlyExpanded || item->expanded)
            Collect(item->children, rows, onlyExpanded);
    }
}

void CTreeCtrl::Visible(std::vector<Item*>& rows) const
{
    Collect(m_roots, rows, true);
}

std::vector<std::unique_ptr<CTreeCtrl::Item>>* CTreeCtrl::SiblingsOf(Item* parent)
{
    return parent ? &parent->children : &m_roots;
}

const std::vector<std::unique_ptr<CTreeCtrl::Item>>& CTreeCtrl::SiblingsOf(const Item* parent) const
{
    return parent ? parent->children : m_roots;
}

HTREEITEM CTreeCtrl::InsertItem(
    LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM insertAfter)
{
    Item* parentItem = nullptr;
    if (parent && parent != TVI_ROOT) {
        parentItem = Find(parent);
        if (!parentItem)
            return nullptr;
    }
    auto item = std::make_unique<Item>();
    item->text = text ? text : "";
    item->image = image;
    item->selectedImage = selectedImage;
    item->parent = parentItem;
    item->level = parentItem ? parentItem->level + 1 : 0;
    Item* raw = item.get();
    std::vector<std::unique_ptr<Item>>& siblings = *SiblingsOf(parentItem);
    auto at = siblings.end();
    if (insertAfter == TVI_FIRST) {
        at = siblings.begin();
    } else if (insertAfter && insertAfter != TVI_LAST && insertAfter != TVI_ROOT) {
        auto it = std::find_if(
            siblings.begin(), siblings.end(), [&](const auto& s) { return s->Handle() == insertAfter; });
        if (it != siblings.end())
            at = it + 1;
    }
    siblings.insert(at, std::move(item));
    Invalidate();
    return raw->Handle();
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM insertAfter)
{
    return InsertItem(text, 0, 0, parent, insertAfter);
}

void CTreeCtrl::Forget(Item* item)
{
    if (m_selected == item)
        m_selected = nullptr;
    for (auto& child : item->children)
        Forget(child.get());
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM handle)
{
    if (handle == TVI_ROOT)
        return DeleteAllItems();
    Item* item = Find(handle);
    if (!item)
        return FALSE;
    Forget(item);
    std::vector<std::unique_ptr<Item>>& siblings = *SiblingsOf(item->parent);
    siblings.erase(
        std::find_if(siblings.begin(), siblings.end(), [&](const auto& s) { return s.get() == item; }));
    Invalidate();
    return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems()
{
    m_selected = nullptr;
    m_roots.clear();
    Invalidate();
    return TRUE;
}

UINT CTreeCtrl::GetCount() const
{
    std::vector<Item*> all;
    Collect(m_roots, all, false);
    return static_cast<UINT>(all.size());
}

CString CTreeCtrl::GetItemText(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item ? item->text : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM handle, LPCTSTR text)
{
    Item* item = Find(handle);
    if (!item)
        return FALSE;
    item->text = text ? text : "";
    Invalidate();
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM handle, int& image, int& selectedImage) const
{
    const Item* item = Find(handle);
    if (!item)
        return FALSE;
    image = item->image;
    selectedImage = item->selectedImage;
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item ? item->data : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM handle, DWORD_PTR data)
{
    Item* item = Find(handle);
    if (!item)
        return FALSE;
    item->data = data;
    return TRUE;
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    return m_roots.empty() ? nullptr : m_roots.front()->Handle();
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item && item->parent ? item->parent->Handle() : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item && !item->children.empty() ? item->children.front()->Handle() : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    if (!item)
        return nullptr;
    const auto& siblings = SiblingsOf(item->parent);
    for (std::size_t i = 0; i + 1 < siblings.size(); ++i)
        if (siblings[i].get() == item)
            return siblings[i + 1]->Handle();
    return nullptr;
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    if (!item)
        return nullptr;
    const auto& siblings = SiblingsOf(item->parent);
    for (std::size_t i = 1; i < siblings.size(); ++i)
        if (siblings[i].get() == item)
            return siblings[i - 1]->Handle();
    return nullptr;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const
{
    switch (code) {
    case TVGN_ROOT:
        return GetRootItem();
    case TVGN_NEXT:
        return GetNextSiblingItem(item);
    case TVGN_PREVIOUS:
        return GetPrevSiblingItem(item);
    case TVGN_PARENT:
        return GetParentItem(item);
    case TVGN_CHILD:
        return GetChildItem(item);
    case TVGN_CARET:
        return GetSelectedItem();
    default:
        return nullptr;
    }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item && !item->children.empty();
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return m_selected ? m_selected->Handle() : nullptr;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM handle)
{
    Item* item = nullptr;
    if (handle) {
        item = Find(handle);
        if (!item)
            return FALSE;
    }
    return ChangeSelection(item, TVC_UNKNOWN);
}

BOOL CTreeCtrl::ChangeSelection(Item* item, UINT action)
{
    if (item == m_selected)
        return TRUE;
    NMTREEVIEW notify;
    notify.hdr.hwndFrom = GetSafeHwnd();
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.action = action;
    notify.itemOld.hItem = GetSelectedItem();
    notify.itemOld.lParam = m_selected ? static_cast<LPARAM>(m_selected->data) : 0;
    notify.itemNew.hItem = item ? item->Handle() : nullptr;
    notify.itemNew.lParam = item ? static_cast<LPARAM>(item->data) : 0;
    CWnd* parent = GetParent();
    const HWND self = GetSafeHwnd();
    notify.hdr.code = TVN_SELCHANGING;
    if (parent && parent->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify)) != 0)
        return FALSE;
    if (!IsWindow(self) || (item && !Find(item->Handle())))
        return FALSE;
    m_selected = item;
    // A selected item is shown: its ancestors open.
    for (Item* p = item ? item->parent : nullptr; p; p = p->parent)
        p->expanded = true;
    Invalidate();
    notify.hdr.code = TVN_SELCHANGED;
    if (parent)
        parent->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    return TRUE;
}

BOOL CTreeCtrl::Expand(HTREEITEM handle, UINT code)
{
    Item* item = Find(handle);
    if (!item || item->children.empty())
        return FALSE;
    switch (code) {
    case TVE_EXPAND:
        item->expanded = true;
        break;
    case TVE_COLLAPSE:
        item->expanded = false;
        break;
    case TVE_TOGGLE:
        item->expanded = !item->expanded;
        break;
    default:
        return FALSE;
    }
    // A collapsed item hides a selected descendant: the selection moves up.
    if (!item->expanded) {
        for (Item* p = m_selected ? m_selected->parent : nullptr; p; p = p->parent)
            if (p == item) {
                ChangeSelection(item, TVC_UNKNOWN);
                break;
            }
    }
    Invalidate();
    return TRUE;
}

BOOL CTreeCtrl::IsExpanded(HTREEITEM handle) const
{
    const Item* item = Find(handle);
    return item && item->expanded;
}

int CTreeCtrl::GetItemHeight() const
{
    int cx = 0;
    int cy = 0;
    if (m_images)
        m_images->GetIconSize(&cx, &cy);
    return std::max({ kMinRowHeight, cy + 2 });
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM handle, LPRECT rect, BOOL textOnly) const
{
    if (!rect)
        return FALSE;
    std::vector<Item*> rows;
    Visible(rows);
    CRect client;
    GetClientRect(&client);
    const int height = GetItemHeight();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->Handle() != handle)
            continue;
        const int top = static_cast<int>(i) * height;
        if (!textOnly) {
            *rect = CRect(0, top, client.right, top + height);
            return TRUE;
        }
        int cx = 0;
        int cy = 0;
        if (m_images)
            m_images->GetIconSize(&cx, &cy);
        const int left = rows[i]->level * kIndent + kIndent + (m_images ? cx + kTextGap : 0);
        CClientDC dc(const_cast<CTreeCtrl*>(this));
        CFont* old = dc.SelectObject(&const_cast<CTreeCtrl*>(this)->Font());
        const int width = dc.GetTextExtent(rows[i]->text).cx + 4;
        dc.SelectObject(old);
        *rect = CRect(left, top, left + width, top + height);
        return TRUE;
    }
    return FALSE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint point) const
{
    if (point.y < 0 || point.x < 0)
        return nullptr;
    std::vector<Item*> rows;
    Visible(rows);
    const std::size_t row = static_cast<std::size_t>(point.y / GetItemHeight());
    return row < rows.size() ? rows[row]->Handle() : nullptr;
}

void CTreeCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    CFont* old = dc.SelectObject(&Font());
    dc.SetBkMode(TRANSPARENT);
    int cx = 0;
    int cy = 0;
    if (m_images)
        m_images->GetIconSize(&cx, &cy);
    const int height = GetItemHeight();
    std::vector<Item*> rows;
    Visible(rows);
    CPen linePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
    CPen* oldPen = dc.SelectObject(&linePen);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Item* item = rows[i];
        const int top = static_cast<int>(i) * height;
        const int mid = top + height / 2;
        const int lineX = item->level * kIndent + kIndent / 2;
        if (GetStyle() & TVS_HASLINES) {
            if (item->level > 0 || (GetStyle() & TVS_LINESATROOT)) {
                dc.MoveTo(lineX, mid);
                dc.LineTo(lineX + kIndent / 2, mid);
            }
            if (item->parent) {
                dc.MoveTo(lineX, top);
                const auto& siblings = SiblingsOf(static_cast<const Item*>(item->parent));
                dc.LineTo(lineX, siblings.back().get() == item ? mid : top + height);
            }
        }
        int x = item->level * kIndent + kIndent;
        const bool selected = item == m_selected;
        if (m_images) {
            m_images->Draw(&dc, selected ? item->selectedImage : item->image,
                CPoint(x, top + (height - cy) / 2), ILD_TRANSPARENT);
            x += cx + kTextGap;
        }
        CRect text(x, top, x, top + height);
        dc.DrawText(item->text, &text, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        text.top = top;
        text.bottom = top + height;
        text.right += 4;
        if (selected) {
            const bool focused = GetFocus() == this;
            if (focused || (GetStyle() & TVS_SHOWSELALWAYS))
                dc.FillSolidRect(&text, GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            dc.SetTextColor(GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        } else {
            dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        }
        CRect inner = text;
        inner.left += 2;
        dc.DrawText(item->text, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(old);
}

void CTreeCtrl::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    if (Item* item = Find(HitTest(point)))
        ChangeSelection(item, TVC_BYMOUSE);
}

void CTreeCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    if (HTREEITEM item = HitTest(point))
        Expand(item, TVE_TOGGLE);
}

void CTreeCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    std::vector<Item*> rows;
    Visible(rows);
    if (rows.empty())
        return;
    auto it = std::find(rows.begin(), rows.end(), m_selected);
    switch (key) {
    case VK_DOWN:
        if (it == rows.end())
            ChangeSelection(rows.front(), TVC_BYKEYBOARD);
        else if (it + 1 != rows.end())
            ChangeSelection(*(it + 1), TVC_BYKEYBOARD);
        break;
    case VK_UP:
        if (it != rows.end() && it != rows.begin())
            ChangeSelection(*(it - 1), TVC_BYKEYBOARD);
        break;
    case VK_HOME:
        ChangeSelection(rows.front(), TVC_BYKEYBOARD);
        break;
    case VK_END:
        ChangeSelection(rows.back(), TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (m_selected && !m_selected->children.empty()) {
            if (!m_selected->expanded)
                Expand(m_selected->Handle(), TVE_EXPAND);
            else
                ChangeSelection(m_selected->children.front().get(), TVC_BYKEYBOARD);
        }
        break;
    case VK_LEFT:
        if (m_selected && m_selected->expanded)
            Expand(m_selected->Handle(), TVE_COLLAPSE);
        else if (m_selected && m_selected->parent)
            ChangeSelection(m_selected->parent, TVC_BYKEYBOARD);
        break;
    default:
        break;
    }
}

UINT CTreeCtrl::OnGetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}
