// Menus: a handle table of item lists, CMenu, and popups drawn into images
// (the owner measures and draws owner-drawn items) and shown with QMenu.

#include "platform/wnd/core/menu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidgetAction>

#include "platform/base/resource_script.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/font.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/internal/dispatch_internal.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/system_params.h"

namespace {

constexpr int kPopupBorder = 3;
constexpr int kCheckColumn = 20;
constexpr int kSeparatorHeight = 9;

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    CString text;
    UINT_PTR data = 0;
    HMENU sub = nullptr;
};

struct MenuData {
    bool popup = false;
    std::vector<MenuItem> items;
    CMenu* object = nullptr;
    std::unique_ptr<CMenu> wrapper;
};

struct MenuTable {
    std::recursive_mutex mutex;
    std::map<HMENU, std::shared_ptr<MenuData>> menus;
    std::uintptr_t next = 0x20000;
};

MenuTable& Table()
{
    static MenuTable* table = new MenuTable;
    return *table;
}

std::shared_ptr<MenuData> Find(HMENU menu)
{
    std::lock_guard lock(Table().mutex);
    auto it = Table().menus.find(menu);
    return it == Table().menus.end() ? nullptr : it->second;
}

HMENU NewMenu(bool popup)
{
    auto data = std::make_shared<MenuData>();
    data->popup = popup;
    std::lock_guard lock(Table().mutex);
    Table().next += 4;
    auto menu = reinterpret_cast<HMENU>(Table().next);
    Table().menus[menu] = data;
    return menu;
}

// The item (its menu and index) for position or command id; commands are
// searched in submenus too.
bool Locate(HMENU menu, UINT position, UINT flags, std::shared_ptr<MenuData>* owner, size_t* index)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data)
        return false;
    if (flags & MF_BYPOSITION) {
        if (position >= data->items.size())
            return false;
        *owner = data;
        *index = position;
        return true;
    }
    for (size_t i = 0; i < data->items.size(); ++i) {
        const MenuItem& item = data->items[i];
        if (item.sub) {
            if (Locate(item.sub, position, flags, owner, index))
                return true;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == position) {
            *owner = data;
            *index = i;
            return true;
        }
    }
    return false;
}

MenuItem MakeItem(UINT flags, UINT_PTR id, LPCTSTR text)
{
    MenuItem item;
    item.flags = flags & ~(MF_BYPOSITION | MF_END);
    if (flags & MF_POPUP) {
        item.sub = reinterpret_cast<HMENU>(id);
        item.id = id;
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = id;
    }
    if (flags & MF_OWNERDRAW)
        item.data = reinterpret_cast<UINT_PTR>(text);
    else if (!(flags & (MF_SEPARATOR | MF_BITMAP)) && text)
        item.text = text;
    return item;
}

void DropMenu(HMENU menu)
{
    std::shared_ptr<MenuData> data;
    {
        std::lock_guard lock(Table().mutex);
        auto it = Table().menus.find(menu);
        if (it == Table().menus.end())
            return;
        data = it->second;
        Table().menus.erase(it);
    }
    for (const MenuItem& item : data->items)
        if (item.sub)
            DropMenu(item.sub);
    if (data->object)
        data->object->m_hMenu = nullptr;
    if (data->wrapper)
        data->wrapper->m_hMenu = nullptr;
}

void AddTemplateItems(HMENU menu, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& item : items) {
        const UINT state
            = item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK);
        if (item.IsPopup()) {
            HMENU sub = CreatePopupMenu();
            AddTemplateItems(sub, item.children);
            AppendMenu(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), item.text);
        } else if (item.IsSeparator()) {
            AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenu(menu, MF_STRING | state, item.id, item.text);
        }
    }
}

struct ScriptedAnswer {
    bool key = false;
    UINT value = 0;
};

std::vector<PopupMenuRecord> g_records; // UI thread
std::vector<ScriptedAnswer> g_script;
bool g_scripted = false;

