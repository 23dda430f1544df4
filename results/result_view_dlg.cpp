#include "results/result_view_dlg.h"

#include "db/sql_text.h"
#include "db/store_paths.h"
#include "grid/compare.h"
#include "platform/wnd/core/msgbox.h"
#include "results/result_controls.h"
#include "results/result_grid.h"
#include "shell/calvorn_view.h"
#include "shell/scale_dialogs.h"
#include "shell/selection_dlg.h"

namespace {

constexpr int kImageCount = 5;

// Controls that "List " disables and "other Result" enables again.
constexpr int kOptionControls[] = { IDC_RESULT_SCALE_GROUP, IDC_RESULT_ONE_SCALE, IDC_RESULT_ALL_SCALES,
    IDC_RESULT_ITEM_GROUP, IDC_RESULT_SELECT_ITEM, IDC_RESULT_TOTAL_ITEM, IDC_RESULT_SCALES_LABEL,
    IDC_RESULT_ITEMS_LABEL, IDC_RESULT_DAILY, IDC_RESULT_DAY_OF_WEEK, IDC_RESULT_WEEKLY, IDC_RESULT_MONTHLY };

constexpr const char* kAllItemsLine = "전체 상품에 대한 실적을 선택하였습니다.";

const std::vector<const char*> kListTitles
    = { "PLU", "PLU_Name", "Pos_code", "date", "Time", "Price", "Weight", "Scale_name", "User ID" };

std::vector<const char*> SumTitles(ResultMode mode)
{
    switch (mode) {
    case ResultMode::Daily:
        return { "Scale name", "IP", "PLU", "Date", "Price", "Weight", "Print" };
    case ResultMode::Weekly:
        return { "Scale name", "IP", "PLU", "Week", "Price", "Weight", "Print" };
    case ResultMode::Monthly:
        return { "Scale name", "IP", "PLU", "Month", "Price", "Weight", "Print" };
    case ResultMode::DayOfWeek: {
        std::vector<const char*> titles = { "Scale name", "IP", "PLU" };
        titles.insert(titles.end(), WeekdaySumTitles().begin(), WeekdaySumTitles().end());
        return titles;
    }
    case ResultMode::List:
        break;
    }
    return kListTitles;
}

// The number a text starts with, as atol reads it.
long long LeadingNumberOf(const CString& text)
{
    return LeadingInteger64(text.GetString());
}

} // namespace

BOOL ParseItemNumbers(const CString& text, std::vector<CString>& numbers)
{
    numbers.clear();
    const int dash = text.GetLength() > 1 ? text.Find('-', 1) : -1;
    const int comma = text.GetLength() > 1 ? text.Find(',', 1) : -1;
    if (dash > 0) {
        const long long first = LeadingNumberOf(text.Left(dash));
        const long long last = LeadingNumberOf(text.Mid(dash + 1));
        // The span in unsigned arithmetic, which cannot overflow.
        if (last >= first
            && static_cast<unsigned long long>(last) - static_cast<unsigned long long>(first)
                >= kMaxItemNumbers)
            return FALSE;
        for (long long n = first; n <= last; ++n)
            numbers.push_back(CString::Formatted("%lld", n));
        return TRUE;
    }
    if (comma > 0) {
        int start = 0;
        for (int at = text.Find(',', start); at >= 0; at = text.Find(',', start)) {
            numbers.push_back(text.Mid(start, at - start));
            start = at + 1;
        }
        numbers.push_back(text.Mid(start));
        if (static_cast<int>(numbers.size()) > kMaxItemNumbers) {
            numbers.clear();
            return FALSE;
        }
        return TRUE;
    }
    numbers.push_back(text);
    return TRUE;
}

CResultViewDlg::CResultViewDlg(CWnd* parent)
    : CDialog(IDD_RESULT_VIEW, parent)
{ }

