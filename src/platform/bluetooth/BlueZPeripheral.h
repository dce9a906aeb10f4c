#pragma once

#include <QString>

#include "platform/bluetooth/BluetoothPeripheral.h"

namespace keyloom {

class BlueZCentral;

// A BlueZ device object (org.bluez.Device1) as a peripheral; its requests go through its central.
class BlueZPeripheral : public BluetoothPeripheral {
  public:
    BlueZPeripheral(std::weak_ptr<BlueZCentral> central, QString path);

    std::optional<std::string> name() const override;
    std::string identifier() const override { return path_.toStdString(); }
    const QString& path() const { return path_; }

    void discoverServices(const std::vector<BluetoothUUID>& uuids) override;
    void discoverCharacteristics(const std::vector<BluetoothUUID>& uuids, const BluetoothServiceRef& service) override;
    void readValue(const BluetoothCharacteristicRef& characteristic) override;

    // For the central: store a discovery's result and hand the answers to the delegate.
    void completeServices(std::vector<BluetoothServiceRef> services) { setServices(std::move(services)); }
    using BluetoothPeripheral::answerCharacteristics;
    using BluetoothPeripheral::answerServices;
    using BluetoothPeripheral::answerValue;

  private:
    std::weak_ptr<BlueZCentral> central_;
    QString path_;
};

}  // namespace keyloom
