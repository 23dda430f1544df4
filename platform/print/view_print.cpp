// The views' print and preview commands: the framework's print loop over a
// printer DC or Qt's preview.

#include <QDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/print/print_dialog.h"
#include "platform/print/print_info.h"
#include "platform/print/print_internal.h"
#include "platform/print/print_script.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/docview/doc.h"
#include "platform/wnd/docview/view.h"

namespace {

CString DocumentName(CView& view)
{
    if (CDocument* doc = view.GetDocument(); doc && !doc->GetTitle().IsEmpty())
        return doc->GetTitle();
    CString text;
    view.GetWindowText(text);
    return text;
}

// OnBeginPrinting, the pages, OnEndPrinting. FALSE when the job failed.
BOOL RunPrintLoop(CView& view, CDC& dc, CPrintInfo& info, const CString& docName)
{
    view.OnBeginPrinting(&dc, &info);
    DOCINFO doc;
    doc.lpszDocName = docName.GetString();
    if (dc.StartDoc(&doc) <= 0) {
        view.OnEndPrinting(&dc, &info);
        return FALSE;
    }
    BOOL ok = TRUE;
    const UINT last = info.GetToPage();
    for (UINT page = info.GetFromPage(); page <= last; ++page) {
        info.m_nCurPage = page;
        info.m_bContinuePrinting = info.GetMaxPage() != 0xFFFF || page == 1;
        view.OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (dc.StartPage() <= 0) {
            ok = FALSE;
            break;
        }
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        view.OnPrint(&dc, &info);
        if (dc.EndPage() <= 0) {
            ok = FALSE;
            break;
        }
    }
    if (ok)
        ok = dc.EndDoc() > 0;
    else
        dc.AbortDoc();
    view.OnEndPrinting(&dc, &info);
    return ok;
}

// A printer DC for the run: the one DoPreparePrinting took, else the default
// printer's.
HDC RunDC(CPrintInfo& info)
{
    if (!info.m_pPD->m_pd.hDC)
        info.m_pPD->GetDefaults();
    return info.m_pPD->m_pd.hDC;
}

// Qt's preview of the pages with the framework's preview commands.
class PreviewDialog : public QDialog {
public:
    PreviewDialog(CView& view, CPrintInfo& info, QWidget* parent)
        : QDialog(parent)
        , m_view(view)
        , m_info(info)
        , m_page(print_internal::PageOf(*info.m_pPD->GetDevMode()))
        , m_printer(QPrinter::HighResolution)
    {
        setWindowTitle(QStringLiteral("Print Preview"));
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setResolution(m_page.dpi);
        m_printer.setPageLayout(m_page.layout);
        auto* layout = new QVBoxLayout(this);
        auto* bar = new QHBoxLayout;
        m_preview = new QPrintPreviewWidget(&m_printer, this);
        auto add = [&](const char* caption, auto slot) {
            auto* button = new QPushButton(QString::fromUtf8(caption), this);
            connect(button, &QPushButton::clicked, this, slot);
            bar->addWidget(button);
        };
        add("&Print...", [this] {
            m_print = true;
            accept();
        });
        add("&Next Page", [this] { m_preview->setCurrentPage(m_preview->currentPage() + 1); });
        add("Pre&v Page", [this] { m_preview->setCurrentPage(m_preview->currentPage() - 1); });
        add("Zoom &In", [this] { m_preview->zoomIn(); });
        add("Zoom &Out", [this] { m_preview->zoomOut(); });
        add("&Close", [this] { reject(); });
        bar->addStretch();
        layout->addLayout(bar);
        layout->addWidget(m_preview);
        connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
            QPainter painter(printer);
            CDC dc;
            dc.Attach(print_internal::CreatePreviewDC(printer, &painter, m_page));
            RunPrintLoop(m_view, dc, m_info, DocumentName(m_view));
        });
        resize(900, 1000);
    }

    bool PrintChosen() const { return m_print; }

private:
    CView& m_view;
    CPrintInfo& m_info;
    print_internal::PrinterPage m_page;
    QPrinter m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    bool m_print = false;
};

} // namespace

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    if (!info || !info->m_pPD)
        return FALSE;
    CPrintDialog& pd = *info->m_pPD;
    if (info->m_bPreview || info->m_bDirect)
        return pd.GetDefaults();
    if (pd.m_pd.nFromPage == 0)
        pd.m_pd.nFromPage = static_cast<WORD>(info->GetMinPage());
    if (pd.m_pd.nToPage == 0)
        pd.m_pd.nToPage = static_cast<WORD>(info->GetMaxPage());
    return pd.DoModal() == IDOK;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    const HDC printer = RunDC(info);
    if (!printer) {
        AfxMessageBox("The printer could not be opened.", MB_OK | MB_ICONSTOP);
        return;
    }
    CDC dc;
    dc.Attach(printer);
    const BOOL ok = RunPrintLoop(*this, dc, info, DocumentName(*this));
    // The DC stays with the print information, which deletes it.
    dc.Detach();
    if (!ok)
        AfxMessageBox("Failed to print the document.", MB_OK | MB_ICONSTOP);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    if (PrintScript::IsEnabled()) {
        // Drawn as for the screen's preview, into a job with no file.
        CDC dc;
        dc.Attach(print_internal::CreatePrinterDC(*info.m_pPD->GetDevMode(), true));
        RunPrintLoop(*this, dc, info, DocumentName(*this));
        if (const double zoom = print_seam::PreviewZoom(); zoom > 0) {
            CDC shown;
            shown.Attach(print_internal::CreateImagePreviewDC(
                print_internal::PageOf(*info.m_pPD->GetDevMode()), zoom));
            RunPrintLoop(*this, shown, info, DocumentName(*this));
        }
        return;
    }
    if (!RunDC(info))
        return;
    PreviewDialog dialog(*this, info, wnd_internal::WidgetOf(GetSafeHwnd()));
    dialog.exec();
    if (dialog.PrintChosen())
        OnFilePrint();
}
