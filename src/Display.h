#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Board.h"
#include "Position.h"
#include "StartChoice.h"
#include "common/errors/Error.h"

namespace karvel {

// One entry of the final scores.
struct TeamScore {
    std::int32_t team = 0;
    std::int32_t points = 0;
};
// Final scores in the order they are shown: team 2 first, then team 1.
using Scores = std::vector<TeamScore>;

// Everything the controller asks the user or shows. Any operation that waits for the user may
// throw error::EndGameInterrupt (the user leaves) or EndOfInput (input ended).
class Display {
public:
    virtual ~Display() = default;

    virtual void displayError(const common::errors::Error& error) = 0;
    virtual void displayGameId(const std::string& gameId) = 0;
    virtual void endGame(const Scores& scores, const Grid& grid) = 0;
    // Leaves the interface tidily and ends the process with status 0. A test double may throw
    // instead of ending the process; it must never simply return.
    [[noreturn]] virtual void exit() = 0;
    virtual std::int32_t getAiLevel() = 0;
    virtual std::string getGameId() = 0;
    virtual std::optional<StartChoice> getGameStart() = 0;
    virtual std::int32_t getTeamChoice() = 0;
    virtual void invite(const std::string& gameId) = 0;
    virtual bool playAgain() = 0;
    // A Move from `from` to one of `moves`, or none when the user ends the turn.
    virtual std::optional<Move> requestFollowUpMove(std::int32_t team, const Position& from,
                                                    const std::vector<Position>& moves) = 0;
    // One of the offered positions; none only when nothing could be chosen.
    virtual std::optional<Position> requestNextMoveFrom(std::int32_t team,
                                                        const std::vector<Position>& positions) = 0;
    virtual std::optional<Position> requestNextMoveTo(std::int32_t team,
                                                      const std::vector<Position>& positions) = 0;
    virtual void showBoard(std::int32_t currentPlayer, bool isMyTurn, std::int32_t state,
                           const Grid& grid) = 0;
    virtual void showLastMove(std::int32_t team, const Move& move) = 0;
};

}  // namespace karvel
