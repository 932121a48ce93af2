#include "crypto/office_header.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "format/byte_reader.h"
#include "format/format_errors.h"

namespace jet::crypto {
namespace {

constexpr std::size_t kInfoOffset = 0x299;          // jet-format.md#office-encryption
constexpr std::uint32_t kFlagCryptoApi = 0x04;      // MS-OFFCRYPTO EncryptionHeader.Flags
constexpr std::uint32_t kFlagExternal = 0x10;
constexpr std::uint32_t kFlagAes = 0x20;
constexpr std::uint32_t kAlgorithmRc4 = 0x6801;
constexpr std::uint32_t kAlgorithmAes128 = 0x660E;
constexpr std::uint32_t kAlgorithmAes192 = 0x660F;
constexpr std::uint32_t kAlgorithmAes256 = 0x6610;
constexpr std::uint32_t kHashSha1 = 0x8004;
constexpr std::size_t kFixedHeaderSize = 32;        // the EncryptionHeader before the CSP name
constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kVerifierSize = 16;
constexpr std::size_t kSha1Size = 20;
constexpr std::uint32_t kStandardAesSpinCount = 50000;
constexpr std::uint32_t kAgileReserved = 0x40;
// The largest spin count the agile scheme allows; more would only make a
// damaged header hang the opener.
constexpr std::uint64_t kMaxSpinCount = 10'000'000;
constexpr char kPasswordEncryptorUri[] = "http://schemas.microsoft.com/office/2006/keyEncryptor/password";

[[noreturn]] void damaged(const std::string& path, const std::string& what) {
    throw format::damagedDatabase(path, "encryption header: " + what);
}

[[noreturn]] void unsupported(const std::string& path, const std::string& what) {
    throw format::unrecognizedFormat(path, "encryption: " + what + " is not read by this engine");
}

std::string providerName(std::span<const std::uint8_t> utf16) {
    std::string name;
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const unsigned unit = utf16[i] | (utf16[i + 1] << 8);
        if (unit == 0) break;
        name += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return name;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

CryptoApiHeader parseCryptoApi(const format::ByteReader& info, const std::string& path) {
    CryptoApiHeader header;
    header.flags = info.u32(4);
    const std::uint32_t headerSize = info.u32(8);
    if (headerSize < kFixedHeaderSize || !info.contains(12, headerSize))
        damaged(path, "header size " + std::to_string(headerSize) + " leaves the header");
    const std::size_t at = 12;
    const std::uint32_t flags = info.u32(at);
    if (flags & kFlagExternal) unsupported(path, "an external encryption provider");
    if (!(flags & kFlagCryptoApi)) unsupported(path, "encryption without CryptoAPI");
    const std::uint32_t algorithm = info.u32(at + 8);
    const std::uint32_t hash = info.u32(at + 12);
    const std::uint32_t keyBits = info.u32(at + 16);
    header.provider = providerName(info.bytes(at + kFixedHeaderSize, headerSize - kFixedHeaderSize));
    if (hash != 0 && hash != kHashSha1) unsupported(path, "hash algorithm " + std::to_string(hash));

    std::size_t defaultBits = 0;
    switch (algorithm) {
    case 0: header.aes = (flags & kFlagAes) != 0; defaultBits = header.aes ? 128 : 0; break;
    case kAlgorithmRc4: header.aes = false; break;
    case kAlgorithmAes128: header.aes = true; defaultBits = 128; break;
    case kAlgorithmAes192: header.aes = true; defaultBits = 192; break;
    case kAlgorithmAes256: header.aes = true; defaultBits = 256; break;
    default: unsupported(path, "cipher algorithm " + std::to_string(algorithm));
    }
    std::size_t bits = keyBits;
    if (bits == 0) {
        // No size given: the provider's default. The Base provider keeps to
        // 40-bit RC4 keys, the others to 128.
        const std::string csp = lowered(header.provider);
        bits = header.aes ? defaultBits : (csp.empty() || csp.find(" base ") != std::string::npos ? 40 : 128);
    }
    // RC4 keys are cut from one SHA-1 value; CryptoAPI allows 40 to 128 bits.
    const bool sizeOk = header.aes ? bits == defaultBits : (bits >= 40 && bits <= 128 && bits % 8 == 0);
    if (!sizeOk) damaged(path, "key size of " + std::to_string(keyBits) + " bits");
    header.keyBytes = bits / 8;
    header.spinCount = header.aes && (flags & kFlagAes) ? kStandardAesSpinCount : 0;

    std::size_t v = at + headerSize;
    const std::uint32_t saltSize = info.u32(v);
    if (saltSize != kSaltSize) damaged(path, "salt size " + std::to_string(saltSize));
    const auto salt = info.bytes(v + 4, kSaltSize);
    const auto verifier = info.bytes(v + 4 + kSaltSize, kVerifierSize);
    header.verifierHashSize = info.u32(v + 4 + kSaltSize + kVerifierSize);
    if (header.verifierHashSize != kSha1Size)
        damaged(path, "verifier hash size " + std::to_string(header.verifierHashSize));
    // The encrypted hash fills whole cipher blocks: 32 bytes with AES.
    const std::size_t encryptedHashSize = header.aes ? 32 : kSha1Size;
    const auto verifierHash = info.bytes(v + 8 + kSaltSize + kVerifierSize, encryptedHashSize);
    header.salt.assign(salt.begin(), salt.end());
    header.encryptedVerifier.assign(verifier.begin(), verifier.end());
    header.encryptedVerifierHash.assign(verifierHash.begin(), verifierHash.end());
    return header;
}

// The descriptor as a small tree: element names without their namespace,
// attributes by name. The descriptor fits in one page, so the tree is small.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::size_t> children;
};

struct XmlTree {
    std::vector<XmlElement> elements;  // elements[0] is the root
    std::vector<std::size_t> open;     // the elements not yet closed
    bool declaresType = false;
    XML_Parser parser = nullptr;

