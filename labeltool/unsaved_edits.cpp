#include "labeltool/unsaved_edits.h"

#include "platform/base/cstring.h"
#include "platform/wnd/core/msgbox.h"

BOOL SaveEditsFirst(BOOL modified, const char* what, const std::function<BOOL()>& save)
{
    if (!modified)
        return TRUE;
    const CString question
        = CString::Formatted("The %s has changes that are not saved.\nSave them first?", what);
    switch (AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return save();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}
