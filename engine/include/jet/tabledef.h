// TableDef: a table of the catalog (system and linked tables included).
#pragma once

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
    bool Updatable() const { return updatable_; }
    // Linked tables: the connect string and the table's name in its source.
    const std::string& Connect() const { return connect_; }
    const std::string& SourceTableName() const { return sourceTableName_; }
    long RecordCount() const { return recordCount_; }
    // Why the table's definition could not be read, naming the page (empty
    // when it was read). Such a table is listed with no fields or indexes,
    // so that one damaged page does not hide the rest of the database.
    const std::string& Damage() const { return damage_; }
    Collection<Field>& Fields() { return fields_; }
    const Collection<Field>& Fields() const { return fields_; }
    Collection<jet::Index>& Indexes() { return indexes_; }
    const Collection<jet::Index>& Indexes() const { return indexes_; }
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }

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

private:
    std::string name_;
    long attributes_ = 0;
    bool updatable_ = true;
    std::string connect_, sourceTableName_;
    long recordCount_ = 0;
    std::string damage_;
    Collection<Field> fields_;
    Collection<jet::Index> indexes_;
    Collection<Property> properties_;
};

}  // namespace jet
