#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Position.h"
#include "ServiceProcess.h"

namespace karvel::service::server::testing {

struct Seat {
    std::string gameId;
    std::string player;
    Piece team = 0;
};

// A running service with short time-outs and two request threads, and helpers for requests.
class ServiceFixture : public ::testing::Test {
protected:
    void SetUp() override { start(); }
    void start(std::vector<std::string> extra = {"--timeout", "2", "--threads", "2"});

    Seat create(Piece team) const;
    Seat join(const std::string& gameId) const;
    HttpReply get(const std::string& gameId) const;
    HttpReply move(const Seat& seat, const Move& move) const;
    HttpReply aiMove(const Seat& seat, int level) const;
    HttpReply pass(const Seat& seat) const;

    TempDir dir_;
    std::unique_ptr<ServiceProcess> service_;
};

std::string moveBody(const std::string& player, const Move& move);

}  // namespace karvel::service::server::testing
