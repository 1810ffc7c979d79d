#include "GameManager.h"

#include <exception>
#include <ostream>
#include <string_view>
#include <utility>

#include "EndOfInput.h"
#include "FailureText.h"
#include "error/ApiError.h"
#include "error/EndGameInterrupt.h"
#include "error/GameManagerError.h"

namespace karvel {

namespace {

using common::serializer::object::JsonValue;
using server::GameRecord;

// The diagnostic line names this file and a fixed line number, whatever the line really is.
constexpr int kTraceLine = 264;

constexpr std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

constexpr std::int32_t kStateWaiting = 0;
constexpr std::int32_t kStateInPlay = 1;
constexpr std::int32_t kStateEnded = 2;

JsonValue pointOf(const Position& position) {
    const Point point = Position::toPoint(position);
    JsonValue record;
    record["x"] = point.x;
    record["y"] = point.y;
    return record;
}

JsonValue idOrNull(const std::optional<std::string>& id) {
    return id ? JsonValue(*id) : JsonValue(nullptr);
}

}  // namespace

GameManager::GameManager(server::Api& api, Display& display, ProcessHooks hooks)
    : api(api), display(display), hooks(std::move(hooks)) {
    isPlaying = false;
    needUpdate = false;
    resetGame();
    bool available = false;
    this->api.checkStatus([&available](bool answered) { available = answered; });
    if (!available) {
        this->display.displayError(error::GameManagerError());
        this->display.exit();
    }
}

void GameManager::run() {
    bool playing = true;
    while (playing) {
        try {
            start();
            while (isPlaying) {
                check();
                hooks.sleep(1);
            }
            playing = display.playAgain();
        } catch (const error::EndGameInterrupt&) {
            exit();
        } catch (const common::errors::Error& error) {
            display.displayError(error);
        } catch (const EndOfInput&) {
            exit();
        } catch (...) {
            trace(std::current_exception());
        }
    }
    exit();
}

void GameManager::start() {
    const std::optional<StartChoice> choice = display.getGameStart();
    // No choice at all is taken like RESUME: the game held goes on.
    if (choice == StartChoice::AI) {
        aiMode = true;
        aiLevel = display.getAiLevel();
        create(display.getTeamChoice());
    } else if (choice == StartChoice::CREATE) {
        aiMode = false;
        create(display.getTeamChoice());
    } else if (choice == StartChoice::JOIN) {
        aiMode = false;
        join(display.getGameId());
        needUpdate = true;
    }
    isPlaying = true;
}

void GameManager::resetGame() {
    playerId.reset();
    gameId.reset();
}

void GameManager::exit() {
    display.exit();
}

std::int32_t GameManager::opposingTeam() const {
    return opposingTeamOf(team);
}

void GameManager::create(std::int32_t team) {
    resetGame();
    JsonValue request;
    request["startingAs"] = team;
    api.create(request, [this, team](const GameRecord* game, const GameRecord* rejection) {
        if (rejection != nullptr) {
            showRejection(*rejection);
            return;
        }
        gameId = game->text("id");
        playerId = game->text("player");
        this->team = team;
        if (aiMode) {
            joinAi();
            return;
        }
        display.invite(*gameId);
        needUpdate = true;
        currentPlayer = 1;
    });
}

void GameManager::join(const std::string& gameId) {
    api.join(gameId, [this](const GameRecord* game, const GameRecord* rejection) {
        if (rejection != nullptr) {
            showRejection(*rejection);
            return;
        }
        this->gameId = game->text("id");
        playerId = game->text("player");
        team = game->integer("team");
        currentPlayer = 2;
        needUpdate = true;
    });
}

void GameManager::joinAi() {
    api.aiJoin(gameId.value_or(""), [this](const GameRecord*, const GameRecord* rejection) {
        if (rejection != nullptr) {
            showRejection(*rejection);
            return;
        }
        needUpdate = true;
    });
}

void GameManager::check() {
    api.get(gameId.value_or(""), [this](const GameRecord* game, const GameRecord* rejection) {
        if (rejection != nullptr) {
            showRejection(*rejection);
            return;
        }
        if (game->numberEquals("state", kStateWaiting)) {
            needUpdate = false;
            return;
        }
        const Board board = Board::fromString(game->text("board"));
        if (!game->numberEquals("currentPlayer", currentPlayer) || drawnBoard != board.toString()) {
            needUpdate = true;
        }
        currentPlayer = game->integer("currentPlayer");
        if (needUpdate) {
            showReplyBoard(*game, board);
            needUpdate = false;
        }
        if (game->numberEquals("state", kStateEnded)) {
            const Scores scores{{2, board.calculateScore(2)}, {1, board.calculateScore(1)}};
            display.endGame(scores, board.board);
            isPlaying = false;
            return;
        }
        if (game->numberEquals("currentPlayer", team)) {
            if (game->flag("canPass")) {
                getFollowUpMove(board);
            } else {
                getMove(board);
            }
        } else if (aiMode) {
            getAiMove();
        }
    });
}

void GameManager::getMove(const Board& board) {
    const std::optional<Position> from =
        display.requestNextMoveFrom(team, board.getPositionsWithMoves(team));
    // Nothing chosen: nothing is sent, and the next poll asks again.
    if (!from) {
        return;
    }
    const std::optional<Position> to = display.requestNextMoveTo(team, board.getMoves(*from));
    if (!to) {
        return;
    }
    move(Move{*from, *to});
}

void GameManager::getFollowUpMove(const Board& board) {
    drawBoard(team, true, kStateInPlay, board);
    // Without a landing square of our own there is no piece to go on with: offer the pass only,
    // naming the first square since the display must be given one.
    const Position from = lastPosition.value_or(Position{});
    const std::vector<Position> moves =
        lastPosition ? board.getMoves(*lastPosition) : std::vector<Position>{};
    const std::optional<Move> choice = display.requestFollowUpMove(team, from, moves);
    if (choice) {
        move(*choice);
        return;
    }
    api.pass(gameId.value_or(""), playerId.value_or(""),
             [this](const GameRecord*, const GameRecord* rejection) {
                 if (rejection != nullptr) {
                     showRejection(*rejection);
                 }
                 needUpdate = true;
             });
}

void GameManager::move(const Move& move) {
    JsonValue request;
    request["player"] = idOrNull(playerId);
    request["move"]["to"] = pointOf(move.to);
    request["move"]["from"] = pointOf(move.from);
    api.move(gameId.value_or(""), request,
             [this, move](const GameRecord* reply, const GameRecord* rejection) {
                 if (rejection != nullptr) {
                     showRejection(*rejection);
                     return;
                 }
                 const Board board = Board::fromString(reply->text("board"));
                 lastPosition = move.to;
                 showReplyBoard(*reply, board);
             });
}

void GameManager::getAiMove() {
    JsonValue request;
    request["player"] = idOrNull(playerId);
    request["level"] = aiLevel;
    api.aiMove(
        gameId.value_or(""), request, [this](const GameRecord* reply, const GameRecord* rejection) {
            if (rejection != nullptr) {
                showRejection(*rejection);
                return;
            }
            const Board board = Board::fromString(reply->text("board"));
            // Drawing the board clears the text area, so the board comes first and the
            // report of the move after it, where it stays readable until the next redraw.
            showReplyBoard(*reply, board);
            const std::optional<Move> lastMove = reply->move("lastMove");
            if (lastMove && board.isInBounds(lastMove->from) && board.isInBounds(lastMove->to)) {
                display.showLastMove(opposingTeam(), *lastMove);
            }
            hooks.sleep(1);
        });
}

void GameManager::showRejection(const GameRecord& rejection) {
    display.displayError(error::ApiError(rejection.text("message")));
}

void GameManager::showReplyBoard(const GameRecord& reply, const Board& board) {
    drawBoard(reply.integer("currentPlayer"), reply.numberEquals("currentPlayer", team),
              reply.integer("state"), board);
}

void GameManager::drawBoard(std::int32_t player, bool isMyTurn, std::int32_t state,
                            const Board& board) {
    display.showBoard(player, isMyTurn, state, board.board);
    drawnBoard = board.toString();
}

void GameManager::trace(const std::exception_ptr& failure) {
    *hooks.out << baseName(__FILE__) << ":" << kTraceLine << ": " << failureText(failure) << "\n"
               << std::flush;
}

}  // namespace karvel
