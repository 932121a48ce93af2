#include "registry/regedit4_format.h"

#include <cstdio>
#include <optional>

#include "registry/ansi_code_page.h"

namespace regstore {

namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::string_view kHeader = "REGEDIT4";
// Hex data wraps before this column, as the registry editor's exports do.
constexpr std::size_t kWrapColumn = 77;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool IsControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

// ---- writing ----

std::string Quote(std::string_view ansi) {
    std::string out = "\"";
    for (const char c : win32::AnsiToUtf8(ansi)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// A string the quoted form gives back byte for byte: one terminating zero,
// nothing after it, and no character the one-line form cannot carry.
bool IsPlainText(const Value& v) {
    if (v.type != kRegSz || v.data.empty() || v.data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < v.data.size(); ++i)
        if (v.data[i] == '\0' || IsControl(v.data[i])) return false;
    return true;
}

void AppendHex(std::string& out, std::string line, std::string_view bytes) {
    char piece[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(piece, sizeof piece, "%02x", static_cast<unsigned char>(bytes[i]));
        std::string item = piece;
        if (i + 1 < bytes.size()) item += ',';
        if (line.size() + item.size() > kWrapColumn) {
            out += line + "\\\n";
            line = "  ";
        }
        line += item;
    }
    out += line;
}

void AppendValue(std::string& out, const Value& v) {
    std::string line = v.name.empty() ? std::string("@") : Quote(v.name);
    line += '=';
    if (IsPlainText(v)) {
        out += line + Quote(std::string_view(v.data).substr(0, v.data.size() - 1));
    } else if (v.type == kRegDword && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[i]);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(n));
        out += line + "dword:" + digits;
    } else {
        char prefix[24];
        if (v.type == kRegBinary)
            std::snprintf(prefix, sizeof prefix, "hex:");
        else
            std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.type));
        AppendHex(out, line + prefix, v.data);
    }
    out += '\n';
}

void AppendKey(std::string& out, const Key& key, const std::string& path) {
    out += '[' + path + "]\n";
    for (const Value& v : key.values()) AppendValue(out, v);
    out += '\n';
    for (const Key& sub : key.subKeys()) AppendKey(out, sub, path + '\\' + win32::AnsiToUtf8(sub.name()));
}

// ---- reading ----

// UTF-8 text of the file to code-page bytes; nullopt when a character has no
// place in the code page, so that such a line counts as damaged rather than
// being changed silently.
std::optional<std::string> ToAnsi(std::string_view utf8) {
    std::string ansi = win32::Utf8ToAnsi(utf8);
    if (win32::AnsiToUtf8(ansi) != utf8) return std::nullopt;
    return ansi;
}

// Reads a quoted text starting at s[pos] == '"'; leaves pos after the closing
// quote. An unknown escape keeps its backslash, as the registry editor does.
std::optional<std::string> ReadQuoted(std::string_view s, std::size_t& pos) {
    std::string text;
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return ToAnsi(text);
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            text += s[++i];
            continue;
        }
        text += c;
    }
    return std::nullopt;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ReadHexNumber(std::string_view s, std::size_t maxDigits) {
    s = Trim(s);
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::uint32_t n = 0;
    for (const char c : s) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    return n;
}

