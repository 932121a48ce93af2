#include "dao/table_recordset.h"

#include "dao/database_impl.h"
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

long TableRecordset::rowOf(storage::RowPointer where) const {
    for (std::size_t i = 0; i < locations_.size(); ++i)
        if (locations_[i] == where) return static_cast<long>(i);
    return -1;
}

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
    editing_ = locations_[static_cast<std::size_t>(row)];
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
    const std::uint16_t codePage = db_.file->header().codePage ? db_.file->header().codePage : 1252;
    write::TableWriter writer(store, def, codePage);
    const long before = rows_->currentRow();
    storage::RowPointer where;
    if (mode_ == Mode::Add) where = writer.insert(buffer_);
    else where = writer.replace(editing_, buffer_);
    writer.saveDefinition();
    db_.commit(store);
    const Mode done = mode_;
    leaveEdit();
    // After AddNew the record that was current stays current; after Edit
    // the edited record does, wherever it now lies.
    const storage::RowPointer keep =
        done == Mode::Add ? (before >= 0 ? locations_[static_cast<std::size_t>(before)] : storage::RowPointer{}) : where;
    load(-1);
    const long row = rowOf(keep);
    if (row >= 0) rows_->moveToRow(static_cast<std::size_t>(row));
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
    write::PageStore store(*db_.file);
    storage::TableDefinition def = storage::readTableDefinition(*db_.file, tdefPage_);
    const std::uint16_t codePage = db_.file->header().codePage ? db_.file->header().codePage : 1252;
    write::TableWriter writer(store, def, codePage);
    writer.remove(locations_[static_cast<std::size_t>(row)]);
    writer.saveDefinition();
    db_.commit(store);
    // The row that followed the deleted one becomes current.
    const long next = row + 1 < static_cast<long>(locations_.size()) ? row + 1 : -1;
    const storage::RowPointer keep = next >= 0 ? locations_[static_cast<std::size_t>(next)] : storage::RowPointer{};
    load(-1);
    const long at = rowOf(keep);
    if (at >= 0) rows_->moveToRow(static_cast<std::size_t>(at));
    else if (rows_->RecordCount() > 0 && !rows_->Eof()) rows_->MoveLast(), rows_->MoveNext();
}

void TableRecordset::Close() {
    leaveEdit();
    rows_->Close();
}

}  // namespace jet::dao
