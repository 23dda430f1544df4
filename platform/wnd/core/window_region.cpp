#include "platform/wnd/core/window_region.h"

#include <map>

#include <QRegion>
#include <QWidget>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/rgn.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

std::map<HWND, QRegion> g_regions; // UI thread

} // namespace

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    if (!IsWindow(hwnd))
        return 0;
    for (auto it = g_regions.begin(); it != g_regions.end();)
        it = IsWindow(it->first) ? std::next(it) : g_regions.erase(it);
    QWidget* widget = wnd_internal::WidgetOf(hwnd);
    if (!region) {
        g_regions.erase(hwnd);
        if (widget)
            widget->clearMask();
    } else {
        if (GetObjectType(region) != OBJ_REGION)
            return 0;
        const QRegion shape = GdiRegion(region);
        g_regions[hwnd] = shape;
        if (widget)
            widget->setMask(shape);
    }
    if (redraw && widget)
        widget->update();
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    auto it = g_regions.find(hwnd);
    if (it == g_regions.end() || !IsWindow(hwnd) || !region)
        return ERROR;
    CRgn* target = CRgn::FromHandle(region);
    HRGN copy = GdiCreateRegion(it->second);
    if (!target || !copy)
        return ERROR;
    const int type = target->CombineRgn(CRgn::FromHandle(copy), nullptr, RGN_COPY);
    DeleteObject(copy);
    return type;
}
