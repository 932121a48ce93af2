#include "userdata/settings_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "files/replacement_file.h"

namespace userdata {

namespace fs = std::filesystem;

namespace {

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies the bytes of `source` into `target`; false on any read or write error.
bool copyBytes(int source, int target) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!writeAll(target, buffer.data(), static_cast<size_t>(got))) return false;
    }
}

bool folderWritable(const fs::path& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

SettingsPlaces settingsPlaces(const fs::path& programFolder, const EnvironmentLookup& environment) {
    SettingsPlaces places;
    places.programFolder = programFolder;
    const fs::path delivered = programFolder.parent_path() / "share" / kFolderName;
    std::error_code error;
    if (fs::is_directory(delivered, error)) places.deliveredFolder = delivered.lexically_normal();

    // A relative XDG_DATA_HOME is invalid by the base directory rules and
    // is ignored.
    const auto dataHome = environment("XDG_DATA_HOME");
    if (dataHome && !dataHome->empty() && fs::path(*dataHome).is_absolute()) {
        places.userFolder = fs::path(*dataHome) / kFolderName;
    } else {
        const auto home = environment("HOME");
        if (home && !home->empty() && fs::path(*home).is_absolute())
            places.userFolder = fs::path(*home) / ".local" / "share" / kFolderName;
    }
    return places;
}

bool usesProgramFolder(const SettingsPlaces& places) {
    if (places.userFolder.empty()) return true;
    return places.deliveredFolder.empty() && folderWritable(places.programFolder);
}

fs::path samplesFolder(const SettingsPlaces& places) {
    if (places.deliveredFolder.empty()) return places.programFolder;
    const fs::path samples = places.deliveredFolder / "samples";
    std::error_code error;
    return fs::is_directory(samples, error) ? samples : places.programFolder;
}

fs::path settingsFolderFor(const SettingsPlaces& places, std::string_view fileName) {
    if (usesProgramFolder(places)) return places.programFolder;
    const fs::path target = places.userFolder / fileName;
    if (isFile(target)) return places.userFolder;

    std::error_code error;
    fs::create_directories(places.userFolder, error);
    if (error) return places.userFolder;
    for (const fs::path& origin : {places.deliveredFolder, places.programFolder}) {
        if (origin.empty() || !isFile(origin / fileName)) continue;
        copyWhole(origin / fileName, target);
        break;
    }
    return places.userFolder;
}

fs::path settingsFolderFor(const fs::path& programFolder, std::string_view fileName) {
    return settingsFolderFor(settingsPlaces(programFolder), fileName);
}

bool copyWhole(const fs::path& from, const fs::path& to) {
    Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (source.get() < 0) return false;
    // The new file is the user's alone (0600), whatever modes the delivered
    // file has: their settings are nobody else's business. Another copy of
    // the program may have made the user's file a moment ago and may
    // already be writing to it: a name that is taken is left alone.
    try {
        files::ReplacementFile target(to, {}, files::ReplacementFile::Temporary::Created, 0600);
        if (!copyBytes(source.get(), target.descriptor())) return false;
        target.commit(files::Replace::Never);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

}  // namespace userdata
