#pragma once
// Writing a bitmap to a PNG file (pictures for people to look at, such as the
// control gallery of the tests).

#include "platform/gdi/gdi_types.h"

// FALSE when bitmap is not a bitmap or the file cannot be written.
BOOL AfxSaveBitmapAsPng(HBITMAP bitmap, const char* path);
