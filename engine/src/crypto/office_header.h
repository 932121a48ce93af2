// The encryption header an encrypted ACE database keeps on page 0: Office's
// encryption information, either the binary CryptoAPI form (RC4 or AES with
// a SHA-1 key) or the agile XML form (AES, the key wrapped by a password key
// of the hash the XML names). docs/jet-format.md#office-encryption.
//
// Parsing checks every length and value against what the schemes allow and
// throws jet::Error: 3049 for a header that is damaged (truncated, lengths
// that leave it, bad XML, key or salt sizes no scheme has), 3343 for a
// scheme this engine does not read (extensible or certificate-only
// encryption, chaining other than CBC, an unknown algorithm).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "crypto/primitives.h"

namespace jet::crypto {

// The CryptoAPI header and verifier (binary, version x.2).
struct CryptoApiHeader {
    std::uint32_t flags = 0;
    bool aes = false;                // AES; otherwise RC4
    // SHA-1 rounds over the salted password before the key is derived:
    // 50000 for standard AES encryption, none for RC4 and for the AES that
    // Access writes without the header's AES flag (its non-compatible mode).
    std::uint32_t spinCount = 0;
    std::size_t keyBytes = 0;        // 5..16 for RC4, 16/24/32 for AES
    std::string provider;            // the CSP name
    Bytes salt;                      // 16 bytes
    Bytes encryptedVerifier;         // 16 bytes
    std::size_t verifierHashSize = 0;  // SHA-1: 20
    Bytes encryptedVerifierHash;     // 20 bytes (RC4) or 32 (AES)
};

// One cipher's parameters of the agile XML: the data key's (keyData) or
// the password key encryptor's.
struct AgileCipher {
    std::size_t keyBytes = 0;    // AES: 16, 24 or 32
    std::size_t blockSize = 0;   // 16
    HashKind hash = HashKind::Sha1;
    std::size_t hashSize = 0;
    Bytes salt;
};

struct AgileHeader {
    AgileCipher keyData;
    AgileCipher passwordKey;
    std::uint32_t spinCount = 0;
    Bytes encryptedVerifierHashInput;
    Bytes encryptedVerifierHashValue;
    Bytes encryptedKeyValue;
};

using OfficeHeader = std::variant<CryptoApiHeader, AgileHeader>;

// The header stored on `page0` (the whole page as read); `path` names the
// file in errors.
OfficeHeader parseOfficeHeader(std::span<const std::uint8_t> page0, const std::string& path);

// The agile XML descriptor alone (exposed for the damage tests).
AgileHeader parseAgileXml(std::string_view xml, const std::string& path);

}  // namespace jet::crypto
