// Measures the terminal client on a pseudo-terminal against a running service:
//   startup <client> [runs]     time from start to the first menu on the screen
//   idle <client> [seconds]     CPU time and peak memory of a client waiting for a human
//                               opponent's move (it polls the service once a second)
// The client must be built for the service that answers (see run-client-bench).
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* START_QUESTION = "Would you like to create or join a game?";
constexpr const char* KEY_DOWN = "\033OB";  // cursor down in the keypad mode curses turns on
constexpr const char* KEY_ENTER = "\r";
constexpr const char* KEY_ESC = "\033";

// One client on its own pseudo-terminal of 100 x 45, with everything it wrote so far. Curses
// writes only the cells that change, so texts are looked for by a part that is surely new.
class Client {
public:
    explicit Client(const char* path) {
        winsize size{};
        size.ws_row = 45;
        size.ws_col = 100;
        pid_ = forkpty(&master_, nullptr, nullptr, &size);
        if (pid_ < 0) {
            throw std::runtime_error("forkpty failed");
        }
        if (pid_ == 0) {
            setenv("TERM", "xterm", 1);
            execl(path, path, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Client() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        close(master_);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }

    void send(const std::string& keys) const {
        if (write(master_, keys.data(), keys.size()) < 0) {
            throw std::runtime_error("cannot type into the client");
        }
    }

    // Reads what the client writes for up to `wait`; false once it has closed the terminal.
    bool drain(std::chrono::milliseconds wait) {
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(wait.count())) <= 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        output_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    // Waits until the output holds `text`.
    void waitFor(const std::string& text, std::chrono::seconds timeout = std::chrono::seconds(30)) {
        const auto deadline = Clock::now() + timeout;
        while (output_.find(text) == std::string::npos) {
            if (Clock::now() > deadline || !drain(std::chrono::milliseconds(100))) {
                const std::size_t tail = std::min<std::size_t>(output_.size(), 400);
                throw std::runtime_error("the client never showed \"" + text +
                                         "\"; it wrote last:\n" +
                                         output_.substr(output_.size() - tail));
            }
        }
    }

    void waitForExit() {
        while (drain(std::chrono::milliseconds(100))) {
        }
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int master_ = -1;
    std::string output_;
};

double cpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::vector<std::string> values;
    for (std::string value; fields >> value;) {
        values.push_back(value);
    }
    // Fields 14 and 15 of the line (user and system time) are at 11 and 12 after the name.
    const double ticks = std::stod(values.at(11)) + std::stod(values.at(12));
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long peakResidentKiB(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

int startup(const char* client, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto started = Clock::now();
        Client pane(client);
        pane.waitFor(START_QUESTION);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
        pane.send(KEY_ESC);
        pane.waitForExit();
    }
    std::sort(times.begin(), times.end());
    std::printf("start to first menu over %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
                runs, times.front(), times[times.size() / 2], times.back());
    return 0;
}

int idle(const char* client, int seconds) {
    Client creator(client);
    creator.waitFor(START_QUESTION);
    creator.send(KEY_ENTER);  // Create
    creator.waitFor("Play against an AI or Human");
    creator.send(std::string(KEY_DOWN) + KEY_ENTER);  // Human
    creator.waitFor("Which team would you like");
    creator.send(std::string(KEY_DOWN) + KEY_ENTER);  // O, so the opponent moves first
    creator.waitFor("Join code: \"");
    std::smatch code;
    if (!std::regex_search(creator.output(), code, std::regex("Join code: \"([0-9a-z-]{36})\""))) {
        throw std::runtime_error("no game id in the client's output");
    }

    Client opponent(client);
    opponent.waitFor(START_QUESTION);
    opponent.send(std::string(KEY_DOWN) + KEY_ENTER);  // Join
    opponent.waitFor("Please enter the game id");
    opponent.send(code[1].str() + KEY_ENTER);
    creator.waitFor("Waiting for opponent (X)");

    const double cpuBefore = cpuSeconds(creator.pid());
    const auto started = Clock::now();
    while (Clock::now() - started < std::chrono::seconds(seconds)) {
        creator.drain(std::chrono::milliseconds(200));
        opponent.drain(std::chrono::milliseconds(0));
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
    const double cpu = cpuSeconds(creator.pid()) - cpuBefore;
    std::printf(
        "waiting %.0f s for the opponent: CPU %.3f s (%.3f%% of one core), peak RSS %ld KiB\n",
        elapsed, cpu, 100.0 * cpu / elapsed, peakResidentKiB(creator.pid()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s startup|idle CLIENT [runs|seconds]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    try {
        if (mode == "startup") {
            return startup(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
        }
        if (mode == "idle") {
            return idle(argv[2], argc > 3 ? std::atoi(argv[3]) : 60);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
