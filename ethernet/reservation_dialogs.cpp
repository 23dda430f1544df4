#include "ethernet/reservation_dialogs.h"

#include <chrono>

#include "db/store_paths.h"
#include "ethernet/reservation_host.h"
#include "platform/base/datetime.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/core/msgbox.h"
#include "protocol/data_kinds.h"
#include "protocol/record_values.h"
#include "transfer/scale_register.h"

namespace {

constexpr int kOkIcon = 163;
constexpr int kCancelIcon = 162;
constexpr int kSelectIcon = 170;
constexpr int kRemoveIcon = 171;

constexpr const char* kItemHeadings[]
    = { "ITEM_NUM", "ITEM_NAME", "ITEM_NAME2", "UNITPRICE", "FIX_PRICE", "LAND", "POS_FLG", "POS_CODE",
          "PIECE", "WEIGHT", "FMARK", "POS_KIND", "DATEPRINT", "LIMIT_DAY", "INGREDIENT", "ID" };
constexpr int kItemGridColumns = 17;
constexpr std::size_t kItemCopyColumns = 15;

bool Checked(const CWnd& dialog, int id)
{
    return dialog.SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED;
}

ReservationClockTime Now()
{
    return LocalClockTime(std::chrono::system_clock::to_time_t(AfxNow()));
}

// Lines of the scales edit: CR dropped, LF ends a line; a last line without
// LF does not count.
std::vector<CString> ScaleLines(const CString& text)
{
    std::vector<CString> lines;
    CString line;
    for (int i = 0; i < text.GetLength() && lines.size() < kReservationScaleLimit; ++i) {
        const char ch = text[i];
        if (ch == '\r')
            continue;
        if (ch == '\n') {
            lines.push_back(line);
            line.Empty();
        } else {
            line += ch;
        }
    }
    return lines;
}

} // namespace

// ---- CReservationSetupDlg

CReservationSetupDlg::CReservationSetupDlg(CWnd* parent)
    : CDialog(IDD_RESERVATION_SETUP, parent)
{
    m_input.itemNumbers.assign(kReservationItemLimit, 0);
}

void CReservationSetupDlg::SetInput(ReservationSetupInput input)
{
    m_input = std::move(input);
}

const MessageMap* CReservationSetupDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CReservationSetupDlg::OnScales>(IDC_RESV_SCALES_BUTTON),
            OnCommandMsg<&CReservationSetupDlg::OnOnce>(IDC_RESV_ONCE),
            OnCommandMsg<&CReservationSetupDlg::OnEveryDay>(IDC_RESV_EVERY_DAY),
        });
    return &kMap;
}

void CReservationSetupDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
    DDX_Control(dx, IDC_RESV_ITEM_GRID, m_grid);
}

BOOL CReservationSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    DressIconButton(m_okButton, kOkIcon, "Ok");
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    GetDlgItem(IDC_RESV_MANAGER)->EnableWindow(FALSE);
    GetDlgItem(IDC_RESV_SCALES)->EnableWindow(FALSE);
    SetDlgItemText(IDC_RESV_MANAGER, m_input.managerId);
    m_lNumber = IsNumberFree();
    SetDlgItemText(IDC_RESV_NUMBER, CString::Formatted("%ld", m_lNumber));
    GetDlgItem(IDC_RESV_NUMBER)->EnableWindow(FALSE);
    for (int id : { IDC_RESV_ONCE, IDC_RESV_EVERY_DAY, IDC_RESV_WEEK })
        SendDlgItemMessage(id, BM_SETCHECK, id == IDC_RESV_ONCE ? BST_CHECKED : BST_UNCHECKED);
    SetupItemGrid();
    FillItemGrid();
    m_nPeriod = 0;
    return TRUE;
}

long CReservationSetupDlg::IsNumberFree()
{
    if (!m_dao.OpenDatabase(kReservationDatabase))
        return 0;
    long number = 1;
    while (m_dao.GetValues(ReservationNumberSql(number)) != kDbNoRows)
        ++number;
    m_dao.CloseDatabase();
    return number;
}

