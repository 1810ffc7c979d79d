#pragma once

namespace karvel::terminal {

// Key codes the terminal acts on, as curses delivers them with keypad translation on.
inline constexpr int KEY_CODE_ENTER = 10;
inline constexpr int KEY_CODE_ESC = 27;
inline constexpr int KEY_CODE_RULES = 'r';
inline constexpr int KEY_CODE_DOWN = 258;
inline constexpr int KEY_CODE_UP = 259;

// What a key does in a menu.
enum class MenuAction { NEXT, PREVIOUS, CHOOSE, LEAVE, SHOW_RULES, IGNORE };

// Looks the key up in the menu's key table; unlisted keys are ignored.
MenuAction menuActionFor(int key);

}  // namespace karvel::terminal
