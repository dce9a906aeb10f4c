#include "platform/bluetooth/BlueZCentral.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QMetaObject>
#include <algorithm>
#include <cassert>

#include "platform/MainThread.h"
#include "platform/bluetooth/BlueZPeripheral.h"

namespace keyloom {

namespace {

const QString kService = QStringLiteral("org.bluez");
const char* const kAdapter = "org.bluez.Adapter1";
const char* const kDevice = "org.bluez.Device1";
const char* const kGattService = "org.bluez.GattService1";
const char* const kGattCharacteristic = "org.bluez.GattCharacteristic1";
const char* const kBattery = "org.bluez.Battery1";
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
// Paths of the Battery service and Battery Level characteristic that BlueZ keeps to itself.
const QString kBatteryServiceSuffix = QStringLiteral("#battery");
const QString kBatteryLevelSuffix = QStringLiteral("#battery-level");

QVariantMap toVariantMap(const QVariant& v) {
    if (v.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
    return v.toMap();
}

std::map<QString, QVariantMap> readInterfaces(const QDBusArgument& arg) {
    std::map<QString, QVariantMap> out;
    arg.beginMap();
    while (!arg.atEnd()) {
        QString name;
        QVariantMap props;
        arg.beginMapEntry();
        arg >> name >> props;
        arg.endMapEntry();
        out[name] = props;
    }
    arg.endMap();
    return out;
}

QString objectPath(const QVariant& v) {
    if (v.canConvert<QDBusObjectPath>()) return v.value<QDBusObjectPath>().path();
    return v.toString();
}

std::optional<BluetoothUUID> uuidOf(const QVariantMap& props) {
    return BluetoothUUID::fromString(props.value(QStringLiteral("UUID")).toString().toStdString());
}

bool wanted(const std::vector<BluetoothUUID>& uuids, const BluetoothUUID& uuid) {
    return uuids.empty() || std::find(uuids.begin(), uuids.end(), uuid) != uuids.end();
}

bool advertises(const QVariantMap& device, const BluetoothUUID& uuid) {
    for (const QString& s : device.value(QStringLiteral("UUIDs")).toStringList())
        if (auto u = BluetoothUUID::fromString(s.toStdString()); u && *u == uuid) return true;
    return false;
}

BluetoothError errorOf(const QDBusMessage& reply) {
    return BluetoothError{(reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString()};
}

}  // namespace

// --- BlueZPeripheral --------------------------------------------------------------------------------------------

BlueZPeripheral::BlueZPeripheral(std::weak_ptr<BlueZCentral> central, QString path)
    : central_(std::move(central)), path_(std::move(path)) {}

std::optional<std::string> BlueZPeripheral::name() const {
    auto central = central_.lock();
    return central ? central->deviceName(path_) : std::nullopt;
}

void BlueZPeripheral::discoverServices(const std::vector<BluetoothUUID>& uuids) {
    if (auto central = central_.lock())
        central->discoverServices(std::static_pointer_cast<BlueZPeripheral>(shared_from_this()), uuids);
}

void BlueZPeripheral::discoverCharacteristics(const std::vector<BluetoothUUID>& uuids,
                                              const BluetoothServiceRef& service) {
    if (auto central = central_.lock())
        central->discoverCharacteristics(std::static_pointer_cast<BlueZPeripheral>(shared_from_this()), uuids, service);
}

void BlueZPeripheral::readValue(const BluetoothCharacteristicRef& characteristic) {
    if (auto central = central_.lock())
        central->readValue(std::static_pointer_cast<BlueZPeripheral>(shared_from_this()), characteristic);
}

// --- BlueZCentral -----------------------------------------------------------------------------------------------

BlueZCentral::BlueZCentral(const QDBusConnection& bus) : bus_(bus) {}

BlueZCentral::~BlueZCentral() = default;

std::shared_ptr<BlueZCentral> BlueZCentral::create(std::weak_ptr<CentralDelegate> delegate,
                                                   const QDBusConnection& bus) {
    assert(isMainThread());
    std::shared_ptr<BlueZCentral> central(new BlueZCentral(bus));
    central->setDelegate(std::move(delegate));
    central->start();
    return central;
}

void BlueZCentral::start() {
    if (!bus_.isConnected()) {
        loaded_ = false;
        updateState();
        return;
    }
    watcher_.setConnection(bus_);
    watcher_.addWatchedService(kService);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &BlueZCentral::onBlueZAppeared);
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &BlueZCentral::onBlueZVanished);
    // Subscribed before the first read, so no change between the two is lost.
    bus_.connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesAdded"), this,
                 SLOT(onInterfacesAdded(QDBusMessage)));
    bus_.connect(kService, QStringLiteral("/"), kObjectManager, QStringLiteral("InterfacesRemoved"), this,
                 SLOT(onInterfacesRemoved(QDBusMessage)));
    bus_.connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(onPropertiesChanged(QDBusMessage)));
    loadObjects();
}

