#include "transfer/transfer_rows.h"

#include <algorithm>

#include "transfer/transfer_screen_host.h"

namespace {

// Rows 1 to the last data row.
std::vector<int> AllDataRows(int rowCount)
{
    std::vector<int> rows;
    for (int r = 1; r <= rowCount - 2; ++r)
        rows.push_back(r);
    return rows;
}

} // namespace

TransferRowsPtr ReadTransferRows(
    CTransferScreenHost& host, std::vector<int> gridRows, int columns, BOOL itemRows)
{
    auto taken = std::make_shared<TransferRows>();
    taken->rows.reserve(gridRows.size());
    for (int row : gridRows) {
        RecordRow cells(static_cast<std::size_t>(std::max(columns, 0)));
        for (int c = 0; c < columns; ++c)
            cells[static_cast<std::size_t>(c)] = host.GetGridItemText(row, c).Str();
        taken->rows.push_back(std::move(cells));
    }
    taken->gridRows = std::move(gridRows);
    taken->presetPage = host.GetPresetPage();
    for (const CString& key : host.GetPresetKeyTexts())
        taken->presetKeys.push_back(key.Str());
    taken->presetReadPage = host.GetPresetReadPage();
    taken->userId = host.GetUserId().Str();
    taken->itemDbPath = host.GetItemDbPath();
    taken->defaultValues = itemRows && host.LoadDefaultValues();
    return taken;
}

TransferRowsPtr TakeTransferRows(
    CTransferScreenHost& host, TransferCommand command, DataKind kind, TransferScope scope, int columns)
{
    const DataKindInfo& k = KindInfo(kind);
    const bool send = command != TransferCommand::Recv;
    std::vector<int> gridRows;
    if (send && k.rows == KindRows::Clicked) {
        gridRows = { host.GetCurrentGridRow() };
    } else if (send && k.rows == KindRows::Table) {
        gridRows = scope == TransferScope::All
            ? AllDataRows(host.GetGridRowCount())
            : PickedRows(host.GetTransferSelection(), host.GetGridRowCount(), PickRule::Transfer);
        if (k.cap > 0 && gridRows.size() > static_cast<std::size_t>(k.cap))
            gridRows.resize(static_cast<std::size_t>(k.cap));
    }
    return ReadTransferRows(host, std::move(gridRows), columns, send && kind == DataKind::Item);
}
