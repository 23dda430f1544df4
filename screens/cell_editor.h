#pragma once
// CCellEditor: cell editing on the table screens. An edited cell gets its
// placeholder when emptied, is checked against its column's limits and is
// written to the item database at once (the table bridge's UpdateCell), or
// refused with a message and the focus kept on it. The grid's
// WM_GRID_CELLEDITED comes here. Lengths count CP949 bytes (an item name
// holds 28 bytes: 14 Hangul syllables).

#include "platform/base/cstring.h"
#include "platform/wnd/core/cmdtarget.h"
#include "protocol/data_kinds.h"
#include "protocol/plu_fields.h"

class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenState;

class CCellEditor : public CCmdTarget {
public:
    explicit CCellEditor(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenDatabase& data);

    const MessageMap* GetMessageMap() const override;

    // The cell (row, column) as the user left it: checked, then written.
    void OnGridCellEdited(int row, int column);
    // 1 when the cell's text fits its column on a screen of kind (the data
    // kind), else 0 after the refusal message.
    [[nodiscard]] int ValidateCell(int row, int column, DataKind kind);
    // The same for item field index field (0 ITEM_NUM ... 15 ID).
    [[nodiscard]] int ValidateItemField(PluField field, int row, int column);

private:
    // WM_GRID_CELLEDITED: wParam the row, lParam the column.
    LRESULT OnCellEditedMessage(WPARAM wParam, LPARAM lParam);
    void RefuseCell(const CString& english, const CString& korean, int row, int column);
    void WarnOfLongPosCode(const CString& kind, int row);

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenDatabase& m_data;
};
