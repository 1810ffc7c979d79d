#include "support/ScriptedDisplay.h"

namespace karvel::scripted {

namespace {

std::string gridText(const Grid& grid) {
    Board board;
    board.board = grid;
    return board.toString();
}

std::string flagText(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string squareText(const Position& p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

std::string squaresText(const std::vector<Position>& positions) {
    std::string text = "[";
    for (const Position& p : positions) {
        text += (text.size() > 1 ? " " : "") + squareText(p);
    }
    return text + "]";
}

void ScriptedDisplay::displayError(const common::errors::Error& error) {
    journal.push_back("displayError " + error.type + ": " + error.message);
}

void ScriptedDisplay::displayGameId(const std::string& gameId) {
    journal.push_back("displayGameId " + gameId);
}

void ScriptedDisplay::endGame(const Scores& scores, const Grid& grid) {
    std::string entry = "endGame";
    for (const TeamScore& score : scores) {
        entry += " " + std::to_string(score.team) + ":" + std::to_string(score.points);
    }
    journal.push_back(entry + " " + gridText(grid));
}

void ScriptedDisplay::exit() {
    journal.push_back("exit");
    throw ProgramExit{};
}

std::int32_t ScriptedDisplay::getAiLevel() {
    journal.push_back("getAiLevel");
    return aiLevel.next();
}

std::string ScriptedDisplay::getGameId() {
    journal.push_back("getGameId");
    return gameIdEntry.next();
}

std::optional<StartChoice> ScriptedDisplay::getGameStart() {
    journal.push_back("getGameStart");
    return gameStart.next();
}

std::int32_t ScriptedDisplay::getTeamChoice() {
    journal.push_back("getTeamChoice");
    return teamChoice.next();
}

void ScriptedDisplay::invite(const std::string& gameId) {
    journal.push_back("invite " + gameId);
}

bool ScriptedDisplay::playAgain() {
    journal.push_back("playAgain");
    return again.next();
}

std::optional<Move> ScriptedDisplay::requestFollowUpMove(std::int32_t team, const Position& from,
                                                         const std::vector<Position>& moves) {
    journal.push_back("requestFollowUpMove " + std::to_string(team) + " " + squareText(from) + " " +
                      squaresText(moves));
    return followUp.next();
}

std::optional<Position> ScriptedDisplay::requestNextMoveFrom(
    std::int32_t team, const std::vector<Position>& positions) {
    journal.push_back("requestNextMoveFrom " + std::to_string(team) + " " + squaresText(positions));
    return moveFrom.next();
}

std::optional<Position> ScriptedDisplay::requestNextMoveTo(std::int32_t team,
                                                           const std::vector<Position>& positions) {
    journal.push_back("requestNextMoveTo " + std::to_string(team) + " " + squaresText(positions));
    return moveTo.next();
}

void ScriptedDisplay::showBoard(std::int32_t currentPlayer, bool isMyTurn, std::int32_t state,
                                const Grid& grid) {
    journal.push_back("showBoard " + std::to_string(currentPlayer) + " " + flagText(isMyTurn) +
                      " " + std::to_string(state) + " " + gridText(grid));
}

void ScriptedDisplay::showLastMove(std::int32_t team, const Move& move) {
    journal.push_back("showLastMove " + std::to_string(team) + " " + squareText(move.from) + "->" +
                      squareText(move.to));
}

}  // namespace karvel::scripted
