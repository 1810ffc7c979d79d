#pragma once

#include <deque>
#include <string>
#include <vector>

// A stand-in for the curses screen layer and menus, linked into the display's tests instead of
// the real ones: it keeps the text of each panel and answers questions from a script.
namespace karvel::terminal::scripted {

struct Screen {
    int mode = 0;
    std::string createText;
    std::string playText;
    std::string errorShown;
    std::string boardDrawn;
    int repaints = 0;
    int keysWaited = 0;

    std::deque<std::string> menuAnswers;  // for every fixed menu
    std::deque<int> positionAnswers;      // for position menus, as choice indices
    std::deque<std::string> typedLines;   // for read()

    std::vector<std::vector<std::string>> menusShown;  // the labels of each menu, in order
    std::vector<std::string> textAtMenus;  // the current window's text as each menu showed
};

// Reset before every test.
Screen& screen();

}  // namespace karvel::terminal::scripted
