#include "platform/wnd/desktop/shell_services.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <mutex>

#include "platform/base/path.h"

namespace {

std::mutex g_mutex;
std::vector<ShellRecord> g_records; // guarded by g_mutex

bool HasDesktopSession()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return false;
    // A bare X server (no desktop, no opener) opens nothing and says so on
    // the console; hand nothing over then.
    return !QStandardPaths::findExecutable("xdg-open").isEmpty()
        || qEnvironmentVariableIsSet("XDG_CURRENT_DESKTOP");
}

// Hands a file or an address to the desktop, on the UI thread.
void OpenWithDesktop(const CString& target)
{
    const QString text = QString::fromUtf8(target.GetString());
    QUrl url;
    if (text.contains("://") || text.startsWith("mailto:"))
        url = QUrl(text);
    else
        url = QUrl::fromLocalFile(QString::fromStdString(MapWindowsPath(target.View())));
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        QDesktopServices::openUrl(url);
    else
        QMetaObject::invokeMethod(
            app, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
}

} // namespace

BOOL PlaySound(LPCTSTR name, HINSTANCE, DWORD flags)
{
    ShellRecord record;
    record.kind = ShellRecord::Kind::Sound;
    if ((flags & SND_RESOURCE) == SND_RESOURCE)
        record.name.Format("%u", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name)));
    else
        record.name = name ? name : "";
    record.flags = flags;
    std::lock_guard lock(g_mutex);
    g_records.push_back(record);
    return TRUE;
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info)
{
    if (!info || !info->lpFile)
        return FALSE;
    ShellRecord record;
    record.kind = ShellRecord::Kind::Execute;
    record.name = info->lpFile;
    record.verb = info->lpVerb ? info->lpVerb : "";
    record.flags = info->fMask;
    record.show = info->nShow;
    {
        std::lock_guard lock(g_mutex);
        g_records.push_back(record);
    }
    if ((record.verb.IsEmpty() || record.verb == "open") && HasDesktopSession())
        OpenWithDesktop(record.name);
    return TRUE;
}

std::vector<ShellRecord> AfxGetShellRecords()
{
    std::lock_guard lock(g_mutex);
    return g_records;
}

void AfxClearShellRecords()
{
    std::lock_guard lock(g_mutex);
    g_records.clear();
}
