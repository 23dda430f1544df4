#pragma once
// A pseudo-terminal pair that stands in for a serial line in tests and in the
// scale simulator: CSerialPort opens the slave device (SlavePath) as a COM port,
// the far end reads and writes the master side here.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/base/io_status.h"

class CPseudoTerminal {
public:
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    // Opens a new pair. The slave side is set raw and kept open here, so the line
    // survives the port closing and opening again.
    IoStatus Open();
    void Close();
    bool IsOpen() const;

    // Device path of the slave side ("/dev/pts/N").
    std::string SlavePath() const;

    // Writes every byte to the line; Timeout when they are not taken in time.
    IoStatus Write(std::span<const std::uint8_t> bytes, int timeoutMs);

    // One read of what the line holds, at least one byte: Timeout when nothing
    // came within timeoutMs, PeerClosed after Interrupt.
    IoStatus Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs);

    // Makes a Read waiting on another thread return (PeerClosed), now and from
    // then on, until the pair is opened again.
    void Interrupt();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
