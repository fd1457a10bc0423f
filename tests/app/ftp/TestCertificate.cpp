// TestCertificate: a test CA and a server certificate, made by openssl.
#include "tests/app/ftp/TestCertificate.h"

#include "tests/support/PeerProcess.h"
#include "tests/support/TempDir.h"

#include <stdexcept>

namespace velloran::test {

namespace {

constexpr const char* kOpenssl = "/usr/bin/openssl";

void Openssl(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), kOpenssl);
    if (!RunsCleanly(arguments))
        throw std::runtime_error("openssl " + arguments[1] + " failed");
}

}  // namespace

TestCertificate::TestCertificate(const std::string& dir, const std::string& name)
    : m_caFile(dir + "/" + name + "-ca.pem"),
      m_certFile(dir + "/" + name + ".pem"),
      m_keyFile(dir + "/" + name + ".key")
{
    const std::string base = dir + "/" + name;
    const std::vector<std::string> newKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    std::vector<std::string> ca = {"req", "-x509", "-days", "1", "-subj", "/CN=Velloran test CA " + name,
                                   "-keyout", base + "-ca.key", "-out", m_caFile};
    ca.insert(ca.begin() + 1, newKey.begin(), newKey.end());
    Openssl(ca);
    std::vector<std::string> request = {"req", "-subj", "/CN=127.0.0.1", "-keyout", m_keyFile, "-out", base + ".csr"};
    request.insert(request.begin() + 1, newKey.begin(), newKey.end());
    Openssl(request);
    WriteFile(base + ".ext", "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
    Openssl({"x509", "-req", "-days", "1", "-in", base + ".csr", "-CA", m_caFile, "-CAkey", base + "-ca.key",
             "-CAcreateserial", "-extfile", base + ".ext", "-out", m_certFile});

    Openssl({"x509", "-in", m_certFile, "-pubkey", "-noout", "-out", base + ".pub"});
    Openssl({"pkey", "-pubin", "-in", base + ".pub", "-outform", "DER", "-out", base + ".pub.der"});
    Openssl({"dgst", "-sha256", "-binary", "-out", base + ".sha256", base + ".pub.der"});
    Openssl({"base64", "-A", "-in", base + ".sha256", "-out", base + ".b64"});
    std::string digest = ReadFile(base + ".b64");
    while (!digest.empty() && (digest.back() == '=' || digest.back() == '\n'))
        digest.pop_back();
    m_fingerprint = "SHA256:" + digest;
}

}  // namespace velloran::test
