#pragma once
// CWinApp: the application object. One exists per program (the first one
// constructed registers itself; AfxGetApp returns it). AfxWinMain runs it:
// AfxWinInit, InitInstance, then Run, the message loop with idle-time
// updates, until the main window is destroyed.
//
// The registry profile is an ini file under the data root:
// <data root>/registry/<registry key>/<application name>.ini, CP949 text with
// CR LF line ends, "[section]" and "entry=value" lines.

#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "platform/wnd/core/thread.h"

class CDocTemplate;
class CWnd;

// What the command line asks for.
class CCommandLineInfo {
public:
    enum class Shell { FileNew, FileOpen, FileNothing };
    Shell m_nShellCommand = Shell::FileNew;
    CString m_strFileName;
};

class CWinApp : public CWinThread, public CCmdTarget {
public:
    // appName nullptr: the program's name (string AFX_IDS_APP_TITLE when the
    // resources have it, see InitApplication).
    explicit CWinApp(LPCTSTR appName = nullptr);
    // Deletes the document templates; stops being the application.
    ~CWinApp() override;

    const MessageMap* GetMessageMap() const override;

    BOOL InitInstance() override;
    // The UI thread's loop with OnIdle after each turn; returns ExitInstance().
    int Run() override;
    int ExitInstance() override;
    // Idle-time work: updates the main frame's bars. Returns FALSE (no more work).
    virtual BOOL OnIdle(LONG count);

    // Names the profile's key (and with it the profile file); the first call counts.
    void SetRegistryKey(LPCTSTR key);
    // Reads the recent-file list (maxRecent entries, at most 16).
    void LoadStdProfileSettings(UINT maxRecent = 4);
    // Puts path at the head of the recent-file list and writes the list.
    void AddToRecentFileList(LPCTSTR path);
    const std::vector<CString>& GetRecentFiles() const { return m_recentFiles; }

    // Profile values; the defaults when the entry is missing. Writes create
    // the file (and its folders); FALSE when it cannot be written.
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr) const;
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) const;
    BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
    // Native path of the profile file (empty before SetRegistryKey).
    CString GetProfilePath() const;

    // The application owns the template.
    void AddDocTemplate(CDocTemplate* docTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    void ParseCommandLine(CCommandLineInfo& info);
    // FileNew opens a new document with the first template; FALSE when that fails.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    // Command ID_APP_EXIT: closes the main window (as its close box does).
    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strRegistryKey;
    int m_argc = 0;
    char** m_argv = nullptr;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<CString> m_recentFiles;
    UINT m_maxRecent = 0;
};

// The application object, or nullptr.
CWinApp* AfxGetApp();
// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();

// Runs the application object: AfxWinInit(argc, argv), the application name
// from string 57344 when there is one, InitInstance and Run (ExitInstance
// when InitInstance fails). Returns the exit code.
int AfxWinMain(int argc, char** argv);

// Application title string of the resources.
inline constexpr UINT AFX_IDS_APP_TITLE = 57344;
inline constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;
