#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors/Error.h"
#include "error/ApiError.h"
#include "error/EndGameInterrupt.h"
#include "error/GameManagerError.h"
#include "error/NotIslandError.h"
#include "error/OccupiedSpaceError.h"

namespace karvel {
namespace {

using common::errors::Error;

TEST(ErrorRecordsTest, TypesAndMessages) {
    struct Case {
        Error error;
        std::string type;
        std::string message;
    };
    const std::vector<Case> cases{
        {error::ApiError("Game not found"), "KARVEL_API_ERROR", "Game not found"},
        {error::GameManagerError(), "KARVEL_GAME_MANAGER_ERROR", "Service not available"},
        {error::OccupiedSpaceError(Position{3, 1}, 2), "OCCUPIED_SPACE_ERROR",
         "Position \"{x: 3, y: 1}\" taken by 2"},
        {error::OccupiedSpaceError(std::nullopt, 1), "OCCUPIED_SPACE_ERROR",
         "Position \"null\" taken by 1"},
        {error::OccupiedSpaceError(Position{-1, 0}, -7), "OCCUPIED_SPACE_ERROR",
         "Position \"{x: -1, y: 0}\" taken by -7"},
        {error::NotIslandError(Position{0, 2}), "NOT_ISLAND_ERROR", "\"{x: 0, y: 2}\" not Island"},
        {error::NotIslandError(std::nullopt), "NOT_ISLAND_ERROR", "\"null\" not Island"},
        {error::EndGameInterrupt(), "END_GAME_INTERRUPT", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.error.type, c.type);
        EXPECT_EQ(c.error.message, c.message);
        EXPECT_EQ(c.error.toString(), c.type + ": " + c.message + "\n");
        EXPECT_TRUE(c.error.causes.empty());
    }
    EXPECT_EQ(std::string(error::ApiError::TYPE), "KARVEL_API_ERROR");
    EXPECT_EQ(std::string(error::EndGameInterrupt::TYPE), "END_GAME_INTERRUPT");
}

TEST(ErrorRecordsTest, CausedByFlattensTheChain) {
    Error a("A", "first");
    Error earlier("E", "earlier");
    a.causedBy(earlier);
    Error b("B", "second");
    Error c("C", "third");
    Error d("D", "fourth");
    b.causedBy(c);
    b.causedBy(d);

    a.causedBy(b);

    std::vector<std::string> types;
    for (const Error& cause : a.causes) {
        types.push_back(cause.type);
    }
    EXPECT_EQ(types, (std::vector<std::string>{"E", "B", "C", "D"}));
    EXPECT_TRUE(b.causes.empty());
    EXPECT_TRUE(a.causes[1].causes.empty());
    EXPECT_EQ(a.toString(), "A: first\nE: earlier\nB: second\nC: third\nD: fourth\n");

    a.causedBy(c);
    ASSERT_EQ(a.causes.size(), 5u);
    EXPECT_EQ(a.causes[4].type, "C");
}

TEST(ErrorRecordsTest, HandlersTellRecordsApartByClass) {
    auto classify = [](auto thrown) -> std::string {
        try {
            throw thrown;
        } catch (const error::EndGameInterrupt&) {
            return "interrupt";
        } catch (const Error&) {
            return "error";
        } catch (...) {
            return "other";
        }
    };
    EXPECT_EQ(classify(error::EndGameInterrupt()), "interrupt");
    EXPECT_EQ(classify(error::ApiError("x")), "error");
    EXPECT_EQ(classify(error::NotIslandError(std::nullopt)), "error");
    // An error whose code looks like the interrupt's is still a plain Error.
    EXPECT_EQ(classify(Error("END_GAME_INTERRUPT", "")), "error");
}

}  // namespace
}  // namespace karvel
