#include "AccessLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "ApiRouter.h"

namespace karvel::service::server {
namespace {

std::string utcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// Control characters in a target would let a client forge log lines.
std::string printable(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        clean.push_back(byte < 0x20 || byte == 0x7f || c == '"' ? '?' : c);
    }
    return clean;
}

}  // namespace

std::string formatAccessLine(const AccessRecord& record) {
    return utcNow() + ' ' + record.remote + " \"" + printable(record.method) + ' ' +
           printable(loggableTarget(record.target)) + "\" " + std::to_string(record.status) + ' ' +
           std::to_string(record.bytes) + ' ' + std::to_string(record.duration.count()) + "us\n";
}

void writeAccessLine(const AccessRecord& record) {
    static std::mutex stderrMutex;
    const std::string line = formatAccessLine(record);
    const std::lock_guard lock(stderrMutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace karvel::service::server
