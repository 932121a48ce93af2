// A recordset that writes: AddNew / Edit, SetValue, Update, CancelUpdate
// and Delete on a table of an updatable database. Navigation, Seek and
// FindFirst are those of a MemoryRecordset over the table's rows; each
// Update or Delete writes through the engine's TableWriter in one commit
// (indexes kept in step, 3022 on a duplicate key with nothing written) and
// then changes the rows in memory to match, reading back only the row it
// wrote: a bulk load costs no more per row as the table grows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dao/memory_recordset.h"
#include "storage/row_pointer.h"

namespace jet {
class DatabaseImpl;
}

namespace jet::dao {

class TableRecordset : public Recordset {
public:
    TableRecordset(DatabaseImpl& db, std::string table, std::uint32_t tdefPage, int type);

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
    // Throws 3021 without a current record.
    void Edit() override;
    // Throws 3020 outside AddNew / Edit, 3265 for a field the table lacks.
    void SetValue(const std::string& field, const jet::Value& value) override;
    // Throws 3020 outside AddNew / Edit; the engine's errors (3022, 3058,
    // 3421, 3163, 3027) leave the table and the edit buffer as they were.
    void Update() override;
    void CancelUpdate() override;
    // Throws 3021 without a current record.
    void Delete() override;
    void Close() override;

private:
    enum class Mode { None, Add, Edit };
    void load(long selectRow);
    void leaveEdit();
    std::uint16_t codePage() const;
    const std::vector<Value>& rowValues(std::size_t row) const;

    DatabaseImpl& db_;
    std::string table_;
    std::uint32_t tdefPage_;
    int type_;
    std::unique_ptr<MemoryRecordset> rows_;
    std::vector<storage::RowPointer> locations_;  // by row number of rows_
    Mode mode_ = Mode::None;
    std::vector<Value> buffer_;
    storage::RowPointer editing_;
    std::size_t editRow_ = 0;
};

}  // namespace jet::dao
