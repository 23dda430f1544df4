// The icon push button: images and their derived copies, the layered owner
// drawing, hover tracking, tooltip, transparent face and click actions.

#include "controls/icon_button.h"

#include <algorithm>
#include <cstring>

#include "platform/base/resource_script.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/mouse_track.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/desktop/shell_services.h"
#include "platform/wnd/dialogs/dialog_nav.h"

namespace {

constexpr double kDarkerFactor = 0.25;
constexpr DWORD kTypeBits = 0x1F;
constexpr DWORD kCheckBoxBit = 0x2;

// Copies at most kMaxTextLength bytes of text (never splitting a UTF-8
// sequence) and a terminating zero into a fixed record.
template <size_t N> void CopyBounded(char (&target)[N], LPCTSTR text)
{
    size_t length = text ? std::strlen(text) : 0;
    if (length > N - 1) {
        length = N - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    if (length > 0)
        std::memcpy(target, text, length);
    target[length] = '\0';
}

COLORREF DarkerColor(COLORREF color, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return color;
    const auto darker = [factor](int c) { return static_cast<int>(c - c * factor); };
    return RGB(darker(GetRValue(color)), darker(GetGValue(color)), darker(GetBValue(color)));
}

COLORREF GrayColor(COLORREF color)
{
    const int luminance
        = static_cast<int>(GetRValue(color) * 0.299 + GetGValue(color) * 0.587 + GetBValue(color) * 0.114);
    const int gray = std::clamp(luminance, 0, 255);
    return RGB(gray, gray, gray);
}

COLORREF DerivedColor(COLORREF color, bool gray)
{
    return gray ? GrayColor(color) : DarkerColor(color, kDarkerFactor);
}

BOOL IconSize(HICON icon, int* width, int* height)
{
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return FALSE;
    *width = static_cast<int>(info.xHotspot * 2);
    *height = static_cast<int>(info.yHotspot * 2);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return TRUE;
}

} // namespace

CIconButton::CIconButton()
{
    SetDefaultColors(FALSE);
}

CIconButton::~CIconButton()
{
    DropBackground();
    FreeResources();
    if (m_cursor)
        DestroyCursor(m_cursor);
    m_cursor = nullptr;
    m_menu.DestroyMenu();
}

const MessageMap* CIconButton::GetMessageMap() const
{
    static const MessageMap kMap(CButton::GetMessageMap(),
        {
            OnWm<WM_MOUSEMOVE, &CIconButton::OnMouseMove>(),
            OnMessage<&CIconButton::OnMouseLeaveMessage>(WM_MOUSELEAVE),
            OnWm<WM_KILLFOCUS, &CIconButton::OnKillFocus>(),
            OnMessage<&CIconButton::OnCancelModeMessage>(WM_CANCELMODE),
            OnMessage<&CIconButton::OnActivateMessage>(WM_ACTIVATE),
            OnWm<WM_ENABLE, &CIconButton::OnEnable>(),
            OnWm<WM_SETCURSOR, &CIconButton::OnSetCursor>(),
            OnWm<WM_GETDLGCODE, &CIconButton::OnGetDlgCode>(),
            OnMessage<&CIconButton::OnSysColorChangeMessage>(WM_SYSCOLORCHANGE),
            OnCtlColorReflect<&CIconButton::CtlColor>(),
            OnMessage<&CIconButton::OnSetStyle>(BM_SETSTYLE),
            OnMessage<&CIconButton::OnSetCheckMessage>(BM_SETCHECK),
            OnMessage<&CIconButton::OnGetCheckMessage>(BM_GETCHECK),
            OnMessage<&CIconButton::OnMeasureItemMessage>(WM_MEASUREITEM),
            OnMessage<&CIconButton::OnMenuCharMessage>(WM_MENUCHAR),
            OnControlReflectEx<&CIconButton::OnClicked>(BN_CLICKED),
        });
    return &kMap;
}

// ---- Attachment -----------------------------------------------------------------------

void CIconButton::PreSubclassWindow()
{
    const DWORD style = GetStyle();
    if (style & kCheckBoxBit)
        m_checkBoxMode = TRUE;
    if ((style & kTypeBits) == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    ModifyStyle(kTypeBits, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CIconButton::PreTranslateMessage(MSG* msg)
{
    InitToolTip();
    m_toolTip.RelayEvent(msg);
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

// ---- Images ---------------------------------------------------------------------------

void CIconButton::FreeResources(BOOL checkForNull)
{
    if (checkForNull) {
        for (IconRecord& record : m_icons) {
            if (record.icon)
                DestroyIcon(record.icon);
        }
        for (BitmapRecord& record : m_bitmaps) {
            if (record.bitmap)
                DeleteObject(record.bitmap);
            if (record.mask)
                DeleteObject(record.mask);
        }
    }
    for (IconRecord& record : m_icons)
        record = IconRecord();
    for (BitmapRecord& record : m_bitmaps)
        record = BitmapRecord();
}

DWORD CIconButton::LoadIcons(int idIn, int idOut)
{
    return LoadIcons(idIn, 0, 0, idOut, 0, 0);
}

DWORD CIconButton::LoadIcons(int idIn, int cxIn, int cyIn, int idOut, int cxOut, int cyOut)
{
    const HINSTANCE module = AfxGetResourceHandle();
    auto in = static_cast<HICON>(LoadImage(module, static_cast<UINT>(idIn), IMAGE_ICON, cxIn, cyIn, 0));
    HICON out = nullptr;
    if (idOut == kAutoDarker || idOut == kAutoGray)
        out = reinterpret_cast<HICON>(static_cast<INT_PTR>(idOut));
    else if (idOut != kNoOutImage)
        out = static_cast<HICON>(LoadImage(module, static_cast<UINT>(idOut), IMAGE_ICON, cxOut, cyOut, 0));
    return SetIcons(in, out);
}

DWORD CIconButton::SetIcons(HICON in, HICON out)
{
    FreeResources();
    if (in) {
        m_icons[0].icon = in;
        if (!IconSize(in, &m_icons[0].width, &m_icons[0].height)) {
            FreeResources();
            return kIconButtonInvalidResource;
        }
        const auto special = reinterpret_cast<INT_PTR>(out);
        if (special == kAutoDarker || special == kAutoGray) {
            HICON derived = CreateDerivedIcon(in, special == kAutoGray);
            if (derived) {
                m_icons[1].icon = derived;
                m_icons[1].width = m_icons[0].width;
                m_icons[1].height = m_icons[0].height;
            }
        } else if (out) {
            m_icons[1].icon = out;
            if (!IconSize(out, &m_icons[1].width, &m_icons[1].height)) {
                FreeResources();
                return kIconButtonInvalidResource;
            }
        }
    }
    Invalidate();
    return kIconButtonOk;
}

DWORD CIconButton::LoadBitmaps(int idIn, COLORREF transparentIn, int idOut, COLORREF transparentOut)
{
    const HINSTANCE module = AfxGetResourceHandle();
    auto in = static_cast<HBITMAP>(LoadImage(module, static_cast<UINT>(idIn), IMAGE_BITMAP, 0, 0, 0));
    HBITMAP out = nullptr;
    if (idOut == kAutoDarker || idOut == kAutoGray)
        out = reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(idOut));
    else if (idOut != kNoOutImage)
        out = static_cast<HBITMAP>(LoadImage(module, static_cast<UINT>(idOut), IMAGE_BITMAP, 0, 0, 0));
    return SetBitmaps(in, transparentIn, out, transparentOut);
}

DWORD CIconButton::SetBitmapRecord(BitmapRecord& record, HBITMAP bitmap, COLORREF transparent)
{
    record.bitmap = bitmap;
    record.transparent = transparent;
    BITMAP info;
    if (!GetObject(bitmap, sizeof(info), &info))
        return kIconButtonInvalidResource;
    record.width = info.bmWidth;
    record.height = info.bmHeight;
    record.mask = CreateBitmapMask(bitmap, info.bmWidth, info.bmHeight, transparent);
    return record.mask ? kIconButtonOk : kIconButtonFailedMask;
}

DWORD CIconButton::SetBitmaps(HBITMAP in, COLORREF transparentIn, HBITMAP out, COLORREF transparentOut)
{
    FreeResources();
    if (in) {
        // The copy is made before the in bitmap's mask, which blackens the
        // transparent pixels of its source: made after it, the copy would
        // have no transparent pixels left and show a black face.
        const auto special = reinterpret_cast<INT_PTR>(out);
        if (special == kAutoDarker || special == kAutoGray) {
            out = CreateDerivedBitmap(in, transparentIn, special == kAutoGray);
            transparentOut = transparentIn;
        }
        DWORD result = SetBitmapRecord(m_bitmaps[0], in, transparentIn);
        if (result == kIconButtonOk && out)
            result = SetBitmapRecord(m_bitmaps[1], out, transparentOut);
        else if (out)
            DeleteObject(out);
        if (result != kIconButtonOk) {
            FreeResources();
            return result;
        }
    }
    Invalidate();
    return kIconButtonOk;
}

HICON CIconButton::CreateDerivedIcon(HICON source, bool gray)
{
    ICONINFO info;
    if (!GetIconInfo(source, &info))
        return nullptr;
    const int width = static_cast<int>(info.xHotspot * 2);
    const int height = static_cast<int>(info.yHotspot * 2);
    BITMAP colorInfo;
    HICON result = nullptr;
    if (info.hbmColor && GetObject(info.hbmColor, sizeof(colorInfo), &colorInfo)) {
        HBITMAP derived = CreateBitmap(width, height, colorInfo.bmPlanes, colorInfo.bmBitsPixel, nullptr);
        CDC sourceDC;
        CDC targetDC;
        if (derived && sourceDC.CreateCompatibleDC(nullptr) && targetDC.CreateCompatibleDC(nullptr)) {
            HGDIOBJ oldSource = sourceDC.SelectObject(info.hbmColor);
            HGDIOBJ oldTarget = targetDC.SelectObject(derived);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const COLORREF pixel = sourceDC.GetPixel(x, y);
                    targetDC.SetPixel(x, y, pixel == 0 ? 0 : DerivedColor(pixel, gray));
                }
            }
            sourceDC.SelectObject(oldSource);
            targetDC.SelectObject(oldTarget);
            ICONINFO made = info;
            made.hbmColor = derived;
            result = CreateIconIndirect(&made);
        }
        if (derived)
            DeleteObject(derived);
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return result;
}

HBITMAP CIconButton::CreateDerivedBitmap(HBITMAP source, COLORREF transparent, bool gray)
{
    BITMAP info;
    if (!GetObject(source, sizeof(info), &info))
        return nullptr;
    CDC screen;
    screen.Attach(GdiCreateScreenDC());
    HBITMAP derived = CreateCompatibleBitmap(screen.GetSafeHdc(), info.bmWidth, info.bmHeight);
    CDC sourceDC;
    CDC targetDC;
    if (!derived || !sourceDC.CreateCompatibleDC(&screen) || !targetDC.CreateCompatibleDC(&screen)) {
        if (derived)
            DeleteObject(derived);
        return nullptr;
    }
    HGDIOBJ oldSource = sourceDC.SelectObject(source);
    HGDIOBJ oldTarget = targetDC.SelectObject(derived);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            const COLORREF pixel = sourceDC.GetPixel(x, y);
            targetDC.SetPixel(x, y, pixel == transparent ? pixel : DerivedColor(pixel, gray));
        }
    }
    sourceDC.SelectObject(oldSource);
    targetDC.SelectObject(oldTarget);
    return derived;
}

HBITMAP CIconButton::CreateBitmapMask(HBITMAP source, int width, int height, COLORREF transparent)
{
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    CDC sourceDC;
    CDC maskDC;
    if (!mask || !sourceDC.CreateCompatibleDC(nullptr) || !maskDC.CreateCompatibleDC(nullptr)) {
        if (mask)
            DeleteObject(mask);
        return nullptr;
    }
    HGDIOBJ oldSource = sourceDC.SelectObject(source);
    HGDIOBJ oldMask = maskDC.SelectObject(mask);
    const COLORREF oldBk = sourceDC.SetBkColor(transparent);
    maskDC.BitBlt(0, 0, width, height, &sourceDC, 0, 0, SRCCOPY);
    const COLORREF oldText = sourceDC.SetTextColor(RGB(255, 255, 255));
    sourceDC.SetBkColor(RGB(0, 0, 0));
    sourceDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, SRCAND);
    sourceDC.SetTextColor(oldText);
    sourceDC.SetBkColor(oldBk);
    sourceDC.SelectObject(oldSource);
    maskDC.SelectObject(oldMask);
    return mask;
}

