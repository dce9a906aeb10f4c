#include "platform/input/KeyCaptureManager.h"

#include <cassert>

#include "platform/MainThread.h"
#include "platform/input/EvdevKeySource.h"
#include "platform/input/HidrawVendorSource.h"
#include "platform/input/QtKeyEventSource.h"

namespace keyloom {

KeyCaptureManager::KeyCaptureManager(std::vector<std::unique_ptr<KeyInputSource>> sources)
    : sources_(std::move(sources)) {}

KeyCaptureManager::~KeyCaptureManager() = default;

std::unique_ptr<KeyCaptureManager> KeyCaptureManager::createDefault() {
    std::vector<std::unique_ptr<KeyInputSource>> sources;
    sources.push_back(std::make_unique<EvdevKeySource>());
    sources.push_back(std::make_unique<HidrawVendorSource>());
    sources.push_back(std::make_unique<QtKeyEventSource>());
    return std::make_unique<KeyCaptureManager>(std::move(sources));
}

void KeyCaptureManager::setDeviceMatchingMultiple(std::vector<HidUsageMatch> matching) {
    matching_ = std::move(matching);
}

void KeyCaptureManager::registerDeviceMatchingCallback(DeviceCallback callback, void* context) {
    matchingCallback_ = {callback, context};
}

void KeyCaptureManager::registerDeviceRemovalCallback(DeviceCallback callback, void* context) {
    removalCallback_ = {callback, context};
}

void KeyCaptureManager::registerInputValueCallback(InputValueCallback callback, void* context) {
    valueCallback_ = {callback, context};
}

int KeyCaptureManager::open() {
    int result = kKeyCaptureSuccess;
    for (auto& source : sources_) {
        const int r = source->open(matching_);
        if (r != kKeyCaptureSuccess && result == kKeyCaptureSuccess) result = r;
    }
    opened_ = true;
    return result;
}

void KeyCaptureManager::scheduleWithMainLoop() {
    assert(isMainThread());
    if (scheduled_) return;
    scheduled_ = true;
    if (!opened_) return;  // an unopened manager delivers nothing, as the platform's
    for (size_t i = 0; i < sources_.size(); ++i) {
        KeyInputHandlers handlers;
        handlers.matched = [this](const KeyInputDevice& device) {
            if (matchingCallback_.first)
                matchingCallback_.first(matchingCallback_.second, kKeyCaptureSuccess, this, device);
        };
        handlers.removed = [this, i](const KeyInputDevice& device) { onRemoved(i, device); };
        handlers.value = [this, i](const KeyInputDevice& device, const HidInputValue& v) { onValue(i, device, v); };
        handlers.sync = [this] { sync(); };
        sources_[i]->schedule(std::move(handlers));
    }
}

void KeyCaptureManager::sync() {
    if (syncing_) return;
    syncing_ = true;
    for (auto& source : sources_) source->flush();
    syncing_ = false;
}

void KeyCaptureManager::onValue(size_t source, const KeyInputDevice& device, const HidInputValue& value) {
    update({source, device.id}, {value.usagePage, value.usage}, value.integerValue);
}

void KeyCaptureManager::onRemoved(size_t source, const KeyInputDevice& device) {
    // What a device held when it went away is let go.
    const Holder holder{source, device.id};
    std::vector<Element> held;
    for (const auto& [element, holders] : holders_)
        if (holders.count(holder)) held.push_back(element);
    for (const Element& element : held) update(holder, element, 0);
    if (removalCallback_.first) removalCallback_.first(removalCallback_.second, kKeyCaptureSuccess, this, device);
}

void KeyCaptureManager::update(const Holder& holder, const Element& element, int64_t value) {
    auto& holders = holders_[element];
    if (value != 0)
        holders[holder] = value;
    else
        holders.erase(holder);

    // A new non-zero value is reported as it is; a release only when nobody else still holds the element.
    int64_t merged = value;
    if (value == 0 && !holders.empty()) merged = holders.begin()->second;
    if (holders.empty()) holders_.erase(element);

    const auto it = reported_.find(element);
    const int64_t previous = it == reported_.end() ? 0 : it->second;
    if (merged == previous) return;
    if (merged == 0)
        reported_.erase(it);
    else
        reported_[element] = merged;
    if (valueCallback_.first)
        valueCallback_.first(valueCallback_.second, kKeyCaptureSuccess, this,
                             HidInputValue{element.first, element.second, merged});
}

}  // namespace keyloom