void CReservationSetupDlg::SetDateEdits(BOOL enable, const char* text)
{
    for (int id : { IDC_RESV_YEAR, IDC_RESV_MONTH, IDC_RESV_DAY }) {
        GetDlgItem(id)->EnableWindow(enable);
        SetDlgItemText(id, text);
    }
}

void CReservationSetupDlg::OnOnce()
{
    SetDateEdits(TRUE, "");
}

void CReservationSetupDlg::OnEveryDay()
{
    SetDateEdits(FALSE, "0");
}

int CReservationSetupDlg::GetPeriod() const
{
    if (Checked(*this, IDC_RESV_ONCE))
        return kPeriodOnce;
    if (Checked(*this, IDC_RESV_EVERY_DAY))
        return kPeriodEveryDay;
    if (Checked(*this, IDC_RESV_WEEK))
        return kPeriodWeek;
    return kPeriodOnce;
}

void CReservationSetupDlg::OnScales()
{
    CString rows = kDbNoRows;
    if (m_dao.OpenDatabase(kManagerDatabase)) {
        rows = m_dao.GetRows(ScaleRegisterSql("[scale_name], [ip]", m_input.managerId));
        m_dao.CloseDatabase();
    }
    if (rows == kDbNoRows) {
        AfxMessageBox("Not Found Scale.");
        return;
    }
    CScaleListDlg dialog(this);
    dialog.SetRows(rows);
    if (dialog.DoModal() != IDOK)
        return;
    m_nScaleCount = dialog.GetCount();
    SetDlgItemText(IDC_RESV_SCALES, dialog.GetResult());
}

CString CReservationSetupDlg::ItemText(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return text;
}

void CReservationSetupDlg::Refuse(const ReservationCheck& check)
{
    AfxMessageBox(check.message);
    int id = 0;
    switch (check.field) {
    case ReservationField::Year:
        id = IDC_RESV_YEAR;
        break;
    case ReservationField::Month:
        id = IDC_RESV_MONTH;
        break;
    case ReservationField::Day:
        id = IDC_RESV_DAY;
        break;
    case ReservationField::Hour:
        id = IDC_RESV_HOUR;
        break;
    case ReservationField::Minute:
        id = IDC_RESV_MINUTE;
        break;
    case ReservationField::Scales:
        id = IDC_RESV_SCALES;
        break;
    case ReservationField::None:
        break;
    }
    if (CWnd* control = id ? GetDlgItem(id) : nullptr)
        control->SetFocus();
}

void CReservationSetupDlg::OnOK()
{
    m_nPeriod = GetPeriod();
    m_nDirection = 0;
    ReservationRow row;
    row.managerId = ItemText(IDC_RESV_MANAGER);
    row.year = ItemText(IDC_RESV_YEAR);
    row.month = ItemText(IDC_RESV_MONTH);
    row.day = ItemText(IDC_RESV_DAY);
    row.hour = ItemText(IDC_RESV_HOUR);
    row.minute = ItemText(IDC_RESV_MINUTE);
    m_scaleLines = ScaleLines(ItemText(IDC_RESV_SCALES));
    const ReservationCheck check
        = CheckReservationInput(m_nPeriod, row, m_scaleLines.empty() ? CString() : m_scaleLines[0], Now());
    if (check.message) {
        Refuse(check);
        return;
    }
    if (m_lNumber <= 0 || !m_dao.OpenDatabase(kReservationDatabase))
        return;
    row.number = CString::Formatted("%ld", m_lNumber);
    row.period = CString::Formatted("%d", m_nPeriod);
    row.kind = CString::Formatted("%d", m_input.kind);
    row.direction = CString::Formatted("%d", m_nDirection);
    row.status = kStatusWait;
    for (const CString& address : m_scaleLines) {
        row.address = address;
        m_dao.Execute(InsertReservationSql(row));
    }
    if (ReservationKindOfCode(m_input.kind) == DataKind::Item) {
        for (int r = 1; r <= m_grid.GetRowCount() - 2; ++r) {
            std::vector<CString> item;
            for (int c = 1; c <= static_cast<int>(kItemCopyColumns); ++c) {
                const CString cell = m_grid.GetItemText(r, c);
                item.push_back(cell.IsEmpty() ? CString("0") : cell);
            }
            m_dao.Execute(InsertReservationItemSql(item, row.managerId, m_lNumber, m_nPeriod, m_nDirection));
        }
    }
    m_dao.CloseDatabase();
    EndDialog(IDOK);
}

