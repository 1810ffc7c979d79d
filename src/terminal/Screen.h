#pragma once

#include <string>

// The screen layer: one curses screen per process with four full-screen panels (creation, play,
// rules, error). The mode says which panel shows and which window text goes to.
namespace karvel::terminal {

inline constexpr int CREATION_MODE = 0;
inline constexpr int PLAY_MODE = 1;
inline constexpr int RULES_MODE = 2;
inline constexpr int ERROR_MODE = 3;

// Opens the screen and builds every window; ends in creation mode.
void startCurses();
// Closes the screen unless it is already closed; also runs when the process exits.
void endCurses();

void setMode(int mode);
int getMode();
void showCreate();  // creation mode unless already there
void showPlay();    // play mode unless already there

// Operations on the current text window (none in error mode).
void clearWindow();
void write(const std::string& text);
void setCursor(int x, int y);
// One typed line of at most 80 characters, without its Enter.
std::string read();

// One key from the standard screen.
int waitPress();
// The error screen until a key, then the previous panel again.
void showError(const std::string& message);
// The rules until a key, then the previous panel again.
void showRules();
// The 32 symbols of the board, row "A" first, into the play panel.
void drawBoard(const std::string& symbols);

// Clears the terminal and redraws every visible cell, wiping whatever reached the terminal
// outside curses (a line written to standard output while the screen is open).
void repaintScreen();

}  // namespace karvel::terminal
