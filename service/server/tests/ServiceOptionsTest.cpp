#include <gtest/gtest.h>

#include "ServiceOptions.h"

namespace karvel::service::server {
namespace {

using Action = CommandLine::Action;

TEST(ServiceOptionsTest, ReadsEveryOption) {
    const CommandLine line =
        parseCommandLine({"--bind", "0.0.0.0", "--port", "0", "--db", "g.db", "--tls-cert", "c.pem",
                          "--tls-key", "k.pem", "--purge-after-days", "3", "--threads", "2",
                          "--max-connections", "9", "--timeout", "4"});
    ASSERT_EQ(line.action, Action::serve) << line.error;
    const ServiceOptions& o = line.options;
    EXPECT_EQ(o.http.bindAddress, "0.0.0.0");
    EXPECT_EQ(o.http.port, 0);
    EXPECT_EQ(o.databaseFile, "g.db");
    EXPECT_EQ(o.http.tlsCertFile, "c.pem");
    EXPECT_EQ(o.http.tlsKeyFile, "k.pem");
    EXPECT_EQ(o.purgeAfterDays, 3);
    EXPECT_EQ(o.http.threads, 2U);
    EXPECT_EQ(o.http.maxConnections, 9U);
    EXPECT_EQ(o.http.timeout, std::chrono::seconds(4));
}

TEST(ServiceOptionsTest, DefaultsServePlainHttpOnLoopbackAndPurgeAfterAWeek) {
    const CommandLine line = parseCommandLine({});
    ASSERT_EQ(line.action, Action::serve);
    EXPECT_EQ(line.options.http.bindAddress, "127.0.0.1");
    EXPECT_TRUE(line.options.http.tlsCertFile.empty());
    EXPECT_EQ(line.options.purgeAfterDays, 7);
}

TEST(ServiceOptionsTest, SortsOutHelpSolveAndMistakes) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
    };
    const Case cases[] = {
        {{"--help"}, Action::help},
        {{"--port", "1", "--help"}, Action::help},
        {{"--solve"}, Action::solve},
        {{"--port"}, Action::invalid},
        {{"--port", "65536"}, Action::invalid},
        {{"--port", "80x"}, Action::invalid},
        {{"--threads", "0"}, Action::invalid},
        {{"--purge-after-days", "-1"}, Action::invalid},
        {{"--tls-cert", "c.pem"}, Action::invalid},
        {{"--frobnicate", "1"}, Action::invalid},
        {{"stray"}, Action::invalid},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action) << c.arguments.front();
        EXPECT_EQ(line.action == Action::invalid, !line.error.empty()) << c.arguments.front();
    }
}

}  // namespace
}  // namespace karvel::service::server
