#include "platform/wnd/desktop/tray.h"

#include <algorithm>
#include <memory>

#include <QSystemTrayIcon>

#include <cstring>

namespace {

struct TrayIcon {
    TrayIconRecord record;
    UINT callback = 0;
    std::unique_ptr<QSystemTrayIcon> icon; // null where there is no tray
};

std::vector<TrayIcon>& Icons()
{
    static std::vector<TrayIcon> icons; // UI thread
    return icons;
}

void Apply(TrayIcon& entry, const NOTIFYICONDATA& data)
{
    if (data.uFlags & NIF_TIP)
        entry.record.tip = CString(data.szTip, static_cast<int>(strnlen(data.szTip, sizeof(data.szTip) - 1)));
    if (data.uFlags & NIF_MESSAGE)
        entry.callback = data.uCallbackMessage;
    if (!entry.icon)
        return;
    entry.icon->setToolTip(QString::fromUtf8(entry.record.tip.GetString()));
    (void)data.hIcon;
}

} // namespace

BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data)
{
    if (!data)
        return FALSE;
    std::vector<TrayIcon>& icons = Icons();
    auto it = std::find_if(icons.begin(), icons.end(),
        [&](const TrayIcon& t) { return t.record.hwnd == data->hWnd && t.record.id == data->uID; });
    switch (message) {
    case NIM_ADD: {
        if (it != icons.end())
            return FALSE;
        TrayIcon entry;
        entry.record.hwnd = data->hWnd;
        entry.record.id = data->uID;
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            entry.icon = std::make_unique<QSystemTrayIcon>();
            const HWND hwnd = data->hWnd;
            const UINT id = data->uID;
            QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated,
                [hwnd, id](QSystemTrayIcon::ActivationReason reason) {
                    for (const TrayIcon& t : Icons())
                        if (t.record.hwnd == hwnd && t.record.id == id && t.callback)
                            ::SendMessage(hwnd, t.callback, id,
                                reason == QSystemTrayIcon::DoubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONUP);
                });
        }
        Apply(entry, *data);
        if (entry.icon)
            entry.icon->show();
        icons.push_back(std::move(entry));
        return TRUE;
    }
    case NIM_MODIFY:
        if (it == icons.end())
            return FALSE;
        Apply(*it, *data);
        return TRUE;
    case NIM_DELETE:
        if (it == icons.end())
            return FALSE;
        icons.erase(it);
        return TRUE;
    default:
        return FALSE;
    }
}

std::vector<TrayIconRecord> AfxGetTrayIcons()
{
    std::vector<TrayIconRecord> records;
    for (const TrayIcon& t : Icons())
        records.push_back(t.record);
    return records;
}
