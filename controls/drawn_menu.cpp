// The owner-drawn menu: item records, shared images, template loading and the
// two looks.

#include "controls/drawn_menu.h"

#include "controls/offscreen_dc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "platform/base/resource_script.h"
#include "platform/base/version.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/system_params.h"

namespace {

constexpr int kCheckSize = 16;

struct Shared {
    CImageList images;
    std::vector<UINT> commands;
    std::vector<HMENU> handles;
    UINT classicDrawMode = CDrawnMenu::kClassicLook;
    UINT xpDrawMode = CDrawnMenu::kFlatLook;
    BOOL classicSelectDisabled = TRUE;
    BOOL xpSelectDisabled = FALSE;
    BOOL xp3D = TRUE;
    // The image strip of the toolbar loaded last.
    CImageList toolbarStrip;
};

Shared& TheShared()
{
    static Shared* shared = new Shared;
    return *shared;
}

void Forget(HMENU menu)
{
    auto& handles = TheShared().handles;
    handles.erase(std::remove(handles.begin(), handles.end(), menu), handles.end());
}

void Remember(HMENU menu)
{
    if (menu && !CDrawnMenu::IsMenu(menu))
        TheShared().handles.push_back(menu);
}

CFont& MenuFont()
{
    static CFont* font = [] {
        auto* f = new CFont;
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        f->CreateFontIndirect(&metrics.lfMenuFont);
        return f;
    }();
    return *font;
}

// An icon whose opaque pixels are changed by fn (the mask is kept).
template <class Fn> HICON DeriveIcon(HICON source, Fn fn)
{
    ICONINFO info;
    if (!GetIconInfo(source, &info))
        return nullptr;
    HICON result = nullptr;
    BITMAP bm;
    CDC colorDC;
    CDC maskDC;
    if (GetObject(info.hbmColor, sizeof(bm), &bm) && colorDC.CreateCompatibleDC(nullptr)
        && maskDC.CreateCompatibleDC(nullptr)) {
        HGDIOBJ oldColor = colorDC.SelectObject(info.hbmColor);
        HGDIOBJ oldMask = maskDC.SelectObject(info.hbmMask);
        for (int y = 0; y < bm.bmHeight; ++y)
            for (int x = 0; x < bm.bmWidth; ++x)
                if (maskDC.GetPixel(x, y) == RGB(0, 0, 0))
                    colorDC.SetPixel(x, y, fn(colorDC.GetPixel(x, y)));
        colorDC.SelectObject(oldColor);
        maskDC.SelectObject(oldMask);
        result = CreateIconIndirect(&info);
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return result;
}

// A one-image list (plus the faded and shadow copies when asked) of image
// offset of list.
std::unique_ptr<CImageList> OwnList(CImageList* list, int offset, int width, int height, BOOL withCopies)
{
    HICON icon = list ? list->ExtractIcon(offset) : nullptr;
    if (!icon)
        return nullptr;
    auto own = std::make_unique<CImageList>();
    own->Create(width, height, ILC_COLOR32 | ILC_MASK, 3, 1);
    own->Add(icon);
    if (withCopies) {
        const BOOL xpShell = CDrawnMenu::IsXpShell();
        HICON faded = DeriveIcon(icon, [](COLORREF c) { return CDrawnMenu::LightenColor(c, 0.3); });
        const COLORREF shadow = xpShell ? GetSysColor(COLOR_BTNSHADOW)
                                        : CDrawnMenu::LightenColor(GetSysColor(COLOR_BTNSHADOW), 0.49);
        HICON shade = DeriveIcon(icon, [shadow](COLORREF) { return shadow; });
        if (faded)
            own->Add(faded);
        if (shade)
            own->Add(shade);
        DestroyIcon(faded);
        DestroyIcon(shade);
    }
    DestroyIcon(icon);
    return own;
}

// UTF-8 of wide text (UTF-32 code points); empty for null.
CString NarrowText(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text) {
        auto c = static_cast<std::uint32_t>(*text);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return CString(out.c_str());
}

CString LowerText(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    return lower;
}

} // namespace

// ---- Shared settings ------------------------------------------------------------------

CDrawnMenu::CDrawnMenu() = default;

CDrawnMenu::~CDrawnMenu()
{
    DestroyMenu();
}

void CDrawnMenu::SetMenuDrawMode(UINT mode)
{
    TheShared().classicDrawMode = mode;
    TheShared().xpDrawMode = mode;
}

void CDrawnMenu::SetSelectDisableMode(BOOL selectDisabled)
{
    TheShared().classicSelectDisabled = selectDisabled;
    TheShared().xpSelectDisabled = selectDisabled;
}

void CDrawnMenu::SetXPBitmap3D(BOOL on)
{
    TheShared().xp3D = on;
}

int CDrawnMenu::GetVersionCode()
{
    static const int code = [] {
        const DWORD version = GetVersion();
        const bool nt = (version & 0x80000000u) == 0;
        OSVERSIONINFO info;
        GetVersionEx(&info);
        const DWORD major = info.dwMajorVersion;
        const DWORD minor = info.dwMinorVersion;
        if (!nt) {
            if (major != 4)
                return 0;
            return minor == 10 ? 3 : minor == 90 ? 4 : 2;
        }
        if (major == 4)
            return 5;
        if (major == 5 && minor == 0)
            return 6;
        if (major == 5 && minor == 1)
            return 7;
        return 1;
    }();
    return code;
}

BOOL CDrawnMenu::IsClassicTheme()
{
    // The theme key "Software\Microsoft\Plus!\Themes\Current" does not exist
    // on this platform: a missing key means not classic.
    return FALSE;
}

BOOL CDrawnMenu::IsXpShell()
{
    return GetVersionCode() == 7 && !IsClassicTheme();
}

UINT CDrawnMenu::DrawModeInForce()
{
    return IsXpShell() ? TheShared().xpDrawMode : TheShared().classicDrawMode;
}

COLORREF CDrawnMenu::LightenColor(COLORREF color, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return color;
    const auto lighten = [factor](int c) { return static_cast<int>(c + (255 - c) * factor); };
    return RGB(lighten(GetRValue(color)), lighten(GetGValue(color)), lighten(GetBValue(color)));
}

COLORREF CDrawnMenu::DarkenColor(COLORREF color, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return color;
    const auto darken = [factor](int c) { return static_cast<int>(c - c * factor); };
    return RGB(darken(GetRValue(color)), darken(GetGValue(color)), darken(GetBValue(color)));
}

void CDrawnMenu::SetIconSize(int width, int height)
{
    m_iconWidth = width;
    m_iconHeight = height;
    for (auto& sub : m_subMenus)
        sub->SetIconSize(width, height);
}

void CDrawnMenu::SetBitmapBackground(COLORREF color)
{
    m_bitmapBackground = color;
    m_useBitmapBackground = TRUE;
    for (auto& sub : m_subMenus)
        sub->SetBitmapBackground(color);
}

void CDrawnMenu::UnSetBitmapBackground()
{
    m_useBitmapBackground = FALSE;
    for (auto& sub : m_subMenus)
        sub->UnSetBitmapBackground();
}

CImageList* CDrawnMenu::SharedImages()
{
    return &TheShared().images;
}

const std::vector<UINT>& CDrawnMenu::SharedCommands()
{
    return TheShared().commands;
}

BOOL CDrawnMenu::IsMenu(HMENU menu)
{
    const auto& handles = TheShared().handles;
    return menu && std::find(handles.begin(), handles.end(), menu) != handles.end();
}

// ---- Destruction ----------------------------------------------------------------------

BOOL CDrawnMenu::DestroyMenu()
{
    if (m_hMenu) {
        Forget(m_hMenu);
        const int count = GetMenuItemCount();
        for (int i = 0; i < count; ++i)
            if (HMENU sub = ::GetSubMenu(m_hMenu, i))
                Forget(sub);
    }
    m_subMenus.clear();
    m_items.clear();
    if (m_checkImages && !m_checkImagesShared)
        delete m_checkImages;
    m_checkImages = nullptr;
    m_loadedFromTemplate = FALSE;
    return m_hMenu ? CMenu::DestroyMenu() : FALSE;
}

// ---- Items ----------------------------------------------------------------------------

int CDrawnMenu::SharedOffsetOf(UINT_PTR id) const
{
    const auto& commands = TheShared().commands;
    auto it = std::find(commands.begin(), commands.end(), static_cast<UINT>(id));
    return it == commands.end() ? -1 : static_cast<int>(it - commands.begin());
}

BOOL CDrawnMenu::AddSharedImage(UINT_PTR id, CImageList* list, int offset, int* sharedOffset)
{
    Shared& shared = TheShared();
    HICON icon = list ? list->ExtractIcon(offset) : nullptr;
    if (!icon)
        return FALSE;
    if (!shared.images.GetSafeHandle())
        shared.images.Create(m_iconWidth, m_iconHeight, ILC_COLOR32 | ILC_MASK, 8, 8);
    int index = SharedOffsetOf(id);
    if (index >= 0) {
        shared.images.Replace(index, icon);
    } else {
        index = shared.images.Add(icon);
        if (index >= 0)
            shared.commands.push_back(static_cast<UINT>(id));
    }
    DestroyIcon(icon);
    if (sharedOffset)
        *sharedOffset = index;
    return index >= 0;
}

void CDrawnMenu::ForgetSharedImage(UINT_PTR id)
{
    Shared& shared = TheShared();
    auto it = std::find(shared.commands.begin(), shared.commands.end(), static_cast<UINT>(id));
    if (it == shared.commands.end())
        return;
    const int index = static_cast<int>(it - shared.commands.begin());
    std::vector<CDrawnMenuItemInfo*> records;
    for (HMENU handle : shared.handles)
        if (auto* menu = dynamic_cast<CDrawnMenu*>(CMenu::FromHandlePermanent(handle)))
            for (auto& info : menu->m_items)
                if (info)
                    records.push_back(info.get());
    for (const CDrawnMenuItemInfo* info : records)
        if (info->m_id == id && !(info->m_flags & (MF_POPUP | MF_SEPARATOR)))
            return; // still shown by another item
    shared.images.Remove(index);
    shared.commands.erase(it);
    // The images after it move up by one.
    for (CDrawnMenuItemInfo* info : records)
        if (info->m_sharedOffset > index)
            --info->m_sharedOffset;
}

void CDrawnMenu::TakeImage(UINT_PTR id, int imageIndex, CDrawnMenuItemInfo* info)
{
    CImageList& strip = TheShared().toolbarStrip;
    if (imageIndex < 0 || !strip.GetSafeHandle() || imageIndex >= strip.GetImageCount()) {
        info->m_sharedOffset = SharedOffsetOf(id);
        return;
    }
    // The strip's image in a list of this menu's image size.
    HICON icon = strip.ExtractIcon(imageIndex);
    CImageList one;
    if (icon && one.Create(m_iconWidth, m_iconHeight, ILC_COLOR32 | ILC_MASK, 1, 1) && one.Add(icon) >= 0) {
        info->m_normalIndex = imageIndex;
        AddSharedImage(id, &one, 0, &info->m_sharedOffset);
    } else {
        info->m_sharedOffset = SharedOffsetOf(id);
    }
    if (icon)
        DestroyIcon(icon);
}

COLORREF CDrawnMenu::MaskColor() const
{
    return m_useBitmapBackground ? m_bitmapBackground : GetSysColor(COLOR_BTNFACE);
}

CDrawnMenuItemInfo* CDrawnMenu::NewItemInfo(LPCTSTR text, UINT flags, UINT_PTR id, int imageIndex)
{
    auto info = std::make_unique<CDrawnMenuItemInfo>();
    info->SetString(text);
    info->m_flags = flags;
    info->m_id = id;
    TakeImage(id, imageIndex, info.get());
    m_items.push_back(std::move(info));
    return m_items.back().get();
}

void CDrawnMenu::GiveOwnImage(CDrawnMenuItemInfo* info, CImageList* list, int offset)
{
    info->m_ownImages = OwnList(list, offset, m_iconWidth, m_iconHeight, TheShared().xp3D && IsXpShell());
    info->m_ownOffset = info->m_ownImages ? 0 : -1;
    AddSharedImage(info->m_id, list, offset, &info->m_sharedOffset);
}

BOOL CDrawnMenu::AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, int imageIndex)
{
    if (!m_hMenu) {
        if (!CreatePopupMenu())
            return FALSE;
        Remember(m_hMenu);
    }
    if (id == 0 && !(flags & MF_POPUP))
        flags = MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    else
        flags |= MF_OWNERDRAW;
    if (flags & MF_POPUP)
        Remember(reinterpret_cast<HMENU>(id));
    CDrawnMenuItemInfo* info = NewItemInfo(text, flags, id, imageIndex);
    const BOOL appended = CMenu::AppendMenu(flags, id, reinterpret_cast<LPCTSTR>(info));
    if (m_loadedFromTemplate)
        RestoreTopLevelStrings(FALSE);
    return appended;
}

