#pragma once
// Records, codes and messages that pass between the grid and its owner.

#include "grid/cell_range.h"
#include "platform/base/cstring.h"
#include "platform/base/types.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/scrollbar.h"
#include "platform/wnd/core/system_params.h"
#include "platform/wnd/core/wnd.h"
#include "platform/wnd/desktop/oledata.h"

// Control id of every in-place editor window.
inline constexpr UINT IDC_GRID_INPLACE = 8;

// Sent (SendMessage) to the owner after a cell was edited, cut or pasted:
// wParam = row, lParam = column.
inline constexpr UINT WM_GRID_CELLEDITED = WM_USER + 100;

// Notification codes (WM_NOTIFY, wParam = the grid's control id).
inline constexpr int GRIDNOTIFY_SELCHANGING = -100;
inline constexpr int GRIDNOTIFY_SELCHANGED = -101;
inline constexpr int GRIDNOTIFY_BEGINEDIT = -105;
inline constexpr int GRIDNOTIFY_ENDEDIT = -106;
inline constexpr int GRIDNOTIFY_BEGINDRAG = -109;
inline constexpr int GRIDNOTIFY_CACHEHINT = -113;
inline constexpr int GRIDNOTIFY_GETDISPINFO = -150;
inline constexpr int GRIDNOTIFY_CLICK = -2;
inline constexpr int GRIDNOTIFY_DBLCLK = -3;
inline constexpr int GRIDNOTIFY_RCLICK = -5;

// Cell state bits (GRIDSTATE).
inline constexpr UINT GRIDSTATE_FOCUSED = 0x01;
inline constexpr UINT GRIDSTATE_SELECTED = 0x02;
inline constexpr UINT GRIDSTATE_DROPHILITED = 0x04;
inline constexpr UINT GRIDSTATE_READONLY = 0x08;
inline constexpr UINT GRIDSTATE_FIXED = 0x10;
inline constexpr UINT GRIDSTATE_FIXEDROW = 0x20;
inline constexpr UINT GRIDSTATE_FIXEDCOL = 0x40;
inline constexpr UINT GRIDSTATE_MODIFIED = 0x80;

// Item mask bits (GRIDITEMMASK).
inline constexpr UINT GRIDITEM_TEXT = 0x01;
inline constexpr UINT GRIDITEM_IMAGE = 0x02;
inline constexpr UINT GRIDITEM_DATA = 0x04;
inline constexpr UINT GRIDITEM_STATE = 0x08;
inline constexpr UINT GRIDITEM_BKCLR = 0x10;
inline constexpr UINT GRIDITEM_FGCLR = 0x20;
inline constexpr UINT GRIDITEM_FORMAT = 0x40;
inline constexpr UINT GRIDITEM_FONT = 0x80;
inline constexpr UINT GRIDITEM_MARGIN = 0x100;

// One cell's attributes, chosen by mask.
struct GRIDITEM {
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT nState = 0;
    UINT nFormat = 0;
    int iImage = -1;
    COLORREF crBkClr = CLR_DEFAULT;
    COLORREF crFgClr = CLR_DEFAULT;
    LPARAM lParam = 0;
    LOGFONT lfFont {};
    UINT nMargin = 0;
    CString strText;
};

struct GRIDNOTIFY {
    NMHDR hdr;
    int iRow;
    int iColumn;
};

struct GRIDDISPINFO {
    NMHDR hdr;
    GRIDITEM item;
};

struct GRIDCACHEHINT {
    NMHDR hdr;
    CGridCellRange range;
};

// What a mouse operation in progress is doing.
enum GRIDMOUSE : int {
    GRIDMOUSE_NOTHING = 0,
    GRIDMOUSE_SELECT_ALL = 1,
    GRIDMOUSE_SELECT_COL = 2,
    GRIDMOUSE_SELECT_ROW = 3,
    GRIDMOUSE_SELECT_CELLS = 4,
    GRIDMOUSE_OVER_ROW_DIVIDE = 6,
    GRIDMOUSE_SIZING_ROW = 7,
    GRIDMOUSE_OVER_COL_DIVIDE = 8,
    GRIDMOUSE_SIZING_COL = 9,
    GRIDMOUSE_PREPARE_EDIT = 10,
    GRIDMOUSE_PREPARE_DRAG = 11,
    GRIDMOUSE_DRAGGING = 12,
};
