#include "screens/cell_editor.h"

#include <cstdlib>
#include <string_view>

#include "db/db_messages.h"
#include "db/mailbox_dlg.h"
#include "grid/grid_ctrl.h"
#include "grid/grid_defs.h"
#include "platform/base/cp949.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/grid_cells.h"
#include "screens/pos_codes.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"

namespace {

constexpr const char* kItemTitles[]
    = { "ITEM_NUM", "ITEM_NAME", "ITEM_NAME2", "UNITPRICE", "FIX_PRICE", "LAND", "POS_FLG", "POS_CODE",
          "PIECE", "WEIGHT", "FMARK", "POS_KIND", "DATEPRINT", "LIMIT_DAY", "ADDITEM", "ID" };

// The largest sale price and sale period that fit their bit fields.
constexpr long kMaxSalePrice = 0xFFFFFF;
constexpr long kMaxSalePeriod = 0x7FF;
constexpr long kMaxSaleKind = 0xFF;

long Number(const CString& text)
{
    return std::strtol(text.GetString(), nullptr, 10);
}

long Length(const CString& text)
{
    return static_cast<long>(Cp949Length(text.View()));
}

// A whole number as typed: digits after an optional minus sign. A number
// check that reads only the leading digits would store "12ab" as typed.
bool IsWholeNumber(const CString& text)
{
    const std::string_view digits = text.View().substr(text.View().starts_with('-') ? 1 : 0);
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

CCellEditor::CCellEditor(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data)
    : m_screen(screen)
    , m_grid(grid)
    , m_data(data)
{ }

const MessageMap* CCellEditor::GetMessageMap() const
{
    static const MessageMap kMap(CCmdTarget::GetMessageMap(),
        {
            OnMessage<&CCellEditor::OnCellEditedMessage>(WM_GRID_CELLEDITED),
        });
    return &kMap;
}

LRESULT CCellEditor::OnCellEditedMessage(WPARAM wParam, LPARAM lParam)
{
    OnGridCellEdited(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

void CCellEditor::RefuseCell(const CString& english, const CString& korean, int row, int column)
{
    AfxMessageBox(m_screen.Language() == 1 ? korean : english, MB_OK);
    CGridCtrl& grid = m_grid.Grid();
    // The database keeps its value, and the cell shows it.
    if (const std::optional<DataKind> kind = m_screen.HintKind())
        m_data.TableBridge().ShowStoredCell(m_data.ItemDbPath(), row, column, *kind);
    else
        grid.RestoreReplacedText(row, column);
    grid.HoldFocus(true);
    grid.SetFocus();
    grid.SetFocusCell(row, column);
}

void CCellEditor::OnGridCellEdited(int row, int column)
{
    const CString databasePath = m_data.ItemDbPath();
    if (databasePath.IsEmpty())
        return;
    CGridCtrl& grid = m_grid.Grid();
    const std::optional<DataKind> hintKind = m_screen.HintKind();
    if (!hintKind)
        return;
    const DataKind kind = *hintKind;
    const CString text = grid.GetItemText(row, column);
    if (text.IsEmpty()) {
        CString placeholder;
        if (kind == DataKind::Item) {
            const CString title = grid.GetItemText(0, column);
            if (title != "ITEM_NAME" && title != "ITEM_NAME2")
                placeholder = "0";
        } else if (kind == DataKind::Add || kind == DataKind::Adv || kind == DataKind::LandAddition) {
            placeholder = column == 1 ? "0" : "NULL";
        } else if (kind == DataKind::UserLabel) {
            placeholder = "0";
        }
        if (!placeholder.IsEmpty())
            grid.SetItemText(row, column, placeholder);
    } else if (kind == DataKind::LandAddition && column == 1) {
        const long number = Number(text);
        if (number < 201 || number > 500) {
            RefuseCell("Land Addition is a 201 - 500.", "Land Addition is a 201 - 500.", row, column);
            return;
        }
    }
    const char* request = nullptr;
    switch (kind) {
    case DataKind::Item:
        request = "Item_Update";
        break;
    case DataKind::Add:
        request = "Add_Update";
        break;
    case DataKind::Adv:
        request = "Adv_Update";
        break;
    case DataKind::LandAddition:
        request = "Land_Add_Update";
        break;
    case DataKind::UserLabel:
        request = "User_Label_Update";
        break;
    default:
        return;
    }
    if (m_data.RefuseWhileBusy())
        return;
    if (kind != DataKind::UserLabel && !ValidateCell(row, column, kind))
        return;
    grid.HoldFocus(false);
    m_data.DbMailbox().SetText(IDC_MAILBOX_NAME, request);
    m_data.DbMailbox().SetText(IDC_MAILBOX_TEXT, "");
    m_data.TableBridge().UpdateCell(databasePath, row, column, kind);
}

int CCellEditor::ValidateCell(int row, int column, DataKind kind)
{
    const CGridCtrl& grid = m_grid.Grid();
    const CString text = grid.GetItemText(row, column);
    switch (kind) {
    case DataKind::Item: {
        const CString title = grid.GetItemText(0, column);
        // The packed sale fields hold 24 bits of price and 11 bits of period.
        if (title == "SALE_PRICE"
            && (!IsWholeNumber(text) || Number(text) > kMaxSalePrice || Number(text) < 0)) {
            RefuseCell("Sale price is a 0 - 16777215.", "Sale price is a 0 - 16777215.", row, column);
            return 0;
        }
        if (title == "SALE_PERIOD OPT2"
            && (!IsWholeNumber(text) || Number(text) > kMaxSalePeriod || Number(text) < 0)) {
            RefuseCell("Sale period is a 0 - 2047.", "Sale period is a 0 - 2047.", row, column);
            return 0;
        }
        if (title == "SALE_KIND"
            && (!IsWholeNumber(text) || Number(text) > kMaxSaleKind || Number(text) < 0)) {
            RefuseCell("Sale kind is a 0 - 255.", "Sale kind is a 0 - 255.", row, column);
            return 0;
        }
        // The other sale columns hold codes the packing reads as they are; the
        // item number's limits are not theirs.
        if (title.Left(5) == "SALE_")
            return 1;
        int field = 0;
        for (int i = 0; i < 16; ++i) {
            if (title == kItemTitles[i]) {
                field = i;
                break;
            }
        }
        return ValidateItemField(field, row, column);
    }
    case DataKind::Add:
        if (column == 1 && Number(text) > 600) {
            RefuseCell(" Ingre. number is a 1 - 600.", "첨가물번호는 1 - 600번이내로 하여야 함", row, column);
            return 0;
        }
        if (column != 1 && Length(text) > 60) {
            RefuseCell("Line String is within 60 characters", "문자열은 30자이내로 하여야 함", row, column);
            return 0;
        }
        return 1;
    case DataKind::Adv:
    case DataKind::LandAddition:
        if (column != 1 && Length(text) > 50) {
            RefuseCell("Line1 is within 50 characters", "문자열은 24자이내로 하여야 함", row, column);
            return 0;
        }
        return 1;
    default:
        return 1;
    }
}

// A code already in the row that is too long for the new kind is pointed
// out; the kind is kept.
void CCellEditor::WarnOfLongPosCode(const CString& kind, int row)
{
    CGridCtrl& grid = m_grid.Grid();
    const int codeColumn = FindColumn(m_grid.Grid(), "POS_CODE", 1);
    if (codeColumn < 0)
        return;
    const long codeLength = Length(grid.GetItemText(row, codeColumn));
    const bool tooLong = kind == "2" ? codeLength > 10
        : kind == "3"                ? codeLength > 8
        : kind == "1"                ? false
                                     : codeLength > 6;
    if (!tooLong)
        return;
    const PosCodeMessage message = PosCodeMessageFor(kind);
    AfxMessageBox(m_screen.Language() == 1 ? message.korean : message.english, MB_OK);
    grid.SetFocus();
    grid.SetFocusCell(row, codeColumn);
}

int CCellEditor::ValidateItemField(int field, int row, int column)
{
    CGridCtrl& grid = m_grid.Grid();
    const int language = m_screen.Language();
    const CString text = grid.GetItemText(row, column);
    const long number = Number(text);
    const long length = Length(text);
    const bool whole = IsWholeNumber(text);
    auto refuse = [&](const char* english, const char* korean) {
        RefuseCell(english, korean, row, column);
        return 0;
    };
    switch (field) {
    case 0:
        if (!whole || number > 100000 || length > 5)
            return refuse(" Item number is a 1 - 99999.", "상품번호는 1 - 99999번이내로 하여야 함");
        return 1;
    case 1:
        if (length > 28)
            return refuse(
                " Item Name is a 28 character.", "상품명은 한글 14자, 영문 및 숫자는 28자까지 가능 ");
        return 1;
    case 2:
        if (length > 28)
            return refuse(
                " Item Name2 is a 28 character.", "상품명2은 한글 14자, 영문 및 숫자는 28자까지 가능 ");
        return 1;
    case 3:
        if (!whole || length > 6 || number > 1000000)
            return refuse("Unit price is a 1 - 999999.", "단가는 1 - 999999번이내로 하여야 함");
        return 1;
    case 4:
        if (!whole || length > 5 || number > 100000)
            return refuse("Fix_price is a 1 - 99999.", "정금액는 1 - 99999번이내로 하여야 함");
        return 1;
    case 5: {
        const bool accepted = language == 3
            || (whole && (language == 1 ? length <= 3 && number <= 480 : length <= 3 && number <= 300));
        if (!accepted)
            return refuse("Land is a 0 - 300.", "원산지는 0 - 480번이내로 하여야 함");
        return 1;
    }
    case 6:
        if (!whole || length > 3 || number > 1000)
            return refuse("Pos flag is a 1 - 999.", "포스플래그는 1 - 999번이내로 하여야 함");
        return 1;
    case 7: {
        const int kindColumn = FindColumn(m_grid.Grid(), "POS_KIND", 1);
        const CString posKind = kindColumn >= 0 ? grid.GetItemText(row, kindColumn) : CString();
        // Kind "2" codes are held to their length only.
        if (!PosCodeAccepted(posKind, text) || (posKind != "2" && !whole)) {
            const PosCodeMessage message = PosCodeMessageFor(posKind);
            return refuse(message.english, message.korean);
        }
        return 1;
    }
    case 11: {
        if (!whole || length > 2 || number > 3)
            return refuse("Pos Kind is a 0 - 3.", "바코드종류는 0 - 3번이내로 하여야 함");
        WarnOfLongPosCode(text, row);
        return 1;
    }
    case 12:
        if (!whole || length > 2 || number > 7)
            return refuse("DatePrinting is a 0 - 7.", "날짜출력 옵션은 0 - 7번이내로 하여야 함");
        return 1;
    default:
        return 1;
    }
}
