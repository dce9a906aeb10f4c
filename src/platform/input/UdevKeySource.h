#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>
#include <string>

#include "platform/input/KeyInputSource.h"
#include "platform/input/UdevHandles.h"

namespace keyloom {

// The common part of the sources that read device nodes found with udev: enumeration, the hot-plug monitor, one
// socket notifier per open device, removal. Everything runs on the main thread's event loop; nothing polls.
class UdevKeySource : public KeyInputSource {
  public:
    ~UdevKeySource() override;

    void schedule(KeyInputHandlers handlers) override;
    void flush() override;

    struct Device {
        virtual ~Device();
        KeyInputDevice info;
        std::string syspath;
        UniqueFd fd;
        std::unique_ptr<QSocketNotifier> notifier;  // released before the fd closes
    };

  protected:
    // Starts following one udev subsystem and opens the devices already present. Returns kKeyCaptureSuccess, or the
    // first failure (kKeyCaptureUnavailable without udev, kKeyCaptureNotPermitted for a device we may not read).
    int startUdev(const char* subsystem);
    bool started() const { return udev_ != nullptr; }

    // Opens one udev device when it matches (through addDevice); returns kKeyCaptureNotPermitted when it matches
    // but cannot be read.
    virtual int openDevice(udev_device* dev) = 0;
    // Reads what the device has waiting into values; returns false when the device is gone.
    virtual bool readDevice(Device& device, std::vector<HidInputValue>& values) = 0;

    bool knows(const std::string& syspath) const;
    void addDevice(std::unique_ptr<Device> device);

  private:
    void startNotifier(Device& device);
    void read(uint64_t id);
    void removeDevice(uint64_t id);
    void onMonitorReadable();

    UdevPtr udev_;
    UdevMonitorPtr monitor_;
    std::unique_ptr<QSocketNotifier> monitorNotifier_;
    std::map<uint64_t, std::unique_ptr<Device>> devices_;
    KeyInputHandlers handlers_;
    bool scheduled_ = false;
};

}  // namespace keyloom
