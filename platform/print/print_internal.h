#pragma once
// Platform-internal: printer DCs over Qt Print Support.

#include <QPageLayout>
#include <QPrinter>

#include <functional>

#include "platform/gdi/gdi_types.h"
#include "platform/print/print_dialog.h"

namespace print_internal {

// The printer's page (paper, orientation, margins) and resolution.
struct PrinterPage {
    QPageLayout layout;
    int dpi = kDefaultPrinterDpi;
    QSize Printable() const { return layout.paintRectPixels(dpi).size(); }
};

// True for the PDF printer (or an empty name).
bool IsPdfPrinter(const char* name);
PrinterPage PageOf(const DEVMODE& mode);
// A DC whose every StartDoc ... EndDoc writes a job: a new PDF file in the
// print folder, or a job of a CUPS printer. memoryOnly: the PDF goes nowhere
// (previews under the test seam). Null when the printer is not known.
HDC CreatePrinterDC(const DEVMODE& mode, bool memoryOnly = false);
// A DC that draws the pages of a preview on printer (a new page at every
// StartPage after the first).
HDC CreatePreviewDC(QPrinter* printer, QPainter* painter, const PrinterPage& page);
// A DC that draws each page into an image scaled by zoom, as the preview
// shows it, for the test seam (PrintScript::SetPreviewZoom).
HDC CreateImagePreviewDC(const PrinterPage& page, double zoom);
// The print folder, as the program names it (AfxGetPrintFolder maps it).
inline constexpr const char* kPrintFolderPath = "C:\\Windows\\system\\Manager\\Print";
// A new file name in the print folder for a document, unique: never one that
// exists or that this process gave before. It is named after the document's
// name without its extension ("Sample.mdb": "Sample-<stamp>-<n>.pdf").
QString UniquePdfPath(const QString& documentName);
// A PDF file written: the manager is told where it went, in one box for all
// the files written before the program next waits for input.
void NotePrintedFile(const QString& path);

} // namespace print_internal
