#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Board.h"
#include "Display.h"
#include "Position.h"
#include "ProcessHooks.h"
#include "server/Api.h"
#include "server/GameRecord.h"

namespace karvel {

// The controller: asks how to play, sets up a game on the service, then polls it once a second,
// asking the user for moves on their turn and the service for the AI's moves on its turn.
class GameManager {
public:
    static constexpr const char* ERROR_TYPE = "KARVEL_GAME_MANAGER_ERROR";
    static constexpr const char* ERROR_TYPE_API = "KARVEL_API_ERROR";

    // Checks the service at once; when it does not answer, shows "Service not available" and
    // ends the program through display.exit().
    GameManager(server::Api& api, Display& display, ProcessHooks hooks = ProcessHooks::real());

    // Play loop; ends the program through display.exit()
    void run();
    void start();
    void resetGame();
    void exit();
    std::int32_t opposingTeam() const;

    // Setting up a game
    void create(std::int32_t team);
    void join(const std::string& gameId);
    void joinAi();

    // Turn cycle
    void check();
    void getMove(const Board& board);
    void getFollowUpMove(const Board& board);
    void move(const Move& move);
    void getAiMove();

    // State of the current game
    std::int32_t aiLevel = 0;
    bool aiMode = false;
    std::int32_t currentPlayer = 0;
    std::optional<Position> lastPosition;
    bool needUpdate = false;
    std::optional<std::string> playerId;
    bool isPlaying = false;
    std::optional<std::string> gameId;
    std::int32_t team = 0;

private:
    void showRejection(const server::GameRecord& rejection);
    void showReplyBoard(const server::GameRecord& reply, const Board& board);
    void drawBoard(std::int32_t player, bool isMyTurn, std::int32_t state, const Board& board);
    void trace(const std::exception_ptr& failure);

    server::Api& api;
    Display& display;
    ProcessHooks hooks;
    // Text of the board the display shows now: a poll redraws whenever the service's board
    // differs, even when a whole turn of the opponent fell between two polls.
    std::optional<std::string> drawnBoard;
};

}  // namespace karvel
