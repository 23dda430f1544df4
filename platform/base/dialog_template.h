#pragma once
// A dialog template as the resource scripts describe it: the dialog's frame and
// font, and its controls in creation (tab) order. Positions and sizes are in
// dialog units; the window layer turns them into pixels from the dialog font's
// base units. Templates are found by id with AfxFindDialogTemplate
// (platform/base/resource_script.h).

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

struct DialogItemTemplate {
    // Control id; IDC_STATIC (-1) in a script is stored as 0xFFFF.
    UINT id = 0;
    // Window class: "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX",
    // "SCROLLBAR", a common-control class ("SysListView32", "msctls_progress32"
    // ...) or a custom class registered by the program ("GridCtrl").
    CString className;
    // Window text. For icon and bitmap statics the script may give a resource
    // id instead; it is kept in textResourceId (0 when the text is plain).
    CString text;
    UINT textResourceId = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    // Complete window style: WS_CHILD is always present; WS_VISIBLE unless the
    // script clears it.
    DWORD style = 0;
    DWORD exStyle = 0;
};

struct DialogTemplate {
    UINT id = 0;
    CString caption;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    // Dialog font; pointSize 0 means no FONT line (the system font).
    CString fontName;
    int fontPointSize = 0;
    int fontWeight = 0;
    BOOL fontItalic = FALSE;
    BYTE fontCharset = 1;
    // Menu resource id shown in the dialog's frame, 0 for none.
    UINT menuId = 0;
    // Private window class of the dialog, empty for the standard one.
    CString className;
    std::vector<DialogItemTemplate> items;

    // The control with the given id, or nullptr.
    const DialogItemTemplate* FindItem(UINT itemId) const
    {
        for (const DialogItemTemplate& item : items)
            if (item.id == itemId)
                return &item;
        return nullptr;
    }
};
