#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

namespace keyloom {

QString defaultInstanceKey() {
    return QStringLiteral("velkor-keyloom-%1").arg(::getuid());
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::forwardToRunningInstance() {
    {
        QLocalSocket probe;
        probe.connectToServer(key_);
        if (probe.waitForConnected(500)) {
            probe.write("activate\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return true;
        }
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_)) {
        // A socket left by a copy that crashed: nobody answered above, so take it over.
        QLocalServer::removeServer(key_);
        server_->listen(key_);
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            Q_EMIT activationRequested();
        }
    });
    return false;
}

}  // namespace keyloom
