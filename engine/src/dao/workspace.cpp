#include "jet/workspace.h"

#include <exception>

#include "dao/database_impl.h"
#include "jet/database.h"
#include "jet/error.h"

namespace jet {

namespace {

constexpr int kMaxTransactionDepth = 5;

[[noreturn]] void noTransaction() {
    throw Error(kErrNoTransaction,
                "You tried to commit or roll back a transaction without first beginning a transaction.");
}

}  // namespace

Workspace::~Workspace() {
    while (depth_ > 0) {
        try {
            Rollback();
        } catch (...) {
            // A catalog that cannot be read again is the database's to report
            // at its next use; the pages are given back all the same.
        }
    }
}

void Workspace::enlist(const std::shared_ptr<Database>& database) {
    std::erase_if(databases_, [](const auto& weak) { return weak.expired(); });
    databases_.push_back(database);
    for (int level = 0; level < depth_; ++level) database->impl().beginTransaction();
}

std::vector<std::shared_ptr<Database>> Workspace::enlisted() {
    std::vector<std::shared_ptr<Database>> open;
    for (const auto& weak : databases_)
        if (auto database = weak.lock(); database && database->IsOpen()) open.push_back(std::move(database));
    return open;
}

void Workspace::BeginTrans() {
    if (depth_ >= kMaxTransactionDepth)
        throw Error(kErrTooManyTransactions, "Could not start transaction; too many transactions already nested.");
    for (const auto& database : enlisted()) database->impl().beginTransaction();
    ++depth_;
}

void Workspace::CommitTrans() {
    if (depth_ == 0) noTransaction();
    std::exception_ptr failure;
    const auto databases = enlisted();
    for (const auto& database : databases) {
        try {
            database->impl().commitTransaction();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure && depth_ == 1) {
        // The databases that were written start the still open level again,
        // empty, so that every database stands at the workspace's depth.
        for (const auto& database : databases)
            if (database->impl().transactionDepth() == 0) database->impl().beginTransaction();
        std::rethrow_exception(failure);
    }
    --depth_;
    if (failure) std::rethrow_exception(failure);
}

void Workspace::Rollback() {
    if (depth_ == 0) noTransaction();
    --depth_;
    std::exception_ptr failure;
    for (const auto& database : enlisted()) {
        try {
            database->impl().rollbackTransaction();
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace jet
