#pragma once
// Menus: handles of popup menus and menu bars with string, separator, popup
// and owner-drawn items; CMenu over them; TrackPopupMenu. Owner-drawn items
// (MF_OWNERDRAW: the item argument is the item's data) are measured and drawn
// by their owner window through WM_MEASUREITEM and WM_DRAWITEM (ODT_MENU, the
// menu handle in hwndItem); an owner that leaves them to the default handling
// has them measured and drawn by the CMenu object attached to the menu.
// Handles are process-wide; menus are used on the UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/owner_draw.h"
#include "platform/wnd/core/wnd.h"

struct HMENU__;
using HMENU = HMENU__*;

// Item flags.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_END = 0x0080;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_USECHECKBITMAPS = 0x0200;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_DEFAULT = 0x1000;

// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// WM_MENUCHAR answers (high word).
inline constexpr UINT MNC_IGNORE = 0;
inline constexpr UINT MNC_CLOSE = 1;
inline constexpr UINT MNC_EXECUTE = 2;
inline constexpr UINT MNC_SELECT = 3;

// ---- Handle-level calls -------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus. FALSE for a stale handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// item: the text, or the item data with MF_OWNERDRAW. With MF_POPUP id is the
// submenu, which then belongs to this menu.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCTSTR item);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCTSTR item);
// Replaces the item (by command or, with MF_BYPOSITION, by position).
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCTSTR item);
// Removes the item; a submenu is kept (RemoveMenu) or destroyed (DeleteMenu).
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// -1 for a stale handle.
int GetMenuItemCount(HMENU menu);
// The command id at position; -1 for a submenu or no such item, 0 for a separator.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's flags (MF_ bits; for a submenu its item count in the high byte);
// -1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
// Copies the item's text (at most maxCount - 1 bytes); returns its length.
int GetMenuString(HMENU menu, UINT id, LPTSTR buffer, int maxCount, UINT flags);
CString GetMenuText(HMENU menu, UINT id, UINT flags);
// The position of the first item whose text marks character with "&" (either
// case, "&&" is no mark), or -1: the letter that opens or chooses it.
int AfxFindMenuMnemonic(HMENU menu, UINT character);
// The owner-drawn item's data; 0 when none.
UINT_PTR GetMenuItemData(HMENU menu, UINT id, UINT flags);
// Previous state (MF_CHECKED / MF_GRAYED bits), -1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);
UINT EnableMenuItem(HMENU menu, UINT id, UINT enable);

// Shows the popup menu at (x, y) (screen) for owner and waits for a choice.
// With TPM_RETURNCMD returns the chosen command (0 when dismissed); otherwise
// posts WM_COMMAND to owner and returns TRUE when something was chosen.
// Unless TPM_NONOTIFY, owner first gets WM_INITMENUPOPUP. UI thread.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

// A menu bar's popup: as TrackPopupMenu with TPM_RETURNCMD, and the arrows
// step along the bar: Right on an item that opens no submenu, or Left in the
// popup itself (not in a submenu), closes it with *step +1 or -1, the
// neighbour to open next; *step is 0 otherwise. A popup opened by a key
// (byKeyboard) shows its first enabled item selected, one opened by a click
// none. UI thread.
UINT AfxTrackMenuBarPopup(HMENU menu, int x, int y, HWND owner, BOOL byKeyboard, int* step);

// Draws the popup menu as TrackPopupMenu shows it (owner measures and draws
// its owner-drawn items), with the item at selectedPosition (-1 none) drawn
// selected. A new colour bitmap the caller deletes; null for a stale menu.
HBITMAP AfxRenderPopupMenu(HMENU menu, HWND owner, int selectedPosition);

// Test seam: while enabled, TrackPopupMenu shows nothing; it records the call
// and takes the next scripted answer: a command (0, dismissed, when none is
// queued) or a typed character, which is offered to the owner as WM_MENUCHAR
// and chooses the item it answers with MNC_EXECUTE (nothing otherwise).
struct PopupMenuRecord {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    POINT at {};
    UINT flags = 0;
    int itemCount = 0;
};
class PopupMenuScript {
public:
    static void Enable();
    static void Disable();
    static void Push(UINT command);
    static void PushKey(UINT character);
    static std::vector<PopupMenuRecord> Records();
    // Clears queued commands and records.
    static void Reset();
};

// Test seam: keys for the popups that really show (the script disabled),
// typed one at a time into the popup that waits, as a user presses them
// (vk and text as for AfxSimulateKey); a popup that shows when none is left
// is closed as by Escape. Shown() lists the popups shown since Reset(),
// submenus not counted.
class PopupMenuKeys {
public:
    static void Type(UINT vk, const char* text = "");
    static std::vector<HMENU> Shown();
    // Drops the keys left and the list; popups are no longer typed into.
    static void Reset();
};

class CMenu {
public:
    CMenu() = default;
    // Destroys the menu it holds.
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // FALSE when a menu is already held.
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Builds the menu of the resource scripts' menu template id.
    BOOL LoadMenu(UINT resourceId);
    virtual BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach();
    // The object attached to the handle, or a wrapper that lives as long as the
    // handle; null for a stale handle.
    static CMenu* FromHandle(HMENU menu);
    // The object attached to the handle, null when none.
    static CMenu* FromHandlePermanent(HMENU menu);

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR item = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR item = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR item = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT id, UINT flags) const;
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int position) const;
    UINT CheckMenuItem(UINT id, UINT check);
    UINT EnableMenuItem(UINT id, UINT enable);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);

    // Owner-draw hooks for the items of this menu; the base does nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);
};