// The command a typed character chooses: the owner answers WM_MENUCHAR; an
// MNC_EXECUTE answer names the item by position. 0 when nothing is chosen.
UINT MenuCharCommand(HMENU menu, HWND owner, UINT character)
{
    // An item's own "&" letter first (an enabled command), then the owner.
    const int marked = AfxFindMenuMnemonic(menu, character);
    if (marked >= 0) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(marked), MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, marked);
        return (state & (MF_GRAYED | MF_DISABLED)) || id == static_cast<UINT>(-1) ? 0 : id;
    }
    if (!IsWindow(owner))
        return 0;
    const LRESULT answer = ::SendMessage(owner, WM_MENUCHAR,
        MAKEWPARAM(static_cast<WORD>(character), MF_POPUP), reinterpret_cast<LPARAM>(menu));
    if (HIWORD(static_cast<std::uintptr_t>(answer)) != MNC_EXECUTE)
        return 0;
    const UINT id = GetMenuItemID(menu, LOWORD(static_cast<std::uintptr_t>(answer)));
    return id == static_cast<UINT>(-1) ? 0 : id;
}

// Popup drawing ---------------------------------------------------------------------

struct Layout {
    std::vector<CRect> rects; // image coordinates
    CSize size;
};

HFONT MenuFont()
{
    static HFONT font = [] {
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return CreateFontIndirect(&metrics.lfMenuFont);
    }();
    return font;
}

void MeasureOwnerDrawn(HMENU menu, HWND owner, MEASUREITEMSTRUCT* measure)
{
    bool defaultReached = true;
    if (IsWindow(owner))
        dispatch_internal::Dispatch(
            owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(measure), &defaultReached);
    if (defaultReached) {
        if (CMenu* object = CMenu::FromHandlePermanent(menu))
            object->MeasureItem(measure);
    }
}

Layout MeasurePopup(HMENU menu, HWND owner, CDC& dc)
{
    Layout layout;
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data)
        return layout;
    const std::vector<MenuItem> items = data->items;
    int width = 0;
    std::vector<int> heights;
    for (const MenuItem& item : items) {
        int w = 0;
        int h = 0;
        if (item.flags & MF_OWNERDRAW) {
            MEASUREITEMSTRUCT measure;
            measure.CtlType = ODT_MENU;
            measure.itemID = static_cast<UINT>(item.id);
            measure.itemData = item.data;
            MeasureOwnerDrawn(menu, owner, &measure);
            // As on Windows, owner-drawn items get room for a check mark added.
            w = static_cast<int>(measure.itemWidth) + GetSystemMetrics(SM_CXMENUCHECK) - 1;
            h = static_cast<int>(measure.itemHeight);
        } else if (item.flags & MF_SEPARATOR) {
            h = kSeparatorHeight;
        } else {
            CString text = item.text;
            text.Replace("\t", "    ");
            const CSize extent = dc.GetTextExtent(text);
            w = extent.cx + 2 * kCheckColumn;
            h = std::max(GetSystemMetrics(SM_CYMENU), static_cast<int>(extent.cy) + 4);
        }
        width = std::max(width, w);
        heights.push_back(h);
    }
    int y = kPopupBorder;
    for (int h : heights) {
        layout.rects.emplace_back(kPopupBorder, y, kPopupBorder + width, y + h);
        y += h;
    }
    layout.size = CSize(width + 2 * kPopupBorder, y + kPopupBorder);
    return layout;
}

