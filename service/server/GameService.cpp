#include "GameService.h"

#include <functional>
#include <random>

#include "Ai.h"
#include "Board.h"
#include "GameRules.h"
#include "Ids.h"

namespace karvel::service::server {
namespace {

constexpr int kHighestAiLevel = 2;

nlohmann::json positionJson(const Position& p) {
    return {{"x", p.x}, {"y", p.y}};
}

// What anyone holding the game id may see; never a player id.
nlohmann::json publicView(const GameRecord& game) {
    return {{"id", game.id},
            {"state", static_cast<int>(game.state)},
            {"currentPlayer", game.currentPlayer},
            {"board", game.board},
            {"canPass", game.chainFrom.has_value()}};
}

Reply fromOutcome(const Outcome& refusal, const GameRecord& game) {
    return refusal ? rejection(refusal->status, refusal->message) : Reply{200, publicView(game)};
}

Outcome checkIds(const std::string& gameId, const std::string* playerId) {
    if (!isGameId(gameId)) {
        return Rejection{400, "A game id is a version-4 UUID in lower case"};
    }
    if (playerId != nullptr && !isPlayerId(*playerId)) {
        return Rejection{400, "A player id is 32 lower-case hexadecimal digits"};
    }
    return std::nullopt;
}

// The AI's random choices need no secrecy, only a different course in every process and thread.
std::mt19937_64& aiRandom() {
    thread_local std::mt19937_64 generator = [] {
        std::mt19937_64::result_type seed = 0;
        secureRandomBytes(reinterpret_cast<unsigned char*>(&seed), sizeof seed);
        return std::mt19937_64(seed);
    }();
    return generator;
}

Outcome checkPlayerOf(const GameRecord& game, const std::string& playerId, Piece& team) {
    team = teamOfPlayer(game, playerId);
    if (team == 0) {
        return Rejection{403, "The player id does not belong to this game"};
    }
    return std::nullopt;
}

}  // namespace

Reply rejection(int status, const std::string& message) {
    return Reply{status, {{"message", message}}};
}

GameService::GameService(GameStore& store) : store_(store) {}

std::mutex& GameService::lockFor(const std::string& gameId) {
    return gameLocks_[std::hash<std::string>{}(gameId) % gameLocks_.size()];
}

Reply GameService::status() const {
    return Reply{200, {{"status", "ok"}}};
}

Reply GameService::create(Piece startingAs) {
    if (startingAs != 1 && startingAs != 2) {
        return rejection(400, "startingAs must be the team 1 or 2");
    }
    const std::string player = newPlayerId();
    const GameRecord game = openGame(newGameId(), startingAs, player);
    store_.insert(game);
    Reply reply{200, publicView(game)};
    reply.body["player"] = player;
    reply.body["team"] = startingAs;
    return reply;
}

Reply GameService::get(const std::string& gameId) {
    if (const Outcome refusal = checkIds(gameId, nullptr)) {
        return rejection(refusal->status, refusal->message);
    }
    const std::optional<GameRecord> game = store_.find(gameId);
    return game ? Reply{200, publicView(*game)} : rejection(404, "No game has this id");
}

Reply GameService::join(const std::string& gameId) {
    if (const Outcome refusal = checkIds(gameId, nullptr)) {
        return rejection(refusal->status, refusal->message);
    }
    const std::lock_guard serialised(lockFor(gameId));
    const std::string player = newPlayerId();
    Piece team = 0;
    GameRecord after;
    const Outcome refusal = store_.modify(
        gameId, [&](GameRecord& game) { return seatSecondPlayer(game, player, team); }, after);
    Reply reply = fromOutcome(refusal, after);
    if (!refusal) {
        reply.body["player"] = player;
        reply.body["team"] = team;
    }
    return reply;
}

Reply GameService::aiJoin(const std::string& gameId) {
    if (const Outcome refusal = checkIds(gameId, nullptr)) {
        return rejection(refusal->status, refusal->message);
    }
    const std::lock_guard serialised(lockFor(gameId));
    GameRecord after;
    const Outcome refusal = store_.modify(gameId, seatAi, after);
    return fromOutcome(refusal, after);
}

Reply GameService::move(const std::string& gameId, const std::string& playerId, const Move& move) {
    return changeAsPlayer(gameId, playerId, [&move](GameRecord& game, Piece team) {
        return applyJump(game, team, move);
    });
}

Reply GameService::pass(const std::string& gameId, const std::string& playerId) {
    return changeAsPlayer(gameId, playerId, passTurn);
}

Reply GameService::changeAsPlayer(const std::string& gameId, const std::string& playerId,
                                  const std::function<Outcome(GameRecord&, Piece)>& change) {
    if (const Outcome refusal = checkIds(gameId, &playerId)) {
        return rejection(refusal->status, refusal->message);
    }
    const std::lock_guard serialised(lockFor(gameId));
    GameRecord after;
    const Outcome refusal = store_.modify(
        gameId,
        [&](GameRecord& game) -> Outcome {
            Piece team = 0;
            if (Outcome notPlayer = checkPlayerOf(game, playerId, team)) {
                return notPlayer;
            }
            return change(game, team);
        },
        after);
    return fromOutcome(refusal, after);
}

Reply GameService::aiMove(const std::string& gameId, const std::string& playerId, int level) {
    if (const Outcome refusal = checkIds(gameId, &playerId)) {
        return rejection(refusal->status, refusal->message);
    }
    if (level < 0 || level > kHighestAiLevel) {
        return rejection(400, "level must be 0 (Easy), 1 (Medium) or 2 (Hard)");
    }
    const std::lock_guard serialised(lockFor(gameId));
    const std::optional<GameRecord> before = store_.find(gameId);
    if (!before) {
        return rejection(404, "No game has this id");
    }
    Piece requester = 0;
    if (const Outcome refusal = checkPlayerOf(*before, playerId, requester)) {
        return rejection(refusal->status, refusal->message);
    }
    if (const Outcome refusal = checkAiMayMove(*before, requester)) {
        return rejection(refusal->status, refusal->message);
    }
    // The search runs outside the write transaction so other games can be written meanwhile.
    const engine::AiChoice choice =
        engine::chooseAiMove(before->board, before->aiTeam, before->chainFrom, level, aiRandom());
    GameRecord after;
    const Outcome refusal = store_.modify(
        gameId,
        [&](GameRecord& game) -> Outcome {
            if (game.version != before->version) {
                return Rejection{409, "The game changed while the AI was thinking"};
            }
            if (Outcome illegal = applyJump(game, game.aiTeam, choice.move)) {
                return Rejection{500, "The AI chose a move the rules refuse"};
            }
            return game.chainFrom && !choice.keepJumping ? passTurn(game, game.aiTeam)
                                                         : std::nullopt;
        },
        after);
    Reply reply = fromOutcome(refusal, after);
    if (!refusal) {
        reply.body["lastMove"] = {{"from", positionJson(choice.move.from)},
                                  {"to", positionJson(choice.move.to)}};
    }
    return reply;
}

}  // namespace karvel::service::server
