#pragma once
// CGridCtrl: the table window. Rows of cell objects under fixed heading rows and
// columns, a focus cell, a set of selected cells, in-place editing, clipboard
// and drag-and-drop of tab-separated text, and notifications to the owner.
// Everything runs on the user-interface thread.

#include <functional>
#include <memory>
#include <vector>

#include "grid/grid_cell.h"
#include "grid/grid_print_state.h"
#include "grid/pick_list.h"
#include "grid/pick_rules.h"
#include "grid/selection_map.h"
#include "platform/wnd/core/runtime_class.h"

class CCmdUI;
class CPrintInfo;
class CGridTitleTip;
struct GridAxis;
class CGridDropTarget;
class CGridTextMeasure;

using GRIDCALLBACK = BOOL (*)(GRIDDISPINFO*, LPARAM);
// Compare function of the sort: two cells (CGridCellBase*) and host data.
using PFNGRIDCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

class CGridCtrl : public CWnd {
public:
    // Edit commands the grid handles.
    static constexpr UINT kIdEditCopy = 57634;
    static constexpr UINT kIdEditCut = 57635;
    static constexpr UINT kIdEditPaste = 57637;
    static constexpr UINT kIdEditSelectAll = 57642;
    // Timer that extends a drag selection while the pointer is outside.
    static constexpr UINT_PTR kAutoScrollTimerId = 0x201;

    // The window class the grid registers.
    struct WindowClass {
        const char* name;
        UINT style;
        UINT_PTR cursor;
        int background;
    };

    CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    // A grid with no rows or columns.
    static CGridCtrl* CreateObject() { return new CGridCtrl(0, 0, 0, 0); }
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }
    // Registers the window class "GridCtrl" once per process (double clicks,
    // redraw on size, arrow cursor, 3-D face background); TRUE.
    static BOOL RegisterWindowClass();
    // The registered class; null before the first registration.
    static const WindowClass* GetRegisteredClass();

    // Creates the window (class "GridCtrl", no title) and sizes the rows and
    // columns to the default cell's size; FALSE when the window fails.
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID,
        DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

    // Rows per wheel notch.
    static int GetMouseScrollLines();

    // ---- Picks: rows marked by Ctrl- and Shift-clicks, and the last click's rows ----
    // The pick state now; grid/pick_rules.h turns it into a command's rows.
    [[nodiscard]] GridPicks Picks() const;
    // The rows a command acts on now (see PickRows).
    [[nodiscard]] PickedRowList PickRows(PickRule rule) const;
    // The shift anchors, the button-down and -up rows and both pick modes
    // forgotten; the next shift anchor is the first one again.
    void ForgetPickAnchors();
    // The picked rows, the shift anchors, the button-down and -up rows and
    // both pick modes forgotten; which anchor the next click sets stays.
    void ClearPicks();
    // The row of the last click forgotten.
    void ForgetClickedRow();
    // While held, the next arrow/Tab move, left button down, up or double
    // click only releases the hold.
    void HoldFocus(bool hold);
    [[nodiscard]] bool IsFocusHeld() const { return m_bKeepFocus != 0; }

    // ---- Counts and shape ----
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    // Counts include the heading rows and columns. Growing creates cells
    // (heading cells carry the fixed bits), shrinking destroys them; the grid
    // is marked modified and an open editor is closed without its text.
    BOOL SetRowCount(int nRows = 10);
    BOOL SetColumnCount(int nCols = 10);
    // Clears the selection and the focus cell; grows the count when needed.
    BOOL SetFixedRowCount(int nFixedRows = 1);
    BOOL SetFixedColumnCount(int nFixedCols = 1);
    // The new row's index, or -1 (a position inside the fixed rows or at or
    // beyond the row count is refused; -1 appends).
    int InsertRow(LPCTSTR strHeading, int nRow = -1);
    // The new column's index, or -1; a position equal to the count appends.
    int InsertColumn(
        LPCTSTR strHeading, UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
    // Removes the row or column (FALSE outside the grid); the selection and
    // the focus cell are cleared; a heading lowers the fixed count.
    BOOL DeleteRow(int nRow);
    BOOL DeleteColumn(int nColumn);
    BOOL DeleteNonFixedRows();
    // No rows, columns or cells remain; all counts 0.
    BOOL DeleteAllItems();

    // Replaces the cell by a new one of pClass, keeping its attributes.
    BOOL SetCellType(int nRow, int nCol, const CGridCellClass* pClass);
    BOOL SetDefaultCellType(const CGridCellClass* pClass);
    // Puts pCell into the slot (the previous occupant is the caller's).
    BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
    virtual CGridCellBase* CreateCell(int nRow, int nCol);
    virtual void DestroyCell(int nRow, int nCol);
    // The cell object; null outside the grid. In virtual mode one shared cell
    // that every call fills again from the owner.
    CGridCellBase* GetCell(int nRow, int nCol) const;

    // ---- Cell access: every call is quiet outside the grid (FALSE, 0, -1, "") ----
    // Applies the masked fields and marks the cell modified.
    BOOL SetItem(const GRIDITEM* pItem);
    BOOL GetItem(GRIDITEM* pItem);
    // Sets the text and marks the cell and the grid modified (even when the
    // text is the same); a cell of the sort column ends the sort order.
    BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
    // The cell's text; "" outside the grid. UI thread.
    CString GetItemText(int nRow, int nCol) const;
    template <typename... Args> BOOL SetItemTextFmt(int nRow, int nCol, LPCTSTR szFmt, const Args&... args)
    {
        return SetItemText(nRow, nCol, CString::Formatted(szFmt, args...));
    }
    BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
    LPARAM GetItemData(int nRow, int nCol) const;
    BOOL SetItemImage(int nRow, int nCol, int iImage);
    int GetItemImage(int nRow, int nCol) const;
    // Sets the state word; the selected bit keeps the selected-cell set in step.
    BOOL SetItemState(int nRow, int nCol, UINT state);
    UINT GetItemState(int nRow, int nCol) const;
    BOOL SetItemFormat(int nRow, int nCol, UINT nFormat);
    UINT GetItemFormat(int nRow, int nCol) const;
    BOOL SetItemBkColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
    COLORREF GetItemBkColour(int nRow, int nCol) const;
    BOOL SetItemFgColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT);
    COLORREF GetItemFgColour(int nRow, int nCol) const;
    BOOL SetItemFont(int nRow, int nCol, const LOGFONT* lf);
    const LOGFONT* GetItemFont(int nRow, int nCol);
    BOOL IsItemEditing(int nRow, int nCol);

    // With a negative row or column: the grid's flag (clearing it clears every
    // cell's mark); else the cell's mark. Resets the sort column when the
    // column is negative or the sort column.
    void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
    BOOL GetModified(int nRow = -1, int nCol = -1);
    BOOL IsCellFixed(int nRow, int nCol) const;
    BOOL IsCellEditable(int nRow, int nCol) const;
    BOOL IsCellEditable(const CGridCellCoord& cell) const { return IsCellEditable(cell.row, cell.col); }
    BOOL IsCellSelected(int nRow, int nCol) const;
    BOOL IsCellSelected(const CGridCellCoord& cell) const { return IsCellSelected(cell.row, cell.col); }
    BOOL IsCellVisible(int nRow, int nCol);
    BOOL IsCellVisible(const CGridCellCoord& cell) { return IsCellVisible(cell.row, cell.col); }
    // Scrolls until the cell is in view; the keyboard focus stays where it was.
    void EnsureVisible(int nRow, int nCol);
    void EnsureVisible(const CGridCellCoord& cell) { EnsureVisible(cell.row, cell.col); }
    BOOL InvalidateCellRect(int row, int col);
    BOOL InvalidateCellRect(const CGridCellCoord& cell) { return InvalidateCellRect(cell.row, cell.col); }
    BOOL InvalidateCellRect(const CGridCellRange& cellRange);
    void Refresh();
    void SetGridLines(int nWhichLines = 3);
    int GetGridLines() const { return m_nGridLines; }

    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValid(const CGridCellCoord& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValid(const CGridCellRange& range) const;

    // ---- Sizes ----
    int GetRowHeight(int nRow) const;
    int GetColumnWidth(int nCol) const;
    BOOL SetRowHeight(int row, int height);
    BOOL SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long GetVirtualWidth() const;
    long GetVirtualHeight() const;
    void AutoSize(UINT nAutoSizeStyle = 0);
    BOOL AutoSizeColumn(int nCol, UINT nAutoSizeStyle = 0, BOOL bResetScroll = TRUE);
    BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);
    void AutoSizeColumns(UINT nAutoSizeStyle = 0);
    void AutoSizeRows();
    void ExpandColumnsToFit(BOOL bExpandFixed = TRUE);
    void ExpandRowsToFit(BOOL bExpandFixed = TRUE);
    void ExpandToFit(BOOL bExpandFixed = TRUE);
    void ExpandLastColumn();
    void SetAutoSizeStyle(int nStyle = 3) { m_nAutoSizeColumnStyle = nStyle; }
    int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }

    // ---- Geometry and scrolling ----
    // Geometry in client pixels; cell rectangles have inclusive right and
    // bottom edges. Scrolled-out cells have no origin or rectangle.
    CGridCellCoord GetTopleftNonFixedCell(BOOL bForceRecalculation = FALSE);
    CGridCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
    CGridCellRange GetUnobstructedNonFixedCellRange(BOOL bForceRecalculation = FALSE);
    CGridCellCoord GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
    BOOL GetCellOrigin(const CGridCellCoord& cell, LPPOINT p) { return GetCellOrigin(cell.row, cell.col, p); }
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRect(const CGridCellCoord& cell, LPRECT pRect)
    {
        return GetCellRect(cell.row, cell.col, pRect);
    }
    BOOL GetTextRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRangeRect(const CGridCellRange& cellRange, LPRECT lpRect);
    BOOL MouseOverRowResizeArea(CPoint& point);
    BOOL MouseOverColumnResizeArea(CPoint& point);
    void ResetScrollBars();
    void EnableScrollBars(int nBar, BOOL bEnable = TRUE);
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
    BOOL RedrawCell(const CGridCellCoord& cell, CDC* pDC = nullptr)
    {
        return RedrawCell(cell.row, cell.col, pDC);
    }
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);
    void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
    void EraseBkgnd(CDC* pDC);
    virtual void OnDraw(CDC* pDC);
    // Scroll-bar state bits: 0x01 horizontal shown, 0x02 vertical shown.
    int GetScrollBarState() const { return m_nBarState; }

    // ---- Focus and selection ----
    // Moves the focus (a heading position moves to the first non-fixed row or
    // column) and returns the previous focus cell; selection and scrolling
    // stay as they are.
    CGridCellCoord SetFocusCell(CGridCellCoord cell);
    CGridCellCoord SetFocusCell(int nRow, int nCol) { return SetFocusCell(CGridCellCoord(nRow, nCol)); }
    CGridCellCoord GetFocusCell() const { return m_idCurrentCell; }
    // Makes the rectangle the selection (with bSelectCells; otherwise
    // deselects it). Bounds inside the headings move to the first non-fixed
    // row or column; an invalid range only deselects.
    void SetSelectedRange(const CGridCellRange& Range, BOOL bForceRepaint = FALSE, BOOL bSelectCells = TRUE);
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE,
        BOOL bSelectCells = TRUE);
    CGridCellRange GetSelectedCellRange() const;
    CGridCellRange GetCellRange() const;
    void ResetSelectedRange();
    void SelectAllCells();
    void SelectColumns(CGridCellCoord currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectRows(CGridCellCoord currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectCells(CGridCellCoord currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void OnSelecting(const CGridCellCoord& currentCell);
    // The selected cells, row by row.
    const CGridSelectionMap& GetSelectedCellMap() const { return m_SelectedCellMap; }
    int GetSelectedCount() const { return m_SelectedCellMap.GetCount(); }
    int GetMouseMode() const { return m_MouseMode; }
    // Id of the running auto-scroll timer; 0 when none runs.
    UINT_PTR GetAutoScrollTimer() const { return m_nTimerID; }

    // ---- Editing ----
    // Opens the cell's in-place editor when the cell is editable, can be
    // scrolled into view and the owner does not refuse GRIDNOTIFY_BEGINEDIT.
    virtual void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar);
    // Stores the edited text (when changed and accepted by the cell and the
    // owner), ends the cell's edit and sends WM_GRID_CELLEDITED to the owner.
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    virtual BOOL ValidateEdit(int nRow, int nCol, LPCTSTR str);
    virtual void EndEditing();
    // Puts back the text that the latest edit of the cell (typed, pasted or
    // cut) replaced, for an owner that refuses the edit; nothing when the
    // latest edit was another cell's.
    void RestoreReplacedText(int nRow, int nCol);

    // ---- Clipboard and drag-and-drop ----
    // Writes a cell as an edit: asks the owner before and after; a refusal or
    // a failed validation keeps the old text.
    void SetCellTextAsEdit(int nRow, int nCol, LPCTSTR str);
    // Clears every selected cell as an edit and reports each with
    // WM_GRID_CELLEDITED; nothing when the grid is not editable.
    virtual void CutSelectedText();
    // The selection as text (rows by LF, cells by TAB); null when nothing is
    // selected. The caller owns it.
    virtual COleDataSource* CopyTextFromSelection();
    // Writes the text's lines and TAB-separated pieces from cell on (never
    // into the last row) and reports every cell written inside the grid.
    // FALSE when cell is invalid or not editable or there is no text.
    virtual BOOL PasteTextToSelection(
        CGridCellCoord cell, COleDataObject* pDataObject, BOOL bSelectPastedCells = TRUE);
    virtual void OnBeginDrag();
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    void ClearCells(CGridCellRange Selection);

    // ---- Sorting ----
    void SetCompareFunction(PFNGRIDCOMPARE pfnCompare) { m_pfnCompare = pfnCompare; }
    void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void SetSortColumn(int nCol);
    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortAscending(BOOL bAscending) { m_bAscending = bAscending; }
    BOOL GetSortAscending() const { return m_bAscending; }
    BOOL SortTextItems(int nCol, BOOL bAscending, LPARAM data = 0);
    BOOL SortItems(int nCol, BOOL bAscending, LPARAM data = 0);
    // Sorts the body rows by column nCol, leaving the last row where it is;
    // clears the selection and the focus cell. FALSE when nothing to sort.
    BOOL SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data = 0);
    // The quicksort of rows low..high (-1: the row count - 2); only cell
    // pointers and row heights move.
    BOOL SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high);
    static int CompareItemText(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    // By the leading decimal value of the texts, in 64 bits.
    static int CompareItemNumber(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    virtual void OnFixedColumnClick(CGridCellCoord& cell);
    virtual void OnFixedRowClick(CGridCellCoord& cell);

    // ---- Text file (CP949, CR LF, cells split by the separator, no quoting) ----
    // Writes every row; FALSE (and a message) when the file cannot be written.
    BOOL SaveCSV(LPCTSTR strFileName, char chSeparator = ',');
    // Rebuilds the grid from the file: the first line gives the column
    // headings, each further line a row; FALSE in virtual mode or when the
    // file cannot be read.
    BOOL LoadCSV(LPCTSTR strFileName, char chSeparator = ',');

    // ---- Settings ----
    CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const;
    void SetImageList(CImageList* pList) { m_pImageList = pList; }
    CImageList* GetImageList() const { return m_pImageList; }
    void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
    BOOL IsEditable() const { return m_bEditable; }
    // Empties the grid; switching on also turns editing, header sort, the
    // heading-click selections off and sizes only heading rows.
    void SetVirtualMode(BOOL bVirtual);
    void SetListMode(BOOL bEnableListMode = TRUE);
    BOOL GetListMode() const { return m_bListMode; }
    BOOL GetVirtualMode() const { return m_bVirtualMode; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection && m_bListMode; }
    BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
    void EnableSelection(BOOL bEnable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetFixedRowSelection(BOOL bSelect) { m_bFixedRowSelection = bSelect; }
    BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedColumnSelection(BOOL bSelect) { m_bFixedColumnSelection = bSelect; }
    BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void AllowColumnHide(BOOL bAllow = TRUE) { m_bAllowColHide = bAllow; }
    void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
    void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
    void SetHandleTabKey(BOOL bHandle = TRUE) { m_bHandleTabKey = bHandle; }
    void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
    void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void SetTrackFocusCell(BOOL bTrack) { m_bTrackFocusCell = bTrack; }
    BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(BOOL bFrame) { m_bFrameFocus = bFrame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
    BOOL GetShadedPrintOut() const { return m_bShadedPrintOut; }
    void SetGridBkColor(COLORREF clr) { m_crGridBkColour = clr; }
    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridLineColor(COLORREF clr) { m_crGridLineColour = clr; }
    COLORREF GetGridLineColor() const { return m_crGridLineColour; }
    void SetTitleTipBackClr(COLORREF clr = CLR_DEFAULT) { m_crTTipBackClr = clr; }
    COLORREF GetTitleTipBackClr() const { return m_crTTipBackClr; }
    void SetTitleTipTextClr(COLORREF clr = CLR_DEFAULT) { m_crTTipTextClr = clr; }
    COLORREF GetTitleTipTextClr() const { return m_crTTipTextClr; }
    LRESULT SendNotify(int nRow, int nCol, int nMessage);
    // The title tip; null before the first one was shown.
    const CGridTitleTip* GetTitleTip() const { return m_TitleTip.get(); }
    // A screen-compatible DC for measuring; null when none can be had. Give it
    // back with ReleaseGridDC.
    CDC* GetGridDC();
    void ReleaseGridDC(CDC* pDC);
    // The grid's text measurements on its own screen DC (made on first use);
    // null when no DC can be had.
    CGridTextMeasure* GetTextMeasure() const;

    // ---- Printing (grid_print.cpp) ----
    // One whole job: the print dialog (pPrntDC null) or the given printer DC,
    // then every page of the grid.
    void Print(CDC* pPrntDC = nullptr);
    // Margins in character units; an argument below 0 leaves its margin.
    void SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin,
        int nTopMargin, int nBottomMargin, int nGap);
    void GetPrintMarginInfo(int& nHeaderHeight, int& nFooterHeight, int& nLeftMargin, int& nRightMargin,
        int& nTopMargin, int& nBottomMargin, int& nGap) const;
    // The print loop's steps: the layout and page count, one page, the end.
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

protected:
    virtual void PrintColumnHeadingRow(
        int nFirstCol, int nEndCol, int nRow, CRect& rect, CDC* pDC, BOOL bFirstCell);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintRowCells(CDC* pDC, CPrintInfo* pInfo);

    // Message handlers.
    void OnPaint();
    LRESULT OnEraseBkgndMsg(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // Scrolls bar (SB_HORZ, SB_VERT) by an SB_ code.
    void OnScroll(int nBar, UINT nSBCode);
    // Draws the cells of rows firstRow..lastRow and columns firstCol..lastCol,
    // their rectangles starting after the pixel top and left; with clip,
    // cells outside it are skipped.
    void DrawCells(
        CDC* pDC, int firstRow, int lastRow, int top, int firstCol, int lastCol, int left, const CRect* clip);
    // The largest extent width (bWidth) or height of the cells of range; -1
    // without a DC.
    int LargestExtent(const CGridCellRange& range, BOOL bWidth);
    // Runs fn with the measuring DC; FALSE without one.
    BOOL MeasurePass(const std::function<void(CDC*)>& fn);
    // Stretches the columns (bColumns) or rows to the client area.
    void ExpandToClient(BOOL bColumns, BOOL bExpandFixed);
    // The rows or columns as one axis at the current scroll position.
    GridAxis RowAxis();
    GridAxis ColumnAxis();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
    LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // What a key did to the view while it moved the focus.
    struct KeyMove {
        CGridCellCoord next;
        BOOL changeLine = FALSE;
        BOOL hScroll = FALSE;
        BOOL vScroll = FALSE;
    };
    void OnClipboardKey(UINT nChar, BOOL bCtrl, BOOL bShift);
    void MoveVertically(UINT nChar, KeyMove& move);
    void MoveAcross(UINT nChar, BOOL bShift, UINT nRepCnt, UINT nFlags, KeyMove& move);
    void MoveByPage(UINT nChar, KeyMove& move);
    void MoveHomeEnd(UINT nChar, BOOL bCtrl, KeyMove& move);
    // Selects and focuses move.next and scrolls it into view.
    void FocusByKey(UINT nChar, BOOL bShift, const KeyMove& move);
    // The first row (bRows) or column from index on, stepping by step, whose
    // size is above 0 and that lies within low..high; -1 when none.
    int NextVisible(BOOL bRows, int index, int step, int low, int high) const;
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void PassKeyOn(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnImeChar(WPARAM wCharCode, LPARAM lParam);
    LRESULT OnSysColorChangeMsg(WPARAM, LPARAM)
    {
        OnSysColorChange();
        return 0;
    }
    UINT OnGetDlgCode();
    void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnCaptureChanged(CWnd* pWnd);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    // Double click on a divider: auto-sizes the column (bColumn) or row.
    void AutoSizeAtDivider(CPoint point, const CGridCellCoord& cell, BOOL bColumn);
    // A Ctrl-click deselected rows firstRow..lastRow: rows left without a
    // selected cell leave the pick list.
    void DropDeselectedRows(int firstRow, int lastRow);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnSysColorChange();
    void OnEditCutCmd() { OnEditCut(); }
    void OnEditCopyCmd() { OnEditCopy(); }
    void OnEditPasteCmd() { OnEditPaste(); }
    void OnEditSelectAllCmd() { OnEditSelectAll(); }
    // Update rules of the edit commands.
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditCut(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);

    const MessageMap* GetMessageMap() const override;
    void PreSubclassWindow() override;
    BOOL SetupWindow();

    // Fills the header (the grid, its id, nCode) and sends WM_NOTIFY to the
    // owner; 0 when the grid or the owner has no window.
    LRESULT SendNotifyRecord(NMHDR* pHeader, int nCode);
    // Fills the item of (item.row, item.col) as the default cell and the
    // selection give it, then lets the owner complete it.
    LRESULT SendDisplayRequest(GRIDDISPINFO* pDisplayInfo);
    void FillDisplayItem(GRIDITEM& item) const;
    // The shared cell of virtual mode, filled for (nRow, nCol).
    CGridCellBase* GetVirtualCell(int nRow, int nCol);
    LRESULT SendCacheHint(const CGridCellRange& range);
    CWnd* GetOwnerWindow() const;
    void SendCellEdited(int nRow, int nCol);
    CPoint GetPointClicked(int nRow, int nCol, const CPoint& point);
    // Starts resizing the column (bColumn) or row whose divider the
    // button went down on; FinishResize applies the size at button-up.
    void StartResize(CPoint point, BOOL bColumn);
    void FinishResize(CPoint point, BOOL bColumn);
    void InvertResizeLine(int pos, BOOL bColumn);
    // Over a divider: the sizing cursor and mode; elsewhere, with
    // bLeaveDivider, back to no mode.
    void TrackDivider(CPoint point, BOOL bLeaveDivider);
    void RedrawHeadingsOf(const CGridCellCoord& cell, const CGridCellCoord& other);
    void StopAutoScroll();
    BOOL IsKeyDown(int nVirtKey) const;
    // Closes an open in-place editor without taking its text (before the cells
    // under it move or go).
    void CancelEditing();
    // Stores an edited text: validation and the owner's GRIDNOTIFY_ENDEDIT
    // decide whether it stays (TRUE) or oldText comes back (FALSE).
    BOOL StoreEditedText(int nRow, int nCol, LPCTSTR str, const CString& oldText);
    void NoteReplacedText(int nRow, int nCol, const CString& oldText);

    // Storage.
    using CGridRow = std::vector<CGridCellBase*>;

    COLORREF m_crGridBkColour;
    COLORREF m_crGridLineColour = RGB(192, 192, 192);
    COLORREF m_crWindowText;
    COLORREF m_crWindowColour;
    COLORREF m_cr3DFace;
    COLORREF m_crShadow;
    COLORREF m_crTTipBackClr = CLR_DEFAULT;
    COLORREF m_crTTipTextClr = CLR_DEFAULT;
    BOOL m_bVirtualMode = FALSE;
    LPARAM m_lParam = 0;
    GRIDCALLBACK m_pfnCallback = nullptr;
    int m_nGridLines = 3;
    BOOL m_bEditable = TRUE;
    BOOL m_bModified = FALSE;
    BOOL m_bAllowDragAndDrop = FALSE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bSingleColSelection = FALSE;
    BOOL m_bAllowDraw = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bFixedColumnSelection = TRUE;
    BOOL m_bFixedRowSelection = TRUE;
    BOOL m_bSortOnClick = FALSE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bDoubleBuffer = TRUE;
    BOOL m_bTitleTips = TRUE;
    // Scroll-bar state bits.
    static constexpr int GVL_HORZ = 0x01;
    static constexpr int GVL_VERT = 0x02;
    int m_nBarState = 0;
    BOOL m_bWysiwygPrinting = FALSE;
    BOOL m_bHiddenColUnhide = TRUE;
    BOOL m_bHiddenRowUnhide = TRUE;
    BOOL m_bAllowColHide = TRUE;
    BOOL m_bAllowRowHide = TRUE;
    BOOL m_bTrackFocusCell = TRUE;
    BOOL m_bFrameFocus = TRUE;
    int m_nAutoSizeColumnStyle = 3;
    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    std::vector<UINT> m_arRowHeights;
    // The heights added up, -1 until they are: a change of the heights resets
    // it, an appended or inserted row adds its own.
    mutable long m_nRowHeightSum = -1;
    std::vector<UINT> m_arColWidths;
    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;
    const CGridCellClass* m_pRtcDefault;
    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;
    CImageList* m_pImageList = nullptr;
    std::vector<std::unique_ptr<CGridRow>> m_RowData;
    int m_MouseMode = GRIDMOUSE_NOTHING;
    BOOL m_bLMouseButtonDown = FALSE;
    BOOL m_bRMouseButtonDown = FALSE;
    CPoint m_LeftClickDownPoint;
    CPoint m_LastMousePoint;
    CGridCellCoord m_LeftClickDownCell;
    CGridCellCoord m_SelectionStartCell;
    CGridCellCoord m_idCurrentCell;
    CGridCellCoord m_idTopLeftCell;
    UINT_PTR m_nTimerID = 0;
    int m_nTimerInterval = 25;
    int m_nResizeCaptureRange = 3;
    BOOL m_bAllowRowResize = TRUE;
    BOOL m_bAllowColumnResize = TRUE;
    int m_nRowsPerWheelNotch;
    CGridSelectionMap m_SelectedCellMap;
    CGridSelectionMap m_PrevSelectedCellMap;
    std::unique_ptr<CGridTitleTip> m_TitleTip;
    CGridCellCoord m_LastDragOverCell;
    std::unique_ptr<CGridDropTarget> m_DropTarget;
    BOOL m_bAscending = TRUE;
    int m_nSortColumn = -1;
    PFNGRIDCOMPARE m_pfnCompare = nullptr;
    BOOL m_bShadedPrintOut = TRUE;

    CGridCellCoord m_EditingCell;
    CGridCellCoord m_ReplacedCell; // the latest edited cell and the text it had
    CString m_strReplacedText;
    std::unique_ptr<CGridCell> m_pVirtualCell;
    mutable std::unique_ptr<CGridTextMeasure> m_pTextMeasure;
    mutable CDC* m_pMeasureDC = nullptr;
    CGridPrintState m_Print;

    // Re-entry guards of this grid's window set-up and size handling.
    BOOL m_bInSetup = FALSE;
    BOOL m_bInSize = FALSE;

private:
    // Sorts the first nCount entries of m_PickList highest first (keys and
    // index in the work arrays), then rewrites the list in that order.
    void SortPickedRows(int nCount);
    void ReorderPickedRows(int nCount);

    // The pick state the hosts read through Picks().
    int m_PickList[kPickListSize] = {};
    int m_nAnchorRowA = 0;
    int m_nAnchorRowB = 0;
    int m_nDownRow = 0;
    int m_nUpRow = 0;
    int m_nClickRow = 0;
    int m_bAnchorToggle = 0;
    int m_bCtrlPick = 0;
    int m_bShiftPick = 0;
    int m_PickSortKeys[kPickListSize] = {};
    int m_PickSortIndex[kPickListSize] = {};
    int m_bKeepFocus = 0;
};
