#pragma once
// The whole program started for a benchmark, on a fresh data root under the
// temporary folder.

#include <cstdio>
#include <filesystem>

#include "bench/bench_support.h"
#include "platform/base/path.h"
#include "screens/kind_of_view.h"
#include "screens/register_screens.h"
#include "shell/calvorn_app.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"

class CBenchProgram {
public:
    // An empty folder named name under the temporary folder becomes the data
    // root; then the program starts.
    CBenchProgram(const char* name, int argc, char** argv)
        : m_root(std::filesystem::temp_directory_path() / name)
    {
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        AfxSetDataRoot(m_root.string());
        StartBenchUi(argc, argv);
        RegisterWorkScreens();
        if (!m_app.InitInstance()) {
            std::fprintf(stderr, "start-up failed\n");
            return;
        }
        m_pScreen = dynamic_cast<CKindOfView*>(GetMainFrame()->GetRightContainerView()->GetKindOfView());
    }

    // The work screen; null when start-up failed.
    CKindOfView* Screen() const { return m_pScreen; }
    // The native path of file name in the data root's folder.
    CString RootFile(const char* name) const { return CString((m_root / name).string().c_str()); }

    // Closes the main window, lets its messages run out, removes the data root.
    void Close()
    {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        AfxRunMessageLoop();
        std::filesystem::remove_all(m_root);
    }

private:
    std::filesystem::path m_root;
    CCalvornApp m_app;
    CKindOfView* m_pScreen = nullptr;
};
