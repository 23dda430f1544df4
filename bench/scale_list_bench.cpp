// scale_list_bench: one change of tarnel's scale list file, as the Ethernet
// dialog makes it, on files of 5,000 and 20,000 scale entries: every entry
// looked up, each entry's IP and MODE set (every MODE changed), the keys past
// the list removed, the file written. A change must cost time linear in the
// entries.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "labeltool/ini_file.h"
#include "platform/base/path.h"

namespace {

using Clock = std::chrono::steady_clock;

double OneChange(const std::string& path, long entries)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        std::string ip = "[IP]\r\n", mode = "[MODE]\r\n";
        for (long i = 0; i < entries; ++i) {
            ip += "SCALE" + std::to_string(i) + "=S" + std::to_string(i) + ":10.0.0.1\r\n";
            mode += "SCALE" + std::to_string(i) + "=0\r\n";
        }
        out << "[SCALE]\r\nCOUNT=" << entries << "\r\n" << ip << mode;
    }
    const auto start = Clock::now();
    CIniFile ini;
    if (!ini.Open(path.c_str(), FALSE, FALSE, TRUE, FALSE))
        return -1;
    for (const char* section : { "IP", "MODE" })
        for (const CString& key : ini.GetKeys(section)) {
            CString value;
            (void)ini.Lookup(section, key, value);
        }
    ini.SetValue("SCALE", "COUNT", CString::Formatted("%ld", entries));
    for (long i = 0; i < entries; ++i) {
        const CString key = CString::Formatted("SCALE%ld", i);
        ini.SetValue("IP", key, CString::Formatted("S%ld:10.0.0.1", i));
        ini.SetValue("MODE", key, "1");
    }
    for (const char* section : { "IP", "MODE" })
        ini.DeleteKeys(section, [](const CString& key) { return key == "SCALE999999"; });
    if (!ini.Write(FALSE))
        return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main()
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "scale_list_bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    AfxSetDataRoot(root.string());
    const std::string path = (root / "Zuvinf.ini").string();
    for (const long entries : { 5000L, 20000L })
        std::printf("%ld entries: one change %.3f s\n", entries, OneChange(path, entries));
    std::filesystem::remove_all(root);
    return 0;
}
