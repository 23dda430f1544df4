#pragma once
// A cell that holds a time and is edited with a date-time picker. With style 0
// the text is the date "%d/%m/%Y", with DTS_TIMEFORMAT the time "%H:%M:%S".

#include "grid/grid_cell.h"
#include "platform/base/datetime.h"

class CGridCellDateTime : public CGridCell {
public:
    static constexpr const char* kClassName = "CGridCellDateTime";

    // The current time, style 0; the text is left as it is.
    CGridCellDateTime();
    // Init(dwStyle).
    explicit CGridCellDateTime(DWORD dwStyle);
    // The style, the current time (SetTime) and a centred format.
    void Init(DWORD dwStyle);

    // Stores the time and sets the text from it by the style (other styles
    // leave the text).
    void SetTime(CTime time);
    // The cell's own time; the picker reads and writes it.
    CTime* GetTime() { return &m_cTime; }
    DWORD GetStyle() const { return m_dwStyle; }

    CWnd* GetEditWnd() const override;
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;

protected:
    CTime m_cTime;
    DWORD m_dwStyle = 0;
};
