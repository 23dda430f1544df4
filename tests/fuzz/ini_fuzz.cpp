// The ini round trip: Tarnel's scale list read, written back as the label
// tool writes it, and read again.

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "labeltool/ini_file.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

// A scale entry as the list shows it: its key, its text, its mode.
using Scale = std::tuple<CString, CString, CString>;

struct ScaleList {
    CString count;
    std::vector<Scale> scales;
    bool operator==(const ScaleList&) const = default;
};

ScaleList ReadScales(CIniFile& ini)
{
    ScaleList list;
    list.count = ini.GetValue("SCALE", "COUNT");
    for (const CString& key : ini.GetKeys("IP"))
        list.scales.emplace_back(key, ini.GetValue("IP", key), ini.GetValue("MODE", key));
    return list;
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
    ScaleList first;
    {
        CIniFile ini;
        if (!ini.Open(path.c_str(), FALSE, FALSE, TRUE, FALSE))
            return;
        first = ReadScales(ini);
        ini.SetValue("SCALE", "COUNT", first.count);
        for (const auto& [key, text, mode] : first.scales) {
            ini.SetValue("IP", key, text);
            ini.SetValue("MODE", key, mode);
        }
        (void)ini.Write(FALSE);
    }
    CIniFile again;
    FuzzCheck(again.Open(path.c_str(), FALSE, FALSE, TRUE, FALSE));
    FuzzCheck(ReadScales(again) == first);
}
