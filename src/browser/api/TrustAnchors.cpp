#include "browser/api/TrustAnchors.h"

#include <filesystem>
#include <system_error>

#include "browser/api/TransportError.h"

namespace karvel::browser::api {

TrustAnchors::TrustAnchors(const std::string& path) {
    mbedtls_x509_crt_init(&chain_);
    // Only a regular file: mbed TLS sizes its buffer by seeking to the end, which on a folder
    // or a device asks for an absurd allocation or never ends.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw TransportError("No trusted certificates could be read from " + path);
    }
    // A positive result counts certificates that did not parse among ones that did; the
    // others are still good anchors, as with any system bundle holding an odd entry.
    const int result = mbedtls_x509_crt_parse_file(&chain_, path.c_str());
    if (result < 0 || chain_.raw.p == nullptr) {
        mbedtls_x509_crt_free(&chain_);
        throw TransportError("No trusted certificates could be read from " + path);
    }
}

TrustAnchors::~TrustAnchors() {
    mbedtls_x509_crt_free(&chain_);
}

}  // namespace karvel::browser::api
