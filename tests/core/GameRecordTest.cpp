#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "common/serializer/object/Json.h"
#include "server/GameRecord.h"

namespace karvel::server {
namespace {

GameRecord recordOf(const std::string& json) {
    return GameRecord(common::serializer::object::Json().decode(json));
}

TEST(GameRecordTest, NumbersByValueAndTruncation) {
    struct Case {
        std::string json;
        std::int32_t integer;
        bool equalsTwo;
    };
    const std::vector<Case> cases{
        {R"({"n":2})", 2, true},
        {R"({"n":2.0})", 2, true},
        {R"({"n":2.9})", 2, false},
        {R"({"n":-2.9})", -2, false},
        {R"({"n":"2"})", 0, false},
        {R"({"n":true})", 0, false},
        {R"({"n":null})", 0, false},
        {R"({"n":[2]})", 0, false},
        {R"({})", 0, false},
        {R"([2])", 0, false},
        {R"("n")", 0, false},
        {R"({"n":1e300})", INT32_MAX, false},
        {R"({"n":-1e300})", INT32_MIN, false},
        {R"({"n":18446744073709551615})", INT32_MAX, false},
        {R"({"n":-9223372036854775808})", INT32_MIN, false},
        {R"({"n":4294967298})", INT32_MAX, false},  // not 2 after wrapping
    };
    for (const Case& c : cases) {
        const GameRecord record = recordOf(c.json);
        EXPECT_EQ(record.integer("n"), c.integer) << c.json;
        EXPECT_EQ(record.numberEquals("n", 2), c.equalsTwo) << c.json;
    }
    EXPECT_FALSE(recordOf(R"({"n":18446744073709551615})").numberEquals("n", -1));
}

TEST(GameRecordTest, TextsAndFlags) {
    struct Case {
        std::string json;
        std::string text;
        bool flag;
    };
    const std::vector<Case> cases{
        {R"({"f":"0012"})", "0012", false},
        {R"({"f":true})", "", true},
        {R"({"f":"true"})", "true", false},
        {R"({"f":1})", "", false},
        {R"({"f":{"a":1}})", "", false},
        {R"({})", "", false},
        {R"(null)", "", false},
    };
    for (const Case& c : cases) {
        const GameRecord record = recordOf(c.json);
        EXPECT_EQ(record.text("f"), c.text) << c.json;
        EXPECT_EQ(record.flag("f"), c.flag) << c.json;
    }
}

TEST(GameRecordTest, MovesNeedBothEndsWithNumericCoordinates) {
    EXPECT_EQ(recordOf(R"({"m":{"from":{"x":0,"y":2},"to":{"x":2.5,"y":0}}})").move("m"),
              (Move{{0, 2}, {2, 0}}));
    EXPECT_EQ(recordOf(R"({"m":{"from":{"x":9,"y":-4},"to":{"x":0,"y":0}}})").move("m"),
              (Move{{9, -4}, {0, 0}}));
    for (const std::string json :
         {R"({})", R"({"m":null})", R"({"m":[1,2]})", R"({"m":{"from":{"x":0,"y":2}}})",
          R"({"m":{"from":{"x":0},"to":{"x":0,"y":0}}})",
          R"({"m":{"from":{"x":0,"y":"2"},"to":{"x":0,"y":0}}})",
          R"({"m":{"from":"A1","to":{"x":0,"y":0}}})"}) {
        EXPECT_FALSE(recordOf(json).move("m").has_value()) << json;
    }
}

}  // namespace
}  // namespace karvel::server
