#include "Views/Keyboard/MarrowinEditorContext.h"

#include "SQLite/MarrowinDeviceSQLite.h"
#include "USB/HIDDevice.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/MainThread.h"
#include "platform/SerialWorker.h"

namespace keyloom {

MarrowinEditorContext::MarrowinEditorContext() = default;

MarrowinEditorContext::~MarrowinEditorContext() {
    if (worker_) worker_->waitForIdle();
    worker_.reset();
    cancelMainThreadCalls(this);
}

void MarrowinEditorContext::open(const HidDeviceRef& device) {
    if (deviceComm || !device) return;
    deviceComm = std::make_shared<MarrowinV2>(device);
    const int64_t productId = HIDDevice::integerProperty(device.get(), "ProductID");
    const std::string productName = HIDDevice::textProperty(device.get(), "Product");
    const MarrowinModelChoice choice = chooseMarrowinModel(productName, productId);
    deviceDBfile = choice.deviceDBfile;
    deviceType = choice.deviceType;
    deviceDB = std::make_unique<MarrowinDeviceSQLite>(deviceDBfile);
    worker_ = std::make_unique<SerialWorker>();
}

void MarrowinEditorContext::useLayout(int64_t index) {
    layoutIndex = index;
    model_ = findKeyModel(picture().model);
    if (!model_) {
        caps_.clear();
        return;
    }
    setCurrentKeyMaps(model_->nameMap(), model_->codeMap());
    caps_ = placeCaps(*model_);
}

const KeyNameMap& MarrowinEditorContext::nameMap() const {
    static const KeyNameMap empty;
    return model_ ? model_->nameMap() : empty;
}

const KeyCodeMap& MarrowinEditorContext::codeMap() const {
    static const KeyCodeMap empty;
    return model_ ? model_->codeMap() : empty;
}

void MarrowinEditorContext::exchange(const std::string& kind, std::function<void(MarrowinV2&)> job,
                                     std::function<void()> done) {
    if (!deviceComm || !worker_) return;
    uint64_t generation = 0;
    {
        std::lock_guard lock(latest_->mutex);
        generation = ++latest_->generation[kind];
    }
    worker_->post(
        [this, latest = latest_, channel = deviceComm, kind, generation, job = std::move(job), done = std::move(done)] {
            {
                std::lock_guard lock(latest->mutex);
                if (latest->generation[kind] != generation) return;  // a newer one of this kind is waiting
            }
            job(*channel);
            if (done) runOnMain(this, done);
        });
}

void MarrowinEditorContext::waitForExchanges() {
    if (worker_) worker_->waitForIdle();
}

}  // namespace keyloom
