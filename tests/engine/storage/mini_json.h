// A small JSON reader for the corpus reference files: enough of the grammar
// for objects, arrays, strings (with \u escapes), numbers, true/false/null.
// Throws std::runtime_error on malformed input.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace testjson {

struct Value;
using Object = std::vector<std::pair<std::string, Value>>;  // keeps key order
using Array = std::vector<Value>;

struct Value {
    std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<Array>, std::shared_ptr<Object>> v;

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(v); }
    bool boolean() const { return std::get<bool>(v); }
    double number() const { return std::get<double>(v); }
    const std::string& str() const { return std::get<std::string>(v); }
    const Array& array() const { return *std::get<std::shared_ptr<Array>>(v); }
    const Object& object() const { return *std::get<std::shared_ptr<Object>>(v); }
    const Value& operator[](const std::string& key) const {
        for (const auto& [k, val] : object())
            if (k == key) return val;
        throw std::runtime_error("no key " + key);
    }
    bool has(const std::string& key) const {
        for (const auto& [k, val] : object())
            if (k == key) return true;
        return false;
    }
};

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    Value parse() {
        Value v = value();
        ws();
        if (i_ != s_.size()) fail("trailing characters");
        return v;
    }

private:
    [[noreturn]] void fail(const char* what) { throw std::runtime_error(std::string("json: ") + what + " at " + std::to_string(i_)); }
    void ws() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
    }
    bool eat(char c) {
        ws();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!eat(c)) fail("unexpected character");
    }
    bool word(const char* w) {
        std::string t(w);
        if (s_.compare(i_, t.size(), t) == 0) {
            i_ += t.size();
            return true;
        }
        return false;
    }
    static void utf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    std::uint32_t hex4() {
        if (i_ + 4 > s_.size()) fail("short \\u escape");
        std::uint32_t c = std::stoul(s_.substr(i_, 4), nullptr, 16);
        i_ += 4;
        return c;
    }
    std::string string() {
        expect('"');
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) fail("bad escape");
            char e = s_[i_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                std::uint32_t c1 = hex4();
                if (c1 >= 0xD800 && c1 < 0xDC00 && word("\\u")) {
                    std::uint32_t c2 = hex4();
                    c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
                }
                utf8(out, c1);
                break;
            }
            default: out += e;
            }
        }
        expect('"');
        return out;
    }
    Value value() {
        ws();
        if (i_ >= s_.size()) fail("unexpected end");
        char c = s_[i_];
        if (c == '{') {
            ++i_;
            auto obj = std::make_shared<Object>();
            if (!eat('}')) {
                do {
                    ws();
                    std::string key = string();
                    expect(':');
                    obj->emplace_back(key, value());
                } while (eat(','));
                expect('}');
            }
            return Value{obj};
        }
        if (c == '[') {
            ++i_;
            auto arr = std::make_shared<Array>();
            if (!eat(']')) {
                do arr->push_back(value());
                while (eat(','));
                expect(']');
            }
            return Value{arr};
        }
        if (c == '"') return Value{string()};
        if (word("true")) return Value{true};
        if (word("false")) return Value{false};
        if (word("null")) return Value{nullptr};
        std::size_t used = 0;
        double d = std::stod(s_.substr(i_, 40), &used);
        if (used == 0) fail("bad number");
        i_ += used;
        return Value{d};
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

inline Value parse(const std::string& text) { return Parser(text).parse(); }

}  // namespace testjson