BOOL CDrawnMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR id, int imageIndex)
{
    return AppendItem(NarrowText(text), flags, id, imageIndex);
}

BOOL CDrawnMenu::AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int offset)
{
    if (!AppendItem(text, flags, id, -1))
        return FALSE;
    GiveOwnImage(m_items.back().get(), list, offset);
    return TRUE;
}

BOOL CDrawnMenu::AppendItem(const wchar_t* text, UINT flags, UINT_PTR id, CImageList* list, int offset)
{
    return AppendItem(NarrowText(text), flags, id, list, offset);
}

int CDrawnMenu::PositionOfCommand(UINT_PTR id) const
{
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i)
        if (!::GetSubMenu(m_hMenu, i) && GetMenuItemID(i) == id)
            return i;
    return -1;
}

BOOL CDrawnMenu::InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, int imageIndex)
{
    if (!m_hMenu)
        return FALSE;
    int at = static_cast<int>(position);
    if (!(flags & MF_BYPOSITION)) {
        at = PositionOfCommand(position);
        if (at < 0)
            return FALSE;
    }
    if (id == 0 && !(flags & MF_POPUP))
        flags = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;
    else
        flags |= MF_OWNERDRAW | MF_BYPOSITION;
    CDrawnMenuItemInfo* info = NewItemInfo(text, flags, id, imageIndex);
    // Keep the records in menu order.
    auto record = std::move(m_items.back());
    m_items.pop_back();
    const size_t index = std::min<size_t>(static_cast<size_t>(at), m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(record));
    return CMenu::InsertMenu(static_cast<UINT>(at), flags, id, reinterpret_cast<LPCTSTR>(info));
}

