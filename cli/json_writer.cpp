#include "json_writer.h"

#include <cstdio>

namespace cli {

void JsonWriter::newline() {
    if (indent_ <= 0) return;
    out_ << '\n' << std::string(stack_.size() * static_cast<std::size_t>(indent_), ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!stack_.empty()) {
        if (stack_.back().count++ > 0) out_ << ',';
        newline();
    }
}

void JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    stack_.push_back({true});
}

void JsonWriter::endObject() {
    bool empty = stack_.back().count == 0;
    stack_.pop_back();
    if (!empty) newline();
    out_ << '}';
    if (stack_.empty() && indent_ > 0) out_ << '\n';
}

void JsonWriter::beginArray() {
    beforeValue();
    out_ << '[';
    stack_.push_back({false});
}

void JsonWriter::endArray() {
    bool empty = stack_.back().count == 0;
    stack_.pop_back();
    if (!empty) newline();
    out_ << ']';
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ << '"' << escape(name) << "\":";
    if (indent_ > 0) out_ << ' ';
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
    beforeValue();
    out_ << '"' << escape(text) << '"';
}

void JsonWriter::value(long long number) {
    beforeValue();
    out_ << number;
}

void JsonWriter::value(bool flag) {
    beforeValue();
    out_ << (flag ? "true" : "false");
}

void JsonWriter::null() {
    beforeValue();
    out_ << "null";
}

std::string JsonWriter::escape(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '"': result += "\\\""; break;
            case '\\': result += "\\\\"; break;
            case '\n': result += "\\n"; break;
            case '\r': result += "\\r"; break;
            case '\t': result += "\\t"; break;
            case '\b': result += "\\b"; break;
            case '\f': result += "\\f"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
                    result += buf;
                } else {
                    result += c;
                }
        }
    }
    return result;
}

}  // namespace cli
