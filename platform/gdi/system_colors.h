#pragma once
// System colours and metrics from a fixed table: the classic Windows scheme of
// NT 5.1 with the classic theme, so drawing does not depend on the desktop.

#include "platform/gdi/gdi_types.h"

// The colour of a COLOR_ index; 0 for an unknown index.
COLORREF GetSysColor(int index);
// A shared solid brush of that colour (never deleted; DeleteObject ignores it).
// Null for an unknown index.
HBRUSH GetSysColorBrush(int index);
// Classic metrics (scroll bars 16, edges 2, borders 1, menu 19 ...); the screen
// size is that of the primary screen, 1024 x 768 without one. 0 when unknown.
int GetSystemMetrics(int index);
