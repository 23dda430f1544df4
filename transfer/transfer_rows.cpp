#include "transfer/transfer_rows.h"

#include <algorithm>

#include "transfer/transfer_screen_host.h"

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

std::vector<int> AllDataRows(int rowCount, int cap)
{
    int count = rowCount - 2;
    if (cap > 0)
        count = std::min(count, cap);
    std::vector<int> rows;
    for (int r = 1; r <= count; ++r)
        rows.push_back(r);
    return rows;
}
