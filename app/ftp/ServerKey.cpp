// ServerKey: fingerprints of servers' public keys.
#include "app/ftp/ServerKey.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace velloran {

namespace {

constexpr const char* kPrefix = "SHA256:";
constexpr size_t kPrefixLength = 7;
// 32 bytes in base64 without its one "=" of padding.
constexpr size_t kDigestLength = 43;

bool IsBase64(char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    return std::isalnum(c) || c == '+' || c == '/';
}

}  // namespace

std::string ServerKey::FingerprintOfCertificate(const std::string& pem)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())),
                                                  BIO_free);
    std::unique_ptr<X509, decltype(&X509_free)> certificate(
        bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr, X509_free);
    if (!certificate)
        return std::string();
    unsigned char* der = nullptr;
    const int length = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(certificate.get()), &der);
    if (length <= 0)
        return std::string();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    const bool hashed = EVP_Digest(der, static_cast<size_t>(length), digest, &digestLength, EVP_sha256(), nullptr) == 1;
    OPENSSL_free(der);
    return hashed ? FingerprintOfDigest(digest, digestLength) : std::string();
}

std::string ServerKey::FingerprintOfDigest(const unsigned char* digest, size_t length)
{
    if (length > EVP_MAX_MD_SIZE)
        return std::string();
    unsigned char text[4 * EVP_MAX_MD_SIZE / 3 + 4];
    const int textLength = EVP_EncodeBlock(text, digest, static_cast<int>(length));
    std::string encoded(reinterpret_cast<const char*>(text), static_cast<size_t>(textLength));
    encoded.erase(encoded.find_last_not_of('=') + 1);
    return kPrefix + encoded;
}

std::string ServerKey::CurlPin(const std::string& fingerprint)
{
    if (fingerprint.size() != kPrefixLength + kDigestLength || fingerprint.compare(0, kPrefixLength, kPrefix) != 0 ||
        !std::all_of(fingerprint.begin() + kPrefixLength, fingerprint.end(), IsBase64))
        return std::string();
    return "sha256//" + fingerprint.substr(kPrefixLength) + "=";
}

}  // namespace velloran
