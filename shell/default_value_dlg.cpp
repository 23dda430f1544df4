#include "shell/default_value_dlg.h"

#include "db/item_columns.h"
#include "platform/base/cp949.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/core/msgbox.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"

namespace {

constexpr auto kItemNumberField = static_cast<int>(PluField::ItemNum);
constexpr auto kPosFlagField = static_cast<int>(PluField::PosFlg);
constexpr auto kPosCodeField = static_cast<int>(PluField::PosCode);

constexpr auto kFields = std::to_array<DefaultValueField>({
    { IDC_DEFAULT_ITEM_NO_CHECK, IDC_DEFAULT_ITEM_NO },
    { IDC_DEFAULT_NAME_CHECK, IDC_DEFAULT_NAME },
    { IDC_DEFAULT_NAME2_CHECK, IDC_DEFAULT_NAME2 },
    { IDC_DEFAULT_UNIT_PRICE_CHECK, IDC_DEFAULT_UNIT_PRICE },
    { IDC_DEFAULT_FIX_PRICE_CHECK, IDC_DEFAULT_FIX_PRICE },
    { IDC_DEFAULT_LAND_CHECK, IDC_DEFAULT_LAND },
    { IDC_DEFAULT_POS_FLAG_CHECK, IDC_DEFAULT_POS_FLAG },
    { IDC_DEFAULT_POS_CODE_CHECK, IDC_DEFAULT_POS_CODE },
    { IDC_DEFAULT_PIECE_CHECK, IDC_DEFAULT_PIECE },
    { IDC_DEFAULT_WEIGHT_CHECK, IDC_DEFAULT_WEIGHT },
    { IDC_DEFAULT_FMARK_CHECK, IDC_DEFAULT_FMARK },
    { IDC_DEFAULT_POS_KIND_CHECK, IDC_DEFAULT_POS_KIND },
    { IDC_DEFAULT_DATE_PRINT_CHECK, IDC_DEFAULT_DATE_PRINT },
    { IDC_DEFAULT_LIMIT_DAY_CHECK, IDC_DEFAULT_LIMIT_DAY },
    { IDC_DEFAULT_INGREDIENT_CHECK, IDC_DEFAULT_INGREDIENT },
});
static_assert(kFields.size() == kItemValueCount, "one field per Item value column");

} // namespace

const std::array<DefaultValueField, kItemValueCount> kDefaultValueFields = kFields;

CDefaultValueDlg::CDefaultValueDlg(CWnd* parent)
    : CIconOkCancelDlg(IDD_DEFAULT_VALUE, parent)
{ }

const MessageMap* CDefaultValueDlg::GetMessageMap() const
{
    static const MessageMap kMap(CIconOkCancelDlg::GetMessageMap(),
        {
            OnCommandMsg<&CDefaultValueDlg::OnMasterCheck>(IDC_DEFAULT_MASTER),
        });
    return &kMap;
}

BOOL CDefaultValueDlg::OnInitDialog()
{
    CIconOkCancelDlg::OnInitDialog();
    CWnd* master = GetDlgItem(IDC_DEFAULT_MASTER);
    if (m_nMode == kModeInformationChange) {
        if (master)
            master->ShowWindow(SW_HIDE);
        EnableFields(TRUE);
        SetWindowText("Information Change");
        return TRUE;
    }
    if (master)
        master->ShowWindow(SW_SHOW);
    SendDlgItemMessage(IDC_DEFAULT_MASTER, BM_SETCHECK, ReadDefaultValueFile() ? BST_CHECKED : BST_UNCHECKED);
    LoadDefaultCheckValues();
    EnableFields(IsTicked(IDC_DEFAULT_MASTER));
    return TRUE;
}

BOOL CDefaultValueDlg::IsTicked(int box) const
{
    return SendDlgItemMessage(box, BM_GETCHECK) == BST_CHECKED ? TRUE : FALSE;
}

void CDefaultValueDlg::EnableFields(BOOL enable)
{
    for (int i = 0; i < kItemSettingCount; ++i) {
        const DefaultValueField& field = kDefaultValueFields[i];
        const BOOL on = enable && i != kItemNumberField && i != kPosCodeField;
        if (CWnd* box = GetDlgItem(field.box))
            box->EnableWindow(on);
        if (CWnd* edit = GetDlgItem(field.edit))
            edit->EnableWindow(on);
    }
}

