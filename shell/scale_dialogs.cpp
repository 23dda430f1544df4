#include "shell/scale_dialogs.h"

#include <span>

#include "db/general_dao_helper.h"
#include "db/sql_text.h"
#include "db/store_paths.h"
#include "platform/base/exception.h"
#include "platform/net/dotted_address.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/msgbox.h"
#include "shell/file_helpers.h"
#include "shell/manager_settings.h"

namespace {

// ---- Dialog 209

enum class Kind { Edit, Combo };
enum class Store { Text, SelectionPlusOne, Selection, SelectionOrZero, SelectionPlusOneOrZero };

struct BasicField {
    int index;
    int id;
    Kind kind;
    long min; // edits: lowest accepted value
    long max; // edits: highest accepted value; combos: unused
    bool tested; // edits: the range test applies; combos: a selection is required
    const char* message;
    Store store;
};

constexpr long kNoLimit = 0;

// In check order.
constexpr BasicField kBasicFields[] = {
    { 0, IDC_BASIC_WEIGHT_DIGITS, Kind::Edit, -2147483647L, 3, true, "Weight maximum cipher is 3",
        Store::Text },
    { 1, IDC_BASIC_PRICE_DIGITS, Kind::Edit, -2147483647L, 3, true, "Price maximum cipher is 3",
        Store::Text },
    { 2, IDC_BASIC_WEIGHT_UNIT, Kind::Edit, -2147483647L, 1, true, "Weight unit is 0 or 1", Store::Text },
    { 3, IDC_BASIC_PRESET_PAGE, Kind::Edit, 1, 3, true, "Preset page is 1 ~3 page", Store::Text },
    { 4, IDC_BASIC_LIMIT_DAY, Kind::Edit, -2147483647L, 999, true, "Limit day : Maximum 999", Store::Text },
    { 5, IDC_BASIC_LABEL, Kind::Combo, 0, kNoLimit, true, "Select a Label kind", Store::SelectionPlusOne },
    { 6, IDC_BASIC_USER_LABEL, Kind::Edit, -2147483647L, 100, true, "Userlabel : Maximum 100", Store::Text },
    { 7, IDC_BASIC_POS_FLAG, Kind::Edit, -2147483647L, 99, true, "Pos-flag : Maximum 99", Store::Text },
    { 8, IDC_BASIC_BARCODE_FORMAT, Kind::Combo, 0, kNoLimit, true, "Select a Barcode Print Format",
        Store::SelectionPlusOne },
    { 9, IDC_BASIC_BARCODE_PRICE, Kind::Edit, 1, 3, true, "Barcode price select : 1 ~ 3", Store::Text },
    { 10, IDC_BASIC_NAME_SORT, Kind::Combo, 0, kNoLimit, true, "Item name sorting : 1 ~ 4",
        Store::SelectionPlusOne },
    { 11, IDC_BASIC_LAND_SORT, Kind::Combo, 0, kNoLimit, true, "Land sorting : 1 ~ 4",
        Store::SelectionPlusOne },
    { 12, IDC_BASIC_CODE_LAND, Kind::Combo, 0, kNoLimit, true, "Select a land", Store::Selection },
    { 13, IDC_BASIC_ADV_NUMBER, Kind::Edit, -2147483647L, 70, true, "Advertisement : Maximum 70",
        Store::Text },
    { 14, IDC_BASIC_LIMIT_PRINT_INFO, Kind::Combo, 0, kNoLimit, false, nullptr, Store::SelectionOrZero },
    { 15, IDC_BASIC_LIMIT_PRINT_TYPE, Kind::Combo, 0, kNoLimit, false, nullptr,
        Store::SelectionPlusOneOrZero },
};
constexpr BasicField kEnglishFields[] = {
    { 16, IDC_BASIC_PRICE_UNIT, Kind::Edit, -2147483647L, 4, true, "Price unit : Maximum 4", Store::Text },
    { 17, IDC_BASIC_PASSWORD, Kind::Edit, 0, 99999, true, "Password : 0 ~ 99999", Store::Text },
    { 18, IDC_BASIC_VAT, Kind::Edit, 0, 0, false, nullptr, Store::Text },
};
constexpr BasicField kKoreanFields[] = {
    { 19, IDC_BASIC_DEL_WON, Kind::Edit, 0, 0, false, nullptr, Store::Text },
    { 20, IDC_BASIC_HAN_FONT, Kind::Edit, 0, 0, false, nullptr, Store::Text },
};

// ---- Dialog 211

constexpr long kHighestPort = 65535;

// Dotted text of an address typed into an address field: four numbers 0 to
// 255; an empty field reads as 0.0.0.0. FALSE when it is no address.
BOOL DottedAddress(const CString& typed, CString& dotted)
{
    CString text = typed;
    text.Trim();
    if (text.IsEmpty()) {
        dotted = "0.0.0.0";
        return TRUE;
    }
    const std::optional<DottedQuad> quad = ParseDottedQuad(text.View());
    if (!quad)
        return FALSE;
    dotted = DottedText(*quad).c_str();
    return TRUE;
}

} // namespace

