#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/EventFd.h"
#include "platform/hid/HidManager.h"

struct udev;
struct udev_device;
struct udev_monitor;

namespace keyloom {

class LinuxHidDevice;

// The HID manager over hidraw: udev enumerates the nodes present at open() and its monitor reports later ones;
// matched nodes are opened and their input reports read. One epoll set holds the monitor, the nodes and a wake-up
// fd, so pollFd() is readable exactly when dispatch() has work. open() and dispatch() belong to one thread.
class LinuxHidManager : public HidManager {
  public:
    LinuxHidManager();
    ~LinuxHidManager() override;

    int open() override;
    int pollFd() const override { return epoll_; }
    void dispatch() override;

  private:
    struct UdevUnref {
        void operator()(udev* u) const;
        void operator()(udev_monitor* m) const;
    };

    std::shared_ptr<LinuxHidDevice> makeDevice(udev_device* device);
    void add(udev_device* device, bool announceNow);
    void removeSyspath(const std::string& syspath);
    void remove(uint64_t token);
    void receiveMonitorEvents();

    std::unique_ptr<udev, UdevUnref> udev_;
    std::unique_ptr<udev_monitor, UdevUnref> monitor_;
    int epoll_ = -1;
    EventFd pending_;  // readable while enumerated arrivals wait in arrivals_
    std::deque<std::shared_ptr<LinuxHidDevice>> arrivals_;
    std::map<uint64_t, std::shared_ptr<LinuxHidDevice>> devices_;  // by epoll token
    std::map<std::string, uint64_t> tokens_;                       // syspath -> token
    uint64_t nextToken_ = 2;
    bool opened_ = false;
};

}  // namespace keyloom
