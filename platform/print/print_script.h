#pragma once
// Test seam for printing. While enabled, print dialogs are not shown: each is
// recorded and answered by the next queued answer (cancelled when none is
// queued); the printer is the PDF printer unless the answer names another.
// Every print job (one StartDoc ... EndDoc) is recorded with its pages and the
// text drawn on each, at device positions; a preview is recorded as a job
// with no file. UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/gdi_types.h"

struct PrintDialogAnswer {
    BOOL ok = TRUE;
    CString printer; // empty: the PDF printer
    short orientation = 1; // DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE
    int copies = 1;
    // A page range (PD_PAGENUMS) when fromPage > 0.
    int fromPage = 0;
    int toPage = 0;
    // The printer's resolution in dots per inch; 0: the printer's own.
    int dpi = 0;
};

struct PrintDialogRecord {
    DWORD flags = 0;
    BOOL setupOnly = FALSE;
};

struct PrintedText {
    CString text;
    CRect rect; // device units of the page
};

struct PrintedPage {
    std::vector<PrintedText> texts;
};

struct PrintJobRecord {
    CString docName;
    CString printer;
    CString outputPath; // the PDF file; empty for a preview or a CUPS job
    BOOL preview = FALSE;
    BOOL ended = FALSE; // EndDoc
    BOOL aborted = FALSE; // AbortDoc
    int dpi = 0;
    CSize page; // printable area, device units
    std::vector<PrintedPage> pages;
};

class PrintScript {
public:
    static void Enable();
    static void Disable();
    static BOOL IsEnabled();
    // Forgets queued answers and records.
    static void Reset();
    static void Push(const PrintDialogAnswer& answer);
    static void PushCancel();
    static std::vector<PrintDialogRecord> DialogRecords();
    static std::vector<PrintJobRecord> Jobs();
    // A scripted preview also draws its pages as the preview window shows them
    // at zoom (device pixels of the page to screen pixels; 0, the default:
    // not drawn). TakePreviewPages hands the images over, oldest first; the
    // caller deletes them.
    static void SetPreviewZoom(double zoom);
    static std::vector<HBITMAP> TakePreviewPages();
};

namespace print_seam {
// The next answer (a cancel when none is queued), recording the dialog.
PrintDialogAnswer NextAnswer(const PrintDialogRecord& record);
// Job records: a new job (its index), a page, a text, the end.
int BeginJob(const PrintJobRecord& job);
void AddPage(int job);
void AddText(int job, const CString& text, const CRect& rect);
void EndJob(int job, BOOL aborted);
double PreviewZoom();
void AddPreviewPage(HBITMAP page);
} // namespace print_seam
