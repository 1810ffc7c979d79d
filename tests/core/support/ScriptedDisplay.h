#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Display.h"
#include "EndOfInput.h"

namespace karvel::scripted {

// Thrown by the scripted display's exit() in place of ending the process.
struct ProgramExit {};

// The answers a scripted question gives, in turn. When they run out the user's input has
// ended, so every scripted session comes to an end.
template <typename T>
class Answers {
public:
    Answers& then(T answer) {
        steps.push_back([answer = std::move(answer)] { return answer; });
        return *this;
    }
    template <typename Failure>
    Answers& thenThrow(Failure failure) {
        steps.push_back([failure]() -> T { throw failure; });
        return *this;
    }
    T next() {
        if (steps.empty()) {
            throw EndOfInput();
        }
        const std::function<T()> step = std::move(steps.front());
        steps.pop_front();
        return step();
    }

private:
    std::deque<std::function<T()>> steps;
};

// A Display with canned answers that writes every call to the shared journal, one line each,
// boards as their 32-character text and squares as "(x,y)".
class ScriptedDisplay : public Display {
public:
    explicit ScriptedDisplay(std::vector<std::string>& journal) : journal(journal) {}

    Answers<std::optional<StartChoice>> gameStart;
    Answers<std::int32_t> aiLevel;
    Answers<std::int32_t> teamChoice;
    Answers<std::string> gameIdEntry;
    Answers<bool> again;
    Answers<std::optional<Position>> moveFrom;
    Answers<std::optional<Position>> moveTo;
    Answers<std::optional<Move>> followUp;

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

private:
    std::vector<std::string>& journal;
};

// "(x,y)" and "[(x,y) (x,y)]", the journal's forms of squares.
std::string squareText(const Position& p);
std::string squaresText(const std::vector<Position>& positions);

}  // namespace karvel::scripted
