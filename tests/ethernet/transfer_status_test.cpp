#include <gtest/gtest.h>

#include "ethernet/eth_trans_status_dlg.h"
#include "tests/ethernet/transfer_jobs_fixture.h"
#include "tests/support/click_at.h"
#include "tests/support/dlg_item.h"

// The TCP transfers' progress window: its texts and lamps, the log lines the
// jobs write into it packet by packet, and its buttons.

namespace {

using namespace transfertest;
using scalesim::TcpPacket;

CString Line(const std::string& ip, const char* what, int number)
{
    return CString::Formatted(
        "IP address = %s.....%s......Packet Num = %5ld", ip.c_str(), what, static_cast<long>(number));
}

std::vector<CString> ListTexts(const CListBox& list)
{
    std::vector<CString> out;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetText(i, text);
        out.push_back(text);
    }
    return out;
}

class TransferStatusTest : public TransferJobsTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_status.Create(nullptr));
        m_status.SetOwnerView(&m_host);
        m_host.jobs->SetStatusDialog(&m_status);
    }
    void TearDown() override { m_host.jobs->SetStatusDialog(nullptr); }

    CEthTransStatusDlg m_status;
};

TEST_F(TransferStatusTest, TheWindowOpensHiddenWithItsTextsAndLampsAtRest)
{
    CString text;
    m_status.GetWindowText(text);
    EXPECT_EQ(text, "Ethernet ~Ing Dialog");
    DlgItem<CXPButton>(m_status, IDC_ETH_STOP).GetWindowText(text);
    EXPECT_EQ(text, "Stop");
    DlgItem<CXPButton>(m_status, IDOK).GetWindowText(text);
    EXPECT_EQ(text, "Close");
    for (const CStatusLamp* lamp : { &DlgItem<CStatusLamp>(m_status, IDC_ETH_SEND_LAMP),
             &DlgItem<CStatusLamp>(m_status, IDC_ETH_RECEIVE_LAMP) }) {
        EXPECT_NE(lamp->GetSafeHwnd(), nullptr);
        EXPECT_EQ(lamp->GetSourceRow(), 32);
        EXPECT_EQ(lamp->GetColumn(), CStatusLamp::kRestColumn);
        EXPECT_FALSE(lamp->IsFlashing());
    }
    EXPECT_FALSE(m_status.IsWindowVisible());
}

TEST_F(TransferStatusTest, EachLogFlashesItsOwnLampAndShowsItsNewestLines)
{
    m_status.AddSent("first sent");
    EXPECT_TRUE(DlgItem<CStatusLamp>(m_status, IDC_ETH_SEND_LAMP).IsFlashing());
    EXPECT_FALSE(DlgItem<CStatusLamp>(m_status, IDC_ETH_RECEIVE_LAMP).IsFlashing());
    ASSERT_TRUE(PumpUntil([&] { return !DlgItem<CStatusLamp>(m_status, IDC_ETH_SEND_LAMP).IsFlashing(); }));
    EXPECT_EQ(DlgItem<CStatusLamp>(m_status, IDC_ETH_SEND_LAMP).GetColumn(), CStatusLamp::kRestColumn);
    m_status.AddReceived("first received");
    EXPECT_TRUE(DlgItem<CStatusLamp>(m_status, IDC_ETH_RECEIVE_LAMP).IsFlashing());
    EXPECT_FALSE(DlgItem<CStatusLamp>(m_status, IDC_ETH_SEND_LAMP).IsFlashing());

    // The lists follow the logs by themselves shortly after.
    ASSERT_TRUE(PumpUntil([&] {
        return DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST).GetCount() == 1
            && DlgItem<CListBox>(m_status, IDC_ETH_RECEIVED_LIST).GetCount() == 1;
    }));
    EXPECT_EQ(
        ListTexts(DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST)), std::vector<CString> { "first sent" });
    EXPECT_EQ(ListTexts(DlgItem<CListBox>(m_status, IDC_ETH_RECEIVED_LIST)),
        std::vector<CString> { "first received" });

    // A full log drops its older half; the list shows the newest lines only.
    for (std::size_t i = 2; i <= CEthTransStatusDlg::kMaxLogLines + 1; ++i)
        m_status.AddSent(CString::Formatted("sent %d", static_cast<int>(i)));
    const auto& sent = m_status.SentLines();
    ASSERT_EQ(sent.size(), CEthTransStatusDlg::kMaxLogLines / 2 + 1);
    EXPECT_EQ(sent.front(),
        CString::Formatted("sent %d", static_cast<int>(CEthTransStatusDlg::kMaxLogLines / 2 + 1)));
    EXPECT_EQ(
        sent.back(), CString::Formatted("sent %d", static_cast<int>(CEthTransStatusDlg::kMaxLogLines + 1)));
    m_status.RefreshLists();
    const std::vector<CString> shown = ListTexts(DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST));
    ASSERT_EQ(shown.size(), CEthTransStatusDlg::kShownLines);
    EXPECT_EQ(shown.front(),
        CString::Formatted("sent %d",
            static_cast<int>(CEthTransStatusDlg::kMaxLogLines + 2 - CEthTransStatusDlg::kShownLines)));
    EXPECT_EQ(shown.back(), sent.back());
    EXPECT_EQ(ListTexts(DlgItem<CListBox>(m_status, IDC_ETH_RECEIVED_LIST)),
        std::vector<CString> { "first received" });

    // A new transfer starts with empty logs, shown without being activated.
    m_status.BeginTransfer();
    EXPECT_TRUE(m_status.SentLines().empty());
    EXPECT_TRUE(m_status.ReceivedLines().empty());
    EXPECT_EQ(DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST).GetCount(), 0);
    EXPECT_EQ(DlgItem<CListBox>(m_status, IDC_ETH_RECEIVED_LIST).GetCount(), 0);
    EXPECT_TRUE(m_status.IsWindowVisible());
}

