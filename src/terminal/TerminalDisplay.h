#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Display.h"

namespace karvel::terminal {

// The controller's display on the terminal: the creation panel asks how to start, the play panel
// shows the board and asks for moves. Making it opens the screen.
class Display : public karvel::Display {
public:
    Display();

    void displayError(const common::errors::Error& error) override;
    void displayGameId(const std::string& gameId) override;
    void endGame(const Scores& scores, const Grid& grid) override;
    [[noreturn]] void exit() override;
    std::int32_t getAiLevel() override;
    std::string getGameId() override;
    std::optional<StartChoice> getGameStart() override;
    std::int32_t getTeamChoice() override;
    void invite(const std::string& gameId) override;
    bool playAgain() override;
    std::optional<Move> requestFollowUpMove(std::int32_t team, const Position& from,
                                            const std::vector<Position>& moves) override;
    std::optional<Position> requestNextMoveFrom(std::int32_t team,
                                                const std::vector<Position>& positions) override;
    std::optional<Position> requestNextMoveTo(std::int32_t team,
                                              const std::vector<Position>& positions) override;
    void showBoard(std::int32_t currentPlayer, bool isMyTurn, std::int32_t state,
                   const Grid& grid) override;
    void showLastMove(std::int32_t team, const Move& move) override;

    // The user's own team as last seen on the user's turn; decides who "You" is at the end.
    std::int32_t me = 0;

private:
    static void print(const std::string& text);
    static void println(const std::string& text);
    static std::string readln();
    static std::optional<Position> getPositionChoice(const std::vector<Position>& positions,
                                                     bool canPass);
};

}  // namespace karvel::terminal
