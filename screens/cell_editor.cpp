#include "screens/cell_editor.h"

#include <cstdlib>
#include <string_view>

#include "db/db_request.h"
#include "db/item_columns.h"
#include "grid/grid_ctrl.h"
#include "grid/grid_defs.h"
#include "platform/base/cp949.h"
#include "platform/wnd/core/msgbox.h"
#include "screens/grid_cells.h"
#include "screens/pos_codes.h"
#include "screens/table_bridge.h"
#include "screens/work_screen_context.h"

namespace {

// The key's title, the one the cell check knows besides the value columns'.
constexpr const char* kKeyTitle = "ID";

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

// The value column of a grid title; nullptr for none.
const ItemColumn* ItemColumnTitled(const CString& title)
{
    for (const ItemColumn& item : kItemColumns) {
        if (title == item.title)
            return &item;
    }
    return nullptr;
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
            // An emptied text column stays empty.
            const ItemColumn* item = ItemColumnTitled(grid.GetItemText(0, column));
            if (!item || item->value == ColumnValue::Number)
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
    DbRequest request = DbRequest::ItemUpdate;
    switch (kind) {
    case DataKind::Item:
        request = DbRequest::ItemUpdate;
        break;
    case DataKind::Add:
        request = DbRequest::AddUpdate;
        break;
    case DataKind::Adv:
        request = DbRequest::AdvUpdate;
        break;
    case DataKind::LandAddition:
        request = DbRequest::LandAddUpdate;
        break;
    case DataKind::UserLabel:
        request = DbRequest::UserLabelUpdate;
        break;
    default:
        return;
    }
    if (m_data.RefuseWhileBusy())
        return;
    if (kind != DataKind::UserLabel && !ValidateCell(row, column, kind))
        return;
    grid.HoldFocus(false);
    m_data.TableBridge().UpdateCell(request, databasePath, row, column, kind);
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
        // A title of no value column (the ingredient's, "INGREDIENT") is held
        // to the item number's limits; the key is not tested.
        if (title == kKeyTitle)
            return 1;
        const ItemColumn* item = ItemColumnTitled(title);
        return ValidateItemField(item ? item->field : PluField::ItemNum, row, column);
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
    const int codeColumn = FindColumn(m_grid.Grid(), ItemColumnOf(PluField::PosCode).title, 1);
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

int CCellEditor::ValidateItemField(PluField field, int row, int column)
{
    CGridCtrl& grid = m_grid.Grid();
    const int language = m_screen.Language();
    const CString text = grid.GetItemText(row, column);
    const long number = Number(text);
    const std::size_t length = Cp949Length(text.View());
    auto refuse = [&](const char* english, const char* korean) {
        RefuseCell(english, korean, row, column);
        return 0;
    };
    if (field == PluField::PosCode) {
        const int kindColumn = FindColumn(m_grid.Grid(), ItemColumnOf(PluField::PosKind).title, 1);
        const CString posKind = kindColumn >= 0 ? grid.GetItemText(row, kindColumn) : CString();
        // Kind "2" codes are held to their length only.
        if (!PosCodeAccepted(posKind, text) || (posKind != "2" && !IsWholeNumber(text))) {
            const PosCodeMessage message = PosCodeMessageFor(posKind);
            return refuse(message.english, message.korean);
        }
        return 1;
    }
    const ItemColumn& item = ItemColumnOf(field);
    if (!item.refusal || (item.salesLanguage == SalesLanguage::TakesAny && language == 3))
        return 1;
    const long maxValue = language == 1 && item.koreanMaxValue ? item.koreanMaxValue : item.maxValue;
    const bool accepted = (item.value == ColumnValue::Text || IsWholeNumber(text)) && length <= item.maxLength
        && (!maxValue || number <= maxValue);
    if (!accepted)
        return refuse(item.refusal, item.koreanRefusal);
    if (field == PluField::PosKind)
        WarnOfLongPosCode(text, row);
    return 1;
}
