#pragma once
// CUserLabelView: the user-label designer in the lower right pane. It shows
// the label row picked on the user labels screen as a picture: the label's
// outline and the 14 printable fields as bitmaps the user drags from the
// palette (right of the blue line) onto the label, each with its font size,
// line counts for the two texts, the bar code's form and length. "DB Save"
// writes the picture back into the grid row cell by cell, through the grid's
// cell-edit path. Shown only on the user labels screen. Menu commands go to
// the left pane. UI thread.

#include <array>

#include "platform/gdi/bitmap.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/controls/rect_tracker.h"
#include "platform/wnd/docview/view.h"
#include "screens/user_label_fields.h"

class CKindOfView;

class CUserLabelView : public CView {
public:
    CUserLabelView();
    ~CUserLabelView() override;

    const MessageMap* GetMessageMap() const override;
    static const CRuntimeClass* GetThisClass();
    const CRuntimeClass* GetRuntimeClass() const override { return GetThisClass(); }

    void OnInitialUpdate() override;
    // Hint 17 shows the designer with an empty label; hints 7-9 keep the
    // screen; every other hint hides it and gives the upper pane the height.
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC* dc) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    // Shows grid row row of the user labels screen as a picture.
    void LoadLabelFromGrid(int row);

    void ShowDesigner(BOOL show);
    void ResetFieldLayout();
    void ResetField(int index);
    // Label size from edit 2000 (which 0), 2101 (1); 2 and 3 repaint.
    void ApplyLabelSize(int which);
    void OnFontSizeChange(int fieldNumber);
    void ApplyFontHeight(int fieldNumber);
    void OnLinesChange(int fieldNumber);
    void ApplyLineCount(int fieldNumber);
    void OnBarcodeFormChange(int form);
    BOOL IsFieldOnLabel(int left, int top) const;
    void OnAccept();
    void OnClear();

    // The picture's state, read by tests.
    BOOL IsShown() const { return m_bShown; }
    const CRect& GetLabelRect() const { return m_labelRect; }
    const CRect& GetFieldRect(int index) const { return m_rectNow[static_cast<std::size_t>(index)]; }
    int GetFieldHeight(int index) const { return m_heights[static_cast<std::size_t>(index)]; }

protected:
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnWidthChange() { ApplyLabelSize(0); }
    void OnLengthChange() { ApplyLabelSize(1); }
    void OnGapChange();
    void OnBarcodeLengthChange() { ApplyLabelSize(3); }
    void OnFontCombo(UINT id) { OnFontSizeChange(static_cast<int>(id) - 2300); }
    void OnLinesCombo(UINT id) { OnLinesChange(id == 2401 ? 11 : 12); }
    void OnFormCombo() { OnBarcodeFormChange(m_barcodeForm.GetCurSel()); }

private:
    void CreateControls();
    void CreateEdit(CEdit& edit, int id, const CRect& place, DWORD style, const char* text = "");
    // The work screen (upper pane), and its current grid cell copied here.
    static CKindOfView* WorkScreen();
    void CopyGridCell();
    void SetUpperPaneHeight(int height);
    void ShowFieldControls(int index, BOOL show);
    void HideAllFieldControls();
    void PlaceField(int index, const CRect& rect);
    // The field dropped by a drag: home, or onto the label's edges.
    void DropField(int index);
    void SetBarcodeForm(int form);
    void LoadField(int index, int row);
    void WriteCell(int row, int column, const CString& text);
    void WriteField(int index, int row);
    int ComboOf(int index) const;

    CEdit m_editWidth; // 2000
    CEdit m_editLength; // 2101
    CEdit m_editGap; // 2201
    CEdit m_captionWidth; // 2001
    CEdit m_captionLength; // 2102
    CEdit m_captionGap; // 2203
    CRect m_labelRect;
    int m_nLabelWidth = 0;
    int m_nLabelLength = 0;
    int m_nPalette = 600;
    BOOL m_bShown = FALSE;
    int m_nGridRow = 0;
    int m_nGridColumn = 0;
    std::array<CRectTracker, kLabelFieldCount> m_trackers;
    std::array<CBitmap, kLabelFieldCount> m_bitmaps;
    std::array<CRect, kLabelFieldCount> m_rectNow;
    std::array<CRect, kLabelFieldCount> m_rectDrawn;
    std::array<CRect, kLabelFieldCount> m_rectHome;
    std::array<CComboBox, kLabelFieldCount> m_fontCombos; // 2301-2314
    CComboBox m_linesIngredient; // 2401
    CComboBox m_linesAdvertisement; // 2402
    CComboBox m_barcodeForm; // 2551
    CEdit m_captionForm; // 2552
    CEdit m_captionLines; // 2451
    CEdit m_captionFont; // 2351
    CEdit m_editBarcodeLength; // 2501
    CEdit m_captionBarcodeLength; // 2502
    std::array<int, kLabelFieldCount> m_heights {};
    CButton m_btnAccept; // 2601
    CButton m_btnClear; // 2701
};
