// Damaged structures built on purpose: each must end in a damaged-database
// error (3049), never in a crash, a hang or a huge allocation.
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "jet/error.h"
#include "storage/data_page.h"
#include "storage/long_value.h"
#include "storage/usage_map.h"
#include "storage_fixture.h"
#include "support/error_number.h"

namespace {

using fixture::Bytes;
using fixture::Slot;
using namespace jet::storage;

class DamageTest : public storagetest::FormatTest {
protected:
    std::vector<fixture::Column> cols() const {
        return fixture::layoutColumns(fmt(), {{.name = "Id", .type = coltype::kLong},
                                              {.name = "Name", .type = coltype::kText, .length = 50},
                                              {.name = "Memo", .type = coltype::kMemo}});
    }
    // A table at page 2 with its first data page at page 3.
    fixture::Database database(const fixture::RowValues& values) const {
        fixture::Database db(fmt());
        assemble(db, fixture::tableOf(cols()), {{Slot{fixture::encodeRow(fmt(), cols(), values)}}});
        return db;
    }
    fixture::Database plain() const { return database({fixture::le32(1), text("one"), std::nullopt}); }

    // Reads everything the table holds; returns the error number (0 when
    // the read succeeded).
    static long readAllError(fixture::Database& db) {
        return testsupport::errorNumber<jet::Error>([&] { readAll(*jet::io::PageFile::fromBytes(db.bytes(), "damaged.mdb")); });
    }
    std::size_t rowStart(fixture::Database& db, std::uint32_t page, std::size_t slot) const {
        return db.page(page).at(fmt().dataRowTableOffset + 2 * slot) | ((db.page(page).at(fmt().dataRowTableOffset + 2 * slot + 1) & 0x1F) << 8);
    }
};

// One change each to a table's definition, usage map or data page.
TEST_P(DamageTest, DefinitionsUsageMapsAndRowSlots) {
    using Patch = std::function<void(fixture::Database&)>;
    const std::uint32_t tdef = storagetest::kTablePage;
    const std::vector<std::pair<const char*, Patch>> patches = {
        {"definition chain that loops", [&](auto& db) { fixture::put32(db.page(tdef), 4, tdef); }},
        {"definition chain that leaves the file", [&](auto& db) { fixture::put32(db.page(tdef), 4, 0x00FFFFFF); }},
        {"column count", [&](auto& db) { fixture::put32(db.page(tdef), fmt().tdefColumnCountOffset, 0xFFFF); }},
        {"real index count", [&](auto& db) { fixture::put32(db.page(tdef), fmt().tdefRealIndexCountOffset, 0xFFFF); }},
        {"logical index count",
         [&](auto& db) { fixture::put32(db.page(tdef), fmt().tdefLogicalIndexCountOffset, 0xFFFF); }},
        // The map row is the only row of the page after the data page.
        {"usage map of unknown kind", [&](auto& db) { db.page(4).at(rowStart(db, 4, 0)) = 0x07; }},
        {"reference map listing a page beyond the file",
         [&](auto& db) {
             const std::size_t at = rowStart(db, 4, 0);
             db.page(4).at(at) = 0x01;
             fixture::put32(db.page(4), at + 1, 0x00FFFFF0);
         }},
        {"usage map outside the file",
         [&](auto& db) { fixture::put32(db.page(tdef), fmt().tdefOwnedPagesOffset, fixture::pointer(0x00FFFFFF, 0)); }},
        {"row slot at 0", [&](auto& db) { fixture::put16(db.page(3), fmt().dataRowTableOffset, 0x0000); }},
        {"row slot in the header", [&](auto& db) { fixture::put16(db.page(3), fmt().dataRowTableOffset, 0x0003); }},
        {"row slot past the page", [&](auto& db) { fixture::put16(db.page(3), fmt().dataRowTableOffset, 0x1FFF); }},
        {"row count", [&](auto& db) { fixture::put16(db.page(3), fmt().dataRowCountOffset, 0x7FFF); }},
        // The first row ends at the page end: its null mask is one byte;
        // before it the variable column count, then the offset of variable
        // column 0.
        {"variable offset past the row",
         [&](auto& db) {
             if (fmt().rowCountFieldSize == 2) fixture::put16(db.page(3), fmt().pageSize - 1 - 2 - 2, 0x0F00);
             else db.page(3).at(fmt().pageSize - 1 - 1 - 1) = 0xF0;
         }},
    };
    auto undamaged = plain();
    EXPECT_EQ(readAllError(undamaged), 0);
    for (const auto& [what, patch] : patches) {
        auto db = plain();
        patch(db);
        EXPECT_EQ(readAllError(db), jet::kErrDamaged) << what;
    }
}

TEST_P(DamageTest, DefinitionOnAPageOfAnotherKind) {
    auto db = plain();
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "d.mdb");
    EXPECT_THROW(readTableDefinition(*file, 3), jet::Error);
    EXPECT_THROW(readTableDefinition(*file, 0), jet::Error);
}

