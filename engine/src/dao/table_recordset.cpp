#include "dao/table_recordset.h"

#include "dao/database_impl.h"
#include "storage/table_reader.h"
#include "write/page_store.h"
#include "write/table_writer.h"

namespace jet::dao {
namespace {

[[noreturn]] void noEdit() {
    throw Error(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit.");
}

}  // namespace

TableRecordset::TableRecordset(DatabaseImpl& db, std::string table, std::uint32_t tdefPage, int type)
    : db_(db), table_(std::move(table)), tdefPage_(tdefPage), type_(type) {
    load(0);
}

void TableRecordset::load(long selectRow) {
    int position = -1;
    for (int i = 0; i < db_.tableDefs.Count(); ++i)
        if (namesEqual(db_.tableDefs[i].Name(), table_)) position = i;
    if (position < 0) throw Error(kErrObjectInvalid, "Object invalid or no longer set.");
    const std::string index = rows_ ? rows_->Index() : std::string();
    DatabaseImpl::TableSnapshot snapshot = db_.readTableSnapshot(position);
    locations_ = std::move(snapshot.locations);
    rows_ = std::make_unique<MemoryRecordset>(type_, std::move(snapshot.fields), std::move(snapshot.rows),
                                              std::move(snapshot.indexes));
    if (!index.empty()) rows_->SetIndex(index);
    if (selectRow >= 0) rows_->moveToRow(static_cast<std::size_t>(selectRow));
}

std::uint16_t TableRecordset::codePage() const {
    return db_.file->header().codePage ? db_.file->header().codePage : 1252;
}

const std::vector<Value>& TableRecordset::rowValues(std::size_t row) const { return rows_->rowValues(row); }

void TableRecordset::leaveEdit() {
    mode_ = Mode::None;
    buffer_.clear();
}

// Moving away drops an edit in progress, as DAO does.
void TableRecordset::Seek(const std::string& comparison, const std::vector<jet::Value>& key) {
    leaveEdit();
    rows_->Seek(comparison, key);
}
void TableRecordset::FindFirst(const std::string& criteria) {
    leaveEdit();
    rows_->FindFirst(criteria);
}
void TableRecordset::FindNext(const std::string& criteria) {
    leaveEdit();
    rows_->FindNext(criteria);
}
void TableRecordset::MoveFirst() {
    leaveEdit();
    rows_->MoveFirst();
}
void TableRecordset::MoveNext() {
    leaveEdit();
    rows_->MoveNext();
}
void TableRecordset::MoveLast() {
    leaveEdit();
    rows_->MoveLast();
}

void TableRecordset::AddNew() {
    db_.requireOpen();
    mode_ = Mode::Add;
    buffer_.assign(static_cast<std::size_t>(rows_->Fields().Count()), Value{});
    for (int i = 0; i < rows_->Fields().Count(); ++i) rows_->Fields()[i].SetValue(Value{});
}

void TableRecordset::Edit() {
    db_.requireOpen();
    const long row = rows_->currentRow();
    if (row < 0) throw Error(kErrNoCurrentRecord, "No current record.");
    mode_ = Mode::Edit;
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
    write::PageStore store(*db_.file);
    storage::TableDefinition def = storage::readTableDefinition(*db_.file, tdefPage_);
    write::TableWriter writer(store, def, codePage());
    storage::RowPointer where;
    if (mode_ == Mode::Add) where = writer.insert(buffer_);
    else where = writer.replace(editing_, buffer_, &rowValues(editRow_));
    writer.saveDefinition();
    db_.commit(store);
    const Mode done = mode_;
    leaveEdit();
    // The rows in memory follow the write; the new values are read back
    // from the row as stored, which holds auto-numbers and converted values.
    std::optional<storage::Row> stored = storage::TableReader(*db_.file, def).readAt(where);
    if (!stored) return load(-1);  // cannot happen after a commit; read everything to be safe
    // After AddNew the record that was current stays current; after Edit
    // the edited record does, wherever the index now puts it.
    if (done == Mode::Add) {
        rows_->addRow(std::move(stored->values));
        locations_.push_back(where);
    } else {
        rows_->replaceRow(editRow_, std::move(stored->values));
        locations_[editRow_] = where;
    }
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
    const long row = rows_->currentRow();
    if (row < 0) throw Error(kErrNoCurrentRecord, "No current record.");
    const auto at = static_cast<std::size_t>(row);
    write::PageStore store(*db_.file);
    storage::TableDefinition def = storage::readTableDefinition(*db_.file, tdefPage_);
    write::TableWriter writer(store, def, codePage());
    writer.remove(locations_[at], &rowValues(at));
    writer.saveDefinition();
    db_.commit(store);
    // The row that followed the deleted one becomes current.
    rows_->removeRow(at);
}

void TableRecordset::Close() {
    leaveEdit();
    rows_->Close();
}

}  // namespace jet::dao
