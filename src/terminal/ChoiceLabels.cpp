#include "terminal/ChoiceLabels.h"

namespace karvel::terminal {

namespace {

constexpr int COLUMNS = 8;
constexpr int SQUARES = 32;

}  // namespace

std::string getChoice(int index) {
    if (index < 0 || index >= SQUARES) {
        index = 0;
    }
    return {static_cast<char>('1' + index % COLUMNS), static_cast<char>('A' + index / COLUMNS)};
}

int getChoiceIndex(const std::string& label) {
    if (label == PASS_LABEL) {
        return PASS_CHOICE;
    }
    if (label == EXIT) {
        return EXIT_CHOICE;
    }
    if (label.size() == 2 && label[0] >= '1' && label[0] <= '8' && label[1] >= 'A' &&
        label[1] <= 'D') {
        return (label[0] - '1') + COLUMNS * (label[1] - 'A');
    }
    return 0;
}

std::vector<std::string> positionMenuLabels(const std::vector<int>& indices, bool canPass) {
    std::vector<std::string> labels;
    labels.reserve(indices.size() + 1);
    for (const int index : indices) {
        labels.push_back(getChoice(index));
    }
    if (canPass) {
        labels.emplace_back(PASS_LABEL);
    }
    return labels;
}

}  // namespace karvel::terminal
