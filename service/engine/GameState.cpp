#include "GameState.h"

namespace karvel::service::engine {

bool canJumpFrom(int square, Bits mover, Bits other) {
    const Bits empty = ~(mover | other);
    for (const JumpGeometry& jump : kJumpTable[square]) {
        if (jump.to >= 0 && (other & bitOf(jump.over)) != 0 && (empty & bitOf(jump.to)) != 0) {
            return true;
        }
    }
    return false;
}

bool hasAnyJump(Bits mover, Bits other) {
    for (Bits pieces = mover; pieces != 0; pieces &= pieces - 1) {
        if (canJumpFrom(lowestSquare(pieces), mover, other)) {
            return true;
        }
    }
    return false;
}

namespace {

void appendJumpsFrom(int square, Bits other, Bits empty, JumpList& list) {
    for (const JumpGeometry& jump : kJumpTable[square]) {
        if (jump.to >= 0 && (other & bitOf(jump.over)) != 0 && (empty & bitOf(jump.to)) != 0) {
            list.jumps[list.size++] = Jump{square, jump.over, jump.to};
        }
    }
}

}  // namespace

JumpList listJumps(const GameState& state) {
    JumpList list;
    const Bits empty = ~(state.mover | state.other);
    if (state.chain != GameState::kNoChain) {
        appendJumpsFrom(state.chain, state.other, empty, list);
        return list;
    }
    for (Bits pieces = state.mover; pieces != 0; pieces &= pieces - 1) {
        appendJumpsFrom(lowestSquare(pieces), state.other, empty, list);
    }
    return list;
}

GameState stateAfterJump(const GameState& state, const Jump& jump) {
    const Bits mover = (state.mover & ~bitOf(jump.from)) | bitOf(jump.to);
    const Bits other = state.other & ~bitOf(jump.over);
    if (canJumpFrom(jump.to, mover, other)) {
        return GameState{mover, other, jump.to};
    }
    return GameState{other, mover, GameState::kNoChain};
}

GameState stateAfterPass(const GameState& state) {
    return GameState{state.other, state.mover, GameState::kNoChain};
}

GameState stateFromBoardText(const std::string& text, int teamToMove, int chain) {
    const char moverCode = teamToMove == 1 ? '1' : '2';
    const char otherCode = teamToMove == 1 ? '2' : '1';
    GameState state;
    state.chain = chain;
    for (int square = 0; square < kSquares && square < static_cast<int>(text.size()); ++square) {
        if (text[square] == moverCode) {
            state.mover |= bitOf(square);
        } else if (text[square] == otherCode) {
            state.other |= bitOf(square);
        }
    }
    return state;
}

std::string boardTextOf(const GameState& state, int teamToMove) {
    const char moverCode = teamToMove == 1 ? '1' : '2';
    const char otherCode = teamToMove == 1 ? '2' : '1';
    std::string text(kSquares, '0');
    for (int square = 0; square < kSquares; ++square) {
        if ((state.mover & bitOf(square)) != 0) {
            text[square] = moverCode;
        } else if ((state.other & bitOf(square)) != 0) {
            text[square] = otherCode;
        }
    }
    return text;
}

}  // namespace karvel::service::engine
