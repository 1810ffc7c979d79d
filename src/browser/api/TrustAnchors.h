#pragma once

#include <mbedtls/x509_crt.h>

#include <string>

namespace karvel::browser::api {

// The certificate authorities a server's certificate must chain to, read from a PEM file.
class TrustAnchors {
public:
    // Throws TransportError when the file cannot be read or holds no certificate: a
    // connection must never go ahead with nothing to verify against.
    explicit TrustAnchors(const std::string& path);
    ~TrustAnchors();
    TrustAnchors(const TrustAnchors&) = delete;
    TrustAnchors& operator=(const TrustAnchors&) = delete;

    // mbed TLS takes the chain by non-const pointer but does not change it.
    mbedtls_x509_crt* chain() const { return &chain_; }

private:
    mutable mbedtls_x509_crt chain_;
};

}  // namespace karvel::browser::api
