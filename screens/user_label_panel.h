#pragma once
// CUserLabelPanel: the controls of the user-label designer, children of its
// window, with their commands: the label's width (2000), length (2101) and
// gap (2201) with their captions, a font size list per field (2301-2314),
// the line counts of the ingredient (2401) and the advertisement (2402), the
// bar code's form (2551) and length (2501), and "DB Save" (2601) and
// "Clear" (2701). What the user picks sizes the fields of the picture. A
// grid row of the user labels screen is shown through it, and "DB Save"
// writes the picture back into the row cell by cell, through the grid's
// cell-edit path. UI thread.

#include <array>

#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/user_label_fields.h"

class CUserLabelPicture;

class CUserLabelPanel : public CCmdTarget {
public:
    // window: the designer's, parent of the controls, on which picture is drawn.
    CUserLabelPanel(CWnd& window, CUserLabelPicture& picture);

    const MessageMap* GetMessageMap() const override;
    // Makes the controls once.
    void Create();
    // The label's size edits and the buttons; hidden, every field control too.
    void Show(BOOL show);
    // The controls of field index: its font size and lines, or the bar code's.
    void ShowFieldControls(int index, BOOL show);
    void HideFieldControls();
    // The field at home with its lists at their first choice.
    void ResetField(int index);
    // Shows grid row row of the user labels screen as a picture.
    void LoadLabelFromGrid(int row);
    // An empty label, every field at home.
    void OnClear();

private:
    void OnWidthChange();
    void OnLengthChange();
    void OnGapChange();
    void OnBarcodeLengthChange();
    void OnFontCombo(UINT id);
    void OnLinesCombo(UINT id);
    void OnFormCombo();
    void OnAccept();

    void CreateEdit(CEdit& edit, int id, const CRect& place, DWORD style, const char* text = "");
    void CreateLists();
    void ResetFieldLayout();
    // The field's height from its font size (and lines, for a text).
    void SizeField(int index);
    int FontOf(int index) const;
    CComboBox& LinesOf(int index);
    void LoadField(int index, int row);
    void WriteField(int index, int row);

    CWnd& m_window;
    CUserLabelPicture& m_picture;
    CEdit m_editWidth; // IDC_UL_WIDTH
    CEdit m_editLength; // IDC_UL_LENGTH
    CEdit m_editGap; // IDC_UL_GAP
    CEdit m_captionWidth; // IDC_UL_WIDTH_CAPTION
    CEdit m_captionLength; // IDC_UL_LENGTH_CAPTION
    CEdit m_captionGap; // IDC_UL_GAP_CAPTION
    int m_nLabelWidth = 0;
    int m_nLabelLength = 0;
    std::array<CComboBox, kLabelFieldCount> m_fontCombos; // IDC_UL_FIRST_FONT to IDC_UL_LAST_FONT
    CComboBox m_linesIngredient; // IDC_UL_INGREDIENT_LINES
    CComboBox m_linesAdvertisement; // IDC_UL_ADVERTISEMENT_LINES
    CComboBox m_barcodeForm; // IDC_UL_BARCODE_FORM
    CEdit m_captionForm; // IDC_UL_FORM_CAPTION
    CEdit m_captionLines; // IDC_UL_LINES_CAPTION
    CEdit m_captionFont; // IDC_UL_FONT_CAPTION
    CEdit m_editBarcodeLength; // IDC_UL_BARCODE_LENGTH
    CEdit m_captionBarcodeLength; // IDC_UL_BARCODE_LENGTH_CAPTION
    CButton m_btnAccept; // IDC_UL_ACCEPT
    CButton m_btnClear; // IDC_UL_CLEAR
};
