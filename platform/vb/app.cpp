#include "vb/app.h"

#include <filesystem>
#include <system_error>

#include "vb/instance_lock.h"

namespace vb {

namespace {

std::filesystem::path executablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

}  // namespace

Application::Application() = default;
Application::~Application() = default;

std::string Application::Path() const {
    if (!pathOverride_.empty()) return pathOverride_;
    const auto exe = executablePath();
    if (exe.empty()) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string Application::EXEName() const { return executablePath().stem().string(); }

bool Application::PrevInstance() {
    if (!decided_) {
        lock_ = std::make_unique<InstanceLock>(lockName_);
        prevInstance_ = lock_->busy();
        decided_ = true;
    }
    return prevInstance_;
}

void Application::setInstanceLockName(const std::string& name) {
    InstanceLock::checkName(name);  // refuses a bad name before anything changes
    lockName_ = name;
    lock_.reset();
    decided_ = false;
}

void Application::setPathOverride(const std::string& folder) {
    pathOverride_ = folder;
    while (pathOverride_.size() > 1 && pathOverride_.back() == '/') pathOverride_.pop_back();
}

Application& App() {
    static Application app;
    return app;
}

}  // namespace vb