const MessageMap* CResultViewDlg::GetMessageMap() const
{
    static const MessageMap kMap(CDialog::GetMessageMap(),
        {
            OnCommandMsg<&CResultViewDlg::OnOneScale>(IDC_RESULT_ONE_SCALE),
            OnCommandMsg<&CResultViewDlg::OnAllScales>(IDC_RESULT_ALL_SCALES),
            OnCommandMsg<&CResultViewDlg::OnSelectItem>(IDC_RESULT_SELECT_ITEM),
            OnCommandMsg<&CResultViewDlg::OnTotalItem>(IDC_RESULT_TOTAL_ITEM),
            OnCommandMsg<&CResultViewDlg::OnDaily>(IDC_RESULT_DAILY),
            OnCommandMsg<&CResultViewDlg::OnDayOfWeek>(IDC_RESULT_DAY_OF_WEEK),
            OnCommandMsg<&CResultViewDlg::OnWeekly>(IDC_RESULT_WEEKLY),
            OnCommandMsg<&CResultViewDlg::OnMonthly>(IDC_RESULT_MONTHLY),
            OnCommandMsg<&CResultViewDlg::OnResult>(IDC_RESULT_RUN),
            OnCommandMsg<&CResultViewDlg::OnPrint>(IDC_RESULT_PRINT),
            OnCommandMsg<&CResultViewDlg::OnListMode>(IDC_RESULT_LIST_MODE),
            OnCommandMsg<&CResultViewDlg::OnOtherResult>(IDC_RESULT_SUMS_MODE),
            OnCommandMsg<&CResultViewDlg::OnDefaultFormat>(IDC_RESULT_DEFAULT),
            OnControl<&CResultViewDlg::OnPriceNumberChange>(CBN_SELCHANGE, IDC_RESULT_PRICE_DIGITS),
            OnControl<&CResultViewDlg::OnWeightNumberChange>(CBN_SELCHANGE, IDC_RESULT_WEIGHT_DIGITS),
        });
    return &kMap;
}

void CResultViewDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_RESULT_RUN, m_resultButton);
    DDX_Control(dx, IDC_RESULT_PRINT, m_printButton);
    DDX_Control(dx, IDC_RESULT_DEFAULT, m_defaultBox);
    DDX_Control(dx, IDC_RESULT_PRICE_DIGITS, m_priceBox);
    DDX_Control(dx, IDC_RESULT_WEIGHT_DIGITS, m_weightBox);
    DDX_Control(dx, IDC_RESULT_SCALE_LIST, m_scaleList);
    DDX_Control(dx, IDC_RESULT_ITEM_LIST, m_itemList);
    DDX_Control(dx, IDC_RESULT_BEGIN, m_beginPicker);
    DDX_Control(dx, IDC_RESULT_END, m_endPicker);
    DDX_Control(dx, IDC_RESULT_GRID, m_grid);
}

BOOL CResultViewDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_defaultBox.SetCheck(BST_CHECKED);
    m_priceBox.EnableWindow(FALSE);
    m_weightBox.EnableWindow(FALSE);
    m_nPriceDecimals = m_nWeightDecimals = 0;
    for (CComboBox* box : { &m_priceBox, &m_weightBox }) {
        for (const char* entry : { "0", "1", "2", "3" })
            box->AddString(entry);
        box->SetCurSel(0);
    }
    SetPickersToToday(m_beginPicker, m_endPicker);
    m_images.Create(IDB_RESULT_IMAGES, 16, 1, RGB(255, 255, 255));
    ResetResultGrid(m_grid, &m_images);
    return TRUE;
}

BOOL CResultViewDlg::IsAdministrator() const
{
    return m_strUserId == kAdministratorId;
}

// ---- Options

void CResultViewDlg::OnOneScale()
{
    m_nOneScale = m_nAllScales = 0;
    m_scaleList.ResetContent();
    CScaleSelectDlg dialog(this);
    dialog.m_strUserId = m_strUserId;
    dialog.m_nSingleChoice = 1;
    if (dialog.DoModal() != IDOK || dialog.m_strResult.IsEmpty())
        return;
    const std::vector<CString> names = SplitSelectionEntries(dialog.m_strResult);
    if (names.empty())
        return;
    m_nOneScale = 1;
    m_scaleList.AddString(names[0]);
}

void CResultViewDlg::OnAllScales()
{
    m_nOneScale = m_nAllScales = 0;
    m_scaleList.ResetContent();
    m_daoHelper.OpenDatabase(kManagerDatabase);
    CString sql;
    if (IsAdministrator())
        sql.Format("SELECT %s FROM [ScaleMG]", "[scale_name]");
    else
        sql.Format("SELECT %s FROM [ScaleMG] WHERE [mg_id] = %s", "[scale_name]",
            SqlLiteral(m_strUserId).GetString());
    const CString rows = m_daoHelper.GetRows(sql);
    if (rows != kDbNoRows) {
        m_nAllScales = 1;
        for (const CString& name : SplitSelectionEntries(rows))
            m_scaleList.AddString(name);
    }
    m_daoHelper.CloseDatabase();
}

