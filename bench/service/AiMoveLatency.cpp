// Latency of Hard AI moves as the client sees them: one new TLS connection per request.
// Plays whole games against the AI (the person's side picks random jumps) and times every
// AI move request. Usage: karvel-bench-ai-latency PORT CA_FILE [GAMES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Referee.h"
#include "TestClient.h"

using karvel::Move;
using karvel::service::server::testing::HttpReply;
using karvel::service::server::testing::HttpsClient;
using karvel::service::server::testing::Referee;

namespace {

constexpr int kHard = 2;

double percentile(const std::vector<double>& sorted, double fraction) {
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

void report(const char* what, std::vector<double> millis) {
    if (millis.empty()) {
        return;
    }
    std::sort(millis.begin(), millis.end());
    std::printf("%-34s n=%-5zu median %.2f ms  p90 %.2f ms  p99 %.2f ms  max %.2f ms\n", what,
                millis.size(), percentile(millis, 0.5), percentile(millis, 0.9),
                percentile(millis, 0.99), millis.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PORT CA_FILE [GAMES]\n", argv[0]);
        return 2;
    }
    const HttpsClient client(static_cast<unsigned short>(std::stoi(argv[1])), argv[2]);
    const int games = argc > 3 ? std::stoi(argv[3]) : 40;
    std::mt19937_64 random(12345);
    std::vector<double> aiMoves;
    std::vector<double> polls;
    double firstMove = -1;
    for (int g = 0; g < games; ++g) {
        const nlohmann::json created = client.post("/api/create", R"({"startingAs":1})").json();
        const std::string id = created["id"];
        const std::string player = created["player"];
        if (client.get("/api/game/" + id + "/ai/join").status != 200) {
            std::fprintf(stderr, "ai/join failed\n");
            return 1;
        }
        Referee referee;
        while (!referee.ended) {
            if (referee.toMove == 1) {
                const std::vector<Move> moves = referee.legalMoves();
                const Move chosen = moves[random() % moves.size()];
                const nlohmann::json body = {
                    {"player", player},
                    {"move",
                     {{"to", {{"x", chosen.to.x}, {"y", chosen.to.y}}},
                      {"from", {{"x", chosen.from.x}, {"y", chosen.from.y}}}}}};
                if (client.post("/api/game/" + id + "/move", body.dump()).status != 200) {
                    std::fprintf(stderr, "move refused\n");
                    return 1;
                }
                referee.jump(chosen);
                continue;
            }
            const auto polled = std::chrono::steady_clock::now();
            client.get("/api/game/" + id);
            const auto started = std::chrono::steady_clock::now();
            const HttpReply reply =
                client.post("/api/game/" + id + "/ai/move/",
                            nlohmann::json{{"player", player}, {"level", kHard}}.dump());
            const auto ended = std::chrono::steady_clock::now();
            if (reply.status != 200) {
                std::fprintf(stderr, "AI move failed: %d %s\n", reply.status, reply.body.c_str());
                return 1;
            }
            const double millis =
                std::chrono::duration<double, std::milli>(ended - started).count();
            polls.push_back(std::chrono::duration<double, std::milli>(started - polled).count());
            if (firstMove < 0) {
                firstMove = millis;  // includes the service's one-off solve of the game
            } else {
                aiMoves.push_back(millis);
            }
            const nlohmann::json game = reply.json();
            const auto& last = game["lastMove"];
            referee.jump(
                Move{{last["from"]["x"], last["from"]["y"]}, {last["to"]["x"], last["to"]["y"]}});
            if (referee.chainFrom && game["canPass"] == false) {
                referee.pass();
            }
        }
    }
    std::printf("first Hard move of the service (solves the game): %.2f ms\n", firstMove);
    report("Hard AI move (new TLS connection)", aiMoves);
    report("poll of the game (same pattern)", polls);
    return 0;
}
