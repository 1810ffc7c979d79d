#include "Board.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string_view>

#include "PieceTools.h"
#include "error/NotIslandError.h"
#include "error/OccupiedSpaceError.h"

namespace karvel {

namespace {

constexpr std::size_t kRows = std::tuple_size_v<Grid>;
constexpr std::size_t kColumns = std::tuple_size_v<Row>;
constexpr std::size_t kSquares = kRows * kColumns;

// Jump landings, tried in this order so that every move list comes out in menu order.
constexpr std::array<Position, 8> kJumpOffsets{{
    {-2, -2},
    {0, -2},
    {2, -2},
    {-2, 0},
    {2, 0},
    {-2, 2},
    {0, 2},
    {2, 2},
}};

// The eight neighbours, in the same order as the jumps.
constexpr std::array<Position, 8> kNeighbourOffsets{{
    {-1, -1},
    {0, -1},
    {1, -1},
    {-1, 0},
    {1, 0},
    {-1, 1},
    {0, 1},
    {1, 1},
}};

// A square's place in the text form; only valid for squares on the board.
std::size_t squareIndex(const Position& p) {
    return static_cast<std::size_t>(p.y) * kColumns + static_cast<std::size_t>(p.x);
}

// Writes are dropped off the board, so no caller can ever write outside the grid.
void setSquare(Board& board, const Position& p, Piece piece) {
    if (board.isInBounds(p)) {
        board.board[static_cast<std::size_t>(p.y)][static_cast<std::size_t>(p.x)] = piece;
    }
}

// The coordinate halfway from a to b, rounded towards plus infinity. Worked in 64 bits so that
// far-off positions cannot overflow.
std::int32_t midCoordinate(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = std::int64_t{a} - std::int64_t{b};
    // floor((a - b) / 2) for either sign
    const std::int64_t floorHalf = difference >= 0 ? difference / 2 : -((-difference + 1) / 2);
    const std::int64_t half = floorHalf < 0 ? -floorHalf : floorHalf;
    if (b < a) {
        return static_cast<std::int32_t>(a - half);
    }
    if (a < b) {
        return static_cast<std::int32_t>(a + half);
    }
    return a;
}

std::int64_t distance(std::int32_t a, std::int32_t b) {
    return std::llabs(std::int64_t{a} - std::int64_t{b});
}

}  // namespace

Board::Board() = default;

Board Board::fromString(const std::string& text) {
    Board result;
    const std::size_t used = text.size() < kSquares ? text.size() : kSquares;
    for (std::size_t k = 0; k < used; ++k) {
        result.board[k / kColumns][k % kColumns] =
            PieceTools::fromString(std::string_view(text).substr(k, 1));
    }
    return result;
}

Board Board::newGame() {
    return fromString("00000000111111112222222200000000");
}

std::string Board::toString() const {
    std::string text;
    text.reserve(kSquares);
    for (const Row& row : board) {
        for (const Piece piece : row) {
            text += PieceTools::toString(piece);
        }
    }
    return text;
}

Board Board::clone() const {
    return fromString(toString());
}

Piece Board::pieceAt(const Position& p) const {
    if (!isInBounds(p)) {
        return 0;
    }
    return board[static_cast<std::size_t>(p.y)][static_cast<std::size_t>(p.x)];
}

bool Board::isInBounds(const Position& p) const {
    const auto rows = static_cast<std::int64_t>(board.size());
    const auto columns = static_cast<std::int64_t>(board[0].size());
    return p.x > -1 && p.x < columns && p.y > -1 && p.y < rows;
}

std::vector<Position> Board::getPositions(Piece team) const {
    std::vector<Position> positions;
    if (team == 0) {
        return positions;
    }
    for (std::size_t y = 0; y < kRows; ++y) {
        for (std::size_t x = 0; x < kColumns; ++x) {
            if (board[y][x] == team) {
                positions.push_back(
                    Position::_new(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
            }
        }
    }
    return positions;
}

Position Board::midPoint(const Position& a, const Position& b) {
    return Position::_new(midCoordinate(a.x, b.x), midCoordinate(a.y, b.y));
}

bool Board::isValidMove(const Move& m) const {
    const Piece moving = pieceAt(m.from);
    if (pieceAt(m.to) != 0) {
        return false;
    }
    const std::int64_t dx = distance(m.from.x, m.to.x);
    const std::int64_t dy = distance(m.from.y, m.to.y);
    if ((dx > dy ? dx : dy) != 2 || dx == 1 || dy == 1) {
        return false;
    }
    return pieceAt(midPoint(m.from, m.to)) == opposingTeamOf(moving);
}

std::vector<Position> Board::getMoves(const Position& p) const {
    std::vector<Position> moves;
    const Piece moving = pieceAt(p);
    if (moving == 0) {
        return moves;  // also every square off the board
    }
    for (const Position& offset : kJumpOffsets) {
        const Position to = Position::add(p, offset);
        if (!isInBounds(to) || pieceAt(to) != 0) {
            continue;
        }
        const Piece jumped = pieceAt(midPoint(p, to));
        if (jumped != 0 && jumped != moving) {
            moves.push_back(to);
        }
    }
    return moves;
}

std::vector<Position> Board::getPositionsWithMoves(Piece team) const {
    std::vector<Position> movable;
    for (const Position& p : getPositions(team)) {
        if (!getMoves(p).empty()) {
            movable.push_back(p);
        }
    }
    return movable;
}

bool Board::hasAnyMoreMoves(Piece team) const {
    for (const Position& p : getPositions(team)) {
        if (!getMoves(p).empty()) {
            return true;
        }
    }
    return false;
}

void Board::move(const Move& m) {
    const Piece occupant = pieceAt(m.to);
    if (occupant != 0) {
        throw error::OccupiedSpaceError(m.to, occupant);
    }
    setSquare(*this, midPoint(m.from, m.to), 0);
    setSquare(*this, m.to, pieceAt(m.from));
    setSquare(*this, m.from, 0);
}

std::vector<Position> Board::getIsland(const Position& start) const {
    const Piece team = pieceAt(start);
    if (team == 0) {
        throw error::NotIslandError(start);
    }
    // Every square reached here is on the board, so its index stands in for its text key.
    std::array<bool, kSquares> members{};
    std::array<bool, kSquares> expanded{};
    std::vector<Position> island{start};
    std::deque<Position> queue{start};
    members[squareIndex(start)] = true;

    while (!queue.empty()) {
        const Position current = queue.front();
        queue.pop_front();
        if (expanded[squareIndex(current)]) {
            continue;
        }
        expanded[squareIndex(current)] = true;
        for (const Position& offset : kNeighbourOffsets) {
            const Position neighbour = Position::add(current, offset);
            if (!isInBounds(neighbour)) {
                continue;
            }
            const Piece code = pieceAt(neighbour);
            if (code == team) {
                if (!members[squareIndex(neighbour)]) {
                    members[squareIndex(neighbour)] = true;
                    island.push_back(neighbour);
                }
                queue.push_back(neighbour);
            } else if (code != 0) {
                throw error::NotIslandError(neighbour);
            }
        }
    }
    return island;
}

int Board::calculateScore(Piece team) const {
    std::array<bool, kSquares> seen{};
    int score = 0;
    for (const Position& p : getPositions(team)) {
        if (seen[squareIndex(p)]) {
            continue;
        }
        seen[squareIndex(p)] = true;
        std::vector<Position> island;
        try {
            island = getIsland(p);
        } catch (const error::NotIslandError&) {
            continue;  // the group touches the other team and scores nothing
        }
        for (const Position& member : island) {
            seen[squareIndex(member)] = true;
        }
        const auto size = static_cast<int>(island.size());
        if (size >= 1 && size <= 5) {
            score += 2 * size - 1;
        }
    }
    return score;
}

}  // namespace karvel
