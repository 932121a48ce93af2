// A small JSON reader for the corpus reference files: enough of JSON for
// their objects, arrays, strings, numbers, booleans and null.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // Throws std::runtime_error on malformed input.
    static Json parse(const std::string& text);
    static Json parseFile(const std::string& path);

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool asBool() const { return bool_; }
    double asNumber() const { return number_; }
    long long asInteger() const { return static_cast<long long>(number_); }
    const std::string& asString() const { return string_; }
    const std::vector<Json>& items() const { return array_; }
    // Members in document order.
    const std::vector<std::pair<std::string, Json>>& members() const { return object_; }
    // A member; a Null value when absent.
    const Json& operator[](const std::string& key) const;
    bool has(const std::string& key) const;

private:
    friend class JsonParser;
    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_;
    std::vector<Json> array_;
    std::vector<std::pair<std::string, Json>> object_;
};

}  // namespace testsupport
