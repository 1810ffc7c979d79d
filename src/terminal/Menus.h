#pragma once

#include <string>
#include <vector>

// Arrow-key menus: Down/Up move the highlight, Enter chooses, Esc leaves (answer EXIT), "r"
// shows the rules and returns to the menu as it was.
namespace karvel::terminal {

// The chosen label, EXIT, or "" when Enter is pressed on a menu without items. Shown in the
// creation panel.
std::string showCreateChoices(const std::vector<std::string>& labels);

std::string askCreateOrJoin();  // "Create", "Join"
std::string askAiLevel();       // "Easy", "Medium", "Hard"
std::string askOpponentType();  // "AI", "Human"
std::string askSide();          // "X (Goes first)", "O (Goes second)"
std::string askYesNo();         // "Yes", "No"

// A menu of squares (by choice index, in the given order), then "Pass" when `canPass`; shown in
// the play panel. Gives the chosen square's index, PASS_CHOICE or EXIT_CHOICE.
int showPositionChoices(const std::vector<int>& indices, bool canPass);

}  // namespace karvel::terminal