TEST_P(DamageTest, LongValueChainsThatLoopOrEndEarly) {
    auto build = [&](std::uint32_t declaredLength, bool loop) {
        fixture::Database db(fmt());
        db.addPage();  // page 2
        const std::uint32_t lval = db.pageCount();
        fixture::Writer row;
        row.u32(loop ? fixture::pointer(lval, 0) : 0);
        row.bytes(text("part"));
        db.addDataPage(fixture::Database::kLval, {Slot{row.out}});
        assemble(db, fixture::tableOf(cols()),
                 {{Slot{fixture::encodeRow(fmt(), cols(),
                                           {fixture::le32(1), text("x"),
                                            fixture::longValueChain(declaredLength, fixture::pointer(lval, 0))})}}});
        return db;
    };
    auto looping = build(100000, true);
    EXPECT_EQ(readAllError(looping), jet::kErrDamaged);
    auto shortChain = build(100, false);
    EXPECT_EQ(readAllError(shortChain), jet::kErrDamaged);
}

TEST_P(DamageTest, LongValueLengthsBeyondTheFile) {
    for (const Bytes& field : {fixture::longValueInline(text("abc")), fixture::longValueSingle(3, fixture::pointer(3, 0)),
                               fixture::longValueChain(3, fixture::pointer(3, 0))}) {
        Bytes damaged = field;
        fixture::put32(damaged, 0, (static_cast<std::uint32_t>(field[3]) << 24) | kMaxLongValueLength);
        auto db = database({fixture::le32(1), text("x"), damaged});
        EXPECT_EQ(readAllError(db), jet::kErrDamaged);
    }
    auto db = database({fixture::le32(1), text("x"), Bytes{1, 2, 3}});  // shorter than a long value field
    EXPECT_EQ(readAllError(db), jet::kErrDamaged);
    auto pointerOut = database({fixture::le32(1), text("x"), fixture::longValueSingle(3, fixture::pointer(0x00FFFFFF, 0))});
    EXPECT_EQ(readAllError(pointerOut), jet::kErrDamaged);
}

TEST_P(DamageTest, OverflowPointersThatLoop) {
    fixture::Database db(fmt());
    db.addPage();
    const std::uint32_t page = db.pageCount();
    assemble(db, fixture::tableOf(cols()), {{Slot{fixture::le32(fixture::pointer(page, 0)), false, true}}});
    EXPECT_EQ(readAllError(db), jet::kErrDamaged);
}

TEST_P(DamageTest, AReaderGoesOnAfterADamagedPageOrRow) {
    fixture::Database db(fmt());
    auto good = [&](std::uint32_t id) { return Slot{fixture::encodeRow(fmt(), cols(), {fixture::le32(id), text("ok"), std::nullopt})}; };
    assemble(db, fixture::tableOf(cols()), {{good(1)}, {good(2), good(3)}});
    fixture::put16(db.page(3), fmt().dataRowCountOffset, 0x7FFF);  // first page: damaged header
    // Second page: the first row (at the page end) claims too many variable columns.
    if (fmt().rowCountFieldSize == 2) {
        fixture::put16(db.page(4), fmt().pageSize - 1 - 2, 0x7FFF);
    } else {
        db.page(4).at(fmt().pageSize - 1 - 1) = 0xFF;
    }
    auto file = jet::io::PageFile::fromBytes(db.bytes(), "d.mdb");
    auto def = readTableDefinition(*file, storagetest::kTablePage);
    TableReader reader(*file, def);
    Row row;
    EXPECT_THROW(reader.next(row), jet::Error);
    EXPECT_THROW(reader.next(row), jet::Error);
    ASSERT_TRUE(reader.next(row));
    EXPECT_EQ(row.values[0], jet::Value(std::int32_t{3}));
    EXPECT_FALSE(reader.next(row));
}

