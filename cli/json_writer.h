// A small streaming JSON writer: objects and arrays in order, strings
// escaped, UTF-8 passed through. Enough for `strux dump --json`.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out, int indent = 2) : out_(out), indent_(indent) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next member of the current object.
    void key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(const std::string& text) { value(std::string_view(text)); }
    void value(long long number);
    void value(int number) { value(static_cast<long long>(number)); }
    void value(long number) { value(static_cast<long long>(number)); }
    void value(bool flag);
    void null();

    // key(name) followed by value(v).
    template <class T>
    void member(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

    static std::string escape(std::string_view text);

private:
    void beforeValue();
    void newline();

    struct Level {
        bool isObject;
        int count = 0;
    };
    std::ostream& out_;
    int indent_;
    std::vector<Level> stack_;
    bool afterKey_ = false;
};

}  // namespace cli
