#pragma once

#include <array>
#include <string>

#include "Bitboard.h"

namespace karvel::service::engine {

// A decision point of a game, seen from the team to move. Teams are interchangeable under the
// rules, so the state does not say which team is to move.
struct GameState {
    static constexpr int kNoChain = -1;

    Bits mover = 0;        // pieces of the team to move
    Bits other = 0;        // pieces of the other team
    int chain = kNoChain;  // mid-chain: the only square that may jump, and passing is allowed

    friend bool operator==(const GameState&, const GameState&) = default;
};

// One jump, by squares. Left uninitialised by default, so that a JumpList costs nothing to make.
struct Jump {
    int from;
    int over;
    int to;

    friend bool operator==(const Jump&, const Jump&) = default;
};

// The jumps of a state in board order of the moving piece, then in the fixed direction order.
struct JumpList {
    std::array<Jump, kSquares * kDirections> jumps;  // the first `size` are set
    int size = 0;

    const Jump* begin() const { return jumps.data(); }
    const Jump* end() const { return jumps.data() + size; }
    bool empty() const { return size == 0; }
};

// Reading a state
bool canJumpFrom(int square, Bits mover, Bits other);
bool hasAnyJump(Bits mover, Bits other);
JumpList listJumps(const GameState& state);

// Playing: the state after a jump. The same team stays to move (mid-chain) when the piece that
// jumped can jump again; otherwise the other team is to move at the start of its turn.
GameState stateAfterJump(const GameState& state, const Jump& jump);
// The state after the team to move ends its turn mid-chain.
GameState stateAfterPass(const GameState& state);

// The 32-character board text ("1", "2", anything else empty, row "A" first) and team codes.
GameState stateFromBoardText(const std::string& text, int teamToMove, int chain);
std::string boardTextOf(const GameState& state, int teamToMove);

}  // namespace karvel::service::engine
