#include "fixture_builder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "crypto/primitives.h"
#include "format/database_header.h"
#include "storage/table_definition.h"

namespace fixture {

using namespace jet::storage;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

Bytes le32(std::uint32_t v) {
    Writer w;
    w.u32(v);
    return w.out;
}

Bytes le64(std::uint64_t v) {
    Writer w;
    w.u32(static_cast<std::uint32_t>(v));
    w.u32(static_cast<std::uint32_t>(v >> 32));
    return w.out;
}

Bytes leDouble(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return le64(bits);
}

namespace {

std::size_t widthOf(const Column& c) {
    switch (c.type) {
    case coltype::kBoolean: return 0;
    case coltype::kByte: return 1;
    case coltype::kInteger: return 2;
    case coltype::kLong:
    case coltype::kSingle: return 4;
    case coltype::kCurrency:
    case coltype::kDouble:
    case coltype::kDateTime: return 8;
    case coltype::kGuid: return 16;
    case coltype::kNumeric: return 17;
    default: return c.length;
    }
}

void name(Writer& w, const format::JetFormat& fmt, const std::string& text) {
    Bytes stored = storedText(fmt, text);
    if (fmt.nameLengthSize == 1) {
        w.u8(static_cast<std::uint32_t>(stored.size()));
    } else {
        w.u16(static_cast<std::uint32_t>(stored.size()));
    }
    w.bytes(stored);
}

}  // namespace

Bytes storedText(const format::JetFormat& fmt, const std::string& ascii) {
    Bytes out;
    for (char c : ascii) {
        out.push_back(static_cast<std::uint8_t>(c));
        if (fmt.unicodeText) out.push_back(0);
    }
    return out;
}

std::vector<Column> layoutColumns(const format::JetFormat&, std::vector<Column> columns) {
    std::uint16_t fixedOffset = 0;
    std::uint16_t varIndex = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto& c = columns[i];
        c.number = static_cast<std::uint16_t>(i);
        c.fixed = c.fixed || (c.type != coltype::kText && c.type != coltype::kMemo && c.type != coltype::kOle &&
                              c.type != coltype::kBinary);
        if (c.length == 0 && c.fixed) c.length = static_cast<std::uint16_t>(widthOf(c));
        if (c.fixed) {
            c.fixedOffset = fixedOffset;
            fixedOffset = static_cast<std::uint16_t>(fixedOffset + widthOf(c));
        } else {
            c.varIndex = varIndex++;
        }
    }
    return columns;
}

Bytes encodeRow(const format::JetFormat& fmt, const std::vector<Column>& columns, const RowValues& values,
                std::size_t storedColumns) {
    const std::size_t stored = storedColumns ? storedColumns : columns.size();
    const bool wide = fmt.rowCountFieldSize == 2;
    const bool tableHasVar = std::any_of(columns.begin(), columns.end(), [](const Column& c) { return !c.fixed; });

    Writer w;
    wide ? w.u16(static_cast<std::uint32_t>(stored)) : w.u8(static_cast<std::uint32_t>(stored));
    const std::size_t fixedStart = w.out.size();
    std::size_t fixedSize = 0;
    for (const auto& c : columns)
        if (c.fixed && c.number < stored) fixedSize = std::max(fixedSize, c.fixedOffset + widthOf(c));
    w.zeros(fixedSize);

    Bytes mask((stored + 7) / 8, 0);
    std::vector<const Column*> var;
    for (const auto& c : columns)
        if (!c.fixed && c.number < stored) var.push_back(&c);
    std::sort(var.begin(), var.end(), [](auto a, auto b) { return a->varIndex < b->varIndex; });

    for (std::size_t i = 0; i < columns.size(); ++i) {
        const auto& c = columns[i];
        if (c.number >= stored || !values[i]) continue;
        if (c.type == coltype::kBoolean) {
            if ((*values[i])[0]) mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
            continue;
        }
        mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
        if (c.fixed) {
            if (values[i]->size() != widthOf(c)) throw std::logic_error("value width differs from column " + c.name);
            std::copy(values[i]->begin(), values[i]->end(), w.out.begin() + fixedStart + c.fixedOffset);
        }
    }

    std::vector<std::size_t> offsets;
    for (const Column* c : var) {
        offsets.push_back(w.out.size());
        const auto at = std::find_if(columns.begin(), columns.end(), [&](const Column& x) { return &x == c; });
        const auto& value = values[at - columns.begin()];
        if (value) w.bytes(*value);
    }
    offsets.push_back(w.out.size());  // end of the variable data

    if (tableHasVar) {
        const std::size_t count = offsets.size() - 1;
        if (wide) {
            for (std::size_t i = offsets.size(); i-- > 0;) w.u16(static_cast<std::uint32_t>(offsets[i]));
            w.u16(static_cast<std::uint32_t>(count));
        } else {
            if (w.out.size() + offsets.size() + 1 + mask.size() > 256) throw std::logic_error("a row for a jump table");
            for (std::size_t i = offsets.size(); i-- > 0;) w.u8(static_cast<std::uint32_t>(offsets[i]));
            w.u8(static_cast<std::uint32_t>(count));
        }
    }
    w.bytes(mask);
    return w.out;
}

