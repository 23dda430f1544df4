#include "screens/user_label_view.h"

#include <cstdlib>

#include "platform/gdi/dc.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/runtime_class.h"
#include "screens/command_forwarding.h"
#include "screens/kind_of_view.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/view_hints.h"

namespace {

constexpr DWORD kValueStyle = WS_CHILD | WS_BORDER | ES_CENTER | ES_NUMBER;
constexpr DWORD kCaptionStyle = WS_CHILD | ES_CENTER | ES_READONLY;
constexpr DWORD kComboStyle = WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButtonStyle = WS_CHILD;
constexpr int kFontComboBase = 2300;
constexpr int kLabelWidthColumn = 41;
constexpr int kDesignerPaneTop = 350;
constexpr int kFullPaneTop = 900;
constexpr COLORREF kPaletteLineColor = 0x00FF0000;
const CRect kEmptyLabel(kLabelLeft, kLabelTop, 300, 260);

constexpr const char* kFontSizes[] = { "0. Not Print", "1. 8x16", "2. 8x32", "3. 16x16", "4. 16x24",
    "5. 16x32", "6. 16x48", "7. 32x32", "8. 32x48", "9. 18x40" };
constexpr const char* kBarcodeForms[] = { "0. Horizontally", "1. Vertically(90)", "2. Vertically(270)" };
// Controls of the field under the mouse; hidden again at every click.
constexpr int kFieldControlIds[] = { 2401, 2402, 2451, 2351, 2501, 2502, 2551, 2552 };

int Number(const CString& text)
{
    return std::atoi(text.GetString());
}

bool IsTextField(int index)
{
    return index == kFieldIngredient || index == kFieldAdvertisement;
}

} // namespace

CUserLabelView::CUserLabelView()
    : m_labelRect(kEmptyLabel)
{
    m_heights.fill(kDefaultFieldHeight);
    for (CRectTracker& tracker : m_trackers)
        tracker.m_nStyle = CRectTracker::solidLine;
}

CUserLabelView::~CUserLabelView() = default;

const CRuntimeClass* CUserLabelView::GetThisClass()
{
    static const CRuntimeClass kClass { "CUserLabelView", &AfxCreateObject<CUserLabelView>,
        CView::GetThisClass() };
    return &kClass;
}

const MessageMap* CUserLabelView::GetMessageMap() const
{
    static const MessageMap kMap(CView::GetMessageMap(),
        {
            OnWm<WM_LBUTTONDOWN, &CUserLabelView::OnLButtonDown>(),
            OnWm<WM_LBUTTONDBLCLK, &CUserLabelView::OnLButtonDblClk>(),
            OnWm<WM_SETCURSOR, &CUserLabelView::OnSetCursor>(),
            OnControl<&CUserLabelView::OnWidthChange>(EN_CHANGE, 2000),
            OnControl<&CUserLabelView::OnLengthChange>(EN_CHANGE, 2101),
            OnControl<&CUserLabelView::OnGapChange>(EN_CHANGE, 2201),
            OnControl<&CUserLabelView::OnBarcodeLengthChange>(EN_CHANGE, 2501),
            OnControlRange<&CUserLabelView::OnFontCombo>(CBN_SELCHANGE, 2301, 2314),
            OnControlRange<&CUserLabelView::OnLinesCombo>(CBN_SELCHANGE, 2401, 2402),
            OnControl<&CUserLabelView::OnFormCombo>(CBN_SELCHANGE, 2551),
            OnCommandMsg<&CUserLabelView::OnAccept>(2601),
            OnCommandMsg<&CUserLabelView::OnClear>(2701),
        });
    return &kMap;
}

BOOL CUserLabelView::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo)
{
    BOOL forwarded = FALSE;
    const BOOL handled = ForwardToLeftPane(
        { 32771, 32773, 32774, 32775, 32776, 32779, 32780, 32781, 32788, 32789, 32790, 57600, 57601 }, id,
        code, extra, handlerInfo, &forwarded);
    return forwarded ? handled : CView::OnCmdMsg(id, code, extra, handlerInfo);
}

