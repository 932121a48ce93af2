// Field: a column of a table, a member of an index or relation, an output
// column of a query, or a column of a recordset's current row.
#pragma once

#include <string>

#include "jet/property.h"
#include "jet/value.h"

namespace jet {

class Field {
public:
    Field() = default;
    Field(std::string name, int type, long size = 0) : name_(std::move(name)), type_(type), size_(size) {}

    const std::string& Name() const { return name_; }
    int Type() const { return type_; }
    // DAO's size: characters for text, bytes for numbers, 0 for memo and OLE.
    long Size() const { return size_; }
    bool Required() const { return required_; }
    bool AllowZeroLength() const { return allowZeroLength_; }
    long Attributes() const { return attributes_; }
    int OrdinalPosition() const { return ordinalPosition_; }
    const std::string& DefaultValue() const { return defaultValue_; }
    const std::string& ValidationRule() const { return validationRule_; }
    const std::string& ValidationText() const { return validationText_; }
    // The matching column of the foreign table (relation fields only).
    const std::string& ForeignName() const { return foreignName_; }
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }
    // The value in the current row (recordset fields only).
    const jet::Value& Value() const { return value_; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetType(int v) { type_ = v; }
    void SetSize(long v) { size_ = v; }
    void SetRequired(bool v) { required_ = v; }
    void SetAllowZeroLength(bool v) { allowZeroLength_ = v; }
    void SetAttributes(long v) { attributes_ = v; }
    void SetOrdinalPosition(int v) { ordinalPosition_ = v; }
    void SetDefaultValue(std::string v) { defaultValue_ = std::move(v); }
    void SetValidationRule(std::string v) { validationRule_ = std::move(v); }
    void SetValidationText(std::string v) { validationText_ = std::move(v); }
    void SetForeignName(std::string v) { foreignName_ = std::move(v); }
    void SetValue(jet::Value v) { value_ = std::move(v); }

private:
    std::string name_;
    int type_ = 0;
    long size_ = 0;
    bool required_ = false;
    bool allowZeroLength_ = false;
    long attributes_ = 0;
    int ordinalPosition_ = 0;
    std::string defaultValue_, validationRule_, validationText_, foreignName_;
    Collection<Property> properties_;
    jet::Value value_;
};


}  // namespace jet
