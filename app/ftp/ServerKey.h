// ServerKey: a server's public key as people compare it - "SHA256:" and the
// unpadded base64 of the SHA-256 of the key (the form ssh shows host keys
// in) - and as libcurl pins it. A key, not a certificate, so a certificate
// renewed over the same key stays trusted.
#pragma once

#include <cstddef>
#include <string>

namespace velloran {

class ServerKey {
public:
    // The fingerprint of the key in a PEM certificate; empty when the text
    // holds no readable certificate.
    static std::string FingerprintOfCertificate(const std::string& pem);
    // The fingerprint of a key whose SHA-256 digest is given (an SSH host
    // key's, as libssh2 gives it).
    static std::string FingerprintOfDigest(const unsigned char* digest, size_t length);
    // "sha256//" and the padded base64, as CURLOPT_PINNEDPUBLICKEY takes it;
    // empty when the text is no SHA-256 fingerprint.
    static std::string CurlPin(const std::string& fingerprint);
};

}  // namespace velloran