void CReservationSetupDlg::SetupItemGrid()
{
    m_grid.SetEditable(TRUE);
    m_grid.SetRowCount(2);
    m_grid.SetColumnCount(2);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetAutoSizeStyle(3);
    m_grid.SetItemText(0, 0, "*");
    m_grid.SetItemText(0, 1, "*");
    m_grid.SetItemText(1, 0, "-->");
    if (ReservationKindOfCode(m_input.kind) == DataKind::Item) {
        m_grid.SetColumnCount(kItemGridColumns);
        for (int c = 1; c < kItemGridColumns; ++c)
            m_grid.SetItemText(0, c, kItemHeadings[c - 1]);
    }
    for (int c = 0; c < m_grid.GetColumnCount(); ++c)
        m_grid.SetItemState(1, c, m_grid.GetItemState(1, c) | GRIDSTATE_READONLY);
}

void CReservationSetupDlg::FillItemGrid()
{
    if (ReservationKindOfCode(m_input.kind) != DataKind::Item || m_input.itemDbPath.IsEmpty())
        return;
    if (m_dao.OpenDatabase(m_input.itemDbPath)) {
        for (std::size_t place = 0; place < m_input.itemNumbers.size() && place < kReservationItemLimit;
             ++place) {
            const int number = m_input.itemNumbers[place];
            if (number == 0)
                break;
            const CString text = m_dao.GetRecordAt(PickedItemSql(m_input.managerId, number), 0);
            if (text == kDbNoRows || text.IsEmpty())
                continue;
            const std::vector<CString> fields = SplitReplyRow(text, kItemGridColumns - 1);
            const int row = m_grid.InsertRow(
                CString::Formatted("List %ld", static_cast<long>(place + 1)), m_grid.GetRowCount() - 1);
            for (std::size_t c = 0; c < fields.size(); ++c)
                m_grid.SetItemText(row, static_cast<int>(c) + 1, fields[c] == "NULL" ? CString() : fields[c]);
        }
        m_dao.CloseDatabase();
    }
    for (int r = 0; r < m_grid.GetRowCount(); ++r)
        for (int c = 0; c < m_grid.GetColumnCount(); ++c)
            m_grid.SetItemState(r, c, m_grid.GetItemState(r, c) | GRIDSTATE_READONLY);
    m_grid.SetEditable(FALSE);
    m_grid.AutoSize();
}

// ---- CScaleListDlg

CScaleListDlg::CScaleListDlg(CWnd* parent)
    : CDialog(IDD_SCALE_LIST, parent)
{ }

const MessageMap* CScaleListDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CScaleListDlg::OnSelect>(IDC_SCALE_LIST_SELECT),
            OnCommandMsg<&CScaleListDlg::OnRemove>(IDC_SCALE_LIST_REMOVE),
            OnCommandMsg<&CScaleListDlg::OnAllSelect>(IDC_SCALE_LIST_ALL_SELECT),
        });
    return &kMap;
}

void CScaleListDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
    DDX_Control(dx, IDC_SCALE_LIST_SELECT, m_selectButton);
    DDX_Control(dx, IDC_SCALE_LIST_REMOVE, m_removeButton);
    DDX_Control(dx, IDC_SCALE_LIST_ALL, m_listAll);
    DDX_Control(dx, IDC_SCALE_LIST_CHOSEN, m_listChosen);
}

BOOL CScaleListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    DressIconButton(m_okButton, kOkIcon, "Ok");
    DressIconButton(m_cancelButton, kCancelIcon, "Cancel");
    DressIconButton(m_selectButton, kSelectIcon, "Select");
    DressIconButton(m_removeButton, kRemoveIcon, "Remove");
    SetDlgItemText(IDC_SCALE_LIST_ALL_SELECT, "All Select");
    if (m_strRows != kDbNoRows)
        FillScaleList();
    return TRUE;
}

