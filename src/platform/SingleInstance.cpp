#include "platform/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <cstdlib>

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

SingleInstance::~SingleInstance() = default;

bool SingleInstance::forwardToRunningInstance() {
    if (key_.contains(QLatin1Char('/'))) {
        // The socket's folder must be the user's own: created user-only, another user's refused.
        std::string error;
        if (!makeUserOnlyFolder(QFileInfo(key_).absolutePath().toStdString(), error)) {
            printLine(error + ": running without the single-instance socket");
            return false;
        }
    }
    {
        QLocalSocket probe;
        probe.connectToServer(key_);
        if (probe.waitForConnected(500)) {
            if (isOwnPeer(probe.socketDescriptor())) {
                probe.write("activate\n");
                probe.waitForBytesWritten(500);
                probe.disconnectFromServer();
                printLine("Velkor Keyloom is already running: its window was brought forward");
                return true;
            }
            // Another user listens on our name: never ask them, and take the name over.
            probe.abort();
            printLine(key_.toStdString() + " was held by another user's program: taken over");
        }
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_)) {
        // A socket left by a copy that crashed, or another user's: nobody of ours answered above, so take it over.
        QLocalServer::removeServer(key_);
        if (!server_->listen(key_))
            printLine(key_.toStdString() + ": " + server_->errorString().toStdString() +
                      ": running without the single-instance socket");
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            // Only a start of the same user may bring the window forward.
            if (!isOwnPeer(s->socketDescriptor())) {
                s->abort();
                s->deleteLater();
                continue;
            }
            Q_EMIT activationRequested();
        }
    });
    return false;
}

}  // namespace keyloom