TEST_F(TransferStatusTest, StopAndCloseSetTheStopFlagAndCloseHides)
{
    m_status.BeginTransfer();
    m_status.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ETH_STOP, 0), 0);
    EXPECT_EQ(m_host.ethernetStop, 1);
    EXPECT_TRUE(m_status.IsWindowVisible());
    m_host.ethernetStop = 0;
    m_status.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_EQ(m_host.ethernetStop, 1);
    EXPECT_FALSE(m_status.IsWindowVisible());
}

TEST_F(TransferStatusTest, JobsLogEveryPacketWithItsNumberAndTheirEnd)
{
    m_status.AddSent("from before");
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    const std::string ip = scale.Address();
    m_host.SetRows({ ItemRow(1, "A", 1), ItemRow(2, "B", 2) });
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    EXPECT_TRUE(m_status.IsWindowVisible());
    ASSERT_TRUE(WaitForEnd());

    // Clear, two records, the reset; four acknowledgements.
    std::vector<CString> sent;
    for (int n = 1; n <= 4; ++n)
        sent.push_back(Line(ip, "Data Sending", n));
    sent.push_back(CString::Formatted("IP address = %s.....Data Send Finished", ip.c_str()));
    EXPECT_EQ(m_status.SentLines(), sent);
    std::vector<CString> received;
    for (int n = 1; n <= 4; ++n)
        received.push_back(Line(ip, "Data Recving", n));
    EXPECT_EQ(m_status.ReceivedLines(), received);
    ASSERT_TRUE(PumpUntil([&] { return DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST).GetCount() == 5; }));
    EXPECT_EQ(ListTexts(DlgItem<CListBox>(m_status, IDC_ETH_SENT_LIST)), sent);

    // A silent scale: the resends are counted as packets, nothing comes back.
    ScaleMemory quiet(ScaleMemory::Mode::Silent);
    TcpScale silent;
    ASSERT_TRUE(silent.Start(quiet.Script()));
    const std::string silentIp = silent.Address();
    MessageBoxScript::Reset();
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &silent }));
    ASSERT_TRUE(WaitForEnd());
    sent.clear();
    for (int n = 1; n <= 4; ++n)
        sent.push_back(Line(silentIp, "Data Sending", n));
    sent.push_back(CString::Formatted("IP address = %s.....Data Send Finished", silentIp.c_str()));
    EXPECT_EQ(m_status.SentLines(), sent);
    EXPECT_TRUE(m_status.ReceivedLines().empty());
    EXPECT_EQ(Texts(),
        (std::vector<CString> {
            "3 times out", CString::Formatted("%s: No answer, 0 of 2 records sent.", silentIp.c_str()) }));
}

