#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

FullDiskHome::FullDiskHome(size_t bytes) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "keyloom-full-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=700";
    if (::mount("keyloom-test", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        whyNot_ = "a full disk needs a small file system of its own, and mounting one needs root (" +
                  std::string(std::strerror(errno)) + ")";
        return;
    }
    mounted_ = true;
    if (const char* prev = std::getenv("XDG_DATA_HOME")) {
        previous_ = prev;
        hadPrevious_ = true;
    }
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
}

FullDiskHome::~FullDiskHome() {
    if (mounted_) {
        if (hadPrevious_)
            setenv("XDG_DATA_HOME", previous_.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        ::umount2(path_.c_str(), MNT_DETACH);
    }
    ::rmdir(path_.c_str());
}

void FullDiskHome::fill() {
    const std::string filler = path_ + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::string block(4096, '\0');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {  // the last bytes of a partial page
    }
    ::close(fd);
}

void FullDiskHome::makeRoom() {
    ::unlink((path_ + "/filler").c_str());
}

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
}

ReadOnlyFolder::~ReadOnlyFolder() {
    std::error_code error;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, error);
}

}  // namespace keyloom::test
