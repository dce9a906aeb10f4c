#include "USB/HIDDeviceMonitor.h"

#include "USB/KeyboardProducts.h"
#include "platform/NotificationCenter.h"

namespace keyloom {

namespace {

constexpr size_t kBatteryReportLength = 32;
constexpr uint8_t kBatteryReportMark = 0xE4;
constexpr size_t kBatteryLevelOffset = 13;

void postDevice(const char* name, const HIDDevice& record) {
    NotificationCenter::defaultCenter().post(name, NotificationDictionary{{"device", record}});
}

void postWireless(const char* name, int64_t type) {
    NotificationCenter::defaultCenter().post(name, NotificationDictionary{{"type", type}});
}

}  // namespace

HIDDeviceMonitor::HIDDeviceMonitor(std::vector<HIDMonitorData> vp, int64_t reportSize, HidBackend backend)
    : vp_(std::move(vp)), reportSize_(reportSize), backend_(backend) {}

HIDDeviceMonitor::~HIDDeviceMonitor() {
    stop();
}

void HIDDeviceMonitor::start() {
    start(std::stop_token{});
}

void HIDDeviceMonitor::start(std::stop_token token) {
    auto manager = HidManager::create(backend_);
    std::vector<HidMatch> matching;
    matching.reserve(vp_.size());
    for (const auto& row : vp_) matching.push_back(HidMatch::product(row.vendorId, row.productId));
    manager->setDeviceMatchingMultiple(std::move(matching));
    // As on the platform, a manager that cannot list devices is not fatal: it simply finds none.
    manager->open();
    manager->registerDeviceMatchingCallback([this](int result, HidManager& sender, const HidHandleRef& device) {
        rawDeviceAdded(result, &sender, device);
    });
    manager->registerDeviceRemovalCallback([this](int result, HidManager& sender, const HidHandleRef& device) {
        rawDeviceRemoved(result, &sender, device);
    });
    {
        std::lock_guard lock(mutex_);
        if (stopRequested_) {
            stopRequested_ = false;
            return;
        }
        running_ = manager.get();
    }
    manager->run(token);
    std::lock_guard lock(mutex_);
    running_ = nullptr;
    stopRequested_ = false;
}

void HIDDeviceMonitor::stop() {
    std::lock_guard lock(mutex_);
    if (running_)
        running_->stop();
    else
        stopRequested_ = true;
}

bool HIDDeviceMonitor::rawDeviceAdded(int32_t, HidManager*, const HidHandleRef& inIOHIDDeviceRef) {
    if (!inIOHIDDeviceRef) return false;
    const HIDDevice record(inIOHIDDeviceRef);
    // Every matched device gets its input-report handler, whatever the classification below.
    inIOHIDDeviceRef->registerInputReportCallback(reportSize_ > 0 ? static_cast<size_t>(reportSize_) : 0,
                                                  &HIDDeviceMonitor::inputCallback);
    return classify(record, Event::Arrival);
}

bool HIDDeviceMonitor::rawDeviceRemoved(int32_t, HidManager*, const HidHandleRef& inIOHIDDeviceRef) {
    if (!inIOHIDDeviceRef) return false;
    const HIDDevice record(inIOHIDDeviceRef);
    return classify(record, Event::Removal);
}

bool HIDDeviceMonitor::classify(const HIDDevice& record, Event event) {
    const KeyboardProduct* product = findProductByIds(record.vendorId, record.productId);
    if (product && (product->kind == ProductKind::BluetoothLink || product->kind == ProductKind::Receiver)) {
        const int64_t type = product->kind == ProductKind::BluetoothLink ? 1 : 2;
        if (event == Event::Arrival)
            postWireless(HIDWirelessConnected, type);
        else
            postWireless(HIDWirelessDisconnected, type + 10);
        return false;
    }
    // A keyboard shows several HID interfaces; only its command interface is announced.
    if (product && product->commandFeatureSize != 0 && record.featureSize != product->commandFeatureSize) return false;
    postDevice(event == Event::Arrival ? HIDDeviceConnected : HIDDeviceDisconnected, record);
    return true;
}

void HIDDeviceMonitor::inputCallback(int, const HidHandleRef& sender, HidReportType, int64_t, const uint8_t* report,
                                     size_t reportLength) {
    if (!sender || !report) return;
    const HIDDevice record(sender);
    const KeyboardProduct* product = findProductByIds(record.vendorId, record.productId);
    if (!product || product->kind != ProductKind::Receiver) return;
    if (reportLength != kBatteryReportLength || report[0] != kBatteryReportMark) return;
    NotificationCenter::defaultCenter().post(
        "WirelessBatteryValue",
        NotificationDictionary{{"type", uint8_t{2}}, {"value", uint8_t{report[kBatteryLevelOffset]}}});
}

}  // namespace keyloom
