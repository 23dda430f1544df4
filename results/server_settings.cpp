#include "results/server_settings.h"

#include "platform/wnd/core/msgbox.h"
#include "results/result_server.h"
#include "shell/calvorn_view.h"
#include "shell/dialog_helpers.h"
#include "shell/file_helpers.h"
#include "shell/main_frame.h"
#include "shell/manager_settings.h"
#include "shell/scale_dialogs.h"

namespace {

// The restart message, then the program ends without the closing question.
void EndForRestart()
{
    AfxMessageBox(kRestartText);
    if (CMainFrame* frame = GetMainFrame())
        frame->DestroyWindow();
}

void StoreStartSetting(const char* setting)
{
    MakeDirectoryPath(kManagerFolder);
    if (WriteSettingsOrReport(kServerStartFile, setting))
        EndForRestart();
}

void OnServerStart(CCalvornView&)
{
    StoreStartSetting("TRUE");
}

void OnServerStop(CCalvornView&)
{
    StoreStartSetting("FALSE");
}

void OnServerPort(CCalvornView&)
{
    MakeDirectoryPath(kManagerFolder);
    CServerPortDlg dialog;
    if (dialog.DoModal() == IDOK)
        EndForRestart();
}

std::unique_ptr<CResultServerPort> MakeResultServer(CCalvornView& pane)
{
    return std::make_unique<CResultServer>(pane);
}

} // namespace

BOOL ReadServerStartFlag()
{
    MakeDirectoryPath(kManagerFolder);
    const std::vector<CString> lines = ReadSettingsLines(kServerStartFile);
    if (lines.empty() || lines.back().IsEmpty() || lines.back() == "FALSE")
        return FALSE;
    return TRUE;
}

BOOL IsSettingText(const CString& text)
{
    for (const char c : text.Str()) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte >= 0x7F)
            return FALSE;
    }
    return TRUE;
}

CString SettingNotUnderstoodText(const char* file)
{
    return CString("Server Start Failed : ") + file + "\nIts content is not understood.";
}

void RegisterResultServer()
{
    SetResultServerFactory(&MakeResultServer);
    SetServerCommandHandler(ID_SERVER_START, &OnServerStart);
    SetServerCommandHandler(ID_SERVER_STOP, &OnServerStop);
    SetServerCommandHandler(ID_SERVER_PORT, &OnServerPort);
}
