#include "PrivateBus.h"

#include <QFile>

namespace keyloom::test {

PrivateBus::PrivateBus() {
    const QString config = dir_.filePath("bus.conf");
    QFile file(config);
    if (!dir_.isValid() || !file.open(QIODevice::WriteOnly)) return;
    file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                              "<allow own=\"*\"/></policy></busconfig>")
                   .arg(dir_.path())
                   .toUtf8());
    file.close();
    daemon_.start(QStringLiteral("dbus-daemon"), {"--config-file=" + config, "--print-address", "--nofork"});
    if (!daemon_.waitForStarted(10000)) return;
    while (!daemon_.canReadLine())  // the daemon prints its address once it listens
        if (!daemon_.waitForReadyRead(10000)) return;
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    for (const QString& name : connections_) QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) daemon_.kill();
    daemon_.waitForFinished(5000);
}

QDBusConnection PrivateBus::connect(const QString& name) {
    connections_.append(name);
    return QDBusConnection::connectToBus(address_, name);
}

}  // namespace keyloom::test
