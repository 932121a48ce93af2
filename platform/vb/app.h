// VB's App object: the program's folder, title, version numbers and whether
// another copy of the program is already running.
//
// PrevInstance is decided once, on its first use: the first copy takes a
// per-user lock (an flock'ed file, see instance_lock.h) and holds it for the
// rest of its run; a later copy finds the lock taken and answers True. The
// lock is released by the system when the process ends, even after a crash,
// so a stale lock can never keep the program from starting.
#pragma once

#include <memory>
#include <string>

namespace vb {

class InstanceLock;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The folder of the running executable, without a trailing separator.
    std::string Path() const;
    // The executable's file name without folder (Linux names have no ".exe"
    // to drop; a trailing extension, if any, is dropped as VB does).
    std::string EXEName() const;
    std::string Title() const { return "Strux32"; }
    int Major() const { return 3; }
    int Minor() const { return 2; }
    int Revision() const { return 0; }

    // True when another process of the same user holds the instance lock.
    bool PrevInstance();

    // For tests and embedders: the lock's name (default "Strux32"). Changing
    // it releases a lock this process holds, and PrevInstance asks again.
    void setInstanceLockName(const std::string& name);
    // For tests and embedders: a folder that Path() answers instead of the
    // executable's; an empty text restores the executable's folder.
    void setPathOverride(const std::string& folder);

private:
    std::string lockName_ = "Strux32";
    std::string pathOverride_;
    bool decided_ = false;
    bool prevInstance_ = false;
    std::unique_ptr<InstanceLock> lock_;
};

// The one App object of the process.
Application& App();

}  // namespace vb
