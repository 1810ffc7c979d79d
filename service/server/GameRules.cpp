#include "GameRules.h"

#include <utility>

#include "Board.h"
#include "Ids.h"

namespace karvel::service::server {
namespace {

Outcome refuse(int status, std::string message) {
    return Rejection{status, std::move(message)};
}

Outcome checkInPlay(const GameRecord& game) {
    if (game.state == GameState::waiting) {
        return refuse(409, "The game is still waiting for its second player");
    }
    if (game.state == GameState::ended) {
        return refuse(409, "The game is over");
    }
    return std::nullopt;
}

Outcome checkTurn(const GameRecord& game, Piece team) {
    if (auto refusal = checkInPlay(game)) {
        return refusal;
    }
    if (game.currentPlayer != team) {
        return refuse(409, "It is not this player's turn");
    }
    return std::nullopt;
}

// Hands the move to the other team; a team without any jump at the start of its turn ends the game.
void endTurn(GameRecord& game, const Board& board) {
    game.chainFrom.reset();
    game.currentPlayer = opposingTeamOf(game.currentPlayer);
    if (!board.hasAnyMoreMoves(game.currentPlayer)) {
        game.state = GameState::ended;
    }
}

void changed(GameRecord& game) {
    ++game.version;
}

}  // namespace

GameRecord openGame(std::string id, Piece creatorTeam, std::string creatorPlayer) {
    GameRecord game;
    game.id = std::move(id);
    (creatorTeam == 1 ? game.playerOne : game.playerTwo) = std::move(creatorPlayer);
    game.board = Board::newGame().toString();
    game.state = GameState::waiting;
    game.currentPlayer = 2;  // X opens
    return game;
}

Piece teamOfPlayer(const GameRecord& game, const std::string& playerId) {
    // Both seats are always compared, so the time taken tells nothing about either secret.
    const bool one = !game.playerOne.empty() && sameSecret(game.playerOne, playerId);
    const bool two = !game.playerTwo.empty() && sameSecret(game.playerTwo, playerId);
    return one ? 1 : (two ? 2 : 0);
}

Outcome seatSecondPlayer(GameRecord& game, const std::string& playerId, Piece& team) {
    if (game.state != GameState::waiting) {
        return refuse(409, "The game already has two players");
    }
    team = game.playerOne.empty() ? 1 : 2;
    (team == 1 ? game.playerOne : game.playerTwo) = playerId;
    game.state = GameState::inPlay;
    changed(game);
    return std::nullopt;
}

Outcome seatAi(GameRecord& game) {
    if (game.state != GameState::waiting) {
        return refuse(409, "The game already has two players");
    }
    game.aiTeam = game.playerOne.empty() ? 1 : 2;
    game.state = GameState::inPlay;
    changed(game);
    return std::nullopt;
}

Outcome applyJump(GameRecord& game, Piece team, const Move& move) {
    if (auto refusal = checkTurn(game, team)) {
        return refusal;
    }
    Board board = Board::fromString(game.board);
    if (!board.isInBounds(move.from) || !board.isInBounds(move.to)) {
        return refuse(400, "A square lies outside the board");
    }
    if (game.chainFrom && !(move.from == *game.chainFrom)) {
        return refuse(409, "Only the piece that has just jumped may move, or the player may pass");
    }
    if (board.pieceAt(move.from) != team) {
        return refuse(409, "The move does not start on one of the player's pieces");
    }
    if (!board.isValidMove(move)) {
        return refuse(409, "That jump is not allowed");
    }
    board.move(move);
    game.board = board.toString();
    if (board.getMoves(move.to).empty()) {
        endTurn(game, board);
    } else {
        game.chainFrom = move.to;
    }
    changed(game);
    return std::nullopt;
}

Outcome passTurn(GameRecord& game, Piece team) {
    if (auto refusal = checkTurn(game, team)) {
        return refusal;
    }
    if (!game.chainFrom) {
        return refuse(409, "A pass is allowed only in the middle of a chain of jumps");
    }
    endTurn(game, Board::fromString(game.board));
    changed(game);
    return std::nullopt;
}

Outcome checkAiMayMove(const GameRecord& game, Piece requesterTeam) {
    if (game.aiTeam == 0) {
        return refuse(403, "This game has no AI player");
    }
    if (requesterTeam == 0 || requesterTeam == game.aiTeam) {
        return refuse(403, "The player id does not belong to this game");
    }
    return checkTurn(game, game.aiTeam);
}

}  // namespace karvel::service::server
