#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "Shell.h"
#include "TestService.h"
#include "TmuxPane.h"

// The real client in a real terminal (tmux) against the real service over HTTPS. The client under
// test is a build of `karvel` configured for this test service's URL and certificate authority.
namespace karvel::terminal::play {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* START_QUESTION = "Would you like to create or join a game?";
constexpr const char* OPPONENT_QUESTION = "Play against an AI or Human opponent?";
constexpr const char* SIDE_QUESTION = "Which team would you like to play as?";
constexpr const char* PIECES_QUESTION = "The following pieces are available to move:";
constexpr const char* LANDING_QUESTION = "The following moves are available:";
constexpr const char* FOLLOW_UP_QUESTION = "has a follow-up move for Position";
constexpr const char* PLAY_AGAIN_QUESTION = "Would you like to play again:";
constexpr const char* GAME_ID_QUESTION = "Please enter the game id:";

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

class Play : public ::testing::Test {
protected:
    Play() {
        std::string pattern = (std::filesystem::temp_directory_path() / "karvel-play-XXXXXX");
        dir_ = mkdtemp(pattern.data());
    }
    ~Play() override {
        panes_.clear();
        service_.reset();
        if (!HasFailure()) {
            std::filesystem::remove_all(dir_);
        } else {
            std::cerr << "kept " << dir_ << "\n";
        }
    }

    void startService() { service_ = std::make_unique<TestService>(KARVEL_TEST_PORT, dir_); }
    void stopService() { service_->stop(); }

    TmuxPane& client(const std::string& redirection = "") {
        panes_.push_back(
            std::make_unique<TmuxPane>(shellQuote(KARVEL_TEST_CLIENT) + redirection, dir_));
        return *panes_.back();
    }

    // The client has closed its screen: "Goodbye" is the last line it wrote, and it ended with 0.
    static void expectGoodbye(const TmuxPane& pane) {
        pane.waitFor("[exit ");
        const Lines lines = pane.lines();
        std::vector<std::string> written;
        for (const std::string& line : lines) {
            if (!line.empty() && line.rfind("Pane is dead", 0) != 0) {
                written.push_back(line);
            }
        }
        ASSERT_GE(written.size(), 2U) << joined(lines);
        EXPECT_EQ(written[written.size() - 2], "Goodbye") << joined(lines);
        EXPECT_EQ(written.back(), "[exit 0]") << joined(lines);
    }

    static void startAiGame(const TmuxPane& pane, const std::string& level,
                            const std::string& side = "X (Goes first)") {
        pane.waitFor(START_QUESTION);
        pane.choose("Create");
        pane.waitFor(OPPONENT_QUESTION);
        pane.choose("AI");
        pane.waitFor("Difficulty:");
        pane.choose(level);
        pane.waitFor(SIDE_QUESTION);
        pane.choose(side);
    }

