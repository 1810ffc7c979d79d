#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/serializer/object/Json.h"

namespace karvel::common::serializer::object {
namespace {

TEST(JsonTest, EncodeIsCompactAndKeepsFieldOrder) {
    const Json json;
    JsonValue create;
    create["startingAs"] = 1;
    EXPECT_EQ(json.encode(create), "{\"startingAs\":1}");
    EXPECT_EQ(json.encode(create).size(), 16u);

    JsonValue move;
    move["player"] = "P";
    move["move"]["to"] = {{"x", 4}, {"y", 2}};
    move["move"]["from"] = {{"x", 2}, {"y", 2}};
    EXPECT_EQ(json.encode(move),
              R"({"player":"P","move":{"to":{"x":4,"y":2},"from":{"x":2,"y":2}}})");
}

TEST(JsonTest, EncodeEscapesTexts) {
    const Json json;
    struct Case {
        std::string text;
        std::string encoded;
    };
    const std::vector<Case> cases{
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
        {std::string("\x01\x1f\0", 3), R"("\u0001\u001f\u0000")"},
        {"caf\xc3\xa9 \xe2\x9c\x93", "\"caf\xc3\xa9 \xe2\x9c\x93\""},  // UTF-8 kept as is
        {"/<>\x7f", "\"/<>\x7f\""},
        {"bad \xff byte", "\"bad \xef\xbf\xbd byte\""},  // not UTF-8: replaced, never thrown
    };
    for (const Case& c : cases) {
        const std::string encoded = json.encode(JsonValue(c.text));
        EXPECT_EQ(encoded, c.encoded);
        EXPECT_NO_THROW((void)json.decode(encoded)) << encoded;
    }
}

TEST(JsonTest, DecodeGivesRecordsInFieldOrder) {
    const Json json;
    const JsonValue game = json.decode(
        R"({"state":1,"currentPlayer":2,"board":"0011","canPass":false,"extra":[1,2.5,null]})");
    EXPECT_EQ(game["state"], 1);
    EXPECT_EQ(game["board"], "0011");
    EXPECT_EQ(game["canPass"], false);
    EXPECT_EQ(
        json.encode(game),
        R"({"state":1,"currentPlayer":2,"board":"0011","canPass":false,"extra":[1,2.5,null]})");
}

TEST(JsonTest, MalformedTextRaisesTheParseError) {
    const Json json;
    const std::vector<std::string> texts{
        "", "{", "{\"a\":}", "nul", "[1,]", "{\"a\":1}x", "\"\x01\"", std::string(100000, '[')};
    for (const std::string& text : texts) {
        EXPECT_THROW((void)json.decode(text), nlohmann::ordered_json::parse_error) << text.size();
    }
}

TEST(JsonTest, NestingIsLimitedSoValuesCanBeWrittenBack) {
    const Json json;
    const auto nested = [](std::size_t depth) {
        return std::string(depth, '[') + std::string(depth, ']');
    };
    const JsonValue deepest = json.decode(nested(512));
    EXPECT_EQ(json.encode(deepest), nested(512));
    EXPECT_THROW((void)json.decode(nested(513)), nlohmann::ordered_json::parse_error);
    EXPECT_THROW((void)json.decode(nested(1000000)), nlohmann::ordered_json::parse_error);
    EXPECT_THROW((void)json.decode("{\"a\":" + nested(600) + "}"),
                 nlohmann::ordered_json::parse_error);
}

}  // namespace
}  // namespace karvel::common::serializer::object
