// The fuzzers' corpora replayed through their targets in every build (the
// sanitizer build included): each input handled within bounds, every file
// reader met, every target given seeds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/fuzz/fuzz_targets.h"

TEST(FuzzCorpus, EveryInputIsHandledSafely)
{
    for (const FuzzTarget& target : kFuzzTargets) {
        std::set<int> readers;
        std::size_t inputs = 0;
        for (const auto& entry :
            std::filesystem::directory_iterator(std::filesystem::path(CALVORN_FUZZ_CORPUS) / target.name)) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(in), {} };
            SCOPED_TRACE(entry.path().string());
            ASSERT_FALSE(bytes.empty());
            readers.insert(bytes[0] % kFuzzReaders);
            target.run(bytes);
            ++inputs;
        }
        EXPECT_GE(inputs, 2u) << target.name;
        if (target.run == FuzzFileInput) {
            EXPECT_EQ(readers.size(), static_cast<std::size_t>(kFuzzReaders));
        }
    }
}
