#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestClient.h"

namespace karvel::service::server::testing {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The local CA and server certificate, made once per test process by scripts/dev-certs.
struct TestCerts {
    std::string caFile;
    std::string certFile;
    std::string keyFile;
};
const TestCerts& testCerts();

// The real karvel-service binary, serving HTTPS on a free loopback port with its database and
// log in `dir`. Stopped with SIGKILL when destroyed if still running.
class ServiceProcess {
public:
    ServiceProcess(const std::filesystem::path& dir, std::vector<std::string> extraArguments = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    unsigned short port() const { return port_; }
    pid_t pid() const { return pid_; }
    std::filesystem::path databaseFile() const { return dir_ / "games.db"; }
    HttpsClient client() const;

    void signal(int number) const;
    // Waits for the process to end; gives its wait status.
    int waitForExit();
    long residentKiB() const;
    std::string log() const;

private:
    std::filesystem::path dir_;
    std::filesystem::path logFile_;
    pid_t pid_ = -1;
    unsigned short port_ = 0;
};

}  // namespace karvel::service::server::testing
