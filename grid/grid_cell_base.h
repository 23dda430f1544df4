#pragma once
// The abstract grid cell: its state word and every operation the grid calls on
// a cell. Attributes a cell leaves unset come from the grid's default cells.

#include "grid/grid_defs.h"

class CGridCtrl;
class CGridCellBase;
class CGridDefaultCell;

// The run-time class of a cell type: its name and a factory. A grid makes its
// cells from one, and SetCellType replaces a cell by one of another class.
struct CGridCellClass {
    const char* m_lpszClassName;
    CGridCellBase* (*m_pfnCreateObject)();

    // A new cell of the class; null when the class has no factory.
    CGridCellBase* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

// The class record of cell type T (T::kClassName names it).
template <class T> const CGridCellClass* GridCellClassOf()
{
    static const CGridCellClass record { T::kClassName, []() -> CGridCellBase* { return new T; } };
    return &record;
}
#define RUNTIME_CELL_CLASS(T) GridCellClassOf<T>()

class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;

    // Attribute setters and getters (UI thread). The getters of format, font,
    // font object and margin fall back to the default cell.
    virtual void SetText(LPCTSTR szText) = 0;
    virtual void SetImage(int nImage) = 0;
    virtual void SetData(LPARAM lParam) = 0;
    virtual void SetState(DWORD nState) { m_nState = nState; }
    virtual void SetFormat(DWORD nFormat) = 0;
    virtual void SetTextClr(COLORREF clr) = 0;
    virtual void SetBackClr(COLORREF clr) = 0;
    virtual void SetFont(const LOGFONT* plf) = 0;
    virtual void SetMargin(UINT nMargin) = 0;
    virtual void SetGrid(CGridCtrl* pGrid) = 0;
    virtual void SetCoords(int nRow, int nCol) = 0;

    virtual LPCTSTR GetText() const = 0;
    virtual LPCTSTR GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const { return m_nState; }
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual LOGFONT* GetFont() const = 0;
    virtual CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CWnd* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    // The grid's default cell for this cell's fixed row and column bits; null
    // without a grid.
    virtual CGridDefaultCell* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return (GetState() & GRIDSTATE_FOCUSED) != 0; }
    virtual BOOL IsFixed() const { return (GetState() & GRIDSTATE_FIXED) != 0; }
    virtual BOOL IsFixedCol() const { return (GetState() & GRIDSTATE_FIXEDCOL) != 0; }
    virtual BOOL IsFixedRow() const { return (GetState() & GRIDSTATE_FIXEDROW) != 0; }
    virtual BOOL IsSelected() const { return (GetState() & GRIDSTATE_SELECTED) != 0; }
    virtual BOOL IsReadOnly() const { return (GetState() & GRIDSTATE_READONLY) != 0; }
    virtual BOOL IsModified() const { return (GetState() & GRIDSTATE_MODIFIED) != 0; }
    virtual BOOL IsDropHighlighted() const { return (GetState() & GRIDSTATE_DROPHILITED) != 0; }

    // Copies every attribute of cell through the virtual setters (the source's
    // format and margin arrive resolved against its default cell).
    virtual CGridCellBase& operator=(const CGridCellBase& cell);
    virtual void Reset() { m_nState = 0; }

    // Draws the cell into rect (inclusive right and bottom); FALSE when there
    // is no grid, no DC, no default cell or an empty rectangle.
    virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
    // Moves rect's left edge past the cell's image. Always TRUE.
    virtual BOOL GetTextRect(LPRECT pRect);
    virtual BOOL GetTipTextRect(LPRECT pRect) { return GetTextRect(pRect); }
    // Size the text needs in the cell's font, margins included; pDC may be null.
    virtual CSize GetTextExtent(LPCTSTR str, CDC* pDC = nullptr);
    // GetTextExtent(str).cy. An upright single line on the grid's measuring DC
    // is not measured: its height is its font's.
    int GetTextHeight(LPCTSTR str);
    // Text extent plus the image.
    virtual CSize GetCellExtent(CDC* pDC);

    // Opens the cell's in-place editor; FALSE when none could be opened.
    virtual BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) { return FALSE; }
    virtual BOOL ValidateEdit(LPCTSTR str) { return TRUE; }
    virtual void EndEdit() { }
    virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);
    // Called by the grid when the editor reported the end of the edit.
    virtual void OnEndEdit() { }

    // Mouse hooks; the points are relative to the cell's top-left corner.
    virtual void OnMouseOver() { }
    virtual void OnClick(CPoint pointCellRelative) { }
    virtual void OnClickDown(CPoint pointCellRelative) { }
    virtual void OnRClick(CPoint pointCellRelative) { }
    virtual void OnDblClick(CPoint pointCellRelative) { }
    // Sets the arrow cursor; TRUE.
    virtual BOOL OnSetCursor();

    // Forwards a notification to the grid's owner; 0 without a grid.
    LRESULT SendMessageToParent(int nRow, int nCol, int nMessage) const;

protected:
    DWORD m_nState = 0;
};
