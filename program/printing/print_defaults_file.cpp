#include "printing/print_defaults_file.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>
#include <vector>

#include "files/replacement_file.h"

namespace printing {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::int16_t> parseTabNumber(std::string_view line) {
    const std::string_view number = trimBlanks(line);
    if (number.empty()) return std::nullopt;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [rest, ec] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || rest != end || !std::isfinite(value)) return std::nullopt;
    const double whole = std::nearbyint(value);  // the default rounding mode is half to even
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

namespace {

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

}  // namespace

std::optional<TabSetting> parsePrintDefaults(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.size() < 1 + kTabCount) return std::nullopt;
    TabSetting setting;
    setting.fontName = std::string(trimBlanks(lines[0]));
    if (setting.fontName.empty()) return std::nullopt;
    for (int i = 0; i < kTabCount; ++i) {
        const auto tab = parseTabNumber(lines[static_cast<std::size_t>(i) + 1]);
        if (!tab) return std::nullopt;
        setting.tabs[static_cast<std::size_t>(i)] = *tab;
    }
    return setting;
}

std::string formatPrintDefaults(const TabSetting& setting) {
    std::string text = setting.fontName + "\r\n";
    for (std::int16_t tab : setting.tabs) text += std::to_string(tab) + "\r\n";
    return text;
}

bool writePrintDefaults(const std::filesystem::path& folder, const TabSetting& setting) {
    // Whole or not at all: a reader (the program, another strux) sees the
    // old layout or the new one, never half a file.
    try {
        files::ReplacementFile file(folder / kPrintDefaultsFileName);
        file.write(formatPrintDefaults(setting));
        file.commit();
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

PrintDefaults loadPrintDefaults(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder / kPrintDefaultsFileName;
    if (const auto text = readWholeFile(path)) {
        if (auto setting = parsePrintDefaults(*text)) return {std::move(*setting), PrintDefaults::Source::File};
    }
    if (writePrintDefaults(folder, defaultTabSetting())) {
        if (const auto text = readWholeFile(path)) {
            if (auto setting = parsePrintDefaults(*text))
                return {std::move(*setting), PrintDefaults::Source::Rewritten};
        }
    }
    return {defaultTabSetting(), PrintDefaults::Source::BuiltIn};
}

}  // namespace printing
