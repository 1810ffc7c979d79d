#include "ServiceOptions.h"

#include <charconv>
#include <optional>

namespace karvel::service::server {
namespace {

std::optional<long> wholeNumber(const std::string& text, long low, long high) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

CommandLine invalid(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::invalid;
    line.error = std::move(message);
    return line;
}

}  // namespace

std::string usageText() {
    return R"(Usage: karvel-service [options]
The Karvel game service: games between two people or against an AI, over HTTPS under /api.

  --bind ADDR              address to listen on (default 127.0.0.1)
  --port N                 port to listen on, 0 for any free one (default 8443)
  --db FILE                SQLite database of the games (default karvel-service.db)
  --tls-cert PEM           certificate chain; with --tls-key, serve HTTPS (else plain HTTP)
  --tls-key PEM            private key of the certificate
  --purge-after-days N     delete games nobody touched for N days (default 7)
  --threads N              request-handling threads (default 4)
  --max-connections N      open connections allowed at once (default 512)
  --timeout SECONDS        limit for a TLS handshake, a request and a reply (default 10)
  --solve                  print the exact value of the opening position, then exit
  --help                   print this text, then exit

Each request is logged on standard error. SIGINT or SIGTERM finishes the requests in flight.
)";
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    ServiceOptions& options = line.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            line.action = CommandLine::Action::help;
            return line;
        }
        if (name == "--solve") {
            line.action = CommandLine::Action::solve;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            return invalid(name.rfind("--", 0) == 0 ? name + " needs a value"
                                                    : "unknown argument " + name);
        }
        const std::string& value = arguments[++i];
        const auto number = [&](long low, long high) { return wholeNumber(value, low, high); };
        if (name == "--bind") {
            options.http.bindAddress = value;
        } else if (name == "--port") {
            const auto port = number(0, 65535);
            if (!port) {
                return invalid("--port takes a number from 0 to 65535");
            }
            options.http.port = static_cast<unsigned short>(*port);
        } else if (name == "--db") {
            options.databaseFile = value;
        } else if (name == "--tls-cert") {
            options.http.tlsCertFile = value;
        } else if (name == "--tls-key") {
            options.http.tlsKeyFile = value;
        } else if (name == "--purge-after-days") {
            const auto days = number(1, 36500);
            if (!days) {
                return invalid("--purge-after-days takes a number of days from 1 to 36500");
            }
            options.purgeAfterDays = static_cast<int>(*days);
        } else if (name == "--threads") {
            const auto threads = number(1, 64);
            if (!threads) {
                return invalid("--threads takes a number from 1 to 64");
            }
            options.http.threads = static_cast<std::size_t>(*threads);
        } else if (name == "--max-connections") {
            const auto connections = number(1, 100000);
            if (!connections) {
                return invalid("--max-connections takes a number from 1 to 100000");
            }
            options.http.maxConnections = static_cast<std::size_t>(*connections);
        } else if (name == "--timeout") {
            const auto seconds = number(1, 3600);
            if (!seconds) {
                return invalid("--timeout takes a number of seconds from 1 to 3600");
            }
            options.http.timeout = std::chrono::seconds(*seconds);
        } else {
            return invalid("unknown option " + name);
        }
    }
    if (options.http.tlsCertFile.empty() != options.http.tlsKeyFile.empty()) {
        return invalid("--tls-cert and --tls-key go together");
    }
    return line;
}

}  // namespace karvel::service::server
