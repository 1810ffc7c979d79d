#include "TranspositionTable.h"

#include <stdexcept>

#include "StateKey.h"

namespace karvel::service::engine {

namespace {

// A word is key << 7 | bound << 5 | (value + 16): values lie in -14..14 (no team scores more
// than 14 with 8 pieces), and a bound is never 0, so the word 0 marks an empty slot.
constexpr int kValueBits = 5;
constexpr int kBoundBits = 2;
constexpr int kPayloadBits = kValueBits + kBoundBits;
constexpr int kValueOffset = 16;
constexpr std::uint64_t kValueMask = (1u << kValueBits) - 1;
constexpr std::uint64_t kBoundMask = (1u << kBoundBits) - 1;
constexpr int kLog2BucketSlots = 2;
constexpr std::size_t kBucketSlots = std::size_t{1} << kLog2BucketSlots;

static_assert(kStateKeyBits + kPayloadBits <= 64);

std::uint64_t wordOf(std::uint64_t key, TableEntry entry) {
    return key << kPayloadBits |
           std::uint64_t{static_cast<std::uint8_t>(entry.bound)} << kValueBits |
           static_cast<std::uint64_t>(entry.value + kValueOffset);
}

std::uint64_t keyOf(std::uint64_t word) {
    return word >> kPayloadBits;
}

TableEntry entryOf(std::uint64_t word) {
    return TableEntry{static_cast<int>(word & kValueMask) - kValueOffset,
                      static_cast<Bound>(word >> kValueBits & kBoundMask)};
}

int checkedLog2Entries(int log2Entries) {
    constexpr int kLargest = 36;
    if (log2Entries <= kLog2BucketSlots || log2Entries > kLargest) {
        throw std::invalid_argument("transposition table size out of range");
    }
    return log2Entries;
}

}  // namespace

TranspositionTable::TranspositionTable(int log2Entries)
    : entries_(std::size_t{1} << checkedLog2Entries(log2Entries)),
      log2Buckets_(log2Entries - kLog2BucketSlots),
      words_(std::make_unique<std::atomic<std::uint64_t>[]>(entries_)) {}

std::size_t TranspositionTable::bucketOf(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - log2Buckets_)) *
           kBucketSlots;
}

std::optional<TableEntry> TranspositionTable::probe(std::uint64_t key) const {
    const std::size_t first = bucketOf(key);
    for (std::size_t i = first; i < first + kBucketSlots; ++i) {
        const std::uint64_t word = words_[i].load(std::memory_order_relaxed);
        if (word != 0 && keyOf(word) == key) {
            return entryOf(word);
        }
    }
    return std::nullopt;
}

void TranspositionTable::store(std::uint64_t key, TableEntry entry) {
    const std::size_t first = bucketOf(key);
    // Same key, else an empty slot, else a bound (cheaper to lose than an exact value), else a
    // slot picked by the key.
    std::size_t target = first + (key & (kBucketSlots - 1));
    int targetRank = 3;
    for (std::size_t i = first; i < first + kBucketSlots; ++i) {
        const std::uint64_t word = words_[i].load(std::memory_order_relaxed);
        const int rank = word != 0 && keyOf(word) == key       ? 0
                         : word == 0                           ? 1
                         : entryOf(word).bound != Bound::exact ? 2
                                                               : 3;
        if (rank < targetRank) {
            target = i;
            targetRank = rank;
        }
    }
    words_[target].store(wordOf(key, entry), std::memory_order_relaxed);
}

std::size_t TranspositionTable::bytes() const {
    return entries_ * sizeof(std::atomic<std::uint64_t>);
}

}  // namespace karvel::service::engine
