#include "text_fix.h"

#include <QString>

namespace subs {

std::string upperCase(const std::string& text) { return QString::fromStdString(text).toUpper().toStdString(); }

std::string lowerCase(const std::string& text) { return QString::fromStdString(text).toLower().toStdString(); }

std::string properCase(const std::string& text) {
    QString result = QString::fromStdString(text);
    bool wordStart = true;
    for (auto& c : result) {
        if (c.isSpace() || c.isNull()) {
            wordStart = true;
        } else {
            if (wordStart) c = c.toUpper();
            wordStart = false;
        }
    }
    return result.toStdString();
}

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string collapseBlankRuns(const std::string& text) {
    std::string result = text;
    std::size_t from = 0;
    while ((from = result.find("  ", from)) != std::string::npos) {
        const std::size_t runEnd = result.find_first_not_of(' ', from);
        const std::size_t runLength = (runEnd == std::string::npos ? result.size() : runEnd) - from;
        result.erase(from + 1, runLength - 1);
        from += 1;
    }
    return result;
}

std::string replaceEach(const std::string& text, const std::string& find, const std::string& replacement) {
    if (find.empty()) return text;
    std::string result = text;
    std::size_t from = 0;
    while ((from = result.find(find, from)) != std::string::npos) {
        result.replace(from, find.size(), replacement);
        from += replacement.size();
    }
    return result;
}

}  // namespace subs
