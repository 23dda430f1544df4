#pragma once
// The label data viewer: a dialog bar (template 138) on the frame's left in
// which the user edits the label values. Every edit is read at once and
// announced to the preview as a change notice; moved items and cassette
// changes come back as values. It also keeps the scale and file numbers,
// the RS-232 Alone/Multi choice, the Tx/Rx lamps, the terminal settings, the
// label file commands, the serial port and the exchange that sends a label
// to a scale or fetches one (over the port, or over TCP through the Ethernet
// dialog).

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "controls/status_lamp.h"
#include "labeltool/label_link_line.h"
#include "labeltool/label_values.h"
#include "platform/serial/serial_port.h"
#include "platform/wnd/docview/dialogbar.h"
#include "resources/tarnel_ids.h"

// A byte of the serial line (wParam), from port lParam.
inline constexpr UINT WM_SERIAL_CHAR = 0x407;
// A failed port call's text (lParam: a CString the handler deletes).
inline constexpr UINT WM_SERIAL_ERROR = 0x409;

// A dialog bar that fills its controls from its members once it is built
// (WM_BAR_INITDATA, posted to itself on creation), then runs OnInitDialogBar.
class CInitDialogBar : public CDialogBar {
public:
    CInitDialogBar();
    ~CInitDialogBar() override;

    const MessageMap* GetMessageMap() const override;
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;

    virtual void DoDataExchange(CDataExchange* dx);
    // FALSE when the exchange failed (its box has been shown).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual BOOL OnInitDialogBar();

protected:
    LRESULT OnInitData(WPARAM wParam, LPARAM lParam);
};

// A send or receive lamp: a cell of bitmap 134 (3 columns, 8 rows of 32 x 32).
class CLedLamp : public CStatusLamp {
public:
    static constexpr UINT kBitmap = 134;
    static constexpr int kIdleRow = 32;
    static constexpr int kOffColumn = 1;

    CLedLamp();
    // Colour row (pixels), column and index added to the row; repaints at once.
    void SetState(int colourOffset, int column, int index) { SetImage(colourOffset, column, index); }
};

// Waits of the serial exchange; tests shorten them.
struct LabelLinkTimings {
    UINT replyMs = 2000; // a sent frame's reply
    UINT packetStartMs = 300; // from the acknowledge of the data to the end of the join
    UINT pauseMs = 500; // before the next frame, under a timer
};

// Steps of the serial exchange (the frame each sends).
enum LinkSendState {
    kLinkDone = 0,
    kLinkFailed = 5,
    kLinkJoin = 10,
    kLinkAcknowledge = 11,
    kLinkSendLabel = 20,
    kLinkRequestLabel = 30,
    kLinkEndJoin = 90,
};

inline constexpr UINT_PTR IDT_JOIN_REPLY = 1020;
inline constexpr UINT_PTR IDT_PACKET_REPLY = 1200;
inline constexpr UINT_PTR IDT_LINK_PAUSE = 1201;
inline constexpr std::size_t kTransmitImageSize = 120;
using TransmitImage = std::array<std::uint8_t, kTransmitImageSize>;

class CLabelDataBar : public CInitDialogBar {
public:
    static constexpr UINT IDD = IDD_LABEL_DATA_BAR;

    CLabelDataBar();
    ~CLabelDataBar() override;

    const MessageMap* GetMessageMap() const override;
    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;
    void DoDataExchange(CDataExchange* dx) override;

    // File > Open and File > Save As; TRUE when the file was saved.
    void OnOpenLabelFile();
    BOOL OnSaveLabelFileAs();
    // TRUE when the values differ from the ones last opened, saved or received.
    BOOL IsModified() const { return m_values != m_savedValues; }
    // Before the values are dropped: asks to save them when they changed
    // (into the label's file when it has one, else as Save As does); FALSE
    // when the user stays.
    BOOL SaveModified();
    // The label file at path, with its boxes; TRUE on success.
    BOOL ReadLabelFile(const CString& path);
    BOOL WriteLabelFile(const CString& path);

    const LabelValues& GetValues() const { return m_values; }
    int GetLinkMode() const { return m_linkMode; }
    int GetPortIndex() const { return m_portIndex; }
    void SetTransferMode(int mode) { m_transferMode = mode; }
    // Shows the values, then announces the label size values that are in
    // range (setting an edit's text from code notifies nothing).
    void RefreshControls();

