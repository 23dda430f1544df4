#pragma once
// The grid's set of selected cells. The key holds the full row and column, so
// row r and row r + 65536 never share an entry; iteration runs row by row.

#include <cstdint>
#include <map>

#include "grid/cell_range.h"

class CGridSelectionMap {
public:
    using Key = std::uint64_t;

    static Key MakeKey(int row, int col)
    {
        return (static_cast<Key>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
    }

    // Adds the cell; an existing entry stays.
    void Add(int row, int col) { m_cells.emplace(MakeKey(row, col), CGridCellCoord(row, col)); }
    // Removes the cell; FALSE when it was not there.
    BOOL Remove(int row, int col) { return m_cells.erase(MakeKey(row, col)) > 0; }
    BOOL Contains(int row, int col) const { return m_cells.count(MakeKey(row, col)) > 0; }
    void RemoveAll() { m_cells.clear(); }
    int GetCount() const { return static_cast<int>(m_cells.size()); }
    BOOL IsEmpty() const { return m_cells.empty(); }

    auto begin() const { return m_cells.begin(); }
    auto end() const { return m_cells.end(); }
    auto erase(std::map<Key, CGridCellCoord>::const_iterator it) { return m_cells.erase(it); }

private:
    std::map<Key, CGridCellCoord> m_cells;
};
