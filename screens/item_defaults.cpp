// The manager's item default values (per manager files under the manager
// folder).

#include "screens/item_defaults.h"

#include <algorithm>

#include "db/item_schema.h"
#include "screens/work_screen_context.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"

namespace {

// Field number 1-15 of name, 0 when it is none of them (compared exactly).
int ItemFieldNumber(const CString& name)
{
    return ItemValueIndex(name.View()) + 1;
}

} // namespace

CItemDefaults::CItemDefaults(CWorkScreenState& screen)
    : m_screen(screen)
    , m_defaultColumns(100, "-1")
    , m_defaultValues(100, "-1")
{ }

int CItemDefaults::LoadDefaultValues() const
{
    MakeDirectoryPath(kManagerFolder);
    const CString user = m_screen.UserId();
    const std::vector<CString> lines = ReadSettingsLines(ManagerSettingsPath(kDefaultValueFile, user));
    if (lines.empty())
        return 0;
    const CString& owner = lines.front();
    const CString switchText = lines.size() > 1 ? lines.back() : CString();
    return owner == user && switchText != "FALSE" && !switchText.IsEmpty() ? 1 : 0;
}

CString CItemDefaults::BuildItemColumnList() const
{
    MakeDirectoryPath(kManagerFolder);
    CString list;
    for (const CString& line :
        ReadSettingsLines(ManagerSettingsPath(kDefaultUncheckIndexFile, m_screen.UserId())))
        list += "[" + line + "], ";
    if (list.IsEmpty() || list == "[], ")
        return "";
    return list + "[ID]";
}

void CItemDefaults::LoadUncheckIndex()
{
    MakeDirectoryPath(kManagerFolder);
    std::fill(m_defaultColumns.begin(), m_defaultColumns.end(), CString("-1"));
    for (const CString& line :
        ReadSettingsLines(ManagerSettingsPath(kDefaultUncheckIndexFile, m_screen.UserId()))) {
        if (const int k = ItemFieldNumber(line))
            m_defaultColumns[static_cast<std::size_t>(2 * (k - 1))] = line;
    }
}

void CItemDefaults::LoadCheckValues()
{
    MakeDirectoryPath(kManagerFolder);
    std::fill(m_defaultValues.begin(), m_defaultValues.end(), CString("-1"));
    const std::vector<CString> lines
        = ReadSettingsLines(ManagerSettingsPath(kDefaultCheckValueFile, m_screen.UserId()));
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const int k = ItemFieldNumber(lines[i]);
        if (!k)
            continue;
        const auto entry = static_cast<std::size_t>(2 * (k - 1));
        m_defaultValues[entry] = lines[i];
        if (i + 1 < lines.size())
            m_defaultValues[entry + 1] = lines[i + 1];
    }
}
