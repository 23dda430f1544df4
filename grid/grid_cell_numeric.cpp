#include "grid/grid_cell_numeric.h"

#include "grid/grid_ctrl.h"
#include "grid/inplace_edit.h"

namespace {

// The text editor with ES_NUMBER: characters other than digits are refused
// (the editing and ending keys still work).
class CNumericInPlaceEdit : public CGridInPlaceEdit {
public:
    using CGridInPlaceEdit::CGridInPlaceEdit;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMap kMap(CGridInPlaceEdit::GetMessageMap(),
            {
                OnWm<WM_CHAR, &CNumericInPlaceEdit::OnNumberChar>(),
                OnMessage<&CNumericInPlaceEdit::OnNumberImeChar>(WM_IME_CHAR),
            });
        return &kMap;
    }

protected:
    void OnNumberChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar >= 0x20 && (nChar < '0' || nChar > '9'))
            return;
        OnChar(nChar, nRepCnt, nFlags);
    }
    LRESULT OnNumberImeChar(WPARAM, LPARAM) { return 0; }
};

} // namespace

BOOL CGridCellNumeric::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    return OpenEditor(nChar, TRUE,
        [&] { return new CNumericInPlaceEdit(m_pGrid, rect, ES_NUMBER, nID, nRow, nCol, GetText(), nChar); });
}
