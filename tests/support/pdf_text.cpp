#include "tests/support/pdf_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
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

namespace {

// The page rendered at dpi as gray levels, row by row; false on failure.
bool RenderGray(const std::string& path, int page, int dpi, int& width, int& height, std::string& pixels)
{
    bool ok = false;
    const std::string n = std::to_string(page);
    const std::string image = Run("pdftoppm -gray -r " + std::to_string(dpi) + " -f " + n + " -l " + n + " "
            + Quoted(path) + " 2>/dev/null",
        &ok);
    // Binary PGM: "P5", width, height, maximum, one byte per pixel.
    if (!ok || image.compare(0, 2, "P5") != 0)
        return false;
    size_t at = 2;
    int fields[3] = {};
    for (int& field : fields) {
        while (at < image.size() && std::isspace(static_cast<unsigned char>(image[at])))
            ++at;
        field = std::atoi(image.c_str() + at);
        while (at < image.size() && std::isdigit(static_cast<unsigned char>(image[at])))
            ++at;
    }
    ++at;
    const size_t count = static_cast<size_t>(fields[0]) * static_cast<size_t>(fields[1]);
    if (fields[2] != 255 || image.size() < at + count)
        return false;
    width = fields[0];
    height = fields[1];
    pixels = image.substr(at, count);
    return true;
}

bool IsInk(char pixel)
{
    return static_cast<unsigned char>(pixel) < 240;
}

} // namespace

int PdfInkPixels(const std::string& path, int page, int dpi)
{
    int width = 0;
    int height = 0;
    std::string pixels;
    if (!RenderGray(path, page, dpi, width, height, pixels))
        return -1;
    int ink = 0;
    for (const char pixel : pixels)
        ink += IsInk(pixel) ? 1 : 0;
    return ink;
}

std::array<int, 4> PdfInkBox(const std::string& path, int page, int dpi)
{
    std::array<int, 4> box { -1, -1, -1, -1 };
    int width = 0;
    int height = 0;
    std::string pixels;
    if (!RenderGray(path, page, dpi, width, height, pixels))
        return box;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!IsInk(pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]))
                continue;
            if (box[0] < 0) {
                box = { x, y, x, y };
                continue;
            }
            box[0] = std::min(box[0], x);
            box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x);
            box[3] = std::max(box[3], y);
        }
    }
    return box;
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