void DrawStringItem(CDC& dc, const MenuItem& item, const CRect& rect, bool selected)
{
    const bool grayed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    if (item.flags & MF_SEPARATOR) {
        CRect line(rect.left + 1, rect.top + rect.Height() / 2 - 1, rect.right - 1, rect.bottom);
        dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    dc.FillSolidRect(&rect, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    if (item.flags & MF_CHECKED) {
        const int cx = rect.left + kCheckColumn / 2;
        const int cy = rect.top + rect.Height() / 2;
        const POINT mark[] = { { cx - 4, cy }, { cx - 1, cy + 3 }, { cx + 4, cy - 3 } };
        dc.Polyline(mark, 3);
    }
    const int tab = item.text.Find('\t');
    CRect text(rect.left + kCheckColumn, rect.top, rect.right - kCheckColumn / 2, rect.bottom);
    dc.DrawText(tab < 0 ? item.text : item.text.Left(tab), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (tab >= 0)
        dc.DrawText(item.text.Mid(tab + 1), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

// Item rectangles as the owner measures them, string items in the menu font.
Layout LayoutPopup(HMENU menu, HWND owner)
{
    QImage measureImage(1, 1, QImage::Format_RGB32);
    CDC measureDc;
    measureDc.Attach(GdiCreateDeviceDC(&measureImage, QPoint(0, 0)));
    measureDc.SelectObject(CFont::FromHandle(MenuFont()));
    return MeasurePopup(menu, owner, measureDc);
}

QImage RenderPopup(HMENU menu, HWND owner, int selected)
{
    const Layout layout = LayoutPopup(menu, owner);
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data)
        return QImage();
    const std::vector<MenuItem> items = data->items;
    QImage image(std::max<int>(1, layout.size.cx), std::max<int>(1, layout.size.cy), QImage::Format_RGB32);
    image.fill(GdiColor(GetSysColor(COLOR_MENU)));
    CDC dc;
    dc.Attach(GdiCreateDeviceDC(&image, QPoint(0, 0)));
    CRect frame(0, 0, layout.size.cx, layout.size.cy);
    dc.DrawEdge(&frame, EDGE_RAISED, BF_RECT);
    for (size_t i = 0; i < items.size() && i < layout.rects.size(); ++i) {
        const MenuItem& item = items[i];
        const bool isSelected = static_cast<int>(i) == selected;
        const int level = dc.SaveDC();
        dc.SelectObject(CFont::FromHandle(MenuFont()));
        if (item.flags & MF_OWNERDRAW) {
            DRAWITEMSTRUCT draw;
            draw.CtlType = ODT_MENU;
            draw.itemID = static_cast<UINT>(item.id);
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = (isSelected ? ODS_SELECTED : 0) | ((item.flags & MF_GRAYED) ? ODS_GRAYED : 0)
                | ((item.flags & (MF_GRAYED | MF_DISABLED)) ? ODS_DISABLED : 0)
                | ((item.flags & MF_CHECKED) ? ODS_CHECKED : 0);
            draw.hwndItem = reinterpret_cast<HWND>(menu);
            draw.hDC = dc.GetSafeHdc();
            draw.rcItem = layout.rects[i];
            draw.itemData = item.data;
            bool defaultReached = true;
            if (IsWindow(owner))
                dispatch_internal::Dispatch(
                    owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), &defaultReached);
            if (defaultReached) {
                if (CMenu* object = CMenu::FromHandlePermanent(menu))
                    object->DrawItem(&draw);
            }
        } else {
            DrawStringItem(dc, item, layout.rects[i], isSelected);
        }
        dc.RestoreDC(level);
    }
    return image;
}

// An owner-drawn item in a QMenu: its two looks cut from the rendered popup.
class DrawnItemWidget : public QWidget {
public:
    DrawnItemWidget(QImage normal, QImage selected)
        : m_normal(std::move(normal))
        , m_selected(std::move(selected))
    {
        setFixedSize(m_normal.size());
        setMouseTracking(true);
    }
    bool m_hot = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_hot ? m_selected : m_normal);
    }
    void enterEvent(QEnterEvent*) override
    {
        m_hot = true;
        update();
    }
    void leaveEvent(QEvent*) override
    {
        m_hot = false;
        update();
    }

private:
    QImage m_normal;
    QImage m_selected;
};

// Keys typed into shown popups by the test seam.
struct TypedKey {
    UINT vk = 0;
    QString text;
};
std::deque<TypedKey> g_keys;
bool g_typing = false; // the seam is active
bool g_typeScheduled = false;
std::vector<HMENU> g_shown;

void TypeNextKey()
{
    g_typeScheduled = false;
    QPointer<QWidget> popup = QApplication::activePopupWidget();
    if (!g_typing || !popup)
        return;
    TypedKey key { VK_ESCAPE, QString() };
    if (!g_keys.empty()) {
        key = g_keys.front();
        g_keys.pop_front();
    }
    const int qtKey = widget_bridge::QtKeyFromVirtual(key.vk);
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, key.text);
    QApplication::sendEvent(popup, &press);
    if (popup) {
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, key.text);
        QApplication::sendEvent(popup, &release);
    }
    g_typeScheduled = true;
    QTimer::singleShot(0, qApp, TypeNextKey);
}

