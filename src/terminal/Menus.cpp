#include "terminal/Menus.h"

#include <vector>

#include "terminal/ChoiceLabels.h"
#include "terminal/Keys.h"
#include "terminal/Screen.h"
#include "terminal/ScreenWindows.h"

namespace karvel::terminal {

static_assert(KEY_CODE_DOWN == KEY_DOWN && KEY_CODE_UP == KEY_UP);

namespace {

// Owns the curses items and menu of one question; frees the menu before its items, as the menu
// library requires, also when the question is left by an exception.
class ChoiceMenu {
public:
    explicit ChoiceMenu(const std::vector<std::string>& labels) {
        for (const std::string& label : labels) {
            items_.push_back(new_item(label.c_str(), ""));
        }
        items_.push_back(nullptr);
        menu_ = new_menu(items_.data());
    }
    ~ChoiceMenu() {
        unpost_menu(menu_);
        free_menu(menu_);
        for (ITEM* item : items_) {
            if (item != nullptr) {
                free_item(item);
            }
        }
    }
    ChoiceMenu(const ChoiceMenu&) = delete;
    ChoiceMenu& operator=(const ChoiceMenu&) = delete;

    MENU* menu() const { return menu_; }

    std::string currentLabel() const {
        const ITEM* item = current_item(menu_);
        return item != nullptr ? item_name(item) : "";
    }

private:
    std::vector<ITEM*> items_;
    MENU* menu_ = nullptr;
};

// Echo is off while a menu reads keys; turned back on however the menu is left.
class EchoOff {
public:
    EchoOff() { noecho(); }
    ~EchoOff() { echo(); }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
};

std::string showChoices(const std::vector<std::string>& labels, WINDOW* window, WINDOW* sub) {
    std::string result;
    {
        ChoiceMenu choices(labels);
        set_menu_win(choices.menu(), window);
        set_menu_sub(choices.menu(), sub);
        post_menu(choices.menu());
        wrefresh(window);
        wrefresh(sub);

        const EchoOff echoOff;
        for (bool answered = false; !answered;) {
            switch (menuActionFor(readKey(stdscr))) {
                case MenuAction::NEXT:
                    menu_driver(choices.menu(), REQ_DOWN_ITEM);
                    break;
                case MenuAction::PREVIOUS:
                    menu_driver(choices.menu(), REQ_UP_ITEM);
                    break;
                case MenuAction::CHOOSE:
                    result = choices.currentLabel();
                    answered = true;
                    break;
                case MenuAction::LEAVE:
                    result = EXIT;
                    answered = true;
                    break;
                case MenuAction::SHOW_RULES:
                    showRules();
                    noecho();  // the rules view turns echo back on; keys in a menu stay silent
                    break;
                case MenuAction::IGNORE:
                    break;
            }
            wrefresh(sub);
        }
    }
    wrefresh(sub);
    wrefresh(window);
    return result;
}

}  // namespace

std::string showCreateChoices(const std::vector<std::string>& labels) {
    const ScreenWindows& w = screenWindows();
    return showChoices(labels, w.createWindow, w.createChoicesWindow);
}

int showPositionChoices(const std::vector<int>& indices, bool canPass) {
    const ScreenWindows& w = screenWindows();
    return getChoiceIndex(
        showChoices(positionMenuLabels(indices, canPass), w.playWindow, w.choicesWindow));
}

}  // namespace karvel::terminal