void CUserLabelView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    m_bShown = FALSE;
    CreateControls();
    ShowDesigner(FALSE);
    m_labelRect = kEmptyLabel;
    m_nPalette = 600;
    m_heights.fill(kDefaultFieldHeight);
    for (int i = 0; i < kLabelFieldCount; ++i) {
        if (i != kFieldBarcode)
            m_bitmaps[static_cast<std::size_t>(i)].LoadBitmap(
                LabelFields()[static_cast<std::size_t>(i)].bitmap);
        PlaceField(i, FieldHomeRect(i, m_nPalette));
        m_rectHome[static_cast<std::size_t>(i)] = m_rectNow[static_cast<std::size_t>(i)];
    }
}

void CUserLabelView::CreateEdit(CEdit& edit, int id, const CRect& place, DWORD style, const char* text)
{
    if (edit.GetSafeHwnd())
        return;
    edit.Create(style, place, this, static_cast<UINT>(id));
    edit.SetWindowText(text);
}

void CUserLabelView::CreateControls()
{
    CreateEdit(m_editWidth, 2000, CRect(100, 10, 150, 50), kValueStyle);
    CreateEdit(m_editLength, 2101, CRect(220, 10, 270, 50), kValueStyle);
    CreateEdit(m_editGap, 2201, CRect(340, 10, 390, 50), kValueStyle);
    CreateEdit(m_captionWidth, 2001, CRect(50, 10, 100, 50), kCaptionStyle, "Label X");
    CreateEdit(m_captionLength, 2102, CRect(170, 10, 220, 50), kCaptionStyle, "Label Y");
    CreateEdit(m_captionGap, 2203, CRect(290, 10, 340, 50), kCaptionStyle, "Label Gap");
    CreateEdit(m_captionForm, 2552, CRect(350, 60, 480, 85), kCaptionStyle, "Barcode Form");
    CreateEdit(m_captionLines, 2451, CRect(400, 33, 480, 56), kCaptionStyle, "Lines");
    CreateEdit(m_captionFont, 2351, CRect(400, 10, 480, 33), kCaptionStyle, "Font size");
    CreateEdit(m_editBarcodeLength, 2501, CRect(480, 10, 580, 50), kValueStyle);
    CreateEdit(m_captionBarcodeLength, 2502, CRect(400, 10, 480, 50), kCaptionStyle, "Barcode Length");
    if (m_barcodeForm.GetSafeHwnd())
        return;
    for (int i = 0; i < kLabelFieldCount; ++i) {
        CComboBox& combo = m_fontCombos[static_cast<std::size_t>(i)];
        combo.Create(kComboStyle, CRect(480, 10, 580, 210), this, static_cast<UINT>(kFontComboBase + 1 + i));
        for (const char* size : kFontSizes)
            combo.AddString(size);
        combo.SetCurSel(0);
    }
    m_linesIngredient.Create(kComboStyle, CRect(480, 33, 580, 250), this, 2401);
    for (int n = 0; n <= 10; ++n)
        m_linesIngredient.AddString(CString::Formatted("%d", n));
    m_linesAdvertisement.Create(kComboStyle, CRect(480, 33, 580, 250), this, 2402);
    for (const char* n : { "0", "1", "2" })
        m_linesAdvertisement.AddString(n);
    m_linesIngredient.SetCurSel(1);
    m_linesAdvertisement.SetCurSel(1);
    m_barcodeForm.Create(kComboStyle, CRect(480, 60, 580, 260), this, 2551);
    for (const char* form : kBarcodeForms)
        m_barcodeForm.AddString(form);
    m_barcodeForm.SetCurSel(0);
    m_btnAccept.Create("Accept", kButtonStyle, CRect(500, 100, 580, 150), this, 2601);
    m_btnAccept.SetWindowText("DB Save");
    m_btnClear.Create("Clear", kButtonStyle, CRect(500, 160, 580, 210), this, 2701);
}

