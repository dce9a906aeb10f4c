#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>
#include <QVariantMap>

namespace keyloom::test {

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;

// The part of BlueZ our central reads, exported on a test bus as "org.bluez": GetManagedObjects, Properties.Get
// and GattCharacteristic1.ReadValue over objects set up before the central starts.
class FakeBlueZ : public QDBusVirtualObject {
  public:
    explicit FakeBlueZ(QDBusConnection bus);
    ~FakeBlueZ() override;

    bool registered() const { return registered_; }
    void stop();  // gives up "org.bluez": BlueZ is gone
    void set(const QString& path, const QString& interface, const QVariantMap& properties) {
        objects_[QDBusObjectPath(path)][interface] = properties;
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusConnection bus_;
    ManagedObjects objects_;
    bool registered_ = false;
};

}  // namespace keyloom::test

Q_DECLARE_METATYPE(keyloom::test::InterfaceMap)
Q_DECLARE_METATYPE(keyloom::test::ManagedObjects)
