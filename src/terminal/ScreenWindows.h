#pragma once

#include "terminal/ProvideCurses.h"

// The screen layer's windows and key reading, for the menus that draw into them.
namespace karvel::terminal {

struct ScreenWindows {
    WINDOW* createWindow = nullptr;
    WINDOW* createChoicesWindow = nullptr;
    WINDOW* playWindow = nullptr;
    WINDOW* innerBoard = nullptr;
    WINDOW* outerBoard = nullptr;
    WINDOW* playText = nullptr;
    WINDOW* choicesWindow = nullptr;
    WINDOW* rulesWindow = nullptr;
    WINDOW* errorWindow = nullptr;
};

const ScreenWindows& screenWindows();

// The current text window, or none in error mode.
WINDOW* getWindow();

// One key from `window`. When the terminal's input has ended (curses answers every read with an
// error), throws EndOfInput instead of spinning.
int readKey(WINDOW* window);

}  // namespace karvel::terminal
