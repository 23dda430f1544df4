#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/serial/pseudo_terminal.h"
#include "platform/serial/serial_port.h"
#include "tests/support/scale_sim.h"
#include "tests/support/scale_sim_bytes.h"
#include "tests/support/ui_pump.h"

using scalesim::BytesOf;
using scalesim::FromHex;
using scalesim::Hex;

namespace {

constexpr UINT kPort = 3;

// Collects what the monitoring thread hands over.
class ByteLog {
public:
    void Add(BYTE b)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bytes.push_back(b);
        m_thread = std::this_thread::get_id();
        m_changed.notify_all();
    }
    bool WaitFor(std::size_t count, int timeoutMs)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(
            guard, std::chrono::milliseconds(timeoutMs), [&] { return m_bytes.size() >= count; });
    }
    std::vector<std::uint8_t> Bytes()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_bytes;
    }
    std::thread::id Thread()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_thread;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_bytes;
    std::thread::id m_thread;
};

// A port on a simulated line that answers nothing by itself.
class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_line.Start(
            [](const scalesim::SerialFrame&, std::size_t) { return scalesim::SerialReply::Silence(); }));
        SetSerialDevicePath(kPort, m_line.DevicePath());
        m_port.SetByteHandler([this](BYTE b) { m_log.Add(b); });
        m_port.SetErrorHook([this](const CString& text) {
            std::lock_guard<std::mutex> guard(m_errorLock);
            m_errors.push_back(text.Str());
        });
    }
    void TearDown() override
    {
        SetSerialReadFaultForTest({});
        m_port.Close();
        m_line.Stop();
        SetSerialDevicePath(kPort, "");
    }
    // Waits until the error hook has been called count times.
    bool WaitForErrors(std::size_t count, int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Errors().size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return Errors().size() >= count;
    }
    std::vector<std::string> Errors()
    {
        std::lock_guard<std::mutex> guard(m_errorLock);
        return m_errors;
    }
    void ClearErrors()
    {
        std::lock_guard<std::mutex> guard(m_errorLock);
        m_errors.clear();
    }

    scalesim::SerialScale m_line;
    CSerialPort m_port;
    ByteLog m_log;
    std::mutex m_errorLock;
    std::vector<std::string> m_errors;
};

TEST(SerialDeviceTest, ComPortsMapToDevices)
{
    unsetenv("CALVORN_COM6");
    EXPECT_EQ(SerialDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(6), "/dev/ttyS5");
    setenv("CALVORN_COM6", "/dev/ttyUSB0", 1);
    EXPECT_EQ(SerialDevicePath(6), "/dev/ttyUSB0");
    SetSerialDevicePath(6, "/tmp/line6");
    EXPECT_EQ(SerialDevicePath(6), "/tmp/line6") << "the setting overrides the environment";
    SetSerialDevicePath(6, "");
    EXPECT_EQ(SerialDevicePath(6), "/dev/ttyUSB0");
    unsetenv("CALVORN_COM6");
}

TEST(SerialDeviceTest, MissingDeviceIsReportedAndNothingStaysOpen)
{
    SetSerialDevicePath(7, "/nonexistent/calvorn-line");
    CSerialPort port;
    EXPECT_FALSE(port.InitPort(7));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.StartMonitoring());
    const std::uint8_t bytes[] = { 1 };
    EXPECT_FALSE(port.WriteToPort(bytes));
    SetSerialDevicePath(7, "");
}