// A popup of the menu table. It offers typed characters to the owner
// (WM_MENUCHAR) when the menu has owner-drawn items, whose texts Qt does not
// know; a menu bar's popup takes Left and Right as steps along the bar.
class OwnerMenu : public QMenu {
public:
    OwnerMenu(HMENU menu, HWND owner, QWidget* parent, OwnerMenu* root = nullptr)
        : QMenu(parent)
        , m_menu(menu)
        , m_owner(owner)
        , m_root(root ? root : this)
    { }
    UINT m_chosen = 0;
    bool m_bar = false;
    bool m_firstSelected = false;
    int m_step = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (m_root->m_bar && StepsAlongTheBar(event->key()))
            return;
        const QString text = event->text();
        if (text.size() == 1 && text[0].isPrint()) {
            if (const UINT command = MenuCharCommand(m_menu, m_owner, text[0].unicode())) {
                m_root->m_chosen = command;
                CloseToTheRoot();
                return;
            }
        }
        QMenu::keyPressEvent(event);
    }

    void showEvent(QShowEvent* event) override
    {
        QMenu::showEvent(event);
        if (this == m_root)
            g_shown.push_back(m_menu);
        if (m_firstSelected)
            SelectFirstItem();
        if (g_typing && !g_typeScheduled) {
            g_typeScheduled = true;
            QTimer::singleShot(0, qApp, TypeNextKey);
        }
    }

private:
    void SelectFirstItem()
    {
        for (QAction* action : actions())
            if (action->isEnabled() && !action->isSeparator()) {
                setActiveAction(action);
                return;
            }
    }

    // Right past an item without a submenu, or Left in the bar's popup itself.
    bool StepsAlongTheBar(int key)
    {
        const QAction* active = activeAction();
        int step = 0;
        if (key == Qt::Key_Right && !(active && active->menu()))
            step = 1;
        else if (key == Qt::Key_Left && this == m_root)
            step = -1;
        else
            return false;
        m_root->m_step = step;
        CloseToTheRoot();
        return true;
    }

    void CloseToTheRoot()
    {
        for (QWidget* menu = this; menu; menu = menu->parentWidget()) {
            menu->close();
            if (menu == m_root)
                break;
        }
    }

    HMENU m_menu;
    HWND m_owner;
    OwnerMenu* m_root;
};

void FillQMenu(OwnerMenu& target, HMENU menu, HWND owner, OwnerMenu& root)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data)
        return;
    const std::vector<MenuItem> items = data->items;
    const QImage normal = RenderPopup(menu, owner, -1);
    const Layout layout = LayoutPopup(menu, owner);
    for (size_t i = 0; i < items.size() && i < layout.rects.size(); ++i) {
        const MenuItem& item = items[i];
        const QString text = QString::fromUtf8(item.text.GetString(), item.text.GetLength());
        if (item.flags & MF_SEPARATOR) {
            target.addSeparator();
        } else if (item.sub) {
            auto* sub = new OwnerMenu(item.sub, owner, &target, &root);
            sub->setTitle(text);
            target.addMenu(sub);
            FillQMenu(*sub, item.sub, owner, root);
        } else if (item.flags & MF_OWNERDRAW) {
            const CRect& r = layout.rects[i];
            const QRect cell(r.left, r.top, r.Width(), r.Height());
            const QImage selected = RenderPopup(menu, owner, static_cast<int>(i));
            auto* action = new QWidgetAction(&target);
            action->setDefaultWidget(new DrawnItemWidget(normal.copy(cell), selected.copy(cell)));
            action->setData(QVariant::fromValue(static_cast<qulonglong>(item.id)));
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            target.addAction(action);
        } else {
            QAction* action = target.addAction(text);
            action->setData(QVariant::fromValue(static_cast<qulonglong>(item.id)));
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            action->setCheckable((item.flags & MF_CHECKED) != 0);
            action->setChecked((item.flags & MF_CHECKED) != 0);
        }
    }
}

} // namespace

