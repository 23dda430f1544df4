#pragma once
// CEthTransStatusDlg: the progress window 147 of the TCP transfers ("Ethernet
// ~Ing Dialog"): a log of the packets sent (1045) and received (1046), a lamp
// beside each (1047, 1048) that flashes at every packet, and Stop (1001) and
// Close (1) buttons that set the work screen's Ethernet stop flag. One
// modeless instance serves every job; the jobs show it without activating it.

#include <functional>
#include <vector>

#include "controls/status_lamp.h"
#include "controls/xp_button.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/calvorn_ids.h"

class CTransferHost;

class CEthTransStatusDlg : public CDialog {
public:
    // Lines each log keeps; older lines leave the top. The lists show the
    // newest kShownLines, scrolled to the newest, brought up to date every
    // kRefreshMs while packets flow (a list redrawn per packet would cost more
    // than the packet).
    static constexpr std::size_t kMaxLogLines = 2000;
    static constexpr std::size_t kShownLines = 100;
    static constexpr UINT kFlashMs = 15;
    static constexpr UINT_PTR kRefreshTimer = 2;
    static constexpr UINT kRefreshMs = 200;

    CEthTransStatusDlg();
    ~CEthTransStatusDlg() override;

    const MessageMap* GetMessageMap() const override;

    // Creates the hidden window from template 147. UI thread.
    BOOL Create(CWnd* parent = nullptr);
    void SetOwnerView(CTransferHost* host) { m_pOwnerView = host; }
    // Called after Stop and Close have set the stop flag (the jobs end now).
    void SetStopHandler(std::function<void()> handler) { m_onStop = std::move(handler); }
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // A transfer starts: both logs are emptied and the window is shown
    // without taking the focus.
    void BeginTransfer();
    void AddSent(const CString& line);
    void AddReceived(const CString& line);

    const std::vector<CString>& SentLines() const { return m_sent; }
    const std::vector<CString>& ReceivedLines() const { return m_received; }

    // Shows the newest lines of both logs in the lists now.
    void RefreshLists();

    void OnStop();
    void OnCloseButton();

private:
    CListBox m_listSent; // IDC_ETH_SENT_LIST
    CListBox m_listReceived; // IDC_ETH_RECEIVED_LIST
    CStatusLamp m_lampSend; // IDC_ETH_SEND_LAMP
    CStatusLamp m_lampReceive; // IDC_ETH_RECEIVE_LAMP
    CXPButton m_btnClose; // 1
    CXPButton m_btnStop; // IDC_ETH_STOP

    void OnTimer(UINT_PTR id);
    void Add(std::vector<CString>& lines, CListBox& list, CStatusLamp& lamp, const CString& line);

    CTransferHost* m_pOwnerView = nullptr;
    std::function<void()> m_onStop;
    std::vector<CString> m_sent;
    std::vector<CString> m_received;
    BOOL m_bRefreshPending = FALSE;
};