TEST_F(SerialPortTest, OpensWithTheScaleLineSettings)
{
    ASSERT_TRUE(m_port.InitPort(kPort, 38400, 'N', 8, 1, EV_RXCHAR | EV_CTS, 2048));
    EXPECT_TRUE(m_port.IsOpen());
    EXPECT_EQ(m_port.GetWriteBufferSize(), 2048u);
    SerialLineSettings line;
    ASSERT_TRUE(m_port.GetLineSettings(line));
    EXPECT_EQ(line.baud, 38400u);
    EXPECT_EQ(line.parity, 'N');
    EXPECT_EQ(line.dataBits, 8u);
    EXPECT_EQ(line.stopBits, 1u);
    EXPECT_TRUE(line.rawMode);
    EXPECT_TRUE(Errors().empty()) << Errors().front();

    // A pseudo-terminal keeps 8 data bits without parity whatever is asked.
    ASSERT_TRUE(m_port.InitPort(kPort, 9600, 'N', 8, 1, EV_RXCHAR, 512)) << "an open port is opened again";
    ASSERT_TRUE(m_port.GetLineSettings(line));
    EXPECT_EQ(line.baud, 9600u);
    EXPECT_EQ(m_port.GetWriteBufferSize(), 512u);
}

TEST_F(SerialPortTest, MarkAndSpaceParityAreSettingsLikeTheOthers)
{
    for (char parity : { 'M', 'S', 'O', 'E' }) {
        EXPECT_TRUE(m_port.InitPort(kPort, 38400, parity, 8, 1, EV_RXCHAR, 64)) << parity;
        EXPECT_TRUE(Errors().empty()) << parity << ": " << Errors().front();
    }
    EXPECT_FALSE(m_port.InitPort(kPort, 38400, 'X', 8, 1, EV_RXCHAR, 64));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors().front().find("BuildCommDCB()"), std::string::npos);
}

