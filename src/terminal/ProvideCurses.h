#pragma once

// The only file that includes curses: the screen layer and the menus reach the terminal through
// it, and nothing above them (display, controller) sees a curses name. No macros, so that names
// such as `clear`, `erase` or `timeout` stay free for ordinary code.
#define NCURSES_NOMACROS 1
#include <curses.h>
#include <menu.h>
#include <panel.h>
