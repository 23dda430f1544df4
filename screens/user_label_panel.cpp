#include "screens/user_label_panel.h"

#include <cstdlib>

#include "platform/wnd/core/msgbox.h"
#include "resources/calvorn_ids.h"
#include "screens/kind_of_view.h"
#include "screens/user_label_picture.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"

namespace {

constexpr DWORD kValueStyle = WS_CHILD | WS_BORDER | ES_CENTER | ES_NUMBER;
constexpr DWORD kCaptionStyle = WS_CHILD | ES_CENTER | ES_READONLY;
constexpr DWORD kComboStyle = WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButtonStyle = WS_CHILD;
constexpr int kLabelWidthColumn = 41;

constexpr const char* kFontSizes[] = { "0. Not Print", "1. 8x16", "2. 8x32", "3. 16x16", "4. 16x24",
    "5. 16x32", "6. 16x48", "7. 32x32", "8. 32x48", "9. 18x40" };
constexpr const char* kBarcodeForms[] = { "0. Horizontally", "1. Vertically(90)", "2. Vertically(270)" };

int Number(const CString& text)
{
    return std::atoi(text.GetString());
}

void ShowControl(CWnd& control, int mode)
{
    if (control.GetSafeHwnd())
        control.ShowWindow(mode);
}

// The work screen (upper pane), whose grid holds the user labels.
CKindOfView* WorkScreen()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    return right ? dynamic_cast<CKindOfView*>(right->GetKindOfView()) : nullptr;
}

// The cell written as if typed: the grid's edited-cell message checks it and
// writes it back.
void WriteCell(CKindOfView& screen, int row, int column, const CString& text)
{
    screen.GetGrid().SetItemText(row, column, text);
    screen.SendMessage(WM_GRID_CELLEDITED, static_cast<WPARAM>(row), static_cast<LPARAM>(column));
}

CString NumberText(int value)
{
    return CString::Formatted("%d", value);
}

} // namespace

CUserLabelPanel::CUserLabelPanel(CWnd& window, CUserLabelPicture& picture)
    : m_window(window)
    , m_picture(picture)
{ }

const MessageMap* CUserLabelPanel::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnControl<&CUserLabelPanel::OnWidthChange>(EN_CHANGE, IDC_UL_WIDTH),
            OnControl<&CUserLabelPanel::OnLengthChange>(EN_CHANGE, IDC_UL_LENGTH),
            OnControl<&CUserLabelPanel::OnGapChange>(EN_CHANGE, IDC_UL_GAP),
            OnControl<&CUserLabelPanel::OnBarcodeLengthChange>(EN_CHANGE, IDC_UL_BARCODE_LENGTH),
            OnControlRange<&CUserLabelPanel::OnFontCombo>(CBN_SELCHANGE, IDC_UL_FIRST_FONT, IDC_UL_LAST_FONT),
            OnControlRange<&CUserLabelPanel::OnLinesCombo>(
                CBN_SELCHANGE, IDC_UL_INGREDIENT_LINES, IDC_UL_ADVERTISEMENT_LINES),
            OnControl<&CUserLabelPanel::OnFormCombo>(CBN_SELCHANGE, IDC_UL_BARCODE_FORM),
            OnCommandMsg<&CUserLabelPanel::OnAccept>(IDC_UL_ACCEPT),
            OnCommandMsg<&CUserLabelPanel::OnClear>(IDC_UL_CLEAR),
        });
    return &kMap;
}

void CUserLabelPanel::CreateEdit(CEdit& edit, int id, const CRect& place, DWORD style, const char* text)
{
    if (edit.GetSafeHwnd())
        return;
    edit.Create(style, place, &m_window, static_cast<UINT>(id));
    edit.SetWindowText(text);
}

