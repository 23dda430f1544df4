// The grid object: construction, window set-up, notifications.

#include "grid/grid_ctrl.h"

#include <cstring>

#include "grid/drop_target.h"
#include "grid/text_measure.h"
#include "grid/title_tip.h"
#include "platform/wnd/core/cmdui.h"

namespace {

inline constexpr const char* kGridClassName = "GridCtrl";
// CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS.
inline constexpr UINT kGridClassStyle = 0x0001 | 0x0002 | 0x0008;

const CGridCtrl::WindowClass* g_registeredClass = nullptr;

} // namespace

const CRuntimeClass* CGridCtrl::GetThisClass()
{
    static const CRuntimeClass kClass { "CGridCtrl", &AfxCreateObject<CGridCtrl>, CWnd::GetThisClass() };
    return &kClass;
}

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_crWindowText(::GetSysColor(COLOR_WINDOWTEXT))
    , m_crWindowColour(::GetSysColor(COLOR_WINDOW))
    , m_cr3DFace(::GetSysColor(COLOR_3DFACE))
    , m_crShadow(::GetSysColor(COLOR_3DSHADOW))
    , m_pRtcDefault(RUNTIME_CELL_CLASS(CGridCell))
    , m_nRowsPerWheelNotch(GetMouseScrollLines())
    , m_TitleTip(std::make_unique<CGridTitleTip>())
    , m_DropTarget(std::make_unique<CGridDropTarget>())
{
    RegisterWindowClass();

    for (CGridDefaultCell* def :
        { &m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef }) {
        def->SetGrid(this);
        def->SetTextClr(m_crWindowText);
    }
    m_cellDefault.SetBackClr(m_crWindowColour);
    m_cellFixedColDef.SetBackClr(m_cr3DFace);
    m_cellFixedRowDef.SetBackClr(m_cr3DFace);
    m_cellFixedRowColDef.SetBackClr(m_cr3DFace);
    m_crGridBkColour = m_crShadow;

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
    m_bModified = FALSE;
}

