#include "platform/wnd/dialogs/filedialog.h"

#include <deque>

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/base/path.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

struct ScriptState {
    bool enabled = false;
    std::deque<std::optional<CString>> answers;
    std::vector<FileDialogRecord> records;
};

ScriptState& State()
{
    static ScriptState state; // UI thread only
    return state;
}

QString ToQt(const CString& text)
{
    return QString::fromUtf8(text.GetString(), text.GetLength());
}

// "Name|*.a;*.b|...||" as Qt's "Name (*.a *.b);;..." list.
QStringList QtFilters(const CString& filter)
{
    QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

// path with "." and extension added when its file name has no extension
// (an empty extension adds nothing).
// An open dialog takes a name typed without an extension as it stands when
// that file exists.
CString WithDefaultExtension(const CString& path, const CString& extension, bool open)
{
    if (open && QFileInfo(QString::fromUtf8(static_cast<const char*>(path))).isFile())
        return path;
    const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    if (extension.IsEmpty() || path.Mid(slash + 1).IsEmpty() || path.Mid(slash + 1).Find('.') >= 0)
        return path;
    return path + "." + extension;
}

} // namespace

CFileDialog::CFileDialog(
    BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter, CWnd* parent)
    : m_bOpen(openFileDialog)
    , m_defaultExt(defaultExt ? defaultExt : "")
    , m_initialName(fileName ? fileName : "")
    , m_filter(filter ? filter : "")
    , m_pParent(parent)
{
    m_ofn.Flags = flags;
}

INT_PTR CFileDialog::DoModal()
{
    ScriptState& state = State();
    if (state.enabled) {
        FileDialogRecord record;
        record.open = m_bOpen;
        record.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : "";
        record.filter = m_filter;
        record.flags = m_ofn.Flags;
        record.hadParent = m_pParent != nullptr;
        state.records.push_back(record);
        std::optional<CString> answer;
        if (!state.answers.empty()) {
            answer = state.answers.front();
            state.answers.pop_front();
        }
        if (!answer)
            return IDCANCEL;
        m_path = WithDefaultExtension(*answer, m_defaultExt, m_bOpen);
        return IDOK;
    }
    QWidget* parent = m_pParent ? wnd_internal::WidgetOf(m_pParent->GetSafeHwnd()) : nullptr;
    QFileDialog dialog(parent);
    // Drawn by the toolkit in the program's classic look; the filter names
    // show as written, without the patterns added a second time.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    // No folder given: the data root's drive C:, never the working folder.
    const std::string folder
        = MapWindowsPath(m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "C:\\");
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder));
    dialog.setWindowTitle(m_ofn.lpstrTitle ? QString::fromUtf8(m_ofn.lpstrTitle)
                                           : (m_bOpen ? QStringLiteral("Open") : QStringLiteral("Save As")));
    dialog.setAcceptMode(m_bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(
        m_bOpen && (m_ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!(m_ofn.Flags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtFilters(m_filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!m_defaultExt.IsEmpty())
        dialog.setDefaultSuffix(ToQt(m_defaultExt));
    if (!m_initialName.IsEmpty())
        dialog.selectFile(ToQt(m_initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_path = WithDefaultExtension(
        CString(dialog.selectedFiles().front().toUtf8().constData()), m_defaultExt, m_bOpen);
    return IDOK;
}

CString CFileDialog::GetFileName() const
{
    const int slash = std::max(m_path.ReverseFind('/'), m_path.ReverseFind('\\'));
    return m_path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

void FileDialogScript::Enable()
{
    State().enabled = true;
}

void FileDialogScript::Disable()
{
    State().enabled = false;
}

BOOL FileDialogScript::IsEnabled()
{
    return State().enabled ? TRUE : FALSE;
}

void FileDialogScript::Reset()
{
    State().answers.clear();
    State().records.clear();
}

void FileDialogScript::PushPath(LPCTSTR path)
{
    State().answers.emplace_back(CString(path ? path : ""));
}

void FileDialogScript::PushCancel()
{
    State().answers.emplace_back(std::nullopt);
}

std::vector<FileDialogRecord> FileDialogScript::Records()
{
    return State().records;
}
