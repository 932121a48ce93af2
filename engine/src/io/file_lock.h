// The operating-system locks that keep openers of one database apart: every
// opener holds a shared lock, and a commit holds the file exclusively while
// it writes. flock converts a lock by dropping it before it asks for the new
// one, so the way back from exclusive to shared can meet another opener that
// took the file in between.
#pragma once

#include <chrono>

namespace jet::io {

// Takes the shared lock, waiting up to `patience` for an opener that holds
// the file exclusively: a commit is over in milliseconds, while a program
// that opened the file exclusively keeps it. False when it was not taken.
bool takeSharedLock(int fd, std::chrono::milliseconds patience = std::chrono::seconds(2));

}  // namespace jet::io
