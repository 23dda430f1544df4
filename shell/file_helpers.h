#pragma once
// The left pane's file helpers, shared with the results server: folder paths,
// the embedded database templates written to disk, and the log's time text.

#include "platform/base/cstring.h"
#include "platform/base/types.h"

// Makes sure path (a Windows or native folder path) names a folder, creating
// every missing folder along it, outermost first (the drive is never
// created). TRUE when the path names a folder at the end; an existing file of
// that name counts as missing and gives FALSE.
BOOL MakeDirectoryPath(CString path);

// Writes the embedded database template MDB resourceId (taken as 16 bits) to
// path, replacing the file whole: the bytes go to a temporary file beside it,
// which is then renamed over path, so a failure leaves the old file as it was.
// A missing template shows "리소스를 찾을 수 없거나 불러올수 없습니다." and an
// empty one "메로리를 할당할 수 없습니다."; a file error shows
// "<shownPath> =>DB File not making" (path when shownPath is empty). FALSE in
// each of these cases, TRUE when the file was written.
BOOL WriteResourceFile(UINT resourceId, CString path, CString shownPath = CString());

// Writes the template into path only when the file is missing or empty
// (opening it creates a missing one without truncating); a file with content
// is left as it is. FALSE when the file could not be opened or written.
BOOL ProvisionDatabaseFile(UINT resourceId, CString path);

// TRUE when path names one of the program's own databases (Manager.mdb,
// Manager_ScaleInfo.mdb, Reservation_Store.mdb and Server_Store.mdb of the
// data folder, and the result summary Result_Sum.mdb), whatever the spelling
// of the path: a file written from a template must never replace them.
BOOL IsProgramDatabase(const CString& path);

// TRUE when path lies in the folder of the data received from the scales,
// C:\ZUVAR\ScaleData (at any depth), whatever the spelling of the path:
// through "..", links, ASCII case or the Windows form.
BOOL IsReceivedDataPath(const CString& path);

// Asks before a command writes a whole file at path. The program's own
// databases and the received data are refused with kFileRefusedText (stop
// icon); any other file that exists is replaced only when the user answers
// Yes to kReplaceFileText (No is the default button). TRUE when the command
// may write the file.
BOOL ConfirmFileWrite(const CString& path);
inline constexpr const char* kFileRefusedText
    = "%s\nis a database of the program itself and cannot be replaced.\nChoose another file name.";
inline constexpr const char* kReplaceFileText = "%s already exists.\nDo you want to replace it?";

// The local time as "%4d/%2d/%2d:%2dH-%2dM" (year, month, day, hour, minute).
CString GetLogTimeText();

// Resource type of the embedded database templates.
inline constexpr const char* kDatabaseTemplateType = "MDB";