// A send longer than the lists: each list keeps its newest line in view.
TEST_F(TransferStatusTest, TheListsFollowTheNewestPacket)
{
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= 150; ++i)
        rows.push_back(ItemRow(i, "A", i));
    m_host.SetRows(rows);
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(WaitForEnd());
    for (int id : { IDC_ETH_SENT_LIST, IDC_ETH_RECEIVED_LIST }) {
        const CListBox& list = DlgItem<CListBox>(m_status, id);
        const std::vector<CString>& log
            = id == IDC_ETH_SENT_LIST ? m_status.SentLines() : m_status.ReceivedLines();
        ASSERT_TRUE(PumpUntil([&] {
            CString last;
            return list.GetText(list.GetCount() - 1, last) > 0 && last == log.back();
        }));
        CRect window;
        CRect newest;
        list.GetWindowRect(&window);
        ASSERT_EQ(list.GetItemRect(list.GetCount() - 1, &newest), 0);
        EXPECT_TRUE(newest.top >= 0 && newest.bottom <= window.Height()) << newest.top;
    }
}

// Two scales, one with nothing at its address: each box names its scale, and
// the list tells that the unreached scale was sent nothing.
TEST_F(TransferStatusTest, AScaleNotReachedIsNamedAndNotSentTo)
{
    scalesim::OffScale gone;
    ASSERT_TRUE(gone.Start());
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start(memory.Script()));
    m_host.SetRows({ ItemRow(1, "A", 1) });
    TransferOrder order;
    order.scales = { ScaleAt(CString(gone.Address()), "Far"), ScaleAt(CString(scale.Address())) };
    ASSERT_TRUE(m_host.StartJobs(order));
    ASSERT_TRUE(WaitForEnd());
    const std::vector<CString> texts = Texts();
    EXPECT_EQ(
        std::count(texts.begin(), texts.end(), CString("Far (" + gone.Address() + "): Connection Failed")),
        1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), CString(scale.Address() + ": Trans Complete")), 1);
    EXPECT_EQ(texts.size(), 2u);
    const std::vector<CString>& sent = m_status.SentLines();
    EXPECT_EQ(
        std::count(sent.begin(), sent.end(),
            CString::Formatted("IP address = %s.....Not Connected, Nothing Sent", gone.Address().c_str())),
        1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(),
                  CString::Formatted("IP address = %s.....Data Send Finished", gone.Address().c_str())),
        0);
    EXPECT_EQ(memory.Table(kPlu).size(), 1u);
}

// Stop pressed while the scale is silent: nothing more is sent, the record in
// flight is awaited until its reply deadline, and the ending says it went
// unanswered.
TEST_F(TransferStatusTest, StopDuringASilenceEndsAtTheReplyDeadline)
{
    const UINT reply = 300u * static_cast<UINT>(TestTimeScale());
    m_host.jobs->SetTimings({ reply, 2000, 1000 });
    ScaleMemory memory;
    TcpScale scale;
    ASSERT_TRUE(scale.Start([&memory](const TcpPacket& p, std::size_t index) {
        return index == 4 ? TcpReply::Silence() : memory.Answer(p);
    }));
    std::vector<std::vector<CString>> rows;
    for (int i = 1; i <= 12; ++i)
        rows.push_back(ItemRow(i, "A", i));
    m_host.SetRows(rows);
    m_status.BeginTransfer();
    ASSERT_TRUE(Start(TransferCommand::Trans, DataKind::Item, TransferScope::All, { &scale }));
    ASSERT_TRUE(PumpUntil([&] { return scale.Received().size() == 5; }));
    const auto pressed = std::chrono::steady_clock::now();
    ASSERT_TRUE(ClickButton(m_status, IDC_ETH_STOP));
    EXPECT_EQ(m_host.jobs->InSlot(0)->IsClosed(), FALSE) << "the answer is still due";
    ASSERT_TRUE(WaitForEnd());
    EXPECT_LE(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(2 * reply));
    EXPECT_EQ(Texts(),
        std::vector<CString> {
            Sent(scale, "Trans Stopped", 3, 12) + " 1 record was sent and not answered." });
    EXPECT_EQ(memory.Table(kPlu).size(), 3u);
    EXPECT_EQ(scale.Received().size(), 5u) << "no resend after the stop";
}

} // namespace
