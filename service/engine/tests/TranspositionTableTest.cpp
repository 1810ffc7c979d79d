#include <gtest/gtest.h>

#include <map>
#include <random>
#include <thread>
#include <vector>

#include "StateKey.h"
#include "TranspositionTable.h"

namespace karvel::service::engine {
namespace {

constexpr std::uint64_t kLargestKey = (std::uint64_t{1} << kStateKeyBits) - 1;

TEST(TranspositionTable, KeepsEveryValueAndBoundWithTheLargestKeys) {
    TranspositionTable table(12);
    std::uint64_t key = kLargestKey;
    for (int value = -14; value <= 14; ++value) {
        for (const Bound bound : {Bound::lower, Bound::upper, Bound::exact}) {
            table.store(key, TableEntry{value, bound});
            const auto entry = table.probe(key);
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->value, value);
            EXPECT_EQ(entry->bound, bound);
            --key;
        }
    }
    EXPECT_FALSE(table.probe(0));
}

TEST(TranspositionTable, AFullTableForgetsButNeverAnswersWrongly) {
    TranspositionTable table(3);  // two buckets of four
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<std::uint64_t> anyKey(0, kLargestKey);
    std::map<std::uint64_t, int> stored;
    for (int i = 0; i < 2000; ++i) {
        const std::uint64_t key = anyKey(rng) % 64;  // few keys, so they come back
        const int value = static_cast<int>(i % 29) - 14;
        table.store(key, TableEntry{value, Bound::exact});
        stored[key] = value;
        for (const auto& [known, expected] : stored) {
            if (const auto entry = table.probe(known)) {
                ASSERT_EQ(entry->value, expected) << "key " << known;
            }
        }
    }
}

TEST(TranspositionTable, ReadersInOtherThreadsSeeWholeEntries) {
    TranspositionTable table(4);
    constexpr int kWriters = 3;
    constexpr int kRounds = 20000;
    // Each key's value is a function of the key, so any entry found can be checked.
    auto valueOf = [](std::uint64_t key) { return static_cast<int>(key % 29) - 14; };
    std::vector<std::thread> threads;
    threads.reserve(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i < kRounds; ++i) {
                const std::uint64_t key =
                    kLargestKey - static_cast<std::uint64_t>(i * kWriters + w) % 97;
                table.store(key, TableEntry{valueOf(key), Bound::lower});
            }
        });
    }
    int wrong = 0;
    for (int i = 0; i < kRounds; ++i) {
        const std::uint64_t key = kLargestKey - static_cast<std::uint64_t>(i) % 97;
        if (const auto entry = table.probe(key)) {
            wrong += entry->value != valueOf(key) || entry->bound != Bound::lower ? 1 : 0;
        }
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

TEST(TranspositionTable, RefusesSizesItCannotHold) {
    EXPECT_THROW(TranspositionTable(2), std::invalid_argument);
    EXPECT_THROW(TranspositionTable(60), std::invalid_argument);
}

}  // namespace
}  // namespace karvel::service::engine
