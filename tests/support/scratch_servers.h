// Database servers of the machine (PostgreSQL, MariaDB) started for one
// test in a folder of its own, reached only through a socket in that folder
// (no network port to collide with a parallel test), stopped and removed at
// the end. When the server is not installed or does not start, `why()`
// says so and the test skips.
#pragma once

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "support/command_output.h"
#include "support/temp_folder.h"

namespace testsupport {

struct ShellRun {
    int status;
    std::string output;  // standard output and error together
};

inline ShellRun shellRun(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, "popen failed"};
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    return {::pclose(pipe), output};
}

// The first of `names` that exists.
inline std::string firstExisting(std::initializer_list<std::string> names) {
    for (const auto& name : names)
        if (std::filesystem::exists(name)) return name;
    return {};
}

class ScratchServer {
public:
    ScratchServer() { ::chmod(folder_.path().c_str(), 0755); }
    virtual ~ScratchServer() = default;
    ScratchServer(const ScratchServer&) = delete;
    ScratchServer& operator=(const ScratchServer&) = delete;
    // Why the server is not there to use; empty when it runs.
    const std::string& why() const { return why_; }

protected:
    // Waits up to ten seconds for `ready` to succeed.
    bool waitFor(const std::string& ready) {
        for (int i = 0; i < 100; ++i) {
            if (shellRun(ready).status == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    TempFolder folder_;
    std::string why_;
};

// PostgreSQL from Debian's package: initdb and postgres under
// /usr/lib/postgresql/VERSION/bin. It refuses to run as root; a root test
// runs it as the package's "postgres" user.
class PostgresServer : public ScratchServer {
public:
    PostgresServer() {
        std::string bin;
        if (std::filesystem::is_directory("/usr/lib/postgresql"))
            for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql"))
                if (std::filesystem::exists(entry.path() / "bin/postgres")) bin = (entry.path() / "bin").string();
        if (bin.empty() || !haveTool("psql")) {
            why_ = "PostgreSQL is not installed (Debian package postgresql)";
            return;
        }
        const std::string data = folder_ / "data";
        std::filesystem::create_directory(data);
        if (::geteuid() == 0) {
            const passwd* user = ::getpwnam("postgres");
            if (!user) {
                why_ = "running as root and there is no user 'postgres' to run PostgreSQL as";
                return;
            }
            if (::chown(data.c_str(), user->pw_uid, user->pw_gid) != 0 ||
                ::chown(folder_.path().c_str(), user->pw_uid, user->pw_gid) != 0) {
                why_ = "could not give the server's folder to the user 'postgres'";
                return;
            }
            as_ = "runuser -u postgres -- ";
        }
        const auto init = shellRun(as_ + bin + "/initdb -A trust -U postgres -E UTF8 --no-locale -D " + data);
        if (init.status != 0) {
            why_ = "initdb failed: " + init.output;
            return;
        }
        const auto start = shellRun(as_ + bin + "/pg_ctl -w -t 20 -D " + data + " -l " + (folder_ / "log") +
                                    " -o \"-k " + folder_.path().string() + " -c listen_addresses='' -c fsync=off -p 5432\" start");
        if (start.status != 0) {
            why_ = "PostgreSQL did not start: " + start.output;
            return;
        }
        stop_ = as_ + bin + "/pg_ctl -D " + data + " -m immediate stop";
    }
    ~PostgresServer() override {
        if (!stop_.empty()) shellRun(stop_);
    }
    // psql on the server's database "postgres", stopping at the first error.
    ShellRun psql(const std::string& arguments) const {
        return shellRun("psql -X -q -v ON_ERROR_STOP=1 -h " + folder_.path().string() + " -p 5432 -U postgres -d postgres " + arguments);
    }

private:
    std::string as_, stop_;
};

// MariaDB from Debian's package mariadb-server, without grant tables: the
// test is its only client, through the socket.
class MariaDbServer : public ScratchServer {
public:
    MariaDbServer() {
        const std::string server = firstExisting({"/usr/sbin/mariadbd", "/usr/sbin/mysqld"});
        const std::string install = firstExisting({"/usr/bin/mariadb-install-db", "/usr/bin/mysql_install_db"});
        client_ = firstExisting({"/usr/bin/mariadb", "/usr/bin/mysql"});
        if (server.empty() || install.empty() || client_.empty()) {
            why_ = "MariaDB is not installed (Debian package mariadb-server)";
            return;
        }
        const std::string data = folder_ / "data";
        socket_ = folder_ / "socket";
        const std::string user = ::geteuid() == 0 ? " --user=root" : "";
        const auto init = shellRun(install + " --no-defaults --auth-root-authentication-method=normal --skip-test-db" + user +
                                   " --datadir=" + data);
        if (init.status != 0) {
            why_ = "mariadb-install-db failed: " + init.output;
            return;
        }
        pidFile_ = folder_ / "pid";
        shellRun(server + " --no-defaults --skip-networking --skip-grant-tables --innodb-flush-log-at-trx-commit=0"
                 " --skip-innodb-doublewrite --innodb-flush-method=nosync" + user +
                 " --datadir=" + data + " --socket=" + socket_ + " --pid-file=" + pidFile_ + " --log-error=" +
                 (folder_ / "log") + " >/dev/null 2>&1 &");
        if (!waitFor(client_ + " --no-defaults -S " + socket_ + " -e 'SELECT 1'")) {
            why_ = "MariaDB did not start: " + readLog();
            stop();
            return;
        }
        running_ = true;
    }
    ~MariaDbServer() override { stop(); }
    ShellRun client(const std::string& arguments) const {
        return shellRun(client_ + " --no-defaults -S " + socket_ + " " + arguments);
    }

private:
    std::string readLog() const { return shellRun("tail -5 " + (folder_ / "log")).output; }
    void stop() {
        // The server started in the background writes its id to pid-file;
        // only that process is stopped.
        std::string pid = shellRun("cat " + pidFile_ + " 2>/dev/null").output;
        while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
        if (!pid.empty() && pid.find_first_not_of("0123456789") == std::string::npos) shellRun("kill " + pid + " && while kill -0 " + pid + " 2>/dev/null; do sleep 0.1; done");
        running_ = false;
    }
    std::string client_, socket_, pidFile_;
    bool running_ = false;
};

}  // namespace testsupport
