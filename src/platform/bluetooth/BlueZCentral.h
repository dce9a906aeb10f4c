#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <map>
#include <set>

#include "platform/bluetooth/BluetoothCentral.h"

class QDBusMessage;

namespace keyloom {

class BlueZPeripheral;

// The central over BlueZ (org.bluez on the system bus, or on the bus given): adapters give the state, Device1
// objects the connected peripherals, GattService1/GattCharacteristic1 objects the services and their reads. Where
// BlueZ keeps the Battery service to itself (Battery1 on the device), the service is shown as 180F with one Battery
// Level characteristic whose read gives Battery1.Percentage. No bus, no BlueZ or no adapter is the state
// "unsupported". Everything is asynchronous and runs on the main thread; nothing polls.
class BlueZCentral : public QObject, public BluetoothCentral, public std::enable_shared_from_this<BlueZCentral> {
    Q_OBJECT
  public:
    static std::shared_ptr<BlueZCentral> create(std::weak_ptr<CentralDelegate> delegate,
                                                const QDBusConnection& bus = QDBusConnection::systemBus());
    ~BlueZCentral() override;

    CentralState state() const override { return state_; }
    std::vector<BluetoothPeripheralRef> retrieveConnectedPeripherals(
        const std::vector<BluetoothUUID>& services) override;
    void connect(const BluetoothPeripheralRef& peripheral) override;

    // Requests of the peripherals.
    std::optional<std::string> deviceName(const QString& path) const;
    void discoverServices(const std::shared_ptr<BlueZPeripheral>& peripheral, std::vector<BluetoothUUID> uuids);
    void discoverCharacteristics(const std::shared_ptr<BlueZPeripheral>& peripheral, std::vector<BluetoothUUID> uuids,
                                 const BluetoothServiceRef& service);
    void readValue(const std::shared_ptr<BlueZPeripheral>& peripheral,
                   const BluetoothCharacteristicRef& characteristic);

  private Q_SLOTS:
    void onInterfacesAdded(const QDBusMessage& message);
    void onInterfacesRemoved(const QDBusMessage& message);
    void onPropertiesChanged(const QDBusMessage& message);
    void onBlueZAppeared();
    void onBlueZVanished();

  private:
    using Interfaces = std::map<QString, QVariantMap>;
    struct PendingDiscovery {
        std::weak_ptr<BlueZPeripheral> peripheral;
        std::vector<BluetoothUUID> uuids;
    };

    explicit BlueZCentral(const QDBusConnection& bus);
    void start();
    void loadObjects();
    void updateState();
    void post(std::function<void()> fn);
    void call(const QDBusMessage& message, std::function<void(const QDBusMessage& reply)> done);
    const QVariantMap* properties(const QString& path, const char* interface) const;
    std::shared_ptr<BlueZPeripheral> peripheralFor(const QString& path);
    void completeServiceDiscoveries();
    bool tryCompleteServiceDiscovery(const QString& device, const PendingDiscovery& pending);
    void deviceDisconnected(const QString& path);

    QDBusConnection bus_;
    QDBusServiceWatcher watcher_;
    std::map<QString, Interfaces> objects_;  // by object path
    bool loaded_ = false;
    uint64_t loadGeneration_ = 0;
    CentralState state_ = CentralState::unknown;
    bool stateReported_ = false;
    std::map<QString, std::shared_ptr<BlueZPeripheral>> peripherals_;
    std::set<QString> connectedByUs_;
    std::map<QString, PendingDiscovery> pendingServices_;  // by device path
};

}  // namespace keyloom
