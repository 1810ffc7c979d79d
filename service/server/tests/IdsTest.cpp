#include <gtest/gtest.h>

#include <set>

#include "Ids.h"

namespace karvel::service::server {
namespace {

TEST(IdsTest, NewIdsHaveTheirFormAndDoNotRepeat) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string game = newGameId();
        const std::string player = newPlayerId();
        EXPECT_TRUE(isGameId(game)) << game;
        EXPECT_TRUE(isPlayerId(player)) << player;
        EXPECT_TRUE(seen.insert(game).second);
        EXPECT_TRUE(seen.insert(player).second);
    }
}

TEST(IdsTest, FormChecksRefuseEverythingElse) {
    struct Case {
        const char* text;
        bool game;
        bool player;
    };
    const Case cases[] = {
        {"0f8b2a3c-5d6e-4f70-8a9b-0c1d2e3f4a5b", true, false},
        {"0f8b2a3c-5d6e-4f70-bfff-0c1d2e3f4a5b", true, false},
        {"0F8B2A3C-5D6E-4F70-8A9B-0C1D2E3F4A5B", false, false},  // upper case
        {"0f8b2a3c-5d6e-3f70-8a9b-0c1d2e3f4a5b", false, false},  // version 3
        {"0f8b2a3c-5d6e-4f70-7a9b-0c1d2e3f4a5b", false, false},  // wrong variant
        {"0f8b2a3c5d6e4f708a9b0c1d2e3f4a5b", false, true},
        {"0f8b2a3c-5d6e-4f70-8a9b-0c1d2e3f4a5", false, false},
        {"0f8b2a3c-5d6e-4f70-8a9b-0c1d2e3f4a5b'", false, false},
        {"0f8b2a3c5d6e4f708a9b0c1d2e3f4a5g", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isGameId(c.text), c.game) << c.text;
        EXPECT_EQ(isPlayerId(c.text), c.player) << c.text;
    }
}

TEST(IdsTest, SameSecretComparesWholeTexts) {
    const std::string secret = "00112233445566778899aabbccddeeff";
    EXPECT_TRUE(sameSecret(secret, std::string(secret)));
    EXPECT_FALSE(sameSecret(secret, "00112233445566778899aabbccddeefe"));
    EXPECT_FALSE(sameSecret(secret, "10112233445566778899aabbccddeeff"));
    EXPECT_FALSE(sameSecret(secret, secret.substr(0, 31)));
    EXPECT_FALSE(sameSecret(secret, ""));
}

}  // namespace
}  // namespace karvel::service::server
