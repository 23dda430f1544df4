#pragma once
// CSplitterWnd: a static splitter. It lays out rows x columns of pane windows
// (created with CreateView from a run-time class), separated by split bars the
// user may drag, with a thin border around each pane. Pane (row, col) has the
// control id AFX_IDW_PANE_FIRST + row * 16 + col. The last row and the last
// column take whatever room the others leave. UI thread.
//
// Drawing goes through OnDrawSplitter, which a derived class may replace;
// OnPaint draws the borders and the bars.

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/docview/create_context.h"

class CSplitterWnd : public CWnd {
public:
    // What OnDrawSplitter draws (values as the drawing code numbers them).
    enum class ESplitType { Box = 0, Bar = 1, Intersection = 2, Border = 3 };

    CSplitterWnd();
    ~CSplitterWnd() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    // Creates the splitter window as child id of parent with rows x cols
    // panes still to be created (1..16 each). FALSE on bad counts or when the
    // window cannot be created.
    virtual BOOL CreateStatic(
        CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_PANE_FIRST);
    // Creates pane (row, col) as an object of viewClass (which must make a
    // CWnd) with context as its creation parameter; initialSize.cx becomes the
    // column's ideal width and initialSize.cy the row's ideal height. FALSE
    // when the class cannot be created or the window fails (a view object
    // deletes itself with its window).
    virtual BOOL CreateView(
        int row, int col, const CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    // The pane window, or nullptr.
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const;
    // TRUE (with its row and column) when window is one of the panes.
    BOOL IsChildPane(const CWnd* window, int* row, int* col) const;

    // Ideal and minimum size of a row or column; RecalcLayout applies them.
    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int col, int ideal, int minimum);
    // Current and minimum size.
    void GetRowInfo(int row, int& current, int& minimum) const;
    void GetColumnInfo(int col, int& current, int& minimum) const;

    // Places the panes in the client area from the ideal sizes, and repaints.
    virtual void RecalcLayout();

    // The client area less the outer border, where panes and bars lie.
    void GetInsideRect(CRect& rect) const;
    // Draws every bar and every pane border within (0, 0, cxInside, cyInside)
    // of the inside area.
    void DrawAllSplitBars(CDC* dc, int cxInside, int cyInside);
    // Draws one part. dc nullptr: invalidates rect instead. The default draws
    // 3-D boxes and borders in the button colours.
    virtual void OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect);

    // Sizes of one row or column.
    struct CRowColInfo {
        int nMinSize = 0;
        int nIdealSize = 0;
        int nCurSize = 0;
    };

protected:
    // Handlers, for derived classes to call.
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);

    // Sizes: the split bar's drawn width, the gap between panes, the border
    // around each pane.
    int m_cxSplitter = 7;
    int m_cySplitter = 7;
    int m_cxSplitterGap = 7;
    int m_cySplitterGap = 7;
    int m_cxBorder = 2;
    int m_cyBorder = 2;

    int m_nRows = 0;
    int m_nCols = 0;
    std::vector<CRowColInfo> m_rowInfo;
    std::vector<CRowColInfo> m_colInfo;

private:
    // Which bar is under point: column index (vertical bar after col) or row
    // index (horizontal bar after row); -1 for none.
    int HitColumnBar(CPoint point) const;
    int HitRowBar(CPoint point) const;
    // Left (top) edge of pane col (row) in client coordinates.
    int ColumnLeft(int col) const;
    int RowTop(int row) const;

    int m_trackColumn = -1;
    int m_trackRow = -1;
};
