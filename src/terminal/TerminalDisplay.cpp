#include "terminal/TerminalDisplay.h"

#include <cstdlib>
#include <iostream>
#include <map>
#include <stdexcept>

#include "common/uuid/Uuid.h"
#include "error/EndGameInterrupt.h"
#include "terminal/ChoiceLabels.h"
#include "terminal/DisplayText.h"
#include "terminal/Keys.h"
#include "terminal/Menus.h"
#include "terminal/Screen.h"

namespace karvel::terminal {

namespace {

std::string toLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::int32_t pointsOf(const Scores& scores, std::int32_t team) {
    for (const TeamScore& score : scores) {
        if (score.team == team) {
            return score.points;
        }
    }
    return 0;
}

}  // namespace

Display::Display() {
    startCurses();
}

void Display::print(const std::string& text) {
    write(text);
}

void Display::println(const std::string& text) {
    print(text + "\n");
}

std::string Display::readln() {
    return read();
}

void Display::displayError(const common::errors::Error& error) {
    showError(error.message);
}

void Display::displayGameId(const std::string& gameId) {
    showCreate();
    clearWindow();
    println("Your Game ID is:");
    println("    " + gameId);
    println("Send this code to an opponent for them to join.");
}

void Display::endGame(const Scores& scores, const Grid& /*grid*/) {
    showPlay();
    clearWindow();
    const std::int32_t team1 = pointsOf(scores, 1);
    const std::int32_t team2 = pointsOf(scores, 2);
    std::optional<std::int32_t> winner;
    if (team1 < team2) {
        winner = 2;
    } else if (team2 < team1) {
        winner = 1;
    } else {
        println("Tie game.");
    }
    if (winner) {
        const std::string side = pieceToString(*winner);
        println(me == *winner ? "You (" + side + ") are the winner!"
                              : "Opponent (" + side + ") is the winner!");
    }
    for (const TeamScore& score : scores) {
        println("(" + pieceToString(score.team) + "): " + std::to_string(score.points) + " points");
    }
    println("");
    println("Press any key");
    waitPress();
}

void Display::exit() {
    clearWindow();
    println("Goodbye");
    endCurses();
    std::cout << "Goodbye" << std::endl;
    std::exit(EXIT_SUCCESS);
}

std::int32_t Display::getAiLevel() {
    showCreate();
    clearWindow();
    println("Difficulty:");
    const std::string answer = askAiLevel();
    if (answer == "Easy") {
        return 0;
    }
    if (answer == "Hard") {
        return 2;
    }
    if (answer == "Medium") {
        return 1;
    }
    // Deliberately not an Error record: the play loop traces it and asks how to start again.
    throw std::runtime_error("Bad Input");
}

std::string Display::getGameId() {
    showCreate();
    clearWindow();
    println("Please enter the game id:");
    println("");
    setCursor(0, 1);
    for (;;) {
        std::string id = toLowerAscii(readln());
        if (!id.empty() && id[0] == KEY_CODE_ESC) {
            throw error::EndGameInterrupt();
        }
        if (common::uuid::Uuid::isV4(id)) {
            return id;
        }
        println("\"" + id + "\" Invalid game id, please try again:");
        setCursor(0, 1);
    }
}

std::optional<StartChoice> Display::getGameStart() {
    // The play loop may have written a diagnostic line to standard output since the last
    // question; repaint so that nothing of it is left across the panels.
    repaintScreen();
    clearWindow();
    showCreate();
    // Coming from the play panel, the clear above was the play text's: the creation panel still
    // holds its last question, with the cursor on its menu line, where this question would be
    // overwritten by its own menu.
    clearWindow();
    println("Would you like to create or join a game?");
    std::string answer = askCreateOrJoin();
    if (answer == EXIT) {
        throw error::EndGameInterrupt();
    }
    if (answer == "Join") {
        return StartChoice::JOIN;
    }
    clearWindow();
    println("Play against an AI or Human opponent?");
    answer = askOpponentType();
    if (answer == EXIT) {
        throw error::EndGameInterrupt();
    }
    if (answer == "AI") {
        return StartChoice::AI;
    }
    if (answer == "Human") {
        return StartChoice::CREATE;
    }
    return std::nullopt;
}

std::int32_t Display::getTeamChoice() {
    showCreate();
    clearWindow();
    println("Which team would you like to play as?");
    const std::string answer = toLowerAscii(askSide());
    return !answer.empty() && answer[0] == 'o' ? 1 : 2;
}

void Display::invite(const std::string& gameId) {
    showCreate();
    println("Join code: \"" + gameId + "\"");
}

bool Display::playAgain() {
    showCreate();
    clearWindow();
    println("Would you like to play again:");
    return askYesNo() == "Yes";
}

std::optional<Position> Display::getPositionChoice(const std::vector<Position>& positions,
                                                   bool canPass) {
    showPlay();
    std::vector<int> indices;
    std::map<int, Position> offered;
    for (const Position& position : positions) {
        indices.push_back(choice(position));
        offered.insert_or_assign(choice(position), position);
    }
    const int chosen = showPositionChoices(indices, canPass);
    if (chosen == PASS_CHOICE) {
        return std::nullopt;
    }
    if (chosen == EXIT_CHOICE) {
        throw error::EndGameInterrupt();
    }
    const auto found = offered.find(chosen);
    if (found == offered.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<Move> Display::requestFollowUpMove(std::int32_t team, const Position& from,
                                                 const std::vector<Position>& moves) {
    showPlay();
    clearWindow();
    println("(" + pieceToString(team) + ") has a follow-up move for Position \"" +
            positionToString(from) + "\":");
    const std::optional<Position> to = getPositionChoice(moves, true);
    if (!to) {
        return std::nullopt;
    }
    return Move{from, *to};
}

std::optional<Position> Display::requestNextMoveFrom(std::int32_t /*team*/,
                                                     const std::vector<Position>& positions) {
    // No clearing: the status line of the board just drawn stays above the question.
    showPlay();
    println("Please select the next move:");
    println("The following pieces are available to move:");
    return getPositionChoice(positions, false);
}

std::optional<Position> Display::requestNextMoveTo(std::int32_t /*team*/,
                                                   const std::vector<Position>& positions) {
    showPlay();
    clearWindow();
    println("The following moves are available:");
    return getPositionChoice(positions, false);
}

void Display::showBoard(std::int32_t currentPlayer, bool isMyTurn, std::int32_t state,
                        const Grid& grid) {
    showPlay();
    clearWindow();
    if (state == 0) {
        println("Waiting for opponent to join.");
    } else if (isMyTurn) {
        me = currentPlayer;
        println("Your Move (" + pieceToString(currentPlayer) + ").");
    } else {
        println("Waiting for opponent (" + pieceToString(currentPlayer) + ") to move.");
    }
    drawBoard(boardToString(grid));
}

void Display::showLastMove(std::int32_t team, const Move& move) {
    println(pieceToString(team) + " moved");
    println("  from (" + std::to_string(move.from.x) + ", " + std::to_string(move.from.y) + ")");
    println("  to   (" + std::to_string(move.to.x) + ", " + std::to_string(move.to.y) + ")");
}

}  // namespace karvel::terminal
