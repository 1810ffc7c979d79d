#pragma once

#include <optional>
#include <string>

#include "Ai.h"
#include "Board.h"

namespace karvel::service::engine {

// Plays `games` games of Hard against Easy, Hard taking X in even games and O in odd ones.
// Every AI request goes through `choose(boardText, team, chainFrom, level)`, which must return
// the engine's choice for it: the benchmarks time or record the requests there.
template <class Choose>
void playHardAgainstEasy(int games, Choose&& choose) {
    for (int game = 0; game < games; ++game) {
        Board board = Board::newGame();
        Piece team = 2;
        const Piece hardTeam = game % 2 == 0 ? 2 : 1;
        std::optional<Position> chain;
        while (chain || board.hasAnyMoreMoves(team)) {
            const int level = team == hardTeam ? kHard : kEasy;
            const AiChoice choice = choose(board.toString(), team, chain, level);
            board.move(choice.move);
            if (choice.keepJumping) {
                chain = choice.move.to;
            } else {
                chain.reset();
                team = opposingTeamOf(team);
            }
        }
    }
}

}  // namespace karvel::service::engine
