// Cost of storing one keyboard's per-key colours (91 keys + 4 LED groups) as one user action, on the disk:
//   per statement   - every DELETE and INSERT commits by itself (190 commits),
//   per operation   - insertKeyRGB without a caller's scope (its pair commits together: 95 commits),
//   one transaction - the editor's way: one Transaction around the action (1 commit);
// then the open of the store (with its damage check), how long an action takes to fail while another connection
// holds the write lock, and the open and first read of a profile in a folder made read-only: read as it is, and read
// through a private copy when changes are still in its log; while another program holds the write lock; and, as root,
// on a full disk (a small tmpfs mounted for it): an existing profile, and one that does not exist yet.
// Usage: bench_storage [folder] [rounds]. The folder (default: the current one) must lie on the disk to measure;
// a temporary data home is made inside it and removed afterwards.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SQLite/DeviceSQLite.h"
#include "SQLite/SQLiteConnection.h"
#include "platform/DataPaths.h"

namespace {

using namespace keyloom;
using Clock = std::chrono::steady_clock;

constexpr const char* kFile = "670046462_device.sqlite3";
constexpr int kKeys = 91;
constexpr int64_t kRadiId = 12;

std::vector<int64_t> actionKeys() {
    std::vector<int64_t> keys;
    for (int64_t k = 4; k < 4 + kKeys; ++k) keys.push_back(k);
    for (int64_t g = 600; g <= 603; ++g) keys.push_back(g);
    return keys;
}

// Write transactions committed to the file at path.
uint64_t changeCounter(const std::string& path) {
    return SQLiteConnection::committedTransactions(path);
}

struct Result {
    double medianMs;
    double minMs;
    uint32_t commitsPerAction;
};

Result measure(const std::string& path, int rounds, const std::function<void(int64_t colour)>& action) {
    std::vector<double> ms;
    uint32_t commits = 0;
    for (int r = 0; r < rounds; ++r) {
        const uint32_t before = changeCounter(path);
        const auto start = Clock::now();
        action(0x010101 * (r % 200 + 1));
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        commits = changeCounter(path) - before;
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), commits};
}

