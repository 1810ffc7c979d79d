#pragma once

#include <string>

#include "HttpServer.h"

namespace karvel::service::server {

// One access-log line: UTC time, peer, method, target with secrets masked, status, body bytes
// and handling time, e.g. `2026-01-02T03:04:05Z 127.0.0.1:5000 "GET /api/status" 200 15 42us`.
std::string formatAccessLine(const AccessRecord& record);

// Writes the line to standard error in one piece, so that threads never interleave lines.
void writeAccessLine(const AccessRecord& record);

}  // namespace karvel::service::server
