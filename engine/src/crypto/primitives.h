// The ciphers and hashes of Jet's page encoding and Office encryption, taken
// from OpenSSL's libcrypto: nothing here implements a cipher itself.
// Failures of the library (an algorithm it does not offer) throw jet::Error
// 3343, naming the algorithm.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace jet::crypto {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

enum class HashKind { Sha1, Sha256, Sha384, Sha512 };

// The hash an encryption header names ("SHA1", "SHA512", ...); nullopt for
// a name this engine does not know.
std::optional<HashKind> hashNamed(std::string_view name);
std::size_t hashSize(HashKind kind);

// The hash of the parts, one after the other.
Bytes digest(HashKind kind, std::initializer_list<ByteView> parts);

// RC4 with `key` (1 to 256 bytes) over `data`, in place; the same call
// encodes and decodes.
void rc4(ByteView key, std::span<std::uint8_t> data);

enum class AesMode { Ecb, Cbc };

// Decrypts `data` in place with AES (key of 16, 24 or 32 bytes), without
// padding; `iv` (16 bytes) for CBC. `data` must be whole 16-byte blocks.
void aesDecrypt(AesMode mode, ByteView key, ByteView iv, std::span<std::uint8_t> data);

// Standard base64 text to bytes; nullopt when the text is not base64.
std::optional<Bytes> base64Decode(std::string_view text);

// `bytes` cut or padded with `pad` to `size`.
Bytes fitted(Bytes bytes, std::size_t size, std::uint8_t pad = 0);

// The four little-endian bytes of `value`.
Bytes le32(std::uint32_t value);

}  // namespace jet::crypto
