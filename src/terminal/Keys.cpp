#include "terminal/Keys.h"

#include <array>
#include <utility>

namespace karvel::terminal {

namespace {

constexpr std::array<std::pair<int, MenuAction>, 5> MENU_KEYS{{
    {KEY_CODE_DOWN, MenuAction::NEXT},
    {KEY_CODE_UP, MenuAction::PREVIOUS},
    {KEY_CODE_ENTER, MenuAction::CHOOSE},
    {KEY_CODE_ESC, MenuAction::LEAVE},
    {KEY_CODE_RULES, MenuAction::SHOW_RULES},
}};

}  // namespace

MenuAction menuActionFor(int key) {
    for (const auto& [code, action] : MENU_KEYS) {
        if (code == key) {
            return action;
        }
    }
    return MenuAction::IGNORE;
}

}  // namespace karvel::terminal
