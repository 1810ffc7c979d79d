#include "terminal/Screen.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "EndOfInput.h"
#include "terminal/LineReader.h"
#include "terminal/RulesText.h"
#include "terminal/ScreenWindows.h"

namespace karvel::terminal {

namespace {

constexpr int MIN_WIDTH = 56;
constexpr int PANEL_LINES = 40;
constexpr int STATUS_LINE_FROM_BOTTOM = 3;
// A blocking read that fails this many times in a row means the input is gone, not interrupted.
constexpr int FAILED_READS_BEFORE_END = 8;

struct ScreenState {
    int mode = 0;
    ScreenWindows windows;
    PANEL* createPanel = nullptr;
    PANEL* playPanel = nullptr;
    PANEL* rulesPanel = nullptr;
    PANEL* errorPanel = nullptr;
};

// Process-wide by design: one screen per process, released by the exit hook.
ScreenState& state() {
    static ScreenState screen;
    return screen;
}

// The panels by mode, in the order in which they are hidden.
std::array<PANEL*, 4> panelsByMode() {
    const ScreenState& s = state();
    return {s.createPanel, s.playPanel, s.rulesPanel, s.errorPanel};
}

WINDOW* fullScreenWindow(int width) {
    return newwin(PANEL_LINES, width, 0, 0);
}

void closeScreenAtExit() {
    endCurses();
}

}  // namespace

const ScreenWindows& screenWindows() {
    return state().windows;
}

void startCurses() {
    initscr();
    keypad(stdscr, TRUE);
    std::atexit(closeScreenAtExit);

    const int width = std::max(MIN_WIDTH, COLS);
    ScreenState& s = state();
    ScreenWindows& w = s.windows;

    w.createWindow = fullScreenWindow(width);
    s.createPanel = new_panel(w.createWindow);
    w.createChoicesWindow = derwin(w.createWindow, 8, width, 2, 0);

    w.playWindow = fullScreenWindow(width);
    s.playPanel = new_panel(w.playWindow);
    w.innerBoard = derwin(w.playWindow, 6, 17, 1, 2);
    w.outerBoard = derwin(w.playWindow, 7, 18, 0, 0);
    w.playText = derwin(w.playWindow, 4, width, 8, 0);
    w.choicesWindow = derwin(w.playWindow, 10, width, 12, 0);

    w.rulesWindow = fullScreenWindow(width);
    s.rulesPanel = new_panel(w.rulesWindow);
    mvwaddstr(w.rulesWindow, 0, 0, RULES);

    w.errorWindow = fullScreenWindow(width);
    s.errorPanel = new_panel(w.errorWindow);

    mvwaddstr(stdscr, LINES - STATUS_LINE_FROM_BOTTOM, 0, "(r) Rules | (esc) Quit");
    wrefresh(stdscr);

    setMode(CREATION_MODE);
}

void endCurses() {
    if (stdscr == nullptr || isendwin()) {
        return;
    }
    endwin();
}

void setMode(int mode) {
    state().mode = mode;
    if (mode >= CREATION_MODE && mode <= ERROR_MODE) {
        const auto panels = panelsByMode();
        for (int other = CREATION_MODE; other <= ERROR_MODE; ++other) {
            if (other != mode) {
                hide_panel(panels[other]);
            }
        }
        show_panel(panels[mode]);
    }
    update_panels();
    doupdate();
}

int getMode() {
    return state().mode;
}

void showCreate() {
    if (state().mode != CREATION_MODE) {
        setMode(CREATION_MODE);
    }
}

void showPlay() {
    if (state().mode != PLAY_MODE) {
        setMode(PLAY_MODE);
    }
}

WINDOW* getWindow() {
    const ScreenWindows& w = state().windows;
    switch (state().mode) {
        case CREATION_MODE:
            return w.createWindow;
        case PLAY_MODE:
            return w.playText;
        case RULES_MODE:
            return w.rulesWindow;
        default:
            return nullptr;
    }
}

void clearWindow() {
    if (WINDOW* window = getWindow()) {
        werase(window);
    }
}

void write(const std::string& text) {
    if (WINDOW* window = getWindow()) {
        waddstr(window, text.c_str());
        wrefresh(window);
    }
}

void setCursor(int x, int y) {
    if (WINDOW* window = getWindow()) {
        wmove(window, y, x);
    }
}

int readKey(WINDOW* window) {
    for (int failures = 0; failures < FAILED_READS_BEFORE_END; ++failures) {
        const int key = wgetch(window);
        if (key != ERR) {
            return key;
        }
    }
    throw EndOfInput();
}

std::string read() {
    return readLine([] { return readKey(stdscr); },
                    [] {
                        // Without a text window (never the case for a caller) keys still come
                        // from the standard screen, so the line can end.
                        WINDOW* window = getWindow();
                        return readKey(window != nullptr ? window : stdscr);
                    });
}

int waitPress() {
    return readKey(stdscr);
}

void showError(const std::string& message) {
    const int previous = state().mode;
    noecho();
    WINDOW* window = state().windows.errorWindow;
    werase(window);
    waddstr(window, "There was an error:\n\n  ");
    waddstr(window, message.c_str());
    waddstr(window, "\n\nPress any key");
    setMode(ERROR_MODE);
    readKey(stdscr);
    echo();
    setMode(previous);
}

void showRules() {
    const int previous = state().mode;
    setMode(RULES_MODE);
    noecho();
    readKey(stdscr);
    echo();
    setMode(previous);
}

void drawBoard(const std::string& symbols) {
    const ScreenWindows& w = state().windows;
    mvwaddstr(w.outerBoard, 0, 3, "1|2|3|4|5|6|7|8");
    const std::array<const char*, 4> rowLetters{"A", "B", "C", "D"};
    for (int row = 0; row < 4; ++row) {
        mvwaddstr(w.outerBoard, row + 2, 0, rowLetters[row]);
    }
    for (int column = 0; column < 8; ++column) {
        for (int row = 1; row <= 4; ++row) {
            const std::size_t index = static_cast<std::size_t>(row - 1) * 8 + column;
            if (index < symbols.size()) {
                mvwaddnstr(w.innerBoard, row, 2 * column + 1, &symbols[index], 1);
            }
        }
    }
    box(w.innerBoard, 0, 0);
    wrefresh(w.outerBoard);
    wrefresh(w.innerBoard);
}

void repaintScreen() {
    clearok(curscr, TRUE);
    update_panels();
    doupdate();
}

}  // namespace karvel::terminal
