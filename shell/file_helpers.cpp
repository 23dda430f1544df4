#include "shell/file_helpers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <span>

#include "db/store_paths.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/file_system.h"
#include "platform/base/path.h"
#include "platform/base/resource.h"
#include "platform/wnd/core/msgbox.h"

namespace {

constexpr const char* kResourceMissingText = "리소스를 찾을 수 없거나 불러올수 없습니다.";
constexpr const char* kResourceLockText = "메로리를 할당할 수 없습니다.";

BOOL IsFolder(const CString& path)
{
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
}

constexpr const char* kProgramDatabases[] = {
    kManagerDatabase,
    kScaleSettingsDatabase,
    kReservationDatabase,
    "C:\\Windows\\system\\Manager\\Server_Store.mdb",
    "C:\\Zuvar\\ResultData\\Result_Sum.mdb",
};

constexpr const char* kReceivedDataFolder = "C:\\ZUVAR\\ScaleData";

// The native path with "." and ".." steps and the links of its existing part
// resolved; empty when it cannot be mapped.
std::string ResolvedPath(const CString& path)
{
    const std::string native = MapWindowsPath(path.View());
    if (native.empty())
        return native;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(native, error);
    return error ? std::string() : resolved.string();
}

} // namespace

BOOL MakeDirectoryPath(CString path)
{
    if (path.IsEmpty())
        return FALSE;
    if (IsFolder(path))
        return TRUE;
    // Each separator closes a prefix; the first prefix (the drive, or the
    // root of a native path) is never created.
    CString prefix;
    bool first = true;
    for (int i = 0; i < path.GetLength(); ++i) {
        const char ch = path[i];
        if (ch == '\\' || ch == '/') {
            if (!first && !prefix.IsEmpty())
                CreateDirectory(prefix, nullptr);
            first = false;
        }
        prefix += ch;
    }
    if (!first)
        CreateDirectory(path, nullptr);
    return IsFolder(path);
}

BOOL WriteResourceFile(UINT resourceId, CString path, CString shownPath)
{
    const UINT id = resourceId & 0xFFFF;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = FindResource(module, id, kDatabaseTemplateType);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    if (!loaded) {
        AfxMessageBox(kResourceMissingText);
        return FALSE;
    }
    const void* bytes = LockResource(loaded);
    const DWORD size = SizeofResource(module, resource);
    if (!bytes || size == 0) {
        AfxMessageBox(kResourceLockText);
        return FALSE;
    }
    const std::span<const std::uint8_t> data(static_cast<const std::uint8_t*>(bytes), size);
    if (!WriteFileAtomically(path, data)) {
        CString text;
        text.Format(
            "%s =>DB File not making", shownPath.IsEmpty() ? path.GetString() : shownPath.GetString());
        AfxMessageBox(text);
        return FALSE;
    }
    return TRUE;
}

BOOL ProvisionDatabaseFile(UINT resourceId, CString path)
{
    // Only looked at: an empty file made here when the template then cannot
    // be written (a full disk) would be taken for a damaged database later.
    CFile file;
    if (file.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
        const ULONGLONG length = file.GetLength();
        file.Close();
        if (length != 0)
            return TRUE;
    } else if (GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) {
        CString text;
        text.Format("%s =>DB File not making", path.GetString());
        AfxMessageBox(text);
        return FALSE;
    }
    return WriteResourceFile(resourceId, path);
}

CString GetLogTimeText()
{
    const CTime now = CTime::GetCurrentTime();
    CString text;
    text.Format(
        "%4d/%2d/%2d:%2dH-%2dM", now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute());
    return text;
}

BOOL IsProgramDatabase(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    for (const char* database : kProgramDatabases)
        if (IsSameFile(path, database))
            return TRUE;
    return FALSE;
}

BOOL IsReceivedDataPath(const CString& path)
{
    const std::string folder = ResolvedPath(kReceivedDataFolder);
    const std::string file = ResolvedPath(path);
    if (folder.empty() || file.size() <= folder.size() || file[folder.size()] != '/')
        return FALSE;
    return std::equal(folder.begin(), folder.end(), file.begin(),
               [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a))
                       == std::tolower(static_cast<unsigned char>(b));
               })
        ? TRUE
        : FALSE;
}

BOOL ConfirmFileWrite(const CString& path)
{
    CString text;
    if (IsProgramDatabase(path) || IsReceivedDataPath(path)) {
        text.Format(kFileRefusedText, path.GetString());
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    text.Format(kReplaceFileText, path.GetString());
    return AfxMessageBox(text, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES ? TRUE : FALSE;
}
