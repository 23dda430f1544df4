#pragma once
// CTransferGlue: the work screen's transfers. It takes the transfer commands
// with their buttons and edits: Trans 1009, Select Trans 1010, All Receive
// 1001, Select Receive 1002 with the numbers 1026, the scale settings'
// Trans 1025, All Receive 1027 with the page 1028 and Select Receive 1029,
// Trans Stop 1030, and the settings screens' Trans 1013; it runs them up to
// the mode split, builds the order (TransferOrder), lets the transport
// (CTransferPort) check it, takes the rows it sends and hands it over. It
// owns the transports (CWorkScreenTransports: the TCP jobs with the progress
// dialog 147 and the CSerialTransfer), their hosts (CTransferHosts), the
// message window 225 and the sales-total loop over the TCP jobs, and takes their messages 1324, 1224-1227 and
// 1326 and the loop's next step; the view's OnTimer hands it the timers 150 and 200-599. It knows the screen
// through its state, grid, panels and database interfaces, reads the communication settings of CScaleScreens,
// the clicked row of CGridRows, the preset keys' texts and page (CPresetKeys) and the default values
// (CItemDefaults), never the other way; it starts the sales-total exchanges for CResultScreens
// (CResultExchange) and the user labels screen's transfers. CReservations reads its transfers' active count.
// UI thread, except GetTransferActive.

#include <memory>

#include <span>

#include "controls/xp_button.h"
#include "platform/wnd/controls/edit.h"
#include "platform/wnd/core/cmdtarget.h"
#include "screens/result_exchange.h"
#include "screens/result_loop.h"
#include "screens/transfer_hosts.h"
#include "screens/transfer_ports.h"
#include "screens/work_screen_panels.h"
#include "shell/message_dlg.h"

class CDataExchange;
class CGridRows;
class CItemDefaults;
class CPresetKeys;
class CScaleScreens;
class CSerialTransfer;
class CTransferPort;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CTransferGlue : public CCmdTarget, private CResultExchange {
public:
    CTransferGlue(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CScaleScreens& scales, CPresetKeys& presetKeys, CItemDefaults& defaults,
        const CGridRows& rows);
    ~CTransferGlue() override;

    const MessageMap* GetMessageMap() const override;
    // Binds the buttons, the edits 1026 and 1028 and the lamps 1037 and 1038
    // of the form.
    void DoDataExchange(CDataExchange* dx);
    // The panel controls it owns, with their groups and captions.
    static std::span<const PanelControl> PanelControls();
    // Once the form's window exists: the transports, which become the
    // transfer port unless one was set.
    void CreateTransports();
    // The transport the commands hand their orders to (not owned).
    void SetTransferPort(CTransferPort* port) { m_pTransferPort = port; }
    CWorkScreenTransports* GetTransports() const { return m_pTransports.get(); }
    CSerialTransfer* GetSerialTransfer() const { return m_pTransports ? &m_pTransports->Serial() : nullptr; }
    // What the transports see of the screen (the host of both).
    CTransferHosts& Hosts() { return m_hosts; }
    // What the sales-total screens start.
    CResultExchange& Results() { return *this; }

    // The commands' shared start: pre-checks, the reset of the transfer
    // state, then the order to the transport of the chosen mode.
    void StartTransfer(TransferCommand command, TransferScope scope, BOOL checkRows, BOOL confirm);
    // A whole read: no numbers of a selective read.
    void ClearReceiveNumbers() { m_hosts.SetReceiveNumbers({}); }
    // The POS check of an item send: one line per failing row of scope.
    CString CheckPosCodes(TransferScope scope);
    const CMessageDlg& MessageDialog() const { return m_messageDlg; }

    // The timers 150 and 200-599 (FALSE for other ids).
    BOOL OnTimer(UINT_PTR id);
    // The transfers running now, over both transports. Any thread.
    int GetTransferActive() const { return m_hosts.GetTransferActive(); }

private:
    // The seven start buttons (1001, 1002, 1009, 1010, 1025, 1027, 1029),
    // told apart by id.
    void OnTransferCommand(UINT id);
    // Button 1030.
    void OnTransStop();
    // Trans 1013 of the scale settings screens: the clicked row to the
    // chosen scales.
    void OnScaleInfoTrans();
    // Messages 1324 (wParam = a job token), 1224-1227 (the serial engine's),
    // 1326 and the loop's posted next step.
    LRESULT OnTransSocketData(WPARAM token, LPARAM lParam);
    template <UINT message> LRESULT OnSerialMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnResultStepDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnResultLoopNext(WPARAM wParam, LPARAM lParam);

    // CResultExchange
    void StartResultExchange(TransferCommand command, DataKind kind) override;
    BOOL IsResultLoopRunning() const override;

    // The numbers of edit 1026 ("1", "1,2", "1-4"); FALSE (after saying why)
    // when the text is refused.
    BOOL ReadReceiveNumbers();
    // The order of command, kind and scope to the chosen scales over the
    // chosen mode's transport, without its rows.
    TransferOrder MakeOrder(TransferCommand command, DataKind kind, TransferScope scope);
    // Lets port check order, takes the rows it sends (read once, now: they
    // go whatever the screen shows later) and starts it; a refused order
    // takes none.
    void Dispatch(CTransferPort* port, TransferOrder order);
    // The state reset and port check both scale sends start with.
    BOOL BeginScaleSend();
    void SendScaleInfo();
    void SendScaleRootInfo();

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CScaleScreens& m_scales;
    const CGridRows& m_rows;
    CTransferHosts m_hosts;
    CMessageDlg m_messageDlg; // IDD_MESSAGE
    CTransferPort* m_pTransferPort = nullptr;
    std::unique_ptr<CWorkScreenTransports> m_pTransports;
    std::unique_ptr<CResultLoop> m_pResultLoop;
    CXPButton m_btnTransAll; // IDC_WORK_TRANS_ALL
    CXPButton m_btnTransSelect; // IDC_WORK_TRANS_SELECT
    CXPButton m_btnRecvAll; // IDC_WORK_RECV_ALL
    CXPButton m_btnRecvSelect; // IDC_WORK_RECV_SELECT
    CEdit m_editRecvNumbers; // IDC_WORK_RECV_NUMBERS
    CXPButton m_btnScaleTrans; // IDC_WORK_SCALE_TRANS
    CXPButton m_btnScaleRecvAll; // IDC_WORK_SCALE_RECV_ALL
    CEdit m_editScaleRecvPage; // IDC_WORK_SCALE_RECV_PAGE
    CXPButton m_btnScaleRecvSelect; // IDC_WORK_SCALE_RECV_SELECT
    CXPButton m_btnTransStop; // IDC_WORK_TRANS_STOP
};
