#include "platform/UserFiles.h"

#include <fcntl.h>
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

}  // namespace

bool makeUserOnlyFolder(const std::string& folder, std::string& error) {
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
    // A folder left by an earlier run may be wider open; narrowing it is best effort (it may not be ours).
    if ((st.st_mode & 07777) != 0700) ::chmod(folder.c_str(), 0700);
    return true;
}

bool makeUserOnlyFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno != EEXIST) {
        error = systemError("cannot create file", path, errno);
        return false;
    }
    // Opening and closing an existing file here could drop the POSIX locks another connection holds on it: only
    // narrow it.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 07777) != 0600)
        ::chmod(path.c_str(), 0600);
    return true;
}

}  // namespace keyloom