CGridCtrl::~CGridCtrl()
{
    CancelEditing();
    DeleteAllItems();
    if (m_TitleTip && m_TitleTip->GetSafeHwnd())
        m_TitleTip->DestroyWindow();
    if (m_DropTarget)
        m_DropTarget->Revoke();
    m_pTextMeasure.reset();
    if (m_pMeasureDC)
        ReleaseGridDC(m_pMeasureDC);
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CGridCtrl::RegisterWindowClass()
{
    static const WindowClass kClass { kGridClassName, kGridClassStyle, IDC_ARROW, COLOR_3DFACE + 1 };
    if (!g_registeredClass)
        g_registeredClass = &kClass;
    return TRUE;
}

const CGridCtrl::WindowClass* CGridCtrl::GetRegisteredClass()
{
    return g_registeredClass;
}

const MessageMap* CGridCtrl::GetMessageMap() const
{
    static const MessageMap kMap(CWnd::GetMessageMap(),
        {
            OnWm<WM_PAINT, &CGridCtrl::OnPaint>(),
            OnMessage<&CGridCtrl::OnEraseBkgndMsg>(WM_ERASEBKGND),
            OnWm<WM_SIZE, &CGridCtrl::OnSize>(),
            OnWm<WM_HSCROLL, &CGridCtrl::OnHScroll>(),
            OnWm<WM_VSCROLL, &CGridCtrl::OnVScroll>(),
            OnWm<WM_TIMER, &CGridCtrl::OnTimer>(),
            OnMessage<&CGridCtrl::OnSetFont>(WM_SETFONT),
            OnMessage<&CGridCtrl::OnGetFont>(WM_GETFONT),
            OnWm<WM_KEYDOWN, &CGridCtrl::OnKeyDown>(),
            OnWm<WM_SYSKEYDOWN, &CGridCtrl::OnSysKeyDown>(),
            OnWm<WM_CHAR, &CGridCtrl::OnChar>(),
            OnMessage<&CGridCtrl::OnImeChar>(WM_IME_CHAR),
            OnWm<WM_GETDLGCODE, &CGridCtrl::OnGetDlgCode>(),
            OnNotifyMsg<&CGridCtrl::OnEndInPlaceEdit>(
                static_cast<UINT>(GRIDNOTIFY_ENDEDIT), IDC_GRID_INPLACE),
            OnWm<WM_SETCURSOR, &CGridCtrl::OnSetCursor>(),
            OnWm<WM_CAPTURECHANGED, &CGridCtrl::OnCaptureChanged>(),
            OnWm<WM_LBUTTONDOWN, &CGridCtrl::OnLButtonDown>(),
            OnWm<WM_MOUSEMOVE, &CGridCtrl::OnMouseMove>(),
            OnWm<WM_LBUTTONUP, &CGridCtrl::OnLButtonUp>(),
            OnWm<WM_LBUTTONDBLCLK, &CGridCtrl::OnLButtonDblClk>(),
            OnWm<WM_RBUTTONUP, &CGridCtrl::OnRButtonUp>(),
            OnWm<WM_MOUSEWHEEL, &CGridCtrl::OnMouseWheel>(),
            OnMessage<&CGridCtrl::OnSysColorChangeMsg>(WM_SYSCOLORCHANGE),
            OnCommandMsg<&CGridCtrl::OnEditCutCmd>(kIdEditCut),
            OnCommandMsg<&CGridCtrl::OnEditCopyCmd>(kIdEditCopy),
            OnCommandMsg<&CGridCtrl::OnEditPasteCmd>(kIdEditPaste),
            OnCommandMsg<&CGridCtrl::OnEditSelectAllCmd>(kIdEditSelectAll),
            OnUpdateCommand<&CGridCtrl::OnUpdateEditCut>(kIdEditCut),
            OnUpdateCommand<&CGridCtrl::OnUpdateEditCopy>(kIdEditCopy),
            OnUpdateCommand<&CGridCtrl::OnUpdateEditPaste>(kIdEditPaste),
            OnUpdateCommand<&CGridCtrl::OnUpdateEditSelectAll>(kIdEditSelectAll),
        });
    return &kMap;
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    if (!CWnd::Create(kGridClassName, nullptr, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_arRowHeights.assign(static_cast<size_t>(m_nRows), static_cast<UINT>(m_cellDefault.GetHeight()));
    m_nRowHeightSum = -1;
    m_arColWidths.assign(static_cast<size_t>(m_nCols), static_cast<UINT>(m_cellDefault.GetWidth()));
    SetupWindow();
    ResetScrollBars();
    return TRUE;
}

void CGridCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    SetupWindow();
}

BOOL CGridCtrl::SetupWindow()
{
    if (m_bInSetup)
        return FALSE;
    m_bInSetup = TRUE;
    if (GetSafeHwnd()) {
        EnableImeInput(GetSafeHwnd());
        ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        CRect rect;
        GetWindowRect(rect);
        if (CWnd* parent = GetParent())
            parent->ScreenToClient(rect);
        rect.InflateRect(1, 1);
        MoveWindow(rect, TRUE);
        rect.DeflateRect(1, 1);
        MoveWindow(rect, TRUE);
    }
    m_bInSetup = FALSE;
    return TRUE;
}

int CGridCtrl::GetMouseScrollLines()
{
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return static_cast<int>(lines);
}

CWnd* CGridCtrl::GetOwnerWindow() const
{
    return GetParent();
}

LRESULT CGridCtrl::SendNotifyRecord(NMHDR* pHeader, int nCode)
{
    CWnd* owner = GetOwnerWindow();
    if (!GetSafeHwnd() || !owner || !owner->GetSafeHwnd())
        return 0;
    pHeader->hwndFrom = GetSafeHwnd();
    pHeader->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    pHeader->code = static_cast<UINT>(nCode);
    return owner->SendMessage(WM_NOTIFY, pHeader->idFrom, reinterpret_cast<LPARAM>(pHeader));
}

LRESULT CGridCtrl::SendNotify(int nRow, int nCol, int nMessage)
{
    GRIDNOTIFY nmgv {};
    nmgv.iRow = nRow;
    nmgv.iColumn = nCol;
    return SendNotifyRecord(&nmgv.hdr, nMessage);
}

void CGridCtrl::FillDisplayItem(GRIDITEM& item) const
{
    const int row = item.row;
    const int col = item.col;
    const BOOL fixedRow = row < m_nFixedRows;
    const BOOL fixedCol = col < m_nFixedCols;
    item.mask = 0xFFFFFFFF;
    item.nState = 0;
    if (m_bEnableSelection && m_SelectedCellMap.Contains(row, col))
        item.nState |= GRIDSTATE_SELECTED;
    if (fixedRow)
        item.nState |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
    if (fixedCol)
        item.nState |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
    if (m_idCurrentCell == CGridCellCoord(row, col))
        item.nState |= GRIDSTATE_FOCUSED;
    const CGridDefaultCell* def = GetDefaultCell(fixedRow, fixedCol);
    item.nFormat = def->GetFormat();
    item.iImage = def->GetImage();
    item.crBkClr = def->GetBackClr();
    item.crFgClr = def->GetTextClr();
    item.lParam = def->GetData();
    if (const LOGFONT* lf = def->GetFont())
        item.lfFont = *lf;
    item.nMargin = def->GetMargin();
    item.strText.Empty();
}

LRESULT CGridCtrl::SendDisplayRequest(GRIDDISPINFO* pDisplayInfo)
{
    FillDisplayItem(pDisplayInfo->item);
    return SendNotifyRecord(&pDisplayInfo->hdr, GRIDNOTIFY_GETDISPINFO);
}

CGridCellBase* CGridCtrl::GetVirtualCell(int nRow, int nCol)
{
    GRIDDISPINFO dispInfo {};
    dispInfo.item.row = nRow;
    dispInfo.item.col = nCol;
    if (m_pfnCallback) {
        FillDisplayItem(dispInfo.item);
        m_pfnCallback(&dispInfo, m_lParam);
    } else {
        SendDisplayRequest(&dispInfo);
    }
    if (!m_pVirtualCell)
        m_pVirtualCell = std::make_unique<CGridCell>();
    CGridCell& cell = *m_pVirtualCell;
    const GRIDITEM& item = dispInfo.item;
    cell.SetGrid(this);
    cell.SetState(item.nState);
    cell.SetText(item.strText);
    cell.SetData(item.lParam);
    cell.SetImage(item.iImage);
    cell.SetFormat(item.nFormat);
    cell.SetTextClr(item.crFgClr);
    cell.SetBackClr(item.crBkClr);
    const LOGFONT* defaultFont = GetDefaultCell(nRow < m_nFixedRows, nCol < m_nFixedCols)->GetFont();
    // The default cell's font stays shared; only a font the owner changed is copied.
    const BOOL ownFont = !defaultFont || std::memcmp(defaultFont, &item.lfFont, sizeof(LOGFONT)) != 0;
    cell.SetFont(ownFont ? &item.lfFont : nullptr);
    cell.SetMargin(item.nMargin);
    cell.SetCoords(nRow, nCol);
    return &cell;
}

void CGridCtrl::SetVirtualMode(BOOL bVirtual)
{
    DeleteAllItems();
    m_bVirtualMode = bVirtual;
    if (!bVirtual)
        return;
    SetEditable(FALSE);
    SetHeaderSort(FALSE);
    SetAutoSizeStyle(1);
    SetFixedRowSelection(FALSE);
    SetFixedColumnSelection(FALSE);
}

LRESULT CGridCtrl::SendCacheHint(const CGridCellRange& range)
{
    GRIDCACHEHINT hint {};
    hint.range = range;
    return SendNotifyRecord(&hint.hdr, GRIDNOTIFY_CACHEHINT);
}

void CGridCtrl::SendCellEdited(int nRow, int nCol)
{
    CWnd* owner = GetOwnerWindow();
    if (owner && owner->GetSafeHwnd())
        owner->SendMessage(WM_GRID_CELLEDITED, static_cast<WPARAM>(nRow), static_cast<LPARAM>(nCol));
}

void CGridCtrl::OnSysColorChange()
{
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    for (CGridDefaultCell* def :
        { &m_cellDefault, &m_cellFixedRowDef, &m_cellFixedColDef, &m_cellFixedRowColDef }) {
        if (def->GetTextClr() == m_crWindowText)
            def->SetTextClr(windowText);
        if (def->GetBackClr() == m_crWindowColour)
            def->SetBackClr(window);
    }
    if (GetGridBkColor() == m_crShadow)
        SetGridBkColor(::GetSysColor(COLOR_3DSHADOW));
    m_crWindowText = windowText;
    m_crWindowColour = window;
    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM lParam)
{
    const LRESULT result = Default();
    LOGFONT lf;
    if (::GetObject(reinterpret_cast<HFONT>(hFont), sizeof(LOGFONT), &lf) == 0)
        return result;
    m_cellDefault.SetFont(&lf);
    m_cellFixedColDef.SetFont(&lf);
    m_cellFixedRowDef.SetFont(&lf);
    m_cellFixedRowColDef.SetFont(&lf);
    Refresh();
    return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM)
{
    CFont* font = m_cellDefault.GetFontObject();
    return font ? reinterpret_cast<LRESULT>(font->GetSafeHandle()) : 0;
}