void BlueZCentral::post(std::function<void()> fn) {
    // The central is the context: answers still queued when it goes are dropped.
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

void BlueZCentral::call(const QDBusMessage& message, std::function<void(const QDBusMessage& reply)> done) {
    // The watcher is owned by the central (its parent), so a reply after the central is gone reaches nobody.
    auto* watcher = std::make_unique<QDBusPendingCallWatcher>(bus_.asyncCall(message), this).release();
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->reply());
    });
}

void BlueZCentral::loadObjects() {
    const uint64_t generation = ++loadGeneration_;
    call(QDBusMessage::createMethodCall(kService, QStringLiteral("/"), kObjectManager,
                                        QStringLiteral("GetManagedObjects")),
         [this, generation](const QDBusMessage& reply) {
             if (generation != loadGeneration_) return;  // a newer read is under way
             objects_.clear();
             loaded_ = false;
             if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                 reply.arguments().at(0).canConvert<QDBusArgument>()) {
                 const QDBusArgument arg = reply.arguments().at(0).value<QDBusArgument>();
                 arg.beginMap();
                 while (!arg.atEnd()) {
                     QDBusObjectPath path;
                     arg.beginMapEntry();
                     arg >> path;
                     objects_[path.path()] = readInterfaces(arg);
                     arg.endMapEntry();
                 }
                 arg.endMap();
                 loaded_ = true;
             }
             updateState();
             completeServiceDiscoveries();
         });
}

void BlueZCentral::updateState() {
    CentralState next = CentralState::unsupported;
    if (loaded_) {
        bool anyAdapter = false;
        bool anyPowered = false;
        for (const auto& [path, interfaces] : objects_) {
            auto it = interfaces.find(kAdapter);
            if (it == interfaces.end()) continue;
            anyAdapter = true;
            anyPowered = anyPowered || it->second.value(QStringLiteral("Powered")).toBool();
        }
        if (anyAdapter) next = anyPowered ? CentralState::poweredOn : CentralState::poweredOff;
    }
    if (stateReported_ && next == state_) return;
    state_ = next;
    stateReported_ = true;
    if (state_ != CentralState::poweredOn) {
        connectedByUs_.clear();
        pendingServices_.clear();
    }
    post([this] {
        if (auto d = delegate()) d->centralManagerDidUpdateState(*this);
    });
}

const QVariantMap* BlueZCentral::properties(const QString& path, const char* interface) const {
    auto o = objects_.find(path);
    if (o == objects_.end()) return nullptr;
    auto i = o->second.find(QString::fromLatin1(interface));
    return i == o->second.end() ? nullptr : &i->second;
}

std::optional<std::string> BlueZCentral::deviceName(const QString& path) const {
    const QVariantMap* device = properties(path, kDevice);
    if (!device || !device->contains(QStringLiteral("Name"))) return std::nullopt;
    return device->value(QStringLiteral("Name")).toString().toStdString();
}

std::shared_ptr<BlueZPeripheral> BlueZCentral::peripheralFor(const QString& path) {
    auto& p = peripherals_[path];
    if (!p) p = std::make_shared<BlueZPeripheral>(weak_from_this(), path);
    return p;
}

std::vector<BluetoothPeripheralRef> BlueZCentral::retrieveConnectedPeripherals(
    const std::vector<BluetoothUUID>& services) {
    std::vector<BluetoothPeripheralRef> out;
    if (state_ != CentralState::poweredOn) return out;
    for (const auto& [path, interfaces] : objects_) {
        auto it = interfaces.find(kDevice);
        if (it == interfaces.end() || !it->second.value(QStringLiteral("Connected")).toBool()) continue;
        if (std::any_of(services.begin(), services.end(),
                        [&](const BluetoothUUID& u) { return advertises(it->second, u); }))
            out.push_back(peripheralFor(path));
    }
    return out;
}

void BlueZCentral::connect(const BluetoothPeripheralRef& peripheral) {
    auto p = std::dynamic_pointer_cast<BlueZPeripheral>(peripheral);
    if (!p || state_ != CentralState::poweredOn) return;
    auto known = peripherals_.find(p->path());
    if (known == peripherals_.end() || known->second != p) return;
    const QString path = p->path();
    auto connected = [this, p, path] {
        connectedByUs_.insert(path);
        if (auto d = delegate()) d->centralManagerDidConnect(*this, p);
    };
    const QVariantMap* device = properties(path, kDevice);
    if (device && device->value(QStringLiteral("Connected")).toBool()) {
        // Already connected by the system: we only attach to it.
        post(connected);
        return;
    }
    call(QDBusMessage::createMethodCall(kService, path, QString::fromLatin1(kDevice), QStringLiteral("Connect")),
         [connected](const QDBusMessage& reply) {
             if (reply.type() == QDBusMessage::ReplyMessage ||
                 reply.errorName() == QStringLiteral("org.bluez.Error.AlreadyConnected"))
                 connected();
         });
}

