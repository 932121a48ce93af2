#include "crypto/page_codec.h"

#include <algorithm>

#include "crypto/office_header.h"
#include "crypto/primitives.h"
#include "format/format_errors.h"
#include "storage/text_codec.h"
#include "write/text_encoder.h"

namespace jet::crypto {
namespace {

// Office encryption hashes at most this many characters of a password.
constexpr std::size_t kMaxOfficePasswordUnits = 255;
// The block keys that tell the agile scheme's three password-derived keys
// apart (MS-OFFCRYPTO 2.3.4.13).
constexpr std::uint8_t kVerifierInputBlock[] = {0xFE, 0xA7, 0xD2, 0x76, 0x3B, 0x4B, 0x9E, 0x79};
constexpr std::uint8_t kVerifierValueBlock[] = {0xD7, 0xAA, 0x0F, 0x6D, 0x30, 0x61, 0x34, 0x4E};
constexpr std::uint8_t kKeyValueBlock[] = {0x14, 0x6E, 0x0B, 0xE7, 0xAB, 0xAC, 0xD0, 0xD6};

// Each page has its own key: the database's encoding key XOR the page
// number, as four little-endian bytes.
Bytes blockKey(std::uint32_t encodingKey, std::uint32_t page) { return le32(encodingKey ^ page); }

class JetRc4Codec : public PageCodec {
public:
    explicit JetRc4Codec(std::uint32_t key) : key_(key) {}
    void decode(std::uint32_t number, std::span<std::uint8_t> page) const override {
        rc4(blockKey(key_, number), page);
    }
    std::string description() const override { return "its pages are stored in Jet's RC4 page encoding"; }

private:
    std::uint32_t key_;
};

// The salted password hashed `rounds` more times, each round prefixed with
// its number (MS-OFFCRYPTO 2.3.4.7, 2.3.4.11).
Bytes iteratedHash(HashKind kind, ByteView salt, ByteView password, std::uint32_t rounds) {
    Bytes hash = digest(kind, {salt, password});
    for (std::uint32_t i = 0; i < rounds; ++i) hash = digest(kind, {le32(i), hash});
    return hash;
}

// CryptoAPI's key from a hash: the hash XORed into two 64-byte pads, each
// hashed (CryptDeriveKey, MS-OFFCRYPTO 2.3.4.7).
Bytes cryptDeriveKey(const Bytes& hash, std::size_t keyBytes) {
    Bytes inner(64, 0x36), outer(64, 0x5C);
    for (std::size_t i = 0; i < hash.size() && i < 64; ++i) {
        inner[i] ^= hash[i];
        outer[i] ^= hash[i];
    }
    Bytes key = digest(HashKind::Sha1, {inner});
    const Bytes second = digest(HashKind::Sha1, {outer});
    key.insert(key.end(), second.begin(), second.end());
    return fitted(std::move(key), keyBytes);
}

class CryptoApiCodec : public PageCodec {
public:
    CryptoApiCodec(const CryptoApiHeader& header, std::uint32_t encodingKey, ByteView password)
        : header_(header), encodingKey_(encodingKey),
          baseHash_(iteratedHash(HashKind::Sha1, header.salt, password, header.spinCount)) {}

    bool verifies() const {
        // The verifier and its hash are one stream under the key of block 0.
        Bytes both = header_.encryptedVerifier;
        both.insert(both.end(), header_.encryptedVerifierHash.begin(), header_.encryptedVerifierHash.end());
        apply(le32(0), both);
        const ByteView verifier(both.data(), header_.encryptedVerifier.size());
        const Bytes expected = digest(HashKind::Sha1, {verifier});
        return std::equal(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(header_.verifierHashSize),
                          both.begin() + static_cast<std::ptrdiff_t>(verifier.size()));
    }

    void decode(std::uint32_t number, std::span<std::uint8_t> page) const override {
        apply(blockKey(encodingKey_, number), page);
    }

    std::string description() const override {
        return std::string("it is encrypted (Office CryptoAPI, ") + (header_.aes ? "AES" : "RC4") + ")";
    }

private:
    void apply(ByteView block, std::span<std::uint8_t> data) const {
        const Bytes hash = digest(HashKind::Sha1, {baseHash_, block});
        if (header_.aes) {
            aesDecrypt(AesMode::Ecb, cryptDeriveKey(hash, header_.keyBytes), {}, data);
        } else {
            // A 40-bit key is used as 128 bits, the rest zeros (MS-OFFCRYPTO 2.3.5.2).
            Bytes key = fitted(hash, header_.keyBytes);
            if (header_.keyBytes == 5) key = fitted(std::move(key), 16);
            rc4(key, data);
        }
    }

