#include "shell/manager_settings.h"

#include "platform/base/exception.h"
#include "platform/base/file.h"

CString ManagerSettingsPath(const char* stem, const CString& userId)
{
    CString id;
    for (int i = 0; i < userId.GetLength(); ++i) {
        const char ch = userId[i];
        if (ch == '\\')
            id += "%5C";
        else if (ch == '/')
            id += "%2F";
        else if (ch == '%')
            id += "%25";
        else
            id += ch;
    }
    CString path;
    path.Format("%s\\%s_%s.bin", kSettingsFolder, stem, id.GetString());
    return path;
}

std::vector<CString> ReadSettingsLines(const CString& path)
{
    std::vector<CString> lines;
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText))
        return lines;
    try {
        CString line;
        while (file.ReadString(line))
            lines.push_back(line);
    } catch (CException* e) {
        e->Delete();
    }
    file.Abort();
    return lines;
}

ItemSettingValues ReadItemSettingValues(const CString& path)
{
    ItemSettingValues values;
    int selected = -1;
    bool nameLine = true;
    for (const CString& line : ReadSettingsLines(path)) {
        if (nameLine) {
            selected = ItemValueIndex(line.View());
        } else {
            if (selected >= 0)
                values[static_cast<std::size_t>(selected)] = line;
            selected = -1;
        }
        nameLine = !nameLine;
    }
    return values;
}

BOOL IsDefaultValueOn(const CString& userId)
{
    const std::vector<CString> lines = ReadSettingsLines(ManagerSettingsPath(kDefaultValueFile, userId));
    if (lines.size() < 2 || lines.front() != userId)
        return FALSE;
    const CString& last = lines.back();
    return last.IsEmpty() || last == "FALSE" ? FALSE : TRUE;
}
