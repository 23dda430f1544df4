#include "screens/settings_lines.h"

#include "platform/base/exception.h"
#include "platform/base/file.h"

std::vector<CString> ReadWholeLines(const CString& path)
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
    file.Close();
    return lines;
}
