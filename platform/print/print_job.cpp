// Printer DCs and their print jobs: PDF files in the print folder, CUPS jobs.

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform/base/datetime.h"
#include "platform/base/path.h"
#include "platform/gdi/dc_internal.h"
#include "platform/print/print_internal.h"
#include "platform/print/print_script.h"

namespace print_internal {

namespace {

// Margins of the PDF printer: a sixth of an inch, as an office printer leaves.
constexpr double kPdfMarginInch = 1.0 / 6.0;

// The document's name without its file extension.
QString DocumentBaseName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    const QString extension = dot > 0 ? name.mid(dot + 1) : QString();
    const bool isExtension = !extension.isEmpty() && extension.size() <= 4
        && std::all_of(extension.begin(), extension.end(), [](QChar c) { return c.isLetterOrNumber(); });
    return isExtension ? name.left(dot) : name;
}

QString DocumentFileStem(const QString& name)
{
    QString stem;
    for (const QChar c : DocumentBaseName(name)) {
        const bool bad = c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c);
        stem += bad ? QLatin1Char('_') : c;
    }
    stem = stem.trimmed();
    if (stem.size() > 60)
        stem = stem.left(60);
    return stem.isEmpty() ? QStringLiteral("Document") : stem;
}

// One print job after another on a DC.
class PrinterJob : public GdiPrintJob {
public:
    PrinterJob(const DEVMODE& mode, bool memoryOnly)
        : m_mode(mode)
        , m_memoryOnly(memoryOnly)
        , m_page(PageOf(mode))
    { }
    ~PrinterJob() override
    {
        if (m_painter.isActive())
            AbortDoc();
    }

    void SetDc(HDC dc) { m_dc = dc; }

    int StartDoc(const char* documentName) override
    {
        if (m_device)
            return SP_ERROR;
        const QString name = QString::fromUtf8(documentName ? documentName : "");
        m_path.clear();
        if (IsPdfPrinter(m_mode.dmDeviceName)) {
            std::unique_ptr<QPdfWriter> writer;
            if (m_memoryOnly) {
                m_buffer = std::make_unique<QBuffer>();
                m_buffer->open(QIODevice::WriteOnly);
                writer = std::make_unique<QPdfWriter>(m_buffer.get());
            } else {
                m_path = UniquePdfPath(name);
                if (m_path.isEmpty())
                    return SP_ERROR;
                writer = std::make_unique<QPdfWriter>(m_path);
            }
            writer->setTitle(name);
            writer->setCreator(QStringLiteral("Calvorn"));
            writer->setResolution(m_page.dpi);
            writer->setPageLayout(m_page.layout);
            m_device = std::move(writer);
        } else {
            const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromUtf8(m_mode.dmDeviceName));
            if (info.isNull())
                return SP_ERROR;
            auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            printer->setResolution(m_page.dpi);
            printer->setDocName(name);
            printer->setCopyCount(std::max<int>(1, m_mode.dmCopies));
            printer->setPageLayout(m_page.layout);
            m_device = std::move(printer);
        }
        m_pages = 0;
        PrintJobRecord record;
        record.docName = CString(name.toUtf8().constData());
        record.printer = m_mode.dmDeviceName;
        record.outputPath = CString(m_path.toUtf8().constData());
        record.preview = m_memoryOnly;
        record.dpi = m_page.dpi;
        const QSize printable = m_page.Printable();
        record.page = CSize(printable.width(), printable.height());
        m_record = print_seam::BeginJob(record);
        return ++m_jobCount;
    }

    int StartPage() override
    {
        if (!m_device)
            return SP_ERROR;
        if (m_pages == 0) {
            if (!m_painter.begin(m_device.get()))
                return SP_ERROR;
        } else if (!m_device->newPage()) {
            return SP_ERROR;
        }
        ++m_pages;
        GdiSetDcPainter(m_dc, &m_painter);
        print_seam::AddPage(m_record);
        return 1;
    }

    int EndPage() override
    {
        if (!m_device || !m_painter.isActive())
            return SP_ERROR;
        GdiSetDcPainter(m_dc, nullptr);
        return 1;
    }

    int EndDoc() override
    {
        if (!m_device)
            return SP_ERROR;
        GdiSetDcPainter(m_dc, nullptr);
        // A document without pages still prints one blank page.
        const bool ok
            = m_painter.isActive() ? m_painter.end() : (m_painter.begin(m_device.get()) && m_painter.end());
        const QString written = ok ? m_path : QString();
        Finish(false);
        if (!written.isEmpty())
            NotePrintedFile(written);
        return ok ? 1 : SP_ERROR;
    }

    int AbortDoc() override
    {
        if (!m_device)
            return SP_ERROR;
        GdiSetDcPainter(m_dc, nullptr);
        if (m_painter.isActive())
            m_painter.end();
        if (!m_path.isEmpty())
            QFile::remove(m_path);
        Finish(true);
        return 1;
    }

    void TextDrawn(const QString& text, const QRect& device) override
    {
        print_seam::AddText(m_record, CString(text.toUtf8().constData()),
            CRect(
                device.left(), device.top(), device.left() + device.width(), device.top() + device.height()));
    }