// ---- Handle-level calls ------------------------------------------------------------

HMENU CreateMenu()
{
    return NewMenu(false);
}

HMENU CreatePopupMenu()
{
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU menu)
{
    if (!Find(menu))
        return FALSE;
    DropMenu(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu)
{
    return Find(menu) ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCTSTR item)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data || ((flags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(id))))
        return FALSE;
    std::lock_guard lock(Table().mutex);
    data->items.push_back(MakeItem(flags, id, item));
    return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCTSTR item)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data || ((flags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(id))))
        return FALSE;
    std::shared_ptr<MenuData> owner = data;
    size_t index = data->items.size();
    if (!(flags & MF_BYPOSITION) || position < data->items.size()) {
        if (!Locate(menu, position, flags, &owner, &index)) {
            if (!(flags & MF_BYPOSITION))
                return FALSE;
            owner = data;
            index = data->items.size();
        }
    }
    std::lock_guard lock(Table().mutex);
    owner->items.insert(owner->items.begin() + static_cast<std::ptrdiff_t>(index), MakeItem(flags, id, item));
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCTSTR item)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, position, flags, &owner, &index))
        return FALSE;
    MenuItem replacement = MakeItem(flags, id, item);
    HMENU old = owner->items[index].sub;
    {
        std::lock_guard lock(Table().mutex);
        owner->items[index] = replacement;
    }
    if (old && old != replacement.sub)
        DropMenu(old);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, position, flags, &owner, &index))
        return FALSE;
    std::lock_guard lock(Table().mutex);
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, position, flags, &owner, &index))
        return FALSE;
    HMENU sub = owner->items[index].sub;
    {
        std::lock_guard lock(Table().mutex);
        owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (sub)
        DropMenu(sub);
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    std::shared_ptr<MenuData> data = Find(menu);
    return data ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data || position < 0 || static_cast<size_t>(position) >= data->items.size())
        return static_cast<UINT>(-1);
    const MenuItem& item = data->items[static_cast<size_t>(position)];
    if (item.sub)
        return static_cast<UINT>(-1);
    return static_cast<UINT>(item.id);
}

HMENU GetSubMenu(HMENU menu, int position)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data || position < 0 || static_cast<size_t>(position) >= data->items.size())
        return nullptr;
    return data->items[static_cast<size_t>(position)].sub;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, id, flags, &owner, &index))
        return static_cast<UINT>(-1);
    const MenuItem& item = owner->items[index];
    if (item.sub)
        return (static_cast<UINT>(GetMenuItemCount(item.sub)) << 8) | (item.flags & 0xFF);
    return item.flags;
}

int GetMenuString(HMENU menu, UINT id, LPTSTR buffer, int maxCount, UINT flags)
{
    const CString text = GetMenuText(menu, id, flags);
    if (buffer && maxCount > 0) {
        const int n = std::min(text.GetLength(), maxCount - 1);
        std::memcpy(buffer, text.GetString(), static_cast<size_t>(n));
        buffer[n] = '\0';
        return n;
    }
    return text.GetLength();
}

CString GetMenuText(HMENU menu, UINT id, UINT flags)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, id, flags, &owner, &index))
        return CString();
    return owner->items[index].text;
}

