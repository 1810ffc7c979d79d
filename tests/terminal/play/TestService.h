#pragma once

#include <sys/types.h>

#include <filesystem>

namespace karvel::terminal::play {

// karvel-service on localhost with the test certificates and a database of its own, started by
// the constructor and stopped by stop() or the destructor.
class TestService {
public:
    TestService(int port, const std::filesystem::path& workDir);
    ~TestService();
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;

    void stop();

private:
    pid_t pid_ = -1;
};

}  // namespace karvel::terminal::play
