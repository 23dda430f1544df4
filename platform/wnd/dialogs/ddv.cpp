// Range validation of exchanged integers and the combo box index exchange.

#include "platform/wnd/dialogs/ddv.h"

#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/msgbox.h"

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    CString text;
    text.Format("Please enter an integer between %d and %d.", minValue, maxValue);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    auto* combo = dx->m_pDlgWnd ? dynamic_cast<CComboBox*>(dx->m_pDlgWnd->GetDlgItem(id)) : nullptr;
    if (!combo)
        dx->Fail();
    if (dx->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}
