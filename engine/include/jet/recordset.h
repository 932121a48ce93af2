// Recordset: rows of one table, table-type (with an index and Seek) or
// dynaset (with FindFirst).
#pragma once

#include <string>
#include <vector>

#include "jet/field.h"
#include "jet/value.h"

namespace jet {

class Recordset {
public:
    virtual ~Recordset() = default;

    virtual int Type() const = 0;  // dbOpenTable or dbOpenDynaset
    virtual long RecordCount() const = 0;
    // The columns of the table; each Field's Value() is the current row's,
    // Null while there is no current row (at EOF or after a failed Seek).
    virtual Collection<Field>& Fields() = 0;

    // Table-type only: the index that orders the rows and that Seek uses.
    virtual const std::string& Index() const = 0;
    virtual void SetIndex(const std::string& name) = 0;
    // Seek with "=", "<", "<=", ">", ">=" on the current index's key
    // columns; sets NoMatch.
    virtual void Seek(const std::string& comparison, const std::vector<jet::Value>& key) = 0;

    // Dynaset: the first row matching criteria such as "Setting = 'Default'";
    // sets NoMatch.
    virtual void FindFirst(const std::string& criteria) = 0;
    virtual void FindNext(const std::string& criteria) = 0;

    virtual bool NoMatch() const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;
    virtual void MoveLast() = 0;
    // DAO's EOF and BOF ("EOF" itself is a C macro).
    virtual bool Eof() const = 0;
    virtual bool Bof() const = 0;

    // Editing: AddNew or Edit, set values through SetValue, then Update.
    virtual void AddNew() = 0;
    virtual void Edit() = 0;
    virtual void SetValue(const std::string& field, const jet::Value& value) = 0;
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Delete() = 0;

    virtual void Close() = 0;

    // Shorthand for Fields()[name].Value().
    const jet::Value& operator[](const std::string& field) { return Fields()[field].Value(); }
};

}  // namespace jet