BOOL CDrawnMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR id, int imageIndex)
{
    return InsertItem(position, NarrowText(text), flags, id, imageIndex);
}

BOOL CDrawnMenu::InsertItem(
    UINT position, LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int offset)
{
    const int at = (flags & MF_BYPOSITION) ? static_cast<int>(position) : PositionOfCommand(position);
    if (at < 0 || !InsertItem(static_cast<UINT>(at), text, flags | MF_BYPOSITION, id, -1))
        return FALSE;
    if (CDrawnMenuItemInfo* info = GetItemInfo(static_cast<UINT>(at)))
        GiveOwnImage(info, list, offset);
    return TRUE;
}

BOOL CDrawnMenu::InsertItem(
    UINT position, const wchar_t* text, UINT flags, UINT_PTR id, CImageList* list, int offset)
{
    return InsertItem(position, NarrowText(text), flags, id, list, offset);
}

CDrawnMenuItemInfo* CDrawnMenu::FindInfo(UINT_PTR id, CDrawnMenu** owner)
{
    for (auto& info : m_items) {
        if (info->m_id == id && !(info->m_flags & (MF_POPUP | MF_SEPARATOR))) {
            *owner = this;
            return info.get();
        }
    }
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        auto* sub = dynamic_cast<CDrawnMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(m_hMenu, i)));
        if (sub) {
            if (CDrawnMenuItemInfo* found = sub->FindInfo(id, owner))
                return found;
        }
    }
    return nullptr;
}