// ---- CSelectModelDlg

CSelectModelDlg::CSelectModelDlg(CWnd* parent)
    : CDialog(IDD_SELECT_MODEL, parent)
{ }

void CSelectModelDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CSelectModelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_okButton.SetWindowText("Select");
    m_cancelButton.SetWindowText("Cancel");
    SendDlgItemMessage(IDC_MODEL_PQ, BM_SETCHECK, BST_CHECKED);
    SendDlgItemMessage(IDC_MODEL_Q, BM_SETCHECK, BST_UNCHECKED);
    return TRUE;
}

void CSelectModelDlg::OnOK()
{
    m_strModel = SendDlgItemMessage(IDC_MODEL_PQ, BM_GETCHECK) == BST_CHECKED ? "PQ" : "Q";
    EndDialog(IDOK);
}

// ---- CScaleInfoDlgBase

CScaleInfoDlgBase::CScaleInfoDlgBase(UINT templateId, CWnd* parent)
    : CIconOkCancelDlg(templateId, parent)
{ }

int CScaleInfoDlgBase::Refuse(const char* message, int id)
{
    AfxMessageBox(message, MB_OK);
    if (CWnd* control = GetDlgItem(id))
        control->SetFocus();
    return 0;
}

CString CScaleInfoDlgBase::ItemText(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return text;
}

int CScaleInfoDlgBase::Selection(int id) const
{
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id));
    return combo ? combo->GetCurSel() : -1;
}

void CScaleInfoDlgBase::FillCombo(int id, std::initializer_list<const char*> entries)
{
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id))) {
        combo->ResetContent();
        for (const char* entry : entries)
            combo->AddString(entry);
    }
}

void CScaleInfoDlgBase::SelectEntry(int id, const CString& value, int offset)
{
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id)))
        combo->SetCurSel(static_cast<int>(LeadingNumber(value)) - offset);
}

void CScaleInfoDlgBase::ClearValues()
{
    for (CString& value : m_values)
        value.Empty();
}

// ---- CScaleBasicInfoDlg

CScaleBasicInfoDlg::CScaleBasicInfoDlg(CWnd* parent)
    : CScaleInfoDlgBase(IDD_SCALE_BASIC_INFO, parent)
{ }

