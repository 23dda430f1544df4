#pragma once
// CTransferGlue: the work screen's transfers. It is the host of both
// transports (the TCP jobs' CTransferHost, the serial walk's CSerialHost) and
// the serial side of the transfer commands (CSerialTransport); it owns the
// transports (CWorkScreenTransports with the progress dialog 147, the
// CSerialTransfer), the serial mailbox 145, the message window 225, the stop
// flag, the count of running transfers, the numbers of a selective read,
// the lamps 1037/1038 and the sales-total loop over the TCP jobs. It runs
// the transfer commands up to the mode split, the scale settings sends, and
// routes message 1324, the messages 1224-1227, 1326 and the timers 150 and
// 200-599. It knows the screen through its state, grid, panels and database
// interfaces, reads the communication settings of CScaleScreens, the preset
// keys and the default values, and starts the sales-total exchanges for
// CResultScreens (CResultExchange).
// UI thread, except GetTransferActive and the stop flag.

#include <atomic>
#include <memory>
#include <vector>

#include "controls/status_lamp.h"
#include "ethernet/transfer_host.h"
#include "screens/result_exchange.h"
#include "screens/result_loop.h"
#include "screens/transfer_ports.h"
#include "serial/kind_mailbox_dlg.h"
#include "serial/serial_host.h"
#include "shell/message_dlg.h"

class CDataExchange;
class CItemDefaults;
class CPresetKeys;
class CScaleScreens;
class CSerialTransfer;
struct SerialOrder;
class CTransferPort;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CTransferGlue : private CTransferHost,
                      private CSerialHost,
                      private CSerialTransport,
                      private CResultExchange {
public:
    CTransferGlue(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CScaleScreens& scales, CPresetKeys& presetKeys, CItemDefaults& defaults);
    virtual ~CTransferGlue();
    CTransferGlue(const CTransferGlue&) = delete;
    CTransferGlue& operator=(const CTransferGlue&) = delete;

    // Binds the lamps 1037 and 1038 of the form.
    void DoDataExchange(CDataExchange* dx);
    // Once the form's window exists: the transports, which become the
    // transfer port unless one was set.
    void CreateTransports();
    // Once the lamps are bound: their pictures.
    void Start();
    // The transport the commands hand their orders to (not owned).
    void SetTransferPort(CTransferPort* port) { m_pTransferPort = port; }
    CWorkScreenTransports* GetTransports() const { return m_pTransports.get(); }
    CSerialTransfer* GetSerialTransfer() const { return m_pSerial.get(); }
    // What the transports see of the screen.
    CTransferHost& Host() { return *this; }
    CSerialHost& SerialHost() { return *this; }
    // What the sales-total screens start.
    CResultExchange& Results() { return *this; }

    // The commands' shared start: pre-checks, the reset of the transfer
    // state, then the order to the transport of the chosen mode.
    void StartTransfer(TransferCommand command, TransferScope scope, BOOL checkRows, BOOL confirm);
    // The numbers of a selective read: none, or those of edit 1026 ("1",
    // "1,2", "1-4"); FALSE (after saying why) when the text is refused.
    void ClearReceiveNumbers();
    BOOL ReadReceiveNumbers();
    // Button 1030.
    void OnTransStop();
    // Trans of the scale settings screens: the clicked row to the chosen scales.
    void SendScaleInfo();
    void SendScaleRootInfo();
    // The POS check of an item send: one line per failing row of scope.
    CString CheckPosCodes(TransferScope scope);
    const CMessageDlg& MessageDialog() const { return m_messageDlg; }

    // Message 1324, the serial messages 1224-1227, and the timers 150 and
    // 200-599 (FALSE for other ids).
    void OnTransSocketData(UINT_PTR token);
    LRESULT OnSerialMessage(UINT message);
    BOOL OnTimer(UINT_PTR id);
    // The transfers running now, over both transports. Any thread.
    int GetTransferActive() const { return m_nTransferActive.load(); }

    // The sales-total loop over the TCP jobs (started through Results()):
    // the step of scale index, message 1326, and the loop's posted next step.
    void ResultLoopStep(int index);
    void OnResultStepDone();
    void OnResultLoopNext();

private:
    // CTransferScreenHost
    HWND GetTransferWindow() override;
    int GetGridRowCount() override;
    CString GetGridItemText(int row, int column) override;
    int GetCurrentGridRow() override;
    GridPicks GetTransferSelection() override;
    int GetPresetPage() override;
    std::vector<CString> GetPresetKeyTexts() override;
    int GetPresetReadPage() override;
    CString GetUserId() override;
    CString GetItemDbPath() override;
    int LoadDefaultValues() override;
    void SetTransferActive(int active) override;
    void NoteReceivedRecord(const CString& request, const CString& sql) override;
    void ShowTransferProgress(const CString& text) override;
    // CTransferHost
    int GetEthernetStop() override { return m_nEthernetStop.load(); }
    void SetEthernetStop(int stop) override { m_nEthernetStop.store(stop); }
    // CSerialHost
    CString GetSerialText(int id) override { return m_serialMailbox.Text(id); }
    void SetSerialText(int id, const CString& text) override { m_serialMailbox.SetText(id, text); }
    int GetGridColumnCount() override;
    std::vector<int> GetRequestNumbers() override;
    void FlashSendLamp() override;
    void FlashRecvLamp() override;
    CString MakeReceivedDataPath(const CString& scaleId) override;
    void EnableItemTransButtons(BOOL enable) override;
    void EnableScaleTransButtons(BOOL enable) override;
    void EnableTransStopButton(BOOL enable) override;
    // CSerialTransport
    void StartSerialTransfer(const TransferOrder& order) override;
    void StopTransfer() override;
    // CResultExchange
    void StartResultLoop(const ResultLoopOrder& order) override;
    void StartSerialOrder(const SerialOrder& order) override;
    BOOL IsResultLoopRunning() const override;
    void ClearSerialMailbox() override;

    // The order of the current screen for command and scope.
    TransferOrder MakeOrder(TransferCommand command, DataKind kind, TransferScope scope) const;
    // The state reset and port check both scale sends start with.
    BOOL BeginScaleSend();
    // Starts the serial walk of order with the rows it sends, taken now; a
    // refused start takes none.
    void StartSerialWalk(SerialOrder order);

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CScaleScreens& m_scales;
    CPresetKeys& m_presetKeys;
    CItemDefaults& m_defaults;
    CKindMailboxDlg m_serialMailbox; // 145
    CMessageDlg m_messageDlg; // 225
    CStatusLamp m_lampSend; // 1037
    CStatusLamp m_lampRecv; // 1038
    CTransferPort* m_pTransferPort = nullptr;
    std::unique_ptr<CWorkScreenTransports> m_pTransports;
    std::unique_ptr<CSerialTransfer> m_pSerial;
    std::unique_ptr<CResultLoop> m_pResultLoop;
    // Set by the progress dialog's Stop and Close, read by the TCP jobs.
    std::atomic<int> m_nEthernetStop { 0 };
    std::atomic<int> m_nTransferActive { 0 };
    // The numbers of a selective read, ended by the first 0.
    std::vector<int> m_recvNumbers;
    CString m_strReceivedDataPath; // the serial reads' database, kept for the run
};
