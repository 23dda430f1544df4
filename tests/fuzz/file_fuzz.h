#pragma once
// One input of the file fuzzer, shared by the libFuzzer program and the test
// that replays the corpus: the first byte chooses the reader, the rest is the
// file it is given.
//
//   0  a workbook stream (the BIFF8 reader)     1  a workbook file (.xls)
//   2  a label file (.ubl)                      3  a cassette file
//   4  Tarnel's scale list (ini)
//
// Aborts when a reader breaks a promise that can be checked from outside: a
// label or cassette file read as sound must read back equal once written.

#include <cstdint>
#include <span>

inline constexpr int kFuzzReaders = 5;

void FuzzFileInput(std::span<const std::uint8_t> input);