CKindOfView* CUserLabelView::WorkScreen()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<CKindOfView*>(right->GetKindOfView()) : nullptr;
}

void CUserLabelView::CopyGridCell()
{
    if (const CKindOfView* screen = WorkScreen()) {
        m_nGridRow = screen->GetClickedRow();
        m_nGridColumn = screen->GetClickedColumn();
    }
}

void CUserLabelView::SetUpperPaneHeight(int height)
{
    CMainFrame* frame = GetMainFrame();
    if (CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr)
        right->SetRowHeight(0, height);
}

void CUserLabelView::OnUpdate(CView*, LPARAM hint, void*)
{
    if (hint == kHintCommMode || hint == kHintLoggedIn || hint == kHintLoggedOut)
        return;
    if (hint != kHintUserLabel) {
        ShowDesigner(FALSE);
        SetUpperPaneHeight(kFullPaneTop);
        return;
    }
    ShowDesigner(TRUE);
    SetUpperPaneHeight(kDesignerPaneTop);
    OnClear();
}

void CUserLabelView::ShowDesigner(BOOL show)
{
    m_bShown = show;
    for (CWnd* control : { static_cast<CWnd*>(&m_editWidth), static_cast<CWnd*>(&m_editLength),
             static_cast<CWnd*>(&m_editGap), static_cast<CWnd*>(&m_captionWidth),
             static_cast<CWnd*>(&m_captionLength), static_cast<CWnd*>(&m_captionGap),
             static_cast<CWnd*>(&m_btnAccept), static_cast<CWnd*>(&m_btnClear) }) {
        if (control->GetSafeHwnd())
            control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
    if (!show)
        HideAllFieldControls();
    if (GetSafeHwnd())
        Invalidate();
}

void CUserLabelView::OnDraw(CDC* dc)
{
    if (!m_bShown || !dc)
        return;
    CPen frame(PS_SOLID, 2, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&frame);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(&m_labelRect);
    dc->SelectObject(oldBrush);
    CPen line(PS_SOLID, 4, kPaletteLineColor);
    dc->SelectObject(&line);
    dc->MoveTo(m_nPalette, 0);
    dc->LineTo(m_nPalette, m_nPalette + 300);
    dc->SelectObject(old);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    for (std::size_t i = 0; i < m_bitmaps.size(); ++i) {
        CBitmap& bitmap = m_bitmaps[i];
        if (!bitmap.GetSafeHandle())
            continue;
        m_rectDrawn[i] = m_rectNow[i];
        BITMAP size {};
        bitmap.GetBitmap(&size);
        CBitmap* previous = memory.SelectObject(&bitmap);
        dc->StretchBlt(m_rectNow[i].left, m_rectNow[i].top, m_rectNow[i].Width(), m_rectNow[i].Height(),
            &memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        memory.SelectObject(previous);
    }
}

// ---- Fields -----------------------------------------------------------------------

void CUserLabelView::PlaceField(int index, const CRect& rect)
{
    m_rectNow[static_cast<std::size_t>(index)] = rect;
    m_trackers[static_cast<std::size_t>(index)].m_rect = rect;
}

void CUserLabelView::ResetField(int index)
{
    const std::size_t i = static_cast<std::size_t>(index);
    m_heights[i] = kDefaultFieldHeight;
    m_rectHome[i] = FieldHomeRect(index, m_nPalette);
    PlaceField(index, m_rectHome[i]);
    if (index == kFieldBarcode) {
        m_barcodeForm.SetCurSel(0);
        SetBarcodeForm(0);
    }
    m_fontCombos[i].SetCurSel(0);
    if (index == kFieldIngredient)
        m_linesIngredient.SetCurSel(1);
    if (index == kFieldAdvertisement)
        m_linesAdvertisement.SetCurSel(1);
    ShowFieldControls(index, FALSE);
}

void CUserLabelView::ResetFieldLayout()
{
    m_rectNow.fill(CRect());
    for (int i = 0; i < kLabelFieldCount; ++i)
        ResetField(i);
}

void CUserLabelView::ShowFieldControls(int index, BOOL show)
{
    const int mode = show ? SW_SHOW : SW_HIDE;
    auto showIds = [&](std::initializer_list<int> ids) {
        for (int id : ids) {
            if (CWnd* control = GetDlgItem(id))
                control->ShowWindow(mode);
        }
    };
    if (index == kFieldBarcode) {
        showIds({ 2501, 2502, 2551, 2552 });
        return;
    }
    showIds({ kFontComboBase + 1 + index, 2351 });
    if (index == kFieldIngredient)
        showIds({ 2401, 2451 });
    if (index == kFieldAdvertisement)
        showIds({ 2402, 2451 });
}

void CUserLabelView::HideAllFieldControls()
{
    for (CComboBox& combo : m_fontCombos) {
        if (combo.GetSafeHwnd())
            combo.ShowWindow(SW_HIDE);
    }
    for (int id : kFieldControlIds) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(SW_HIDE);
    }
}

BOOL CUserLabelView::IsFieldOnLabel(int left, int top) const
{
    return IsOnLabel(m_labelRect, left, top) ? TRUE : FALSE;
}

void CUserLabelView::DropField(int index)
{
    const std::size_t i = static_cast<std::size_t>(index);
    CRect rect = m_rectNow[i];
    if (!IsFieldOnLabel(rect.left, rect.top)) {
        m_heights[i] = kDefaultFieldHeight;
        PlaceField(index, m_rectHome[i]);
        return;
    }
    if (rect.left < m_labelRect.left)
        rect.OffsetRect(m_labelRect.left - rect.left, 0);
    if (rect.top < m_labelRect.top)
        rect.OffsetRect(0, m_labelRect.top - rect.top);
    if (index == kFieldItemName || index == kFieldOrigin || IsTextField(index))
        rect.right = rect.left + m_labelRect.Width();
    PlaceField(index, rect);
    ShowFieldControls(index, TRUE);
}

void CUserLabelView::OnLButtonDown(UINT, CPoint point)
{
    CopyGridCell();
    HideAllFieldControls();
    // One field follows the mouse per press.
    for (int i = 0; i < kLabelFieldCount; ++i) {
        CRectTracker& tracker = m_trackers[static_cast<std::size_t>(i)];
        if (tracker.HitTest(point) == CRectTracker::hitNothing)
            continue;
        tracker.Track(this, point, FALSE);
        m_rectNow[static_cast<std::size_t>(i)] = tracker.m_rect;
        DropField(i);
        break;
    }
    Invalidate();
}

void CUserLabelView::OnLButtonDblClk(UINT, CPoint point)
{
    for (int i = 0; i < kLabelFieldCount; ++i) {
        if (m_trackers[static_cast<std::size_t>(i)].HitTest(point) != CRectTracker::hitNothing) {
            ResetField(i);
            break;
        }
    }
    Invalidate();
}

BOOL CUserLabelView::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    for (const CRectTracker& tracker : m_trackers) {
        if (tracker.SetCursor(this, hitTest))
            return TRUE;
    }
    return static_cast<BOOL>(Default());
}