    // Serial Join: the settings dialog, then the port; TRUE when it is open.
    BOOL OpenSerialPort();
    // Not Join: the port is closed and destroyed.
    void CloseSerialPort();
    BOOL IsPortOpen() const { return m_portOpen; }
    // "COM<n> <baud> <parity> <data bits> <stop bits>" of the open port.
    CString GetLineText() const;

    // Get and Put over the serial port: checks, then the exchange from the join.
    void StartGet();
    void StartPush();
    // Get and Put over TCP, through the Ethernet dialog.
    void GetByTcp();
    void PushByTcp();
    // TRUE while a serial exchange runs.
    BOOL IsExchanging() const { return m_exchanging; }
    void SetLinkTimings(const LabelLinkTimings& timings) { m_timings = timings; }

    CLedLamp m_txLamp;
    CLedLamp m_rxLamp;

protected:
    void OnEditChanged(UINT id);
    void OnComboChanged(UINT id);
    void OnAlone();
    void OnMulti();
    LRESULT OnItemMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnCassetteChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    LRESULT OnSerialChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnSerialError(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);

private:
    void FillCombos();
    void LoadTerminalSettings();
    void SaveTerminalSettings();
    void ExchangeValues(CDataExchange* dx);
    void Announce(const LabelChangeNotice& notice);
    void AnnounceFont(int item);
    void SetLinkMode(int mode);

    // The exchange (label_data_bar_link.cpp).
    BOOL CheckTransferInput(BOOL push);
    void StartExchange(int nextState);
    // Ends the exchange: timers stopped, later bytes ignored; End also shows box.
    void StopExchange();
    void EndExchange(const char* box);
    void RunSendState(BOOL buildOnly);
    void BuildState();
    void SendImage();
    void OnJoinReply(std::span<const std::uint8_t> reply);
    void ParseLinkFrame(std::span<const std::uint8_t> frame);
    void OnDataFrame(std::span<const std::uint8_t> frame);
    void AcknowledgeAndEnd();
    void SendNextState();
    // Waits the pause under its timer, the window answering meanwhile, then
    // sends the next step's frame (or the acknowledge of the scale's answer).
    void PauseThenSend(BOOL acknowledge);
    void SendAcknowledge();
    void RestartTimer(UINT_PTR id, UINT ms);
    void StopTimers();
    std::array<char, 2> ScaleDigits() const;
    // Applies a received record whose values the viewer takes; else the
    // refusal's box text, and the values stay.
    std::optional<std::string> ApplyUserLabelRecord(std::span<const std::uint8_t> record);
    BOOL RunEthernetDialog(int direction);
    void ShowBox(const char* text);

    // The limits Save As holds the values to; FALSE after the box.
    BOOL CheckSaveLimits() const;

    LabelValues m_values;
    LabelValues m_savedValues;
    // The file the values were last opened from or saved to; empty for
    // values received from a scale.
    CString m_strLabelPath;
    int m_scaleNumber = 98;
    int m_fileNumber = 1;
    int m_linkMode = 0;
    int m_transferMode = 0;
    // Terminal settings.
    int m_bkColor = 0xFF0000;
    int m_fgColor = 0xFFFF00;
    int m_pos = -1;
    int m_pointSize = 90;
    CString m_faceName = "Terminal";
    int m_onTop = 0;
    int m_portIndex = 0;
    int m_flow = 0;
    BOOL m_settingsLoaded = FALSE;

    // The serial port and the texts of its settings.
    std::unique_ptr<CSerialPort> m_port;
    BOOL m_portOpen = FALSE;
    DWORD m_eventMask = EV_RXCHAR | EV_CTS;
    UINT m_sendBufferSize = 512;
    CString m_baudText = "38400";
    CString m_parityText = "None";
    CString m_dataBitsText = "8";
    CString m_stopBitsText = "1";
    friend class CSerialSettingsDlg;

    // The exchange.
    LabelLinkTimings m_timings;
    int m_state = kLinkDone;
    int m_nextState = kLinkDone;
    TransmitImage m_transmit {};
    std::size_t m_transmitLength = 0; // header and payload
    TransmitImage m_receivedFrame {};
    LabelLineDecoder m_line;
    BOOL m_exchanging = FALSE;
    BOOL m_joined = FALSE;
    BOOL m_waiting = FALSE;
    BOOL m_packetTimerArmed = FALSE;
    BOOL m_dataAwaited = FALSE;
    BOOL m_recordPending = FALSE;
    BOOL m_refused = FALSE; // the scale refused the request
    BOOL m_pausing = FALSE; // bytes that come during the pause answer nothing
    BOOL m_acknowledgeAfterPause = FALSE;
    int m_retries = 0;
};
