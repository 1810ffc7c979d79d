#include "TmuxPane.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "Shell.h"

namespace karvel::terminal::play {

namespace {

constexpr auto POLL_INTERVAL = 50ms;
constexpr auto MENU_TIMEOUT = 30s;
// Menu areas: the creation panel's menu window starts at line 2 (8 lines), the play panel's at
// line 12 (10 lines).
constexpr int CREATION_MENU_TOP = 2;
constexpr int CREATION_MENU_LINES = 8;
constexpr int PLAY_MENU_TOP = 12;
constexpr int PLAY_MENU_LINES = 10;
constexpr const char* BOARD_HEADER = "1|2|3|4|5|6|7|8";

std::string uniqueSocketName() {
    static std::atomic<int> counter{0};
    return "karvel-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

std::string rtrim(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

TmuxPane::TmuxPane(const std::string& command, const std::filesystem::path& workDir)
    : socket_(uniqueSocketName()), log_(workDir / (socket_ + ".out")) {
    // The program waits for one Enter, so that the log is attached before its first byte.
    const std::string script =
        "cd " + shellQuote(workDir.string()) + " && read _ && " + command + "; echo \"[exit $?]\"";
    tmux("-f /dev/null new-session -d -s play -x " + std::to_string(WIDTH) + " -y " +
         std::to_string(HEIGHT) + " " + shellQuote("sh -c " + shellQuote(script)));
    tmux("set-option -t play remain-on-exit on");
    tmux("pipe-pane -t play -o " + shellQuote("cat >> " + shellQuote(log_.string())));
    send("Enter");
}

TmuxPane::~TmuxPane() {
    try {
        tmux("kill-server");
    } catch (const std::exception&) {
        // Already gone.
    }
}

std::string TmuxPane::tmux(const std::string& arguments) const {
    return runCommand("tmux -L " + socket_ + " " + arguments + " 2>&1");
}

void TmuxPane::send(const std::string& keys) const {
    tmux("send-keys -t play " + keys);
}

void TmuxPane::type(const std::string& text) const {
    tmux("send-keys -t play -l " + shellQuote(text));
}

std::string TmuxPane::screen() const {
    return tmux("capture-pane -p -t play");
}

std::vector<std::string> TmuxPane::lines() const {
    std::vector<std::string> result;
    std::istringstream stream(screen());
    for (std::string line; std::getline(stream, line);) {
        result.push_back(rtrim(line));
    }
    result.resize(HEIGHT);
    return result;
}

std::string TmuxPane::output() const {
    std::ifstream file(log_, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::size_t TmuxPane::waitForAny(const std::vector<std::string>& texts,
                                 std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string last;
    do {
        last = screen();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (last.find(texts[i]) != std::string::npos) {
                return i;
            }
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    } while (std::chrono::steady_clock::now() < deadline);
    std::string wanted;
    for (const std::string& text : texts) {
        wanted += " \"" + text + "\"";
    }
    throw std::runtime_error("screen never showed" + wanted + ":\n" + last);
}

std::string TmuxPane::waitFor(const std::string& text, std::chrono::milliseconds timeout) const {
    waitForAny({text}, timeout);
    return screen();
}

void TmuxPane::waitUntilGone(const std::string& text, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string last;
    do {
        last = screen();
        if (last.find(text) == std::string::npos) {
            return;
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    } while (std::chrono::steady_clock::now() < deadline);
    throw std::runtime_error("screen kept \"" + text + "\":\n" + last);
}

TmuxPane::Menu TmuxPane::menuOn(const std::vector<std::string>& all) {
    const bool playPanel = all[0].find(BOARD_HEADER) != std::string::npos;
    const int top = playPanel ? PLAY_MENU_TOP : CREATION_MENU_TOP;
    const int count = playPanel ? PLAY_MENU_LINES : CREATION_MENU_LINES;
    Menu shown;
    for (int line = top; line < top + count && !all[line].empty(); ++line) {
        if (all[line][0] == '-') {
            shown.current = static_cast<int>(shown.items.size());
        }
        shown.items.push_back(rtrim(all[line].substr(1)));
    }
    if (shown.current < 0) {
        shown.items.clear();  // text, not a posted menu
    }
    return shown;
}

void TmuxPane::choose(const std::string& label) const {
    const auto deadline = std::chrono::steady_clock::now() + MENU_TIMEOUT;
    Menu shown;
    int target = -1;
    while (target < 0) {
        shown = menu();
        for (std::size_t i = 0; i < shown.items.size(); ++i) {
            if (shown.items[i] == label) {
                target = static_cast<int>(i);
            }
        }
        if (target < 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                throw std::runtime_error("no menu offered \"" + label + "\":\n" + screen());
            }
            std::this_thread::sleep_for(POLL_INTERVAL);
        }
    }
    const int steps = target - shown.current;
    if (steps != 0) {
        std::string keys;
        for (int i = 0; i < std::abs(steps); ++i) {
            keys += steps > 0 ? " Down" : " Up";
        }
        send(keys);
        while (menu().current != target) {
            if (std::chrono::steady_clock::now() > deadline) {
                throw std::runtime_error("the highlight never reached \"" + label + "\":\n" +
                                         screen());
            }
            std::this_thread::sleep_for(POLL_INTERVAL);
        }
    }
    send("Enter");
    while (menu().items == shown.items) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("the menu stayed after Enter on \"" + label + "\":\n" +
                                     screen());
        }
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
}

}  // namespace karvel::terminal::play