Bytes encodeTdefBody(const format::JetFormat& fmt, const Table& table) {
    const bool jet3 = fmt.isJet3();
    std::uint16_t varCount = 0;
    for (const auto& c : table.columns) varCount = static_cast<std::uint16_t>(varCount + (c.fixed ? 0 : 1));
    Writer w;
    w.u8(kTdefPageType);
    w.u8(1);
    jet3 ? (w.u8('V'), w.u8('C')) : w.u16(0);
    w.u32(0);  // next page, set by writeTdef
    w.u32(0);  // definition length (not used by readers)
    if (!jet3) w.u32(0);
    w.u32(table.rowCount);
    w.u32(0);  // next auto-number
    if (!jet3) {
        w.u8(1);
        w.zeros(3);
        w.u32(0);
        w.zeros(8);
    }
    w.u8(kTableTypeUser);
    w.u16(table.maxColumns ? table.maxColumns : static_cast<std::uint32_t>(table.columns.size()));
    w.u16(varCount);
    w.u16(static_cast<std::uint32_t>(table.columns.size()));
    w.u32(0);  // logical indexes
    w.u32(0);  // real indexes
    w.u32(table.ownedMap);
    w.u32(table.ownedMap);
    if (w.out.size() != fmt.tdefHeaderEnd) throw std::logic_error("tdef header size");
    for (const auto& c : table.columns) {
        const std::size_t start = w.out.size();
        w.u8(c.type);
        if (!jet3) w.u32(0);
        w.u16(c.number);
        w.u16(c.varIndex);
        w.u16(c.number);
        if (jet3) w.u16(0);
        if (c.type == coltype::kNumeric) {
            w.u8(c.precision);
            w.u8(c.scale);
        } else {
            w.u16(0x409);
        }
        w.u16(jet3 ? 1252 : 0);
        w.u8(static_cast<std::uint32_t>((c.fixed ? colflag::kFixed : 0) | colflag::kNullable | c.flags));
        if (!jet3) {
            w.u8(0);
            w.u32(0);
        }
        w.u16(c.fixedOffset);
        w.u16(c.length);
        if (w.out.size() - start != fmt.tdefColumnSize) throw std::logic_error("column size");
    }
    for (const auto& c : table.columns) name(w, fmt, c.name);
    if (!jet3) w.u16(0xFFFF);
    return w.out;
}

Database::Database(const format::JetFormat& fmt, std::uint16_t codePage) : fmt_(fmt), codePage_(codePage) {
    addPage();  // header
    addPage();  // global usage map, not read
}

std::uint32_t Database::addPage() {
    pages_.emplace_back(fmt_.pageSize, 0);
    return static_cast<std::uint32_t>(pages_.size() - 1);
}