void CScaleListDlg::FillScaleList()
{
    const std::vector<CString> fields = SplitReplyRow(m_strRows);
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i + 1] == "NULL")
            continue;
        m_listAll.AddString(CString::Formatted("Scale name = %s, IP=%s", fields[i], fields[i + 1]));
    }
}

void CScaleListDlg::OnSelect()
{
    m_picker.Select(CTwoListPicker::Place::End);
}

void CScaleListDlg::OnRemove()
{
    m_picker.Remove();
}

void CScaleListDlg::OnAllSelect()
{
    m_picker.SelectAll(Checked(*this, IDC_SCALE_LIST_ALL_SELECT));
}

CString CScaleListDlg::GetChosenAddress(const CString& line)
{
    const int at = line.Find("IP=");
    return at < 0 ? CString() : line.Mid(at + 3);
}

void CScaleListDlg::OnOK()
{
    m_strResult.Empty();
    const std::vector<CString> chosen = m_picker.GetChosen();
    for (const CString& line : chosen)
        m_strResult += GetChosenAddress(line) + "\r\n";
    m_nCount = static_cast<int>(chosen.size());
    EndDialog(IDOK);
}

// ---- CReservationListDlg

CReservationListDlg::CReservationListDlg(CWnd* parent)
    : CDialog(IDD_RESERVATION_LIST, parent)
{ }

const MessageMap* CReservationListDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CReservationListDlg::OnDelete>(IDC_RESV_LIST_DELETE),
            OnNotifyMsg<&CReservationListDlg::OnItemClick>(NM_CLICK, IDC_RESV_LIST),
        });
    return &kMap;
}

void CReservationListDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RESV_LIST, m_list);
}

BOOL CReservationListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_RESV_LIST_HINT, "ENG삭제시 R_num과 동일한 정보는 모두 삭제됩니다.");
    return TRUE;
}

void CReservationListDlg::OnOK()
{
    ShowWindow(SW_HIDE);
}

void CReservationListDlg::OnCancel()
{
    ShowWindow(SW_HIDE);
}

void CReservationListDlg::LoadReservations()
{
    m_list.InsertColumn(0, "Reservation Information", LVCFMT_LEFT, 1000);
    m_nClickedItem = -1;
    if (!m_dao.OpenDatabase(kReservationDatabase))
        return;
    const CString sql = ReservationListSql(m_strManagerId);
    for (int index = 0;; ++index) {
        const CString text = m_dao.GetRecordAt(sql, index);
        if (text == kDbNoRows || text.IsEmpty())
            break;
        m_list.InsertItem(m_list.GetItemCount(), ReservationListLine(SplitReservationRow(text)));
    }
    m_dao.CloseDatabase();
}

void CReservationListDlg::Reload(const CString& managerId)
{
    m_list.DeleteAllItems();
    m_list.DeleteColumn(0);
    m_strManagerId = managerId;
    LoadReservations();
}

void CReservationListDlg::OnItemClick(NMHDR* header, LRESULT* result)
{
    m_nClickedItem = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    *result = 0;
}

void CReservationListDlg::OnDelete()
{
    const CString line = m_list.GetItemText(m_nClickedItem, 0);
    if (line.IsEmpty()) {
        AfxMessageBox("Select Line.");
        ShowWindow(SW_SHOWNA);
        return;
    }
    if (::MessageBox(
            GetSafeHwnd(), "ENG해당 예약 정보를 삭제하시겠습니까", "Question", MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    const ReservationListKey key = ParseReservationListLine(line);
    const long number = ScaleAtol(key.number.GetString());
    if (m_pHost)
        m_pHost->CancelReservationThreads(number);
    if (m_dao.OpenDatabase(kReservationDatabase)) {
        m_dao.Execute(DeleteReservationSql(number));
        if (ReservationKindOfListText(key.kind) == DataKind::Item)
            m_dao.Execute(DeleteReservationItemsSql(number));
        m_dao.CloseDatabase();
    }
    for (int i = m_list.GetItemCount() - 1; i >= 0; --i)
        if (ParseReservationListLine(m_list.GetItemText(i, 0)).number == key.number)
            m_list.DeleteItem(i);
    m_nClickedItem = -1;
}
