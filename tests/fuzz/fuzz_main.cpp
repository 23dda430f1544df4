// The libFuzzer program (CALVORN_FUZZ builds it with clang); scripts/fuzz.sh
// runs it over tests/fuzz/corpus.

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFileInput(std::span<const std::uint8_t>(data, size));
    return 0;
}
