#include "platform/wnd/dialogs/modal_script.h"

#include <deque>

#include "platform/wnd/dialogs/dialog.h"

namespace {

struct ScriptState {
    bool enabled = false;
    std::deque<std::function<void(CDialog&)>> actions;
    std::vector<ModalDialogRecord> records;
};

ScriptState& State()
{
    static ScriptState state; // UI thread only
    return state;
}

} // namespace

void ModalDialogScript::Enable()
{
    State().enabled = true;
}

void ModalDialogScript::Disable()
{
    State().enabled = false;
}

BOOL ModalDialogScript::IsEnabled()
{
    return State().enabled ? TRUE : FALSE;
}

void ModalDialogScript::Reset()
{
    State().actions.clear();
    State().records.clear();
}

void ModalDialogScript::Push(std::function<void(CDialog&)> action)
{
    State().actions.push_back(std::move(action));
}

std::vector<ModalDialogRecord> ModalDialogScript::Records()
{
    return State().records;
}

namespace modal_seam {

BOOL RunScripted(CDialog& dialog, const BOOL& ended, const int& result)
{
    ScriptState& state = State();
    if (!state.enabled)
        return FALSE;
    ModalDialogRecord record;
    record.templateId = dialog.m_nIDTemplate;
    if (!state.actions.empty()) {
        std::function<void(CDialog&)> action = std::move(state.actions.front());
        state.actions.pop_front();
        if (action)
            action(dialog);
    }
    if (!ended) {
        record.leftOpen = TRUE;
        dialog.EndDialog(IDCANCEL);
    }
    record.result = result;
    state.records.push_back(record);
    return TRUE;
}

} // namespace modal_seam

void AfxClickDlgButton(CDialog& dialog, int id)
{
    CWnd* button = dialog.GetDlgItem(id);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(BN_CLICKED)),
        reinterpret_cast<LPARAM>(button ? button->GetSafeHwnd() : nullptr));
}
