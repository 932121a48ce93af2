#include "dao/table_recordset.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "dao/database_impl.h"
#include "dao/related_writes.h"
#include "storage/table_reader.h"
#include "write/page_store.h"

namespace jet::dao {
namespace {

[[noreturn]] void noEdit() {
    throw Error(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
}

}  // namespace

// Held by the recordset and by the database only weakly, so that neither
// outliving the other leaves a dangling pointer behind.
class TableRecordset::Follower : public RowChangeListener {
public:
    explicit Follower(TableRecordset& owner) : owner_(owner) {}
    void rowsChanged(const CommittedRows& rows) override { owner_.follow(rows); }
    void rowsRolledBack() override { owner_.reread(); }

private:
    TableRecordset& owner_;
};

TableRecordset::TableRecordset(DatabaseImpl& db, std::string table, std::uint32_t tdefPage, int type)
    : db_(db), table_(std::move(table)), tdefPage_(tdefPage), type_(type) {
    load(0);
    follower_ = std::make_shared<Follower>(*this);
    db_.rowListeners.push_back(follower_);
}

void TableRecordset::load(long selectRow) {
    int position = -1;
    for (int i = 0; i < db_.tableDefs.Count(); ++i)
        if (namesEqual(db_.tableDefs[i].Name(), table_)) position = i;
    if (position < 0) throw Error(kErrObjectInvalid, "Object invalid or no longer set.");
    const std::string index = rows_ ? rows_->Index() : std::string();
    DatabaseImpl::TableSnapshot snapshot = db_.readTableSnapshot(position);
    locations_ = std::move(snapshot.locations);
    rowNumbers_.clear();
    for (std::size_t i = 0; i < locations_.size(); ++i) rowNumbers_[locations_[i].stored()] = i;
    rows_ = std::make_unique<MemoryRecordset>(type_, std::move(snapshot.fields), std::move(snapshot.rows),
                                              std::move(snapshot.indexes));
    if (!index.empty()) rows_->SetIndex(index);
    if (selectRow >= 0) rows_->moveToRow(static_cast<std::size_t>(selectRow));
}

const std::vector<Value>& TableRecordset::rowValues(std::size_t row) const { return rows_->rowValues(row); }

void TableRecordset::leaveEdit() {
    mode_ = Mode::None;
    editConflict_ = 0;
    buffer_.clear();
}

// Moving away drops an edit in progress, as DAO does.
void TableRecordset::Seek(const std::string& comparison, const std::vector<jet::Value>& key) {
    leaveEdit();
    onDeleted_ = false;
    rows_->Seek(comparison, key);
}
void TableRecordset::FindFirst(const std::string& criteria) {
    leaveEdit();
    onDeleted_ = false;
    rows_->FindFirst(criteria);
}
void TableRecordset::FindNext(const std::string& criteria) {
    leaveEdit();
    // From a deleted record the search starts at the row that followed it.
    if (std::exchange(onDeleted_, false)) rows_->FindFromCurrent(criteria);
    else rows_->FindNext(criteria);
}
void TableRecordset::MoveFirst() {
    leaveEdit();
    onDeleted_ = false;
    rows_->MoveFirst();
}
void TableRecordset::MoveNext() {
    leaveEdit();
    // The deleted record's place is already on the row that followed it.
    if (std::exchange(onDeleted_, false)) return;
    rows_->MoveNext();
}
void TableRecordset::MoveLast() {
    leaveEdit();
    onDeleted_ = false;
    rows_->MoveLast();
}

void TableRecordset::AddNew() {
    db_.requireOpen();
    mode_ = Mode::Add;
    editConflict_ = 0;
    buffer_.assign(static_cast<std::size_t>(rows_->Fields().Count()), Value{});
    for (int i = 0; i < rows_->Fields().Count(); ++i) rows_->Fields()[i].SetValue(Value{});
}

void TableRecordset::Edit() {
    db_.requireOpen();
    if (onDeleted_) throw Error(kErrRecordDeleted, "Record is deleted.");
    const long row = rows_->currentRow();
    if (row < 0) throw Error(kErrNoCurrentRecord, "No current record.");
    mode_ = Mode::Edit;
    editConflict_ = 0;
    editRow_ = static_cast<std::size_t>(row);
    editing_ = locations_[editRow_];
    buffer_.clear();
    for (int i = 0; i < rows_->Fields().Count(); ++i) buffer_.push_back(rows_->Fields()[i].Value());
}

void TableRecordset::SetValue(const std::string& field, const jet::Value& value) {
    if (mode_ == Mode::None) noEdit();
    Field& f = rows_->Fields()[field];  // 3265 when absent
    for (int i = 0; i < rows_->Fields().Count(); ++i)
        if (&rows_->Fields()[i] == &f) buffer_[static_cast<std::size_t>(i)] = value;
    f.SetValue(value);
}

void TableRecordset::Update() {
    db_.requireOpen();
    if (mode_ == Mode::None) noEdit();
    if (editConflict_ == kErrRecordDeleted) throw Error(kErrRecordDeleted, "Record is deleted.");
    if (editConflict_)
        throw Error(kErrWriteConflict, "The database engine stopped the process because you and another user are "
                                       "attempting to change the same data at the same time.");
    write::PageStore store(*db_.file);
    RelatedWrites writes(db_, store);
    if (mode_ == Mode::Add) writes.insert(tdefPage_, buffer_);
    else writes.replace(tdefPage_, editing_, buffer_, rowValues(editRow_));
    writes.saveDefinitions();
    db_.commit(store);
    // After AddNew the record that was current stays current; after Edit
    // the edited record does, wherever the index now puts it.
    leaveEdit();
    db_.publish(writes.committed());
}

void TableRecordset::CancelUpdate() {
    if (mode_ == Mode::None) noEdit();
    leaveEdit();
    const long row = rows_->currentRow();
    if (row >= 0) rows_->moveToRow(static_cast<std::size_t>(row));
}

void TableRecordset::Delete() {
    db_.requireOpen();
    leaveEdit();
    if (onDeleted_) throw Error(kErrRecordDeleted, "Record is deleted.");
    const long row = rows_->currentRow();
    if (row < 0) throw Error(kErrNoCurrentRecord, "No current record.");
    const auto at = static_cast<std::size_t>(row);
    write::PageStore store(*db_.file);
    RelatedWrites writes(db_, store);
    writes.remove(tdefPage_, locations_[at], rowValues(at));
    writes.saveDefinitions();
    db_.commit(store);
    // As in DAO the deleted record stays current until a move: MoveNext
    // goes on to the row that followed it, so that a loop deleting and
    // moving on deletes every row.
    onDeleted_ = true;
    db_.publish(writes.committed());
}

void TableRecordset::reread() {
    if (!rows_) return;
    leaveEdit();
    onDeleted_ = false;
    try {
        load(rows_->currentRow());
    } catch (const Error&) {
        // The table went with the rollback.
        rows_->Close();
    }
}

void TableRecordset::follow(const CommittedRows& rows) {
    if (!rows_ || !rows.definitions.count(tdefPage_)) return;
    try {
        applyChanges(rows);
    } catch (const Error&) {
        // Rows that cannot be matched up: read the table as the file has it.
        leaveEdit();
        load(rows_->currentRow());
    }
}

// What happened to each row, the new values read back from the row as
// stored (auto-numbers, converted values). A row changed more than once in
// one commit (a cascade through a table related to itself) counts once.
void TableRecordset::applyChanges(const CommittedRows& rows) {
    std::map<std::uint32_t, std::optional<storage::RowPointer>> fate;  // row read before -> where now
    std::map<std::uint32_t, std::uint32_t> origin;                     // where now -> row read before
    std::vector<storage::RowPointer> added;
    for (const auto& c : rows.changes) {
        if (c.table != tdefPage_) continue;
        if (c.before.isNull()) {
            added.push_back(c.after);
            continue;
        }
        auto fresh = std::find(added.begin(), added.end(), c.before);
        if (fresh != added.end()) {
            if (c.after.isNull()) added.erase(fresh);
            else *fresh = c.after;
            continue;
        }
        std::uint32_t first = c.before.stored();
        if (auto it = origin.find(first); it != origin.end()) {
            first = it->second;
            origin.erase(it);
        }
        if (!c.after.isNull()) origin[c.after.stored()] = first;
        fate[first] = c.after.isNull() ? std::nullopt : std::optional(c.after);
    }
    storage::TableReader reader(*db_.file, *rows.definitions.at(tdefPage_));
    auto valuesAt = [&](storage::RowPointer where) {
        auto row = reader.readAt(where);
        if (!row) throw Error(kErrNoCurrentRecord, "No current record.", "a written row is not on the file");
        return std::move(row->values);
    };
    for (const auto& [before, after] : fate) {
        auto it = rowNumbers_.find(before);
        if (it == rowNumbers_.end()) throw Error(kErrNoCurrentRecord, "No current record.", "an unknown row changed");
        const std::size_t row = it->second;
        rowNumbers_.erase(it);
        if (mode_ == Mode::Edit && editRow_ == row) editConflict_ = after ? kErrWriteConflict : kErrRecordDeleted;
        if (!after) {
            rows_->removeRow(row);
            continue;
        }
        rows_->replaceRow(row, valuesAt(*after));
        locations_[row] = *after;
        rowNumbers_[after->stored()] = row;
    }
    for (auto where : added) {
        const std::size_t row = rows_->addRow(valuesAt(where));
        locations_.resize(row + 1);
        locations_[row] = where;
        rowNumbers_[where.stored()] = row;
    }
}

void TableRecordset::Close() {
    leaveEdit();
    follower_.reset();
    rows_->Close();
}

}  // namespace jet::dao
