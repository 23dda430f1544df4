#pragma once
// CDrawnMenu: a menu that draws its items itself, with small images beside the
// texts, in a classic look or a flat look with an image column. Images come
// from toolbar resources, bitmaps or image lists and are shared between menus
// by command id. Built from menu templates with owner-drawn items and
// submenus of this class; only the top-level items stay plain strings.
// UI thread; the shared lists are not locked.

#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/core/menu.h"

// The record of one owner-drawn item, owned by the menu that holds the item;
// the item's data points at it.
class CDrawnMenuItemInfo {
public:
    CString GetString() const { return m_text; }
    void SetString(LPCTSTR text) { m_text = text ? text : ""; }

    int m_ownOffset = -1; // image in m_ownImages
    int m_sharedOffset = -1; // image in the shared list
    int m_normalIndex = -1;
    UINT m_flags = 0;
    UINT_PTR m_id = 0; // command id, or the submenu of a popup item
    std::unique_ptr<CImageList> m_ownImages;

private:
    CString m_text;
};

class CDrawnMenu : public CMenu {
public:
    // Draw modes of the two shells.
    static constexpr UINT kClassicLook = 0;
    static constexpr UINT kFlatLook = 1;

    CDrawnMenu();
    ~CDrawnMenu() override;

    // Removes the menu and its submenus from the shared handle list, deletes
    // the submenus of this class and the item records, then the menu.
    BOOL DestroyMenu() override;

    // ---- Shared settings -----------------------------------------------------------
    // Sets the draw mode of both shells.
    static void SetMenuDrawMode(UINT mode);
    static void SetSelectDisableMode(BOOL selectDisabled);
    // Flat look: faded and shadow copies of images, items 3 pixels larger.
    static void SetXPBitmap3D(BOOL on);
    // Windows version code of the system (7: NT 5.1) and the classic-theme test.
    static int GetVersionCode();
    static BOOL IsClassicTheme();
    // The flat look applies: version 7 without the classic theme, and the
    // draw mode in force (of that shell or the classic one) is 1.
    static BOOL IsXpShell();
    static UINT DrawModeInForce();
    // c + (255 - c) * f, and c - c * f, per channel, truncated; f outside (0, 1]
    // leaves the colour.
    static COLORREF LightenColor(COLORREF color, double factor);
    static COLORREF DarkenColor(COLORREF color, double factor);

    // Image size of this menu and its submenus (16 x 15 by default).
    void SetIconSize(int width, int height);
    CSize GetIconSize() const { return CSize(m_iconWidth, m_iconHeight); }
    void SetBitmapBackground(COLORREF color);
    void UnSetBitmapBackground();

    // ---- Items (texts are UTF-8; each text-taking operation also has a form
    // for wide text, which it converts) --------------------------------------------
    // Command id 0 makes a separator. imageIndex: an image of the toolbar
    // strip that LoadToolbar loaded last, shared under the command id; -1 for
    // the command's shared image if any.
    BOOL AppendItem(LPCTSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR id = 0, int imageIndex = -1);
    BOOL AppendItem(const wchar_t* text, UINT flags = MF_OWNERDRAW, UINT_PTR id = 0, int imageIndex = -1);
    // The item's image is image offset of list (also shared under id).
    BOOL AppendItem(LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int offset);
    BOOL AppendItem(const wchar_t* text, UINT flags, UINT_PTR id, CImageList* list, int offset);
    // With MF_BYPOSITION in flags at position, else before the item whose
    // command id is position; FALSE when there is no such item.
    BOOL InsertItem(
        UINT position, LPCTSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR id = 0, int imageIndex = -1);
    BOOL InsertItem(
        UINT position, const wchar_t* text, UINT flags = MF_OWNERDRAW, UINT_PTR id = 0, int imageIndex = -1);
    BOOL InsertItem(UINT position, LPCTSTR text, UINT flags, UINT_PTR id, CImageList* list, int offset);
    BOOL InsertItem(
        UINT position, const wchar_t* text, UINT flags, UINT_PTR id, CImageList* list, int offset);
    // The item of command id (in this menu or a submenu) gets text (kept when
    // null) and the image.
    BOOL ModifyItem(LPCTSTR text, UINT_PTR id, int imageIndex = -1);
    BOOL ModifyItem(const wchar_t* text, UINT_PTR id, int imageIndex = -1);
    BOOL ModifyItem(LPCTSTR text, UINT_PTR id, CImageList* list, int offset);
    BOOL ModifyItem(LPCTSTR text, UINT_PTR id, CBitmap* bitmap);
    // A swatch of fill framed in border, width x height, as the item's image.
    BOOL ModifyItem(LPCTSTR text, UINT_PTR id, COLORREF fill, COLORREF border, int width, int height);
    // The item whose text is currentText gets text and image index.
    BOOL ModifyItem(LPCTSTR text, LPCTSTR currentText, int imageIndex);
    BOOL ModifyItem(const wchar_t* text, const wchar_t* currentText, int imageIndex);
    // Appends a submenu of this class; null on failure.
    CDrawnMenu* AppendPopup(LPCTSTR text);
    CDrawnMenu* AppendPopup(const wchar_t* text);
    CDrawnMenu* GetSubDrawnMenu(int position) const;
    CDrawnMenu* GetSubDrawnMenu(LPCTSTR text) const;
    CDrawnMenu* GetSubDrawnMenu(const wchar_t* text) const;
    // Position of the item with this text, -1 when none.
    int GetMenuPosition(LPCTSTR text) const;
    int GetMenuPosition(const wchar_t* text) const;
    // Takes an item out by position (MF_BYPOSITION) or command id; a command
    // that no other item of these menus shows loses its shared image. Delete
    // also destroys a submenu.
    BOOL RemoveItem(UINT position, UINT flags);
    BOOL RemoveItem(LPCTSTR text);
    BOOL RemoveItem(const wchar_t* text);
    BOOL DeleteItem(UINT position, UINT flags);
    BOOL DeleteItem(LPCTSTR text);
    BOOL DeleteItem(const wchar_t* text);
    CDrawnMenuItemInfo* GetItemInfo(UINT position) const;

