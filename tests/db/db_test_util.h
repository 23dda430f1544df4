#pragma once
// Shared helpers of the database tests: a temporary folder with store databases
// written from the embedded templates, and the scripted message boxes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/base/resource.h"
#include "platform/dao/dao_database.h"
#include "platform/wnd/msgbox.h"

class StoreFolder {
public:
    StoreFolder()
    {
        // Random names keep test processes that run at once apart.
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path()
                / ("calvorn_db_" + std::to_string(random()) + "_" + std::to_string(random()));
        } while (!std::filesystem::create_directories(m_path));
    }
    ~StoreFolder()
    {
        CDaoDatabase::TEST_DropConnectionCache();
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    StoreFolder(const StoreFolder&) = delete;
    StoreFolder& operator=(const StoreFolder&) = delete;

    // Writes template id (resource "MDB") to name, as provisioning does.
    std::string FromTemplate(UINT id, const std::string& name) const
    {
        const auto bytes = AfxGetResource("MDB", id);
        const std::string path = (m_path / name).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Answers every message box from a script for the lifetime of the object.
class ScriptedBoxes {
public:
    ScriptedBoxes()
    {
        MessageBoxScript::Enable();
        MessageBoxScript::Reset();
    }
    ~ScriptedBoxes() { MessageBoxScript::Reset(); }
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    std::vector<MessageBoxRecord> Records() const { return MessageBoxScript::Records(); }
};
