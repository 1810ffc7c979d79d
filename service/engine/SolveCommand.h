#pragma once

#include <cstdint>
#include <iosfwd>

namespace karvel::service::engine {

// The exact solve of the opening position, X (team 2) to move, and what it cost.
struct OpeningSolve {
    int value = 0;            // final island score difference for X under perfect play
    std::uint64_t nodes = 0;  // states searched: the same on every machine
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakResidentKiB = 0;  // of the whole process, from getrusage
};

OpeningSolve solveOpening();

// `karvel-service --solve`: solves the opening position and prints the value with the cost of
// the solve. Returns the process exit status.
int printOpeningSolve(std::ostream& out);

}  // namespace karvel::service::engine
