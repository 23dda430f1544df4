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

std::vector<std::string> TempDataRoot::ReadCrLfLines(std::string_view path)
{
    std::vector<std::string> lines;
    const std::string text = ReadAll(path);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
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