std::optional<std::string> ReadHexBytes(std::string_view s) {
    std::string bytes;
    s = Trim(s);
    if (s.empty()) return bytes;
    std::size_t start = 0;
    while (start <= s.size()) {
        const std::size_t comma = s.find(',', start);
        const std::string_view item =
            Trim(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        const bool last = comma == std::string_view::npos;
        if (item.empty() && last && start > 0) break;  // a trailing comma
        const auto b = ReadHexNumber(item, 2);
        if (!b) return std::nullopt;
        bytes += static_cast<char>(*b);
        if (last) break;
        start = comma + 1;
    }
    return bytes;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The data after "name=": a quoted text, dword:, hex: or hex(n):.
std::optional<Value> ReadData(std::string_view s) {
    s = Trim(s);
    Value v;
    if (StartsWith(s, "\"")) {
        std::size_t pos = 0;
        auto text = ReadQuoted(s, pos);
        if (!text || !Trim(s.substr(pos)).empty()) return std::nullopt;
        v.type = kRegSz;
        v.data = *text + '\0';
        return v;
    }
    if (StartsWith(s, "dword:")) {
        const auto n = ReadHexNumber(s.substr(6), 8);
        if (!n) return std::nullopt;
        v.type = kRegDword;
        for (int i = 0; i < 4; ++i) v.data += static_cast<char>((*n >> (8 * i)) & 0xFF);
        return v;
    }
    if (StartsWith(s, "hex:")) {
        auto bytes = ReadHexBytes(s.substr(4));
        if (!bytes) return std::nullopt;
        v.type = kRegBinary;
        v.data = std::move(*bytes);
        return v;
    }
    if (StartsWith(s, "hex(")) {
        const std::size_t close = s.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        const auto type = ReadHexNumber(s.substr(4, close - 4), 8);
        auto bytes = ReadHexBytes(s.substr(close + 2));
        if (!type || !bytes) return std::nullopt;
        v.type = *type;
        v.data = std::move(*bytes);
        return v;
    }
    return std::nullopt;
}

// Where a value line's data starts (after "="), with its name; nullopt when
// the line is not a value line.
std::optional<std::pair<std::string, std::size_t>> ReadValueName(std::string_view line) {
    std::string name;
    std::size_t pos = 0;
    if (StartsWith(line, "@")) {
        pos = 1;
    } else {
        auto quoted = ReadQuoted(line, pos);
        if (!quoted || quoted->empty() || !IsStorableValueName(*quoted)) return std::nullopt;
        name = std::move(*quoted);
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    return std::make_pair(std::move(name), pos + 1);
}

// The key path of a section line "[ROOT\a\b]", or nullopt when it names
// another root or a path the registry would refuse.
std::optional<std::vector<std::string>> ReadSection(std::string_view line, std::string_view rootName) {
    if (line.size() < 2 || line.back() != ']') return std::nullopt;
    const std::string_view inner = line.substr(1, line.size() - 2);
    const std::size_t slash = inner.find('\\');
    const std::string_view root = inner.substr(0, slash);
    if (!win32::AnsiEqualNoCase(root, rootName)) return std::nullopt;
    if (slash == std::string_view::npos) return std::vector<std::string>{};
    const auto ansi = ToAnsi(inner.substr(slash + 1));
    if (!ansi || ansi->empty()) return std::nullopt;
    return SplitKeyPath(*ansi);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

Key ParseRegedit4(std::string_view text, std::string_view rootName, ParseReport* report) {
    ParseReport local;
    ParseReport& r = report ? *report : local;
    r = ParseReport{};
    if (StartsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);

    Key root;
    Key* current = nullptr;
    bool headerSeen = false;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i + 1);
        std::string_view line = Trim(lines[i]);
        if (line.empty() || line.front() == ';') continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == kHeader) continue;
            r.missingHeader = true;
        }
        if (line.front() == '[') {
            const auto path = ReadSection(line, rootName);
            current = path ? &root.create(*path) : nullptr;
            if (!path) r.damagedLines.push_back(lineNumber);
            continue;
        }
        const auto name = ReadValueName(line);
        if (!name) {
            r.damagedLines.push_back(lineNumber);
            continue;
        }
        // Long hex data continues on the following lines after a backslash.
        std::string logical(line);
        if (StartsWith(Trim(line.substr(name->second)), "hex")) {
            while (!logical.empty() && logical.back() == '\\' && i + 1 < lines.size()) {
                logical.pop_back();
                logical += Trim(lines[++i]);
            }
        }
        const auto value = ReadData(std::string_view(logical).substr(name->second));
        if (!current || !value) {
            r.damagedLines.push_back(lineNumber);
            continue;
        }
        current->setValue(name->first, value->type, value->data);
    }
    return root;
}

std::string FormatRegedit4(const Key& root, std::string_view rootName) {
    std::string out = std::string(kHeader) + "\n\n";
    AppendKey(out, root, std::string(rootName));
    return out;
}

}  // namespace regstore