    const XmlElement* child(const XmlElement& parent, const char* name) const {
        for (const std::size_t i : parent.children)
            if (elements[i].name == name) return &elements[i];
        return nullptr;
    }
};

// Namespaced names come as "uri|local"; the descriptor's names are told
// apart by their local part.
std::string localName(const XML_Char* name) {
    const std::string whole(name);
    const std::size_t bar = whole.rfind('|');
    return bar == std::string::npos ? whole : whole.substr(bar + 1);
}

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& tree = *static_cast<XmlTree*>(data);
    XmlElement element;
    element.name = localName(name);
    for (const XML_Char** a = attributes; a[0] && a[1]; a += 2) element.attributes.emplace(localName(a[0]), a[1]);
    const std::size_t index = tree.elements.size();
    if (!tree.open.empty()) tree.elements[tree.open.back()].children.push_back(index);
    tree.elements.push_back(std::move(element));
    tree.open.push_back(index);
}

void XMLCALL endElement(void* data, const XML_Char*) { static_cast<XmlTree*>(data)->open.pop_back(); }

// Office writes no document type; one could only bring entities whose
// expansion a damaged or hostile header would size.
void XMLCALL startDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& tree = *static_cast<XmlTree*>(data);
    tree.declaresType = true;
    XML_StopParser(tree.parser, XML_FALSE);
}

struct ParserFree {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

class Attributes {
public:
    Attributes(const XmlElement* node, std::string element, const std::string& path)
        : node_(node), element_(std::move(element)), path_(path) {}

    std::string text(const char* name) const {
        const auto value = node_->attributes.find(name);
        if (value == node_->attributes.end()) damaged(path_, element_ + " has no " + name);
        return value->second;
    }

    std::uint64_t number(const char* name) const {
        const std::string value = text(name);
        std::uint64_t result = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
        if (error != std::errc() || end != value.data() + value.size() || value.empty())
            damaged(path_, element_ + " " + name + " '" + value + "' is not a number");
        return result;
    }

    Bytes base64(const char* name) const {
        auto bytes = base64Decode(text(name));
        if (!bytes) damaged(path_, element_ + " " + name + " is not base64");
        return *bytes;
    }

    AgileCipher cipher() const {
        AgileCipher cipher;
        if (text("cipherAlgorithm") != "AES") unsupported(path_, "cipher " + text("cipherAlgorithm"));
        if (text("cipherChaining") != "ChainingModeCBC") unsupported(path_, "chaining " + text("cipherChaining"));
        const auto hash = hashNamed(text("hashAlgorithm"));
        if (!hash) unsupported(path_, "hash " + text("hashAlgorithm"));
        cipher.hash = *hash;
        const std::uint64_t keyBits = number("keyBits");
        if (keyBits != 128 && keyBits != 192 && keyBits != 256)
            damaged(path_, element_ + " keyBits " + std::to_string(keyBits));
        cipher.keyBytes = keyBits / 8;
        cipher.blockSize = number("blockSize");
        if (cipher.blockSize != 16) damaged(path_, element_ + " blockSize " + std::to_string(cipher.blockSize));
        cipher.hashSize = number("hashSize");
        if (cipher.hashSize != hashSize(cipher.hash))
            damaged(path_, element_ + " hashSize " + std::to_string(cipher.hashSize));
        cipher.salt = base64("saltValue");
        const std::uint64_t saltSize = number("saltSize");
        if (saltSize < 1 || saltSize > 65536 || saltSize != cipher.salt.size())
            damaged(path_, element_ + " saltSize " + std::to_string(saltSize));
        // The salt is the CBC start vector of the password key's blocks.
        if (cipher.salt.size() < cipher.blockSize) damaged(path_, element_ + " salt shorter than a block");
        return cipher;
    }

private:
    const XmlElement* node_;
    std::string element_;
    const std::string& path_;
};

// Encrypted values fill whole AES blocks and hold at least `least` bytes.
void checkBlocks(const Bytes& value, std::size_t least, const char* name, const std::string& path) {
    if (value.size() % 16 != 0 || value.size() < least || value.empty())
        damaged(path, std::string(name) + " of " + std::to_string(value.size()) + " bytes");
}

}  // namespace

