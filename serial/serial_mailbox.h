#pragma once
// SerialMailbox: the seven edits of the work screen's hidden dialog 145
// (CKindMailboxDlg) that carry words between the work screen, the serial
// engine and the scale link. Every value is a text.

#include "protocol/data_kinds.h"
#include "protocol/serial_words.h"
#include "resources/calvorn_ids.h"

inline constexpr int kSerialMailboxEdits[] = { IDC_SERIAL_COMMAND, IDC_SERIAL_KIND, IDC_SERIAL_SCOPE,
    IDC_SERIAL_STEP, IDC_SERIAL_STATUS, IDC_SERIAL_REPLY, IDC_SERIAL_NO_ITEM };
