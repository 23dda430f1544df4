#include "platform/print/print_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

#include "platform/print/print_internal.h"
#include "platform/print/print_script.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/core/wnd.h"

namespace {

void SetDeviceName(DEVMODE& mode, const QString& name)
{
    const QByteArray bytes = name.toUtf8();
    const size_t n = std::min(sizeof(mode.dmDeviceName) - 1, static_cast<size_t>(bytes.size()));
    std::memset(mode.dmDeviceName, 0, sizeof(mode.dmDeviceName));
    std::memcpy(mode.dmDeviceName, bytes.constData(), n);
}

// The printer's own resolution, 600 dpi when it states none.
void TakeResolution(DEVMODE& mode)
{
    const int dpi = print_internal::IsPdfPrinter(mode.dmDeviceName)
        ? kDefaultPrinterDpi
        : QPrinter(QPrinterInfo::printerInfo(QString::fromUtf8(mode.dmDeviceName)), QPrinter::HighResolution)
              .resolution();
    mode.dmPrintQuality = static_cast<short>(dpi > 0 ? dpi : kDefaultPrinterDpi);
    mode.dmYResolution = mode.dmPrintQuality;
}

QString DefaultPrinterName()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString::fromUtf8(kPdfPrinterName) : info.printerName();
}

// The dialog the user sees: printer, orientation, copies and page range.
struct DialogChoice {
    QString printer;
    short orientation = DMORIENT_PORTRAIT;
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
    int dpi = 0; // 0: the printer's own
};

bool RunDialog(QWidget* parent, BOOL setupOnly, const PRINTDLG& pd, const DEVMODE& mode, DialogChoice& choice)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(setupOnly ? QStringLiteral("Print Setup") : QStringLiteral("Print"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* printers = new QComboBox(&dialog);
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers->addItem(name);
    printers->addItem(QString::fromUtf8(kPdfPrinterName));
    const int current = printers->findText(QString::fromUtf8(mode.dmDeviceName));
    printers->setCurrentIndex(current >= 0 ? current : printers->findText(DefaultPrinterName()));
    form->addRow(QStringLiteral("Printer:"), printers);
    form->addRow(QString(),
        new QLabel(
            QStringLiteral("PDF files are written to ") + QString::fromUtf8(AfxGetPrintFolder().GetString()),
            &dialog));
    auto* portrait = new QRadioButton(QStringLiteral("Portrait"), &dialog);
    auto* landscape = new QRadioButton(QStringLiteral("Landscape"), &dialog);
    (mode.dmOrientation == DMORIENT_LANDSCAPE ? landscape : portrait)->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait);
    orientation->addWidget(landscape);
    form->addRow(QStringLiteral("Orientation:"), orientation);
    auto* copies = new QSpinBox(&dialog);
    copies->setRange(1, 999);
    copies->setValue(std::max<int>(1, mode.dmCopies));
    form->addRow(QStringLiteral("Copies:"), copies);
    layout->addLayout(form);

    auto* range = new QGroupBox(QStringLiteral("Print range"), &dialog);
    auto* rangeLayout = new QHBoxLayout(range);
    auto* all = new QRadioButton(QStringLiteral("All"), range);
    auto* pages = new QRadioButton(QStringLiteral("Pages"), range);
    auto* from = new QSpinBox(range);
    auto* to = new QSpinBox(range);
    from->setRange(std::max<int>(1, pd.nMinPage), std::max<int>(1, pd.nMaxPage));
    to->setRange(std::max<int>(1, pd.nMinPage), std::max<int>(1, pd.nMaxPage));
    from->setValue(std::max<int>(pd.nMinPage, pd.nFromPage));
    to->setValue(std::max<int>(pd.nMinPage, pd.nToPage ? pd.nToPage : pd.nMaxPage));
    all->setChecked(true);
    rangeLayout->addWidget(all);
    rangeLayout->addWidget(pages);
    rangeLayout->addWidget(from);
    rangeLayout->addWidget(new QLabel(QStringLiteral("to"), range));
    rangeLayout->addWidget(to);
    const bool pageNumbers = !(pd.Flags & PD_NOPAGENUMS);
    pages->setEnabled(pageNumbers);
    from->setEnabled(pageNumbers);
    to->setEnabled(pageNumbers);
    range->setVisible(!setupOnly);
    layout->addWidget(range);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printer = printers->currentText();
    choice.orientation = landscape->isChecked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    choice.copies = copies->value();
    if (pageNumbers && pages->isChecked()) {
        choice.fromPage = from->value();
        choice.toPage = std::max(from->value(), to->value());
    }
    return true;
}

} // namespace

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : m_bSetupOnly(bPrintSetupOnly)
    , m_pParent(pParentWnd)
{
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    SetDeviceName(m_devMode, DefaultPrinterName());
}