BOOL CDrawnMenu::ModifyItem(LPCTSTR text, UINT_PTR id, int imageIndex)
{
    CDrawnMenu* owner = nullptr;
    CDrawnMenuItemInfo* info = FindInfo(id, &owner);
    if (!info)
        return FALSE;
    if (text)
        info->SetString(text);
    info->m_ownImages.reset();
    info->m_ownOffset = -1;
    TakeImage(id, imageIndex, info);
    return TRUE;
}

BOOL CDrawnMenu::ModifyItem(const wchar_t* text, UINT_PTR id, int imageIndex)
{
    return text ? ModifyItem(NarrowText(text), id, imageIndex)
                : ModifyItem(static_cast<LPCTSTR>(nullptr), id, imageIndex);
}

BOOL CDrawnMenu::ModifyItem(LPCTSTR text, UINT_PTR id, CImageList* list, int offset)
{
    CDrawnMenu* owner = nullptr;
    CDrawnMenuItemInfo* info = FindInfo(id, &owner);
    if (!info || !list)
        return FALSE;
    if (text)
        info->SetString(text);
    GiveOwnImage(info, list, offset);
    return info->m_ownImages != nullptr;
}

BOOL CDrawnMenu::ModifyItem(LPCTSTR text, UINT_PTR id, CBitmap* bitmap)
{
    if (!bitmap)
        return FALSE;
    CImageList list;
    list.Create(m_iconWidth, m_iconHeight, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (list.Add(bitmap, MaskColor()) < 0)
        return FALSE;
    return ModifyItem(text, id, &list, 0);
}

BOOL CDrawnMenu::ModifyItem(LPCTSTR text, UINT_PTR id, COLORREF fill, COLORREF border, int width, int height)
{
    CDC dc;
    CBitmap swatch;
    if (!dc.CreateCompatibleDC(nullptr) || !swatch.CreateBitmap(m_iconWidth, m_iconHeight, 1, 32, nullptr))
        return FALSE;
    CBitmap* old = dc.SelectObject(&swatch);
    dc.FillSolidRect(0, 0, m_iconWidth, m_iconHeight, MaskColor());
    const int w = std::min(width, m_iconWidth);
    const int h = std::min(height, m_iconHeight);
    const CRect box(
        (m_iconWidth - w) / 2, (m_iconHeight - h) / 2, (m_iconWidth - w) / 2 + w, (m_iconHeight - h) / 2 + h);
    dc.FillSolidRect(&box, fill);
    CBrush frame(border);
    dc.FrameRect(&box, &frame);
    dc.SelectObject(old);
    return ModifyItem(text, id, &swatch);
}

BOOL CDrawnMenu::ModifyItem(LPCTSTR text, LPCTSTR currentText, int imageIndex)
{
    const int position = GetMenuPosition(currentText);
    if (position < 0)
        return FALSE;
    CDrawnMenuItemInfo* info = GetItemInfo(static_cast<UINT>(position));
    if (!info)
        return FALSE;
    if (info->m_flags & (MF_POPUP | MF_SEPARATOR)) {
        info->SetString(text);
        return TRUE;
    }
    return ModifyItem(text, info->m_id, imageIndex);
}

BOOL CDrawnMenu::ModifyItem(const wchar_t* text, const wchar_t* currentText, int imageIndex)
{
    return ModifyItem(NarrowText(text), NarrowText(currentText), imageIndex);
}

CDrawnMenu* CDrawnMenu::AppendPopup(LPCTSTR text)
{
    auto sub = std::make_unique<CDrawnMenu>();
    if (!sub->CreatePopupMenu())
        return nullptr;
    sub->m_iconWidth = m_iconWidth;
    sub->m_iconHeight = m_iconHeight;
    sub->m_bitmapBackground = m_bitmapBackground;
    sub->m_useBitmapBackground = m_useBitmapBackground;
    sub->m_checkImages = m_checkImages;
    sub->m_checkImagesShared = TRUE;
    sub->m_checkedIndex = m_checkedIndex;
    sub->m_radioIndex = m_radioIndex;
    CDrawnMenu* raw = sub.get();
    m_subMenus.push_back(std::move(sub));
    Remember(raw->m_hMenu);
    if (!AppendItem(text, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(raw->m_hMenu), -1)) {
        m_subMenus.pop_back();
        return nullptr;
    }
    return raw;
}

CDrawnMenu* CDrawnMenu::AppendPopup(const wchar_t* text)
{
    return AppendPopup(NarrowText(text));
}

CDrawnMenu* CDrawnMenu::GetSubDrawnMenu(int position) const
{
    return dynamic_cast<CDrawnMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(m_hMenu, position)));
}

