#include "shell/excel_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "db/dao_helper.h"
#include "db/sql_text.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/base/file_system.h"
#include "platform/base/process.h"
#include "platform/base/resource.h"
#include "platform/dao/dao_database.h"
#include "platform/dao/dao_exception.h"
#include "platform/dao/dao_recordset.h"
#include "platform/sheet/excel_app.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/filedialog.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/main_frame.h"
#include "shell/right_container_view.h"
#include "shell/work_screen.h"

namespace {

constexpr const char* kProgId = "Excel.Application";
constexpr const char* kItemDatabaseFilter = "mdb File(*.mdb)|*.mdb||";
constexpr const char* kWorkbookFilter = "Excel (*.xls)|*.xls||";
constexpr const char* kCannotStartExcel = "Cannot start Excel";
constexpr const char* kCouldNotStartExcel = "Couldn't start Excel";
constexpr const char* kConvertOk = "Convert OK";
constexpr const char* kWorkbookUnreadable = "The workbook could not be read.\n%s";
constexpr const char* kNewWorkbookFilter = "xls File(*.xls)|*.xls||";
constexpr const char* kWorkbookTemplateType = "EXCEL";
constexpr UINT kWorkbookTemplateId = 224;
constexpr const char* kNoHeaderRow
    = "Sheet %d (%s) has no header row: its first row names no columns.\nNothing was converted.";
constexpr const char* kRowsFailed = "%d of %d rows could not be converted.\n%s was left as it was.";
constexpr const char* kStoreLeft = "%s\n%s was left as it was.";

// Positions of a data row that go into the table's INSERT, in column order:
// a cell position from 1, or one of these.
constexpr int kUserId = 0; // the logged-in manager's id (mg_id)
constexpr int kInfoOne = -1; // the text '1' (info)

const std::vector<int> kTablePositions[kExcelTableCount] = {
    { 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, kUserId, kInfoOne },
    { 2, kInfoOne, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, kUserId },
    { 2, 3, 4, kUserId, kInfoOne },
    { 2, 3, 4, kUserId },
    { 1, 2, kUserId },
};

CString NumberText(double value)
{
    const double whole = std::trunc(value);
    CString text;
    if (whole == 0.0)
        text = "0";
    else if (std::fabs(whole) < 9.0e18)
        text.Format("%lld", static_cast<long long>(whole));
    else
        text.Format("%.0f", whole);
    return text;
}

BOOL RunFileDialog(BOOL open, LPCTSTR defaultExt, DWORD flags, LPCTSTR filter, LPCTSTR title, CString& path)
{
    CFileDialog dialog(open, defaultExt, nullptr, flags, filter, nullptr);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

// Shows a caught exception's text with the stop icon and frees it.
void ReportException(CException* e)
{
    ExceptionPtr hold(e);
    AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
}

// Fills the workbook's five sheets from the database.
void WriteTables(CDaoDatabase& database, CExcelWorkbook& book)
{
    CExcelWorksheets sheets = book.GetWorksheets();
    for (int n = 1; n <= kExcelTableCount; ++n) {
        const CString table = kExcelTables[n - 1];
        CDaoRecordset recordset(&database);
        CString sql;
        sql.Format("Select * From %s", SqlName(table).GetString());
        recordset.Open(AFX_DAO_USE_DEFAULT_TYPE, sql);
        CExcelWorksheet sheet = sheets.GetItem(n);
        sheet.SetName(table);
        sheet.GetRange("A2").CopyFromRecordset(recordset);
        const CExcelRange origin = sheet.GetRange("A1");
        const long fields = recordset.GetFieldCount();
        for (long j = 0; j < fields; ++j) {
            CDaoFieldInfo info;
            recordset.GetFieldInfo(static_cast<int>(j), info);
            origin.GetOffset(0, j).SetValue(COleVariant(info.m_strName));
        }
        const CExcelRange header = origin.GetResize(1, fields);
        header.GetFont().SetBold(TRUE);
        header.GetEntireColumn().AutoFit();
        recordset.Close();
    }
}

// The rows of an import and how many of them failed.
class ImportCount {
public:
    void Row() { ++m_rows; }
    void Failed(CException* e)
    {
        ++m_failed;
        ReportException(e);
    }
    // A sheet that cannot be read at all stops the import.
    void Refused(const CString& text)
    {
        m_refused = true;
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    }
    // A cause that refuses every row after it (a full disk) stops the
    // import; it is told with the store's name when the import ends.
    void Stopped(CException* e)
    {
        ExceptionPtr hold(e);
        m_refused = true;
        m_stopped = e->GetErrorText();
    }
    const CString& StopCause() const { return m_stopped; }
    int Rows() const { return m_rows; }
    int FailedRows() const { return m_failed; }
    bool Complete() const { return m_failed == 0 && !m_refused; }

private:
    int m_rows = 0;
    int m_failed = 0;
    bool m_refused = false;
    CString m_stopped;
};

bool IsDiskFull(const CException* e)
{
    const auto* dao = dynamic_cast<const CDaoException*>(e);
    return dao && dao->m_pErrorInfo && dao->m_pErrorInfo->m_lErrorCode == kDaoErrorDiskFull;
}

void InsertSheets(CExcelWorkbook& book, CDaoDatabase& database, const CString& userId, ImportCount& count)
{
    CExcelWorksheets sheets = book.GetWorksheets();
    for (int n = 1; n <= kExcelTableCount; ++n) {
        CExcelWorksheet sheet = sheets.GetItem(n);
        const CExcelRange used = sheet.GetUsedRange();
        // The block from A1 to the last used cell.
        const long rows = used.GetRow() - 1 + used.GetRows().GetCount();
        const long columns = used.GetColumn() - 1 + used.GetColumns().GetCount();
        const CVariantArray values = sheet.GetRange("A1").GetResize(rows, columns).GetValue();
        const SheetImport import = BuildSheetImport(n - 1, values, userId);
        if (import.headerMissing) {
            CString text;
            text.Format(kNoHeaderRow, n, kExcelTables[n - 1]);
            count.Refused(text);
            return;
        }
        for (const CString& statement : import.statements) {
            count.Row();
            try {
                database.Execute(statement);
            } catch (CException* e) {
                if (IsDiskFull(e)) {
                    count.Stopped(e);
                    return;
                }
                count.Failed(e);
            }
        }
    }
}

// Inserts the rows of the workbook's five sheets in one transaction; a
// failing row is counted, its error shown once for each distinct text, and
// the next row goes on. Committed only when every row went in (closing the
// database rolls the rest back).
void ReadTables(CExcelWorkbook& book, CDaoDatabase& database, const CString& userId, ImportCount& count)
{
    const CMessageBoxRepeatFilter once; // one box per cause, not per row
    database.BeginTrans();
    InsertSheets(book, database, userId, count);
    if (count.Complete())
        database.CommitTrans();
}

// The work screen reads its rows again from the file now at its path.
void LoadWorkScreenAgain()
{
    CMainFrame* frame = GetMainFrame();
    CRightCotainerView* right = frame ? frame->GetRightContainerView() : nullptr;
    if (CWorkScreen* screen = right ? right->GetWorkScreen() : nullptr)
        screen->LoadStoreAgain();
}

// An import that stopped: the cause and the store it left as it was.
void ShowLeftAsItWas(const CString& cause, const CString& target)
{
    CString text;
    text.Format(kStoreLeft, cause.GetString(), target.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

void ShowFileNotMaking(const CString& path)
{
    CString text;
    text.Format("%s =>DB File not making", path.GetString());
    AfxMessageBox(text);
}

// An import builds its database in "<target>.import-<process id>" beside the
// target, and notes that name in the data folder while it runs, so that what
// a killed import left is found again: beside the next target of that name,
// and through the notes at the next import or start.
constexpr const char* kBuildMark = ".import-";
constexpr const char* kImportNote = "C:\\Windows\\system\\Manager\\Excel_Import_%lu.txt";
constexpr const char* kImportNotes = "C:\\Windows\\system\\Manager\\Excel_Import_*.txt";
constexpr UINT kMaxNoteLength = 4096;

CString BuildPathFor(const CString& target, DWORD owner)
{
    CString path;
    path.Format("%s%s%lu", target.GetString(), kBuildMark, static_cast<unsigned long>(owner));
    return path;
}

// The decimal number that starts text, 0 when there is none.
DWORD LeadingNumber(const CString& text)
{
    DWORD value = 0;
    for (int i = 0; i < text.GetLength() && text[i] >= '0' && text[i] <= '9' && value < 100000000; ++i)
        value = value * 10 + static_cast<DWORD>(text[i] - '0');
    return value;
}

// TRUE when the build of that process can be removed: the process is gone, or
// it is this one, which runs one import at a time.
bool IsLeftOver(DWORD owner)
{
    return owner != 0 && (owner == GetCurrentProcessId() || !IsProcessRunning(owner));
}

// Removes a build with its journal and a copy of the template cut short.
void RemoveBuild(const CString& build)
{
    ::DeleteFile(build);
    ::DeleteFile(build + "-journal");
    CFileFind copies;
    for (BOOL more = copies.FindFile(build + ".tmp-*"); more;) {
        more = copies.FindNextFile();
        ::DeleteFile(copies.GetFilePath());
    }
}

// The new item database, built in a file of its own beside the target and
// put in the target's place only when complete: until then the target is as
// it was. The file is removed unless it was put in place.
class BuildFile {
public:
    explicit BuildFile(CString target)
        : m_target(std::move(target))
    { }
    ~BuildFile()
    {
        if (!m_path.IsEmpty())
            RemoveBuild(m_path);
        if (!m_note.IsEmpty())
            ::DeleteFile(m_note);
    }
    BuildFile(const BuildFile&) = delete;
    BuildFile& operator=(const BuildFile&) = delete;

    // Creates the file from the item template, after removing what earlier
    // imports left (only files their notes name: never another file that
    // looks like a build); FALSE after its message (naming the target).
    [[nodiscard]] BOOL Create()
    {
        ClearUnfinishedImports();
        const DWORD self = GetCurrentProcessId();
        m_path = BuildPathFor(m_target, self);
        m_note.Format(kImportNote, static_cast<unsigned long>(self));
        // Whole or not there; a build its note does not name is never removed.
        const std::string name = m_path.Str();
        if (!WriteFileAtomically(
                m_note, std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size())))
            m_note.Empty();
        return WriteResourceFile(kItemTemplateId, m_path, m_target);
    }
    const CString& Path() const { return m_path; }
    // Replaces the target with the finished file once no other program
    // reads or writes it; FALSE after its message.
    [[nodiscard]] BOOL PutInPlace()
    {
        try {
            CDaoDatabase::ReplaceDatabase(m_path, m_target, kStoreDatabaseConnect);
        } catch (CException* e) {
            ExceptionPtr hold(e);
            if (const auto* dao = dynamic_cast<const CDaoException*>(e);
                dao && dao->m_pErrorInfo && dao->m_pErrorInfo->m_lErrorCode == kDaoErrorFileInUse)
                ShowLeftAsItWas(e->GetErrorText(), m_target);
            else
                ShowFileNotMaking(m_target);
            return FALSE;
        }
        m_path.Empty();
        return TRUE;
    }

private:
    CString m_target;
    CString m_path;
    CString m_note;
};

// Reads the workbook into a new item database at target; FALSE when the
// target was left as it was (the cause shown).
BOOL ImportWorkbook(CExcelWorkbook& book, const CString& target, const CString& userId, ImportCount& count)
{
    BuildFile build(target);
    if (!build.Create())
        return FALSE;
    {
        CDaoDatabase database;
        try {
            database.Open(build.Path(), FALSE, FALSE, kStoreDatabaseConnect);
            ReadTables(book, database, userId, count);
            database.Close();
        } catch (CException* e) {
            ExceptionPtr hold(e);
            ShowLeftAsItWas(e->GetErrorText(), target);
            return FALSE;
        }
    }
    if (!count.StopCause().IsEmpty())
        ShowLeftAsItWas(count.StopCause(), target);
    return count.Complete() && build.PutInPlace();
}

} // namespace

void ClearUnfinishedImports()
{
    CFileFind notes;
    for (BOOL more = notes.FindFile(kImportNotes); more;) {
        more = notes.FindNextFile();
        const CString name = notes.GetFileTitle();
        const DWORD owner = LeadingNumber(name.Mid(name.ReverseFind('_') + 1));
        if (notes.IsDirectory() || !IsLeftOver(owner))
            continue;
        // Only a build of the note's own process is removed: a note cut short
        // names no other file.
        CString build;
        try {
            CFile note(notes.GetFilePath(), CFile::modeRead);
            std::string text(std::min<ULONGLONG>(note.GetLength(), kMaxNoteLength), '\0');
            text.resize(note.Read(text.data(), static_cast<UINT>(text.size())));
            build = text.c_str();
        } catch (CFileException* e) {
            e->Delete();
        }
        CString mark;
        mark.Format("%s%lu", kBuildMark, static_cast<unsigned long>(owner));
        if (build.GetLength() > mark.GetLength() && build.Right(mark.GetLength()) == mark)
            RemoveBuild(build);
        ::DeleteFile(notes.GetFilePath());
    }
}

CString ImportCellText(const COleVariant& value)
{
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return "NULL";
    case VT_R8:
        return NumberText(value.dblVal);
    case VT_BSTR:
        return value.bstrVal;
    default:
        return CellDisplayText(value);
    }
}

SheetImport BuildSheetImport(int table, const CVariantArray& values, const CString& userId)
{
    SheetImport out;
    if (table < 0 || table >= kExcelTableCount)
        return out;
    const long rows = values.GetUBound(1);
    const long columns = values.GetUBound(2);
    if (rows < 1)
        return out;

    CString columnList;
    for (long c = 1; c <= columns; ++c) {
        const COleVariant& cell = values.GetElement(1, c);
        if (cell.vt != VT_BSTR || cell.bstrVal == "ID")
            continue;
        if (!columnList.IsEmpty())
            columnList += ", ";
        columnList += SqlName(cell.bstrVal);
    }
    if (columnList.IsEmpty()) {
        // Rows without a column to go into: the sheet is refused, not each row.
        const std::vector<long> filled = values.GetRowsWithValues();
        out.headerMissing = std::any_of(filled.begin(), filled.end(), [](long r) { return r >= 2; });
        return out;
    }

    // Only rows that hold a value give a statement; a stray cell far down the
    // sheet costs one row, not the rows above it.
    for (const long r : values.GetRowsWithValues()) {
        if (r < 2)
            continue;
        CString list;
        for (int position : kTablePositions[table]) {
            CString value;
            if (position == kUserId)
                value = userId;
            else if (position == kInfoOne)
                value = "1";
            else if (position <= columns)
                value = ImportCellText(values.GetElement(r, position));
            else
                value = "NULL";
            if (!list.IsEmpty())
                list += ',';
            list += SqlLiteral(value);
        }
        CString statement;
        statement.Format("INSERT INTO %s(%s) VALUES(%s)", SqlName(kExcelTables[table]).GetString(),
            columnList.GetString(), list.GetString());
        out.statements.push_back(statement);
    }
    out.emptyRows = static_cast<int>(rows - 1) - static_cast<int>(out.statements.size());
    return out;
}

BOOL WriteExcelTemplate(UINT resourceId, CString path)
{
    const std::span<const std::uint8_t> bytes = AfxGetResource(kWorkbookTemplateType, resourceId & 0xFFFF);
    if (bytes.empty())
        return FALSE;
    try {
        CFile file(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        if (file.GetLength() == 0)
            file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        CString text;
        text.Format("%s =>DB File not making", path.GetString());
        AfxMessageBox(text);
        return FALSE;
    }
    return TRUE;
}

void ExcelNewFile()
{
    CString path;
    if (RunFileDialog(TRUE, "xls", OFN_HIDEREADONLY, kNewWorkbookFilter, "New Excel File", path))
        WriteExcelTemplate(kWorkbookTemplateId, path);
}

void AccessToExcelConvert(CCalvornView& view)
{
    CString databasePath;
    if (!RunFileDialog(TRUE, nullptr, OFN_HIDEREADONLY, kItemDatabaseFilter, "Itme DB Open", databasePath))
        return;
    if (!view.CheckItemDatabaseAt(databasePath))
        return;
    CString workbookPath;
    if (!RunFileDialog(FALSE, "xls", OFN_HIDEREADONLY, kWorkbookFilter, "Excel File Save", workbookPath)
        || !ConfirmFileWrite(workbookPath))
        return;

    CDaoDatabase database;
    try {
        database.Open(databasePath, FALSE, FALSE, kStoreDatabaseConnect);
    } catch (CException* e) {
        ReportException(e);
        return;
    }
    CExcelApplication app;
    if (!app.CreateDispatch(kProgId)) {
        AfxMessageBox(kCannotStartExcel);
        return;
    }
    CExcelWorkbook book;
    try {
        app.SetSheetsInNewWorkbook(kExcelTableCount);
        book = app.GetWorkbooks().Add();
        WriteTables(database, book);
    } catch (CException* e) {
        ReportException(e);
        return; // the application quits and the database closes on the way out
    }
    database.Close();
    try {
        book.SaveAs(workbookPath);
    } catch (CException* e) {
        ReportException(e); // names the cause: a full disk, a folder not writable
        return;
    }
    app.SetVisible(TRUE);
    app.SetUserControl(TRUE);
    AfxMessageBox(kConvertOk);
}

void ExcelToAccessConvert(CCalvornView& view)
{
    CExcelApplication app;
    if (!app.CreateDispatch(kProgId)) {
        AfxMessageBox(kCouldNotStartExcel);
        return;
    }
    CString workbookPath;
    if (!RunFileDialog(TRUE, nullptr, OFN_HIDEREADONLY, kWorkbookFilter, "Excel file Open", workbookPath))
        return;
    CExcelWorkbook book;
    try {
        book = app.GetWorkbooks().Open(workbookPath);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        CString text;
        text.Format(kWorkbookUnreadable, e->GetErrorText().GetString());
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return;
    }
    CString databasePath;
    if (!RunFileDialog(TRUE, "mdb", OFN_HIDEREADONLY, kItemDatabaseFilter, "Item DB File", databasePath)
        || !ConfirmFileWrite(databasePath))
        return;
    ImportCount count;
    const BOOL imported = ImportWorkbook(book, databasePath, view.UserId(), count);
    book.Close();
    app.Quit();
    if (imported) {
        AfxMessageBox(kConvertOk);
        // The rows on the work screen were the replaced file's.
        if (IsSameFile(databasePath, view.ItemDatabasePath()))
            LoadWorkScreenAgain();
    } else if (count.FailedRows() != 0) {
        CString text;
        text.Format(kRowsFailed, count.FailedRows(), count.Rows(), databasePath.GetString());
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
}
