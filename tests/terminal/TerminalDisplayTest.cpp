#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedScreen.h"
#include "error/EndGameInterrupt.h"
#include "terminal/Screen.h"
#include "terminal/TerminalDisplay.h"

namespace karvel::terminal {
namespace {

using Labels = std::vector<std::string>;

class TerminalDisplay : public ::testing::Test {
protected:
    TerminalDisplay() { scripted::screen() = scripted::Screen{}; }

    static scripted::Screen& screen() { return scripted::screen(); }
    static void answerMenus(std::initializer_list<std::string> answers) {
        screen().menuAnswers.assign(answers);
    }

    Display display;
};

constexpr const char* VALID_ID = "0b3e9a2c-55d1-4c6e-9f0a-7d2b8e4c1a90";

TEST_F(TerminalDisplay, GameStartFollowsTheAnswers) {
    const struct {
        std::initializer_list<std::string> answers;
        std::optional<StartChoice> expected;
    } cases[] = {
        {{"Join"}, StartChoice::JOIN},
        {{"Create", "AI"}, StartChoice::AI},
        {{"Create", "Human"}, StartChoice::CREATE},
    };
    for (const auto& c : cases) {
        answerMenus(c.answers);
        EXPECT_EQ(display.getGameStart(), c.expected);
    }
}

TEST_F(TerminalDisplay, GameStartAsksInTheCreationPanel) {
    display.showBoard(1, true, 1, Grid{});
    answerMenus({"Create", "AI"});
    display.getGameStart();
    EXPECT_EQ(screen().mode, CREATION_MODE);
    EXPECT_EQ(screen().createText, "Play against an AI or Human opponent?\n");
    EXPECT_EQ(screen().menusShown, (std::vector<Labels>{{"Create", "Join"}, {"AI", "Human"}}));
    EXPECT_EQ(screen().playText, "") << "the play text is cleared before the switch";
}

TEST_F(TerminalDisplay, GameStartAfterAnInterruptedGameAsksOnACleanCreationPanel) {
    answerMenus({"X (Goes first)", "Join"});
    display.getTeamChoice();
    display.showBoard(2, true, 1, Grid{});
    display.getGameStart();
    EXPECT_EQ(screen().textAtMenus.back(), "Would you like to create or join a game?\n");
}

TEST_F(TerminalDisplay, GameStartRepaintsTheWholeScreenFirst) {
    answerMenus({"Join"});
    display.getGameStart();
    EXPECT_EQ(screen().repaints, 1);
}

TEST_F(TerminalDisplay, EscAtEitherStartMenuLeavesTheGame) {
    for (const auto& answers : {std::initializer_list<std::string>{"Esc"}, {"Create", "Esc"}}) {
        answerMenus(answers);
        EXPECT_THROW(display.getGameStart(), error::EndGameInterrupt);
    }
}

TEST_F(TerminalDisplay, AiLevels) {
    answerMenus({"Easy", "Medium", "Hard"});
    EXPECT_EQ(display.getAiLevel(), 0);
    EXPECT_EQ(display.getAiLevel(), 1);
    EXPECT_EQ(display.getAiLevel(), 2);
    EXPECT_EQ(screen().createText, "Difficulty:\n");
}

TEST_F(TerminalDisplay, EscAtTheAiLevelIsAPlainBadInputFailure) {
    answerMenus({"Esc"});
    try {
        display.getAiLevel();
        FAIL() << "no failure";
    } catch (const common::errors::Error&) {
        FAIL() << "must not be an Error record";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "Bad Input");
    }
}

TEST_F(TerminalDisplay, TeamChoice) {
    answerMenus({"X (Goes first)", "O (Goes second)", "Esc"});
    EXPECT_EQ(display.getTeamChoice(), 2);
    EXPECT_EQ(display.getTeamChoice(), 1);
    EXPECT_EQ(display.getTeamChoice(), 2) << "Esc picks the side that goes first";
    EXPECT_EQ(screen().createText, "Which team would you like to play as?\n");
}

TEST_F(TerminalDisplay, InviteAddsTheJoinCodeUnderTheSideQuestion) {
    answerMenus({"X (Goes first)"});
    display.getTeamChoice();
    display.invite(VALID_ID);
    EXPECT_EQ(screen().createText, std::string("Which team would you like to play as?\n") +
                                       "Join code: \"" + VALID_ID + "\"\n");
}

TEST_F(TerminalDisplay, GameIdIsLowerCasedAndAskedAgainUntilValid) {
    std::string upper = VALID_ID;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    screen().typedLines.assign({"", "not-an-id", "id: " + upper});
    EXPECT_EQ(display.getGameId(), std::string("id: ") + VALID_ID);
    EXPECT_EQ(screen().createText,
              "Please enter the game id:\n\n"
              "\"\" Invalid game id, please try again:\n"
              "\"not-an-id\" Invalid game id, please try again:\n");
}

TEST_F(TerminalDisplay, EscAsTheFirstTypedCharacterLeavesTheGame) {
    screen().typedLines.assign({std::string("\x1b") + VALID_ID});
    EXPECT_THROW(display.getGameId(), error::EndGameInterrupt);
}

TEST_F(TerminalDisplay, PlayAgainOnlyOnYes) {
    answerMenus({"Yes", "No", "Esc"});
    EXPECT_TRUE(display.playAgain());
    EXPECT_FALSE(display.playAgain());
    EXPECT_FALSE(display.playAgain());
    EXPECT_EQ(screen().createText, "Would you like to play again:\n");
}

TEST_F(TerminalDisplay, PiecesToMoveAreListedUnderTheStatusLine) {
    display.showBoard(2, true, 1, Grid{});
    screen().positionAnswers.assign({7});
    const auto chosen = display.requestNextMoveFrom(2, {Position{0, 1}, Position{7, 0}});
    EXPECT_EQ(chosen, (Position{7, 0}));
    EXPECT_EQ(screen().menusShown.back(), (Labels{"1B", "8A"}));
    EXPECT_EQ(screen().playText,
              "Your Move (X).\nPlease select the next move:\n"
              "The following pieces are available to move:\n");
}

TEST_F(TerminalDisplay, LandingSquares) {
    screen().positionAnswers.assign({25});
    EXPECT_EQ(display.requestNextMoveTo(1, {Position{1, 1}, Position{1, 3}}), (Position{1, 3}));
    EXPECT_EQ(screen().playText, "The following moves are available:\n");
}

TEST_F(TerminalDisplay, PositionMenuEscLeavesTheGame) {
    screen().positionAnswers.assign({33});
    EXPECT_THROW(display.requestNextMoveTo(1, {Position{1, 1}}), error::EndGameInterrupt);
}

TEST_F(TerminalDisplay, EnterOnAnEmptyPositionMenuGivesNothing) {
    screen().positionAnswers.assign({0});
    EXPECT_EQ(display.requestNextMoveFrom(1, {}), std::nullopt);
}

TEST_F(TerminalDisplay, FollowUpMoveOrPass) {
    const Position from{2, 1};
    screen().positionAnswers.assign({25, 32});
    EXPECT_EQ(display.requestFollowUpMove(2, from, {Position{1, 0}, Position{1, 3}}),
              (Move{from, Position{1, 3}}));
    EXPECT_EQ(screen().menusShown.back(), (Labels{"2A", "2D", "Pass"}));
    EXPECT_EQ(display.requestFollowUpMove(2, from, {Position{1, 3}}), std::nullopt);
    EXPECT_EQ(screen().playText, "(X) has a follow-up move for Position \"B3\":\n");
}

TEST_F(TerminalDisplay, BoardStatusLineAndOwnTeam) {
    Grid grid{};
    grid[1].fill(1);
    grid[2].fill(2);
    display.showBoard(1, false, 0, grid);
    EXPECT_EQ(screen().playText, "Waiting for opponent to join.\n");
    EXPECT_EQ(display.me, 0);
    EXPECT_EQ(screen().boardDrawn, std::string(8, ' ') + std::string(8, 'O') + std::string(8, 'X') +
                                       std::string(8, ' '));

    display.showBoard(2, true, 1, grid);
    EXPECT_EQ(screen().playText, "Your Move (X).\n");
    EXPECT_EQ(display.me, 2);

    display.showBoard(1, false, 1, grid);
    EXPECT_EQ(screen().playText, "Waiting for opponent (O) to move.\n");
    EXPECT_EQ(display.me, 2);
}

TEST_F(TerminalDisplay, LastMoveIsWrittenInZeroBasedCoordinates) {
    display.showBoard(2, false, 1, Grid{});
    display.showLastMove(1, Move{Position{3, 1}, Position{1, 3}});
    EXPECT_EQ(screen().playText,
              "Waiting for opponent (X) to move.\nO moved\n  from (3, 1)\n  to   (1, 3)\n");
}

TEST_F(TerminalDisplay, FinalScreen) {
    const struct {
        std::int32_t me;
        Scores scores;
        std::string text;
    } cases[] = {
        {1, {{2, 5}, {1, 5}}, "Tie game.\n(X): 5 points\n(O): 5 points\n"},
        {1, {{2, 9}, {1, 3}}, "Opponent (X) is the winner!\n(X): 9 points\n(O): 3 points\n"},
        {1, {{2, 3}, {1, 1}}, "Opponent (X) is the winner!\n(X): 3 points\n(O): 1 points\n"},
        {2, {{2, 9}, {1, 3}}, "You (X) are the winner!\n(X): 9 points\n(O): 3 points\n"},
        {2, {{2, 0}, {1, 7}}, "Opponent (O) is the winner!\n(X): 0 points\n(O): 7 points\n"},
        {0, {{2, 0}, {1, 7}}, "Opponent (O) is the winner!\n(X): 0 points\n(O): 7 points\n"},
    };
    for (const auto& c : cases) {
        display.me = c.me;
        const int keysBefore = screen().keysWaited;
        display.endGame(c.scores, Grid{});
        EXPECT_EQ(screen().playText, c.text + "\nPress any key\n");
        EXPECT_EQ(screen().keysWaited, keysBefore + 1);
    }
}

TEST_F(TerminalDisplay, ErrorsShowOnlyTheirMessage) {
    display.displayError(common::errors::Error("KARVEL_API_ERROR", "Game not found"));
    EXPECT_EQ(screen().errorShown, "Game not found");
}

TEST_F(TerminalDisplay, GameIdAnnouncement) {
    display.displayGameId(VALID_ID);
    EXPECT_EQ(screen().createText, std::string("Your Game ID is:\n    ") + VALID_ID +
                                       "\nSend this code to an opponent for them to join.\n");
}

TEST_F(TerminalDisplay, ExitSaysGoodbyeAndEndsWithStatusZero) {
    EXPECT_EXIT(display.exit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace karvel::terminal
