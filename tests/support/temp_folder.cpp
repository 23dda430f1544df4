#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/base/resource.h"
#include "platform/dao/dao_database.h"

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "calvorn-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    CDaoDatabase::TEST_DropConnectionCache();
    std::error_code ec;
    // Restore write permission that a test may have taken away, then remove.
    for (fs::recursive_directory_iterator it(m_path, ec), end; !ec && it != end; it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

std::string TempFolder::File(const std::string& name) const
{
    return (m_path / name).string();
}

std::string TempFolder::FromTemplate(UINT id, const std::string& name) const
{
    const auto bytes = AfxGetResource("MDB", id);
    const std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}
