// The settings the work screen reads: the saved communication settings and
// the POS check of the send commands; the item default values are
// CItemDefaults' (kind_of_view_defaults.cpp).

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/pos_codes.h"
#include "screens/transfer_port.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"

void CKindOfView::MakeDirectoryPath(const CString& path)
{
    ::MakeDirectoryPath(path);
}
