#include "tests/support/temp_data_root.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/path.h"

namespace fs = std::filesystem;

TempDataRoot::TempDataRoot()
    : m_root(m_folder.Path().string())
    , m_previous(AfxGetDataRoot())
{
    AfxSetDataRoot(m_root);
}

TempDataRoot::~TempDataRoot()
{
    AfxSetDataRoot(m_previous);
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