// ---- Sizes, font sizes, lines, bar code -------------------------------------------

void CUserLabelView::ApplyLabelSize(int which)
{
    CopyGridCell();
    CString text;
    if (which == 0) {
        m_editWidth.GetWindowText(text);
        m_nLabelWidth = Number(text);
        if (m_nLabelWidth > kMaxLabelWidth) {
            AfxMessageBox("Max Width : 60mm", MB_OK);
            m_nLabelWidth = kMaxLabelWidth;
            m_editWidth.SetWindowText("60");
        }
        m_labelRect = LabelRectOfWidth(m_nLabelWidth, m_nLabelLength);
    } else if (which == 1) {
        m_editLength.GetWindowText(text);
        m_nLabelLength = Number(text);
        m_labelRect = LabelRectOfLength(m_nLabelWidth, m_nLabelLength);
    }
    Invalidate();
}

void CUserLabelView::OnGapChange()
{
    CString text;
    m_editGap.GetWindowText(text);
    if (text.GetLength() != 1)
        ApplyLabelSize(2);
}

int CUserLabelView::ComboOf(int index) const
{
    const int kind = m_fontCombos[static_cast<std::size_t>(index)].GetCurSel();
    return kind < 0 ? 0 : kind;
}

void CUserLabelView::ApplyFontHeight(int fieldNumber)
{
    const int index = fieldNumber - 1;
    if (index < 0 || index >= kLabelFieldCount)
        return;
    const std::size_t i = static_cast<std::size_t>(index);
    m_heights[i] = FieldHeightOfKind(ComboOf(index));
    CRect rect = m_rectNow[i];
    rect.bottom = rect.top + m_rectHome[i].Height() + m_heights[i] - kDefaultFieldHeight;
    PlaceField(index, rect);
}

