#pragma once
// Cell coordinates and rectangular cell ranges of the grid.

#include "platform/base/types.h"

class CGridCellCoord {
public:
    CGridCellCoord() = default;
    CGridCellCoord(int nRow, int nCol)
        : row(nRow)
        , col(nCol)
    { }

    // Valid when both row and column are 0 or more.
    BOOL IsValid() const { return row >= 0 && col >= 0; }
    friend bool operator==(const CGridCellCoord& a, const CGridCellCoord& b)
    {
        return a.row == b.row && a.col == b.col;
    }

    int row = -1;
    int col = -1;
};

class CGridCellRange {
public:
    CGridCellRange() = default;
    CGridCellRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol)
        : m_nMinRow(nMinRow)
        , m_nMinCol(nMinCol)
        , m_nMaxRow(nMaxRow)
        , m_nMaxCol(nMaxCol)
    { }

    void Set(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
    {
        m_nMinRow = nMinRow;
        m_nMinCol = nMinCol;
        m_nMaxRow = nMaxRow;
        m_nMaxCol = nMaxCol;
    }

    // All four bounds 0 or more and the maxima not below the minima.
    BOOL IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow
            && m_nMinCol <= m_nMaxCol;
    }
    BOOL InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    BOOL InRange(const CGridCellCoord& cell) const { return InRange(cell.row, cell.col); }
    CGridCellCoord GetTopLeft() const { return { m_nMinRow, m_nMinCol }; }
    // Larger minimum and smaller maximum on each side.
    CGridCellRange Intersect(const CGridCellRange& rhs) const
    {
        return { m_nMinRow > rhs.m_nMinRow ? m_nMinRow : rhs.m_nMinRow,
            m_nMinCol > rhs.m_nMinCol ? m_nMinCol : rhs.m_nMinCol,
            m_nMaxRow < rhs.m_nMaxRow ? m_nMaxRow : rhs.m_nMaxRow,
            m_nMaxCol < rhs.m_nMaxCol ? m_nMaxCol : rhs.m_nMaxCol };
    }

    int GetMinRow() const { return m_nMinRow; }
    int GetMinCol() const { return m_nMinCol; }
    int GetMaxRow() const { return m_nMaxRow; }
    int GetMaxCol() const { return m_nMaxCol; }
    void SetMinRow(int n) { m_nMinRow = n; }
    void SetMinCol(int n) { m_nMinCol = n; }
    void SetMaxRow(int n) { m_nMaxRow = n; }
    void SetMaxCol(int n) { m_nMaxCol = n; }
    int Count() const { return IsValid() ? (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1) : 0; }

    friend bool operator==(const CGridCellRange& a, const CGridCellRange& b)
    {
        return a.m_nMinRow == b.m_nMinRow && a.m_nMinCol == b.m_nMinCol && a.m_nMaxRow == b.m_nMaxRow
            && a.m_nMaxCol == b.m_nMaxCol;
    }

private:
    int m_nMinRow = -1;
    int m_nMinCol = -1;
    int m_nMaxRow = -1;
    int m_nMaxCol = -1;
};
