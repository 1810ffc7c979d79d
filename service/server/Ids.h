#pragma once

#include <string>
#include <string_view>

namespace karvel::service::server {

// Game ids: version-4 UUIDs in lower case. Player ids: 128-bit secrets as 32 lower-case hex
// digits. Both are drawn from the kernel's secure random source.
std::string newGameId();
std::string newPlayerId();

// Form checks, so that nothing of another shape ever reaches the database.
bool isGameId(std::string_view text);
bool isPlayerId(std::string_view text);

// Compares two secrets in time that does not depend on where they differ.
bool sameSecret(std::string_view a, std::string_view b);

// Fills the buffer from getrandom(2); throws std::system_error if the kernel refuses.
void secureRandomBytes(unsigned char* out, std::size_t size);

}  // namespace karvel::service::server
