#pragma once
// CSerialSettingsDlg (dialog 135): port, baud rate, parity, data bits, stop
// bits, send buffer and line events of the label tool's serial port.

#include "platform/base/cstring.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/tarnel_ids.h"

class CSerialSettingsDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_SERIAL_SETTINGS;

    explicit CSerialSettingsDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // Chosen values as the combos show them.
    CString GetBaudText() const;
    CString GetParityText() const;
    CString GetDataBitsText() const;
    CString GetStopBitsText() const;
    UINT GetSendBufferSize() const;

    int m_portIndex = 0; // 0-based: "1" to "4"
    int m_baud = 0; // indices of the combos' entries
    int m_parity = 0;
    int m_dataBits = 0;
    int m_stopBits = 0;
    int m_sendBuffer = 1;
    DWORD m_eventMask = 0;
};

// The combo indices of settings given as texts and numbers (-1 when not offered).
int SerialBaudIndex(UINT baud);
int SerialSendBufferIndex(UINT size);
