#include "terminal/Menus.h"

// The fixed questions of the creation panel; their labels are also the answers compared by the
// display.
namespace karvel::terminal {

std::string askCreateOrJoin() {
    return showCreateChoices({"Create", "Join"});
}

std::string askAiLevel() {
    return showCreateChoices({"Easy", "Medium", "Hard"});
}

std::string askOpponentType() {
    return showCreateChoices({"AI", "Human"});
}

std::string askSide() {
    return showCreateChoices({"X (Goes first)", "O (Goes second)"});
}

std::string askYesNo() {
    return showCreateChoices({"Yes", "No"});
}

}  // namespace karvel::terminal
