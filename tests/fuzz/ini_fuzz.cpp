// The ini round trip: Tarnel's scale list read, written back as the label
// tool writes it, and read again.

#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "labeltool/ini_file.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

// A scale entry as the list shows it: its key, its text, its mode (missing
// when the file has none).
using Scale = std::tuple<CString, CString, std::optional<CString>>;

// A key the list shows a scale of: "SCALE" (any case) and a number written
// without leading zeros.
bool IsScaleKey(const CString& key)
{
    const std::string& text = key.Str();
    if (text.size() < 6 || text.size() > 14 || (text[5] == '0' && text.size() > 6))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i < 5 ? std::toupper(static_cast<unsigned char>(text[i])) != "SCALE"[i]
                  : !std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

std::vector<Scale> ReadScales(CIniFile& ini)
{
    std::vector<Scale> scales;
    for (const CString& key : ini.GetKeys("IP")) {
        CString mode;
        if (IsScaleKey(key))
            scales.emplace_back(key, ini.GetValue("IP", key),
                ini.Lookup("MODE", key, mode) ? std::optional<CString>(ini.GetValue("MODE", key))
                                              : std::nullopt);
    }
    return scales;
}

// The file the round trip works on, in a folder of this process.
const std::string& ListPath()
{
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        std::string folder = std::string(base && *base ? base : "/tmp") + "/ini-fuzz-XXXXXX";
        return ::mkdtemp(folder.data()) ? folder + "/Zuvinf.ini" : std::string();
    }();
    return path;
}

} // namespace

void FuzzIniInput(std::span<const std::uint8_t> input)
{
    const std::string& path = ListPath();
    if (path.empty())
        return;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
        if (!out)
            return;
    }
    // Each scale written back with what was read of it, as a save does.
    std::vector<Scale> first;
    {
        CIniFile ini;
        if (!ini.Open(path.c_str(), FALSE, FALSE, TRUE, FALSE))
            return;
        first = ReadScales(ini);
        for (const auto& [key, text, mode] : first) {
            ini.SetValue("IP", key, text);
            if (mode)
                ini.SetValue("MODE", key, *mode);
        }
        // A count the file does not hold yet, so that the whole file is written.
        ini.SetValue("SCALE", "COUNT", ini.GetValue("SCALE", "COUNT") + "1");
        if (!ini.Write(FALSE))
            return;
    }
    CIniFile again;
    FuzzCheck(again.Open(path.c_str(), FALSE, FALSE, TRUE, FALSE));
    FuzzCheck(ReadScales(again) == first);
}
