#include <gtest/gtest.h>

#include <sstream>

#include "SolveCommand.h"

namespace karvel::service::engine {
namespace {

TEST(SolveCommand, TheOpeningIsADrawAndTheNodeCountIsReproducible) {
    const OpeningSolve first = solveOpening();
    const OpeningSolve second = solveOpening();
    EXPECT_EQ(first.value, 0);
    EXPECT_GT(first.nodes, 0u);
    EXPECT_EQ(first.nodes, second.nodes);
    EXPECT_GT(first.peakResidentKiB, 0);
}

TEST(SolveCommand, PrintsTheValueAndTheCost) {
    std::ostringstream out;
    EXPECT_EQ(printOpeningSolve(out), 0);
    const std::string text = out.str();
    for (const char* line : {"value for X: 0 (a draw under perfect play)", "states searched: ",
                             "wall time: ", "CPU time: ", "peak resident memory: "}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing from:\n" << text;
    }
}

}  // namespace
}  // namespace karvel::service::engine
