#pragma once

#include <string>
#include <vector>

namespace karvel::terminal {

// Menu entries beyond the 32 squares.
inline constexpr int PASS_CHOICE = 32;
inline constexpr int EXIT_CHOICE = 33;
inline constexpr const char* PASS_LABEL = "Pass";
// What a menu answers when the user leaves it with Esc.
inline constexpr const char* EXIT = "Esc";

// The menu label of square index x + 8 * y: column digit then row letter ("1A" .. "8D").
// Indices outside 0..31 give "1A".
std::string getChoice(int index);

// The index whose label is `label`: 0..31 for squares, PASS_CHOICE, EXIT_CHOICE; 0 for any
// other text.
int getChoiceIndex(const std::string& label);

// The labels of a position menu: the squares in the given order, then "Pass" when `canPass`.
std::vector<std::string> positionMenuLabels(const std::vector<int>& indices, bool canPass);

}  // namespace karvel::terminal
