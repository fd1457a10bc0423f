// A certificate authority and a server certificate it signed for 127.0.0.1,
// made with the openssl program in a folder of the caller's, so that TLS
// servers of the tests can be trusted through the CA or by their key alone.
#pragma once

#include <string>

namespace velloran::test {

class TestCertificate {
public:
    // Makes the CA and the certificate (P-256 keys, a day's validity) in
    // `dir`; throws std::runtime_error when openssl fails. Each object has
    // keys of its own.
    TestCertificate(const std::string& dir, const std::string& name);

    const std::string& CaFile() const { return m_caFile; }
    const std::string& CertFile() const { return m_certFile; }
    const std::string& KeyFile() const { return m_keyFile; }
    // "SHA256:" and the unpadded base64 of the SHA-256 of the server's
    // public key, as openssl computes it.
    const std::string& Fingerprint() const { return m_fingerprint; }

private:
    std::string m_caFile;
    std::string m_certFile;
    std::string m_keyFile;
    std::string m_fingerprint;
};

}  // namespace velloran::test