BOOL CScaleBasicInfoDlg::OnInitDialog()
{
    CScaleInfoDlgBase::OnInitDialog();
    FillCombo(IDC_BASIC_LABEL,
        { "1. 56x30B", "2. 56x40B", "3. 64x42B", "4. 64x32N", "5. 64x32B", "6. 58x30N", "7. 58x30B",
            "8. 58x40B", "9. 58x60B", "10. 60x70B", "11. 60x32B", "12. 60x40B", "13. UserLabel" });
    FillCombo(IDC_BASIC_BARCODE_FORMAT, { "1. 2-4-6", "2. 2-5-5" });
    FillCombo(IDC_BASIC_CODE_LAND, { "FALSE", "TRUE" });
    FillCombo(IDC_BASIC_LIMIT_PRINT_INFO, { "FALSE", "TRUE" });
    FillCombo(IDC_BASIC_NAME_SORT, { "1.Not Sort", "2. Left", "3. Center", "4. Right" });
    FillCombo(IDC_BASIC_LAND_SORT, { "1. Not Sort", "2. Left", "3. Center", "4. Right" });
    FillCombo(IDC_BASIC_LIMIT_PRINT_TYPE, { "1. All Print", "2. Limit date", "3. Pack date", "4. None" });
    const bool korean = m_strVersion == "kor";
    const bool english = m_strVersion == "eng";
    if (korean || english) {
        // The labels 1200-1202 and 1203-1204 name the English and Korean edits.
        static constexpr int kEnglishOnly[] = { IDC_BASIC_PRICE_UNIT_LABEL, IDC_BASIC_PASSWORD_LABEL,
            IDC_BASIC_VAT_LABEL, IDC_BASIC_PRICE_UNIT, IDC_BASIC_PASSWORD, IDC_BASIC_VAT };
        static constexpr int kKoreanOnly[]
            = { IDC_BASIC_DEL_WON_LABEL, IDC_BASIC_HAN_FONT_LABEL, IDC_BASIC_DEL_WON, IDC_BASIC_HAN_FONT };
        const std::span<const int> hidden
            = korean ? std::span<const int>(kEnglishOnly) : std::span<const int>(kKoreanOnly);
        for (int id : hidden)
            if (CWnd* control = GetDlgItem(id))
                control->ShowWindow(SW_HIDE);
    }
    if (m_nFirstFlag == 1 && m_nNewFlag == 0 && m_nLoadFlag == 1) {
        for (int index : { 0, 1, 2, 3, 4, 6, 7, 9, 13 })
            for (const BasicField& field : kBasicFields)
                if (field.index == index)
                    SetDlgItemText(field.id, m_values[static_cast<std::size_t>(index)]);
        SelectEntry(IDC_BASIC_LABEL, m_values[5], 1);
        SelectEntry(IDC_BASIC_BARCODE_FORMAT, m_values[8], 1);
        SelectEntry(IDC_BASIC_NAME_SORT, m_values[10], 1);
        SelectEntry(IDC_BASIC_LAND_SORT, m_values[11], 1);
        SelectEntry(IDC_BASIC_LIMIT_PRINT_TYPE, m_values[15], 1);
        SelectEntry(IDC_BASIC_CODE_LAND, m_values[12], 0);
        SelectEntry(IDC_BASIC_LIMIT_PRINT_INFO, m_values[14], 0);
        if (korean)
            for (const BasicField& field : kKoreanFields)
                SetDlgItemText(field.id, m_values[static_cast<std::size_t>(field.index)]);
        if (english)
            for (const BasicField& field : kEnglishFields)
                SetDlgItemText(field.id, m_values[static_cast<std::size_t>(field.index)]);
    }
    return TRUE;
}

