#pragma once
// CTransferHosts: what both transports see of the work screen: the host of
// the TCP jobs (CTransferHost) and of the serial walk (CSerialHost). It reads
// the grid and its clicked row (CGridRows), the preset keys, the logged-in
// manager, the item database and the default values; it owns the serial mailbox 145, the Ethernet stop flag,
// the count of running transfers, the numbers of a selective read, the database of the run's serial reads and
// the lamps 1037/1038, and writes the progress edit 1039. It knows the screen through its state, grid, panels
// and database interfaces. UI thread, except GetTransferActive and the stop flag.

#include <atomic>
#include <map>
#include <vector>

#include "controls/status_lamp.h"
#include "ethernet/transfer_host.h"
#include "serial/kind_mailbox_dlg.h"
#include "serial/serial_host.h"

class CDataExchange;
class CGridRows;
class CItemDefaults;
class CPresetKeys;
class CWorkScreenDatabase;
class CWorkScreenGrid;
class CWorkScreenPanels;
class CWorkScreenState;

class CTransferHosts : private CTransferHost, private CSerialHost {
public:
    CTransferHosts(CWorkScreenState& screen, CWorkScreenGrid& grid, CWorkScreenPanels& panels,
        CWorkScreenDatabase& data, CPresetKeys& presetKeys, CItemDefaults& defaults, const CGridRows& rows);
    virtual ~CTransferHosts() = default;
    CTransferHosts(const CTransferHosts&) = delete;
    CTransferHosts& operator=(const CTransferHosts&) = delete;

    // Binds the lamps 1037 and 1038 of the form.
    void DoDataExchange(CDataExchange* dx);
    // Once the lamps are bound: their pictures.
    void Start();
    // What the TCP jobs and the serial walk see.
    CTransferHost& Host() { return *this; }
    CSerialHost& SerialHost() { return *this; }
    // The transfers running now, over both transports. Any thread.
    int GetTransferActive() const { return m_nTransferActive.load(); }
    // Empties the serial mailbox's edits.
    void ClearSerialMailbox() { m_serialMailbox.ClearAll(); }
    // The numbers of a selective read as typed: those up to the first 0, each
    // once, become GetRequestNumbers (none: a whole read).
    void SetReceiveNumbers(const std::vector<int>& typed);

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
    std::vector<int> GetRequestNumbers() override { return m_recvNumbers; }
    void FlashSendLamp() override;
    void FlashRecvLamp() override;
    CString MakeReceivedDataPath(const CString& scaleId) override;
    BOOL MakeReceivedDatabase(const CString& path) override;
    void EnableItemTransButtons(BOOL enable) override;
    void EnableScaleTransButtons(BOOL enable) override;
    void EnableTransStopButton(BOOL enable) override;

    CWorkScreenState& m_screen;
    CWorkScreenGrid& m_grid;
    CWorkScreenPanels& m_panels;
    CWorkScreenDatabase& m_data;
    CPresetKeys& m_presetKeys;
    CItemDefaults& m_defaults;
    const CGridRows& m_rows;
    CKindMailboxDlg m_serialMailbox; // IDD_KIND_MAILBOX
    CStatusLamp m_lampSend; // IDC_WORK_SEND_LAMP
    CStatusLamp m_lampRecv; // IDC_WORK_RECV_LAMP
    // Set by the progress dialog's Stop and Close, read by the TCP jobs.
    std::atomic<int> m_nEthernetStop { 0 };
    std::atomic<int> m_nTransferActive { 0 };
    // The numbers of a selective read, in their order, each once.
    std::vector<int> m_recvNumbers;
    std::map<CString, CString>
        m_receivedDataPaths; // the serial reads' databases by scale ID, kept for the run
};
