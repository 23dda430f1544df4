#pragma once
// A fresh folder under the system temp folder for one test, removed with its
// files; store databases can be written into it from the embedded templates.

#include <filesystem>
#include <string>

#include "platform/base/types.h"

class TempFolder {
public:
    TempFolder();
    // Drops the database engine's cached connections, then removes the folder.
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The native path of name in the folder.
    std::string File(const std::string& name) const;
    // Writes template id (resource "MDB") to name, as provisioning does;
    // returns its path.
    std::string FromTemplate(UINT id, const std::string& name) const;

private:
    std::filesystem::path m_path;
};
