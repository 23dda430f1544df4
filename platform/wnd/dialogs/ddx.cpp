// Dialog data exchange of texts, numbers, check boxes and radio groups, and
// the dialog's Tab key.

#include <cstdlib>
#include <vector>

#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/keyboard.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "platform/wnd/dialogs/dialog_nav.h"

namespace {

CWnd* Control(CDataExchange* dx, int id)
{
    CWnd* control = dx->m_pDlgWnd ? dx->m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!control)
        dx->Fail();
    return control;
}

std::vector<HWND> ChildrenOf(HWND hwnd)
{
    std::lock_guard lock(window_table::Mutex());
    std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
    return state ? state->children : std::vector<HWND> {};
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    CWnd* control = Control(dx, id);
    if (dx->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    CWnd* control = Control(dx, id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        text.Format("%d", value);
        control->SetWindowText(text);
        return;
    }
    CString text;
    control->GetWindowText(text);
    text.Trim();
    char* end = nullptr;
    const long number = std::strtol(text.GetString(), &end, 10);
    if (text.IsEmpty() || (end && *end != '\0')) {
        AfxMessageBox("Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
        control->SetFocus();
        dx->Fail();
    }
    value = static_cast<int>(number);
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    CWnd* control = Control(dx, id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(control->SendMessage(BM_GETCHECK, 0, 0));
    else
        control->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    CWnd* first = Control(dx, id);
    std::vector<HWND> siblings = ChildrenOf(dx->m_pDlgWnd->GetSafeHwnd());
    std::vector<CWnd*> group;
    bool inGroup = false;
    for (HWND hwnd : siblings) {
        CWnd* control = CWnd::FromHandle(hwnd);
        if (!control)
            continue;
        if (control == first) {
            inGroup = true;
        } else if (inGroup && (control->GetStyle() & WS_GROUP)) {
            break;
        }
        if (inGroup) {
            const DWORD type = control->GetStyle() & BS_TYPEMASK;
            if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
                group.push_back(control);
        }
    }
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->SendMessage(BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = static_cast<int>(i);
                break;
            }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i)
        group[i]->SendMessage(BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN || msg->wParam != VK_TAB || !GetSafeHwnd())
        return FALSE;
    if (CWnd* focus = CWnd::FromHandle(msg->hwnd);
        focus && (focus->SendMessage(WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB))
        return FALSE;
    // The dialog's control that holds the focus, or contains the window that does.
    HWND current = nullptr;
    for (CWnd* w = CWnd::FromHandle(msg->hwnd); w && w != this; w = w->GetParent())
        if (w->GetParent() == this)
            current = w->GetSafeHwnd();
    const HWND next = GetNextDlgTabItem(GetSafeHwnd(), current, GetKeyState(VK_SHIFT) < 0);
    CWnd* target = CWnd::FromHandle(next);
    if (!target)
        return TRUE;
    target->SetFocus();
    if (auto* edit = dynamic_cast<CEdit*>(target))
        edit->SetSel(0, -1);
    return TRUE;
}