void CUserLabelView::OnFontSizeChange(int fieldNumber)
{
    const int index = fieldNumber - 1;
    if (index < 0 || index >= kLabelFieldCount)
        return;
    CopyGridCell();
    if (ComboOf(index) == 0) {
        m_heights[static_cast<std::size_t>(index)] = kDefaultFieldHeight;
        PlaceField(index, m_rectHome[static_cast<std::size_t>(index)]);
    } else if (IsTextField(index)) {
        ApplyLineCount(fieldNumber);
    } else {
        ApplyFontHeight(fieldNumber);
    }
    Invalidate();
}

void CUserLabelView::ApplyLineCount(int fieldNumber)
{
    const int index = fieldNumber - 1;
    if (!IsTextField(index))
        return;
    ApplyFontHeight(fieldNumber);
    const std::size_t i = static_cast<std::size_t>(index);
    const int count = (index == kFieldIngredient ? m_linesIngredient : m_linesAdvertisement).GetCurSel();
    if (count <= 0) {
        m_heights[i] = kDefaultFieldHeight;
        PlaceField(index, m_rectHome[i]);
        return;
    }
    m_heights[i] *= count;
    CRect rect = m_rectNow[i];
    rect.bottom = rect.top + rect.Height() * count;
    PlaceField(index, rect);
}

void CUserLabelView::OnLinesChange(int fieldNumber)
{
    ApplyLineCount(fieldNumber);
    Invalidate();
}

void CUserLabelView::SetBarcodeForm(int form)
{
    CBitmap& bitmap = m_bitmaps[kFieldBarcode];
    bitmap.DeleteObject();
    bitmap.LoadBitmap(BarcodeBitmap(form));
    const CPoint corner = m_rectNow[kFieldBarcode].TopLeft();
    PlaceField(kFieldBarcode, CRect(corner, BarcodeSize(form)));
}

void CUserLabelView::OnBarcodeFormChange(int form)
{
    SetBarcodeForm(form);
    Invalidate();
}

// ---- Loading and writing back -----------------------------------------------------

void CUserLabelView::LoadField(int index, int row)
{
    const CGridCtrl& grid = WorkScreen()->GetGrid();
    const int c = LabelFields()[static_cast<std::size_t>(index)].firstColumn;
    const int left = kLabelLeft + Number(grid.GetItemText(row, c)) / 2;
    const int top = kLabelTop + Number(grid.GetItemText(row, c + 1)) / 2;
    const int third = Number(grid.GetItemText(row, c + 2));
    const int fourth = Number(grid.GetItemText(row, c + 3));
    if (index == kFieldBarcode) {
        if (fourth == 0)
            return;
        const int form = third >= 0 && third <= 2 ? third : 0;
        m_rectNow[kFieldBarcode] = CRect(left, top, left, top);
        SetBarcodeForm(form);
        m_editBarcodeLength.SetWindowText(CString::Formatted("%d", fourth));
        m_barcodeForm.SetCurSel(form);
        return;
    }
    if (third == 0)
        return;
    const int width = index == kFieldItemNumber ? 50 : (index == 2 || index == 3 || index >= 12) ? 100 : 90;
    const std::size_t i = static_cast<std::size_t>(index);
    CRect rect(left, top, left + width, top - 10 + m_heights[i]);
    if (IsTextField(index))
        rect.right = left + m_labelRect.Width();
    PlaceField(index, rect);
    m_fontCombos[i].SetCurSel(third);
    if (IsTextField(index)) {
        (index == kFieldIngredient ? m_linesIngredient : m_linesAdvertisement).SetCurSel(fourth);
        ApplyLineCount(index + 1);
    } else {
        ApplyFontHeight(index + 1);
    }
}