private:
    void Finish(bool aborted)
    {
        m_device.reset();
        m_buffer.reset();
        print_seam::EndJob(m_record, aborted ? TRUE : FALSE);
        m_record = -1;
    }

    DEVMODE m_mode;
    bool m_memoryOnly;
    PrinterPage m_page;
    HDC m_dc = nullptr;
    std::unique_ptr<QPagedPaintDevice> m_device;
    std::unique_ptr<QBuffer> m_buffer;
    QPainter m_painter;
    QString m_path;
    int m_pages = 0;
    int m_jobCount = 0;
    int m_record = -1;
};

// The pages of a preview on Qt's preview printer.
class PreviewJob : public GdiPrintJob {
public:
    PreviewJob(QPrinter* printer, QPainter* painter)
        : m_printer(printer)
        , m_painter(painter)
    { }
    void SetDc(HDC dc) { m_dc = dc; }
    int StartDoc(const char*) override { return 1; }
    int StartPage() override
    {
        if (m_pages++ > 0 && !m_printer->newPage())
            return SP_ERROR;
        GdiSetDcPainter(m_dc, m_painter);
        return 1;
    }
    int EndPage() override
    {
        GdiSetDcPainter(m_dc, nullptr);
        return 1;
    }
    int EndDoc() override { return 1; }
    int AbortDoc() override { return 1; }
    bool KeepsThinLines() const override { return true; }

private:
    QPrinter* m_printer;
    QPainter* m_painter;
    HDC m_dc = nullptr;
    int m_pages = 0;
};

// A scripted preview's pages, each drawn into an image scaled as the preview
// window shows it, and handed to the script.
class ImagePreviewJob : public GdiPrintJob {
public:
    ImagePreviewJob(QSize page, double zoom)
        : m_size(page * zoom)
        , m_zoom(zoom)
    { }
    void SetDc(HDC dc) { m_dc = dc; }
    int StartDoc(const char*) override { return 1; }
    int StartPage() override
    {
        m_image = QImage(m_size, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        if (!m_painter.begin(&m_image))
            return SP_ERROR;
        m_painter.scale(m_zoom, m_zoom);
        GdiSetDcPainter(m_dc, &m_painter);
        return 1;
    }
    int EndPage() override
    {
        GdiSetDcPainter(m_dc, nullptr);
        m_painter.end();
        print_seam::AddPreviewPage(GdiCreateBitmapFromImage(m_image));
        return 1;
    }
    int EndDoc() override { return 1; }
    int AbortDoc() override { return 1; }
    bool KeepsThinLines() const override { return true; }

private:
    QSize m_size;
    double m_zoom;
    HDC m_dc = nullptr;
    QImage m_image;
    QPainter m_painter;
};

} // namespace

bool IsPdfPrinter(const char* name)
{
    return !name || !*name || QString::fromUtf8(name) == QString::fromUtf8(kPdfPrinterName);
}

PrinterPage PageOf(const DEVMODE& mode)
{
    PrinterPage page;
    const QPageLayout::Orientation orientation
        = mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
    page.dpi = mode.dmPrintQuality > 0 ? mode.dmPrintQuality : kDefaultPrinterDpi;
    if (IsPdfPrinter(mode.dmDeviceName)) {
        const QMarginsF margins(kPdfMarginInch, kPdfMarginInch, kPdfMarginInch, kPdfMarginInch);
        page.layout = QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Inch);
        return page;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromUtf8(mode.dmDeviceName));
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(orientation);
    page.layout = printer.pageLayout();
    return page;
}

HDC CreatePrinterDC(const DEVMODE& mode, bool memoryOnly)
{
    if (!IsPdfPrinter(mode.dmDeviceName)
        && QPrinterInfo::printerInfo(QString::fromUtf8(mode.dmDeviceName)).isNull())
        return nullptr;
    auto job = std::make_shared<PrinterJob>(mode, memoryOnly);
    const PrinterPage page = PageOf(mode);
    const HDC dc = GdiCreatePrinterDC(page.Printable(), page.dpi, page.dpi, job);
    job->SetDc(dc);
    return dc;
}

HDC CreatePreviewDC(QPrinter* printer, QPainter* painter, const PrinterPage& page)
{
    auto job = std::make_shared<PreviewJob>(printer, painter);
    const HDC dc = GdiCreatePrinterDC(page.Printable(), page.dpi, page.dpi, job);
    job->SetDc(dc);
    return dc;
}

HDC CreateImagePreviewDC(const PrinterPage& page, double zoom)
{
    auto job = std::make_shared<ImagePreviewJob>(page.Printable(), zoom);
    const HDC dc = GdiCreatePrinterDC(page.Printable(), page.dpi, page.dpi, job);
    job->SetDc(dc);
    return dc;
}

QString UniquePdfPath(const QString& documentName)
{
    static std::atomic<int> s_sequence { 0 };
    const QString folder = QString::fromUtf8(AfxGetPrintFolder().GetString());
    if (folder.isEmpty())
        return {};
    const QString stamp = QDateTime::fromSecsSinceEpoch(CTime::GetCurrentTime().GetTime())
                              .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem = DocumentFileStem(documentName);
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const int n = ++s_sequence;
        const QString path = folder + QLatin1Char('/') + stem + QLatin1Char('-') + stamp + QLatin1Char('-')
            + QString::number(n) + QStringLiteral(".pdf");
        QFile file(path);
        // Creating the file claims its name against other jobs and processes.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
    }
    return {};
}

} // namespace print_internal

CString AfxGetPrintFolder()
{
    const std::string path = MapWindowsPath(print_internal::kPrintFolderPath);
    if (path.empty() || !QDir().mkpath(QString::fromStdString(path)))
        return CString();
    return CString(path.c_str());
}
