// A recordset that writes: AddNew / Edit, SetValue, Update, CancelUpdate
// and Delete on a table of an updatable database. Navigation, Seek and
// FindFirst are those of a MemoryRecordset over the table's rows; each
// Update or Delete writes through the engine's TableWriter in one commit
// (indexes kept in step, 3022 on a duplicate key with nothing written; the
// database's enforced relations kept, with the rows they cascade to, in the
// same commit: dao/related_writes.h). Every open recordset on a table a
// commit changed then changes its rows in memory to match, reading back
// only the rows written: a bulk load costs no more per row as the table
// grows.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dao/memory_recordset.h"
#include "dao/row_changes.h"
#include "storage/row_pointer.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::dao {

class TableRecordset : public Recordset {
public:
    TableRecordset(DatabaseImpl& db, std::string table, std::uint32_t tdefPage, int type);
    // The database tells it of commits by its address.
    TableRecordset(const TableRecordset&) = delete;
    TableRecordset& operator=(const TableRecordset&) = delete;

    int Type() const override { return rows_->Type(); }
    long RecordCount() const override { return rows_->RecordCount(); }
    Collection<Field>& Fields() override { return rows_->Fields(); }
    const std::string& Index() const override { return rows_->Index(); }
    void SetIndex(const std::string& name) override { rows_->SetIndex(name); }
    void Seek(const std::string& comparison, const std::vector<jet::Value>& key) override;
    void FindFirst(const std::string& criteria) override;
    void FindNext(const std::string& criteria) override;
    bool NoMatch() const override { return rows_->NoMatch(); }
    void MoveFirst() override;
    void MoveNext() override;
    void MoveLast() override;
    bool Eof() const override { return rows_->Eof(); }
    bool Bof() const override { return rows_->Bof(); }

    void AddNew() override;
    // Throws 3021 without a current record, 3167 on a deleted one.
    void Edit() override;
    // Throws 3020 outside AddNew / Edit, 3265 for a field the table lacks.
    void SetValue(const std::string& field, const jet::Value& value) override;
    // Throws 3020 outside AddNew / Edit; the engine's errors (3022, 3058,
    // 3421, 3163, 3027, and 3201 or 3200 from an enforced relation) leave
    // the database and the edit buffer as they were. 3197 (3167) when
    // another write changed (deleted) the row since Edit: the buffer would
    // undo that change; CancelUpdate and Edit again.
    void Update() override;
    void CancelUpdate() override;
    // Throws 3021 without a current record, 3167 on a record deleted
    // already, 3200 when an enforced relation that does not cascade deletes
    // has rows referring to it. The deleted record stays current until a
    // move; MoveNext (and FindNext) go on from the row that followed it.
    void Delete() override;
    void Close() override;

private:
    enum class Mode { None, Add, Edit };
    class Follower;
    void load(long selectRow);
    // Brings the rows in memory in step with the file after a commit.
    void follow(const CommittedRows& rows);
    void applyChanges(const CommittedRows& rows);
    // Reads the rows again after a rollback, staying on the row number.
    void reread();
    void leaveEdit();
    const std::vector<Value>& rowValues(std::size_t row) const;

    DatabaseImpl& db_;
    std::string table_;
    std::uint32_t tdefPage_;
    int type_;
    bool onDeleted_ = false;  // the current record was deleted: no move since
    std::unique_ptr<MemoryRecordset> rows_;
    std::vector<storage::RowPointer> locations_;  // by row number of rows_
    std::unordered_map<std::uint32_t, std::size_t> rowNumbers_;  // stored row pointer -> row number
    std::shared_ptr<RowChangeListener> follower_;
    Mode mode_ = Mode::None;
    std::vector<Value> buffer_;
    storage::RowPointer editing_;
    std::size_t editRow_ = 0;
    long editConflict_ = 0;  // the error Update owes: the row changed under the edit
};

}  // namespace jet::dao
