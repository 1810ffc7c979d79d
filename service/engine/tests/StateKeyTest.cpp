#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>

#include "RandomPlayouts.h"
#include "StateKey.h"

namespace karvel::service::engine {
namespace {

// Mirrors written on the board text, apart from the engine's bit tricks.
std::string mirrored(const std::string& text, bool columns, bool rows) {
    std::string image(text.size(), '0');
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const int toX = columns ? kColumns - 1 - x : x;
            const int toY = rows ? kRows - 1 - y : y;
            image[toY * kColumns + toX] = text[y * kColumns + x];
        }
    }
    return image;
}

int mirroredSquare(int square, bool columns, bool rows) {
    if (square == GameState::kNoChain) {
        return square;
    }
    const int x = columns ? kColumns - 1 - columnOf(square) : columnOf(square);
    const int y = rows ? kRows - 1 - rowOf(square) : rowOf(square);
    return squareOf(x, y);
}

struct Sample {
    std::string text;
    int chain;
};

std::vector<Sample> samples() {
    std::mt19937_64 rng(11);
    std::vector<Sample> result;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = testing::randomBoard(rng).toString();
        const GameState state = stateFromBoardText(text, 2, GameState::kNoChain);
        int chain = GameState::kNoChain;
        if (state.mover != 0 && i % 2 == 0) {
            chain = lowestSquare(state.mover);
        }
        result.push_back({text, chain});
    }
    // Symmetric boards, where mirror images tie and only the chain square tells them apart.
    for (int square = 0; square < kSquares; ++square) {
        result.push_back({"00000000011001100220022000000000", square});
    }
    return result;
}

TEST(StateKey, MirrorImagesShareTheirKey) {
    for (const Sample& sample : samples()) {
        const std::uint64_t key = canonicalKey(stateFromBoardText(sample.text, 2, sample.chain));
        EXPECT_LT(key, std::uint64_t{1} << kStateKeyBits);
        for (const bool columns : {false, true}) {
            for (const bool rows : {false, true}) {
                const GameState image =
                    stateFromBoardText(mirrored(sample.text, columns, rows), 2,
                                       mirroredSquare(sample.chain, columns, rows));
                EXPECT_EQ(canonicalKey(image), key) << sample.text << " chain " << sample.chain;
            }
        }
    }
}

TEST(StateKey, StatesThatAreNotMirrorImagesHaveDifferentKeys) {
    // The smallest text of the four images, with the chain square, names the orbit.
    std::map<std::uint64_t, std::string> orbitOfKey;
    for (const Sample& sample : samples()) {
        std::string orbit = "~";
        for (const bool columns : {false, true}) {
            for (const bool rows : {false, true}) {
                orbit = std::min(orbit,
                                 mirrored(sample.text, columns, rows) + "@" +
                                     std::to_string(mirroredSquare(sample.chain, columns, rows)));
            }
        }
        const std::uint64_t key = canonicalKey(stateFromBoardText(sample.text, 2, sample.chain));
        const auto [known, added] = orbitOfKey.emplace(key, orbit);
        EXPECT_EQ(known->second, orbit) << "two orbits share key " << key;
    }
    // Who is to move matters too.
    EXPECT_NE(canonicalKey(stateFromBoardText("12", 1, GameState::kNoChain)),
              canonicalKey(stateFromBoardText("12", 2, GameState::kNoChain)));
}

}  // namespace
}  // namespace karvel::service::engine
