#pragma once
// Test seam for modal dialogs. While enabled, DoModal creates and shows the
// dialog as usual (OnInitDialog runs), then, instead of waiting for the user,
// runs the next queued action on it: the action fills controls, clicks
// buttons (SendMessage of WM_COMMAND) and may meet message boxes (answered by
// MessageBoxScript). A dialog the action leaves open is ended with IDCANCEL
// and its record marked; with no action queued it ends with IDCANCEL at once.
// UI thread.

#include <functional>
#include <vector>

#include "platform/base/types.h"

class CDialog;

struct ModalDialogRecord {
    UINT templateId = 0;
    int result = 0;
    BOOL leftOpen = FALSE; // the action did not end the dialog
};

class ModalDialogScript {
public:
    static void Enable();
    static void Disable();
    static BOOL IsEnabled();
    // Forgets queued actions and records.
    static void Reset();
    static void Push(std::function<void(CDialog&)> action);
    static std::vector<ModalDialogRecord> Records();
};

namespace modal_seam {
// Called by DoModal once the dialog is shown: TRUE when the script handled
// the dialog (it has ended then). ended and result are the dialog's own state.
BOOL RunScripted(CDialog& dialog, const BOOL& ended, const int& result);
} // namespace modal_seam

// Clicks a dialog's button as the user does: WM_COMMAND BN_CLICKED from it.
void AfxClickDlgButton(CDialog& dialog, int id);