    std::filesystem::path dir_;

private:
    std::unique_ptr<TestService> service_;
    std::vector<std::unique_ptr<TmuxPane>> panes_;
};

// How a player answers the move questions: labels picked from the offered items.
struct Policy {
    std::function<std::string(const Lines& items)> piece = [](const Lines& items) {
        return items.back();  // reached with the arrow keys
    };
    std::function<std::string(const Lines& items)> landing = [](const Lines& items) {
        return items.back();
    };
    std::function<std::string(const Lines& items)> followUp = [](const Lines& items) {
        return items.front();  // a further jump rather than "Pass"
    };
    int followUps = 0;
};

enum class Turn { NONE, ANSWERED, FINISHED };

// Answers the move question on the screen, if any; FINISHED once the final scores show.
Turn playStep(const TmuxPane& pane, Policy& policy) {
    const Lines lines = pane.lines();
    const std::string screen = joined(lines);
    if (holds(screen, "There was an error:")) {
        throw std::runtime_error("error screen during play:\n" + screen);
    }
    const TmuxPane::Menu menu = TmuxPane::menuOn(lines);
    if (menu.current < 0) {
        const bool finalScreen = holds(screen, "Press any key") && holds(screen, " points");
        return finalScreen ? Turn::FINISHED : Turn::NONE;
    }
    if (holds(screen, FOLLOW_UP_QUESTION)) {
        EXPECT_EQ(menu.items.back(), "Pass") << screen;
        ++policy.followUps;
        pane.choose(policy.followUp(menu.items));
    } else if (holds(screen, LANDING_QUESTION)) {
        pane.choose(policy.landing(menu.items));
    } else if (holds(screen, PIECES_QUESTION)) {
        pane.choose(policy.piece(menu.items));
    } else {
        return Turn::NONE;
    }
    return Turn::ANSWERED;
}

// Plays every given pane to the final screen; gives each final screen.
std::vector<std::string> playToEnd(const std::vector<const TmuxPane*>& panes,
                                   std::vector<Policy*> policies) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(8);
    std::vector<std::string> finals(panes.size());
    std::size_t finished = 0;
    while (finished < panes.size()) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("the game did not end:\n" + panes.front()->screen());
        }
        bool answered = false;
        for (std::size_t i = 0; i < panes.size(); ++i) {
            if (!finals[i].empty()) {
                continue;
            }
            const Turn turn = playStep(*panes[i], *policies[i]);
            answered = answered || turn == Turn::ANSWERED;
            if (turn == Turn::FINISHED) {
                finals[i] = panes[i]->screen();
                ++finished;
            }
        }
        if (!answered) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return finals;
}

// The final screen of a finished game: the winner line (or "Tie game."), then the two scores.
// The text area has four lines, so "Press any key" takes the place of the empty line before it.
void expectFinalScreen(const std::string& screen) {
    static const std::regex FINAL(
        R"((Tie game\.|You \((X|O)\) are the winner!|Opponent \((X|O)\) is the winner!)\n)"
        R"(\(X\): (\d+) points\n\(O\): (\d+) points\nPress any key\n)");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(screen, match, FINAL)) << screen;
    const int x = std::stoi(match[4]);
    const int o = std::stoi(match[5]);
    if (x == o) {
        EXPECT_EQ(match[1], "Tie game.") << screen;
    } else {
        const std::string winner = x > o ? "X" : "O";
        EXPECT_TRUE(match[2] == winner || match[3] == winner) << screen;
    }
}

TEST_F(Play, ServiceDownAtStartShowsTheErrorAndEndsNormally) {
    const TmuxPane& pane = client();
    const std::string screen = pane.waitFor("Service not available");
    EXPECT_TRUE(holds(screen, "There was an error:\n\n  Service not available\n\nPress any key"))
        << screen;
    EXPECT_FALSE(holds(screen, START_QUESTION));
    pane.send("x");
    expectGoodbye(pane);
}

class AiGame : public Play, public ::testing::WithParamInterface<const char*> {};

TEST_P(AiGame, IsPlayedToItsEndWithTheArrowKeys) {
    startService();
    const TmuxPane& pane = client();
    startAiGame(pane, GetParam());
    pane.waitFor("1|2|3|4|5|6|7|8");
    const std::string opening = pane.waitFor(PIECES_QUESTION);
    EXPECT_TRUE(holds(opening, "Your Move (X).\nPlease select the next move:\n")) << opening;

    Policy policy;
    const std::string final = playToEnd({&pane}, {&policy}).front();
    expectFinalScreen(final);

    pane.send("Space");
    pane.waitFor(PLAY_AGAIN_QUESTION);
    pane.choose("No");
    expectGoodbye(pane);
}

INSTANTIATE_TEST_SUITE_P(EachLevel, AiGame, ::testing::Values("Easy", "Medium", "Hard"));

