#include "ReferenceSearch.h"

#include <algorithm>
#include <limits>

namespace karvel::service::engine::testing {

namespace {

std::string memoKey(const Board& board, Piece team, std::optional<Position> chain) {
    return board.toString() + std::to_string(team) +
           (chain ? Position::toString(*chain) : std::string("-"));
}

Board after(const Board& board, const Move& move) {
    Board next = board.clone();
    next.move(move);
    return next;
}

}  // namespace

int ReferenceSearch::value(const Board& board, Piece team, std::optional<Position> chain) {
    const std::string key = memoKey(board, team, chain);
    if (const auto known = memo_.find(key); known != memo_.end()) {
        return known->second;
    }
    int result = 0;
    if (!chain && !board.hasAnyMoreMoves(team)) {
        result = board.calculateScore(team) - board.calculateScore(opposingTeamOf(team));
    } else {
        result = bestJumpValue(board, team, chain);
        if (chain) {
            result = std::max(result, -value(board, opposingTeamOf(team), std::nullopt));
        }
    }
    memo_.emplace(key, result);
    return result;
}

int ReferenceSearch::jumpValue(const Board& board, Piece team, const Move& move) {
    const Board next = after(board, move);
    if (!next.getMoves(move.to).empty()) {
        return value(next, team, move.to);
    }
    return -value(next, opposingTeamOf(team), std::nullopt);
}

int ReferenceSearch::choiceValue(const Board& board, Piece team, const Move& move,
                                 bool keepJumping) {
    const Board next = after(board, move);
    if (keepJumping) {
        return bestJumpValue(next, team, move.to);
    }
    return -value(next, opposingTeamOf(team), std::nullopt);
}

int ReferenceSearch::bestJumpValue(const Board& board, Piece team, std::optional<Position> chain) {
    int best = std::numeric_limits<int>::min();
    const auto movers = chain ? std::vector<Position>{*chain} : board.getPositionsWithMoves(team);
    for (const Position& from : movers) {
        for (const Position& to : board.getMoves(from)) {
            best = std::max(best, jumpValue(board, team, Move{from, to}));
        }
    }
    return best;
}

}  // namespace karvel::service::engine::testing
