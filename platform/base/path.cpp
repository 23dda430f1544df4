#include "platform/base/path.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mutex g_rootMutex;
std::string g_rootOverride;

std::string DefaultDataRoot()
{
    if (const char* root = std::getenv("CALVORN_ROOT"); root && *root)
        return root;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/calvorn";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/calvorn";
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The on-disk name in folder that matches name, or empty when none does. An
// exact match wins; among case variants the smallest name, for a stable pick.
std::string FindEntry(const fs::path& folder, const std::string& name)
{
    std::error_code ec;
    if (fs::symlink_status(folder / name, ec).type() != fs::file_type::not_found && !ec)
        return name;
    std::string best;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualsNoCase(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    return best;
}

} // namespace

std::string AfxGetDataRoot()
{
    std::lock_guard lock(g_rootMutex);
    return WithoutTrailingSlash(g_rootOverride.empty() ? DefaultDataRoot() : g_rootOverride);
}

void AfxSetDataRoot(std::string_view root)
{
    std::lock_guard lock(g_rootMutex);
    g_rootOverride = std::string(root);
}

bool IsNativePath(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

std::string MapWindowsPath(std::string_view path)
{
    if (path.empty())
        return {};
    if (IsNativePath(path))
        return std::string(path);
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return {}; // network paths are not served

    fs::path base;
    std::string_view rest = path;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
        base = fs::path(AfxGetDataRoot()) / (std::string("drive_") + drive);
        std::error_code ec;
        fs::create_directories(base, ec);
        rest = path.substr(2);
    } else if (IsSeparator(path[0])) {
        base = fs::path(AfxGetDataRoot()) / "drive_c";
        std::error_code ec;
        fs::create_directories(base, ec);
    } else {
        std::error_code ec;
        base = fs::current_path(ec);
        if (ec)
            return {};
    }

    // Split into components; "." is dropped and ".." goes up, never above base.
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsSeparator(rest[i]))
            ++i;
        const std::size_t start = i;
        while (i < rest.size() && !IsSeparator(rest[i]))
            ++i;
        const std::string_view part = rest.substr(start, i - start);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.emplace_back(part);
    }

    fs::path result = base;
    bool onDisk = true;
    for (const std::string& part : parts) {
        if (onDisk) {
            const std::string found = FindEntry(result, part);
            if (!found.empty()) {
                result /= found;
                continue;
            }
            onDisk = false;
        }
        result /= part;
    }
    return result.string();
}

std::string WindowsFormOf(std::string_view path)
{
    const std::string drives = AfxGetDataRoot() + "/drive_";
    if (!IsNativePath(path) || path.size() <= drives.size() || path.compare(0, drives.size(), drives) != 0)
        return std::string(path);
    const unsigned char drive = static_cast<unsigned char>(path[drives.size()]);
    std::string rest(path.substr(drives.size() + 1));
    if (!std::isalpha(drive) || (!rest.empty() && rest.front() != '/'))
        return std::string(path);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return std::string(1, static_cast<char>(std::toupper(drive))) + ":" + (rest.empty() ? "\\" : rest);
}
