// Field: a column of a table, a member of an index or relation, an output
// column of a query, or a column of a recordset's current row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "jet/property.h"
#include "jet/value.h"

namespace jet {

class Field {
public:
    Field() = default;
    Field(std::string name, int type, long size = 0)
        : name_(std::move(name)), size_(static_cast<std::int32_t>(size)), type_(static_cast<std::int16_t>(type)) {}

    const std::string& Name() const { return name_; }
    int Type() const { return type_; }
    // DAO's size: characters for text, bytes for numbers, 0 for memo and OLE.
    long Size() const { return size_; }
    bool Required() const { return required_; }
    bool AllowZeroLength() const { return allowZeroLength_; }
    long Attributes() const { return attributes_; }
    int OrdinalPosition() const { return ordinalPosition_; }
    const std::string& DefaultValue() const { return rare().defaultValue; }
    const std::string& ValidationRule() const { return rare().validationRule; }
    const std::string& ValidationText() const { return rare().validationText; }
    // The matching column of the foreign table (relation fields only).
    const std::string& ForeignName() const { return rare().foreignName; }
    Collection<Property>& Properties() { return properties_; }
    const Collection<Property>& Properties() const { return properties_; }
    // The value in the current row (recordset fields only).
    const jet::Value& Value() const { return rare().value; }

    void SetName(std::string v) { name_ = std::move(v); }
    void SetType(int v) { type_ = static_cast<std::int16_t>(v); }
    void SetSize(long v) { size_ = static_cast<std::int32_t>(v); }
    void SetRequired(bool v) { required_ = v; }
    void SetAllowZeroLength(bool v) { allowZeroLength_ = v; }
    void SetAttributes(long v) { attributes_ = static_cast<std::int32_t>(v); }
    void SetOrdinalPosition(int v) { ordinalPosition_ = v; }
    void SetDefaultValue(std::string v) { setRare(&Rare::defaultValue, std::move(v)); }
    void SetValidationRule(std::string v) { setRare(&Rare::validationRule, std::move(v)); }
    void SetValidationText(std::string v) { setRare(&Rare::validationText, std::move(v)); }
    void SetForeignName(std::string v) { setRare(&Rare::foreignName, std::move(v)); }
    void SetValue(jet::Value v) { setRare(&Rare::value, std::move(v)); }

private:
    // What most fields of a table definition leave empty, held apart so
    // that a database of many tables does not carry it for each field.
    struct Rare {
        std::string defaultValue, validationRule, validationText, foreignName;
        jet::Value value;
    };
    const Rare& rare() const {
        static const Rare kNone;
        return rare_ ? *rare_ : kNone;
    }
    template <class M, class V>
    void setRare(M Rare::*member, V&& v) {
        if (!rare_) {
            if (v == M{}) return;
            rare_ = std::make_unique<Rare>();
        }
        (*rare_).*member = std::forward<V>(v);
    }

    // Narrow members, packed: a database of many tables holds a Field for
    // each of their columns. DAO's sizes and attribute bits fit 32 bits,
    // its type codes 16.
    std::string name_;
    std::int32_t size_ = 0;
    std::int32_t attributes_ = 0;
    int ordinalPosition_ = 0;
    std::int16_t type_ = 0;
    bool required_ = false;
    bool allowZeroLength_ = false;
    Collection<Property> properties_;
    std::unique_ptr<Rare> rare_;
};


}  // namespace jet
