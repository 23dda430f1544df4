#pragma once
// Helpers of the DAO stand-in tests: engine errors and whole-file bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_exception.h"
#include "tests/support/store_password.h"
#include "tests/support/temp_folder.h"

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
