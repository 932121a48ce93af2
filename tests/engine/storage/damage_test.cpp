// Damaged structures built on purpose: each must end in a damaged-database
// error (3049), never in a crash, a hang or a huge allocation.
#include <functional>

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
