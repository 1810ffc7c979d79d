#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/ChoiceLabels.h"
#include "terminal/DisplayText.h"
#include "terminal/Keys.h"
#include "terminal/LineReader.h"

namespace karvel::terminal {
namespace {

TEST(ChoiceLabels, EverySquareLabelLeadsBackToItsIndex) {
    for (int index = 0; index < 32; ++index) {
        EXPECT_EQ(getChoiceIndex(getChoice(index)), index) << getChoice(index);
    }
}

TEST(ChoiceLabels, LabelsPutTheColumnFirst) {
    EXPECT_EQ(getChoice(0), "1A");
    EXPECT_EQ(getChoice(7), "8A");
    EXPECT_EQ(getChoice(8), "1B");
    EXPECT_EQ(getChoice(31), "8D");
}

TEST(ChoiceLabels, IndicesOutsideTheBoardFallBackToTheFirstSquare) {
    EXPECT_EQ(getChoice(-1), "1A");
    EXPECT_EQ(getChoice(32), "1A");
}

TEST(ChoiceLabels, SpecialAndUnknownLabels) {
    EXPECT_EQ(getChoiceIndex("Pass"), PASS_CHOICE);
    EXPECT_EQ(getChoiceIndex("Esc"), EXIT_CHOICE);
    for (const char* other : {"Create", "", "A1", "9A", "1E", "1a", "1A "}) {
        EXPECT_EQ(getChoiceIndex(other), 0) << '"' << other << '"';
    }
}

TEST(DisplayText, SquaresInMessagesPutTheRowFirst) {
    EXPECT_EQ(positionToString(Position{0, 0}), "A1");
    EXPECT_EQ(positionToString(Position{7, 3}), "D8");
    EXPECT_EQ(positionToString(Position{2, 3}), "D3");
}

TEST(DisplayText, PieceSymbols) {
    EXPECT_EQ(pieceToString(0), " ");
    EXPECT_EQ(pieceToString(1), "O");
    EXPECT_EQ(pieceToString(2), "X");
    EXPECT_EQ(pieceToString(3), "");
    EXPECT_EQ(pieceToString(-1), "");
}

TEST(DisplayText, BoardSymbolsRowByRow) {
    Grid grid{};
    grid[1].fill(1);
    grid[2].fill(2);
    grid[3][7] = 1;
    EXPECT_EQ(boardToString(grid), std::string(8, ' ') + std::string(8, 'O') + std::string(8, 'X') +
                                       std::string(7, ' ') + "O");
}

TEST(DisplayText, ChoiceIndexOfASquare) {
    EXPECT_EQ(choice(Position{0, 1}), 8);
    EXPECT_EQ(choice(Position{7, 0}), 7);
    EXPECT_EQ(choice(Position{7, 3}), 31);
}

TEST(MenuKeys, EachKeyHasItsAction) {
    const struct {
        int key;
        MenuAction action;
    } cases[] = {
        {258, MenuAction::NEXT},   {259, MenuAction::PREVIOUS},   {10, MenuAction::CHOOSE},
        {27, MenuAction::LEAVE},   {'r', MenuAction::SHOW_RULES}, {'R', MenuAction::IGNORE},
        {'q', MenuAction::IGNORE}, {13, MenuAction::IGNORE},      {266, MenuAction::IGNORE},
        {-1, MenuAction::IGNORE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menuActionFor(c.key), c.action) << c.key;
    }
}

// Feeds readLine from a list of key codes and counts the keys it takes.
struct KeyFeed {
    explicit KeyFeed(std::vector<int> keys) : keys(std::move(keys)) {}
    int next() { return keys.at(taken++); }
    std::vector<int> keys;
    std::size_t taken = 0;
};

std::vector<int> keysOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string readFrom(KeyFeed& feed) {
    return readLine([&] { return feed.next(); }, [&] { return feed.next(); });
}

TEST(LineReader, StopsAtEnterWithoutKeepingIt) {
    KeyFeed feed(keysOf("abc\nrest"));
    EXPECT_EQ(readFrom(feed), "abc");
    EXPECT_EQ(feed.taken, 4U);
}

TEST(LineReader, EnterFirstGivesTheEmptyLine) {
    for (const int enter : {10, 266}) {  // 266 has a newline in its low 8 bits
        KeyFeed feed({enter, 'x'});
        EXPECT_EQ(readFrom(feed), "") << enter;
        EXPECT_EQ(feed.taken, 1U);
    }
}

TEST(LineReader, KeepsEightyCharactersAndDropsTheNextKey) {
    KeyFeed feed(keysOf(std::string(80, 'a') + "bcdef\n"));
    EXPECT_EQ(readFrom(feed), std::string(80, 'a'));
    EXPECT_EQ(feed.taken, 81U) << "the 81st key ends the line and the rest waits";
}

TEST(LineReader, KeepsTheLowEightBitsOfEveryOtherKey) {
    KeyFeed feed({27, 0x161, 'b', '\n'});  // Esc, a function key code, a letter
    EXPECT_EQ(readFrom(feed), std::string("\x1b"
                                          "ab"));
}

TEST(LineReader, FirstKeyComesFromItsOwnSource) {
    KeyFeed first({'x'});
    KeyFeed rest(keysOf("yz\n"));
    EXPECT_EQ(readLine([&] { return first.next(); }, [&] { return rest.next(); }), "xyz");
}

}  // namespace
}  // namespace karvel::terminal
