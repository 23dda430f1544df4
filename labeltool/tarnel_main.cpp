// tarnel: the label-format tool. Its files live under its own data root:
// $TARNEL_ROOT, else $XDG_DATA_HOME/tarnel, else ~/.local/share/tarnel.

#include <cstdlib>
#include <string>

#include "labeltool/tarnel_app.h"
#include "platform/base/path.h"

namespace {

CTarnelApp theApp;

std::string TarnelRoot()
{
    if (const char* root = std::getenv("TARNEL_ROOT"); root && *root)
        return root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/tarnel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/tarnel";
}

} // namespace

int main(int argc, char** argv)
{
    AfxSetDataRoot(TarnelRoot());
    return AfxWinMain(argc, argv);
}