TEST_F(Play, HumansPlayByGameIdWithAFollowUpJumpAndAPass) {
    startService();
    const TmuxPane& creator = client();
    creator.waitFor(START_QUESTION);
    creator.choose("Create");
    creator.waitFor(OPPONENT_QUESTION);
    creator.choose("Human");
    creator.waitFor(SIDE_QUESTION);
    creator.choose("O (Goes second)");
    std::smatch code;
    const std::string invitation = creator.waitFor("Join code: \"");
    ASSERT_TRUE(std::regex_search(invitation, code, std::regex("Join code: \"([0-9a-z-]{36})\"")))
        << invitation;
    const std::string gameId = code[1];

    const TmuxPane& joiner = client();
    joiner.waitFor(START_QUESTION);
    joiner.choose("Join");
    joiner.waitFor(GAME_ID_QUESTION);
    joiner.type("not-a-game-id");
    joiner.send("Enter");
    joiner.waitFor("\"not-a-game-id\" Invalid game id, please try again:");
    std::string upperCase = gameId;
    for (char& c : upperCase) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    joiner.type(upperCase);
    joiner.send("Enter");

    // The joiner plays X and opens, once the creator has seen the game begin; this line gives
    // each side a follow-up jump.
    const std::string opening = joiner.waitFor(PIECES_QUESTION);
    EXPECT_TRUE(holds(opening, "Your Move (X).")) << opening;
    creator.waitFor("Waiting for opponent (X) to move.");
    joiner.choose("1C");
    joiner.choose("1A");
    const std::string creatorTurn = creator.waitFor(PIECES_QUESTION);
    EXPECT_TRUE(holds(creatorTurn, "Your Move (O).")) << creatorTurn;
    creator.choose("3B");
    creator.choose("3D");
    const std::string followUp = creator.waitFor("(O) has a follow-up move for Position \"D3\":");
    EXPECT_EQ(TmuxPane::menuOn(creator.lines()).items, (Lines{"1B", "Pass"})) << followUp;
    creator.choose("1B");

    joiner.waitFor(PIECES_QUESTION);
    joiner.choose("1A");
    joiner.choose("1C");
    joiner.waitFor("(X) has a follow-up move for Position \"C1\":");
    EXPECT_EQ(TmuxPane::menuOn(joiner.lines()).items, (Lines{"3A", "Pass"}));
    joiner.choose("Pass");
    creator.waitFor(PIECES_QUESTION);

    Policy creatorPolicy;
    Policy joinerPolicy;
    joinerPolicy.followUp = [](const Lines& items) { return items.back(); };
    const auto finals = playToEnd({&creator, &joiner}, {&creatorPolicy, &joinerPolicy});
    for (const std::string& final : finals) {
        expectFinalScreen(final);
    }
    const bool creatorWon = holds(finals[0], "You (O) are the winner!");
    EXPECT_EQ(creatorWon, holds(finals[1], "Opponent (O) is the winner!")) << finals[1];

    creator.send("Space");
    creator.waitFor(PLAY_AGAIN_QUESTION);
    creator.choose("Yes");
    creator.waitFor(START_QUESTION);
    creator.send("Escape");
    expectGoodbye(creator);
    joiner.send("Space");
    joiner.waitFor(PLAY_AGAIN_QUESTION);
    joiner.send("Escape");  // Esc answers "no"
    expectGoodbye(joiner);
}

TEST_F(Play, RulesShowFromAMenuAndTheSameItemIsHighlightedAfter) {
    startService();
    const TmuxPane& pane = client();
    pane.waitFor(START_QUESTION);
    pane.send("Down");
    ASSERT_EQ(pane.menu().current, 1);
    pane.send("r");
    const std::string rules = pane.waitFor("Scores per island:");
    EXPECT_TRUE(holds(rules, "Rules:\n\nEach player takes turns making moves.")) << rules;
    EXPECT_TRUE(holds(rules, "5 pieces: 9 points")) << rules;
    EXPECT_TRUE(holds(rules, "Press any key")) << rules;
    pane.send("x");
    pane.waitFor(START_QUESTION);
    const TmuxPane::Menu menu = pane.menu();
    EXPECT_EQ(menu.items, (Lines{"Create", "Join"}));
    EXPECT_EQ(menu.current, 1);
    pane.send("a b c R");  // ignored, and not echoed
    EXPECT_FALSE(holds(pane.screen(), "abc"));
    pane.send("Enter");
    pane.waitFor(GAME_ID_QUESTION);
    pane.send("Escape Enter");
    expectGoodbye(pane);
}