void CDefaultValueDlg::OnMasterCheck()
{
    EnableFields(IsTicked(IDC_DEFAULT_MASTER));
}

int CDefaultValueDlg::ReadDefaultValueFile()
{
    MakeDirectoryPath(kSettingsFolder);
    return IsDefaultValueOn(m_strUserId) ? 1 : 0;
}

void CDefaultValueDlg::LoadDefaultCheckValues()
{
    MakeDirectoryPath(kSettingsFolder);
    const ItemSettingValues values
        = ReadItemSettingValues(ManagerSettingsPath(kDefaultCheckValueFile, m_strUserId));
    for (int i = 0; i < kItemSettingCount; ++i) {
        const std::optional<CString>& value = values[static_cast<std::size_t>(i)];
        if (!value)
            continue;
        SendDlgItemMessage(kDefaultValueFields[i].box, BM_SETCHECK, BST_CHECKED);
        SetDlgItemText(kDefaultValueFields[i].edit, *value);
    }
}

BOOL CDefaultValueDlg::MakeDirectoryPath(const CString& path)
{
    return ::MakeDirectoryPath(path);
}

int CDefaultValueDlg::ValidateFields()
{
    if (!IsTicked(IDC_DEFAULT_MASTER))
        return 1;
    int result = 1;
    for (std::size_t i = 0; i < kItemValueCount; ++i) {
        const DefaultValueField& field = kDefaultValueFields[i];
        const ItemColumn& column = kItemColumns[i];
        if (column.defaultDialog == DefaultDialog::Omits || !column.refusal || !IsTicked(field.box))
            continue;
        CString text;
        GetDlgItemText(field.edit, text);
        const bool passes = column.value == ColumnValue::Number
            ? static_cast<std::size_t>(text.GetLength()) <= column.maxLength
                && LeadingNumber(text) <= column.maxValue
            : Cp949Length(text.GetString()) <= column.maxLength;
        if (passes)
            continue;
        AfxMessageBox(column.refusal, MB_OK);
        if (CWnd* edit = GetDlgItem(field.edit))
            edit->SetFocus();
        result = 0;
    }
    return result;
}

BOOL CDefaultValueDlg::WriteValueFiles(const char* valueStem, const char* indexStem)
{
    CString values;
    CString index = CString(kItemValueColumns[kItemNumberField]) + "\n";
    for (int i = kItemNumberField + 1; i < kItemSettingCount; ++i) {
        if (i == kPosCodeField)
            continue;
        const DefaultValueField& field = kDefaultValueFields[i];
        if (IsTicked(field.box)) {
            CString value;
            GetDlgItemText(field.edit, value);
            if (kItemColumns[static_cast<std::size_t>(i)].value == ColumnValue::Number && value.IsEmpty())
                value = "0";
            values += CString(kItemValueColumns[i]) + "\n" + value + "\n";
        } else {
            index += CString(kItemValueColumns[i]) + "\n";
        }
        if (i == kPosFlagField)
            index += CString(kItemValueColumns[kPosCodeField]) + "\n";
    }
    return WriteSettingsOrReport(ManagerSettingsPath(valueStem, m_strUserId), values)
        && WriteSettingsOrReport(ManagerSettingsPath(indexStem, m_strUserId), index);
}

void CDefaultValueDlg::OnOK()
{
    if (m_nMode == kModeInformationChange) {
        MakeDirectoryPath(kSettingsFolder);
        if (WriteValueFiles(kTotalValueFile, kTotalValueUncheckIndexFile))
            EndDialog(IDOK);
        return;
    }
    if (!ValidateFields())
        return;
    MakeDirectoryPath(kSettingsFolder);
    const CString onOff = ManagerSettingsPath(kDefaultValueFile, m_strUserId);
    if (IsTicked(IDC_DEFAULT_MASTER)) {
        if (!WriteValueFiles(kDefaultCheckValueFile, kDefaultUncheckIndexFile)
            || !WriteSettingsOrReport(onOff, m_strUserId + "\nTRUE"))
            return;
    } else if (!WriteSettingsOrReport(onOff, "FALSE")) {
        return;
    }
    EndDialog(IDOK);
}
