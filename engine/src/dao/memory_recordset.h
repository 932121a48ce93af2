// A recordset over rows already read into memory: the logic of table-type
// recordsets (an index orders the rows, Seek finds a key) and dynasets
// (FindFirst / FindNext with criteria), apart from where the rows come from.
// Reading only: the editing members raise 3027.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/recordset.h"
#include "jet/types.h"

namespace jet::dao {

// An index the recordset can order by: key columns as positions in the
// row, each ascending or descending. Text is ordered as the database's
// index keys order it (Jet 3's General order differs from Jet 4's, in
// punctuation for one).
struct RecordsetIndex {
    std::string name;
    std::vector<int> columns;
    std::vector<bool> descending;
    bool jet3Text = false;
};

class MemoryRecordset : public Recordset {
public:
    // `fields` describe the columns (Name, Type, Size ...) in row order;
    // every row has one value per field. The recordset starts on the first
    // row (or at EOF when there is none).
    MemoryRecordset(int type, std::vector<std::unique_ptr<Field>> fields, std::vector<std::vector<Value>> rows,
                    std::vector<RecordsetIndex> indexes);

    int Type() const override { return type_; }
    long RecordCount() const override;
    Collection<Field>& Fields() override { return fields_; }

    const std::string& Index() const override { return indexName_; }
    // Orders the rows by that index and moves to the first row. Throws 3800
    // for a name that is not an index of the table, 3251 on a dynaset.
    void SetIndex(const std::string& name) override;
    // Throws 3019 without a current index, 3251 on a dynaset, 3001 for an
    // unknown comparison or more key values than key columns.
    void Seek(const std::string& comparison, const std::vector<jet::Value>& key) override;

    // Throws 3251 on a table-type recordset; 3077 for bad criteria.
    void FindFirst(const std::string& criteria) override;
    void FindNext(const std::string& criteria) override;

    bool NoMatch() const override { return noMatch_; }
    void MoveFirst() override;
    void MoveNext() override;
    void MoveLast() override;
    bool Eof() const override;
    bool Bof() const override;

    void AddNew() override { readOnly(); }
    void Edit() override { readOnly(); }
    void SetValue(const std::string&, const jet::Value&) override { readOnly(); }
    void Update() override { readOnly(); }
    void CancelUpdate() override { readOnly(); }
    void Delete() override { readOnly(); }

    void Close() override;

    // For a recordset that writes through (dao/table_recordset.h): the
    // current row as its number in the rows given, -1 when there is none;
    // and a move onto the row of that number.
    long currentRow() const;
    void moveToRow(std::size_t row);
    // FindNext that may find the current row itself.
    void FindFromCurrent(const std::string& criteria);
    // Rows changed in place, so that a writer need not read the table
    // again. A new row takes the next row number; it goes where the current
    // index puts it (after rows with an equal key), else at the end. A
    // replaced row moves to where its new key puts it; a removed row leaves
    // the order (its number is not reused). The position stays on the same
    // place in the order, so after a removal it is on the row that followed.
    std::size_t addRow(std::vector<Value> values);
    const std::vector<Value>& rowValues(std::size_t row) const { return rows_[row]; }
    void replaceRow(std::size_t row, std::vector<Value> values);
    void removeRow(std::size_t row);

private:
    [[noreturn]] static void readOnly();
    void requireOpen() const;
    void moveTo(long position);
    int compareKey(std::size_t row, const std::vector<Value>& key) const;
    bool indexLess(std::size_t a, std::size_t b) const;
    long placeInOrder(std::size_t row);  // returns its place in the order
    bool findFrom(long start, const std::string& criteria);

    int type_;
    Collection<Field> fields_;
    std::vector<std::vector<Value>> rows_;
    std::vector<RecordsetIndex> indexes_;
    std::string indexName_;
    const RecordsetIndex* index_ = nullptr;
    std::vector<std::size_t> order_;  // row numbers in the current order
    long position_ = 0;               // into order_; -1 = BOF, size = EOF
    long highestVisited_ = -1;        // what a dynaset's RecordCount reports
    bool noMatch_ = false;
    bool open_ = true;
};

}  // namespace jet::dao
