#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Environment.h"
#include "FailureText.h"
#include "RunMain.h"
#include "StartChoice.h"
#include "browser/api/Error.h"
#include "error/ApiError.h"
#include "error/EndGameInterrupt.h"

namespace karvel {
namespace {

std::exception_ptr thrown(const std::function<void()>& raise) {
    try {
        raise();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

TEST(FailureTextTest, TextOfEachKindOfFailure) {
    struct Case {
        std::function<void()> raise;
        std::string text;
    };
    const std::vector<Case> cases{
        {[] { throw error::ApiError("Game is full"); }, "Game is full"},
        {[] { throw error::EndGameInterrupt(); }, ""},
        {[] { throw browser::api::Error(404, "Http Error #404"); }, "Http Error #404"},
        {[] { throw std::runtime_error("Bad Input"); }, "Bad Input"},
        {[] { throw std::string("a text"); }, "a text"},
        {[] { throw "a literal"; }, "a literal"},
        {[] { throw 7; }, "unknown failure"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(failureText(thrown(c.raise)), c.text);
    }
}

TEST(RunMainTest, EscapingFailureWritesErrorLineAndExits255) {
    std::ostringstream out;
    std::vector<int> exits;
    const ProcessHooks hooks{[](int) {}, [&exits](int status) { exits.push_back(status); }, &out};

    runMain([] { throw browser::api::Error(0, "Failed to connect on host:443"); }, hooks);
    EXPECT_EQ(out.str(), "Error : Failed to connect on host:443\n");
    EXPECT_EQ(exits, std::vector<int>{255});

    out.str("");
    exits.clear();
    bool ran = false;
    runMain([&ran] { ran = true; }, hooks);
    EXPECT_TRUE(ran);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(exits.empty());
}

TEST(StartChoiceTest, TextForms) {
    EXPECT_EQ(toString(StartChoice::AI), "StartChoice.AI");
    EXPECT_EQ(toString(StartChoice::CREATE), "StartChoice.CREATE");
    EXPECT_EQ(toString(StartChoice::JOIN), "StartChoice.JOIN");
    EXPECT_EQ(toString(StartChoice::RESUME), "StartChoice.RESUME");
}

TEST(EnvironmentTest, ApiUrlIsAnHttpsBaseEndingInApi) {
    EXPECT_TRUE(Environment::API_URL.starts_with("https://")) << Environment::API_URL;
    EXPECT_TRUE(Environment::API_URL.ends_with("/api")) << Environment::API_URL;
}

}  // namespace
}  // namespace karvel
