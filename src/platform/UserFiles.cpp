#include "platform/UserFiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace keyloom {

namespace {

std::string systemError(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

std::optional<uid_t>& userIdForTesting() {
    static std::optional<uid_t> uid;
    return uid;
}

// Refuses a path of another user: they could read what we store, or change it under us.
bool checkOwner(const std::string& path, const struct stat& st, std::string& error) {
    if (st.st_uid == dataUserId()) return true;
    error = path + " is owned by another user";
    return false;
}

}  // namespace

uid_t dataUserId() noexcept {
    return userIdForTesting().value_or(::geteuid());
}

void setDataUserIdForTesting(std::optional<uid_t> uid) noexcept {
    userIdForTesting() = uid;
}

bool ownedByAnotherUser(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_uid != dataUserId();
}

bool makeUserOnlyFolder(const std::string& folder, std::string& error, bool* writable) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
    std::filesystem::create_directories(parent, ec);
    if (ec) {
        error = "cannot create folder " + parent.string() + ": " + ec.message();
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = systemError("cannot create folder", folder, errno);
        return false;
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        error = systemError("cannot create folder", folder, errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = systemError("cannot create folder", folder, ENOTDIR);
        return false;
    }
    if (!checkOwner(folder, st, error)) return false;
    // A folder left wider by an earlier run is narrowed; what the user took away is never given back.
    const mode_t narrowed = st.st_mode & 0700;
    if ((st.st_mode & 07777) != narrowed) ::chmod(folder.c_str(), narrowed);
    if (writable) *writable = (narrowed & S_IWUSR) && (narrowed & S_IXUSR);
    return true;
}

bool makeUserOnlyFile(const std::string& path, std::string& error, bool* writable, bool create) {
    if (writable) *writable = true;
    if (create) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
        if (errno != EEXIST) {
            error = systemError("cannot create file", path, errno);
            return false;
        }
    }
    // Opening and closing an existing file here could drop the POSIX locks another connection holds on it: only
    // look at it and narrow it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = systemError("cannot open file", path, errno);
        return false;
    }
    if (!checkOwner(path, st, error)) return false;
    if (!S_ISREG(st.st_mode)) return true;  // SQLite says what is wrong with it
    const mode_t narrowed = st.st_mode & 0600;
    if ((st.st_mode & 07777) != narrowed) ::chmod(path.c_str(), narrowed);
    if (writable) *writable = narrowed & S_IWUSR;
    return true;
}

bool userMadeReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR);
}

namespace {

// rename() without replacing an existing file.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a hard link fails on an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    return ::unlink(from.c_str()) == 0;
}

}  // namespace

std::string moveAside(const std::string& path, const std::string& suffix, std::span<const char* const> companions,
                      std::string& error) {
    for (int n = 1; n < 100; ++n) {
        const std::string aside = path + suffix + (n == 1 ? "" : "-" + std::to_string(n));
        if (!renameNoReplace(path, aside)) {
            if (errno == EEXIST) continue;
            error = systemError("cannot move", path, errno);
            return {};
        }
        for (const char* companion : companions) {
            // Best effort: what stays behind is only a leftover of the file that was moved.
            struct stat st {};
            if (::lstat((path + companion).c_str(), &st) == 0) renameNoReplace(path + companion, aside + companion);
        }
        return aside;
    }
    error = "cannot move " + path + ": every name for it is taken";
    return {};
}

}  // namespace keyloom
