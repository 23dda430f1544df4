// The manager is told where printed PDF files went: one box for the files of
// one command (a report of several jobs too), once the command has returned.

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include "platform/print/print_internal.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/docview/winapp.h"

namespace print_internal {

namespace {

// At most this many names are listed; the rest are counted.
constexpr int kListedFiles = 10;

QStringList& PendingFiles()
{
    static QStringList s_files;
    return s_files;
}

QString WindowsPathOf(const QString& path)
{
    return QString::fromUtf8(kPrintFolderPath) + QLatin1Char('\\') + QFileInfo(path).fileName();
}

void ShowPrintedFiles()
{
    const QStringList files = PendingFiles();
    PendingFiles().clear();
    if (files.isEmpty())
        return;
    QString text;
    if (files.size() == 1) {
        text = QStringLiteral("Printed to\n%1").arg(WindowsPathOf(files.front()));
    } else {
        text = QStringLiteral("Printed %1 files to\n%2:")
                   .arg(files.size())
                   .arg(QString::fromUtf8(kPrintFolderPath));
        for (int i = 0; i < files.size() && i < kListedFiles; ++i)
            text += QLatin1Char('\n') + QFileInfo(files[i]).fileName();
        if (files.size() > kListedFiles)
            text += QStringLiteral("\nand %1 more").arg(files.size() - kListedFiles);
    }
    AfxMessageBox(text.toUtf8().constData(), MB_OK | MB_ICONINFORMATION);
}

} // namespace

void NotePrintedFile(const QString& path)
{
    // Without a main window (a job of a test or tool) there is no one to tell.
    if (!AfxGetMainWnd())
        return;
    PendingFiles().append(path);
    if (PendingFiles().size() == 1)
        QTimer::singleShot(0, QCoreApplication::instance(), &ShowPrintedFiles);
}

} // namespace print_internal
