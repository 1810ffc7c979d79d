#include "TestService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace karvel::terminal::play {

namespace {

bool accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

TestService::TestService(int port, const std::filesystem::path& workDir) {
    if (accepts(port)) {
        throw std::runtime_error("port " + std::to_string(port) + " is already taken");
    }
    const std::string certs = KARVEL_TEST_CERTS;
    std::vector<std::string> arguments{KARVEL_TEST_SERVICE,
                                       "--bind",
                                       "127.0.0.1",
                                       "--port",
                                       std::to_string(port),
                                       "--db",
                                       (workDir / "games.db").string(),
                                       "--tls-cert",
                                       certs + "/server.pem",
                                       "--tls-key",
                                       certs + "/server-key.pem"};
    const std::string log = (workDir / "service.log").string();
    pid_ = fork();
    if (pid_ == 0) {
        std::freopen(log.c_str(), "w", stdout);
        std::freopen(log.c_str(), "a", stderr);
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!accepts(port)) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("karvel-service ended at start; see " + log);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            throw std::runtime_error("karvel-service did not start; see " + log);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

TestService::~TestService() {
    stop();
}

void TestService::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace karvel::terminal::play
