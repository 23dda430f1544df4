#include "platform/wnd/core/system_params.h"

#include <atomic>
#include <cstring>

namespace {

constexpr UINT kDefaultDoubleClickMsecs = 500;
std::atomic<UINT> g_doubleClickMsecs { kDefaultDoubleClickMsecs };

LOGFONT Tahoma(LONG weight)
{
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "Tahoma");
    return lf;
}

} // namespace

BOOL SystemParametersInfo(UINT action, UINT, void* pvParam, UINT)
{
    if (!pvParam)
        return FALSE;
    switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* metrics = static_cast<NONCLIENTMETRICS*>(pvParam);
        *metrics = NONCLIENTMETRICS {};
        metrics->lfCaptionFont = Tahoma(FW_BOLD);
        metrics->lfSmCaptionFont = Tahoma(FW_BOLD);
        metrics->lfMenuFont = Tahoma(FW_NORMAL);
        metrics->lfStatusFont = Tahoma(FW_NORMAL);
        metrics->lfMessageFont = Tahoma(FW_NORMAL);
        return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<UINT*>(pvParam) = 3;
        return TRUE;
    default:
        return FALSE;
    }
}

UINT GetDoubleClickTime()
{
    return g_doubleClickMsecs.load();
}

BOOL SetDoubleClickTime(UINT msecs)
{
    g_doubleClickMsecs.store(msecs ? msecs : kDefaultDoubleClickMsecs);
    return TRUE;
}
