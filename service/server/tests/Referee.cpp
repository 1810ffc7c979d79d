#include "Referee.h"

namespace karvel::service::server::testing {

std::vector<Move> Referee::legalMoves() const {
    std::vector<Position> pieces =
        chainFrom ? std::vector<Position>{*chainFrom} : board.getPositionsWithMoves(toMove);
    std::vector<Move> moves;
    for (const Position& from : pieces) {
        for (const Position& to : board.getMoves(from)) {
            moves.push_back(Move{from, to});
        }
    }
    return moves;
}

void Referee::jump(const Move& move) {
    board.move(move);
    if (board.getMoves(move.to).empty()) {
        pass();
    } else {
        chainFrom = move.to;
    }
}

void Referee::pass() {
    chainFrom.reset();
    toMove = opposingTeamOf(toMove);
    ended = !board.hasAnyMoreMoves(toMove);
}

}  // namespace karvel::service::server::testing