AgileHeader parseAgileXml(std::string_view xml, const std::string& path) {
    while (!xml.empty() && xml.back() == '\0') xml.remove_suffix(1);
    XmlTree tree;
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreateNS(nullptr, '|'));
    if (!parser) throw std::bad_alloc();
    tree.parser = parser.get();
    XML_SetUserData(parser.get(), &tree);
    XML_SetElementHandler(parser.get(), startElement, endElement);
    XML_SetStartDoctypeDeclHandler(parser.get(), startDoctype);
    // No external entities are ever read: expat reads none without a handler.
    const bool parsed = XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
    if (tree.declaresType) damaged(path, "the XML descriptor declares a document type");
    if (!parsed || tree.elements.empty()) damaged(path, "the XML descriptor is not well-formed");
    const XmlElement& root = tree.elements.front();
    if (root.name != "encryption") damaged(path, "the XML descriptor has no encryption element");

    const XmlElement* keyData = tree.child(root, "keyData");
    if (!keyData) damaged(path, "the XML descriptor has no keyData");
    const XmlElement* passwordKey = nullptr;
    if (const XmlElement* encryptors = tree.child(root, "keyEncryptors")) {
        for (const std::size_t i : encryptors->children) {
            const XmlElement& node = tree.elements[i];
            if (node.name != "keyEncryptor") continue;
            const auto uri = node.attributes.find("uri");
            if (uri != node.attributes.end() && uri->second == kPasswordEncryptorUri)
                passwordKey = tree.child(node, "encryptedKey");
        }
    }
    if (!passwordKey) unsupported(path, "encryption without a password key");

    AgileHeader header;
    header.keyData = Attributes(keyData, "keyData", path).cipher();
    const Attributes key(passwordKey, "encryptedKey", path);
    header.passwordKey = key.cipher();
    const std::uint64_t spinCount = key.number("spinCount");
    if (spinCount > kMaxSpinCount) damaged(path, "spin count " + std::to_string(spinCount));
    header.spinCount = static_cast<std::uint32_t>(spinCount);
    header.encryptedVerifierHashInput = key.base64("encryptedVerifierHashInput");
    header.encryptedVerifierHashValue = key.base64("encryptedVerifierHashValue");
    header.encryptedKeyValue = key.base64("encryptedKeyValue");
    checkBlocks(header.encryptedVerifierHashInput, header.passwordKey.salt.size(), "encryptedVerifierHashInput", path);
    checkBlocks(header.encryptedVerifierHashValue, header.passwordKey.hashSize, "encryptedVerifierHashValue", path);
    checkBlocks(header.encryptedKeyValue, header.keyData.keyBytes, "encryptedKeyValue", path);
    return header;
}

OfficeHeader parseOfficeHeader(std::span<const std::uint8_t> page0, const std::string& path) {
    const format::ByteReader page(page0, 0, "encryption header", path);
    const std::uint16_t infoSize = page.u16(kInfoOffset);
    if (!page.contains(kInfoOffset + 2, infoSize))
        damaged(path, "its size " + std::to_string(infoSize) + " leaves page 0");
    const format::ByteReader info(page.bytes(kInfoOffset + 2, infoSize), 0, "encryption header", path);
    const std::uint16_t major = info.u16(0);
    const std::uint16_t minor = info.u16(2);
    const std::string version = std::to_string(major) + "." + std::to_string(minor);
    if (major == 4 && minor == 4) {
        if (info.u32(4) != kAgileReserved) damaged(path, "agile header reserved field " + std::to_string(info.u32(4)));
        const auto xml = info.bytes(8, info.size() - std::min<std::size_t>(8, info.size()));
        return parseAgileXml(std::string_view(reinterpret_cast<const char*>(xml.data()), xml.size()), path);
    }
    if (minor == 2 && major >= 2 && major <= 4) return parseCryptoApi(info, path);
    if (minor == 3 && (major == 3 || major == 4)) unsupported(path, "extensible encryption (version " + version + ")");
    unsupported(path, "encryption version " + version);
}

}  // namespace jet::crypto