void CIconButton::SizeToContent()
{
    if (m_icons[0].icon) {
        m_imageMargin = CPoint(0, 0);
        SetWindowPos(nullptr, -1, -1, m_icons[0].width, m_icons[0].height,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    } else if (m_bitmaps[0].bitmap) {
        m_imageMargin = CPoint(0, 0);
        SetWindowPos(nullptr, -1, -1, m_bitmaps[0].width, m_bitmaps[0].height,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    }
}

// ---- Look -----------------------------------------------------------------------------

void CIconButton::Repaint(BOOL repaint)
{
    if (repaint)
        Invalidate();
}

DWORD CIconButton::SetFlat(BOOL flat, BOOL repaint)
{
    m_flat = flat;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetImageAlign(BYTE align, BOOL repaint)
{
    if (align > kAlignOverlap)
        return kIconButtonInvalidAlign;
    m_align = align;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetPressedStyle(BYTE style, BOOL repaint)
{
    if (style == kPressedRightBottom)
        m_pressedOffset = CPoint(1, 1);
    else if (style == kPressedDown)
        m_pressedOffset = CPoint(0, 2);
    else
        return kIconButtonInvalidPressedStyle;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetDrawBorder(BOOL draw, BOOL repaint)
{
    m_drawBorder = draw;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetFocusInFlat(BOOL draw, BOOL repaint)
{
    m_drawFlatFocus = draw;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetDefaultColors(BOOL repaint)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    m_colors[kColorBkIn] = face;
    m_colors[kColorFgIn] = text;
    m_colors[kColorBkOut] = face;
    m_colors[kColorFgOut] = text;
    m_colors[kColorBkFocus] = face;
    m_colors[kColorFgFocus] = text;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetColor(BYTE index, COLORREF color, BOOL repaint)
{
    if (index >= kMaxColors)
        return kIconButtonInvalidIndex;
    m_colors[index] = color;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::GetColor(BYTE index, COLORREF* color) const
{
    if (index >= kMaxColors)
        return kIconButtonInvalidIndex;
    if (color)
        *color = m_colors[index];
    return kIconButtonOk;
}

DWORD CIconButton::ShiftColor(BYTE index, short offset, BOOL repaint)
{
    if (offset < -255 || offset > 255)
        return kIconButtonBadParam;
    if (index >= kMaxColors)
        return kIconButtonInvalidIndex;
    const int r = GetRValue(m_colors[index]);
    const int g = GetGValue(m_colors[index]);
    const int b = GetBValue(m_colors[index]);
    int amount;
    if (offset > 0)
        amount = std::min({ std::min<int>(offset, 255 - r), std::min<int>(offset, 255 - g),
            std::min<int>(offset, 255 - b) });
    else
        amount
            = std::max({ std::max<int>(offset, -r), std::max<int>(offset, -g), std::max<int>(offset, -b) });
    m_colors[index] = RGB(r + amount, g + amount, b + amount);
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetTrackAlways(BOOL always)
{
    m_trackAlways = always;
    return kIconButtonOk;
}

DWORD CIconButton::SetButtonCursor(int cursorId, BOOL repaint)
{
    if (m_cursor)
        DestroyCursor(m_cursor);
    m_cursor = nullptr;
    if (cursorId != 0) {
        m_cursor = static_cast<HCURSOR>(
            LoadImage(AfxGetResourceHandle(), static_cast<UINT>(cursorId), IMAGE_CURSOR, 0, 0, 0));
        Repaint(repaint);
        if (!m_cursor)
            return kIconButtonInvalidResource;
    }
    return kIconButtonOk;
}

DWORD CIconButton::SetCheck(int checked, BOOL repaint)
{
    if (m_checkBoxMode) {
        m_checked = checked != 0 ? TRUE : FALSE;
        Repaint(repaint);
    }
    return kIconButtonOk;
}

// ---- Tooltip --------------------------------------------------------------------------

void CIconButton::InitToolTip()
{
    if (m_toolTip.GetSafeHwnd() || !GetSafeHwnd())
        return;
    m_toolTip.Create(this, m_toolTipStyle);
    m_toolTip.Activate(FALSE);
    m_toolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 400);
}

void CIconButton::SetTipText(LPCTSTR text, BOOL activate)
{
    if (!text)
        return;
    InitToolTip();
    if (m_toolTip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_toolTip.AddTool(this, text, &client, 1);
    }
    m_toolTip.UpdateTipText(text, this, 1);
    m_toolTip.Activate(activate);
}

void CIconButton::SetTipText(UINT stringId, BOOL activate)
{
    CString text;
    if (!AfxLoadString(stringId, text) || text.IsEmpty())
        return;
    SetTipText(text.GetString(), activate);
}

void CIconButton::ActivateTip(BOOL activate)
{
    if (m_toolTip.GetToolCount() == 0)
        return;
    m_toolTip.Activate(activate);
}

void CIconButton::UseBalloonTip()
{
    m_toolTipStyle |= TTS_BALLOON;
}

// ---- Transparent mode ---------------------------------------------------------------

void CIconButton::DropBackground()
{
    if (m_backgroundDC.GetSafeHdc()) {
        if (m_oldBackground)
            m_backgroundDC.SelectObject(m_oldBackground);
        m_backgroundDC.DeleteDC();
    }
    m_oldBackground = nullptr;
    m_background.DeleteObject();
}

DWORD CIconButton::SetTransparentMode(BOOL repaint)
{
    m_transparent = TRUE;
    DropBackground();
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::CaptureBackground(CDC* dc)
{
    if (!m_transparent || !dc)
        return kIconButtonBadParam;
    DropBackground();
    // The pixels under the button: its rectangle in the parent's client
    // coordinates, which the given DC is taken to draw in.
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&window);
    m_backgroundDC.CreateCompatibleDC(dc);
    m_background.CreateCompatibleBitmap(dc, client.Width(), client.Height());
    m_oldBackground = m_backgroundDC.SelectObject(&m_background);
    m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), dc, window.left, window.top, SRCCOPY);
    return kIconButtonOk;
}

void CIconButton::PaintBackground(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (!m_backgroundDC.GetSafeHdc()) {
        CWnd* parent = GetParent();
        if (!parent)
            return;
        CRect window;
        GetWindowRect(&window);
        parent->ScreenToClient(&window);
        CClientDC parentDC(parent);
        m_backgroundDC.CreateCompatibleDC(&parentDC);
        m_background.CreateCompatibleBitmap(&parentDC, client.Width(), client.Height());
        m_oldBackground = m_backgroundDC.SelectObject(&m_background);
        m_backgroundDC.BitBlt(
            0, 0, client.Width(), client.Height(), &parentDC, window.left, window.top, SRCCOPY);
    }
    dc->BitBlt(0, 0, client.Width(), client.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
}

// ---- Click actions --------------------------------------------------------------------

DWORD CIconButton::SetURL(LPCTSTR url)
{
    CopyBounded(m_url, url);
    return kIconButtonOk;
}

DWORD CIconButton::SetSound(LPCTSTR name, HINSTANCE module, BOOL onClick, BOOL async)
{
    SoundRecord& sound = m_sounds[onClick ? 1 : 0];
    sound = SoundRecord();
    if (!name)
        return kIconButtonOk;
    sound.module = module;
    if (module) {
        sound.resource = name;
        sound.flags = SND_NODEFAULT | SND_NOWAIT | SND_RESOURCE;
    } else {
        CopyBounded(sound.name, name);
        sound.flags = SND_NODEFAULT | SND_NOWAIT | SND_FILENAME;
    }
    if (async)
        sound.flags |= SND_ASYNC;
    return kIconButtonOk;
}

void CIconButton::PlaySoundRecord(const SoundRecord& sound)
{
    if (sound.module)
        PlaySound(sound.resource, sound.module, sound.flags);
    else if (sound.name[0])
        PlaySound(sound.name, nullptr, sound.flags);
}

DWORD CIconButton::SetPopupMenu(int menuId, HWND owner, BOOL xpLook, int toolbarId, int iconWidth,
    int iconHeight, COLORREF toolbarBackground, BOOL repaint)
{
    m_menu.DestroyMenu();
    m_menuOwner = nullptr;
    m_menuShowing = FALSE;
    if (menuId == 0) {
        Repaint(repaint);
        return kIconButtonOk;
    }
    CDrawnMenu::SetMenuDrawMode(xpLook ? CDrawnMenu::kFlatLook : CDrawnMenu::kClassicLook);
    if (!m_menu.LoadMenu(static_cast<UINT>(menuId)))
        return kIconButtonInvalidResource;
    if (toolbarId != 0) {
        m_menu.SetBitmapBackground(toolbarBackground);
        m_menu.SetIconSize(iconWidth, iconHeight);
        if (!m_menu.LoadToolbar(static_cast<UINT>(toolbarId))) {
            m_menu.DestroyMenu();
            return kIconButtonInvalidResource;
        }
    }
    m_menuOwner = owner;
    Repaint(repaint);
    return kIconButtonOk;
}

DWORD CIconButton::SetMenuCallback(HWND window, UINT message, LPARAM lParam)
{
    m_menuCallback.window = window;
    m_menuCallback.message = message;
    m_menuCallback.lParam = lParam;
    return kIconButtonOk;
}

BOOL CIconButton::OnClicked()
{
    SetFocus();
    PlaySoundRecord(m_sounds[1]);
    if (m_checkBoxMode) {
        m_checked = !m_checked;
        Invalidate();
        return FALSE;
    }
    if (m_menu.GetSafeHmenu()) {
        CRect window;
        GetWindowRect(&window);
        CMenu* popup = m_menu.GetSubMenu(0);
        if (popup) {
            m_menuShowing = TRUE;
            Invalidate();
            if (m_menuCallback.window)
                ::SendMessage(m_menuCallback.window, m_menuCallback.message,
                    reinterpret_cast<WPARAM>(popup->GetSafeHmenu()), m_menuCallback.lParam);
            const UINT command = static_cast<UINT>(
                popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                    window.left, window.bottom, this));
            m_menuShowing = FALSE;
            Invalidate();
            if (command != 0)
                ::PostMessage(m_menuOwner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
        }
    } else if (m_url[0] != '\0') {
        SHELLEXECUTEINFO info;
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.hwnd = GetSafeHwnd();
        info.lpVerb = "open";
        info.lpFile = m_url;
        info.nShow = SW_SHOWMAXIMIZED;
        ShellExecuteEx(&info);
    }
    return FALSE;
}

// ---- Messages -----------------------------------------------------------------------

void CIconButton::CancelHover()
{
    if (m_flat && m_mouseOver) {
        m_mouseOver = FALSE;
        Invalidate();
    }
}

void CIconButton::OnMouseMove(UINT flags, CPoint point)
{
    Default();
    CPoint screen = point;
    ClientToScreen(&screen);
    const HWND under = WindowFromPoint(screen);
    if ((flags & MK_LBUTTON) && !m_mouseOver)
        return;
    if (!m_flat)
        return;
    if (under == GetSafeHwnd() && (m_trackAlways || GetActiveWindow() != nullptr)) {
        if (!m_mouseOver) {
            m_mouseOver = TRUE;
            Invalidate();
            PlaySoundRecord(m_sounds[0]);
            TRACKMOUSEEVENT request;
            request.dwFlags = TME_LEAVE;
            request.hwndTrack = GetSafeHwnd();
            _TrackMouseEvent(&request);
        }
    } else {
        CancelHover();
    }
}

LRESULT CIconButton::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

void CIconButton::OnKillFocus(CWnd*)
{
    Default();
    CancelHover();
}

LRESULT CIconButton::OnCancelModeMessage(WPARAM, LPARAM)
{
    Default();
    CancelHover();
    return 0;
}

LRESULT CIconButton::OnActivateMessage(WPARAM wParam, LPARAM)
{
    Default();
    if (LOWORD(wParam) == WA_INACTIVE)
        CancelHover();
    return 0;
}

void CIconButton::OnEnable(BOOL enable)
{
    Default();
    if (!enable) {
        if (CWnd* parent = GetParent()) {
            // The focus goes on to the next tab item, or to the parent.
            const HWND next = GetNextDlgTabItem(parent->GetSafeHwnd(), GetSafeHwnd(), FALSE);
            CWnd* target = next && next != GetSafeHwnd() ? CWnd::FromHandle(next) : nullptr;
            (target ? target : parent)->SetFocus();
        }
        CancelHover();
    }
}

BOOL CIconButton::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

UINT CIconButton::OnGetDlgCode()
{
    UINT code = static_cast<UINT>(Default());
    code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return code;
}

LRESULT CIconButton::OnSysColorChangeMessage(WPARAM, LPARAM)
{
    Default();
    DropBackground();
    SetDefaultColors(FALSE);
    Invalidate();
    return 0;
}

HBRUSH CIconButton::CtlColor(CDC*, UINT)
{
    return GetStockObject(NULL_BRUSH);
}

LRESULT CIconButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const DWORD type = static_cast<DWORD>(wParam) & kTypeBits;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_isDefault = FALSE;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW, lParam);
}

LRESULT CIconButton::OnSetCheckMessage(WPARAM wParam, LPARAM)
{
    if (m_checkBoxMode) {
        m_checked = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? TRUE : FALSE;
        Invalidate();
    }
    return 0;
}

LRESULT CIconButton::OnGetCheckMessage(WPARAM, LPARAM)
{
    return m_checked;
}

LRESULT CIconButton::OnMeasureItemMessage(WPARAM, LPARAM lParam)
{
    auto* measure = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    if (measure && measure->CtlType == ODT_MENU && m_menu.GetSafeHmenu()) {
        m_menu.MeasureItem(measure);
        return TRUE;
    }
    return Default();
}

LRESULT CIconButton::OnMenuCharMessage(WPARAM wParam, LPARAM lParam)
{
    CMenu* menu = CMenu::FromHandle(reinterpret_cast<HMENU>(lParam));
    if (menu && CDrawnMenu::IsMenu(menu))
        return CDrawnMenu::FindKeyboardShortcut(LOWORD(wParam), HIWORD(wParam), menu);
    return Default();
}

// ---- Drawing --------------------------------------------------------------------------

void CIconButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (!dc)
        return;
    const UINT state = drawItem->itemState;
    if (m_checkBoxMode)
        m_pressed = ((state & ODS_SELECTED) || m_checked) ? TRUE : FALSE;
    else
        m_pressed = ((state & ODS_SELECTED) || (m_menu.GetSafeHmenu() && m_menuShowing)) ? TRUE : FALSE;
    m_focused = (state & ODS_FOCUS) ? TRUE : FALSE;
    m_disabled = (state & ODS_DISABLED) ? TRUE : FALSE;

    CRect item(drawItem->rcItem);
    dc->SetBkMode(TRANSPARENT);
    if (m_transparent)
        PaintBackground(dc);
    else
        DrawButtonBackground(dc, &item);
    DrawButtonBorder(dc, &item);

    CString caption;
    GetWindowText(caption);
    CRect captionRect(drawItem->rcItem);
    if (m_icons[0].icon)
        DrawButtonIcon(dc, !caption.IsEmpty(), &drawItem->rcItem, &captionRect, m_pressed, m_disabled);
    if (m_bitmaps[0].bitmap) {
        dc->SetBkColor(RGB(255, 255, 255));
        DrawButtonBitmap(dc, !caption.IsEmpty(), &drawItem->rcItem, &captionRect, m_pressed, m_disabled);
    }
    if (!caption.IsEmpty())
        DrawButtonText(dc, caption.GetString(), &drawItem->rcItem, &captionRect, m_pressed, m_disabled);
    if (m_focused && (!m_flat || m_drawFlatFocus)) {
        CRect focus(drawItem->rcItem);
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(&focus);
    }
}

DWORD CIconButton::DrawButtonBackground(CDC* dc, CRect* rect)
{
    if (!m_flat && (m_focused || m_isDefault)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(rect, &black);
        rect->DeflateRect(1, 1);
    }
    COLORREF color;
    if (m_mouseOver || m_pressed)
        color = m_colors[kColorBkIn];
    else if (m_focused)
        color = m_colors[kColorBkFocus];
    else
        color = m_colors[kColorBkOut];
    dc->FillSolidRect(rect, color);
    return kIconButtonOk;
}

DWORD CIconButton::DrawButtonBorder(CDC* dc, CRect* rect)
{
    const CRect& r = *rect;
    if (!m_pressed) {
        if (!m_flat) {
            CPen highlight(PS_SOLID, 1, GetSysColor(COLOR_BTNHILIGHT));
            CPen light(PS_SOLID, 1, GetSysColor(COLOR_3DLIGHT));
            CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
            CPen darkShadow(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
            CPen* oldPen = dc->SelectObject(&highlight);
            dc->MoveTo(r.left, r.bottom - 1);
            dc->LineTo(r.left, r.top);
            dc->LineTo(r.right, r.top);
            dc->SelectObject(&light);
            dc->MoveTo(r.left + 1, r.bottom - 1);
            dc->LineTo(r.left + 1, r.top + 1);
            dc->LineTo(r.right, r.top + 1);
            dc->SelectObject(&darkShadow);
            dc->MoveTo(r.left, r.bottom - 1);
            dc->LineTo(r.right - 1, r.bottom - 1);
            dc->LineTo(r.right - 1, r.top - 1);
            dc->SelectObject(&shadow);
            dc->MoveTo(r.left + 1, r.bottom - 2);
            dc->LineTo(r.right - 2, r.bottom - 2);
            dc->LineTo(r.right - 2, r.top);
            dc->SelectObject(oldPen);
        } else if (m_mouseOver && m_drawBorder) {
            dc->Draw3dRect(rect, GetSysColor(COLOR_BTNHILIGHT), GetSysColor(COLOR_BTNSHADOW));
        }
    } else if (!m_flat) {
        CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
        dc->FrameRect(rect, &shadow);
    } else if (m_drawBorder) {
        dc->Draw3dRect(rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHILIGHT));
    }
    return kIconButtonOk;
}

void CIconButton::PrepareImageRect(BOOL hasCaption, const RECT* item, CRect* caption, BOOL pressed, int width,
    int height, CRect* image) const
{
    const CRect itemRect(*item);
    *image = itemRect;
    switch (m_align) {
    case kAlignHorizontal:
        if (hasCaption) {
            image->left += m_imageMargin.x;
            caption->left += width + m_imageMargin.x;
        } else {
            image->left += (image->Width() - width) / 2;
        }
        image->top += (image->Height() - height) / 2;
        break;
    case kAlignHorizontalRight: {
        const int captionWidth = caption->Width();
        if (hasCaption) {
            caption->right = captionWidth - width - m_imageMargin.x;
            caption->left = m_imageMargin.x;
            image->left = itemRect.right - width - m_imageMargin.x;
        } else {
            image->left += (image->Width() - width) / 2;
        }
        image->top += (image->Height() - height) / 2;
        break;
    }
    case kAlignVertical:
        image->left += (image->Width() - width) / 2;
        if (hasCaption) {
            image->top = m_imageMargin.y;
            caption->top += height;
        } else {
            image->top += (image->Height() - height) / 2;
        }
        break;
    default: // overlap: the image at the face's top-left corner
        break;
    }
    if (pressed && !m_checkBoxMode)
        image->OffsetRect(m_pressedOffset.x, m_pressedOffset.y);
}

int CIconButton::ImageIndex(BOOL pressed, bool hasOut) const
{
    if (!hasOut)
        return 0;
    if (m_checkBoxMode)
        return pressed ? 0 : 1;
    return (m_mouseOver || pressed) ? 0 : 1;
}

void CIconButton::DrawButtonIcon(
    CDC* dc, BOOL hasCaption, RECT* item, CRect* caption, BOOL pressed, BOOL disabled)
{
    const int index = ImageIndex(pressed, m_icons[1].icon != nullptr);
    CRect image;
    PrepareImageRect(hasCaption, item, caption, pressed, m_icons[0].width, m_icons[0].height, &image);
    dc->DrawState(image.TopLeft(), CSize(m_icons[index].width, m_icons[index].height), m_icons[index].icon,
        DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL), static_cast<CBrush*>(nullptr));
}

void CIconButton::DrawButtonBitmap(
    CDC* dc, BOOL hasCaption, RECT* item, CRect* caption, BOOL pressed, BOOL disabled)
{
    const int index = ImageIndex(pressed, m_bitmaps[1].bitmap != nullptr);
    const BitmapRecord& record = m_bitmaps[index];
    CRect image;
    PrepareImageRect(hasCaption, item, caption, pressed, m_bitmaps[0].width, m_bitmaps[0].height, &image);
    CDC bitmapDC;
    CDC maskDC;
    bitmapDC.CreateCompatibleDC(dc);
    maskDC.CreateCompatibleDC(dc);
    HGDIOBJ oldBitmap = bitmapDC.SelectObject(record.bitmap);
    HGDIOBJ oldMask = maskDC.SelectObject(record.mask);
    if (!disabled || !m_disabledBitmapLook) {
        dc->BitBlt(image.left, image.top, record.width, record.height, &maskDC, 0, 0, SRCAND);
        dc->BitBlt(image.left, image.top, record.width, record.height, &bitmapDC, 0, 0, SRCPAINT);
    } else {
        CDC workDC;
        CBitmap work;
        workDC.CreateCompatibleDC(dc);
        work.CreateCompatibleBitmap(dc, record.width, record.height);
        CBitmap* oldWork = workDC.SelectObject(&work);
        workDC.FillSolidRect(0, 0, record.width, record.height, RGB(255, 255, 255));
        workDC.SetBkColor(RGB(255, 255, 255));
        workDC.BitBlt(0, 0, record.width, record.height, &maskDC, 0, 0, SRCAND);
        workDC.BitBlt(0, 0, record.width, record.height, &bitmapDC, 0, 0, SRCPAINT);
        workDC.SelectObject(oldWork);
        dc->DrawState(image.TopLeft(), CSize(record.width, record.height), &work, DST_BITMAP | DSS_DISABLED);
    }
    bitmapDC.SelectObject(oldBitmap);
    maskDC.SelectObject(oldMask);
}

void CIconButton::DrawButtonText(CDC* dc, LPCTSTR text, RECT*, CRect* caption, BOOL pressed, BOOL disabled)
{
    if (pressed && !m_checkBoxMode)
        caption->OffsetRect(m_pressedOffset.x, m_pressedOffset.y);
    const CRect copy = *caption;
    CRect centred = *caption;
    dc->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    centred.OffsetRect((copy.Width() - centred.Width()) / 2, (copy.Height() - centred.Height()) / 2);
    dc->SetBkMode(TRANSPARENT);
    if (!disabled) {
        if (m_mouseOver || pressed) {
            dc->SetTextColor(m_colors[kColorFgIn]);
            dc->SetBkColor(m_colors[kColorBkIn]);
        } else if (m_focused) {
            dc->SetTextColor(m_colors[kColorFgFocus]);
            dc->SetBkColor(m_colors[kColorBkFocus]);
        } else {
            dc->SetTextColor(m_colors[kColorFgOut]);
            dc->SetBkColor(m_colors[kColorBkOut]);
        }
        dc->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER);
    } else {
        centred.OffsetRect(1, 1);
        dc->SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        dc->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER);
        centred.OffsetRect(-1, -1);
        dc->SetTextColor(GetSysColor(COLOR_3DSHADOW));
        dc->DrawText(text, -1, &centred, DT_WORDBREAK | DT_CENTER);
    }
}

void DressIconButton(CIconButton& button, int icon, const char* tip)
{
    button.LoadIcons(icon, CIconButton::kAutoDarker);
    button.SetTipText(tip);
    button.SetTransparentMode(FALSE);
}
