#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace karvel::service::engine {

// One bit per square: bit y * 8 + x stands for column x, row y, so bit order is board order
// (row "A" first, left to right) and a 32-bit mask holds one team's pieces.
using Bits = std::uint32_t;

// Geometry
constexpr int kColumns = 8;
constexpr int kRows = 4;
constexpr int kSquares = kColumns * kRows;
constexpr int kDirections = 8;

constexpr int squareOf(int x, int y) {
    return y * kColumns + x;
}
constexpr int columnOf(int square) {
    return square % kColumns;
}
constexpr int rowOf(int square) {
    return square / kColumns;
}
constexpr Bits bitOf(int square) {
    return Bits{1} << square;
}
constexpr int lowestSquare(Bits bits) {
    return std::countr_zero(bits);
}

// Neighbourhoods
constexpr Bits kNotFirstColumn = 0xFEFEFEFEu;
constexpr Bits kNotLastColumn = 0x7F7F7F7Fu;

// The squares of `bits` together with every square that touches one of them, diagonals included.
constexpr Bits withNeighbours(Bits bits) {
    const Bits row = bits | ((bits << 1) & kNotFirstColumn) | ((bits >> 1) & kNotLastColumn);
    return row | (row << kColumns) | (row >> kColumns);
}

// Jumps: the jumped square and the landing square of a piece on `square` jumping in direction
// d, directions in the rules' fixed order (two rows up, same row, two rows down; left to right).
struct JumpGeometry {
    std::int8_t over = -1;
    std::int8_t to = -1;  // -1: the landing square is off the board
};

constexpr std::array<std::array<int, 2>, kDirections> kJumpOffsets = {
    {{-2, -2}, {0, -2}, {2, -2}, {-2, 0}, {2, 0}, {-2, 2}, {0, 2}, {2, 2}}};

constexpr std::array<std::array<JumpGeometry, kDirections>, kSquares> makeJumpTable() {
    std::array<std::array<JumpGeometry, kDirections>, kSquares> table{};
    for (int square = 0; square < kSquares; ++square) {
        for (int d = 0; d < kDirections; ++d) {
            const int x = columnOf(square) + kJumpOffsets[d][0];
            const int y = rowOf(square) + kJumpOffsets[d][1];
            if (x >= 0 && x < kColumns && y >= 0 && y < kRows) {
                table[square][d].to = static_cast<std::int8_t>(squareOf(x, y));
                table[square][d].over =
                    static_cast<std::int8_t>(squareOf(columnOf(square) + kJumpOffsets[d][0] / 2,
                                                      rowOf(square) + kJumpOffsets[d][1] / 2));
            }
        }
    }
    return table;
}

inline constexpr auto kJumpTable = makeJumpTable();

}  // namespace karvel::service::engine