CDrawnMenu* CDrawnMenu::GetSubDrawnMenu(LPCTSTR text) const
{
    const int position = GetMenuPosition(text);
    return position < 0 ? nullptr : GetSubDrawnMenu(position);
}

CDrawnMenu* CDrawnMenu::GetSubDrawnMenu(const wchar_t* text) const
{
    return GetSubDrawnMenu(NarrowText(text));
}

CDrawnMenuItemInfo* CDrawnMenu::GetItemInfo(UINT position) const
{
    const UINT_PTR data = GetMenuItemData(m_hMenu, position, MF_BYPOSITION);
    for (const auto& info : m_items)
        if (reinterpret_cast<UINT_PTR>(info.get()) == data)
            return info.get();
    // Top-level items turned back into strings keep their records by position.
    return position < m_items.size() ? m_items[position].get() : nullptr;
}

int CDrawnMenu::GetMenuPosition(LPCTSTR text) const
{
    if (!text)
        return -1;
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const CDrawnMenuItemInfo* info = GetItemInfo(static_cast<UINT>(i));
        if (info && info->GetString() == text)
            return i;
    }
    return -1;
}

int CDrawnMenu::GetMenuPosition(const wchar_t* text) const
{
    return text ? GetMenuPosition(NarrowText(text)) : -1;
}

BOOL CDrawnMenu::RemoveAt(int index, BOOL destroySubmenu)
{
    if (index < 0 || index >= GetMenuItemCount())
        return FALSE;
    HMENU sub = ::GetSubMenu(m_hMenu, index);
    CDrawnMenuItemInfo* info = GetItemInfo(static_cast<UINT>(index));
    if (!CMenu::RemoveMenu(static_cast<UINT>(index), MF_BYPOSITION))
        return FALSE;
    UINT_PTR command = 0;
    if (info) {
        if (info->m_flags & MF_POPUP)
            Forget(reinterpret_cast<HMENU>(info->m_id));
        else if (!(info->m_flags & MF_SEPARATOR))
            command = info->m_id;
        m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                          [info](const auto& item) { return item.get() == info; }),
            m_items.end());
    }
    if (command)
        ForgetSharedImage(command);
    if (sub && destroySubmenu) {
        auto it = std::find_if(
            m_subMenus.begin(), m_subMenus.end(), [sub](const auto& menu) { return menu->m_hMenu == sub; });
        if (it != m_subMenus.end())
            m_subMenus.erase(it);
        else
            ::DestroyMenu(sub);
    }
    return TRUE;
}

BOOL CDrawnMenu::RemoveItem(UINT position, UINT flags)
{
    return RemoveAt(
        (flags & MF_BYPOSITION) ? static_cast<int>(position) : PositionOfCommand(position), FALSE);
}

BOOL CDrawnMenu::RemoveItem(LPCTSTR text)
{
    return RemoveAt(GetMenuPosition(text), FALSE);
}

BOOL CDrawnMenu::RemoveItem(const wchar_t* text)
{
    return RemoveAt(GetMenuPosition(text), FALSE);
}

BOOL CDrawnMenu::DeleteItem(UINT position, UINT flags)
{
    return RemoveAt((flags & MF_BYPOSITION) ? static_cast<int>(position) : PositionOfCommand(position), TRUE);
}

BOOL CDrawnMenu::DeleteItem(LPCTSTR text)
{
    return RemoveAt(GetMenuPosition(text), TRUE);
}

BOOL CDrawnMenu::DeleteItem(const wchar_t* text)
{
    return RemoveAt(GetMenuPosition(text), TRUE);
}

// ---- Template and toolbar loading ---------------------------------------------------

void CDrawnMenu::AlignAccelerators()
{
    CDC dc;
    dc.Attach(GdiCreateScreenDC());
    CFont* old = dc.SelectObject(&MenuFont());
    int widest = 0;
    for (const auto& info : m_items) {
        const CString text = info->GetString();
        const int tab = text.Find('\t');
        widest = std::max<int>(widest, dc.GetTextExtent((tab < 0 ? text : text.Left(tab)) + " ").cx);
    }
    for (auto& info : m_items) {
        const CString text = info->GetString();
        const int tab = text.Find('\t');
        if (tab < 0)
            continue;
        CString head = text.Left(tab);
        while (dc.GetTextExtent(head).cx < widest)
            head += ' ';
        info->SetString(head + text.Mid(tab));
    }
    dc.SelectObject(old);
}

void CDrawnMenu::RestoreTopLevelStrings(BOOL commandsToo)
{
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const CDrawnMenuItemInfo* info = GetItemInfo(static_cast<UINT>(i));
        const CString text = info ? info->GetString() : CString();
        if (HMENU sub = ::GetSubMenu(m_hMenu, i))
            ::ModifyMenu(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_POPUP,
                reinterpret_cast<UINT_PTR>(sub), text);
        else if (commandsToo)
            ::ModifyMenu(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, GetMenuItemID(i), text);
    }
}

