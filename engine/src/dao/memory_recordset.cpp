#include "dao/memory_recordset.h"

#include <algorithm>

#include "dao/criteria.h"
#include "jet/error.h"
#include "write/text_key.h"

namespace jet::dao {
namespace {

// Key order as Jet's indexes keep it: Null before every value.
// Two key values in the order of an index: Nulls first, text by its key bytes.
int compareForKey(const Value& a, const Value& b, bool jet3Text) {
    if (isNull(a) || isNull(b)) return isNull(a) == isNull(b) ? 0 : (isNull(a) ? -1 : 1);
    if (std::holds_alternative<std::string>(a) && std::holds_alternative<std::string>(b))
        return write::compareTextKeys(std::get<std::string>(a), std::get<std::string>(b), jet3Text);
    return compareValues(a, b);
}

[[noreturn]] void notSupported() {
    throw Error(kErrOperationNotSupported, "Operation is not supported for this type of object.");
}

}  // namespace

MemoryRecordset::MemoryRecordset(int type, std::vector<std::unique_ptr<Field>> fields,
                                 std::vector<std::vector<Value>> rows, std::vector<RecordsetIndex> indexes)
    : type_(type), rows_(std::move(rows)), indexes_(std::move(indexes)) {
    for (auto& f : fields) fields_.add(std::move(f));
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(fields_.Count()));
    order_.resize(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    moveTo(0);
}

void MemoryRecordset::readOnly() {
    throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.");
}

void MemoryRecordset::requireOpen() const {
    if (!open_) throw Error(kErrObjectInvalid, "Object invalid or no longer set.");
}

long MemoryRecordset::RecordCount() const {
    requireOpen();
    // A table knows its size; a dynaset counts the rows it has reached so
    // far, as DAO's does until MoveLast.
    if (type_ == dbOpenTable) return static_cast<long>(order_.size());
    return highestVisited_ + 1;
}

void MemoryRecordset::moveTo(long position) {
    const long size = static_cast<long>(order_.size());
    position_ = std::clamp(position, -1L, size);
    const bool onRow = position_ >= 0 && position_ < size;
    if (onRow) highestVisited_ = std::max(highestVisited_, position_);
    for (int i = 0; i < fields_.Count(); ++i) {
        // Off the rows the values read as Null; there is no current record.
        fields_[i].SetValue(onRow ? rows_[order_[static_cast<std::size_t>(position_)]][static_cast<std::size_t>(i)]
                                  : Value{});
    }
}

void MemoryRecordset::SetIndex(const std::string& name) {
    requireOpen();
    if (type_ != dbOpenTable) notSupported();
    auto it = std::find_if(indexes_.begin(), indexes_.end(),
                           [&](const RecordsetIndex& ix) { return namesEqual(ix.name, name); });
    if (it == indexes_.end()) throw Error(kErrNotAnIndex, "'" + name + "' is not an index in this table.");
    index_ = &*it;
    indexName_ = it->name;
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return indexLess(a, b); });
    moveTo(0);
}

bool MemoryRecordset::indexLess(std::size_t a, std::size_t b) const {
    for (std::size_t k = 0; k < index_->columns.size(); ++k) {
        auto column = static_cast<std::size_t>(index_->columns[k]);
        int c = compareForKey(rows_[a][column], rows_[b][column], index_->jet3Text);
        if (c != 0) return index_->descending[k] ? c > 0 : c < 0;
    }
    return false;
}

int MemoryRecordset::compareKey(std::size_t row, const std::vector<Value>& key) const {
    for (std::size_t k = 0; k < key.size(); ++k) {
        int c = compareForKey(rows_[row][static_cast<std::size_t>(index_->columns[k])], key[k], index_->jet3Text);
        if (c != 0) return index_->descending[k] ? -c : c;
    }
    return 0;
}

void MemoryRecordset::Seek(const std::string& comparison, const std::vector<Value>& key) {
    requireOpen();
    if (type_ != dbOpenTable) notSupported();
    if (!index_) throw Error(kErrNoCurrentIndex, "Operation invalid without a current index.");
    if (key.empty() || key.size() > index_->columns.size())
        throw Error(kErrInvalidArgument, "Invalid argument.");
    // The order is the index's: the rows at or past the key, and past it,
    // start where a binary search says.
    auto from = [&](bool pastKey) {
        return static_cast<long>(std::partition_point(order_.begin(), order_.end(), [&](std::size_t row) {
                                     const int c = compareKey(row, key);
                                     return pastKey ? c <= 0 : c < 0;
                                 }) -
                                 order_.begin());
    };
    const long size = static_cast<long>(order_.size());
    long found = -1;
    if (comparison == "=") {
        const long at = from(false);
        if (at < size && compareKey(order_[static_cast<std::size_t>(at)], key) == 0) found = at;
    } else if (comparison == ">=" || comparison == ">") {
        found = from(comparison == ">");
    } else if (comparison == "<=" || comparison == "<") {
        found = from(comparison == "<=") - 1;
    } else {
        throw Error(kErrInvalidArgument, "Invalid argument.");
    }
    if (found >= size) found = -1;
    noMatch_ = found < 0;
    moveTo(noMatch_ ? size : found);
}

