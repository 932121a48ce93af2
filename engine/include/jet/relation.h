// Relation: a relationship between a primary table and a foreign table.
#pragma once

#include <string>

#include "jet/field.h"

namespace jet {

class Relation {
public:
    Relation() = default;
    Relation(std::string name, std::string table, std::string foreignTable)
        : name_(std::move(name)), table_(std::move(table)), foreignTable_(std::move(foreignTable)) {}

    const std::string& Name() const { return name_; }
    const std::string& Table() const { return table_; }  // the primary ("one") side
    const std::string& ForeignTable() const { return foreignTable_; }
    long Attributes() const { return attributes_; }  // dbRelation... bits
    bool PartialReplica() const { return partialReplica_; }
    // Name is the primary table's column, ForeignName the foreign table's.
    Collection<Field>& Fields() { return fields_; }
    const Collection<Field>& Fields() const { return fields_; }
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetTable(std::string v) { table_ = std::move(v); }
    void SetForeignTable(std::string v) { foreignTable_ = std::move(v); }
    void SetAttributes(long v) { attributes_ = v; }
    void SetPartialReplica(bool v) { partialReplica_ = v; }
    // A new member (DAO's Relation.CreateField); set its ForeignName and
    // append it to Fields().
    std::unique_ptr<Field> CreateField(const std::string& name) const {
        return std::make_unique<Field>(name, 0, 0);
    }

private:
    std::string name_, table_, foreignTable_;
    long attributes_ = 0;
    bool partialReplica_ = false;
    Collection<Field> fields_;
    Collection<Property> properties_;
};

}  // namespace jet
