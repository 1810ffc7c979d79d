#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Position.h"

namespace karvel::service::server {

// The life of a game, as numbered on the wire.
enum class GameState : int { waiting = 0, inPlay = 1, ended = 2 };

// Everything the service keeps about one game.
struct GameRecord {
    std::string id;
    std::string
        playerOne;  // secret of team 1's seat; empty while the seat is free or held by the AI
    std::string playerTwo;  // the same for team 2
    Piece aiTeam = 0;       // the team the service's AI plays, 0 in a game between two people
    std::string board;      // 32-character board text
    GameState state = GameState::waiting;
    Piece currentPlayer = 2;
    std::optional<Position> chainFrom;  // set while the piece that just jumped may jump on
    std::int64_t version = 0;           // counts the changes; 0 for a game never changed
};

}  // namespace karvel::service::server
