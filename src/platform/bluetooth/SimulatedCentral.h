#pragma once

#include <QObject>
#include <functional>

#include "platform/bluetooth/BluetoothCentral.h"
#include "platform/bluetooth/SimulatedPeripheral.h"

namespace keyloom {

// A central without Bluetooth, for tests and simulated runs: its state and connected peripherals are set by calls,
// and it answers on the main thread's event loop like a real one. Main thread only.
class SimulatedCentral : public QObject,
                         public BluetoothCentral,
                         public std::enable_shared_from_this<SimulatedCentral> {
  public:
    // The first state reaches the delegate shortly after creation, from the event loop.
    static std::shared_ptr<SimulatedCentral> create(std::weak_ptr<CentralDelegate> delegate,
                                                    CentralState initial = CentralState::poweredOn);
    // Powered on, with one connected keyboard "RA VER IV" whose battery level reads as level.
    static std::shared_ptr<SimulatedCentral> createWithKeyboard(std::weak_ptr<CentralDelegate> delegate,
                                                                uint8_t level = 80);
    ~SimulatedCentral() override;

    CentralState state() const override { return state_; }
    std::vector<BluetoothPeripheralRef> retrieveConnectedPeripherals(
        const std::vector<BluetoothUUID>& services) override;
    void connect(const BluetoothPeripheralRef& peripheral) override;

    // Script.
    void setState(CentralState state);
    // A peripheral the system has connected.
    std::shared_ptr<SimulatedPeripheral> addPeripheral(std::optional<std::string> name,
                                                       std::vector<SimulatedGattService> services);
    const std::vector<BluetoothPeripheralRef>& connectRequests() const { return connectRequests_; }

    // Runs fn later on the main thread, unless the central is gone by then.
    void post(std::function<void()> fn);

  private:
    explicit SimulatedCentral(CentralState initial) : state_(initial) {}

    CentralState state_;
    std::vector<std::shared_ptr<SimulatedPeripheral>> peripherals_;
    std::vector<BluetoothPeripheralRef> connectRequests_;
    int nextIdentifier_ = 1;
};

}  // namespace keyloom