void CResultViewDlg::OnSelectItem()
{
    m_nSelectItem = m_nTotalItem = 0;
    m_itemList.ResetContent();
    m_itemNumbers.clear();
    CItemNumberDlg dialog(this);
    if (dialog.DoModal() != IDOK || dialog.m_strItemNumber.IsEmpty())
        return;
    std::vector<CString> numbers;
    if (!ParseItemNumbers(dialog.m_strItemNumber, numbers)) {
        AfxMessageBox(kTooManyItemNumbers, MB_OK);
        return;
    }
    m_nSelectItem = 1;
    for (const CString& number : numbers) {
        if (number.IsEmpty())
            break;
        m_itemNumbers.push_back(number);
        m_itemList.AddString(number);
    }
}

void CResultViewDlg::OnTotalItem()
{
    m_nSelectItem = 0;
    m_itemList.ResetContent();
    m_itemNumbers.clear();
    m_nTotalItem = 1;
    m_itemList.AddString(kAllItemsLine);
}

void CResultViewDlg::SetDateFlags(int daily, int dayOfWeek, int weekly, int monthly)
{
    m_nDaily = daily;
    m_nDayOfWeek = dayOfWeek;
    m_nWeekly = weekly;
    m_nMonthly = monthly;
}

void CResultViewDlg::OnDaily()
{
    SetDateFlags(1, 0, 0, 0);
}
void CResultViewDlg::OnDayOfWeek()
{
    SetDateFlags(0, 1, 0, 0);
}
void CResultViewDlg::OnWeekly()
{
    SetDateFlags(0, 0, 1, 0);
}
void CResultViewDlg::OnMonthly()
{
    SetDateFlags(0, 0, 0, 1);
}

void CResultViewDlg::EnableOptions(BOOL enable)
{
    for (int id : kOptionControls)
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(enable);
}

void CResultViewDlg::OnListMode()
{
    m_nListMode = 1;
    m_nSumsMode = 0;
    EnableOptions(FALSE);
}

void CResultViewDlg::OnOtherResult()
{
    m_nSumsMode = 1;
    m_nListMode = 0;
    EnableOptions(TRUE);
}

void CResultViewDlg::OnDefaultFormat()
{
    const BOOL checked = m_defaultBox.GetCheck() == BST_CHECKED;
    m_priceBox.EnableWindow(!checked);
    m_weightBox.EnableWindow(!checked);
    if (checked) {
        m_nPriceDecimals = m_nWeightDecimals = 0;
        m_priceBox.SetCurSel(0);
        m_weightBox.SetCurSel(0);
    }
}

void CResultViewDlg::OnPriceNumberChange()
{
    m_nPriceDecimals = std::max(0, m_priceBox.GetCurSel());
}
void CResultViewDlg::OnWeightNumberChange()
{
    m_nWeightDecimals = std::max(0, m_weightBox.GetCurSel());
}

// ---- Result

void CResultViewDlg::OnResult()
{
    if (!m_nListMode && !m_nSumsMode) {
        AfxMessageBox("Select Result Option", MB_OK);
        return;
    }
    if (m_nListMode) {
        ResetResultGrid(m_grid, &m_images);
        ShowScaleItem("0", "0", "0");
        return;
    }
    if (!m_nOneScale && !m_nAllScales) {
        AfxMessageBox("Select a Scale", MB_OK);
        return;
    }
    if (!m_nSelectItem && !m_nTotalItem) {
        AfxMessageBox("Input Item number", MB_OK);
        return;
    }
    if (!m_nDaily && !m_nDayOfWeek && !m_nWeekly && !m_nMonthly) {
        AfxMessageBox("Select Date option", MB_OK);
        return;
    }
    ResetResultGrid(m_grid, &m_images);
    m_rangeSums.clear();
    const int scales = m_nOneScale ? std::min(1, m_scaleList.GetCount()) : m_scaleList.GetCount();
    for (int i = 0; i < scales; ++i) {
        CString name;
        m_scaleList.GetText(i, name);
        const CString ip = LookUpScaleIp(name);
        if (!ip.IsEmpty())
            ShowItemResults(ip, name);
    }
}

CString CResultViewDlg::LookUpScaleIp(const CString& name)
{
    m_daoHelper.OpenDatabase(kManagerDatabase);
    CString sql;
    if (IsAdministrator())
        sql.Format("SELECT %s FROM [ScaleMG] WHERE [scale_name] = %s", "[ip]", SqlLiteral(name).GetString());
    else
        sql.Format("SELECT %s FROM [ScaleMG] WHERE [mg_id] = %s AND [scale_name] = %s", "[ip]",
            SqlLiteral(m_strUserId).GetString(), SqlLiteral(name).GetString());
    const std::vector<CString> values = SplitSelectionEntries(m_daoHelper.GetFirstRow(sql));
    m_daoHelper.CloseDatabase();
    return values.empty() || values[0] == "NULL" ? CString() : values[0];
}

