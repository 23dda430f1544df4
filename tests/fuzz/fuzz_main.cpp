// One libFuzzer program a target (CALVORN_FUZZ builds them with clang, each
// with CALVORN_FUZZ_ENTRY naming its function); scripts/fuzz.sh runs each over
// its corpus in tests/fuzz/corpus/<target>.

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CALVORN_FUZZ_ENTRY(std::span<const std::uint8_t>(data, size));
    return 0;
}
