// The DAO errors the storage layer raises, with DAO's numbers and texts in
// one place. `path` is the database file as the caller named it.
#pragma once

#include <string>

#include "jet/error.h"

namespace jet::format {

jet::Error fileNotFound(const std::string& path);          // 3024
jet::Error fileInUse(const std::string& path);             // 3045
jet::Error noPermission(const std::string& path);          // 3051
jet::Error notValidPassword(const std::string& path);      // 3031
jet::Error unrecognizedFormat(const std::string& path, const std::string& context = {});  // 3343
// 3049; `context` says what was found damaged and where ("page 7 offset 130: ...").
jet::Error damagedDatabase(const std::string& path, const std::string& context);
// A failed write or sync with `error` (errno): 3026 when the disk, a quota
// or the file size limit is full, 3051 when permission is refused, else 3043.
jet::Error writeFailed(int error, const std::string& path);
// 3049: a commit to `path` was cut short and its journal must be applied,
// which needs write access.
jet::Error unfinishedWrite(const std::string& path, const std::string& journal);

}  // namespace jet::format
