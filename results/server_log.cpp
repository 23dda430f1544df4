#include "results/server_log.h"

#include "platform/base/cp949.h"
#include "platform/base/datetime.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "shell/file_helpers.h"

CString MakeServerLogPath()
{
    const CTime now = CTime::GetCurrentTime();
    CString folder;
    folder.Format("C:\\Zuvar\\Server log\\%d_%d_%d", now.GetYear(), now.GetMonth(), now.GetDay());
    MakeDirectoryPath(folder);
    return folder + "\\Calvorn_log.txt";
}

void AppendServerLog(const CString& path, const CString& line)
{
    if (path.IsEmpty())
        return;
    try {
        CFile log(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        log.SeekToEnd();
        const std::string bytes = Utf8ToCp949(line.GetString()) + "\r\n";
        log.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        log.Close();
    } catch (CException* e) {
        e->Delete();
    }
}

CString ServerLogClient(const CString& ip)
{
    return "Connected Client : Destination IP Addr : " + ip;
}
