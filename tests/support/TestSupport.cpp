#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace keyloom::test {

TempDataHome::TempDataHome() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "keyloom-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    if (const char* prev = std::getenv("XDG_DATA_HOME")) {
        previous_ = prev;
        hadPrevious_ = true;
    }
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
}

TempDataHome::~TempDataHome() {
    if (hadPrevious_)
        setenv("XDG_DATA_HOME", previous_.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

bool processEventsUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout.count());
    while (!pred()) {
        if (deadline.hasExpired()) return pred();
        // Blocks until an event arrives or 10 ms pass; the tests' own waits only.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void processEventsFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace keyloom::test

namespace keyloom::test {

void damageOpenDatabase(const std::string& path) {
    // Recent pages live in the write-ahead log and the connection trusts its cache while the log's shared index is
    // unchanged, so all three are overwritten, in place: the index is mapped by the connection and must not shrink.
    for (const std::string& file : {path, path + "-wal", path + "-shm"}) {
        std::error_code error;
        const uintmax_t size = std::filesystem::exists(file, error) ? std::filesystem::file_size(file, error) : 0;
        if (file != path && size == 0) continue;
        std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
        if (!out) out.open(file, std::ios::binary | std::ios::out);
        out << std::string(std::max<uintmax_t>(size, 4096), 'x');
    }
}

namespace {

// Failures (and skips) the running test has recorded so far.
int testParts() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? test->result()->total_part_count() : 0;
}

}  // namespace

QuietStdout::QuietStdout() : partsBefore_(testParts()) {
    ::testing::internal::CaptureStdout();
}

QuietStdout::~QuietStdout() {
    finish();
}

std::string QuietStdout::finish() {
    if (!active_) return text_;
    active_ = false;
    text_ = ::testing::internal::GetCapturedStdout();
    if (testParts() != partsBefore_) {
        std::fwrite(text_.data(), 1, text_.size(), stdout);
        std::fflush(stdout);
    }
    return text_;
}

std::vector<std::string> folderState(const std::string& folder) {
    const auto line = [](const std::filesystem::path& path) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return path.filename().string() + " missing";
        std::ostringstream out;
        out << path.filename().string() << " size " << st.st_size << " mode " << std::oct << (st.st_mode & 07777)
            << std::dec << " mtime " << st.st_mtim.tv_sec << "." << st.st_mtim.tv_nsec << " ctime " << st.st_ctim.tv_sec
            << "." << st.st_ctim.tv_nsec;
        return out.str();
    };
    std::vector<std::string> state{line(folder)};
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) state.push_back(line(entry.path()));
    std::sort(state.begin() + 1, state.end());
    return state;
}

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    std::error_code error;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, error);
}

}  // namespace keyloom::test