std::uint32_t Database::addDataPage(std::uint32_t owner, const std::vector<Slot>& slots) {
    const std::uint32_t n = addPage();
    Bytes& p = pages_[n];
    p[0] = 0x01;
    p[1] = 1;
    put32(p, 4, owner);
    put16(p, fmt_.dataRowCountOffset, static_cast<std::uint32_t>(slots.size()));
    std::size_t end = fmt_.pageSize;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const auto& s = slots[i];
        const std::size_t start = end - s.bytes.size();
        if (start < fmt_.dataRowTableOffset + 2 * slots.size()) throw std::logic_error("rows do not fit the page");
        std::copy(s.bytes.begin(), s.bytes.end(), p.begin() + start);
        put16(p, fmt_.dataRowTableOffset + 2 * i,
              static_cast<std::uint32_t>(start | (s.deleted ? 0x8000 : 0) | (s.overflow ? 0x4000 : 0)));
        end = start;
    }
    put16(p, 2, static_cast<std::uint32_t>(end - (fmt_.dataRowTableOffset + 2 * slots.size())));
    return n;
}

void Database::writeTdef(std::uint32_t first, const Bytes& body) {
    const std::size_t size = fmt_.pageSize;
    std::copy(body.begin(), body.begin() + std::min(size, body.size()), pages_.at(first).begin());
    std::size_t done = std::min(size, body.size());
    std::uint32_t previous = first;
    while (done < body.size()) {
        const std::uint32_t next = addPage();
        put32(pages_[previous], 4, next);
        Bytes& p = pages_[next];
        p[0] = kTdefPageType;
        p[1] = 1;
        const std::size_t take = std::min(size - 8, body.size() - done);
        std::copy(body.begin() + done, body.begin() + done + take, p.begin() + 8);
        done += take;
        previous = next;
    }
}

std::uint32_t Database::addInlineUsageMap(const std::vector<std::uint32_t>& pages) {
    const std::uint32_t start = pages.empty() ? 0 : *std::min_element(pages.begin(), pages.end());
    Writer w;
    w.u8(0);
    w.u32(start);
    Bytes bitmap(64, 0);
    for (std::uint32_t page : pages) bitmap.at((page - start) / 8) |= static_cast<std::uint8_t>(1u << ((page - start) % 8));
    w.bytes(bitmap);
    return pointer(addDataPage(0, {Slot{w.out}}), 0);
}

void Database::setPassword(const std::string& ascii) { password_ = storedText(fmt_, ascii); }

Bytes Database::bytes() const {
    std::vector<Bytes> pages = pages_;
    Bytes& h = pages[0];
    h[1] = 1;
    const char* engine = fmt_.isAce() ? "Standard ACE DB" : "Standard Jet DB";
    std::memcpy(h.data() + 4, engine, std::strlen(engine));
    h[0x14] = static_cast<std::uint8_t>(fmt_.version);
    put16(h, 0x3C, codePage_);
    put32(h, 0x3E, encodingKey_);
    put16(h, fmt_.sortOrderOffset, sortOrder_);
    Bytes pwd = password_;
    pwd.resize(fmt_.passwordLength, 0);
    if (!fmt_.isJet3()) {
        Bytes date = leDouble(creationDate_);
        std::copy(date.begin(), date.end(), h.begin() + 0x72);
        const auto key = static_cast<std::uint32_t>(static_cast<std::int32_t>(creationDate_));
        for (std::size_t i = 0; i < pwd.size(); ++i) pwd[i] ^= static_cast<std::uint8_t>(key >> (8 * (i % 4)));
    }
    std::copy(pwd.begin(), pwd.end(), h.begin() + 0x42);
    jet::format::applyHeaderMask(h, fmt_);

    if (encodingKey_ != 0) {
        for (std::uint32_t n = 1; n < pages.size(); ++n) {
            Bytes key = le32(encodingKey_ ^ n);
            jet::crypto::rc4(key, pages[n]);
        }
    }
    Bytes out;
    for (const auto& p : pages) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes longValueInline(const Bytes& data) {
    Writer w;
    w.u32(static_cast<std::uint32_t>(data.size()) | 0x80000000u);
    w.u32(0);
    w.u32(0);
    w.bytes(data);
    return w.out;
}

Bytes longValueSingle(std::uint32_t length, std::uint32_t rowPointer) {
    Writer w;
    w.u32(length | 0x40000000u);
    w.u32(rowPointer);
    w.u32(0);
    return w.out;
}

Bytes longValueChain(std::uint32_t length, std::uint32_t firstRowPointer) {
    Writer w;
    w.u32(length);
    w.u32(firstRowPointer);
    w.u32(0);
    return w.out;
}

}  // namespace fixture