void BlueZCentral::discoverServices(const std::shared_ptr<BlueZPeripheral>& peripheral,
                                    std::vector<BluetoothUUID> uuids) {
    const QString path = peripheral->path();
    if (!properties(path, kDevice)) {
        post([peripheral] { peripheral->answerServices(BluetoothError{"the peripheral is not connected"}); });
        return;
    }
    pendingServices_[path] = PendingDiscovery{peripheral, std::move(uuids)};
    // Answered from the event loop, never from inside the request.
    post([this] { completeServiceDiscoveries(); });
}

void BlueZCentral::completeServiceDiscoveries() {
    for (auto it = pendingServices_.begin(); it != pendingServices_.end();) {
        const QString device = it->first;
        const PendingDiscovery pending = it->second;
        if (tryCompleteServiceDiscovery(device, pending)) {
            // The answer may have started another discovery of the same device: keep that one.
            auto now = pendingServices_.find(device);
            if (now != pendingServices_.end() && now->second.peripheral.lock() == pending.peripheral.lock() &&
                now->second.uuids == pending.uuids)
                pendingServices_.erase(now);
            it = pendingServices_.upper_bound(device);
        } else {
            ++it;
        }
    }
}

bool BlueZCentral::tryCompleteServiceDiscovery(const QString& device, const PendingDiscovery& pending) {
    auto peripheral = pending.peripheral.lock();
    if (!peripheral) return true;
    const QVariantMap* props = properties(device, kDevice);
    if (!props) return false;  // the disconnection answers instead
    if (!props->value(QStringLiteral("ServicesResolved")).toBool()) return false;

    std::vector<BluetoothServiceRef> found;
    std::vector<BluetoothUUID> missing;
    for (const auto& [path, interfaces] : objects_) {
        auto it = interfaces.find(kGattService);
        if (it == interfaces.end() || objectPath(it->second.value(QStringLiteral("Device"))) != device) continue;
        auto uuid = uuidOf(it->second);
        if (uuid && wanted(pending.uuids, *uuid))
            found.push_back(std::make_shared<BluetoothService>(*uuid, peripheral, path.toStdString()));
    }
    const bool gattBattery = std::any_of(found.begin(), found.end(),
                                         [](const BluetoothServiceRef& s) { return s->uuid() == kBatteryServiceUUID; });
    if (!gattBattery && wanted(pending.uuids, kBatteryServiceUUID) && properties(device, kBattery))
        found.push_back(std::make_shared<BluetoothService>(kBatteryServiceUUID, peripheral,
                                                           (device + kBatteryServiceSuffix).toStdString()));
    // A service the device advertises may show up a little after the others (BlueZ's battery support): wait for it.
    for (const BluetoothUUID& u : pending.uuids) {
        const bool have =
            std::any_of(found.begin(), found.end(), [&](const BluetoothServiceRef& s) { return s->uuid() == u; });
        if (!have && advertises(*props, u)) return false;
    }
    peripheral->completeServices(std::move(found));
    peripheral->answerServices(std::nullopt);
    return true;
}

void BlueZCentral::discoverCharacteristics(const std::shared_ptr<BlueZPeripheral>& peripheral,
                                           std::vector<BluetoothUUID> uuids, const BluetoothServiceRef& service) {
    if (!service) return;
    post([this, peripheral, uuids = std::move(uuids), service] {
        const QString path = QString::fromStdString(service->backendPath());
        std::vector<BluetoothCharacteristicRef> found;
        if (path.endsWith(kBatteryServiceSuffix)) {
            const QString device = path.chopped(kBatteryServiceSuffix.size());
            if (!properties(device, kBattery)) {
                peripheral->answerCharacteristics(service, BluetoothError{"the service is gone"});
                return;
            }
            if (wanted(uuids, kBatteryLevelCharacteristicUUID))
                found.push_back(std::make_shared<BluetoothCharacteristic>(
                    kBatteryLevelCharacteristicUUID, service, (device + kBatteryLevelSuffix).toStdString()));
        } else {
            if (!properties(path, kGattService)) {
                peripheral->answerCharacteristics(service, BluetoothError{"the service is gone"});
                return;
            }
            for (const auto& [charPath, interfaces] : objects_) {
                auto it = interfaces.find(kGattCharacteristic);
                if (it == interfaces.end() || objectPath(it->second.value(QStringLiteral("Service"))) != path) continue;
                auto uuid = uuidOf(it->second);
                if (uuid && wanted(uuids, *uuid))
                    found.push_back(std::make_shared<BluetoothCharacteristic>(*uuid, service, charPath.toStdString()));
            }
        }
        service->setCharacteristics(std::move(found));
        peripheral->answerCharacteristics(service, std::nullopt);
    });
}