int CScaleBasicInfoDlg::ValidateFields()
{
    ClearValues();
    auto check = [this](const BasicField& field) -> bool {
        CString& value = m_values[static_cast<std::size_t>(field.index)];
        if (field.kind == Kind::Combo) {
            const int selection = Selection(field.id);
            if (field.tested && selection < 0) {
                Refuse(field.message, field.id);
                return false;
            }
            switch (field.store) {
            case Store::SelectionPlusOne:
            case Store::SelectionPlusOneOrZero:
                value.Format("%d", selection < 0 ? 0 : selection + 1);
                break;
            default:
                value.Format("%d", selection < 0 ? 0 : selection);
                break;
            }
            return true;
        }
        const CString text = ItemText(field.id);
        const long number = LeadingNumber(text);
        if (field.tested && (number < field.min || number > field.max)) {
            Refuse(field.message, field.id);
            return false;
        }
        const bool late = field.index >= 16;
        value = text.IsEmpty() || text == "0" || (!late && text == "-1") ? CString("0") : text;
        return true;
    };
    for (const BasicField& field : kBasicFields)
        if (!check(field))
            return 0;
    if (m_strVersion == "eng") {
        for (const BasicField& field : kEnglishFields)
            if (!check(field))
                return 0;
    } else if (m_strVersion == "kor") {
        for (const BasicField& field : kKoreanFields)
            if (!check(field))
                return 0;
    }
    return 1;
}

void CScaleBasicInfoDlg::OnOK()
{
    if (!ValidateFields()) {
        ClearValues();
        return;
    }
    EndDialog(IDOK);
}

// ---- CScaleNetInfoDlg

CScaleNetInfoDlg::CScaleNetInfoDlg(CWnd* parent)
    : CScaleInfoDlgBase(IDD_SCALE_NET_INFO, parent)
{ }

BOOL CScaleNetInfoDlg::OnInitDialog()
{
    CScaleInfoDlgBase::OnInitDialog();
    FillCombo(IDC_NET_ETHERNET_INIT, { "FALSE", "TRUE" });
    FillCombo(IDC_NET_ETHERNET_MODE, { "0. Alone", "1. Slave", "2. Master" });
    if (m_nNewFlag == 0 && m_nLoadFlag == 1) {
        SelectEntry(IDC_NET_ETHERNET_INIT, m_values[0], 0);
        SelectEntry(IDC_NET_ETHERNET_MODE, m_values[1], 0);
        SetDlgItemText(IDC_NET_SCALE_ID, m_values[2]);
        SetDlgItemText(IDC_NET_SCALE_IP, m_values[3]);
        SetDlgItemText(IDC_NET_MASK, m_values[4]);
        SetDlgItemText(IDC_NET_DESTINATION_IP, m_values[5]);
        SetDlgItemText(IDC_NET_DESTINATION_PORT, m_values[6]);
    }
    return TRUE;
}

int CScaleNetInfoDlg::ValidateFields()
{
    ClearValues();
    const int initial = Selection(IDC_NET_ETHERNET_INIT);
    if (initial < 0)
        return Refuse("Select a Ethernet Initial", IDC_NET_ETHERNET_INIT);
    m_values[0].Format("%d", initial);
    const int mode = Selection(IDC_NET_ETHERNET_MODE);
    if (mode < 0)
        return Refuse("Select a Ethernet Mode", IDC_NET_ETHERNET_MODE);
    m_values[1].Format("%d", mode);
    const CString scaleId = ItemText(IDC_NET_SCALE_ID);
    const long id = LeadingNumber(scaleId);
    if (id < 1 || id > 99)
        return Refuse("Scale ID : 1 ~ 99", IDC_NET_SCALE_ID);
    m_values[2] = scaleId;
    const int addresses[] = { IDC_NET_SCALE_IP, IDC_NET_MASK, IDC_NET_DESTINATION_IP };
    for (std::size_t i = 0; i < std::size(addresses); ++i)
        if (!DottedAddress(ItemText(addresses[i]), m_values[3 + i]))
            return Refuse("IP Address : 0.0.0.0 ~ 255.255.255.255", addresses[i]);
    const CString port = ItemText(IDC_NET_DESTINATION_PORT);
    const long number = LeadingNumber(port);
    if (number < 1 || number > kHighestPort)
        return Refuse("Destination Port : 1000 ~ 9999", IDC_NET_DESTINATION_PORT);
    if (number == 1239 || number == 1235)
        return Refuse("This Port number is not useable number", IDC_NET_DESTINATION_PORT);
    m_values[6] = port;
    return 1;
}

