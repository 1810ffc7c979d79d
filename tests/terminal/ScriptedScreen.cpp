#include "ScriptedScreen.h"

#include <stdexcept>

#include "terminal/ChoiceLabels.h"
#include "terminal/Menus.h"
#include "terminal/Screen.h"

namespace karvel::terminal {

namespace scripted {

Screen& screen() {
    static Screen instance;
    return instance;
}

}  // namespace scripted

namespace {

std::string* currentText() {
    auto& s = scripted::screen();
    switch (s.mode) {
        case CREATION_MODE:
            return &s.createText;
        case PLAY_MODE:
            return &s.playText;
        default:
            return nullptr;
    }
}

template <typename T>
T takeNext(std::deque<T>& script, const char* what) {
    if (script.empty()) {
        throw std::logic_error(std::string("the test gave no answer for ") + what);
    }
    T next = script.front();
    script.pop_front();
    return next;
}

}  // namespace

void startCurses() {}
void endCurses() {}
void setMode(int mode) {
    scripted::screen().mode = mode;
}
int getMode() {
    return scripted::screen().mode;
}
void showCreate() {
    setMode(CREATION_MODE);
}
void showPlay() {
    setMode(PLAY_MODE);
}
void clearWindow() {
    if (std::string* text = currentText()) {
        text->clear();
    }
}
void write(const std::string& text) {
    if (std::string* current = currentText()) {
        *current += text;
    }
}
void setCursor(int /*x*/, int /*y*/) {}
std::string read() {
    return takeNext(scripted::screen().typedLines, "a typed line");
}
int waitPress() {
    ++scripted::screen().keysWaited;
    return ' ';
}
void showError(const std::string& message) {
    scripted::screen().errorShown = message;
}
void showRules() {}
void drawBoard(const std::string& symbols) {
    scripted::screen().boardDrawn = symbols;
}
void repaintScreen() {
    ++scripted::screen().repaints;
}

std::string showCreateChoices(const std::vector<std::string>& labels) {
    scripted::screen().menusShown.push_back(labels);
    scripted::screen().textAtMenus.push_back(*currentText());
    return takeNext(scripted::screen().menuAnswers, "a menu");
}
int showPositionChoices(const std::vector<int>& indices, bool canPass) {
    scripted::screen().menusShown.push_back(positionMenuLabels(indices, canPass));
    return takeNext(scripted::screen().positionAnswers, "a position menu");
}

}  // namespace karvel::terminal