namespace {

void BuildLevel(CDrawnMenu& menu, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& item : items) {
        const UINT state = item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        if (item.IsPopup()) {
            if (CDrawnMenu* sub = menu.AppendPopup(item.text))
                BuildLevel(*sub, item.children);
        } else if (item.IsSeparator()) {
            menu.AppendItem("", MF_OWNERDRAW | MF_SEPARATOR, 0);
        } else {
            menu.AppendItem(item.text, MF_OWNERDRAW | state, item.id);
        }
    }
}

} // namespace

BOOL CDrawnMenu::LoadMenu(UINT resourceId)
{
    const MenuTemplate* tmpl = AfxFindMenuTemplate(resourceId);
    DestroyMenu();
    if (!tmpl || !CreatePopupMenu())
        return FALSE;
    Remember(m_hMenu);
    BuildLevel(*this, tmpl->items);
    // Accelerator texts line up within each level once it is complete.
    std::vector<CDrawnMenu*> levels { this };
    for (size_t i = 0; i < levels.size(); ++i)
        for (auto& sub : levels[i]->m_subMenus)
            levels.push_back(sub.get());
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
        (*it)->AlignAccelerators();
    // Only the dropped-down items stay owner-drawn.
    RestoreTopLevelStrings(TRUE);
    m_loadedFromTemplate = TRUE;
    return TRUE;
}

BOOL CDrawnMenu::LoadToolbar(UINT resourceId)
{
    const ToolbarTemplate* toolbar = AfxFindToolbarTemplate(resourceId);
    if (!toolbar)
        return FALSE;
    SetIconSize(std::max(m_iconWidth, toolbar->buttonWidth), std::max(m_iconHeight, toolbar->buttonHeight));
    CImageList& strip = TheShared().toolbarStrip;
    strip.DeleteImageList();
    if (!strip.Create(toolbar->bitmapId, toolbar->buttonWidth, 1, MaskColor()))
        return FALSE;
    int image = 0;
    for (UINT command : toolbar->items) {
        if (command == 0)
            continue;
        CDrawnMenu* owner = nullptr;
        if (FindInfo(command, &owner))
            ModifyItem(static_cast<LPCTSTR>(nullptr), command, &strip, image);
        ++image;
    }
    return TRUE;
}

BOOL CDrawnMenu::LoadToolbars(const UINT* resourceIds, int count)
{
    BOOL all = TRUE;
    for (int i = 0; i < count && resourceIds; ++i)
        all = LoadToolbar(resourceIds[i]) && all;
    return all;
}

void CDrawnMenu::SynchronizeMenu()
{
    std::vector<std::unique_ptr<CDrawnMenuItemInfo>> ordered;
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(m_hMenu, i);
        const UINT id = GetMenuItemID(i);
        const UINT_PTR key = sub ? reinterpret_cast<UINT_PTR>(sub) : id;
        const bool separator = !sub && (state & MF_SEPARATOR);
        auto match = std::find_if(m_items.begin(), m_items.end(), [&](const auto& info) {
            if (!info)
                return false;
            if (separator)
                return (info->m_flags & MF_SEPARATOR) != 0;
            return info->m_id == key && !(info->m_flags & MF_SEPARATOR);
        });
        std::unique_ptr<CDrawnMenuItemInfo> info;
        if (match != m_items.end()) {
            info = std::move(*match);
            m_items.erase(match);
        } else {
            info = std::make_unique<CDrawnMenuItemInfo>();
            info->m_id = key;
            info->m_sharedOffset = SharedOffsetOf(key);
        }
        UINT flags = (sub ? MF_POPUP : 0) | (separator ? MF_SEPARATOR : 0)
            | (state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | MF_BYPOSITION | MF_OWNERDRAW;
        if (!(state & MF_OWNERDRAW)) {
            CString text;
            GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
            info->SetString(text);
        }
        info->m_flags = flags;
        ::ModifyMenu(m_hMenu, static_cast<UINT>(i), flags, key, reinterpret_cast<LPCTSTR>(info.get()));
        ordered.push_back(std::move(info));
    }
    m_items = std::move(ordered);
}

LRESULT CDrawnMenu::FindKeyboardShortcut(UINT ch, UINT flags, CMenu* menu)
{
    auto* drawn = dynamic_cast<CDrawnMenu*>(menu);
    if (!(flags & MF_POPUP) || !drawn)
        return 0;
    CString key("&");
    key += static_cast<char>(ch);
    key.MakeLower();
    if (drawn->GetMenuItemCount() != static_cast<int>(drawn->m_items.size()))
        drawn->SynchronizeMenu();
    const int count = drawn->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const CDrawnMenuItemInfo* info = drawn->GetItemInfo(static_cast<UINT>(i));
        if (info && LowerText(info->GetString()).Find(key) >= 0)
            return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(i), static_cast<WORD>(MNC_EXECUTE)));
    }
    return 0;
}

// ---- Measuring and drawing ----------------------------------------------------------

int CDrawnMenu::ItemPad() const
{
    const bool flat = IsXpShell() && DrawModeInForce() == kFlatLook;
    return flat && TheShared().xp3D ? 7 : 4;
}