void CResultViewDlg::ShowItemResults(const CString& ip, const CString& name)
{
    if (m_nTotalItem) {
        ShowScaleItem(ip, "0", name);
        return;
    }
    for (const CString& item : m_itemNumbers)
        ShowScaleItem(ip, item, name);
}

void CResultViewDlg::ShowScaleItem(const CString& ip, const CString& item, const CString& name)
{
    m_sums.Clear();
    ResultMode mode = ResultMode::List;
    if (!m_nListMode) {
        mode = m_nDaily    ? ResultMode::Daily
            : m_nDayOfWeek ? ResultMode::DayOfWeek
            : m_nWeekly    ? ResultMode::Weekly
                           : ResultMode::Monthly;
    }
    SetResultColumns(m_grid, SumTitles(mode));
    FillResultGrid(ip, item, name, mode);
    if (mode == ResultMode::DayOfWeek)
        WriteDayOfWeekRow(ip, item, name);
    m_grid.AutoSize();
}

CResultDaoHelper::DaySums CResultViewDlg::RangeSums(
    const CString& ip, const CString& item, const ResultDate& begin, const ResultDate& end)
{
    auto found = m_rangeSums.find(item);
    if (found == m_rangeSums.end()) {
        CString sql
            = "SELECT [ip], [Result_day], [Totalprice], [Totalweight], [PrintCnt] FROM [Server_DB] WHERE ";
        if (item != "0")
            sql += "[code_gds] = " + SqlLiteral(item) + " AND ";
        sql += "[Result_day] BETWEEN " + SqlLiteral(DayKey(begin)) + " AND " + SqlLiteral(DayKey(end));
        if (!IsAdministrator())
            sql += " AND [mg_id] = " + SqlLiteral(m_strUserId);
        m_daoHelper.OpenStore();
        found = m_rangeSums.emplace(item, m_daoHelper.SumByKeyAndDay(sql)).first;
        m_daoHelper.CloseDatabase();
    }
    const auto scale = found->second.find(SqlTextKey(ip));
    return scale == found->second.end() ? CResultDaoHelper::DaySums {} : scale->second;
}

void CResultViewDlg::FillResultGrid(
    const CString& ip, const CString& item, const CString& name, ResultMode mode)
{
    const ResultDate begin = PickerDate(m_beginPicker);
    const ResultDate end = PickerDate(m_endPicker);
    if (mode == ResultMode::List) {
        WalkResultDays(
            begin, end, [this](const ResultDate& day) { ReadResultList(day); }, [](int, int) {});
    } else {
        auto readDays = [&] { return RangeSums(ip, item, begin, end); };
        WalkPeriodRows(begin, end, mode, m_sums, readDays,
            [&](const CString& period, const SaleSums& sums) { AddSumRow(ip, item, name, period, sums); });
    }
    m_grid.AutoSize();
}

void CResultViewDlg::ReadResultList(const ResultDate& day)
{
    CString sql
        = "SELECT [code_gds], [item_name], [item_poscode], [Result_day], [result_time], [Totalprice], "
          "[Totalweight], [scale_name], [mg_id] FROM [Server_DB] WHERE [Result_day] = "
        + SqlLiteral(DayKey(day));
    if (!IsAdministrator())
        sql += " AND [mg_id] = " + SqlLiteral(m_strUserId);
    m_daoHelper.OpenStore();
    const std::vector<std::vector<CString>> rows = m_daoHelper.ReadRows(sql);
    m_daoHelper.CloseDatabase();
    for (std::vector<CString> values : rows) {
        values.resize(kListTitles.size());
        values[5] = FormatPriceText(values[5]);
        values[6] = FormatWeightText(values[6]);
        AddResultRow(m_grid, values);
    }
}

void CResultViewDlg::AddSumRow(
    const CString& ip, const CString& item, const CString& name, const CString& period, const SaleSums& sums)
{
    AddResultRow(m_grid,
        { name, ip, item, period, FormatPriceText(SumText(sums.price)),
            FormatWeightText(SumText(sums.weight)), SumText(sums.count) });
}

void CResultViewDlg::WriteDayOfWeekRow(const CString& ip, const CString& item, const CString& name)
{
    std::vector<CString> texts = { name, ip, item };
    for (int day = 0; day < 7; ++day) {
        const SaleSums& sums = m_sums.Weekday(day);
        texts.push_back(FormatPriceText(SumText(sums.price)));
        texts.push_back(FormatWeightText(SumText(sums.weight)));
        texts.push_back(SumText(sums.count));
    }
    AddResultRow(m_grid, texts);
}
