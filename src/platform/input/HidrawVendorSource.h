#pragma once

#include "platform/input/UdevKeySource.h"

namespace keyloom {

// HID interfaces other than keyboards and keypads (the vendor-defined interface of the matching list) through hidraw:
// their input reports are decoded with the interface's report descriptor. Keyboards and keypads come through their
// event devices instead.
class HidrawVendorSource : public UdevKeySource {
  public:
    int open(const std::vector<HidUsageMatch>& matching) override;

    // The matching pairs this source serves: all but keyboards and keypads.
    static std::vector<HidUsageMatch> vendorPairs(const std::vector<HidUsageMatch>& matching);

  protected:
    int openDevice(udev_device* dev) override;
    bool readDevice(Device& device, std::vector<HidInputValue>& values) override;

  private:
    std::vector<HidUsageMatch> matching_;
};

}  // namespace keyloom
