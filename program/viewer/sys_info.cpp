#include "viewer/sys_info.h"

#include <filesystem>

namespace viewer {

namespace {
constexpr std::uint32_t kLocalMachine = 0x80000002u;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
}  // namespace

std::optional<std::string> sysInfoProgram(const KeyValueReader& getKeyValue,
                                          const std::function<bool(const std::string&)>& fileExists) {
    std::string value;
    if (getKeyValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value)) return value;
    if (getKeyValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value)) {
        const std::string program = (std::filesystem::path(value) / "MSINFO32.EXE").string();
        if (fileExists(program)) return program;
    }
    return std::nullopt;
}

std::optional<std::string> registryValueText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (type == kRegSz) {
        std::string text(data.begin(), data.end());
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
    if (type == kRegDword) {
        if (data.size() < 4) return std::nullopt;
        const std::uint32_t raw = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
                                  (static_cast<std::uint32_t>(data[2]) << 16) |
                                  (static_cast<std::uint32_t>(data[3]) << 24);
        return std::to_string(static_cast<std::int32_t>(raw));
    }
    return std::nullopt;
}

}  // namespace viewer