// A line that cannot be set, or a device that is no serial port, fails the
// opening after the error hook has been told; nothing stays open.
TEST_F(SerialPortTest, SettingThatCannotBeAppliedFailsTheOpening)
{
    const struct {
        const char* device; // empty: the test's line
        UINT baud;
        const char* call;
    } cases[] = { { "", 12345, "BuildCommDCB()" }, { "/dev/null", 38400, "GetCommState()" } };
    for (const auto& c : cases) {
        if (*c.device)
            SetSerialDevicePath(kPort, c.device);
        EXPECT_FALSE(m_port.InitPort(kPort, c.baud, 'N', 8, 1, EV_RXCHAR, 64)) << c.call;
        EXPECT_FALSE(m_port.IsOpen()) << c.call;
        EXPECT_FALSE(m_port.StartMonitoring()) << c.call;
        const std::vector<std::string> errors = Errors();
        ASSERT_EQ(errors.size(), 1u);
        const std::string head = std::string("WARNING:  ") + c.call + " Failed with the following error: \n";
        EXPECT_EQ(errors[0].rfind(head, 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find("\nPort: 3\n"), std::string::npos) << errors[0];
        ClearErrors();
    }
}

TEST_F(SerialPortTest, ErrorHookMayUseThePort)
{
    // A hook that shows a message box runs a nested loop whose handlers may write
    // to the port on the same thread: the port lock must not be held.
    m_port.SetErrorHook([this](const CString& text) {
        {
            std::lock_guard<std::mutex> guard(m_errorLock);
            m_errors.push_back(text.Str());
        }
        m_port.WriteToPort(BytesOf("E"));
    });
    EXPECT_FALSE(m_port.InitPort(kPort, 12345, 'N', 8, 1, EV_RXCHAR, 64));
    ASSERT_EQ(Errors().size(), 1u);
    ASSERT_TRUE(m_line.WaitForBytes(1, 2000));
    EXPECT_EQ(Hex(m_line.ReceivedBytes()), Hex(BytesOf("E")));
}

TEST_F(SerialPortTest, WriteSendsEveryByteOfABinaryBlock)
{
    ASSERT_TRUE(m_port.InitPort(kPort));
    const std::vector<std::uint8_t> block = FromHex("00 c0 00 db 00 ff 0a 0d 00");
    ASSERT_TRUE(m_port.WriteToPort(block));
    ASSERT_TRUE(m_line.WaitForBytes(block.size(), 2000));
    EXPECT_EQ(Hex(m_line.ReceivedBytes()), Hex(block));
}

TEST_F(SerialPortTest, BlockLargerThanTheWriteBufferIsRefusedWhole)
{
    ASSERT_TRUE(m_port.InitPort(kPort, 38400, 'N', 8, 1, EV_RXCHAR, 16));
    EXPECT_FALSE(m_port.WriteToPort(std::vector<std::uint8_t>(17, 0x41)));
    EXPECT_FALSE(m_port.SendRaw(std::vector<std::uint8_t>(17, 0x41)));
    ASSERT_TRUE(m_port.WriteToPort(std::vector<std::uint8_t>(16, 0x42)));
    ASSERT_TRUE(m_line.WaitForBytes(16, 2000));
    EXPECT_EQ(m_line.ReceivedBytes(), std::vector<std::uint8_t>(16, 0x42));
}

TEST_F(SerialPortTest, MonitoringThreadHandsOverEveryByteInOrder)
{
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    EXPECT_TRUE(m_port.IsMonitoring());
    std::vector<std::uint8_t> sent;
    for (int i = 0; i < 3000; ++i)
        sent.push_back(static_cast<std::uint8_t>(i * 13));
    ASSERT_TRUE(m_line.SendNow(sent));
    ASSERT_TRUE(m_log.WaitFor(sent.size(), 5000));
    EXPECT_EQ(m_log.Bytes(), sent);
    EXPECT_NE(m_log.Thread(), std::this_thread::get_id());
    EXPECT_TRUE(m_port.StopMonitoring());
    EXPECT_FALSE(m_port.IsMonitoring());
}

TEST_F(SerialPortTest, MonitoringThreadWritesTheQueuedBlock)
{
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    ASSERT_TRUE(m_port.SendRaw(BytesOf("JOIN")));
    ASSERT_TRUE(m_line.WaitForBytes(4, 2000));
    m_port.KickWrite(); // the same buffer once more
    ASSERT_TRUE(m_line.WaitForBytes(8, 2000));
    EXPECT_EQ(Hex(m_line.ReceivedBytes()), Hex(BytesOf("JOINJOIN")));
}

// A read that fails is reported, once for a run of failures, and the thread
// goes on reading: bytes that arrive afterwards are handed over.
TEST_F(SerialPortTest, ReadFailuresAreReportedOnceAndReceivingGoesOn)
{
    std::atomic<int> faults { 5 };
    SetSerialReadFaultForTest([&] { return faults.fetch_sub(1) > 0 ? EIO : 0; });
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    ASSERT_TRUE(m_line.SendNow(BytesOf("ab")));
    ASSERT_TRUE(m_log.WaitFor(2, 5000)) << "the port went deaf after a failed read";
    EXPECT_EQ(Hex(m_log.Bytes()), Hex(BytesOf("ab")));
    std::vector<std::string> errors = Errors();
    ASSERT_EQ(errors.size(), 1u) << "five failures in a row, one report";
    EXPECT_NE(errors[0].find("WARNING:  ReadFile() Failed with the following error: \n"), std::string::npos);
    EXPECT_NE(errors[0].find("\nPort: 3\n"), std::string::npos);

    faults = 2; // a new run of failures after reads that worked is reported again
    ASSERT_TRUE(m_line.SendNow(BytesOf("c")));
    ASSERT_TRUE(m_log.WaitFor(3, 5000));
    EXPECT_EQ(Hex(m_log.Bytes()), Hex(BytesOf("abc")));
    EXPECT_EQ(Errors().size(), 2u);
}

// The far end hangs up: reads keep failing. That is reported once, the line is
// not polled at full speed, and the thread still serves writes and its end.
TEST_F(SerialPortTest, HungUpLineIsReportedOnceAndWaitedOut)
{
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    m_line.Stop();
    ASSERT_TRUE(WaitForErrors(1, 2000));
    const std::clock_t before = std::clock();
    PumpFor(std::chrono::milliseconds(600));
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, 300.0) << "the hung-up line is polled at full speed";
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_NE(Errors()[0].find("ReadFile()"), std::string::npos);
    EXPECT_TRUE(m_port.IsMonitoring());

    ASSERT_TRUE(m_port.SendRaw(BytesOf("x")));
    ASSERT_TRUE(WaitForErrors(2, 2000)) << "the monitoring thread still writes";
    EXPECT_NE(Errors()[1].find("WriteFile()"), std::string::npos);
    const auto start = std::chrono::steady_clock::now();
    m_port.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(m_port.IsMonitoring());
}

