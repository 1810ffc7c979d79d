#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "AccessLog.h"
#include "Ai.h"
#include "ApiRouter.h"
#include "GameService.h"
#include "GameStore.h"
#include "HttpServer.h"
#include "PurgeScheduler.h"
#include "ServiceOptions.h"
#include "SolveCommand.h"

namespace server = karvel::service::server;

namespace {

// Solving the opening fills the engine's shared table, so that the first Hard move a player asks
// for is as quick as the later ones instead of paying for the whole search.
void warmUpHardAi() {
    std::mt19937_64 rng(0);
    karvel::service::engine::chooseAiMove("00000000111111112222222200000000", 2, std::nullopt,
                                          karvel::service::engine::kHard, rng);
}

int serve(const server::ServiceOptions& options) {
    std::jthread warmUp(warmUpHardAi);
    // One database connection per request thread, and one for the purge.
    server::GameStore store(options.databaseFile, options.http.threads + 1);
    server::GameService games(store);
    server::ApiRouter router(games);
    const server::PurgeScheduler purge(store, std::chrono::hours(24) * options.purgeAfterDays,
                                       std::chrono::hours(1));
    server::HttpServer http(
        options.http,
        [&router](const server::HttpRequest& request) {
            const server::Reply reply = router.route(request.method, request.target, request.body);
            return server::HttpResponse{reply.status, reply.body.dump()};
        },
        server::writeAccessLine);
    std::fprintf(stderr, "karvel-service listening on %s://%s:%u/api (database %s)\n",
                 http.usesTls() ? "https" : "http", options.http.bindAddress.c_str(),
                 static_cast<unsigned>(http.port()), options.databaseFile.c_str());
    http.run();
    std::fprintf(stderr, "karvel-service stopped\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const server::CommandLine line =
        server::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    try {
        switch (line.action) {
            case server::CommandLine::Action::help:
                std::cout << server::usageText();
                return 0;
            case server::CommandLine::Action::invalid:
                std::cerr << "karvel-service: " << line.error << "\n\n" << server::usageText();
                return 2;
            case server::CommandLine::Action::solve:
                return karvel::service::engine::printOpeningSolve(std::cout);
            case server::CommandLine::Action::serve:
                return serve(line.options);
        }
    } catch (const std::exception& failure) {
        std::cerr << "karvel-service: " << failure.what() << '\n';
        return 1;
    }
    return 1;
}