void BlueZCentral::readValue(const std::shared_ptr<BlueZPeripheral>& peripheral,
                             const BluetoothCharacteristicRef& characteristic) {
    if (!characteristic) return;
    const QString path = QString::fromStdString(characteristic->backendPath());
    if (path.endsWith(kBatteryLevelSuffix)) {
        const QString device = path.chopped(kBatteryLevelSuffix.size());
        QDBusMessage get = QDBusMessage::createMethodCall(kService, device, kProperties, QStringLiteral("Get"));
        get << QString::fromLatin1(kBattery) << QStringLiteral("Percentage");
        call(get, [peripheral, characteristic](const QDBusMessage& reply) {
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
                peripheral->answerValue(characteristic, errorOf(reply));
                return;
            }
            const QVariant v = reply.arguments().at(0).value<QDBusVariant>().variant();
            bool ok = false;
            const uint level = v.toUInt(&ok);
            if (!ok || level > 255) {
                peripheral->answerValue(characteristic, BluetoothError{"unexpected battery percentage"});
                return;
            }
            characteristic->setValue({uint8_t(level)});
            peripheral->answerValue(characteristic, std::nullopt);
        });
        return;
    }
    QDBusMessage read = QDBusMessage::createMethodCall(kService, path, QString::fromLatin1(kGattCharacteristic),
                                                       QStringLiteral("ReadValue"));
    read << QVariantMap{};
    call(read, [peripheral, characteristic](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            peripheral->answerValue(characteristic, errorOf(reply));
            return;
        }
        const QByteArray bytes = reply.arguments().at(0).toByteArray();
        characteristic->setValue(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        peripheral->answerValue(characteristic, std::nullopt);
    });
}

void BlueZCentral::deviceDisconnected(const QString& path) {
    pendingServices_.erase(path);
    if (!connectedByUs_.erase(path)) return;
    auto it = peripherals_.find(path);
    if (it == peripherals_.end()) return;
    BluetoothPeripheralRef p = it->second;
    if (auto d = delegate()) d->centralManagerDidDisconnectPeripheral(*this, p, std::nullopt);
}

void BlueZCentral::onInterfacesAdded(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || !loaded_) return;
    const QString path = objectPath(args.at(0));
    if (!args.at(1).canConvert<QDBusArgument>()) return;
    for (auto& [name, props] : readInterfaces(args.at(1).value<QDBusArgument>())) objects_[path][name] = props;
    updateState();
    completeServiceDiscoveries();
}

void BlueZCentral::onInterfacesRemoved(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || !loaded_) return;
    const QString path = objectPath(args.at(0));
    auto o = objects_.find(path);
    if (o == objects_.end()) return;
    const QStringList removed = args.at(1).toStringList();
    for (const QString& name : removed) o->second.erase(name);
    if (o->second.empty()) objects_.erase(o);
    if (removed.contains(QString::fromLatin1(kDevice))) {
        deviceDisconnected(path);
        peripherals_.erase(path);
    }
    updateState();
}

void BlueZCentral::onPropertiesChanged(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || !loaded_) return;
    const QString path = message.path();
    auto o = objects_.find(path);
    if (o == objects_.end()) return;
    const QString interface = args.at(0).toString();
    auto i = o->second.find(interface);
    if (i == o->second.end()) return;
    const QVariantMap changed = toVariantMap(args.at(1));
    for (auto it = changed.begin(); it != changed.end(); ++it) i->second[it.key()] = it.value();
    if (args.size() > 2)
        for (const QString& gone : args.at(2).toStringList()) i->second.remove(gone);

    if (interface == QLatin1String(kAdapter)) {
        updateState();
    } else if (interface == QLatin1String(kDevice)) {
        if (changed.contains(QStringLiteral("Connected")) && !changed.value(QStringLiteral("Connected")).toBool())
            deviceDisconnected(path);
        else
            completeServiceDiscoveries();
    }
}

void BlueZCentral::onBlueZAppeared() {
    loadObjects();
}

void BlueZCentral::onBlueZVanished() {
    ++loadGeneration_;
    objects_.clear();
    loaded_ = false;
    updateState();
}

}  // namespace keyloom
