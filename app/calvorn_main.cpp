// calvorn: the store back-office program.

#include "platform/wnd/docview/winapp.h"
#include "results/result_dialog_commands.h"
#include "results/server_settings.h"
#include "screens/register_screens.h"
#include "shell/calvorn_app.h"

namespace {

CCalvornApp theApp;

} // namespace

int main(int argc, char** argv)
{
    RegisterWorkScreens();
    RegisterResultDialogCommands();
    RegisterResultServer();
    return AfxWinMain(argc, argv);
}