void CUserLabelPanel::Create()
{
    CreateEdit(m_editWidth, IDC_UL_WIDTH, CRect(100, 10, 150, 50), kValueStyle);
    CreateEdit(m_editLength, IDC_UL_LENGTH, CRect(220, 10, 270, 50), kValueStyle);
    CreateEdit(m_editGap, IDC_UL_GAP, CRect(340, 10, 390, 50), kValueStyle);
    CreateEdit(m_captionWidth, IDC_UL_WIDTH_CAPTION, CRect(50, 10, 100, 50), kCaptionStyle, "Label X");
    CreateEdit(m_captionLength, IDC_UL_LENGTH_CAPTION, CRect(170, 10, 220, 50), kCaptionStyle, "Label Y");
    CreateEdit(m_captionGap, IDC_UL_GAP_CAPTION, CRect(290, 10, 340, 50), kCaptionStyle, "Label Gap");
    CreateEdit(m_captionForm, IDC_UL_FORM_CAPTION, CRect(350, 60, 480, 85), kCaptionStyle, "Barcode Form");
    CreateEdit(m_captionLines, IDC_UL_LINES_CAPTION, CRect(400, 33, 480, 56), kCaptionStyle, "Lines");
    CreateEdit(m_captionFont, IDC_UL_FONT_CAPTION, CRect(400, 10, 480, 33), kCaptionStyle, "Font size");
    CreateEdit(m_editBarcodeLength, IDC_UL_BARCODE_LENGTH, CRect(480, 10, 580, 50), kValueStyle);
    CreateEdit(m_captionBarcodeLength, IDC_UL_BARCODE_LENGTH_CAPTION, CRect(400, 10, 480, 50), kCaptionStyle,
        "Barcode Length");
    if (!m_barcodeForm.GetSafeHwnd())
        CreateLists();
}

void CUserLabelPanel::CreateLists()
{
    for (int i = 0; i < kLabelFieldCount; ++i) {
        CComboBox& combo = m_fontCombos[static_cast<std::size_t>(i)];
        combo.Create(
            kComboStyle, CRect(480, 10, 580, 210), &m_window, static_cast<UINT>(IDC_UL_FIRST_FONT + i));
        for (const char* size : kFontSizes)
            combo.AddString(size);
        combo.SetCurSel(0);
    }
    m_linesIngredient.Create(kComboStyle, CRect(480, 33, 580, 250), &m_window, IDC_UL_INGREDIENT_LINES);
    for (int n = 0; n <= 10; ++n)
        m_linesIngredient.AddString(NumberText(n));
    m_linesAdvertisement.Create(kComboStyle, CRect(480, 33, 580, 250), &m_window, IDC_UL_ADVERTISEMENT_LINES);
    for (const char* n : { "0", "1", "2" })
        m_linesAdvertisement.AddString(n);
    m_linesIngredient.SetCurSel(1);
    m_linesAdvertisement.SetCurSel(1);
    m_barcodeForm.Create(kComboStyle, CRect(480, 60, 580, 260), &m_window, IDC_UL_BARCODE_FORM);
    for (const char* form : kBarcodeForms)
        m_barcodeForm.AddString(form);
    m_barcodeForm.SetCurSel(0);
    m_btnAccept.Create("Accept", kButtonStyle, CRect(500, 100, 580, 150), &m_window, IDC_UL_ACCEPT);
    m_btnAccept.SetWindowText("DB Save");
    m_btnClear.Create("Clear", kButtonStyle, CRect(500, 160, 580, 210), &m_window, IDC_UL_CLEAR);
}

void CUserLabelPanel::Show(BOOL show)
{
    for (CWnd* control : { static_cast<CWnd*>(&m_editWidth), static_cast<CWnd*>(&m_editLength),
             static_cast<CWnd*>(&m_editGap), static_cast<CWnd*>(&m_captionWidth),
             static_cast<CWnd*>(&m_captionLength), static_cast<CWnd*>(&m_captionGap),
             static_cast<CWnd*>(&m_btnAccept), static_cast<CWnd*>(&m_btnClear) })
        ShowControl(*control, show ? SW_SHOW : SW_HIDE);
    if (!show)
        HideFieldControls();
}

