#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace karvel::service::engine {

// What the search learnt about a state's value.
enum class Bound : std::uint8_t { lower = 1, upper = 2, exact = 3 };

struct TableEntry {
    int value = 0;
    Bound bound = Bound::exact;
};

// A fixed-size hash table from state keys (StateKey.h) to value bounds, safe to share between
// threads without locks: each entry is one 64-bit word holding the whole key with its bound, so
// a reader sees either a complete entry or none, and every entry it can match is true.
class TranspositionTable {
public:
    explicit TranspositionTable(int log2Entries);

    // Lookup and storage
    std::optional<TableEntry> probe(std::uint64_t key) const;
    void store(std::uint64_t key, TableEntry entry);

    // Size
    std::size_t bytes() const;

private:
    std::size_t bucketOf(std::uint64_t key) const;

    std::size_t entries_;
    int log2Buckets_;
    std::unique_ptr<std::atomic<std::uint64_t>[]> words_;
};

}  // namespace karvel::service::engine