TEST_F(SerialPortTest, ByteHandlerMayWriteToThePort)
{
    m_port.SetByteHandler([this](BYTE b) {
        m_log.Add(b);
        const std::uint8_t echo[] = { static_cast<std::uint8_t>(b + 1) };
        m_port.WriteToPort(echo);
    });
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    ASSERT_TRUE(m_line.SendNow(FromHex("10")));
    ASSERT_TRUE(m_line.WaitForBytes(1, 2000));
    EXPECT_EQ(Hex(m_line.ReceivedBytes()), "11");
}

TEST_F(SerialPortTest, UnreadBytesAreDroppedWhenAWriteStarts)
{
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_line.SendNow(BytesOf("stale")));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (m_port.GetInputQueueCount() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(m_port.GetInputQueueCount(), 5u);
    ASSERT_TRUE(m_port.WriteToPort(BytesOf("w")));
    EXPECT_EQ(m_port.GetInputQueueCount(), 0u);
    ASSERT_TRUE(m_port.StartMonitoring());
    ASSERT_TRUE(m_line.SendNow(BytesOf("new")));
    ASSERT_TRUE(m_log.WaitFor(3, 2000));
    EXPECT_EQ(Hex(m_log.Bytes()), Hex(BytesOf("new")));
}

TEST_F(SerialPortTest, CloseWhileReceivingEndsTheThreadCleanly)
{
    std::atomic<int> afterClose { 0 };
    std::atomic<int> handed { 0 };
    std::atomic<bool> closed { false };
    m_port.SetByteHandler([&](BYTE) {
        ++handed;
        if (closed)
            ++afterClose;
    });
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    std::atomic<bool> flooding { true };
    std::thread flood([&] {
        const std::vector<std::uint8_t> chunk(512, 0x5A);
        while (flooding && m_line.SendNow(chunk)) { }
    });
    const auto receiving = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (handed < 1000 && std::chrono::steady_clock::now() < receiving)
        std::this_thread::yield();
    EXPECT_GE(handed, 1000) << "bytes are flowing when the port closes";
    const auto start = std::chrono::steady_clock::now();
    m_port.Close();
    closed = true;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_FALSE(m_port.IsMonitoring());
    flooding = false;
    flood.join();
    EXPECT_EQ(afterClose, 0) << "no byte is handed over after Close";

    ASSERT_TRUE(m_port.InitPort(kPort)) << "the line opens again after a close";
    ASSERT_TRUE(m_port.WriteToPort(BytesOf("x")));
}

TEST_F(SerialPortTest, CloseFromTheByteHandlerDoesNotHang)
{
    std::atomic<bool> done { false };
    m_port.SetByteHandler([&](BYTE) {
        m_port.Close();
        done = true;
    });
    ASSERT_TRUE(m_port.InitPort(kPort));
    ASSERT_TRUE(m_port.StartMonitoring());
    ASSERT_TRUE(m_line.SendNow(BytesOf("ab")));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_TRUE(done);
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(SerialPortTest, PortDestroyedFromItsByteHandlerOutlivesTheCall)
{
    auto port = std::make_unique<CSerialPort>();
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
    port->SetByteHandler([&](BYTE) {
        port.reset(); // the owner goes away on the monitoring thread
        std::lock_guard<std::mutex> guard(lock);
        done = true;
        changed.notify_all();
    });
    ASSERT_TRUE(port->InitPort(kPort));
    ASSERT_TRUE(port->StartMonitoring());
    ASSERT_TRUE(m_line.SendNow(BytesOf("ab")));
    std::unique_lock<std::mutex> guard(lock);
    EXPECT_TRUE(changed.wait_for(guard, std::chrono::seconds(2), [&] { return done; }));
}

} // namespace
