#pragma once
// A private data root for one test: a fresh temporary folder that Windows paths
// ("C:\...") map into while the object lives. The previous root comes back and
// the folder is removed, with everything in it, when the object goes.

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

class TempDataRoot {
public:
    TempDataRoot();
    ~TempDataRoot();
    TempDataRoot(const TempDataRoot&) = delete;
    TempDataRoot& operator=(const TempDataRoot&) = delete;

    // The root folder (native path).
    const std::string& Root() const { return m_root; }
    // The native path of a Windows path under this root.
    std::string Native(std::string_view windowsPath) const;

    // Test helpers on native or Windows paths: whole-file read and write
    // (bytes as they stand), and existence.
    static std::string ReadAll(std::string_view path);
    // The file's lines that end in CR LF (a last line without one is left out).
    static std::vector<std::string> ReadCrLfLines(std::string_view path);
    static void WriteAll(std::string_view path, std::string_view bytes);
    static bool Exists(std::string_view path);

private:
    TempFolder m_folder;
    std::string m_root;
    std::string m_previous;
};
