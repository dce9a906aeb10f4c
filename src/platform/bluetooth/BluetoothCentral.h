#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bluetooth/BluetoothPeripheral.h"

namespace keyloom {

enum class CentralState { unknown, resetting, unsupported, unauthorized, poweredOff, poweredOn };

class BluetoothCentral;

// Receives the central's state changes and connection events, on the main thread.
class CentralDelegate {
  public:
    virtual ~CentralDelegate() = default;
    virtual void centralManagerDidUpdateState(BluetoothCentral& central) = 0;
    virtual void centralManagerDidConnect(BluetoothCentral& central, const BluetoothPeripheralRef& peripheral) = 0;
    virtual void centralManagerDidDisconnectPeripheral(BluetoothCentral& central,
                                                       const BluetoothPeripheralRef& peripheral,
                                                       const std::optional<BluetoothError>& error) = 0;
};

// The Bluetooth LE central: knows the adapter's state and the peripherals the system has connected. Created on the
// main thread; it reports its first state there shortly after creation, and every later event there too.
class BluetoothCentral {
  public:
    virtual ~BluetoothCentral() = default;

    virtual CentralState state() const = 0;
    // The peripherals the system has connected that offer any of these services; empty unless powered on.
    virtual std::vector<BluetoothPeripheralRef> retrieveConnectedPeripherals(
        const std::vector<BluetoothUUID>& services) = 0;
    // Answered by centralManagerDidConnect (a peripheral the system already has connected is connected at once).
    virtual void connect(const BluetoothPeripheralRef& peripheral) = 0;

    // The delegate is not owned.
    void setDelegate(std::weak_ptr<CentralDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<CentralDelegate> delegate() const { return delegate_.lock(); }

  private:
    std::weak_ptr<CentralDelegate> delegate_;
};

// The central of this system: BlueZ on the system bus; with KEYLOOM_SIMULATE set, a simulated central, powered on,
// that has the keyboard "RA VER IV" connected when the list names "bluetooth".
std::shared_ptr<BluetoothCentral> makeBluetoothCentral(std::weak_ptr<CentralDelegate> delegate);

}  // namespace keyloom
