#include "platform/wnd/shell_services.h"

#include <mutex>

namespace {

std::mutex g_mutex;
std::vector<ShellRecord> g_records; // guarded by g_mutex

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
    std::lock_guard lock(g_mutex);
    g_records.push_back(record);
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