int AfxFindMenuMnemonic(HMENU menu, UINT character)
{
    const int wanted = std::tolower(static_cast<int>(character));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const CString text = GetMenuText(menu, static_cast<UINT>(i), MF_BYPOSITION);
        for (int at = text.Find('&'); at >= 0 && at + 1 < text.GetLength(); at = text.Find('&', at + 2)) {
            const char marked = text[at + 1];
            if (marked != '&' && std::tolower(static_cast<unsigned char>(marked)) == wanted)
                return i;
        }
    }
    return -1;
}

UINT_PTR GetMenuItemData(HMENU menu, UINT id, UINT flags)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, id, flags, &owner, &index))
        return 0;
    return owner->items[index].data;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, id, check, &owner, &index))
        return static_cast<DWORD>(-1);
    MenuItem& item = owner->items[index];
    const DWORD previous = item.flags & MF_CHECKED;
    item.flags = (item.flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

UINT EnableMenuItem(HMENU menu, UINT id, UINT enable)
{
    std::shared_ptr<MenuData> owner;
    size_t index = 0;
    if (!Locate(menu, id, enable, &owner, &index))
        return static_cast<UINT>(-1);
    MenuItem& item = owner->items[index];
    const UINT previous = item.flags & (MF_GRAYED | MF_DISABLED);
    item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

namespace {

UINT ScriptedChoice(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    PopupMenuRecord record;
    record.menu = menu;
    record.owner = owner;
    record.at = POINT { x, y };
    record.flags = flags;
    record.itemCount = GetMenuItemCount(menu);
    g_records.push_back(record);
    RenderPopup(menu, owner, -1); // the owner measures and draws as for a shown menu
    if (g_script.empty())
        return 0;
    const ScriptedAnswer answer = g_script.front();
    g_script.erase(g_script.begin());
    return answer.key ? MenuCharCommand(menu, owner, answer.value) : answer.value;
}

// A menu bar's popup: how it was opened, and the step along the bar that closed it.
struct BarTrack {
    bool byKeyboard = false;
    int step = 0;
};

// Shows the popup and waits; the chosen command, 0 when dismissed.
UINT ShownChoice(HMENU menu, int x, int y, HWND owner, BarTrack* bar)
{
    OwnerMenu popup(menu, owner, wnd_internal::ExistingWidgetOf(owner));
    popup.m_bar = bar != nullptr;
    popup.m_firstSelected = bar && bar->byKeyboard;
    FillQMenu(popup, menu, owner, popup);
    // The owner hears which item is under the pointer, and when the menu
    // closes, as with WM_MENUSELECT on Windows.
    QObject::connect(&popup, &QMenu::hovered, &popup, [owner, menu](QAction* action) {
        if (!action || !IsWindow(owner))
            return;
        const UINT id = static_cast<UINT>(action->data().toULongLong());
        const UINT itemFlags = action->isSeparator() ? MF_SEPARATOR : (action->menu() ? MF_POPUP : 0);
        ::SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(itemFlags)),
            reinterpret_cast<LPARAM>(menu));
    });
    QAction* chosen = popup.exec(QPoint(x, y));
    const UINT command = chosen ? static_cast<UINT>(chosen->data().toULongLong()) : popup.m_chosen;
    if (bar)
        bar->step = command == 0 ? popup.m_step : 0;
    if (IsWindow(owner))
        ::SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return command;
}

UINT TrackChoice(HMENU menu, UINT flags, int x, int y, HWND owner, BarTrack* bar)
{
    if (!(flags & TPM_NONOTIFY) && IsWindow(owner))
        ::SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return g_scripted ? ScriptedChoice(menu, flags, x, y, owner) : ShownChoice(menu, x, y, owner, bar);
}

} // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!Find(menu))
        return FALSE;
    const UINT command = TrackChoice(menu, flags, x, y, owner, nullptr);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(command);
    if (command != 0 && IsWindow(owner))
        ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    return command != 0 ? TRUE : FALSE;
}

UINT AfxTrackMenuBarPopup(HMENU menu, int x, int y, HWND owner, BOOL byKeyboard, int* step)
{
    BarTrack bar { byKeyboard != FALSE, 0 };
    const UINT command = Find(menu) ? TrackChoice(menu, TPM_RETURNCMD, x, y, owner, &bar) : 0;
    *step = bar.step;
    return command;
}