void CScaleNetInfoDlg::OnOK()
{
    if (!ValidateFields()) {
        ClearValues();
        return;
    }
    BOOL refused = FALSE;
    CGeneralDaoHelper helper;
    try {
        helper.OpenDatabase(kManagerDatabase);
    } catch (CException* e) {
        ExceptionPtr hold(e);
        AfxMessageBox(e->GetErrorText(), MB_OK | MB_ICONSTOP);
        return;
    }
    const struct {
        const char* sql;
        const CString& value;
        const char* question;
        int focus;
    } checks[] = {
        { "SELECT [com_port] FROM [ScaleMG] WHERE [com_port] = %s", m_values[2],
            "Already, Scale ID exists. To be continued?", IDC_NET_SCALE_ID },
        { "SELECT [ip] FROM [ScaleMG] WHERE [ip] = %s", m_values[3],
            "Already, Scale IP exists. To be continued?", IDC_NET_SCALE_IP },
    };
    for (const auto& check : checks) {
        CString sql;
        sql.Format(check.sql, SqlLiteral(check.value).GetString());
        if (helper.GetFirstRow(sql) == "FALSE")
            continue;
        if (MessageBox(check.question, "Attention", MB_YESNO | MB_ICONQUESTION) == IDNO) {
            refused = TRUE;
            if (CWnd* control = GetDlgItem(check.focus))
                control->SetFocus();
        }
    }
    helper.CloseDatabase();
    if (!refused)
        EndDialog(IDOK);
}

// ---- CServerPortDlg

CServerPortDlg::CServerPortDlg(CWnd* parent)
    : CDialog(IDD_SERVER_PORT, parent)
{ }

const MessageMap* CServerPortDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CServerPortDlg::OnSavePort>(IDOK),
        });
    return &kMap;
}

void CServerPortDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

CString CServerPortDlg::ReadPortText()
{
    const std::vector<CString> lines = ReadSettingsLines(kServerPortFile);
    return lines.empty() ? CString() : lines.back();
}

BOOL CServerPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString port = ReadPortText();
    SetDlgItemText(IDC_SERVER_PORT_NUMBER, port.IsEmpty() ? CString("3000") : port);
    return TRUE;
}

void CServerPortDlg::OnSavePort()
{
    CString port;
    GetDlgItemText(IDC_SERVER_PORT_NUMBER, port);
    if (port.IsEmpty())
        port = "3000";
    const long number = LeadingNumber(port);
    if (number < 1500 || number > 8000) {
        AfxMessageBox("Port Number : 1500 ~8000", MB_OK);
        return;
    }
    MakeDirectoryPath(kSettingsFolder);
    if (WriteSettingsOrReport(kServerPortFile, port))
        EndDialog(IDOK);
}

// ---- CItemNumberDlg

CItemNumberDlg::CItemNumberDlg(CWnd* parent)
    : CDialog(IDD_ITEM_NUMBER, parent)
{ }

BOOL CItemNumberDlg::IsValidEntry(const CString& text)
{
    // A sign counts only after the first position.
    const int dash = text.GetLength() > 1 ? text.Find('-', 1) : -1;
    const bool comma = text.GetLength() > 1 && text.Find(',', 1) >= 0;
    if (dash > 0)
        return comma || text.Find('-', dash + 1) >= 0 ? FALSE : TRUE;
    if (comma)
        return TRUE;
    return text.GetLength() > 1 && text.Find('.', 1) >= 0 ? FALSE : TRUE;
}

void CItemNumberDlg::OnOK()
{
    CString text;
    GetDlgItemText(IDC_ITEM_NUMBER, text);
    if (!IsValidEntry(text)) {
        AfxMessageBox("Input Error", MB_OK);
        return;
    }
    m_strItemNumber = text;
    EndDialog(IDOK);
}
