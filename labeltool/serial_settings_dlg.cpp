// The serial settings dialog, and the label data viewer's port: Serial Join
// and Not Join.

#include "labeltool/serial_settings_dlg.h"

#include <cstdlib>
#include <iterator>

#include "labeltool/label_data_bar.h"
#include "platform/wnd/controls/combobox.h"
#include "platform/wnd/core/msgbox.h"
#include "platform/wnd/dialogs/ddv.h"

namespace {

constexpr const char* kPorts[] = { "1", "2", "3", "4" };
constexpr const char* kBauds[] = { "38400", "19200", "9600", "2400", "1200", "300" };
constexpr const char* kParities[] = { "None", "Odd", "Even", "Mark", "Space" };
constexpr const char* kDataBits[] = { "8", "7", "6" };
constexpr const char* kStopBits[] = { "1", "1.5", "2" };
constexpr const char* kSendBuffers[] = { "256", "512", "1024", "2048", "4096" };

struct EventBox {
    int id;
    DWORD bit;
};
constexpr EventBox kEventBoxes[] = { { IDC_EVENT_BREAK, 0x40 }, { IDC_EVENT_CTS, 0x08 },
    { IDC_EVENT_DSR, 0x10 }, { IDC_EVENT_ERROR, 0x80 }, { IDC_EVENT_RING, 0x100 }, { IDC_EVENT_RLSD, 0x20 },
    { IDC_EVENT_RXCHAR, 0x01 }, { IDC_EVENT_RXFLAG, 0x02 }, { IDC_EVENT_TXEMPTY, 0x04 } };

template <std::size_t N> const char* Entry(const char* const (&entries)[N], int index)
{
    return entries[index >= 0 && static_cast<std::size_t>(index) < N ? index : 0];
}

template <std::size_t N> int IndexOf(const char* const (&entries)[N], UINT value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<UINT>(std::atoi(entries[i])) == value)
            return static_cast<int>(i);
    return -1;
}

constexpr UINT kFirstBaud = 38400;
constexpr UINT kFirstBuffer = 512;
constexpr DWORD kFirstEvents = EV_RXCHAR | EV_CTS;

} // namespace

int SerialBaudIndex(UINT baud)
{
    return IndexOf(kBauds, baud);
}

int SerialSendBufferIndex(UINT size)
{
    return IndexOf(kSendBuffers, size);
}

CSerialSettingsDlg::CSerialSettingsDlg(CWnd* parent)
    : CDialog(IDD, parent)
{ }

BOOL CSerialSettingsDlg::OnInitDialog()
{
    const auto fill = [this](int id, auto& entries) {
        if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id)))
            for (const char* entry : entries)
                combo->AddString(entry);
    };
    fill(IDC_SERIAL_PORT, kPorts);
    fill(IDC_SERIAL_BAUD, kBauds);
    fill(IDC_SERIAL_PARITY, kParities);
    fill(IDC_SERIAL_DATA_BITS, kDataBits);
    fill(IDC_SERIAL_STOP_BITS, kStopBits);
    fill(IDC_SERIAL_SEND_BUFFER, kSendBuffers);
    return CDialog::OnInitDialog();
}

void CSerialSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_CBIndex(dx, IDC_SERIAL_PORT, m_portIndex);
    DDX_CBIndex(dx, IDC_SERIAL_BAUD, m_baud);
    DDX_CBIndex(dx, IDC_SERIAL_PARITY, m_parity);
    DDX_CBIndex(dx, IDC_SERIAL_DATA_BITS, m_dataBits);
    DDX_CBIndex(dx, IDC_SERIAL_STOP_BITS, m_stopBits);
    DDX_CBIndex(dx, IDC_SERIAL_SEND_BUFFER, m_sendBuffer);
    DWORD mask = 0;
    for (const EventBox& box : kEventBoxes) {
        int checked = (m_eventMask & box.bit) ? 1 : 0;
        DDX_Check(dx, box.id, checked);
        if (checked)
            mask |= box.bit;
    }
    m_eventMask = mask;
}