    CryptoApiHeader header_;
    std::uint32_t encodingKey_;
    Bytes baseHash_;
};

class AgileCodec : public PageCodec {
public:
    AgileCodec(const AgileHeader& header, std::uint32_t encodingKey, ByteView password)
        : header_(header), encodingKey_(encodingKey) {
        const AgileCipher& key = header.passwordKey;
        const Bytes rounds = iteratedHash(key.hash, key.salt, password, header.spinCount);
        const auto unwrap = [&](ByteView block, const Bytes& encrypted) {
            Bytes value = encrypted;
            const Bytes wrapKey = fitted(digest(key.hash, {rounds, block}), key.keyBytes, 0x36);
            aesDecrypt(AesMode::Cbc, wrapKey, ByteView(key.salt.data(), key.blockSize), value);
            return value;
        };
        const Bytes input = unwrap(kVerifierInputBlock, header.encryptedVerifierHashInput);
        const Bytes value = unwrap(kVerifierValueBlock, header.encryptedVerifierHashValue);
        const Bytes expected = digest(key.hash, {ByteView(input.data(), key.salt.size())});
        verifies_ = std::equal(expected.begin(), expected.end(), value.begin());
        if (verifies_) dataKey_ = fitted(unwrap(kKeyValueBlock, header.encryptedKeyValue), header.keyData.keyBytes);
    }

    bool verifies() const { return verifies_; }

    void decode(std::uint32_t number, std::span<std::uint8_t> page) const override {
        const AgileCipher& data = header_.keyData;
        const Bytes iv = fitted(digest(data.hash, {data.salt, blockKey(encodingKey_, number)}), data.blockSize, 0x36);
        aesDecrypt(AesMode::Cbc, dataKey_, iv, page);
    }

    std::string description() const override {
        return "it is encrypted (Office agile encryption, AES-" + std::to_string(header_.keyData.keyBytes * 8) + ")";
    }

private:
    AgileHeader header_;
    std::uint32_t encodingKey_;
    Bytes dataKey_;
    bool verifies_ = false;
};

Bytes utf16Password(const std::string& password) {
    const std::string units = storage::encodeUcs2(password);
    Bytes bytes(units.begin(), units.end());
    if (bytes.size() > 2 * kMaxOfficePasswordUnits) bytes.resize(2 * kMaxOfficePasswordUnits);
    return bytes;
}

// Jet keeps the password in the database's own text form (code page bytes
// in Jet 3, UCS-2 in Jet 4), zero-padded; it matches byte for byte, so the
// case of every letter counts, and a password longer than the field never
// matches.
bool jetPasswordMatches(const format::DatabaseHeader& header, const std::string& password) {
    if (password.empty()) return false;
    const std::vector<std::uint8_t> given = write::encodeText(password, *header.format, header.codePage ? header.codePage : 1252);
    const auto& stored = header.password;
    if (given.size() > stored.size()) return false;
    return std::equal(given.begin(), given.end(), stored.begin()) &&
           std::all_of(stored.begin() + static_cast<std::ptrdiff_t>(given.size()), stored.end(),
                       [](std::uint8_t b) { return b == 0; });
}

template <typename Codec>
std::unique_ptr<PageCodec> verified(std::unique_ptr<Codec> codec, const std::string& path) {
    if (!codec->verifies()) throw format::notValidPassword(path);
    return codec;
}

}  // namespace

std::unique_ptr<PageCodec> unlockPages(const format::DatabaseHeader& header, std::span<const std::uint8_t> page0,
                                       const std::string& password, const std::string& path) {
    const bool officeEncrypted = header.format->isAce() && header.encodingKey != 0;
    // Encrypted ACE files keep no Jet password: the field holds other bytes
    // (the encoding key's low byte, repeated, in the files Access wrote).
    if (!officeEncrypted && header.hasPassword && !jetPasswordMatches(header, password))
        throw format::notValidPassword(path);
    if (header.encodingKey == 0) return nullptr;
    if (!officeEncrypted) return std::make_unique<JetRc4Codec>(header.encodingKey);

    // Read the header first, so that a damaged one is reported as damage
    // whatever the password.
    const OfficeHeader office = parseOfficeHeader(page0, path);
    if (password.empty()) throw format::notValidPassword(path);
    const Bytes secret = utf16Password(password);
    if (const auto* api = std::get_if<CryptoApiHeader>(&office))
        return verified(std::make_unique<CryptoApiCodec>(*api, header.encodingKey, secret), path);
    return verified(std::make_unique<AgileCodec>(std::get<AgileHeader>(office), header.encodingKey, secret), path);
}

}  // namespace jet::crypto
