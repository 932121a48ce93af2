// TableDef: a table of the catalog (system and linked tables included).
#pragma once

#include <functional>
#include <string>

#include "jet/field.h"
#include "jet/index.h"

namespace jet {

class TableDef {
public:
    TableDef() = default;
    explicit TableDef(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    long Attributes() const { return attributes_; }
    bool Updatable() const { return read().updatable_; }
    // Linked tables: the connect string and the table's name in its source.
    const std::string& Connect() const { return connect_; }
    const std::string& SourceTableName() const { return sourceTableName_; }
    long RecordCount() const { return read().recordCount_; }
    // Why the table's definition could not be read, naming the page (empty
    // when it was read). Such a table is listed with no fields or indexes,
    // so that one damaged page does not hide the rest of the database.
    const std::string& Damage() const { return read().damage_; }
    Collection<Field>& Fields() { return read().fields_; }
    const Collection<Field>& Fields() const { return read().fields_; }
    Collection<jet::Index>& Indexes() { return read().indexes_; }
    const Collection<jet::Index>& Indexes() const { return read().indexes_; }
    Collection<Property>& Properties() { return read().properties_; }
    const Collection<Property>& Properties() const { return read().properties_; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetAttributes(long v) { attributes_ = v; }
    void SetUpdatable(bool v) { updatable_ = v; }
    void SetConnect(std::string v) { connect_ = std::move(v); }
    void SetSourceTableName(std::string v) { sourceTableName_ = std::move(v); }
    void SetRecordCount(long v) { recordCount_ = v; }
    void SetDamage(std::string v) { damage_ = std::move(v); }

    // New definitions (DAO's TableDef.CreateField / CreateIndex); append
    // them to Fields() / Indexes() before the table is appended.
    std::unique_ptr<Field> CreateField(const std::string& name, int type, long size = 0) const {
        return std::make_unique<Field>(name, type, size);
    }
    std::unique_ptr<jet::Index> CreateIndex(const std::string& name) const {
        return std::make_unique<jet::Index>(name);
    }

    // Engine side: a table listed from the catalog by its name, attributes
    // and link reads the rest (fields, indexes, properties, record count,
    // damage, updatable) the first time any of it is asked for, through
    // `reader`, which replaces the table with the one read. A reader that
    // throws (a database closed since) leaves the table unread, to be
    // read at the next ask.
    void SetReader(std::function<void(TableDef&)> reader) { reader_ = std::move(reader); }
    bool IsRead() const { return !reader_; }

private:
    // The table as read: a listed table is read here on first use. The
    // objects live in collections of non-const objects, so reading through
    // a const accessor changes no object that is const.
    TableDef& read() const {
        auto* self = const_cast<TableDef*>(this);
        if (reader_) {
            auto reader = std::move(self->reader_);
            self->reader_ = nullptr;
            try {
                reader(*self);
            } catch (...) {
                self->reader_ = std::move(reader);
                throw;
            }
        }
        return *self;
    }

    std::string name_;
    long attributes_ = 0;
    bool updatable_ = true;
    std::string connect_, sourceTableName_;
    long recordCount_ = 0;
    std::string damage_;
    Collection<Field> fields_;
    Collection<jet::Index> indexes_;
    Collection<Property> properties_;
    std::function<void(TableDef&)> reader_;
};

}  // namespace jet
