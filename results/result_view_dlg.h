#pragma once
// CResultViewDlg: the "Result View" (dialog 199). "List " shows every stored
// sale of each day of the range, one grid row each; "other Result" sums price,
// weight and print count per scale and item (or all items) by day, weekday,
// week of the month or month. A manager sees only his own rows; "vexo" sees
// every manager's. Print prints the grid as it stands.

#include <vector>

#include "controls/xp_button.h"
#include "grid/grid_ctrl.h"
#include "platform/gdi/image_list.h"
#include "platform/wnd/controls/button.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/controls/datetime_ctrl.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"
#include "results/result_dao_helper.h"
#include "results/result_dates.h"
#include "results/result_sums.h"

// The five 16-pixel pictures of the grid's row headings.
inline constexpr UINT IDB_RESULT_IMAGES = 135;
// The most item numbers one selection may hold.
inline constexpr int kMaxItemNumbers = 2048;
inline constexpr const char* kTooManyItemNumbers = "Item Number : 2048 numbers at most";

// The item numbers of an item text: a range "1-4" (none when the last is
// below the first), a list "1,2,3" (an empty piece gives an empty number) or
// one number. FALSE when the text stands for more than kMaxItemNumbers.
[[nodiscard]] BOOL ParseItemNumbers(const CString& text, std::vector<CString>& numbers);

class CResultViewDlg : public CDialog {
public:
    explicit CResultViewDlg(CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnOneScale();
    void OnAllScales();
    void OnSelectItem();
    void OnTotalItem();
    void OnDaily();
    void OnDayOfWeek();
    void OnWeekly();
    void OnMonthly();
    void OnResult();
    void OnPrint();
    void OnListMode();
    void OnOtherResult();
    void OnDefaultFormat();
    void OnPriceNumberChange();
    void OnWeightNumberChange();

    CString m_strUserId; // the logged-in manager, set before DoModal
    CGridCtrl m_grid;

private:
    void SetDateFlags(int daily, int dayOfWeek, int weekly, int monthly);
    void EnableOptions(BOOL enable);
    // The IP of the named scale the user may see; empty when it is not
    // registered (any more).
    CString LookUpScaleIp(const CString& name);
    void ShowItemResults(const CString& ip, const CString& name);
    void ShowScaleItem(const CString& ip, const CString& item, const CString& name);
    void FillResultGrid(const CString& ip, const CString& item, const CString& name, ResultMode mode);
    void ReadResultList(const ResultDate& day);
    // The day sums of the scale at ip for item over the pickers' range; the
    // range's rows of an item are read once per Result, for every scale.
    CResultDaoHelper::DaySums RangeSums(
        const CString& ip, const CString& item, const ResultDate& begin, const ResultDate& end);
    void AddSumRow(const CString& ip, const CString& item, const CString& name, const CString& period,
        const SaleSums& sums);
    void WriteDayOfWeekRow(const CString& ip, const CString& item, const CString& name);
    void PrintResults(ResultMode mode);

    CString FormatPriceText(const CString& text) const { return InsertDecimalPoint(text, m_nPriceDecimals); }
    CString FormatWeightText(const CString& text) const
    {
        return InsertDecimalPoint(text, m_nWeightDecimals);
    }
    BOOL IsAdministrator() const;

    int m_nListMode = 0;
    int m_nSumsMode = 0;
    int m_nOneScale = 0;
    int m_nAllScales = 0;
    int m_nSelectItem = 0;
    int m_nTotalItem = 0;
    int m_nDaily = 0;
    int m_nDayOfWeek = 0;
    int m_nWeekly = 0;
    int m_nMonthly = 0;
    int m_nPriceDecimals = 0;
    int m_nWeightDecimals = 0;

    std::vector<CString> m_itemNumbers; // the items of IDC_RESULT_ITEM_LIST
    PeriodSums m_sums;
    std::map<CString, std::map<CString, CResultDaoHelper::DaySums>> m_rangeSums; // item -> ip -> days
    CResultDaoHelper m_daoHelper;
    CImageList m_images;

    CXPButton m_resultButton;
    CXPButton m_printButton;
    CButton m_defaultBox;
    CComboBox m_priceBox;
    CComboBox m_weightBox;
    CListBox m_scaleList;
    CListBox m_itemList;
    CDateTimeCtrl m_beginPicker;
    CDateTimeCtrl m_endPicker;
};
