// A stored or built-in property of a DAO object (Description, Caption, ...).
#pragma once

#include <string>

#include "jet/collection.h"
#include "jet/value.h"

namespace jet {

class Property {
public:
    Property(std::string name, int type, jet::Value value, bool inherited = false)
        : name_(std::move(name)), type_(type), value_(std::move(value)), inherited_(inherited) {}

    const std::string& Name() const { return name_; }
    int Type() const { return type_; }  // a DAO field type code
    const jet::Value& Value() const { return value_; }
    void SetValue(jet::Value v) { value_ = std::move(v); }
    bool Inherited() const { return inherited_; }

private:
    std::string name_;
    int type_;
    jet::Value value_;
    bool inherited_;
};


}  // namespace jet
