#pragma once
// CEthernetGetPushDlg (dialog 160 "Ethernet GET/PUSH"): the label sent to the
// adopted scales one after the other (PUSH), or fetched from the one chosen
// scale (GET), over TCP port 1239 with blocking calls; and the list of known
// scales, kept in C:\Zuvinf.ini ([SCALE] COUNT, [IP] and [MODE] "SCALE<n>").

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "labeltool/blocking_socket.h"
#include "labeltool/ini_file.h"
#include "labeltool/label_data_bar.h"
#include "platform/wnd/controls/listbox.h"
#include "platform/wnd/controls/progress.h"
#include "platform/wnd/dialogs/dialog.h"
#include "resources/tarnel_ids.h"

inline constexpr int kEthernetGet = 0;
inline constexpr int kEthernetPush = 1;
inline constexpr UINT kScaleTcpPort = 1239;
inline constexpr std::size_t kReceivedPacketSize = 110;
// The most scales the dialog lists (both lists together); the scale list file
// may hold more keys, and a COUNT of any size.
inline constexpr std::size_t kMaxListedScales = 1000;
// A change of the list that the scale list file did not take.
inline constexpr const char* kScaleListNotWrittenText = "Can't Making the File";
// A change refused because another program changed the file since it was read.
inline constexpr const char* kScaleListChangedText
    = "Another program changed the list of scales meanwhile.\nIt is shown again as the file now holds it; "
      "make your change again.";

// Limits of the blocking calls; tests shorten them.
struct EthernetLimits {
    int connectMs = 5000;
    int sendMs = 10000;
    int receiveMs = 30000;
};

class CEthernetGetPushDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_ETHERNET_GET_PUSH;

    explicit CEthernetGetPushDlg(CWnd* parent = nullptr);
    ~CEthernetGetPushDlg() override;

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    // The caller's frame image: header (command at bytes 8-9), payload from 14.
    void SetTransmitImage(const TransmitImage& image) { m_transmit = image; }
    BOOL IsReceived() const { return m_received; }
    // The data packet of a GET: its 4-byte header and the 106-byte record.
    const std::array<std::uint8_t, kReceivedPacketSize>& GetReceivedPacket() const
    {
        return m_receivedPacket;
    }

    static void SetLimits(const EthernetLimits& limits);
    static EthernetLimits GetLimits();

    int m_direction = kEthernetPush;

protected:
    void OnAdd();
    void OnDelete();
    void OnAdopt();
    void OnAdoptAll();
    void OnRemove();
    void OnRemoveAll();
    void OnMoveUp();
    void OnMoveDown();
    void OnScalesDoubleClick();
    void OnAdoptedDoubleClick();
    void OnSelectionChange();
    void OnTransfer();
    void OnClose();
    void OnNothing();
    LRESULT OnSocketLog(WPARAM wParam, LPARAM lParam);

private:
    void ReadList();
    BOOL SaveList();
    void FillLists();
    void UpdateButtons();
    void EnableForTransfer(BOOL enable);
    void AppendLog(const char* text);
    void SetStatus(const char* text);
    void SetProgress(int pos);
    void TransferTo(const CString& scale, int index);
    BOOL Connect(const CString& address);
    BOOL ReceiveReply(ScalePacketFramer::Event& out);
    BOOL SendPacket(std::span<const std::uint8_t> bytes);
    BOOL Guarded(const std::function<BOOL()>& call);
    BOOL ExchangePush(int index);
    BOOL ExchangeGet();
    void CloseSocket();

    CListBox m_scalesList;
    CListBox m_adoptedList;
    CProgressCtrl m_progress;
    std::map<int, CString> m_scaleTexts;
    std::map<int, CString> m_scaleModes; // each scale's MODE as read (none when missing)
    std::set<long> m_read; // the numbers n of the file's "SCALEn" the lists hold
    std::vector<int> m_scales;
    std::vector<int> m_adopted;
    int m_nextId = 0;
    CIniFile m_ini;
    BOOL m_connected = FALSE;
    BOOL m_error = FALSE;
    BOOL m_transferring = FALSE;
    std::unique_ptr<CBlockingSocket> m_socket;
    ScalePacketFramer m_framer;
    TransmitImage m_transmit {};
    BOOL m_received = FALSE;
    std::array<std::uint8_t, kReceivedPacketSize> m_receivedPacket {};
};
