#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace karvel::terminal::play {

using namespace std::chrono_literals;

// One program in its own tmux server (private socket) on a fixed 100 x 45 terminal. Keys are
// typed with send-keys and the screen is read with capture-pane; every byte the program writes
// is also kept in a log, so text that the screen has since wiped can still be checked.
class TmuxPane {
public:
    static constexpr int WIDTH = 100;
    static constexpr int HEIGHT = 45;

    // Starts `command` (a sh command line); when it ends, the pane stays with "[exit N]".
    TmuxPane(const std::string& command, const std::filesystem::path& workDir);
    ~TmuxPane();
    TmuxPane(const TmuxPane&) = delete;
    TmuxPane& operator=(const TmuxPane&) = delete;

    // tmux key names ("Down", "Enter", "Escape", "r") or, with `literally`, plain text.
    void send(const std::string& keys) const;
    void type(const std::string& text) const;

    std::string screen() const;
    std::vector<std::string> lines() const;
    std::string output() const;  // everything written to the terminal so far

    // Waits until the screen holds `text`; fails the test with the last screen when it never does.
    std::string waitFor(const std::string& text, std::chrono::milliseconds timeout = 30s) const;
    // Waits until the screen holds one of the texts; gives its index.
    std::size_t waitForAny(const std::vector<std::string>& texts,
                           std::chrono::milliseconds timeout = 30s) const;
    void waitUntilGone(const std::string& text, std::chrono::milliseconds timeout = 30s) const;

    // The items of the menu shown in the creation panel's or the play panel's menu area, and the
    // index of the highlighted one (the menu's mark "-" stands before it), -1 when no menu shows.
    struct Menu {
        std::vector<std::string> items;
        int current = -1;
    };
    static Menu menuOn(const std::vector<std::string>& screenLines);
    Menu menu() const { return menuOn(lines()); }
    // Waits for a menu that offers `label`, moves the highlight there with the arrow keys and
    // presses Enter; then waits until that menu is gone.
    void choose(const std::string& label) const;

private:
    std::string tmux(const std::string& arguments) const;

    std::string socket_;
    std::filesystem::path log_;
};

}  // namespace karvel::terminal::play
