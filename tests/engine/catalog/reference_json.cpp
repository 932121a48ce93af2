#include "reference_json.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : s_(text) {}

    Json document() {
        Json v = value();
        space();
        if (p_ != s_.size()) fail("trailing text");
        return v;
    }

private:
    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(std::string("JSON: ") + what + " at " + std::to_string(p_));
    }
    void space() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\r' || s_[p_] == '\t')) ++p_;
    }
    bool take(const char* word) {
        std::size_t n = std::char_traits<char>::length(word);
        if (s_.compare(p_, n, word) != 0) return false;
        p_ += n;
        return true;
    }

    Json value() {
        space();
        if (p_ >= s_.size()) fail("unexpected end");
        Json v;
        char c = s_[p_];
        if (c == '{') {
            v.kind_ = Json::Kind::Object;
            ++p_;
            space();
            if (s_[p_] == '}') { ++p_; return v; }
            for (;;) {
                space();
                std::string key = string();
                space();
                if (s_[p_++] != ':') fail("expected ':'");
                v.object_.emplace_back(key, value());
                space();
                if (s_[p_] == ',') { ++p_; continue; }
                if (s_[p_] == '}') { ++p_; return v; }
                fail("expected ',' or '}'");
            }
        }
        if (c == '[') {
            v.kind_ = Json::Kind::Array;
            ++p_;
            space();
            if (s_[p_] == ']') { ++p_; return v; }
            for (;;) {
                v.array_.push_back(value());
                space();
                if (s_[p_] == ',') { ++p_; continue; }
                if (s_[p_] == ']') { ++p_; return v; }
                fail("expected ',' or ']'");
            }
        }
        if (c == '"') {
            v.kind_ = Json::Kind::String;
            v.string_ = string();
            return v;
        }
        if (take("true")) { v.kind_ = Json::Kind::Bool; v.bool_ = true; return v; }
        if (take("false")) { v.kind_ = Json::Kind::Bool; return v; }
        if (take("null")) return v;
        char* end = nullptr;
        v.number_ = std::strtod(s_.c_str() + p_, &end);
        if (end == s_.c_str() + p_) fail("bad value");
        p_ = static_cast<std::size_t>(end - s_.c_str());
        v.kind_ = Json::Kind::Number;
        return v;
    }

    static void utf8(std::string& out, unsigned cp) {
        if (cp < 0x80) out += static_cast<char>(cp);
        else if (cp < 0x800) { out += static_cast<char>(0xC0 | (cp >> 6)); out += static_cast<char>(0x80 | (cp & 0x3F)); }
        else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    unsigned hex4() {
        if (p_ + 4 > s_.size()) fail("short escape");
        unsigned v = static_cast<unsigned>(std::stoul(s_.substr(p_, 4), nullptr, 16));
        p_ += 4;
        return v;
    }

    std::string string() {
        if (s_[p_] != '"') fail("expected string");
        ++p_;
        std::string out;
        while (p_ < s_.size() && s_[p_] != '"') {
            char c = s_[p_++];
            if (c != '\\') { out += c; continue; }
            char e = s_[p_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                unsigned cp = hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF && s_.compare(p_, 2, "\\u") == 0) {
                    p_ += 2;
                    unsigned low = hex4();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                utf8(out, cp);
                break;
            }
            default: out += e;
            }
        }
        if (p_ >= s_.size()) fail("unterminated string");
        ++p_;
        return out;
    }

    const std::string& s_;
    std::size_t p_ = 0;
};

Json Json::parse(const std::string& text) { return JsonParser(text).document(); }

Json Json::parseFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return parse(buffer.str());
}

const Json& Json::operator[](const std::string& key) const {
    static const Json kNull;
    for (const auto& [k, v] : object_)
        if (k == key) return v;
    return kNull;
}

bool Json::has(const std::string& key) const {
    for (const auto& [k, v] : object_)
        if (k == key) return true;
    return false;
}

}  // namespace testsupport