void CDrawnMenu::MeasureItem(LPMEASUREITEMSTRUCT measureItem)
{
    const auto* info = reinterpret_cast<const CDrawnMenuItemInfo*>(measureItem->itemData);
    if (!info)
        return;
    const int pad = ItemPad();
    if (info->m_flags & MF_SEPARATOR) {
        measureItem->itemWidth = 0;
        measureItem->itemHeight
            = static_cast<UINT>(std::max(GetSystemMetrics(SM_CYMENU) / 2, (m_iconHeight + pad) / 2));
        return;
    }
    CDC dc;
    dc.Attach(GdiCreateScreenDC());
    CFont* old = dc.SelectObject(&MenuFont());
    CString text = info->GetString();
    text.Replace("\t", "    ");
    int textWidth;
    if (GetVersionCode() == 0) {
        CRect box(0, 0, 0, 0);
        dc.DrawText(text, &box, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
        const int characters = std::max(1, text.GetLength());
        textWidth = box.Width() + 3 + 3 * (box.Width() / characters);
    } else {
        textWidth = dc.GetTextExtent(text).cx;
    }
    dc.SelectObject(old);
    const bool flat = IsXpShell() && DrawModeInForce() == kFlatLook;
    measureItem->itemWidth
        = static_cast<UINT>(flat ? m_iconWidth + pad + 8 + textWidth : 2 * m_iconWidth + textWidth + 1);
    measureItem->itemHeight = static_cast<UINT>(std::max(GetSystemMetrics(SM_CYMENU), m_iconHeight + pad));
}

void CDrawnMenu::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (!dc)
        return;
    if ((dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) || DrawModeInForce() == kClassicLook)
        DrawClassic(drawItem);
    else
        DrawFlat(drawItem);
}

BOOL CDrawnMenu::DrawItemImage(CDC* dc, const CDrawnMenuItemInfo* info, CPoint at, BOOL disabled)
{
    CImageList* list = nullptr;
    int index = -1;
    if (info->m_ownImages && info->m_ownOffset >= 0) {
        list = info->m_ownImages.get();
        index = info->m_ownOffset;
    } else if (info->m_sharedOffset >= 0 && TheShared().images.GetSafeHandle()) {
        list = &TheShared().images;
        index = info->m_sharedOffset;
    }
    if (!list || index < 0)
        return FALSE;
    if (disabled) {
        HICON icon = list->ExtractIcon(index);
        dc->DrawState(at, CSize(0, 0), icon, DST_ICON | DSS_DISABLED, static_cast<CBrush*>(nullptr));
        DestroyIcon(icon);
    } else {
        list->Draw(dc, index, at, ILD_TRANSPARENT);
    }
    return TRUE;
}

namespace {

void DrawCheckMark(CDC* dc, const CRect& box, COLORREF color, bool radio)
{
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CPen* oldPen = dc->SelectObject(&pen);
    if (radio) {
        CBrush* oldBrush = dc->SelectObject(&brush);
        const CPoint c = box.CenterPoint();
        dc->Ellipse(c.x - 3, c.y - 3, c.x + 3, c.y + 3);
        dc->SelectObject(oldBrush);
    } else {
        const CPoint c = box.CenterPoint();
        for (int d = 0; d < 2; ++d) {
            dc->MoveTo(c.x - 4, c.y - 1 + d);
            dc->LineTo(c.x - 1, c.y + 2 + d);
            dc->LineTo(c.x + 5, c.y - 4 + d);
        }
    }
    dc->SelectObject(oldPen);
}

void DrawSplitText(CDC* dc, const CString& text, CRect rect, UINT leftFlags, UINT rightFlags)
{
    const int tab = text.Find('\t');
    dc->DrawText(tab < 0 ? text : text.Left(tab), &rect, leftFlags);
    if (tab >= 0)
        dc->DrawText(text.Mid(tab + 1), &rect, rightFlags);
}

} // namespace