CString CSerialSettingsDlg::GetBaudText() const
{
    return Entry(kBauds, m_baud);
}
CString CSerialSettingsDlg::GetParityText() const
{
    return Entry(kParities, m_parity);
}
CString CSerialSettingsDlg::GetDataBitsText() const
{
    return Entry(kDataBits, m_dataBits);
}
CString CSerialSettingsDlg::GetStopBitsText() const
{
    return Entry(kStopBits, m_stopBits);
}
UINT CSerialSettingsDlg::GetSendBufferSize() const
{
    return static_cast<UINT>(std::atoi(Entry(kSendBuffers, m_sendBuffer)));
}

// ---- the viewer's port -------------------------------------------------------

namespace {

void ShowPortFailure(int portIndex)
{
    AfxMessageBox(CString::Formatted("COM%d PORT can't open.", portIndex + 1), MB_OK | MB_ICONSTOP);
}

} // namespace

// The port opens with the first settings, the dialog shows them, and OK opens
// it again with the chosen ones. Cancel closes it: nothing stays held.
BOOL CLabelDataBar::OpenSerialPort()
{
    CloseSerialPort();
    m_port = std::make_unique<CSerialPort>();
    // The monitoring thread reports without waiting: the box is shown on the
    // user-interface thread, which may be closing the port meanwhile.
    m_port->SetErrorHook([window = GetSafeHwnd()](const CString& text) {
        auto* posted = new CString(text);
        if (!::PostMessage(window, WM_SERIAL_ERROR, 0, reinterpret_cast<LPARAM>(posted)))
            delete posted;
    });
    if (!m_port->InitPort(
            static_cast<UINT>(m_portIndex + 1), kFirstBaud, 'N', 8, 1, kFirstEvents, kFirstBuffer)) {
        ShowPortFailure(m_portIndex);
        m_port.reset();
        return FALSE;
    }
    CSerialSettingsDlg dialog(this);
    dialog.m_portIndex = m_portIndex;
    dialog.m_baud = SerialBaudIndex(kFirstBaud);
    dialog.m_sendBuffer = SerialSendBufferIndex(kFirstBuffer);
    dialog.m_eventMask = kFirstEvents;
    if (dialog.DoModal() != IDOK) {
        CloseSerialPort();
        return FALSE;
    }
    const int previous = m_portIndex;
    m_portIndex = dialog.m_portIndex;
    m_eventMask = dialog.m_eventMask;
    m_sendBufferSize = dialog.GetSendBufferSize();
    m_baudText = dialog.GetBaudText();
    m_parityText = dialog.GetParityText();
    m_dataBitsText = dialog.GetDataBitsText();
    m_stopBitsText = dialog.GetStopBitsText();
    const UINT port = static_cast<UINT>(m_portIndex + 1);
    m_port->SetByteHandler([window = GetSafeHwnd(), port](BYTE byte) {
        ::PostMessage(window, WM_SERIAL_CHAR, byte, static_cast<LPARAM>(port));
    });
    if (!m_port->InitPort(port, static_cast<UINT>(std::atoi(m_baudText)), m_parityText[0],
            static_cast<UINT>(std::atoi(m_dataBitsText)), static_cast<UINT>(std::atoi(m_stopBitsText)),
            m_eventMask, m_sendBufferSize)) {
        ShowPortFailure(m_portIndex);
        m_portIndex = previous;
        m_port.reset();
        return FALSE;
    }
    m_portOpen = m_port->StartMonitoring();
    return m_portOpen;
}

void CLabelDataBar::CloseSerialPort()
{
    StopExchange();
    m_port.reset();
    m_portOpen = FALSE;
}

CString CLabelDataBar::GetLineText() const
{
    return CString::Formatted("COM%d ", m_portIndex + 1) + m_baudText + " " + m_parityText + " "
        + m_dataBitsText + " " + m_stopBitsText;
}

// A failing port is told once, while an exchange runs on it, and ends that
// exchange; later failures of the same line (the thread's reads, the resends)
// and failures outside an exchange (a join that fails says so) are not.
LRESULT CLabelDataBar::OnSerialError(WPARAM, LPARAM lParam)
{
    const std::unique_ptr<CString> text(reinterpret_cast<CString*>(lParam));
    if (!m_exchanging)
        return 0;
    StopExchange();
    ::MessageBox(GetSafeHwnd(), *text, "Application Error", MB_OK | MB_ICONSTOP);
    ShowBox("Error - Communication");
    return 0;
}
