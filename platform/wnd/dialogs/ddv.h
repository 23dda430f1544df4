#pragma once
// Dialog data validation and the combo box index exchange, beside the text
// exchanges of dialog.h.

#include "platform/wnd/dialogs/dialog.h"

// While saving: a value outside min..max shows "Please enter an integer
// between %d and %d." with the two bounds and fails the exchange.
// Filling: nothing.
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);

// The selected index of a combo box (-1 for none) and a member.
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