bool MemoryRecordset::findFrom(long start, const std::string& criteria) {
    Criteria parsed = Criteria::parse(criteria);
    const long size = static_cast<long>(order_.size());
    for (long i = std::max(start, 0L); i < size; ++i) {
        const auto& row = rows_[order_[static_cast<std::size_t>(i)]];
        bool hit = parsed.matches([&](std::string_view name) -> const Value* {
            for (int f = 0; f < fields_.Count(); ++f)
                if (namesEqual(fields_[f].Name(), name)) return &row[static_cast<std::size_t>(f)];
            return nullptr;
        });
        if (hit) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

void MemoryRecordset::FindFirst(const std::string& criteria) {
    requireOpen();
    if (type_ == dbOpenTable) notSupported();
    // A failed find leaves the current record where it was.
    noMatch_ = !findFrom(0, criteria);
}

void MemoryRecordset::FindNext(const std::string& criteria) {
    requireOpen();
    if (type_ == dbOpenTable) notSupported();
    noMatch_ = !findFrom(position_ + 1, criteria);
}

void MemoryRecordset::FindFromCurrent(const std::string& criteria) {
    requireOpen();
    if (type_ == dbOpenTable) notSupported();
    noMatch_ = !findFrom(position_, criteria);
}

void MemoryRecordset::MoveFirst() {
    requireOpen();
    if (order_.empty()) throw Error(kErrNoCurrentRecord, "No current record.");
    moveTo(0);
}

void MemoryRecordset::MoveNext() {
    requireOpen();
    if (Eof()) throw Error(kErrNoCurrentRecord, "No current record.");
    moveTo(position_ + 1);
}

void MemoryRecordset::MoveLast() {
    requireOpen();
    if (order_.empty()) throw Error(kErrNoCurrentRecord, "No current record.");
    moveTo(static_cast<long>(order_.size()) - 1);
}

bool MemoryRecordset::Eof() const {
    requireOpen();
    return position_ >= static_cast<long>(order_.size());
}

bool MemoryRecordset::Bof() const {
    requireOpen();
    return position_ < 0 || order_.empty();
}

void MemoryRecordset::Close() {
    requireOpen();
    open_ = false;
    rows_.clear();
    order_.clear();
}

long MemoryRecordset::currentRow() const {
    if (position_ < 0 || position_ >= static_cast<long>(order_.size())) return -1;
    return static_cast<long>(order_[static_cast<std::size_t>(position_)]);
}

long MemoryRecordset::placeInOrder(std::size_t row) {
    auto at = !index_ ? order_.end()
                      : std::upper_bound(order_.begin(), order_.end(), row,
                                         [&](std::size_t a, std::size_t b) { return indexLess(a, b); });
    const long place = static_cast<long>(at - order_.begin());
    order_.insert(at, row);
    return place;
}

std::size_t MemoryRecordset::addRow(std::vector<Value> values) {
    values.resize(static_cast<std::size_t>(fields_.Count()));
    rows_.push_back(std::move(values));
    const std::size_t row = rows_.size() - 1;
    const long place = placeInOrder(row);
    // The record that was current stays current (and EOF stays EOF); a
    // dynaset counts the new row among those it has reached, as DAO's does.
    if (position_ >= place && position_ >= 0) ++position_;
    if (type_ != dbOpenTable) ++highestVisited_;
    moveTo(position_);
    return row;
}

void MemoryRecordset::replaceRow(std::size_t row, std::vector<Value> values) {
    values.resize(static_cast<std::size_t>(fields_.Count()));
    rows_[row] = std::move(values);
    if (!index_) return moveToRow(row);
    std::erase(order_, row);
    moveTo(placeInOrder(row));
}

void MemoryRecordset::removeRow(std::size_t row) {
    // Usually the current row: no search then.
    auto at = currentRow() == static_cast<long>(row) ? order_.begin() + position_
                                                      : std::find(order_.begin(), order_.end(), row);
    if (at == order_.end()) return;
    const long place = static_cast<long>(at - order_.begin());
    order_.erase(at);
    rows_[row] = {};
    if (place <= highestVisited_) --highestVisited_;
    moveTo(place < position_ ? position_ - 1 : position_);
}

void MemoryRecordset::moveToRow(std::size_t row) {
    for (std::size_t i = 0; i < order_.size(); ++i)
        if (order_[i] == row) return moveTo(static_cast<long>(i));
    moveTo(static_cast<long>(order_.size()));
}

}  // namespace jet::dao
