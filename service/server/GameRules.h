#pragma once

#include <optional>
#include <string>

#include "GameRecord.h"
#include "Position.h"

namespace karvel::service::server {

// Why a request was refused: the HTTP status to answer with and a sentence for people.
struct Rejection {
    int status;
    std::string message;
};
using Outcome = std::optional<Rejection>;  // empty when the change was made

// The rules of play as the service enforces them, on a record held in memory. Each operation
// either changes the record and gives no rejection, or leaves it as it was.

GameRecord openGame(std::string id, Piece creatorTeam, std::string creatorPlayer);

// The team whose seat the player id holds, or 0; compared in constant time.
Piece teamOfPlayer(const GameRecord& game, const std::string& playerId);

// Takes the free seat for a person; gives the team taken through `team`.
Outcome seatSecondPlayer(GameRecord& game, const std::string& playerId, Piece& team);
Outcome seatAi(GameRecord& game);

// One jump by `team`. After it the same team stays to move while that piece can jump on.
Outcome applyJump(GameRecord& game, Piece team, const Move& move);
// Ends a chain of jumps early.
Outcome passTurn(GameRecord& game, Piece team);

// A check made before asking the AI for a jump, so a refusal costs no search.
Outcome checkAiMayMove(const GameRecord& game, Piece requesterTeam);

}  // namespace karvel::service::server
