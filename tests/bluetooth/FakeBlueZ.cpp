#include "FakeBlueZ.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace keyloom::test {

FakeBlueZ::FakeBlueZ(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<InterfaceMap>();
    qDBusRegisterMetaType<ManagedObjects>();
    bus_.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
    registered_ = bus_.registerService(QStringLiteral("org.bluez"));
}

FakeBlueZ::~FakeBlueZ() {
    bus_.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    stop();
}

void FakeBlueZ::stop() {
    if (registered_) bus_.unregisterService(QStringLiteral("org.bluez"));
    registered_ = false;
}

bool FakeBlueZ::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    const InterfaceMap object = objects_.value(QDBusObjectPath(message.path()));
    if (member == QLatin1String("GetManagedObjects")) {
        connection.send(message.createReply(QVariant::fromValue(objects_)));
    } else if (member == QLatin1String("Get") && args.size() == 2 &&
               object.value(args[0].toString()).contains(args[1].toString())) {
        const QVariant v = object.value(args[0].toString()).value(args[1].toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(v))));
    } else if (member == QLatin1String("ReadValue") && object.contains(message.interface())) {
        connection.send(message.createReply(object.value(message.interface()).value(QStringLiteral("Value"))));
    } else {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                 QStringLiteral("not in the fake")));
    }
    return true;
}

}  // namespace keyloom::test
