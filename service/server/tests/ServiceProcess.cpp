#include "ServiceProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace karvel::service::server::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "karvel-svc-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const TestCerts& testCerts() {
    static const TempDir dir;
    static const TestCerts certs = [] {
        const std::string command =
            std::string(KARVEL_DEV_CERTS) + " '" + dir.path().string() + "' >/dev/null";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("scripts/dev-certs failed");
        }
        return TestCerts{(dir.path() / "ca.pem").string(), (dir.path() / "server.pem").string(),
                         (dir.path() / "server-key.pem").string()};
    }();
    return certs;
}

namespace {
// Each start logs to a file of its own, so an earlier start's lines never match.
int startCount = 0;
}  // namespace

ServiceProcess::ServiceProcess(const std::filesystem::path& dir,
                               std::vector<std::string> extraArguments)
    : dir_(dir), logFile_(dir / ("service-" + std::to_string(++startCount) + ".log")) {
    const TestCerts& certs = testCerts();
    std::vector<std::string> arguments = {
        KARVEL_SERVICE_BINARY,   "--bind",     "127.0.0.1",    "--port",    "0",          "--db",
        databaseFile().string(), "--tls-cert", certs.certFile, "--tls-key", certs.keyFile};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const int logFd = ::open(logFile_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (logFd < 0) {
        throw std::runtime_error("cannot open the service log");
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(logFd, STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(logFd);
    if (pid_ < 0) {
        throw std::runtime_error("cannot start the service");
    }
    const std::regex listening("listening on https://127\\.0\\.0\\.1:([0-9]+)/api");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        std::smatch found;
        const std::string text = log();
        if (std::regex_search(text, found, listening)) {
            port_ = static_cast<unsigned short>(std::stoi(found[1].str()));
            return;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the service ended at start: " + text);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error("the service did not start listening: " + log());
}

ServiceProcess::~ServiceProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

HttpsClient ServiceProcess::client() const {
    return HttpsClient(port_, testCerts().caFile);
}

void ServiceProcess::signal(int number) const {
    ::kill(pid_, number);
}

int ServiceProcess::waitForExit() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

long ServiceProcess::residentKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::string ServiceProcess::log() const {
    std::ifstream file(logFile_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace karvel::service::server::testing
