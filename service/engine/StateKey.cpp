#include "StateKey.h"

#include <array>

namespace karvel::service::engine {

namespace {

constexpr int kBytes = 4;
constexpr int kChainCodes = 64;
constexpr int kMirrorColumns = 7;  // x -> 7 - x flips the low three bits of a square
constexpr int kMirrorRows = 24;    // y -> 3 - y flips the next two

// kTrits[k][b]: the base-3 value of byte k of a mask holding b, one trit 1 per set bit.
constexpr std::array<std::array<std::uint64_t, 256>, kBytes> makeTritTable() {
    std::array<std::array<std::uint64_t, 256>, kBytes> table{};
    std::uint64_t power = 1;
    for (int k = 0; k < kBytes; ++k) {
        std::array<std::uint64_t, 8> bitWeight{};
        for (int i = 0; i < 8; ++i) {
            bitWeight[i] = power;
            power *= 3;
        }
        for (int b = 0; b < 256; ++b) {
            for (int i = 0; i < 8; ++i) {
                if ((b >> i & 1) != 0) {
                    table[k][b] += bitWeight[i];
                }
            }
        }
    }
    return table;
}

constexpr auto kTrits = makeTritTable();

std::uint64_t tritsOf(Bits bits) {
    return kTrits[0][bits & 0xFF] + kTrits[1][bits >> 8 & 0xFF] + kTrits[2][bits >> 16 & 0xFF] +
           kTrits[3][bits >> 24];
}

Bits mirrorColumns(Bits bits) {
    bits = ((bits >> 1) & 0x55555555u) | ((bits & 0x55555555u) << 1);
    bits = ((bits >> 2) & 0x33333333u) | ((bits & 0x33333333u) << 2);
    return ((bits >> 4) & 0x0F0F0F0Fu) | ((bits & 0x0F0F0F0Fu) << 4);
}

Bits mirrorRows(Bits bits) {
    return __builtin_bswap32(bits);
}

struct Image {
    std::uint64_t pieces;  // mover in the high half, other in the low half: orders the images
    int squareFlip;        // what the mirror does to a square number
};

}  // namespace

std::uint64_t canonicalKey(const GameState& state) {
    const Bits moverH = mirrorColumns(state.mover);
    const Bits otherH = mirrorColumns(state.other);
    const std::array<Image, 4> images = {{
        {std::uint64_t{state.mover} << 32 | state.other, 0},
        {std::uint64_t{moverH} << 32 | otherH, kMirrorColumns},
        {std::uint64_t{mirrorRows(state.mover)} << 32 | mirrorRows(state.other), kMirrorRows},
        {std::uint64_t{mirrorRows(moverH)} << 32 | mirrorRows(otherH),
         kMirrorColumns | kMirrorRows},
    }};
    // Ties between images are only possible for symmetric pieces; the chain square then
    // decides, so the key stays a function of the state's orbit.
    auto chainOf = [&state](const Image& image) {
        return state.chain == GameState::kNoChain ? 0 : (state.chain ^ image.squareFlip) + 1;
    };
    const Image* best = images.data();
    for (const Image& image : images) {
        if (image.pieces < best->pieces ||
            (image.pieces == best->pieces && chainOf(image) < chainOf(*best))) {
            best = &image;
        }
    }
    const auto mover = static_cast<Bits>(best->pieces >> 32);
    const auto other = static_cast<Bits>(best->pieces);
    return (tritsOf(mover) + 2 * tritsOf(other)) * kChainCodes +
           static_cast<std::uint64_t>(chainOf(*best));
}

}  // namespace karvel::service::engine
