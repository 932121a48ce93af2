#include "jet/connect_string.h"

#include <cctype>

namespace jet {

std::string connectValue(std::string_view connect, std::string_view key) {
    std::size_t at = 0;
    while (at <= connect.size()) {
        std::size_t end = connect.find(';', at);
        if (end == std::string_view::npos) end = connect.size();
        const std::string_view part = connect.substr(at, end - at);
        if (part.size() > key.size() && part[key.size()] == '=') {
            bool same = true;
            for (std::size_t i = 0; same && i < key.size(); ++i)
                same = std::toupper(static_cast<unsigned char>(part[i])) == std::toupper(static_cast<unsigned char>(key[i]));
            if (same) return std::string(part.substr(key.size() + 1));
        }
        at = end + 1;
    }
    return {};
}

}  // namespace jet
