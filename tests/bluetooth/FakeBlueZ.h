#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>
#include <QVariantMap>

namespace keyloom::test {

using InterfaceMap = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceMap>;

// The part of BlueZ our central talks to, exported on a test bus as "org.bluez": the object manager with its
// signals, properties with PropertiesChanged, Device1.Connect and GattCharacteristic1.ReadValue.
class FakeBlueZ : public QDBusVirtualObject {
  public:
    explicit FakeBlueZ(QDBusConnection bus);
    ~FakeBlueZ() override;

    bool registered() const { return registered_; }
    // Gives up the name "org.bluez" (BlueZ stops) or takes it again.
    void stop();
    void restart();

    void addInterface(const QString& path, const QString& interface, const QVariantMap& properties);
    void removeInterface(const QString& path, const QString& interface);
    void setProperty(const QString& path, const QString& interface, const QString& name, const QVariant& value);

    // Makes every ReadValue fail with this D-Bus error (empty: succeed).
    void failReads(const QString& errorName) { readError_ = errorName; }
    int connectCalls() const { return connectCalls_; }
    int readCalls() const { return readCalls_; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusConnection bus_;
    ManagedObjects objects_;
    bool registered_ = false;
    QString readError_;
    int connectCalls_ = 0;
    int readCalls_ = 0;
};

// Full 128-bit forms as BlueZ writes them.
inline const QString kBatteryServiceFull = QStringLiteral("0000180f-0000-1000-8000-00805f9b34fb");
inline const QString kBatteryLevelFull = QStringLiteral("00002a19-0000-1000-8000-00805f9b34fb");
inline const QString kHidServiceFull = QStringLiteral("00001812-0000-1000-8000-00805f9b34fb");

}  // namespace keyloom::test

Q_DECLARE_METATYPE(keyloom::test::InterfaceMap)
Q_DECLARE_METATYPE(keyloom::test::ManagedObjects)
