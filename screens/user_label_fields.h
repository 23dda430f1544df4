#pragma once
// The printable fields of a user label and the designer's geometry. The
// preview draws 5 pixels per millimetre: field positions (tenths of a
// millimetre from the label's top-left corner) are 2 units per pixel, label
// sizes whole millimetres.

#include <array>

#include "platform/base/geometry.h"

inline constexpr int kLabelFieldCount = 14;
inline constexpr int kFieldItemName = 0;
inline constexpr int kFieldOrigin = 1;
inline constexpr int kFieldBarcode = 6;
inline constexpr int kFieldItemNumber = 8;
inline constexpr int kFieldIngredient = 10;
inline constexpr int kFieldAdvertisement = 11;
// Where the label's top-left corner stands, and the widest label (mm).
inline constexpr int kLabelLeft = 50;
inline constexpr int kLabelTop = 60;
inline constexpr int kMaxLabelWidth = 60;
// A field's height value before a font size is chosen.
inline constexpr int kDefaultFieldHeight = 25;

struct LabelField {
    const char* name;
    int firstColumn; // grid column of X; Y and the font size follow
    unsigned bitmap; // the bar code's is that of its form
};

const std::array<LabelField, kLabelFieldCount>& LabelFields();
// Whether field index is one of the two texts (ingredient, advertisement),
// which are as wide as the label and have lines.
bool IsLabelTextField(int index);

// The field's place on the palette right of boundary palette.
CRect FieldHomeRect(int index, int palette);
// Height value of font size kind (0-9); the rectangle grows by this less 25.
int FieldHeightOfKind(int kind);
// The bar code's bitmap and size for form 0 (across), 1 and 2 (along).
unsigned BarcodeBitmap(int form);
CSize BarcodeSize(int form);
// The label outline for a width and length in millimetres (0: not given).
CRect LabelRectOfWidth(int width, int length);
CRect LabelRectOfLength(int width, int length);
// Whether a field dropped with its top-left corner here stays on label: not
// right of it nor below it (above or left of it is moved onto its edge).
bool IsOnLabel(const CRect& label, int left, int top);