    // Builds the menu from menu template resourceId; FALSE when it is missing.
    BOOL LoadMenu(UINT resourceId);
    // Loads the images of toolbar resourceId and gives them to the items with
    // the same command ids; FALSE when the toolbar or its bitmap is missing.
    BOOL LoadToolbar(UINT resourceId);
    BOOL LoadToolbars(const UINT* resourceIds, int count);
    // Makes the records match items changed through the platform directly.
    void SynchronizeMenu();

    void MeasureItem(LPMEASUREITEMSTRUCT measureItem) override;
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // TRUE when the menu was built by this class.
    static BOOL IsMenu(HMENU menu);
    static BOOL IsMenu(CMenu* menu) { return menu ? IsMenu(menu->GetSafeHmenu()) : FALSE; }
    // WM_MENUCHAR: MAKELRESULT(position, MNC_EXECUTE) of the first item whose
    // text holds "&" + ch (case-insensitive), 0 when none or not a popup.
    static LRESULT FindKeyboardShortcut(UINT ch, UINT flags, CMenu* menu);

    // Shared images (for tests): the list and the command of each image.
    static CImageList* SharedImages();
    static const std::vector<UINT>& SharedCommands();

private:
    // Index of the item whose command id is id, -1 when none.
    int PositionOfCommand(UINT_PTR id) const;
    // Drops the shared image of id when no item of any menu of this class
    // still has that command.
    static void ForgetSharedImage(UINT_PTR id);
    BOOL RemoveAt(int index, BOOL destroySubmenu);
    CDrawnMenuItemInfo* NewItemInfo(LPCTSTR text, UINT flags, UINT_PTR id, int imageIndex);
    // info's own image: image offset of list (also shared under its command).
    void GiveOwnImage(CDrawnMenuItemInfo* info, CImageList* list, int offset);
    // Gives info image imageIndex of the toolbar strip (shared under id), or
    // the shared image of id when imageIndex is -1.
    void TakeImage(UINT_PTR id, int imageIndex, CDrawnMenuItemInfo* info);
    // The colour that image bitmaps show where they are transparent.
    COLORREF MaskColor() const;
    BOOL AddSharedImage(UINT_PTR id, CImageList* list, int offset, int* sharedOffset);
    int SharedOffsetOf(UINT_PTR id) const;
    CDrawnMenuItemInfo* FindInfo(UINT_PTR id, CDrawnMenu** owner);
    // Turns the top-level items that own a submenu (and, with commandsToo, the
    // command items) back into plain strings.
    void RestoreTopLevelStrings(BOOL commandsToo);
    void AlignAccelerators();
    void DrawFlat(LPDRAWITEMSTRUCT drawItem);
    void DrawClassic(LPDRAWITEMSTRUCT drawItem);
    BOOL DrawItemImage(CDC* dc, const CDrawnMenuItemInfo* info, CPoint at, BOOL disabled);
    int ItemPad() const;

    std::vector<std::unique_ptr<CDrawnMenuItemInfo>> m_items;
    std::vector<std::unique_ptr<CDrawnMenu>> m_subMenus;
    int m_iconWidth = 16;
    int m_iconHeight = 15;
    COLORREF m_bitmapBackground = RGB(192, 192, 192);
    BOOL m_useBitmapBackground = FALSE;
    CImageList* m_checkImages = nullptr;
    BOOL m_checkImagesShared = FALSE;
    int m_checkedIndex = -1;
    int m_radioIndex = -1;
    BOOL m_loadedFromTemplate = FALSE;
};