void report(const char* label, const Result& r) {
    std::printf("%-16s %8.2f ms median  %8.2f ms min  %4u commits per action\n", label, r.medianMs, r.minMs,
                r.commitsPerAction);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path base = argc > 1 ? argv[1] : std::filesystem::current_path().string();
    const int rounds = argc > 2 ? std::max(3, std::atoi(argv[2])) : 15;
    std::string home = (base / "keyloom-bench-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    int status = 0;
    {
        bench::QuietStdout quiet;  // the store's own lines
        DeviceSQLite db(kFile);
        quiet.restore();
        if (!db.isConnected() || !db.writeRadiProfile(1)) {
            std::fprintf(stderr, "cannot open the profile database in %s\n", home.c_str());
            status = 1;
        } else {
            const std::string path = databaseFolder() + "/" + kFile;
            const std::vector<int64_t> keys = actionKeys();
            SQLite::Database raw(path, SQLite::OPEN_READWRITE);

            const Result perStatement = measure(path, rounds, [&](int64_t colour) {
                SQLite::Statement remove(raw, R"(DELETE FROM "t_keyrgbdata" WHERE "keyvalue" = ?)");
                SQLite::Statement insert(
                    raw,
                    R"(INSERT INTO "t_keyrgbdata" ("radiId", "profId", "keyvalue", "rgbvalue") VALUES (?, ?, ?, ?))");
                for (int64_t key : keys) {
                    remove.reset();
                    remove.bind(1, key);
                    remove.exec();
                    insert.reset();
                    insert.bind(1, kRadiId);
                    insert.bind(2, int64_t{1});
                    insert.bind(3, key);
                    insert.bind(4, colour);
                    insert.exec();
                }
            });
            const Result perOperation = measure(path, rounds, [&](int64_t colour) {
                for (int64_t key : keys) db.insertKeyRGB({0, kRadiId, 1, key, colour});
            });
            const Result oneTransaction = measure(path, rounds * 4, [&](int64_t colour) {
                Transaction action = db.transaction();
                for (int64_t key : keys) db.insertKeyRGB({0, kRadiId, 1, key, colour});
                action.commit();
            });

            // Opening the store, with its check for damage, as the editor does when it opens.
            std::vector<double> openMs;
            for (int r = 0; r < rounds; ++r) {
                bench::QuietStdout quiet;
                const auto start = Clock::now();
                DeviceSQLite again(kFile);
                openMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
            std::sort(openMs.begin(), openMs.end());
            // The longest a user action stalls the window while another program holds the write lock throughout.
            raw.exec("BEGIN IMMEDIATE");
            const auto lockedStart = Clock::now();
            bool committed = false;
            {
                Transaction action = db.transaction();
                for (int64_t key : keys) db.insertKeyRGB({0, kRadiId, 1, key, 0x123456});
                committed = action.commit();
            }
            const double lockedMs = std::chrono::duration<double, std::milli>(Clock::now() - lockedStart).count();
            raw.exec("ROLLBACK");

            std::printf("one user action: %zu colours (%d keys + 4 groups), data home %s\n", keys.size(), kKeys,
                        home.c_str());
            report("per statement", perStatement);
            report("per operation", perOperation);
            report("one transaction", oneTransaction);
            std::printf("one transaction is %.1fx faster than per statement, %.1fx faster than per operation\n",
                        perStatement.medianMs / oneTransaction.medianMs,
                        perOperation.medianMs / oneTransaction.medianMs);
            std::printf("open (with the damage check) %8.2f ms median\n", openMs[openMs.size() / 2]);
            std::printf("action while another connection holds the write lock: %s after %.1f ms\n",
                        committed ? "committed" : "failed", lockedMs);
        }
    }
    if (status == 0) {
        // As the editor opens a profile: the store, then a read inside a user action.
        const auto openAndRead = [] {
            DeviceSQLite profile(kFile);
            Transaction action = profile.transaction();
            return profile.getConfigData(1, "reportRate");
        };
        const auto medianOpen = [&] {
            std::vector<double> ms;
            std::string read;
            for (int r = 0; r < rounds; ++r) {
                bench::QuietStdout quiet;
                const auto start = Clock::now();
                read = openAndRead();
                ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
            std::sort(ms.begin(), ms.end());
            return std::pair{ms[ms.size() / 2], read};
        };
        namespace fs = std::filesystem;
        const auto writable = medianOpen();
        fs::permissions(databaseFolder(), fs::perms::owner_read | fs::perms::owner_exec);
        const auto readOnly = medianOpen();
        fs::permissions(databaseFolder(), fs::perms::owner_all);
        bench::QuietStdout quiet;    // the store's own lines
        DeviceSQLite writer(kFile);  // its change stays in the log while it is open
        writer.updateConfigData(1, "reportRate", "4");
        quiet.restore();
        fs::permissions(databaseFolder(), fs::perms::owner_read | fs::perms::owner_exec);
        const auto fromLog = medianOpen();
        fs::permissions(databaseFolder(), fs::perms::owner_all);
        std::printf("open and first read, writable folder            %8.2f ms median (read \"%s\")\n", writable.first,
                    writable.second.c_str());
        std::printf("open and first read, read-only folder           %8.2f ms median (read \"%s\")\n", readOnly.first,
                    readOnly.second.c_str());
        std::printf("open and first read, read-only, change in log   %8.2f ms median (read \"%s\")\n", fromLog.first,
                    fromLog.second.c_str());
        writer.updateConfigData(1, "reportRate", "2");
        {
            SQLite::Database other(databaseFolder() + "/" + kFile, SQLite::OPEN_READWRITE);
            other.exec("BEGIN IMMEDIATE");
            const auto locked = medianOpen();
            other.exec("ROLLBACK");
            std::printf("open and first read, another program's lock     %8.2f ms median (read \"%s\")\n", locked.first,
                        locked.second.c_str());
        }
        // A full disk: the profile copied onto a small file system of its own, which is then filled.
        const std::string full = home + "/full";
        fs::create_directories(full);
        if (::mount("keyloom-bench", full.c_str(), "tmpfs", 0, "size=2m") != 0) {
            std::printf("open and first read, full disk: needs root (a tmpfs is mounted for it)\n");
        } else {
            const std::string file = databaseFolder() + "/" + kFile;
            setenv("XDG_DATA_HOME", full.c_str(), 1);
            fs::create_directories(databaseFolder());
            fs::copy_file(file, databaseFolder() + "/" + kFile);
            {
                std::ofstream filler(full + "/filler", std::ios::binary);
                const std::string block(4096, '\0');
                while (filler.write(block.data(), block.size())) {
                }
            }
            const auto existing = medianOpen();
            fs::remove(databaseFolder() + "/" + kFile);
            const auto fresh = medianOpen();
            std::printf("open and first read, full disk                  %8.2f ms median (read \"%s\")\n",
                        existing.first, existing.second.c_str());
            std::printf("open and first read, full disk, no profile yet  %8.2f ms median (read \"%s\")\n", fresh.first,
                        fresh.second.c_str());
            ::umount2(full.c_str(), MNT_DETACH);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return status;
}
