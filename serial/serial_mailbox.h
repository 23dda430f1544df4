#pragma once
// SerialMailbox: the seven edits of the work screen's hidden dialog 145
// (CKindMailboxDlg) that carry words between the work screen, the serial
// engine and the scale link. Every value is a text.

#include "protocol/data_kinds.h"
#include "protocol/serial_words.h"

inline constexpr int kSerialCommandEdit = 1020; // mode: Word(TransferCommand)
inline constexpr int kSerialKindEdit = 1021; // Word(DataKind)
inline constexpr int kSerialScopeEdit = 1001; // Word(TransferScope)
inline constexpr int kSerialStepEdit = 1022; // step word ("OPEN" ...); result word after a refusal
inline constexpr int kSerialStatusEdit = 1023; // frame length before a command, status word after a report
inline constexpr int kSerialReplyEdit = 1024; // reply kind: "Report" after every report
inline constexpr int kSerialNoItemEdit = 1025; // "NOITEM" mark

inline constexpr int kSerialMailboxEdits[] = { kSerialCommandEdit, kSerialKindEdit, kSerialScopeEdit,
    kSerialStepEdit, kSerialStatusEdit, kSerialReplyEdit, kSerialNoItemEdit };
