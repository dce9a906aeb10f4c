#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bluetooth/BluetoothService.h"

namespace keyloom {

class BluetoothPeripheral;
using BluetoothPeripheralRef = std::shared_ptr<BluetoothPeripheral>;

// Receives the answers of a peripheral's requests, on the main thread.
class PeripheralDelegate {
  public:
    virtual ~PeripheralDelegate() = default;
    virtual void peripheralDidDiscoverServices(const BluetoothPeripheralRef& peripheral,
                                               const std::optional<BluetoothError>& error) = 0;
    virtual void peripheralDidDiscoverCharacteristicsFor(const BluetoothPeripheralRef& peripheral,
                                                         const BluetoothServiceRef& service,
                                                         const std::optional<BluetoothError>& error) = 0;
    virtual void peripheralDidUpdateValueFor(const BluetoothPeripheralRef& peripheral,
                                             const BluetoothCharacteristicRef& characteristic,
                                             const std::optional<BluetoothError>& error) = 0;
};

// A Bluetooth LE device as the central sees it. Requests are answered later, through the delegate, on the main
// thread; a request made after the device went away is answered with an error or not at all, never with a crash.
class BluetoothPeripheral : public std::enable_shared_from_this<BluetoothPeripheral> {
  public:
    virtual ~BluetoothPeripheral() = default;

    // The device's name, when it has one.
    virtual std::optional<std::string> name() const = 0;
    virtual std::string identifier() const = 0;

    // The delegate is not owned.
    void setDelegate(std::weak_ptr<PeripheralDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<PeripheralDelegate> delegate() const { return delegate_.lock(); }

    // None until a service discovery completed.
    const std::optional<std::vector<BluetoothServiceRef>>& services() const { return services_; }

    // Only the services (characteristics) of these UUIDs are looked for.
    virtual void discoverServices(const std::vector<BluetoothUUID>& uuids) = 0;
    virtual void discoverCharacteristics(const std::vector<BluetoothUUID>& uuids,
                                         const BluetoothServiceRef& service) = 0;
    virtual void readValue(const BluetoothCharacteristicRef& characteristic) = 0;

  protected:
    void setServices(std::vector<BluetoothServiceRef> services) { services_ = std::move(services); }

    // Hand an answer to the delegate, if there still is one.
    void answerServices(const std::optional<BluetoothError>& error);
    void answerCharacteristics(const BluetoothServiceRef& service, const std::optional<BluetoothError>& error);
    void answerValue(const BluetoothCharacteristicRef& characteristic, const std::optional<BluetoothError>& error);

  private:
    std::weak_ptr<PeripheralDelegate> delegate_;
    std::optional<std::vector<BluetoothServiceRef>> services_;
};

}  // namespace keyloom
