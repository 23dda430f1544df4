#pragma once
// System parameters from a fixed table (NT 5.1, classic scheme).

#include "platform/base/types.h"
#include "platform/gdi/gdi_types.h"

inline constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
inline constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;

struct NONCLIENTMETRICS {
    UINT cbSize = sizeof(NONCLIENTMETRICS);
    int iBorderWidth = 1;
    int iScrollWidth = 16;
    int iScrollHeight = 16;
    int iCaptionWidth = 18;
    int iCaptionHeight = 18;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 12;
    int iSmCaptionHeight = 15;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth = 18;
    int iMenuHeight = 18;
    LOGFONT lfMenuFont;
    LOGFONT lfStatusFont;
    LOGFONT lfMessageFont;
};

// SPI_GETNONCLIENTMETRICS fills a NONCLIENTMETRICS (fonts: Tahoma, 8 points);
// SPI_GETWHEELSCROLLLINES an UINT (3). FALSE for other actions or a null
// argument.
BOOL SystemParametersInfo(UINT action, UINT param, void* pvParam, UINT winIni);

// Sent to top-level windows (and passed to children) when a system colour changes.
inline constexpr UINT WM_SYSCOLORCHANGE = 0x0015;

// The double-click time in milliseconds (500 unless set). Any thread.
UINT GetDoubleClickTime();
// Sets it; 0 restores the default. Returns TRUE.
BOOL SetDoubleClickTime(UINT msecs);
