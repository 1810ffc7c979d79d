#include "RandomPlayouts.h"

namespace karvel::service::engine::testing {

namespace {

template <class T>
const T& pickFrom(const std::vector<T>& items, std::mt19937_64& rng) {
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(rng)];
}

}  // namespace

std::vector<DecisionPoint> randomGame(std::mt19937_64& rng) {
    std::vector<DecisionPoint> points;
    DecisionPoint point{Board::newGame(), 2, std::nullopt};
    while (point.chain || point.board.hasAnyMoreMoves(point.team)) {
        points.push_back(point);
        const Position from = point.chain
                                  ? *point.chain
                                  : pickFrom(point.board.getPositionsWithMoves(point.team), rng);
        const Position to = pickFrom(point.board.getMoves(from), rng);
        point.board.move(Move{from, to});
        if (!point.board.getMoves(to).empty() && std::bernoulli_distribution(0.5)(rng)) {
            point.chain = to;
        } else {
            point.chain.reset();
            point.team = opposingTeamOf(point.team);
        }
    }
    return points;
}

Board randomBoard(std::mt19937_64& rng) {
    constexpr int kMaxPieces = 8;
    Board board;
    std::uniform_int_distribution<int> count(0, kMaxPieces);
    std::uniform_int_distribution<int> column(0, 7);
    std::uniform_int_distribution<int> row(0, 3);
    for (Piece team : {1, 2}) {
        for (int placed = count(rng); placed > 0;) {
            const Position p{column(rng), row(rng)};
            if (board.pieceAt(p) == 0) {
                board.board[p.y][p.x] = team;
                --placed;
            }
        }
    }
    return board;
}

}  // namespace karvel::service::engine::testing
