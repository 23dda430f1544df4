#include "tests/support/temp_data_root.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/base/path.h"

namespace fs = std::filesystem;

namespace {

std::string MakeTempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "calvorn-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary data root");
    return pattern;
}

} // namespace

TempDataRoot::TempDataRoot()
    : m_root(MakeTempFolder())
    , m_previous(AfxGetDataRoot())
{
    AfxSetDataRoot(m_root);
}

TempDataRoot::~TempDataRoot()
{
    AfxSetDataRoot(m_previous);
    std::error_code ec;
    // Restore write permission that a test may have taken away, then remove.
    for (fs::recursive_directory_iterator it(m_root, ec), end; !ec && it != end; it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_root, ec);
}

std::string TempDataRoot::Native(std::string_view windowsPath) const
{
    return MapWindowsPath(windowsPath);
}

std::string TempDataRoot::ReadAll(std::string_view path)
{
    std::ifstream in(MapWindowsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TempDataRoot::WriteAll(std::string_view path, std::string_view bytes)
{
    const fs::path native = MapWindowsPath(path);
    fs::create_directories(native.parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool TempDataRoot::Exists(std::string_view path)
{
    std::error_code ec;
    return fs::exists(MapWindowsPath(path), ec);
}
