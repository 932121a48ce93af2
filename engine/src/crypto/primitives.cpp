#include "crypto/primitives.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include <openssl/evp.h>

#include "jet/error.h"

namespace jet::crypto {
namespace {

[[noreturn]] void unavailable(const std::string& what) {
    throw Error(kErrUnrecognizedFormat, "Unrecognized database format.", what + " is not available from libcrypto");
}

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
struct DigestContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;

const EVP_MD* digestOf(HashKind kind) {
    switch (kind) {
    case HashKind::Sha1: return EVP_sha1();
    case HashKind::Sha256: return EVP_sha256();
    case HashKind::Sha384: return EVP_sha384();
    case HashKind::Sha512: return EVP_sha512();
    }
    unavailable("the hash");
}

const EVP_CIPHER* aesCipher(AesMode mode, std::size_t keySize) {
    const bool ecb = mode == AesMode::Ecb;
    switch (keySize) {
    case 16: return ecb ? EVP_aes_128_ecb() : EVP_aes_128_cbc();
    case 24: return ecb ? EVP_aes_192_ecb() : EVP_aes_192_cbc();
    case 32: return ecb ? EVP_aes_256_ecb() : EVP_aes_256_cbc();
    }
    unavailable("AES with a key of " + std::to_string(keySize) + " bytes");
}

int asInt(std::size_t size) { return static_cast<int>(size); }

}  // namespace

std::optional<HashKind> hashNamed(std::string_view name) {
    if (name == "SHA1" || name == "SHA-1") return HashKind::Sha1;
    if (name == "SHA256" || name == "SHA-256") return HashKind::Sha256;
    if (name == "SHA384" || name == "SHA-384") return HashKind::Sha384;
    if (name == "SHA512" || name == "SHA-512") return HashKind::Sha512;
    return std::nullopt;
}

std::size_t hashSize(HashKind kind) { return static_cast<std::size_t>(EVP_MD_get_size(digestOf(kind))); }

Bytes digest(HashKind kind, std::initializer_list<ByteView> parts) {
    DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), digestOf(kind), nullptr) != 1) unavailable("the hash");
    for (ByteView part : parts)
        if (EVP_DigestUpdate(context.get(), part.data(), part.size()) != 1) unavailable("the hash");
    Bytes out(static_cast<std::size_t>(EVP_MAX_MD_SIZE));
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), out.data(), &length) != 1) unavailable("the hash");
    out.resize(length);
    return out;
}

// RC4 is written out here rather than taken from libcrypto: every open
// unmasks the database header with it, and OpenSSL 3 keeps RC4 in its
// legacy provider, whose loading (a configuration file and a module) would
// cost each open of a plain file milliseconds and megabytes.
void rc4(ByteView key, std::span<std::uint8_t> data) {
    if (key.empty() || key.size() > 256) unavailable("RC4 with a key of " + std::to_string(key.size()) + " bytes");
    std::uint8_t state[256];
    for (int i = 0; i < 256; ++i) state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0, y = 0;
    for (std::uint8_t& byte : data) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        byte ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

void aesDecrypt(AesMode mode, ByteView key, ByteView iv, std::span<std::uint8_t> data) {
    const EVP_CIPHER* cipher = aesCipher(mode, key.size());
    if (data.size() % 16 != 0 || (mode == AesMode::Cbc && iv.size() != 16))
        unavailable("AES over " + std::to_string(data.size()) + " bytes");
    if (data.empty()) return;
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context ||
        EVP_DecryptInit_ex2(context.get(), cipher, key.data(), mode == AesMode::Cbc ? iv.data() : nullptr,
                            nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1)
        unavailable("AES");
    int written = 0;
    if (EVP_DecryptUpdate(context.get(), data.data(), &written, data.data(), asInt(data.size())) != 1)
        unavailable("AES");
}

std::optional<Bytes> base64Decode(std::string_view text) {
    std::string clean;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') clean += c;
    if (clean.size() % 4 != 0) return std::nullopt;
    if (clean.empty()) return Bytes{};
    Bytes out(clean.size() / 4 * 3);
    const int length = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(clean.data()),
                                       asInt(clean.size()));
    if (length < 0) return std::nullopt;
    // EVP_DecodeBlock counts the padding as zero bytes.
    std::size_t padding = 0;
    for (auto c = clean.rbegin(); c != clean.rend() && *c == '=' && padding < 2; ++c) ++padding;
    out.resize(static_cast<std::size_t>(length) - padding);
    return out;
}

Bytes fitted(Bytes bytes, std::size_t size, std::uint8_t pad) {
    bytes.resize(size, pad);
    return bytes;
}

Bytes le32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace jet::crypto
