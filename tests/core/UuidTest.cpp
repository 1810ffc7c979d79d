#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/uuid/Uuid.h"

namespace karvel::common::uuid {
namespace {

TEST(UuidTest, IsV4SearchesForThePattern) {
    struct Case {
        std::string text;
        bool isV4;
    };
    const std::vector<Case> cases{
        {"9b2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4b5c", true},
        {"zzzzzzzz-zzzz-zzzz-zzzz-zzzzzzzzzzzz", true},  // any lower-case letter counts
        {"id: 9b2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4b5c!", true},
        {"19b2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4b5c", true},  // nine-character first group
        {"", false},
        {"9B2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4b5c", false},
        {"9b2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4B5c", false},
        {"9b2e4a1c3f5d4e6a8b7c0d1e2f3a4b5c", false},
        {"9b2e4a1c-3f5d-4e6a-8b7c-0d1e2f3a4b5", false},
        {std::string("9b2e4a1c-3f5d-4e6a\0-8b7c-0d1e2f3a4b5c", 37), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Uuid::isV4(c.text), c.isV4) << c.text;
    }
}

TEST(UuidTest, V4HasTheTextFormVersionAndVariant) {
    std::set<std::string> seen;
    for (int n = 0; n < 200; ++n) {
        const std::string id = Uuid::v4();
        ASSERT_EQ(id.size(), 36u);
        EXPECT_TRUE(Uuid::isV4(id)) << id;
        EXPECT_EQ(id[14], '4') << id;
        EXPECT_NE(std::string("89ab").find(id[19]), std::string::npos) << id;
        for (std::size_t k : {8u, 13u, 18u, 23u}) {
            EXPECT_EQ(id[k], '-') << id;
        }
        EXPECT_EQ(id.find_first_not_of("0123456789abcdef-"), std::string::npos) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace karvel::common::uuid
