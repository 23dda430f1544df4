#include "tests/support/pdf_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

namespace {

std::string Quoted(const std::string& path)
{
    std::string out = "'";
    for (const char c : path)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string Run(const std::string& command, bool* ok)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *ok = false;
        return out;
    }
    std::array<char, 4096> buffer {};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    *ok = pclose(pipe) == 0;
    return out;
}

} // namespace

std::vector<std::string> PdfPageTexts(const std::string& path)
{
    bool ok = false;
    const std::string text = Run("pdftotext -layout -enc UTF-8 " + Quoted(path) + " - 2>/dev/null", &ok);
    std::vector<std::string> pages;
    if (!ok)
        return pages;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\f', start);
        if (end == std::string::npos)
            break;
        pages.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pages;
}

int PdfPageCount(const std::string& path)
{
    bool ok = false;
    const std::string info = Run("pdfinfo " + Quoted(path) + " 2>/dev/null", &ok);
    const size_t at = info.find("Pages:");
    if (!ok || at == std::string::npos)
        return -1;
    return std::atoi(info.c_str() + at + 6);
}

std::vector<std::string> PdfFilesIn(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".pdf")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}
