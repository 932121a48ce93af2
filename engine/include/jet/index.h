// Index: a logical index of a table.
#pragma once

#include <string>

#include "jet/field.h"

namespace jet {

class Index {
public:
    Index() = default;
    explicit Index(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    bool Primary() const { return primary_; }
    bool Unique() const { return unique_; }
    bool Required() const { return required_; }
    bool IgnoreNulls() const { return ignoreNulls_; }
    // True for the indexes Jet keeps for an enforced relation.
    bool Foreign() const { return foreign_; }
    // Members in key order; Attributes 1 (dbDescending) on a descending one.
    Collection<Field>& Fields() { return fields_; }
    const Collection<Field>& Fields() const { return fields_; }
    // The members as DAO reads Index.Fields as text: "+A;-B".
    std::string FieldsText() const;
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetPrimary(bool v) { primary_ = v; }
    void SetUnique(bool v) { unique_ = v; }
    void SetRequired(bool v) { required_ = v; }
    void SetIgnoreNulls(bool v) { ignoreNulls_ = v; }
    void SetForeign(bool v) { foreign_ = v; }
    // A new member field (DAO's Index.CreateField); append it to Fields().
    std::unique_ptr<Field> CreateField(const std::string& name) const {
        return std::make_unique<Field>(name, 0, 0);
    }

private:
    std::string name_;
    bool primary_ = false, unique_ = false, required_ = false, ignoreNulls_ = false, foreign_ = false;
    Collection<Field> fields_;
    Collection<Property> properties_;
};


}  // namespace jet
