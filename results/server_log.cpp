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

BOOL AppendServerLog(const CString& path, const CString& line, CString* error)
{
    if (path.IsEmpty())
        return TRUE;
    try {
        CFile log(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        log.SeekToEnd();
        const std::string bytes = Utf8ToCp949(line.GetString()) + "\r\n";
        log.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        log.Close();
        return TRUE;
    } catch (CException* e) {
        ExceptionPtr hold(e);
        if (error)
            *error = e->GetErrorText();
        return FALSE;
    }
}

CString ServerLogFailureText(const CString& path, const CString& error)
{
    return "The server log cannot be written: " + path + "\n" + error;
}

CString ServerLogClient(const CString& ip)
{
    return "Connected Client : Destination IP Addr : " + ip;
}

BOOL CRefusalLogLimit::Admit(Clock::time_point now)
{
    if (m_bOpen && now - m_since < std::chrono::minutes(1)) {
        ++m_unlogged;
        return FALSE;
    }
    m_bOpen = TRUE;
    m_since = now;
    return TRUE;
}

int CRefusalLogLimit::TakeUnlogged()
{
    const int count = m_unlogged;
    m_unlogged = 0;
    return count;
}