void CUserLabelPanel::ShowFieldControls(int index, BOOL show)
{
    const int mode = show ? SW_SHOW : SW_HIDE;
    if (index == kFieldBarcode) {
        for (CWnd* control :
            { static_cast<CWnd*>(&m_editBarcodeLength), static_cast<CWnd*>(&m_captionBarcodeLength),
                static_cast<CWnd*>(&m_barcodeForm), static_cast<CWnd*>(&m_captionForm) })
            ShowControl(*control, mode);
        return;
    }
    ShowControl(m_fontCombos[static_cast<std::size_t>(index)], mode);
    ShowControl(m_captionFont, mode);
    if (IsLabelTextField(index)) {
        ShowControl(LinesOf(index), mode);
        ShowControl(m_captionLines, mode);
    }
}

void CUserLabelPanel::HideFieldControls()
{
    for (CComboBox& combo : m_fontCombos)
        ShowControl(combo, SW_HIDE);
    for (CWnd* control : { static_cast<CWnd*>(&m_linesIngredient), static_cast<CWnd*>(&m_linesAdvertisement),
             static_cast<CWnd*>(&m_captionLines), static_cast<CWnd*>(&m_captionFont),
             static_cast<CWnd*>(&m_editBarcodeLength), static_cast<CWnd*>(&m_captionBarcodeLength),
             static_cast<CWnd*>(&m_barcodeForm), static_cast<CWnd*>(&m_captionForm) })
        ShowControl(*control, SW_HIDE);
}

void CUserLabelPanel::ResetField(int index)
{
    m_picture.ResetField(index);
    if (index == kFieldBarcode)
        m_barcodeForm.SetCurSel(0);
    m_fontCombos[static_cast<std::size_t>(index)].SetCurSel(0);
    if (IsLabelTextField(index))
        LinesOf(index).SetCurSel(1);
    ShowFieldControls(index, FALSE);
}

void CUserLabelPanel::ResetFieldLayout()
{
    for (int i = 0; i < kLabelFieldCount; ++i)
        ResetField(i);
}

// ---- Sizes, font sizes, lines, bar code -------------------------------------------

void CUserLabelPanel::OnWidthChange()
{
    CString text;
    m_editWidth.GetWindowText(text);
    m_nLabelWidth = Number(text);
    if (m_nLabelWidth > kMaxLabelWidth) {
        AfxMessageBox("Max Width : 60mm", MB_OK);
        m_nLabelWidth = kMaxLabelWidth;
        m_editWidth.SetWindowText("60");
    }
    m_picture.SetLabelRect(LabelRectOfWidth(m_nLabelWidth, m_nLabelLength));
    m_window.Invalidate();
}

void CUserLabelPanel::OnLengthChange()
{
    CString text;
    m_editLength.GetWindowText(text);
    m_nLabelLength = Number(text);
    m_picture.SetLabelRect(LabelRectOfLength(m_nLabelWidth, m_nLabelLength));
    m_window.Invalidate();
}

void CUserLabelPanel::OnGapChange()
{
    CString text;
    m_editGap.GetWindowText(text);
    if (text.GetLength() != 1)
        m_window.Invalidate();
}

void CUserLabelPanel::OnBarcodeLengthChange()
{
    m_window.Invalidate();
}

int CUserLabelPanel::FontOf(int index) const
{
    const int kind = m_fontCombos[static_cast<std::size_t>(index)].GetCurSel();
    return kind < 0 ? 0 : kind;
}

CComboBox& CUserLabelPanel::LinesOf(int index)
{
    return index == kFieldIngredient ? m_linesIngredient : m_linesAdvertisement;
}

void CUserLabelPanel::SizeField(int index)
{
    if (IsLabelTextField(index))
        m_picture.SizeText(index, FontOf(index), LinesOf(index).GetCurSel());
    else
        m_picture.SizeField(index, FontOf(index));
}

void CUserLabelPanel::OnFontCombo(UINT id)
{
    const int index = static_cast<int>(id - IDC_UL_FIRST_FONT);
    if (FontOf(index) == 0)
        m_picture.SendHome(index);
    else
        SizeField(index);
    m_window.Invalidate();
}

void CUserLabelPanel::OnLinesCombo(UINT id)
{
    SizeField(id == IDC_UL_INGREDIENT_LINES ? kFieldIngredient : kFieldAdvertisement);
    m_window.Invalidate();
}

void CUserLabelPanel::OnFormCombo()
{
    m_picture.SetBarcodeForm(m_barcodeForm.GetCurSel());
    m_window.Invalidate();
}

