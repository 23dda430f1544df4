// The settings the work screen reads: the manager's item default values, the
// saved communication settings, and the POS check of the send commands.

#include "db/db_messages.h"
#include "screens/kind_of_view.h"
#include "screens/pos_codes.h"
#include "screens/transfer_port.h"
#include "shell/calvorn_view.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"

namespace {

// The fifteen item fields in field order.
constexpr const char* kItemFields[]
    = { "item_num", "item_name", "item_name2", "unitprice", "fix_price", "land", "pos_flg", "pos_code",
          "piece", "weight", "fmark", "pos_kind", "dateprint", "limit_day", "additem" };

// Field number 1-15 of name, 0 when it is none of them (compared exactly).
int ItemFieldNumber(const CString& name)
{
    for (int k = 0; k < 15; ++k) {
        if (name == kItemFields[k])
            return k + 1;
    }
    return 0;
}

} // namespace

void CKindOfView::MakeDirectoryPath(const CString& path)
{
    ::MakeDirectoryPath(path);
}

int CKindOfView::LoadDefaultValues()
{
    MakeDirectoryPath(kManagerFolder);
    const std::vector<CString> lines = ReadSettingsLines(ManagerSettingsPath(kDefaultValueFile, m_strUserId));
    if (lines.empty())
        return 0;
    const CString& owner = lines.front();
    const CString switchText = lines.size() > 1 ? lines.back() : CString();
    return owner == m_strUserId && switchText != "FALSE" && !switchText.IsEmpty() ? 1 : 0;
}

CString CKindOfView::BuildItemColumnList()
{
    MakeDirectoryPath(kManagerFolder);
    CString list;
    for (const CString& line : ReadSettingsLines(ManagerSettingsPath(kDefaultUncheckIndexFile, m_strUserId)))
        list += "[" + line + "], ";
    if (list.IsEmpty() || list == "[], ")
        return "";
    return list + "[ID]";
}

void CKindOfView::LoadUncheckIndex()
{
    MakeDirectoryPath(kManagerFolder);
    std::fill(m_defaultColumns.begin(), m_defaultColumns.end(), CString("-1"));
    for (const CString& line :
        ReadSettingsLines(ManagerSettingsPath(kDefaultUncheckIndexFile, m_strUserId))) {
        if (const int k = ItemFieldNumber(line))
            m_defaultColumns[static_cast<std::size_t>(2 * (k - 1))] = line;
    }
}

void CKindOfView::LoadCheckValues()
{
    MakeDirectoryPath(kManagerFolder);
    std::fill(m_defaultValues.begin(), m_defaultValues.end(), CString("-1"));
    const std::vector<CString> lines
        = ReadSettingsLines(ManagerSettingsPath(kDefaultCheckValueFile, m_strUserId));
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const int k = ItemFieldNumber(lines[i]);
        if (!k)
            continue;
        const auto entry = static_cast<std::size_t>(2 * (k - 1));
        m_defaultValues[entry] = lines[i];
        if (i + 1 < lines.size())
            m_defaultValues[entry + 1] = lines[i + 1];
    }
}

CString CKindOfView::CheckPosCodes(const CString& scope)
{
    CString result;
    const int kindColumn = FindColumn("POS_KIND", 1);
    const int codeColumn = FindColumn("POS_CODE", 1);
    // A grid without the POS columns has nothing to check.
    if (kindColumn < 0 || codeColumn < 0)
        return result;
    std::vector<int> rows;
    if (scope == "all") {
        for (int r = 1; r <= m_grid.GetRowCount() - 2; ++r)
            rows.push_back(r);
    } else {
        rows = PickedRows(GridPickState(m_grid), m_grid.GetRowCount(), PickRule::Transfer);
    }
    for (int r : rows) {
        if (!PosCodeAccepted(m_grid.GetItemText(r, kindColumn), m_grid.GetItemText(r, codeColumn)))
            result += CString::Formatted("%7s number : pos code Err\r\n", m_grid.GetItemText(r, 1));
    }
    return result;
}