INSTANTIATE_TEST_SUITE_P(Formats, DamageTest, STORAGE_FORMATS, storagetest::formatName);

}  // namespace

// Encryption headers of ACE files, one change each to a well-shaped
// CryptoAPI or agile header: damage is 3049, a scheme not read 3343, a
// well-shaped header with the wrong password 3031; never a crash, a hang or
// a huge allocation.
TEST(EncryptionHeaderDamage, EachChangeIsAClearError) {
    using Info = std::vector<std::uint8_t>;
    auto u32At = [](Info& info, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) info.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
    };
    // CryptoAPI 4.2, RC4 with the Base provider's 40-bit key.
    const std::string csp = "Microsoft Base Cryptographic Provider v1.0";
    Info api{4, 0, 2, 0};
    auto add32 = [&](Info& info, std::uint32_t v) { info.resize(info.size() + 4); u32At(info, info.size() - 4, v); };
    add32(api, 0x04);
    add32(api, static_cast<std::uint32_t>(32 + 2 * (csp.size() + 1)));
    for (std::uint32_t v : {0x04u, 0u, 0x6801u, 0x8004u, 0x28u, 1u, 0u, 0u}) add32(api, v);
    for (char c : csp) api.insert(api.end(), {static_cast<std::uint8_t>(c), 0});
    api.insert(api.end(), {0, 0});
    const std::size_t verifier = api.size();
    add32(api, 16);
    api.insert(api.end(), 32, 0x5A);  // salt, encrypted verifier
    add32(api, 20);
    api.insert(api.end(), 20, 0xA5);  // encrypted verifier hash
    const std::size_t keyBits = 12 + 16, algorithm = 12 + 8, headerSize = 8;

    const std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<encryption xmlns="http://schemas.microsoft.com/office/2006/encryption" )"
        R"(xmlns:p="http://schemas.microsoft.com/office/2006/keyEncryptor/password">)"
        R"(<keyData saltSize="16" blockSize="16" keyBits="128" hashSize="20" cipherAlgorithm="AES" )"
        R"(cipherChaining="ChainingModeCBC" hashAlgorithm="SHA1" saltValue="AAAAAAAAAAAAAAAAAAAAAA=="/>)"
        R"(<keyEncryptors><keyEncryptor uri="http://schemas.microsoft.com/office/2006/keyEncryptor/password">)"
        R"(<p:encryptedKey spinCount="10" saltSize="16" blockSize="16" keyBits="128" hashSize="20" )"
        R"(cipherAlgorithm="AES" cipherChaining="ChainingModeCBC" hashAlgorithm="SHA1" )"
        R"(saltValue="AAAAAAAAAAAAAAAAAAAAAA==" encryptedVerifierHashInput="AAAAAAAAAAAAAAAAAAAAAA==" )"
        R"(encryptedVerifierHashValue="AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=" )"
        R"(encryptedKeyValue="AAAAAAAAAAAAAAAAAAAAAA=="/></keyEncryptor></keyEncryptors></encryption>)";
    auto agile = [](const std::string& text) {
        Info info(8 + text.size());
        const std::uint8_t head[8] = {4, 0, 4, 0, 0x40, 0, 0, 0};
        std::copy(std::begin(head), std::end(head), info.begin());
        std::copy(text.begin(), text.end(), info.begin() + 8);
        return info;
    };
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = xml;
        text.replace(text.find(from), from.size(), to);
        return agile(text);
    };
    auto changed = [&](std::size_t at, std::uint32_t v) {
        Info info = api;
        u32At(info, at, v);
        return info;
    };
    const std::string bomb = R"(<?xml version="1.0"?><!DOCTYPE e [<!ENTITY a "aaaaaaaaaa">)"
                             R"(<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">)"
                             R"(<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;"><!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">)"
                             R"(<!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;"><!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;">]>)"
                             R"(<encryption><keyData saltValue="&g;"/></encryption>)";

    struct Case {
        const char* what;
        Info info;
        long expected;
        std::optional<std::uint16_t> size = std::nullopt;  // the stored size, when it is not the info's
    };
    const Case cases[] = {
        {"well-shaped CryptoAPI header, wrong password", api, jet::kErrPassword},
        {"well-shaped agile header, wrong password", agile(xml), jet::kErrPassword},
        {"no header", {}, jet::kErrDamaged},
        {"size beyond page 0", api, jet::kErrDamaged, 0xFFFF},
        {"truncated CryptoAPI header", Info(api.begin(), api.begin() + 20), jet::kErrDamaged},
        {"truncated verifier", Info(api.begin(), api.end() - 8), jet::kErrDamaged},
        {"header size beyond the info", changed(headerSize, 0xFFFFFFF0u), jet::kErrDamaged},
        {"header size below its fixed part", changed(headerSize, 8), jet::kErrDamaged},
        {"salt size", changed(verifier, 0xFFFFFFFFu), jet::kErrDamaged},
        {"absurd key size", changed(keyBits, 0xFFFFFFFFu), jet::kErrDamaged},
        {"RC4 key beyond 128 bits", changed(keyBits, 0x200), jet::kErrDamaged},
        {"AES key size not the algorithm's", [&] { Info i = changed(algorithm, 0x660E); u32At(i, keyBits, 100); return i; }(),
         jet::kErrDamaged},
        {"verifier hash size", changed(verifier + 36, 0x7FFFFFFF), jet::kErrDamaged},
        {"unknown cipher", changed(algorithm, 0x1234), jet::kErrUnrecognizedFormat},
        {"extensible encryption", Info{4, 0, 3, 0, 0, 0, 0, 0}, jet::kErrUnrecognizedFormat},
        {"unknown version", Info{9, 0, 9, 0}, jet::kErrUnrecognizedFormat},
        {"agile reserved field", [&] { Info i = agile(xml); i[4] = 0x41; return i; }(), jet::kErrDamaged},
        {"agile header cut inside its XML", agile(xml.substr(0, xml.size() / 2)), jet::kErrDamaged},
        {"XML that is not XML", agile("<encryption><keyData"), jet::kErrDamaged},
        {"XML without keyData", agile("<encryption/>"), jet::kErrDamaged},
        {"XML entity expansion", agile(bomb), jet::kErrDamaged},
        {"absurd agile key bits", replaced(R"(keyBits="128")", R"(keyBits="99999999999999999999")"), jet::kErrDamaged},
        {"key bits no AES has", replaced(R"(keyBits="128")", R"(keyBits="4096")"), jet::kErrDamaged},
        {"spin count beyond the limit", replaced(R"(spinCount="10")", R"(spinCount="4000000000")"), jet::kErrDamaged},
        {"salt that is not base64", replaced(R"(saltValue="AAAAAAAAAAAAAAAAAAAAAA==")", R"(saltValue="A#")"),
         jet::kErrDamaged},
        {"salt size that is not the salt's", replaced(R"(saltSize="16")", R"(saltSize="64")"), jet::kErrDamaged},
        {"hash size that is not the hash's", replaced(R"(hashSize="20")", R"(hashSize="2000000")"), jet::kErrDamaged},
        {"key value not whole blocks", replaced(R"(encryptedKeyValue="AAAAAAAAAAAAAAAAAAAAAA==")", R"(encryptedKeyValue="AAAA")"),
         jet::kErrDamaged},
        {"missing attribute", replaced(R"(blockSize="16" keyBits)", "keyBits"), jet::kErrDamaged},
        {"CFB chaining", replaced("ChainingModeCBC", "ChainingModeCFB"), jet::kErrUnrecognizedFormat},
        {"unknown hash", replaced(R"(hashAlgorithm="SHA1")", R"(hashAlgorithm="MD4")"), jet::kErrUnrecognizedFormat},
        {"no password key encryptor", replaced("keyEncryptor/password\"><p:", "keyEncryptor/certificate\"><p:"),
         jet::kErrUnrecognizedFormat},
    };
    const auto& ace = *jet::format::formatForVersionByte(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fixture::Database db(ace);
        db.addPage();
        db.setEncodingKey(0x1234ABCD);
        Bytes& page0 = db.page(0);
        const std::uint16_t size = c.size.value_or(static_cast<std::uint16_t>(c.info.size()));
        page0.at(0x299) = static_cast<std::uint8_t>(size);
        page0.at(0x29A) = static_cast<std::uint8_t>(size >> 8);
        std::copy(c.info.begin(), c.info.end(), page0.begin() + 0x29B);
        EXPECT_EQ(testsupport::errorNumber<jet::Error>([&] {
                      jet::io::PageFile::fromBytes(db.bytes(), "encrypted.accdb", {.password = "wrong"});
                  }),
                  c.expected);
    }
}
