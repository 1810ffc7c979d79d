// Whole games through the service, every reply checked against the rules library.
#include <random>

#include "Referee.h"
#include "ServiceFixture.h"

namespace karvel::service::server::testing {
namespace {

using GamePlayTest = ServiceFixture;

Move lastMoveOf(const nlohmann::json& game) {
    const nlohmann::json& last = game.at("lastMove");
    return Move{{last["from"]["x"], last["from"]["y"]}, {last["to"]["x"], last["to"]["y"]}};
}

void expectSameGame(const nlohmann::json& game, const Referee& referee, bool withCanPass) {
    EXPECT_EQ(game["board"], referee.board.toString());
    EXPECT_EQ(game["state"], referee.ended ? 2 : 1);
    if (!referee.ended) {
        EXPECT_EQ(game["currentPlayer"], referee.toMove);
    }
    if (withCanPass) {
        EXPECT_EQ(game["canPass"], referee.chainFrom.has_value());
    }
}

// Two scripted players pick random legal jumps and sometimes stop a chain early.
TEST_F(GamePlayTest, GamesBetweenTwoPeopleFollowTheRulesToTheEnd) {
    for (const std::uint64_t seed : {1U, 2U, 3U}) {
        std::mt19937_64 random(seed);
        const Seat x = create(2);
        const Seat o = join(x.gameId);
        ASSERT_EQ(o.team, 1);
        Referee referee;
        int turns = 0;
        while (!referee.ended) {
            ASSERT_LT(++turns, 200) << "the game does not end";
            const nlohmann::json polled = get(x.gameId).json();
            expectSameGame(polled, referee, true);
            const Seat& mover = referee.toMove == 2 ? x : o;
            const Seat& waiter = referee.toMove == 2 ? o : x;
            const std::vector<Move> moves = referee.legalMoves();
            ASSERT_FALSE(moves.empty());
            const Move chosen = moves[random() % moves.size()];
            if (random() % 4 == 0) {
                EXPECT_EQ(move(waiter, chosen).status, 409) << "out of turn";
            }
            if (referee.chainFrom && random() % 3 == 0) {
                const HttpReply passed = pass(mover);
                ASSERT_EQ(passed.status, 200) << passed.body;
                referee.pass();
                expectSameGame(passed.json(), referee, true);
                continue;
            }
            const HttpReply reply = move(mover, chosen);
            ASSERT_EQ(reply.status, 200) << reply.body;
            referee.jump(chosen);
            expectSameGame(reply.json(), referee, false);
        }
        const nlohmann::json final = get(x.gameId).json();
        expectSameGame(final, referee, false);
        EXPECT_FALSE(Board::fromString(final["board"]).hasAnyMoreMoves(final["currentPlayer"]));
        EXPECT_EQ(move(x, Move{{0, 2}, {0, 0}}).status, 409) << "a move after the end";
        EXPECT_EQ(pass(o).status, 409);
    }
}

// The person plays random jumps; every AI jump must be legal and reported as made.
TEST_F(GamePlayTest, GamesAgainstEachAiLevelAreLegalThroughout) {
    std::mt19937_64 random(7);
    for (const int level : {0, 1, 2}) {
        for (const Piece humanTeam : {1, 2}) {
            const Seat human = create(humanTeam);
            ASSERT_EQ(service_->client().get("/api/game/" + human.gameId + "/ai/join").status, 200);
            Referee referee;
            int requests = 0;
            while (!referee.ended) {
                ASSERT_LT(++requests, 200) << "the game does not end";
                if (referee.toMove == humanTeam) {
                    const std::vector<Move> moves = referee.legalMoves();
                    const Move chosen = moves[random() % moves.size()];
                    const HttpReply reply = move(human, chosen);
                    ASSERT_EQ(reply.status, 200) << reply.body;
                    referee.jump(chosen);
                    if (referee.chainFrom && random() % 2 == 0) {
                        ASSERT_EQ(pass(human).status, 200);
                        referee.pass();
                    }
                    continue;
                }
                const HttpReply reply = aiMove(human, level);
                ASSERT_EQ(reply.status, 200) << reply.body;
                const nlohmann::json game = reply.json();
                const Move made = lastMoveOf(game);
                const std::vector<Move> legal = referee.legalMoves();
                ASSERT_NE(std::find(legal.begin(), legal.end(), made), legal.end())
                    << "level " << level << " made an illegal jump on " << referee.board.toString();
                referee.jump(made);
                // The AI may stop a chain in the same request; then the turn has passed.
                if (referee.chainFrom && game["canPass"] == false) {
                    referee.pass();
                }
                expectSameGame(game, referee, true);
            }
            EXPECT_EQ(get(human.gameId).json()["state"], 2);
            EXPECT_EQ(aiMove(human, level).status, 409) << "an AI move after the end";
        }
    }
}

}  // namespace
}  // namespace karvel::service::server::testing
