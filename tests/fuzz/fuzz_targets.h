#pragma once
// The fuzz targets, shared by the libFuzzer programs (one a target, built from
// fuzz_main.cpp) and the test that replays their corpora
// (tests/fuzz/corpus/<name>/). Each aborts when a promise that can be checked
// from outside breaks.
//
//   file    the first byte chooses the reader, the rest is the file:
//           0 a BIFF8 workbook stream   1 a workbook file (.xls)
//           2 a label file (.ubl)       3 a cassette file
//           4 a BIFF5 workbook stream (Excel 5/95)
//           a label or cassette file read as sound reads back equal once written
//   ini     Tarnel's scale list: read, written back, read again: the same scales
//   tcp     a scale's TCP stream (byte 0: start and read size) cut into packets,
//           whose payloads are parsed as every kind of received record; a
//           packet encodes back to itself
//   link    RS-232 line bytes into join replies and link frames, joined into
//           records and parsed; a frame stuffed again is received as itself
//   server  one message to the results server; a sale message re-encoded
//           decodes to the same sale, and every reply is 532 bytes

#include <cstdint>
#include <span>

inline constexpr int kFuzzReaders = 5;

void FuzzFileInput(std::span<const std::uint8_t> input);
void FuzzIniInput(std::span<const std::uint8_t> input);
void FuzzTcpInput(std::span<const std::uint8_t> input);
void FuzzLinkInput(std::span<const std::uint8_t> input);
void FuzzServerInput(std::span<const std::uint8_t> input);

// Aborts when promise is false.
void FuzzCheck(bool promise);

struct FuzzTarget {
    const char* name; // the corpus folder
    void (*run)(std::span<const std::uint8_t> input);
};
inline constexpr FuzzTarget kFuzzTargets[] = {
    { "file", FuzzFileInput },
    { "ini", FuzzIniInput },
    { "tcp", FuzzTcpInput },
    { "link", FuzzLinkInput },
    { "server", FuzzServerInput },
};
