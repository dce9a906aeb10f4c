#include "platform/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/PrintLine.h"
#include "platform/UserFiles.h"

namespace keyloom {

namespace {

constexpr const char* kSocketName = "velkor-keyloom";

std::optional<uid_t>& fakePeer() {
    static std::optional<uid_t> uid;
    return uid;
}

bool isOwnPeer(qintptr descriptor) {
    const std::optional<uid_t> peer = peerUserId(descriptor);
    return peer && *peer == dataUserId();
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

// False when the path does not fit a socket address.
bool socketAddress(const std::string& path, sockaddr_un& address) {
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Connects; a listener whose queue is full gets half a second to make room (the send time-out bounds a local
// connect as well).
bool connectTo(int fd, const sockaddr_un& address) {
    const timeval limit{0, 500000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// A folder of the user's alone: theirs, and nobody else may enter it.
bool closedToOthers(const char* folder) {
    struct stat st {};
    return ::stat(folder, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == dataUserId() && (st.st_mode & 077) == 0;
}

}  // namespace

std::optional<uid_t> peerUserId(qintptr socketDescriptor) {
    if (fakePeer()) return fakePeer();
    struct ucred credentials {};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
}

void setPeerUserIdForTesting(std::optional<uid_t> uid) {
    fakePeer() = uid;
}

QString defaultInstanceKey() {
    // Not a name in the shared temporary folder that another user could take first.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    QString folder;
    if (runtime && runtime[0] == '/' && closedToOthers(runtime)) {
        folder = QString::fromLocal8Bit(runtime);
    } else {
        folder = QDir::tempPath() + QStringLiteral("/velkor-keyloom-runtime-%1").arg(dataUserId());
    }
    return folder + QLatin1Char('/') + QLatin1String(kSocketName);
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key)) {}

SingleInstance::~SingleInstance() {
    notifier_.reset();
    if (listener_ < 0) return;
    ::close(listener_);
    ::unlink(path_.c_str());  // the next start finds no socket left behind
}

bool SingleInstance::forwardToRunningInstance() {
    if (key_.contains(QLatin1Char('/'))) {
        // The socket's folder must be the user's own: created user-only, another user's refused.
        std::string error;
        if (!makeUserOnlyFolder(QFileInfo(key_).absolutePath().toStdString(), error)) {
            printLine(error + ": running without the single-instance socket");
            return false;
        }
    }
    // A bare name lives in the temporary folder.
    const QString path = key_.contains(QLatin1Char('/')) ? key_ : QDir::tempPath() + QLatin1Char('/') + key_;
    path_ = QFile::encodeName(path).toStdString();
    sockaddr_un address{};
    if (!socketAddress(path_, address)) {
        printLine(key_.toStdString() + ": the name is too long: running without the single-instance socket");
        return false;
    }
    {
        Fd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (probe.get() >= 0 && connectTo(probe.get(), address)) {
            if (isOwnPeer(probe.get())) {
                static constexpr char kActivate[] = "activate\n";
                // Without a signal: a copy that has already hung up must not end this start.
                (void)::send(probe.get(), kActivate, sizeof kActivate - 1, MSG_NOSIGNAL);
                printLine("Velkor Keyloom is already running: its window was brought forward");
                return true;
            }
            // Another user listens on our name: never ask them, and take the name over.
            printLine(key_.toStdString() + " was held by another user's program: taken over");
        }
    }
    listen();
    return false;
}

bool SingleInstance::listen() {
    sockaddr_un address{};
    socketAddress(path_, address);
    Fd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const auto bindName = [&] {
        return ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    };
    bool bound = listener.get() >= 0 && bindName();
    if (!bound && errno == EADDRINUSE) {
        // A socket left by a copy that crashed, or another user's: nobody of ours answered above, so take it over.
        ::unlink(path_.c_str());
        bound = bindName();
    }
    // The user's own starts only (the folder is the user's alone as well).
    const bool listening = bound && ::chmod(path_.c_str(), 0600) == 0 && ::listen(listener.get(), 16) == 0;
    if (!listening) {
        const int error = errno;
        if (bound) ::unlink(path_.c_str());
        printLine(key_.toStdString() + ": " + std::generic_category().message(error) +
                  ": running without the single-instance socket");
        return false;
    }
    listener_ = listener.release();
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { acceptStarts(); });
    return true;
}

void SingleInstance::acceptStarts() {
    for (;;) {
        const Fd start(::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC));
        if (start.get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;  // none left
        }
        // Only a start of the same user may bring the window forward; the connection itself is the request.
        if (isOwnPeer(start.get())) Q_EMIT activationRequested();
    }
}

}  // namespace keyloom
