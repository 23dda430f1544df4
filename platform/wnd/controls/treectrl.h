#pragma once
// CTreeCtrl: a tree of text items with images, drawn by the control itself.
// Items start collapsed; a double click or the Right/Left keys expand and
// collapse them, a click or the Up/Down keys select. Selection changes are
// told to the parent with WM_NOTIFY (TVN_SELCHANGING, which may refuse by
// returning nonzero, then TVN_SELCHANGED). UI thread.

#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/font.h"
#include "platform/wnd/core/wnd.h"

class CImageList;

struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::uintptr_t>(-0x0FFFE));

// Styles.
inline constexpr DWORD TVS_HASBUTTONS = 0x0001;
inline constexpr DWORD TVS_HASLINES = 0x0002;
inline constexpr DWORD TVS_LINESATROOT = 0x0004;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

// Image list kinds, expand codes, GetNextItem codes.
inline constexpr int TVSIL_NORMAL = 0;
inline constexpr UINT TVE_COLLAPSE = 0x0001;
inline constexpr UINT TVE_EXPAND = 0x0002;
inline constexpr UINT TVE_TOGGLE = 0x0003;
inline constexpr UINT TVGN_ROOT = 0x0000;
inline constexpr UINT TVGN_NEXT = 0x0001;
inline constexpr UINT TVGN_PREVIOUS = 0x0002;
inline constexpr UINT TVGN_PARENT = 0x0003;
inline constexpr UINT TVGN_CHILD = 0x0004;
inline constexpr UINT TVGN_CARET = 0x0009;

// Notifications and the ways a selection changes.
inline constexpr UINT TVN_SELCHANGING = static_cast<UINT>(-401);
inline constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
inline constexpr UINT TVC_UNKNOWN = 0x0000;
inline constexpr UINT TVC_BYMOUSE = 0x0001;
inline constexpr UINT TVC_BYKEYBOARD = 0x0002;

struct TVITEM {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    LPTSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = TVC_UNKNOWN;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag {};
};

class CTreeCtrl : public CWnd {
public:
    CTreeCtrl();
    ~CTreeCtrl() override;

    const MessageMap* GetMessageMap() const override;

    // Creates the control (class "SysTreeView32") as child id of parent.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Sets the image list (not owned) and returns the previous one.
    CImageList* SetImageList(CImageList* images, int kind);
    CImageList* GetImageList(int kind) const;

    // Adds an item under parent (TVI_ROOT for the top level) after
    // insertAfter (TVI_LAST, TVI_FIRST or a sibling). nullptr when parent is
    // not an item of this tree.
    HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
        HTREEITEM insertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM insertAfter = TVI_LAST);
    // Removes the item with its children; TVI_ROOT removes all. Removing the
    // selected item selects nothing (no notification).
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();

    UINT GetCount() const;
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCTSTR text);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);

    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    BOOL ItemHasChildren(HTREEITEM item) const;

    HTREEITEM GetSelectedItem() const;
    // Selects the item (nullptr: none) and notifies the parent (TVC_UNKNOWN).
    // FALSE when the parent refused or item is not an item of this tree.
    BOOL SelectItem(HTREEITEM item);
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL IsExpanded(HTREEITEM item) const;
    // The item drawn at point (client coordinates), or nullptr.
    HTREEITEM HitTest(CPoint point) const;
    // The item's row rectangle (textOnly: around its text); FALSE when it is
    // not shown.
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    // Row height in pixels.
    int GetItemHeight() const;

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode();

private:
    struct Item;
    Item* Find(HTREEITEM handle) const;
    std::vector<std::unique_ptr<Item>>* SiblingsOf(Item* parent);
    const std::vector<std::unique_ptr<Item>>& SiblingsOf(const Item* parent) const;
    void Visible(std::vector<Item*>& rows) const;
    void Collect(
        const std::vector<std::unique_ptr<Item>>& items, std::vector<Item*>& rows, bool onlyExpanded) const;
    BOOL ChangeSelection(Item* item, UINT action);
    void Forget(Item* item);
    CFont& Font();

    std::vector<std::unique_ptr<Item>> m_roots;
    Item* m_selected = nullptr;
    CImageList* m_images = nullptr;
    CFont m_font;
    std::uintptr_t m_nextHandle = 1;
};