void CUserLabelView::LoadLabelFromGrid(int row)
{
    CKindOfView* screen = WorkScreen();
    if (!screen)
        return;
    m_nGridRow = row;
    ResetFieldLayout();
    CEdit* sizes[] = { &m_editWidth, &m_editLength, &m_editGap };
    for (int k = 0; k < 3; ++k)
        sizes[k]->SetWindowText(screen->GetGrid().GetItemText(row, kLabelWidthColumn + k));
    // Text set by code sends no change notification: the label is sized here.
    ApplyLabelSize(0);
    ApplyLabelSize(1);
    for (int i = 0; i < kLabelFieldCount; ++i)
        LoadField(i, row);
    Invalidate();
}

void CUserLabelView::WriteCell(int row, int column, const CString& text)
{
    CKindOfView* screen = WorkScreen();
    screen->GetGrid().SetItemText(row, column, text);
    screen->Context().OnGridCellEdited(row, column);
}

void CUserLabelView::WriteField(int index, int row)
{
    const std::size_t i = static_cast<std::size_t>(index);
    const int c = LabelFields()[i].firstColumn;
    const CRect& rect = m_rectNow[i];
    auto number = [](int value) { return CString::Formatted("%d", value); };
    if (rect.left > m_nPalette) {
        for (int k = 0; k < (IsTextField(index) ? 4 : 3); ++k)
            WriteCell(row, c + k, "0");
        return;
    }
    WriteCell(row, c, number((rect.left - m_labelRect.left) * 2));
    WriteCell(row, c + 1, number((rect.top - m_labelRect.top) * 2));
    if (index == kFieldBarcode) {
        CString length;
        m_editBarcodeLength.GetWindowText(length);
        WriteCell(row, c + 2, number(m_barcodeForm.GetCurSel()));
        WriteCell(row, c + 3, length.IsEmpty() ? CString("0") : length);
        return;
    }
    WriteCell(row, c + 2, number(ComboOf(index)));
    if (IsTextField(index))
        WriteCell(row, c + 3,
            number((index == kFieldIngredient ? m_linesIngredient : m_linesAdvertisement).GetCurSel()));
}

void CUserLabelView::OnAccept()
{
    CKindOfView* screen = WorkScreen();
    if (!screen)
        return;
    CopyGridCell();
    const int row = m_nGridRow;
    if (row < 1 || row >= screen->GetGrid().GetRowCount() - 1) {
        AfxMessageBox("Select a label information grid line", MB_OK);
        return;
    }
    CEdit* sizes[] = { &m_editWidth, &m_editLength, &m_editGap };
    for (int k = 0; k < 3; ++k) {
        CString text;
        sizes[k]->GetWindowText(text);
        WriteCell(row, kLabelWidthColumn + k, text.IsEmpty() ? CString("0") : text);
    }
    for (int i = 0; i < kLabelFieldCount; ++i)
        WriteField(i, row);
    screen->GetGrid().Invalidate();
}

void CUserLabelView::OnClear()
{
    for (CEdit* edit : { &m_editWidth, &m_editLength, &m_editGap }) {
        if (edit->GetSafeHwnd())
            edit->SetWindowText("");
    }
    m_nLabelWidth = 0;
    m_nLabelLength = 0;
    m_labelRect = kEmptyLabel;
    m_nGridRow = 0;
    m_nGridColumn = 0;
    m_nPalette = 600;
    ResetFieldLayout();
    Invalidate();
}