// ---- Loading and writing back -----------------------------------------------------

void CUserLabelPanel::LoadField(int index, int row)
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
        m_picture.PlaceField(kFieldBarcode, CRect(left, top, left, top));
        m_picture.SetBarcodeForm(form);
        m_editBarcodeLength.SetWindowText(NumberText(fourth));
        m_barcodeForm.SetCurSel(form);
        return;
    }
    if (third == 0)
        return;
    const int width = index == kFieldItemNumber ? 50 : (index == 2 || index == 3 || index >= 12) ? 100 : 90;
    CRect rect(left, top, left + width, top - 10 + m_picture.FieldHeight(index));
    if (IsLabelTextField(index))
        rect.right = left + m_picture.LabelRect().Width();
    m_picture.PlaceField(index, rect);
    m_fontCombos[static_cast<std::size_t>(index)].SetCurSel(third);
    if (IsLabelTextField(index))
        LinesOf(index).SetCurSel(fourth);
    SizeField(index);
}

void CUserLabelPanel::LoadLabelFromGrid(int row)
{
    CKindOfView* screen = WorkScreen();
    if (!screen)
        return;
    ResetFieldLayout();
    CEdit* sizes[] = { &m_editWidth, &m_editLength, &m_editGap };
    for (int k = 0; k < 3; ++k)
        sizes[k]->SetWindowText(screen->GetGrid().GetItemText(row, kLabelWidthColumn + k));
    // Text set by code sends no change notification: the label is sized here.
    OnWidthChange();
    OnLengthChange();
    for (int i = 0; i < kLabelFieldCount; ++i)
        LoadField(i, row);
    m_window.Invalidate();
}

void CUserLabelPanel::WriteField(int index, int row)
{
    CKindOfView& screen = *WorkScreen();
    const int c = LabelFields()[static_cast<std::size_t>(index)].firstColumn;
    const CRect& rect = m_picture.FieldRect(index);
    const CRect& label = m_picture.LabelRect();
    if (rect.left > m_picture.Palette()) {
        for (int k = 0; k < (IsLabelTextField(index) ? 4 : 3); ++k)
            WriteCell(screen, row, c + k, "0");
        return;
    }
    WriteCell(screen, row, c, NumberText((rect.left - label.left) * 2));
    WriteCell(screen, row, c + 1, NumberText((rect.top - label.top) * 2));
    if (index == kFieldBarcode) {
        CString length;
        m_editBarcodeLength.GetWindowText(length);
        WriteCell(screen, row, c + 2, NumberText(m_barcodeForm.GetCurSel()));
        WriteCell(screen, row, c + 3, length.IsEmpty() ? CString("0") : length);
        return;
    }
    WriteCell(screen, row, c + 2, NumberText(FontOf(index)));
    if (IsLabelTextField(index))
        WriteCell(screen, row, c + 3, NumberText(LinesOf(index).GetCurSel()));
}

void CUserLabelPanel::OnAccept()
{
    CKindOfView* screen = WorkScreen();
    if (!screen)
        return;
    const int row = screen->Rows().GetClickedRow();
    if (row < 1 || row >= screen->GetGrid().GetRowCount() - 1) {
        AfxMessageBox("Select a label information grid line", MB_OK);
        return;
    }
    CEdit* sizes[] = { &m_editWidth, &m_editLength, &m_editGap };
    for (int k = 0; k < 3; ++k) {
        CString text;
        sizes[k]->GetWindowText(text);
        WriteCell(*screen, row, kLabelWidthColumn + k, text.IsEmpty() ? CString("0") : text);
    }
    for (int i = 0; i < kLabelFieldCount; ++i)
        WriteField(i, row);
    screen->GetGrid().Invalidate();
}

void CUserLabelPanel::OnClear()
{
    for (CEdit* edit : { &m_editWidth, &m_editLength, &m_editGap }) {
        if (edit->GetSafeHwnd())
            edit->SetWindowText("");
    }
    m_nLabelWidth = 0;
    m_nLabelLength = 0;
    m_picture.ClearLabel();
    ResetFieldLayout();
    m_window.Invalidate();
}
