#include "FakeBlueZ.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace keyloom::test {

namespace {
const QString kService = QStringLiteral("org.bluez");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
}  // namespace

FakeBlueZ::FakeBlueZ(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<InterfaceMap>();
    qDBusRegisterMetaType<ManagedObjects>();
    bus_.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
    restart();
}

FakeBlueZ::~FakeBlueZ() {
    bus_.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    stop();
}

void FakeBlueZ::stop() {
    if (registered_) bus_.unregisterService(kService);
    registered_ = false;
}

void FakeBlueZ::restart() {
    if (!registered_) registered_ = bus_.registerService(kService);
}

void FakeBlueZ::addInterface(const QString& path, const QString& interface, const QVariantMap& properties) {
    objects_[QDBusObjectPath(path)][interface] = properties;
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesAdded"));
    signal << QVariant::fromValue(QDBusObjectPath(path)) << QVariant::fromValue(InterfaceMap{{interface, properties}});
    bus_.send(signal);
}

void FakeBlueZ::removeInterface(const QString& path, const QString& interface) {
    auto it = objects_.find(QDBusObjectPath(path));
    if (it == objects_.end()) return;
    it->remove(interface);
    if (it->isEmpty()) objects_.erase(it);
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesRemoved"));
    signal << QVariant::fromValue(QDBusObjectPath(path)) << QStringList{interface};
    bus_.send(signal);
}

void FakeBlueZ::setProperty(const QString& path, const QString& interface, const QString& name, const QVariant& value) {
    objects_[QDBusObjectPath(path)][interface][name] = value;
    QDBusMessage signal = QDBusMessage::createSignal(path, kProperties, QStringLiteral("PropertiesChanged"));
    signal << interface << QVariantMap{{name, value}} << QStringList{};
    bus_.send(signal);
}

QString FakeBlueZ::introspect(const QString&) const {
    return QString();
}

bool FakeBlueZ::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString path = message.path();
    const QString interface = message.interface();
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    auto object = objects_.find(QDBusObjectPath(path));

    if (interface == kObjectManager && member == QLatin1String("GetManagedObjects")) {
        connection.send(message.createReply(QVariant::fromValue(objects_)));
    } else if (interface == kProperties && member == QLatin1String("Get") && args.size() == 2 &&
               object != objects_.end() && object->contains(args[0].toString()) &&
               object->value(args[0].toString()).contains(args[1].toString())) {
        const QVariant v = object->value(args[0].toString()).value(args[1].toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(v))));
    } else if (interface == QLatin1String("org.bluez.Device1") && member == QLatin1String("Connect") &&
               object != objects_.end()) {
        ++connectCalls_;
        connection.send(message.createReply());
        setProperty(path, interface, QStringLiteral("Connected"), true);
    } else if (interface == QLatin1String("org.bluez.GattCharacteristic1") && member == QLatin1String("ReadValue") &&
               object != objects_.end()) {
        ++readCalls_;
        if (!readError_.isEmpty())
            connection.send(message.createErrorReply(readError_, QStringLiteral("read refused")));
        else
            connection.send(message.createReply(object->value(interface).value(QStringLiteral("Value"))));
    } else {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                 QStringLiteral("not in the fake")));
    }
    return true;
}

}  // namespace keyloom::test
