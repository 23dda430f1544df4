// The fuzzer's corpus replayed through the readers in every build (the
// sanitizer build included): each file read within bounds, every reader met.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/fuzz/file_fuzz.h"

TEST(FileFuzzCorpus, EveryFileIsReadSafely)
{
    std::set<int> readers;
    for (const auto& entry : std::filesystem::directory_iterator(CALVORN_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(in), {} };
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_FALSE(bytes.empty());
        readers.insert(bytes[0] % kFuzzReaders);
        FuzzFileInput(bytes);
    }
    EXPECT_EQ(readers.size(), static_cast<std::size_t>(kFuzzReaders));
}