INT_PTR CPrintDialog::DoModal()
{
    DialogChoice choice;
    if (PrintScript::IsEnabled()) {
        const PrintDialogAnswer answer = print_seam::NextAnswer({ m_pd.Flags, m_bSetupOnly });
        if (!answer.ok)
            return IDCANCEL;
        choice.printer = answer.printer.IsEmpty() ? QString::fromUtf8(kPdfPrinterName)
                                                  : QString::fromUtf8(answer.printer.GetString());
        choice.orientation = answer.orientation;
        choice.copies = answer.copies;
        choice.fromPage = answer.fromPage;
        choice.toPage = answer.toPage;
        choice.dpi = answer.dpi;
    } else {
        QWidget* parent = m_pParent ? wnd_internal::WidgetOf(m_pParent->GetSafeHwnd()) : nullptr;
        if (!RunDialog(parent, m_bSetupOnly, m_pd, m_devMode, choice))
            return IDCANCEL;
    }
    SetDeviceName(m_devMode, choice.printer);
    m_devMode.dmOrientation = choice.orientation;
    m_devMode.dmCopies = static_cast<short>(std::clamp(choice.copies, 1, 999));
    m_pd.nCopies = static_cast<WORD>(m_devMode.dmCopies);
    TakeResolution(m_devMode);
    if (choice.dpi > 0) {
        m_devMode.dmPrintQuality = static_cast<short>(choice.dpi);
        m_devMode.dmYResolution = m_devMode.dmPrintQuality;
    }
    m_pd.Flags &= ~(PD_PAGENUMS | PD_SELECTION);
    if (choice.fromPage > 0 && !(m_pd.Flags & PD_NOPAGENUMS)) {
        m_pd.Flags |= PD_PAGENUMS;
        m_pd.nFromPage = static_cast<WORD>(choice.fromPage);
        m_pd.nToPage = static_cast<WORD>(std::max(choice.fromPage, choice.toPage));
    }
    if ((m_pd.Flags & PD_RETURNDC) && !CreatePrinterDC()) {
        AfxMessageBox("The printer could not be opened.", MB_OK | MB_ICONSTOP);
        return IDCANCEL;
    }
    return IDOK;
}

BOOL CPrintDialog::GetDefaults()
{
    if (PrintScript::IsEnabled())
        SetDeviceName(m_devMode, QString::fromUtf8(kPdfPrinterName));
    else
        SetDeviceName(m_devMode, DefaultPrinterName());
    TakeResolution(m_devMode);
    m_pd.Flags &= ~(PD_PAGENUMS | PD_SELECTION);
    return CreatePrinterDC() != nullptr;
}

HDC CPrintDialog::CreatePrinterDC()
{
    m_pd.hDC = print_internal::CreatePrinterDC(m_devMode);
    return m_pd.hDC;
}

CString CPrintDialog::GetPortName() const
{
    return print_internal::IsPdfPrinter(m_devMode.dmDeviceName) ? AfxGetPrintFolder()
                                                                : CString(m_devMode.dmDeviceName);
}

int CPrintDialog::GetCopies() const
{
    return (m_pd.Flags & PD_USEDEVMODECOPIES) ? m_devMode.dmCopies : m_pd.nCopies;
}
