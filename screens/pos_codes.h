#pragma once
// The POS codes each POS kind admits ("1" Kan-8, "2" Kan-13 Fixation, "3"
// 4State_37, anything else Kan-13), and the message that names the limit.
// Lengths count CP949 bytes; the value is that of the leading digits.

#include "platform/base/cstring.h"

struct PosCodeMessage {
    const char* english;
    const char* korean;
};

BOOL PosCodeAccepted(const CString& posKind, const CString& code);
PosCodeMessage PosCodeMessageFor(const CString& posKind);
