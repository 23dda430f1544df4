#pragma once
// Shared helpers of the DAO stand-in tests: a temporary folder and keyed files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_exception.h"

inline constexpr const char* kTestConnect = ";PWD=quendrav";
inline constexpr const char* kTestLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=quendrav";

// A fresh folder under the system temp folder, removed with its files.
class TempFolder {
public:
    TempFolder()
    {
        // Random names keep test processes that run at once apart.
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path()
                / ("calvorn_dao_" + std::to_string(random()) + "_" + std::to_string(random()));
        } while (!std::filesystem::create_directories(m_path));
    }
    ~TempFolder()
    {
        CDaoDatabase::TEST_DropConnectionCache();
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Engine error number of the CDaoException that action throws, 0 when none.
template <typename Action> long DaoErrorOf(Action action, CString* text = nullptr)
{
    try {
        action();
    } catch (CDaoException* e) {
        const long code = e->m_pErrorInfo->m_lErrorCode;
        if (text)
            *text = e->m_pErrorInfo->m_strDescription;
        e->Delete();
        return code;
    }
    return 0;
}

inline std::vector<char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Rewrites the file in place (same inode): truncate, then write bytes.
inline void RewriteInPlace(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}
