#include "grid/pick_list.h"

#include <algorithm>

namespace {

bool Holds(const int* list, int n, int row)
{
    return std::find(list, list + n, row) != list + n;
}

} // namespace

int CollectPickedRows(const CGridSelectionMap& selected, int downRow, int* pickList)
{
    std::fill(pickList, pickList + kPickListSize, 0);
    int n = 0;
    for (const auto& [key, cell] : selected) {
        if (n >= kPickListSize)
            break;
        if (cell.row != 0 && !Holds(pickList, n, cell.row))
            pickList[n++] = cell.row;
    }
    // A row that already stands in the list is not added a second time: a
    // duplicate would make a later delete remove a neighbouring record.
    if (n < kPickListSize && downRow != 0 && !Holds(pickList, n, downRow))
        pickList[n++] = downRow;
    return n;
}

void RemovePickedRow(int* pickList, int row)
{
    int* end = std::remove(pickList, pickList + kPickListSize, row);
    std::fill(end, pickList + kPickListSize, 0);
}

void SortPickKeysDescending(int n, int* keys, int* index)
{
    int h = 1;
    while (h < n)
        h = 3 * h + 1;
    for (int gap = h / 3; gap > 0; gap /= 3) {
        for (int j = gap; j < n; ++j) {
            const int key = keys[j];
            const int idx = index[j];
            int k = j;
            while (k >= gap && keys[k - gap] < key) {
                keys[k] = keys[k - gap];
                index[k] = index[k - gap];
                k -= gap;
            }
            keys[k] = key;
            index[k] = idx;
        }
    }
}
