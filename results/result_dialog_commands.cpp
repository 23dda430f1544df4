#include "results/result_dialog_commands.h"

#include <memory>

#include "results/manager_result_view_dlg.h"
#include "results/result_view_dlg.h"
#include "shell/calvorn_view.h"
#include "shell/result_server_port.h"

namespace {

void OnResultView(CCalvornView& pane)
{
    auto dialog = std::make_unique<CResultViewDlg>(nullptr);
    dialog->m_strUserId = pane.UserId();
    dialog->DoModal();
}

void OnManagerResultView(CCalvornView&)
{
    auto dialog = std::make_unique<CManagerResultViewDlg>(nullptr);
    dialog->DoModal();
}

} // namespace

void RegisterResultDialogCommands()
{
    SetServerCommandHandler(ID_RESULT_VIEW, &OnResultView);
    SetServerCommandHandler(ID_MANAGER_RESULT_VIEW, &OnManagerResultView);
}
