#pragma once
// Internal: building Qt fonts from logical fonts.

#include <QFont>

#include "platform/gdi/gdi_types.h"

// True when text can be measured and drawn (a QGuiApplication exists); registers
// the substitution fonts on first success.
bool GdiTextReady();
// The Qt font for a logical font; scale = device pixels per logical unit (y).
QFont GdiBuildFont(const LOGFONT& lf, double scale, bool antialias);
// A font's average character width in device pixels: the mean advance of the
// letters a-z and A-Z or of the digits, whichever is wider.
double GdiAverageAdvance(const QFont& font);
