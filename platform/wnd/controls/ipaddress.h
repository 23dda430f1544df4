#pragma once
// CIPAddressCtrl: the IP address common control ("SysIPAddress32"). Its
// window text is the dotted address as typed; the user may type digits and
// dots only. UI thread.

#include "platform/wnd/core/wnd.h"

class CIPAddressCtrl : public CWnd {
public:
    // The first one makes dialog templates' address controls CIPAddressCtrl
    // objects with an address field.
    CIPAddressCtrl();
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The four fields of a complete dotted address (each 0-255); the number
    // of fields given (4), or 0 when the text is no such address.
    int GetAddress(BYTE& field0, BYTE& field1, BYTE& field2, BYTE& field3) const;
    void SetAddress(BYTE field0, BYTE field1, BYTE field2, BYTE field3);
    // TRUE when no field holds anything.
    BOOL IsBlank() const;
    void ClearAddress() { SetWindowText(""); }
};
