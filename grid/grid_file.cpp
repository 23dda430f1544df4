// Text file save and load: one line per row, cells split by a separator,
// nothing quoted. CP949 with CR LF on disk.

#include <string_view>
#include <vector>

#include "grid/grid_ctrl.h"
#include "platform/base/exception.h"
#include "platform/base/file.h"
#include "platform/wnd/core/msgbox.h"

namespace {

inline constexpr UINT kHeadingFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The fields of a line; an empty line is one empty field.
std::vector<std::string_view> SplitFields(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t end = line.find(separator);
        fields.push_back(line.substr(0, end));
        if (end == std::string_view::npos)
            return fields;
        line.remove_prefix(end + 1);
    }
}

} // namespace

BOOL CGridCtrl::SaveCSV(LPCTSTR strFileName, char chSeparator)
{
    CStdioFile file;
    CFileException error;
    if (!file.Open(strFileName, CFile::modeWrite | CFile::modeCreate, &error)) {
        error.ReportError();
        return FALSE;
    }
    try {
        CString line;
        for (int row = 0; row < GetRowCount(); ++row) {
            line.Empty();
            for (int col = 0; col < GetColumnCount(); ++col) {
                line += GetItemText(row, col);
                line += col + 1 < GetColumnCount() ? CString(chSeparator, 1) : CString("\n");
            }
            file.WriteString(line);
        }
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        AfxMessageBox("Unable to save grid list", MB_OK);
        return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl::LoadCSV(LPCTSTR strFileName, char chSeparator)
{
    if (m_bVirtualMode)
        return FALSE;
    CStdioFile file;
    CFileException error;
    if (!file.Open(strFileName, CFile::modeRead, &error)) {
        error.ReportError();
        return FALSE;
    }
    DeleteAllItems();
    try {
        CString line;
        if (file.ReadString(line)) {
            for (std::string_view heading : SplitFields(line.Str(), chSeparator))
                InsertColumn(CString(heading), kHeadingFormat, -1);
        }
        while (file.ReadString(line)) {
            const std::vector<std::string_view> fields = SplitFields(line.Str(), chSeparator);
            const int row = InsertRow(CString(fields[0]), -1);
            for (size_t col = 1; col < fields.size() && static_cast<int>(col) < GetColumnCount(); ++col)
                SetItemText(row, static_cast<int>(col), CString(fields[col]));
        }
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        AfxMessageBox("Unable to load grid data", MB_OK);
        return FALSE;
    }
    AutoSizeColumns(static_cast<UINT>(GetAutoSizeStyle()));
    return TRUE;
}
