#include "backup/Sha256.h"

#include <openssl/evp.h>
#include <stdexcept>

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(md); }
    void start() {
        if (!md || EVP_DigestInit_ex(md, EVP_sha256(), nullptr) != 1)
            throw std::runtime_error("SHA-256 is not available");
    }
};

Sha256::Sha256() : m_context(std::make_unique<Context>()) {
    m_context->start();
}

Sha256::~Sha256() = default;

void Sha256::add(const void* data, size_t size) {
    EVP_DigestUpdate(m_context->md, data, size);
}

std::string Sha256::hex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context->md, digest, &length);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    m_context->start();
    return text;
}

std::string Sha256::of(std::string_view bytes) {
    Sha256 sum;
    sum.add(bytes);
    return sum.hex();
}
