#pragma once
// Resource scripts: the programs' dialogs, menus, accelerators, string tables and
// toolbars, written in a small line-based text form (grammar at the top of
// resource_script.cpp) and embedded as resources of type "RCSCRIPT". The
// embedded scripts are parsed once, on the first lookup; the lookups below are
// safe from any thread after that.

#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/dialog_template.h"
#include "platform/base/types.h"

// Resource type under which the build embeds the script files.
inline constexpr const char* kResourceScriptType = "RCSCRIPT";

// One menu item. flags carry the Windows menu-template bits, so a walker can
// treat the tree as the flat template it stands for.
struct MenuItemTemplate {
    static constexpr UINT kGrayed = 0x0001;
    static constexpr UINT kDisabled = 0x0002;
    static constexpr UINT kChecked = 0x0008;
    static constexpr UINT kPopup = 0x0010;
    static constexpr UINT kMenuBarBreak = 0x0020;
    static constexpr UINT kMenuBreak = 0x0040;
    static constexpr UINT kEnd = 0x0080; // last item of its level
    static constexpr UINT kSeparator = 0x0800;
    static constexpr UINT kHelp = 0x4000;

    UINT id = 0; // 0 for popups and separators
    CString text;
    UINT flags = 0;
    std::vector<MenuItemTemplate> children; // items of a popup

    BOOL IsPopup() const { return (flags & kPopup) != 0; }
    BOOL IsSeparator() const { return (flags & kSeparator) != 0; }
};

struct MenuTemplate {
    UINT id = 0;
    std::vector<MenuItemTemplate> items; // the menu bar (or the popup's items)
};

// One accelerator: flags are the Windows accelerator bits.
struct AcceleratorEntry {
    static constexpr BYTE kVirtKey = 0x01;
    static constexpr BYTE kNoInvert = 0x02;
    static constexpr BYTE kShift = 0x04;
    static constexpr BYTE kControl = 0x08;
    static constexpr BYTE kAlt = 0x10;

    BYTE flags = 0;
    WORD key = 0; // virtual-key code with kVirtKey, else a character code
    WORD command = 0;
};

struct AcceleratorTable {
    UINT id = 0;
    std::vector<AcceleratorEntry> entries;
};

// A toolbar: command ids of its buttons in order, 0 for a separator. The images
// are the cells of bitmap bitmapId, buttonWidth x buttonHeight each, one per
// non-separator button.
struct ToolbarTemplate {
    UINT id = 0;
    UINT bitmapId = 0;
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<UINT> items;
};

struct ResourceScriptError {
    CString source; // name given to the parser (file name of the script)
    int line = 0; // 1-based
    CString message;
};

// Everything one or more scripts define.
struct ResourceScript {
    std::vector<DialogTemplate> dialogs;
    std::vector<MenuTemplate> menus;
    std::vector<AcceleratorTable> accelerators;
    std::vector<ToolbarTemplate> toolbars;
    std::vector<std::pair<UINT, CString>> strings;
};

// Parses script text. Each error is appended to errors (when given) with its
// line; the statement in error is skipped and parsing goes on, so one bad line
// never loses the rest. Returns TRUE when there was no error.
BOOL ParseResourceScript(std::string_view text, const char* sourceName, ResourceScript& out,
    std::vector<ResourceScriptError>* errors);

// Lookups in the program's scripts; nullptr (or FALSE) when the id has no such
// resource. The returned templates live as long as the program.
const DialogTemplate* AfxFindDialogTemplate(UINT id);
const MenuTemplate* AfxFindMenuTemplate(UINT id);
const AcceleratorTable* AfxFindAcceleratorTable(UINT id);
const ToolbarTemplate* AfxFindToolbarTemplate(UINT id);
// The string table entry id into text; FALSE (text untouched) when missing.
BOOL AfxLoadString(UINT id, CString& text);

// Adds a script to the program's resources (a later definition of the same kind
// and id replaces the earlier one). Used for scripts that are not embedded, such
// as those of tests. Returns FALSE when the text had errors; what parsed is
// added all the same.
BOOL AfxAddResourceScript(
    std::string_view text, const char* sourceName, std::vector<ResourceScriptError>* errors = nullptr);

// Errors found in the embedded scripts (each is also written to stderr once).
std::vector<ResourceScriptError> AfxGetResourceScriptErrors();
