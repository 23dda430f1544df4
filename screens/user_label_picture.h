#pragma once
// CUserLabelPicture: the user-label designer's picture. The label's outline,
// the palette line and the 14 printable fields as bitmaps, each with its
// tracker, its rectangle now, as last drawn and at home on the palette, and
// its height value (font size times lines). A field dragged onto the label
// is moved onto its edges; one dropped beside or below it goes home. It is
// drawn on the designer's window and knows no control. UI thread.

#include <array>

#include "platform/gdi/bitmap.h"
#include "platform/wnd/controls/rect_tracker.h"
#include "screens/user_label_fields.h"

class CDC;
class CWnd;

class CUserLabelPicture {
public:
    CUserLabelPicture();

    // The empty label, and every field at home with its bitmap.
    void Load();
    // The empty label outline and the palette at its place.
    void ClearLabel();
    // The field at home, of the default height; the bar code across.
    void ResetField(int index);
    void SendHome(int index);
    void PlaceField(int index, const CRect& rect);
    // Height of font size kind; a text's times lines (none sends it home).
    void SizeField(int index, int kind);
    void SizeText(int index, int kind, int lines);
    // The bar code's bitmap and size for form, its corner kept.
    void SetBarcodeForm(int form);

    // The field under point, -1 for none.
    int FieldAt(CPoint point) const;
    // The field under point follows the mouse until released in window: the
    // index of one dropped onto the label, -1 when none was or it went home.
    int DragField(CWnd& window, CPoint point);
    BOOL SetCursor(CWnd& window, UINT hitTest) const;
    void Draw(CDC& dc);

    const CRect& LabelRect() const { return m_labelRect; }
    void SetLabelRect(const CRect& rect) { m_labelRect = rect; }
    int Palette() const { return m_nPalette; }
    const CRect& FieldRect(int index) const { return m_rectNow[static_cast<std::size_t>(index)]; }
    int FieldHeight(int index) const { return m_heights[static_cast<std::size_t>(index)]; }

private:
    // The field dropped by a drag: home, or onto the label's edges.
    BOOL DropField(int index);

    CRect m_labelRect;
    int m_nPalette = 600;
    std::array<CRectTracker, kLabelFieldCount> m_trackers;
    std::array<CBitmap, kLabelFieldCount> m_bitmaps;
    std::array<CRect, kLabelFieldCount> m_rectNow;
    std::array<CRect, kLabelFieldCount> m_rectDrawn;
    std::array<CRect, kLabelFieldCount> m_rectHome;
    std::array<int, kLabelFieldCount> m_heights {};
};