void CDrawnMenu::DrawFlat(LPDRAWITEMSTRUCT drawItem)
{
    CDC* target = CDC::FromHandle(drawItem->hDC);
    const auto* info = reinterpret_cast<const CDrawnMenuItemInfo*>(drawItem->itemData);
    if (!info)
        return;
    const BOOL xp = IsXpShell();
    const int pad = ItemPad();
    const int column = m_iconWidth + pad;
    const CRect item(drawItem->rcItem);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    const COLORREF columnColor
        = xp ? GetSysColor(COLOR_BTNFACE) : LightenColor(GetSysColor(COLOR_BTNFACE), 0.25);
    const COLORREF selection = LightenColor(GetSysColor(COLOR_HIGHLIGHT), xp ? 0.7 : 0.85);
    const BOOL disabled = (drawItem->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    BOOL selected = (drawItem->itemState & ODS_SELECTED) != 0;
    if (disabled && !TheShared().xpSelectDisabled)
        selected = FALSE;
    // A disabled item is drawn off screen and copied in one step.
    std::optional<COffscreenDC> offscreen;
    CDC* dc = target;
    if (disabled) {
        offscreen.emplace(target, item, OffscreenFill::None);
        dc = &*offscreen;
    }
    const CRect columnRect(item.left, item.top, item.left + column, item.bottom);
    if (info->m_flags & MF_SEPARATOR) {
        dc->FillSolidRect(&item, background);
        dc->FillSolidRect(&columnRect, columnColor);
        CRect line(item.left + column, item.top + item.Height() / 2, item.right, item.bottom);
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    if (selected) {
        dc->FillSolidRect(&item, selection);
        CBrush frame(GetSysColor(COLOR_HIGHLIGHT));
        dc->FrameRect(&item, &frame);
    } else {
        dc->FillSolidRect(&item, background);
        dc->FillSolidRect(&columnRect, columnColor);
    }
    const CPoint imageAt(item.left + std::max(0, (column - m_iconWidth) / 2),
        item.top + std::max(0, (item.Height() - m_iconHeight) / 2));
    const bool checked = (drawItem->itemState & ODS_CHECKED) != 0;
    const bool hasImage = (info->m_ownImages && info->m_ownOffset >= 0) || info->m_sharedOffset >= 0;
    if (hasImage) {
        if (checked) {
            CRect square(
                imageAt.x - 2, imageAt.y - 2, imageAt.x + m_iconWidth + 2, imageAt.y + m_iconHeight + 2);
            dc->FillSolidRect(&square, LightenColor(selection, 0.5));
            CBrush frame(GetSysColor(COLOR_HIGHLIGHT));
            dc->FrameRect(&square, &frame);
        }
        if (selected && !disabled && TheShared().xp3D && info->m_ownImages
            && info->m_ownImages->GetImageCount() > 2) {
            info->m_ownImages->Draw(dc, 2, CPoint(imageAt.x + 1, imageAt.y + 1), ILD_TRANSPARENT);
            info->m_ownImages->Draw(dc, 0, CPoint(imageAt.x - 1, imageAt.y - 1), ILD_TRANSPARENT);
        } else {
            DrawItemImage(dc, info, imageAt, disabled);
        }
    } else if (checked) {
        const CRect box(item.left + (column - kCheckSize) / 2, item.top + (item.Height() - kCheckSize) / 2,
            item.left + (column - kCheckSize) / 2 + kCheckSize,
            item.top + (item.Height() - kCheckSize) / 2 + kCheckSize);
        DrawCheckMark(dc, box, GetSysColor(COLOR_MENUTEXT), (info->m_flags & MF_USECHECKBITMAPS) != 0);
    }
    COLORREF textColor = GetSysColor(COLOR_MENUTEXT);
    if (disabled) {
        textColor = GetSysColor(COLOR_GRAYTEXT);
        if (!selected && !xp)
            textColor = LightenColor(textColor, 0.4);
    }
    CFont* oldFont = dc->SelectObject(&MenuFont());
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc->SetTextColor(textColor);
    CRect text(item.left + column + 8, item.top, item.right - m_iconWidth, item.bottom);
    DrawSplitText(dc, info->GetString(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT,
        DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void CDrawnMenu::DrawClassic(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const auto* info = reinterpret_cast<const CDrawnMenuItemInfo*>(drawItem->itemData);
    if (!info)
        return;
    const BOOL xp = IsXpShell();
    const CRect item(drawItem->rcItem);
    const COLORREF background = GetSysColor(xp ? COLOR_BTNFACE : COLOR_MENU);
    const BOOL disabled = (drawItem->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    BOOL selected = (drawItem->itemState & ODS_SELECTED) != 0;
    if (disabled && !TheShared().classicSelectDisabled)
        selected = FALSE;
    if (info->m_flags & MF_SEPARATOR) {
        dc->FillSolidRect(&item, background);
        CRect line(item.left, item.top + item.Height() / 2, item.right, item.bottom);
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool checked = (drawItem->itemState & ODS_CHECKED) != 0;
    const bool hasImage = (info->m_ownImages && info->m_ownOffset >= 0) || info->m_sharedOffset >= 0;
    dc->FillSolidRect(&item, background);
    if (selected) {
        CRect fill(item);
        if (hasImage || checked)
            fill.left = item.left + m_iconWidth + 5;
        dc->FillSolidRect(&fill, GetSysColor(COLOR_HIGHLIGHT));
    }
    const int offset = std::max(0, (item.Height() - 4 - m_iconHeight) / 2);
    const CRect box(
        item.left, item.top + offset, item.left + m_iconWidth + 4, item.top + offset + m_iconHeight + 4);
    if (hasImage || checked) {
        if (checked && !selected)
            dc->FillSolidRect(&box, LightenColor(background, 0.6));
        if (selected && !disabled)
            dc->Draw3dRect(&box, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        else if (checked)
            dc->Draw3dRect(&box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (hasImage)
        DrawItemImage(dc, info, CPoint(box.left + 2, box.top + 2), disabled);
    else if (checked)
        DrawCheckMark(dc, box, GetSysColor(COLOR_MENUTEXT), (info->m_flags & MF_USECHECKBITMAPS) != 0);
    CFont* oldFont = dc->SelectObject(&MenuFont());
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect text(item.left + m_iconWidth + 9, item.top, item.right - 4, item.bottom);
    const UINT left = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    const UINT right = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    if (disabled && !selected) {
        CRect embossed(text);
        embossed.OffsetRect(1, 1);
        dc->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawSplitText(dc, info->GetString(), embossed, left, right);
        dc->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    } else if (disabled) {
        dc->SetTextColor(background);
    } else {
        dc->SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    DrawSplitText(dc, info->GetString(), text, left, right);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}
