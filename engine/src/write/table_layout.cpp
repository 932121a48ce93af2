#include "write/table_layout.h"

#include "jet/collection.h"
#include "jet/error.h"

namespace jet::write {
namespace {
namespace ct = storage::coltype;
// Jet 4 sets this bit on the real indexes of the catalog's own tables.
constexpr std::uint8_t kSystemIndexFlag = 0x80;
// Every column Access writes carries this bit.
constexpr std::uint8_t kColumnBaseFlag = storage::colflag::kNullable;
// The catalog's own columns carry one more.
constexpr std::uint8_t kSystemColumnFlag = storage::colflag::kReplication;
}  // namespace

std::uint16_t fixedTypeWidth(std::uint8_t type) {
    switch (type) {
    case ct::kBoolean: return 1;
    case ct::kByte: return 1;
    case ct::kInteger: return 2;
    case ct::kLong:
    case ct::kSingle: return 4;
    case ct::kCurrency:
    case ct::kDouble:
    case ct::kDateTime:
    case ct::kBigInt: return 8;
    case ct::kGuid: return 16;
    case ct::kNumeric: return 17;
    default: return 0;
    }
}

storage::TableDefinition layoutTable(const std::vector<NewColumn>& columns, const std::vector<NewIndex>& indexes,
                                     const format::JetFormat& format, std::uint16_t sortOrder, bool systemTable) {
    storage::TableDefinition def;
    def.tableType = systemTable ? storage::kTableTypeSystem : storage::kTableTypeUser;
    std::uint16_t fixedOffset = 0, varIndex = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const NewColumn& wanted = columns[i];
        storage::ColumnDef c;
        c.name = wanted.name;
        c.type = wanted.type;
        c.number = static_cast<std::uint16_t>(i);
        c.descriptorIndex = i;
        c.precision = wanted.precision;
        c.scale = wanted.scale;
        c.flags = static_cast<std::uint8_t>(wanted.flags | kColumnBaseFlag | (systemTable ? kSystemColumnFlag : 0));
        const std::uint16_t width = fixedTypeWidth(wanted.type);
        const bool text = wanted.type == ct::kText || wanted.type == ct::kMemo;
        if (text) c.sortOrder = sortOrder;
        if (width != 0 || (wanted.type == ct::kText && wanted.fixedText)) {
            c.flags |= storage::colflag::kFixed;
            c.length = width != 0 ? width : static_cast<std::uint16_t>(wanted.size * (format.unicodeText ? 2 : 1));
            // Booleans live in the null mask and take no room.
            c.fixedOffset = wanted.type == ct::kBoolean ? 0 : fixedOffset;
            if (wanted.type != ct::kBoolean) fixedOffset = static_cast<std::uint16_t>(fixedOffset + c.length);
        } else {
            c.varIndex = varIndex++;
            if (wanted.type == ct::kText) c.length = static_cast<std::uint16_t>(wanted.size * (format.unicodeText ? 2 : 1));
            else if (wanted.type == ct::kBinary) c.length = wanted.size;
            else c.length = 0;  // memo, OLE
        }
        def.columns.push_back(std::move(c));
    }
    def.maxColumns = static_cast<std::uint16_t>(columns.size());
    def.variableColumnCount = varIndex;

    for (std::size_t i = 0; i < indexes.size(); ++i) {
        const NewIndex& wanted = indexes[i];
        storage::RealIndex real;
        for (const auto& [name, ascending] : wanted.columns) {
            const storage::ColumnDef* column = def.findColumn(name);
            if (!column) throw Error(kErrItemNotFound, "Item not found in this collection.", "index field '" + name + "'");
            real.columns.push_back({column->number, ascending});
        }
        real.flags = static_cast<std::uint8_t>(wanted.flags | (systemTable && !format.isJet3() ? kSystemIndexFlag : 0));
        const auto shared = sharedRealIndex(def, real);
        const std::uint32_t realNumber = shared ? *shared : static_cast<std::uint32_t>(def.realIndexes.size());
        if (!shared) def.realIndexes.push_back(std::move(real));
        storage::LogicalIndex logical;
        logical.name = wanted.name;
        logical.indexNumber = static_cast<std::uint32_t>(i);
        logical.realIndexNumber = realNumber;
        logical.indexType = wanted.indexType;
        logical.cascadeUpdates = logical.cascadeDeletes = storage::kNotForeignKeyCascade;
        def.logicalIndexes.push_back(std::move(logical));
    }
    return def;
}

std::optional<std::uint32_t> sharedRealIndex(const storage::TableDefinition& def, const storage::RealIndex& wanted) {
    for (std::size_t r = 0; r < def.realIndexes.size(); ++r) {
        const auto& other = def.realIndexes[r];
        bool same = other.flags == wanted.flags && other.columns.size() == wanted.columns.size();
        for (std::size_t k = 0; same && k < wanted.columns.size(); ++k)
            same = other.columns[k].columnNumber == wanted.columns[k].columnNumber &&
                   other.columns[k].ascending == wanted.columns[k].ascending;
        if (same) return static_cast<std::uint32_t>(r);
    }
    return std::nullopt;
}

}  // namespace jet::write
