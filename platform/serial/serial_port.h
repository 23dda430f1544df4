#pragma once
// CSerialPort: a COM port of the scale link. It opens "COM<n>" (mapped to a
// device, see SerialDevicePath), sets the line, runs one monitoring thread that
// reads every received byte and hands it to the byte handler, and writes blocks
// either on the caller's thread (WriteToPort) or through the monitoring thread
// (SendRaw, KickWrite). Failed system calls are described to the error hook as
// "WARNING:  <call> Failed with the following error: \n<text>\nPort: <n>\n".
// The monitoring thread goes on after a failed wait or read: a run of failures
// is reported once, and a device that keeps failing (a line that hung up) rests
// between tries, 10 ms at first, doubling up to a second.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/base/cstring.h"
#include "platform/base/types.h"

// Line events of the event mask.
inline constexpr DWORD EV_RXCHAR = 0x0001;
inline constexpr DWORD EV_CTS = 0x0008;

// Device path of COM<port>: the override set for the port, else the environment
// variable CALVORN_COM<port>, else /dev/ttyS<port - 1>.
std::string SerialDevicePath(UINT port);
// Sets (or, with an empty path, removes) the override for one port.
void SetSerialDevicePath(UINT port, const std::string& path);

// For tests: asked before every read of a monitoring thread; a nonzero errno
// value makes that read fail with it as the device's own failure would. An
// empty function restores plain reads.
void SetSerialReadFaultForTest(std::function<int()> fault);

// Line settings read back from an open port.
struct SerialLineSettings {
    UINT baud = 0;
    char parity = 'N';
    UINT dataBits = 0;
    UINT stopBits = 0;
    BOOL rawMode = FALSE; // no echo, no line editing, no translation, no flow control
};

class CSerialPort {
public:
    // Called on the monitoring thread, once per received byte, in arrival order,
    // with no lock held: it may write to the port. It must not wait for a thread
    // that may close the port (Close and StopMonitoring wait for the handler to
    // return): hand the bytes on to the user-interface thread by posting.
    using ByteHandler = std::function<void(BYTE)>;
    // Called with the finished error text, on the thread of the failed call and
    // never with the port lock held, so it may use the port (or show a box).
    using ErrorHook = std::function<void(const CString&)>;

    CSerialPort();
    // Closes the port and ends the monitoring thread (from the byte handler it
    // does not wait: the thread ends by itself once the handler returns).
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Set before InitPort; not changed while the port is monitored.
    void SetByteHandler(ByteHandler handler);
    void SetErrorHook(ErrorHook hook);

    // Opens COM<portNumber> (1-8) exclusively: baud, parity 'N', 'E', 'O', 'M' (mark) or 'S' (space), 5-8
    // data bits, 1 or 2 stop bits, event mask (EV_RXCHAR ...), and a write buffer
    // of writeBufferSize bytes. RTS is off; both queues are purged. An open port
    // is closed first. FALSE when the device cannot be opened, or when a setting
    // cannot be applied (a device that is no serial port): that goes to the error
    // hook, and the port is closed.
    BOOL InitPort(UINT portNumber = 1, UINT baud = 38400, char parity = 'N', UINT dataBits = 8,
        UINT stopBits = 1, DWORD eventMask = EV_RXCHAR | EV_CTS, UINT writeBufferSize = 2048);

    // Starts the monitoring thread; TRUE when it runs. FALSE when the port is
    // not open. Not from the byte handler.
    BOOL StartMonitoring();
    // Ends the monitoring thread and waits for it (unless called from the byte
    // handler, which only asks it to end). TRUE.
    BOOL StopMonitoring();
    // Ends monitoring, restores the device's earlier settings and closes it.
    void Close();

    // Copies the bytes into the write buffer and writes them at once on the
    // calling thread. Bytes received but not yet read are dropped first. FALSE
    // when the port is closed, the block is larger than the write buffer (nothing
    // is written), or the write failed (reported to the error hook).
    BOOL WriteToPort(std::span<const std::uint8_t> bytes);
    // Copies the bytes into the write buffer; the monitoring thread writes them.
    // FALSE when the port is closed or the block is larger than the buffer.
    BOOL SendRaw(std::span<const std::uint8_t> bytes);
    // The monitoring thread writes the write buffer once more.
    void KickWrite();

    BOOL IsOpen() const;
    // TRUE while the monitoring thread runs.
    BOOL IsMonitoring() const;
    UINT GetPortNumber() const;
    UINT GetWriteBufferSize() const;
    // Bytes received by the driver and not yet read (0 when the port is closed).
    DWORD GetInputQueueCount() const;
    // Settings of the open device; FALSE when the port is closed.
    BOOL GetLineSettings(SerialLineSettings& out) const;

private:
    struct Impl;
    std::shared_ptr<Impl> m_impl; // shared with the monitoring thread, which may outlive the port
};
