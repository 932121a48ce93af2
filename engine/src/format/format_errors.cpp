#include "format/format_errors.h"

#include <cerrno>

namespace jet::format {

jet::Error fileNotFound(const std::string& path) {
    return jet::Error(kErrFileNotFound, "Could not find file '" + path + "'.", path);
}

jet::Error fileInUse(const std::string& path) {
    return jet::Error(kErrFileInUse, "Couldn't use '" + path + "'; file already in use.", path);
}

jet::Error noPermission(const std::string& path) {
    return jet::Error(kErrNoPermission,
                      "The database engine cannot open the file '" + path +
                          "'. It is already opened exclusively by another user, or you need "
                          "permission to view its data.",
                      path);
}

jet::Error notValidPassword(const std::string& path) {
    return jet::Error(kErrPassword, "Not a valid password.", path);
}

jet::Error unrecognizedFormat(const std::string& path, const std::string& context) {
    return jet::Error(kErrUnrecognizedFormat, "Unrecognized database format '" + path + "'.",
                      context.empty() ? path : path + ": " + context);
}

jet::Error damagedDatabase(const std::string& path, const std::string& context) {
    return jet::Error(kErrDamaged,
                      "Can't open database '" + path +
                          "'. It may not be a database that your application recognizes, or the "
                          "file may be corrupt.",
                      path.empty() ? context : path + ": " + context);
}

jet::Error writeFailed(int error, const std::string& path) {
    // A quota or a file size limit stops a write as a full disk does.
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return jet::Error(kErrDiskFull, "Not enough space on disk.", path);
    if (error == EACCES || error == EPERM || error == EROFS) return noPermission(path);
    return jet::Error(kErrDiskOrNetwork, "Disk or network error.", path);
}

jet::Error unfinishedWrite(const std::string& path, const std::string& journal) {
    return jet::Error(kErrDamaged,
                      "The database '" + path + "' has an unfinished write. Open it once with write access to undo it.",
                      journal);
}

}  // namespace jet::format
