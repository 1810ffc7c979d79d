// Sequential HTTPS GETs, one new connection each (the client's own pattern), timed in CPU
// seconds, side by side with curl making the same requests with a fresh connection and a full
// handshake each. Usage: karvel_http_bench URL CA_FILE COUNT
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser/api/Error.h"
#include "browser/api/HttpApi.h"

namespace {

using karvel::browser::api::ApiResponse;
using karvel::browser::api::HttpApi;
using karvel::browser::api::HttpSettings;
using karvel::browser::api::RequestOptions;

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double cpuSeconds(const rusage& usage) {
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

double karvelCpuPerRequest(const std::string& url, const std::string& caFile, int count) {
    HttpApi api(HttpSettings{.caFile = caFile, .timeout = std::chrono::seconds(10), .limits = {}});
    RequestOptions options;
    options.url = url;
    options.onResponse = [](ApiResponse&) {};
    const double start = ownCpuSeconds();
    for (int i = 0; i < count; ++i) {
        api.get(options);  // a failure throws and ends the run
    }
    return (ownCpuSeconds() - start) / count;
}

struct CurlRun {
    double cpuSeconds;
    int connections;
};

// curl fetching url count times in one process. "Connection: close" makes the server end
// each connection, and --no-sessionid keeps curl from resuming TLS sessions, so every request
// costs a connection and a full handshake, as the client's do.
CurlRun runCurl(const std::string& url, const std::string& caFile, int count) {
    std::vector<std::string> arguments = {"curl",
                                          "--silent",
                                          "--show-error",
                                          "--fail",
                                          "--no-sessionid",
                                          "--cacert",
                                          caFile,
                                          "-H",
                                          "Connection: close",
                                          "-o",
                                          "/dev/null",
                                          "-w",
                                          "%{num_connects}\\n"};
    for (int i = 0; i < count; ++i) {
        arguments.push_back(url);
        if (i + 1 < count) {
            arguments.insert(arguments.end(), {"-o", "/dev/null"});
        }
    }
    int output[2];
    if (pipe(output) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execvp("curl", argv.data());
        _exit(127);
    }
    close(output[1]);
    int connections = 0;
    FILE* stream = fdopen(output[0], "r");
    for (int n = 0; fscanf(stream, "%d", &n) == 1;) {
        connections += n;
    }
    fclose(stream);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("curl failed");
    }
    return {cpuSeconds(usage), connections};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: karvel_http_bench URL CA_FILE COUNT\n";
        return 2;
    }
    const std::string url = argv[1];
    const std::string caFile = argv[2];
    const int count = std::atoi(argv[3]);
    if (count < 2) {
        std::cerr << "COUNT must be at least 2\n";
        return 2;
    }
    try {
        karvelCpuPerRequest(url, caFile, 3);  // warm-up: libraries loaded, pages touched
        const double karvel = karvelCpuPerRequest(url, caFile, count);
        const CurlRun one = runCurl(url, caFile, 1);
        const CurlRun many = runCurl(url, caFile, count);
        if (many.connections != count) {
            std::cerr << "curl made " << many.connections << " connections for " << count
                      << " requests\n";
            return 1;
        }
        // The difference between the two runs leaves out curl's start-up, which the client
        // pays once per program rather than once per request.
        const double curl = (many.cpuSeconds - one.cpuSeconds) / (count - 1);
        std::printf("requests: %d, each on a new connection with a full TLS handshake\n", count);
        std::printf("karvel_http CPU per request: %.3f ms\n", karvel * 1e3);
        std::printf("curl        CPU per request: %.3f ms (start-up excluded; %.3f ms with it)\n",
                    curl * 1e3, many.cpuSeconds / count * 1e3);
        std::printf("ratio karvel_http / curl: %.2f\n", karvel / curl);
    } catch (const std::exception& error) {
        std::cerr << "benchmark failed: " << error.what() << "\n";
        return 1;
    } catch (const karvel::browser::api::Error& error) {
        std::cerr << "request failed: " << error.message << "\n";
        return 1;
    }
    return 0;
}
