#include "platform/wnd/docview/winapp.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/cp949.h"
#include "platform/base/ini_lines.h"
#include "platform/base/path.h"
#include "platform/base/resource_script.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/runtime_class.h"
#include "platform/wnd/docview/doctemplate.h"
#include "platform/wnd/docview/frame.h"

namespace {

CWinApp* g_app = nullptr; // the application object (set by its constructor)

constexpr UINT kMaxRecentFiles = 16;
constexpr const char* kRecentSection = "Recent File List";

struct IniLine {
    CString section;
    CString entry; // empty for a section line
    CString value;
};

// The ini file as (section, entry, value) records in file order; lines
// without "=" are dropped.
std::vector<IniLine> ReadIni(const std::string& path)
{
    std::vector<IniLine> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return lines;
    std::stringstream buffer;
    buffer << in.rdbuf();
    CString section;
    for (const IniTextLine& line : SplitIniLines(Cp949ToUtf8(buffer.str()))) {
        if (line.kind == IniTextLine::Kind::Section) {
            section = CString(line.name.c_str());
            lines.push_back(IniLine { section, CString(), CString() });
        } else if (line.kind == IniTextLine::Kind::Entry) {
            lines.push_back(IniLine { section, CString(line.name.c_str()), CString(line.value.c_str()) });
        }
    }
    return lines;
}

bool WriteIni(const std::string& path, const std::vector<IniLine>& lines)
{
    std::string text;
    for (const IniLine& line : lines) {
        if (line.entry.IsEmpty())
            text += "[" + std::string(line.section.GetString()) + "]\r\n";
        else
            text += std::string(line.entry.GetString()) + "=" + line.value.GetString() + "\r\n";
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::string bytes = Utf8ToCp949(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(LPCTSTR appName)
{
    if (appName)
        m_strAppName = appName;
    if (!g_app)
        g_app = this;
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp()
{
    m_templates.clear();
    if (g_app == this) {
        g_app = nullptr;
        AfxSetAppThread(nullptr);
    }
}

const MessageMap* CWinApp::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnCommandMsg<&CWinApp::OnAppExit>(ID_APP_EXIT),
        });
    return &kMap;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    AfxRunMessageLoop([this] { OnIdle(0); });
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

BOOL CWinApp::OnIdle(LONG)
{
    if (auto* frame = DynamicDownCast<CFrameWnd>(m_pMainWnd); frame && frame->GetSafeHwnd())
        frame->OnIdleUpdateCmdUI();
    return FALSE;
}

void CWinApp::SetRegistryKey(LPCTSTR key)
{
    if (m_strRegistryKey.IsEmpty() && key)
        m_strRegistryKey = key;
}

CString CWinApp::GetProfilePath() const
{
    if (m_strRegistryKey.IsEmpty())
        return CString();
    const CString name = m_strAppName.IsEmpty() ? CString(AfxGetAppName()) : m_strAppName;
    return CString(
        (AfxGetDataRoot() + "/registry/" + m_strRegistryKey.GetString() + "/" + name.GetString() + ".ini")
            .c_str());
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) const
{
    const CString path = GetProfilePath();
    if (!path.IsEmpty() && section && entry) {
        for (const IniLine& line : ReadIni(path.GetString()))
            if (!line.entry.IsEmpty() && line.section.CompareNoCase(section) == 0
                && line.entry.CompareNoCase(entry) == 0)
                return line.value;
    }
    return CString(defaultValue ? defaultValue : "");
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value)
{
    const CString path = GetProfilePath();
    if (path.IsEmpty() || !section || !entry)
        return FALSE;
    std::vector<IniLine> lines = ReadIni(path.GetString());
    bool sectionSeen = false;
    std::size_t insertAt = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].section.CompareNoCase(section) != 0)
            continue;
        sectionSeen = true;
        insertAt = i + 1;
        if (!lines[i].entry.IsEmpty() && lines[i].entry.CompareNoCase(entry) == 0) {
            if (value)
                lines[i].value = value;
            else
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            return WriteIni(path.GetString(), lines) ? TRUE : FALSE;
        }
    }
    if (!value)
        return TRUE;
    if (!sectionSeen) {
        lines.push_back(IniLine { section, CString(), CString() });
        insertAt = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), IniLine { section, entry, value });
    return WriteIni(path.GetString(), lines) ? TRUE : FALSE;
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) const
{
    const CString text = GetProfileString(section, entry, nullptr);
    if (text.IsEmpty())
        return static_cast<UINT>(defaultValue);
    return static_cast<UINT>(std::atoi(text.GetString()));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value)
{
    CString text;
    text.Format("%d", value);
    return WriteProfileString(section, entry, text);
}

void CWinApp::LoadStdProfileSettings(UINT maxRecent)
{
    m_maxRecent = std::min(maxRecent, kMaxRecentFiles);
    m_recentFiles.clear();
    for (UINT i = 1; i <= m_maxRecent; ++i) {
        CString entry;
        entry.Format("File%u", i);
        const CString path = GetProfileString(kRecentSection, entry);
        if (!path.IsEmpty())
            m_recentFiles.push_back(path);
    }
}

void CWinApp::AddToRecentFileList(LPCTSTR path)
{
    if (!path || !*path || m_maxRecent == 0)
        return;
    const CString item(path);
    std::erase_if(m_recentFiles, [&](const CString& p) { return p.CompareNoCase(item) == 0; });
    m_recentFiles.insert(m_recentFiles.begin(), item);
    if (m_recentFiles.size() > m_maxRecent)
        m_recentFiles.resize(m_maxRecent);
    for (UINT i = 1; i <= m_maxRecent; ++i) {
        CString entry;
        entry.Format("File%u", i);
        WriteProfileString(
            kRecentSection, entry, i <= m_recentFiles.size() ? m_recentFiles[i - 1].GetString() : nullptr);
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    info = CCommandLineInfo();
    for (int i = 1; i < m_argc && m_argv; ++i) {
        const char* arg = m_argv[i];
        if (!arg || arg[0] == '-' || arg[0] == '/')
            continue;
        info.m_nShellCommand = CCommandLineInfo::Shell::FileOpen;
        info.m_strFileName = arg;
        break;
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::Shell::FileNew:
        return docTemplate && docTemplate->OpenDocumentFile(nullptr) ? TRUE : FALSE;
    case CCommandLineInfo::Shell::FileOpen:
        return docTemplate && docTemplate->OpenDocumentFile(info.m_strFileName) ? TRUE : FALSE;
    case CCommandLineInfo::Shell::FileNothing:
        return TRUE;
    }
    return FALSE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    static int s_argc = argc;
    AfxWinInit(s_argc, argv);
    app->m_argc = argc;
    app->m_argv = argv;
    CString title;
    if (AfxLoadString(AFX_IDS_APP_TITLE, title))
        AfxSetAppName(title);
    if (app->m_strAppName.IsEmpty())
        app->m_strAppName = AfxGetAppName();
    AfxSetAppThread(app);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
