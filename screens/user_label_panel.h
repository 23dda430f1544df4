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
    CEdit m_editWidth; // 2000
    CEdit m_editLength; // 2101
    CEdit m_editGap; // 2201
    CEdit m_captionWidth; // 2001
    CEdit m_captionLength; // 2102
    CEdit m_captionGap; // 2203
    int m_nLabelWidth = 0;
    int m_nLabelLength = 0;
    std::array<CComboBox, kLabelFieldCount> m_fontCombos; // 2301-2314
    CComboBox m_linesIngredient; // 2401
    CComboBox m_linesAdvertisement; // 2402
    CComboBox m_barcodeForm; // 2551
    CEdit m_captionForm; // 2552
    CEdit m_captionLines; // 2451
    CEdit m_captionFont; // 2351
    CEdit m_editBarcodeLength; // 2501
    CEdit m_captionBarcodeLength; // 2502
    CButton m_btnAccept; // 2601
    CButton m_btnClear; // 2701
};