TEST_F(Play, EscLeavesTheStartMenus) {
    startService();
    const TmuxPane& atStart = client();
    atStart.waitFor(START_QUESTION);
    atStart.send("Escape");
    expectGoodbye(atStart);

    const TmuxPane& atOpponent = client();
    atOpponent.waitFor(START_QUESTION);
    atOpponent.choose("Create");
    atOpponent.waitFor(OPPONENT_QUESTION);
    atOpponent.send("Escape");
    expectGoodbye(atOpponent);
}

TEST_F(Play, EscLeavesAMoveQuestionWithoutThePlayAgainQuestion) {
    startService();
    const TmuxPane& pane = client();
    startAiGame(pane, "Easy", "O (Goes second)");
    const std::string turn = pane.waitFor(PIECES_QUESTION, std::chrono::seconds(60));
    EXPECT_TRUE(holds(turn, "Your Move (O).")) << turn;
    pane.send("Escape");
    expectGoodbye(pane);
    EXPECT_FALSE(holds(pane.output(), PLAY_AGAIN_QUESTION));
}

TEST_F(Play, EscAtTheSideQuestionPicksX) {
    startService();
    const TmuxPane& pane = client();
    pane.waitFor(START_QUESTION);
    pane.choose("Create");
    pane.choose("AI");
    pane.choose("Easy");
    pane.waitFor(SIDE_QUESTION);
    pane.send("Escape");
    const std::string turn = pane.waitFor(PIECES_QUESTION);
    EXPECT_TRUE(holds(turn, "Your Move (X).")) << turn;
    pane.send("Escape");
    expectGoodbye(pane);
}

TEST_F(Play, EscAtTheDifficultyIsTracedAndTheStartQuestionComesAgain) {
    startService();
    const TmuxPane& pane = client();
    pane.waitFor(START_QUESTION);
    pane.choose("Create");
    pane.choose("AI");
    pane.waitFor("Difficulty:");
    pane.send("Escape");
    pane.waitFor(START_QUESTION);
    EXPECT_TRUE(std::regex_search(pane.output(), std::regex(R"([A-Za-z]+\.cpp:264: Bad Input)")));
    EXPECT_FALSE(holds(pane.screen(), "Bad Input")) << "the screen is repainted";
    pane.send("Escape");
    expectGoodbye(pane);
}

TEST_F(Play, EscAsTheFirstKeyOfTheGameIdLeaves) {
    startService();
    const TmuxPane& pane = client();
    pane.waitFor(START_QUESTION);
    pane.choose("Join");
    pane.waitFor(GAME_ID_QUESTION);
    pane.send("Escape");
    pane.type("abc");
    pane.send("Enter");
    expectGoodbye(pane);
}

TEST_F(Play, ServiceStoppedMidGameIsTracedAndTheStartQuestionComesAgain) {
    startService();
    const TmuxPane& pane = client();
    startAiGame(pane, "Easy");
    pane.waitFor(PIECES_QUESTION);
    stopService();
    pane.choose("1C");
    pane.choose("1A");  // the move cannot be sent
    const std::string screen = pane.waitFor(START_QUESTION);
    EXPECT_TRUE(std::regex_search(pane.output(), std::regex(R"([A-Za-z]+\.cpp:264: .+)")))
        << pane.output();
    EXPECT_FALSE(holds(screen, ":264:")) << "the screen is repainted:\n" << screen;
    EXPECT_EQ(pane.lines()[0], START_QUESTION) << screen;
    EXPECT_EQ(pane.menu().items, (Lines{"Create", "Join"})) << screen;
    pane.send("Escape");
    expectGoodbye(pane);
}

TEST_F(Play, EndOfInputEndsTheProgramNormally) {
    startService();
    const TmuxPane& pane = client(" < /dev/null");
    expectGoodbye(pane);
}

}  // namespace
}  // namespace karvel::terminal::play