HBITMAP AfxRenderPopupMenu(HMENU menu, HWND owner, int selectedPosition)
{
    if (!Find(menu))
        return nullptr;
    return GdiCreateBitmapFromImage(RenderPopup(menu, owner, selectedPosition));
}

void PopupMenuScript::Enable()
{
    g_scripted = true;
}

void PopupMenuScript::Disable()
{
    g_scripted = false;
}

void PopupMenuScript::Push(UINT command)
{
    g_script.push_back({ false, command });
}

void PopupMenuScript::PushKey(UINT character)
{
    g_script.push_back({ true, character });
}

std::vector<PopupMenuRecord> PopupMenuScript::Records()
{
    return g_records;
}

void PopupMenuKeys::Type(UINT vk, const char* text)
{
    g_typing = true;
    g_keys.push_back({ vk, QString::fromUtf8(text ? text : "") });
}

std::vector<HMENU> PopupMenuKeys::Shown()
{
    return g_shown;
}

void PopupMenuKeys::Reset()
{
    g_typing = false;
    g_keys.clear();
    g_shown.clear();
}

void PopupMenuScript::Reset()
{
    g_script.clear();
    g_records.clear();
}

// ---- CMenu -------------------------------------------------------------------------

CMenu::~CMenu()
{
    // Derived parts are gone here: DestroyMenu of this class only.
    if (m_hMenu)
        CMenu::DestroyMenu();
}

BOOL CMenu::CreateMenu()
{
    return m_hMenu ? FALSE : Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return m_hMenu ? FALSE : Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    if (m_hMenu)
        return FALSE;
    const MenuTemplate* tmpl = AfxFindMenuTemplate(resourceId);
    if (!tmpl)
        return FALSE;
    HMENU menu = ::CreateMenu();
    AddTemplateItems(menu, tmpl->items);
    return Attach(menu);
}

BOOL CMenu::DestroyMenu()
{
    HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}

BOOL CMenu::Attach(HMENU menu)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (m_hMenu || !data)
        return FALSE;
    data->object = this;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    if (std::shared_ptr<MenuData> data = Find(menu)) {
        if (data->object == this)
            data->object = nullptr;
    }
    return menu;
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    std::shared_ptr<MenuData> data = Find(menu);
    if (!data)
        return nullptr;
    if (data->object)
        return data->object;
    if (!data->wrapper) {
        data->wrapper = std::make_unique<CMenu>();
        data->wrapper->m_hMenu = menu;
    }
    return data->wrapper.get();
}

CMenu* CMenu::FromHandlePermanent(HMENU menu)
{
    std::shared_ptr<MenuData> data = Find(menu);
    return data ? data->object : nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR item)
{
    return ::AppendMenu(m_hMenu, flags, id, item);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR item)
{
    return ::InsertMenu(m_hMenu, position, flags, id, item);
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR item)
{
    return ::ModifyMenu(m_hMenu, position, flags, id, item);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags)
{
    return ::RemoveMenu(m_hMenu, position, flags);
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags)
{
    return ::DeleteMenu(m_hMenu, position, flags);
}

int CMenu::GetMenuItemCount() const
{
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int position) const
{
    return ::GetMenuItemID(m_hMenu, position);
}

UINT CMenu::GetMenuState(UINT id, UINT flags) const
{
    return ::GetMenuState(m_hMenu, id, flags);
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    text = ::GetMenuText(m_hMenu, id, flags);
    return text.GetLength();
}

CMenu* CMenu::GetSubMenu(int position) const
{
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

UINT CMenu::CheckMenuItem(UINT id, UINT check)
{
    return ::CheckMenuItem(m_hMenu, id, check);
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable)
{
    return ::EnableMenuItem(m_hMenu, id, enable);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->GetSafeHwnd() : nullptr, rect);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) { }

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) { }
