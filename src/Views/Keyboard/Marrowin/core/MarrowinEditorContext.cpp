#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"

#include "SQLite/MarrowinDeviceSQLite.h"
#include "USB/HIDDevice.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/MainThread.h"
#include "platform/SerialWorker.h"

namespace keyloom {

namespace {

// Counts one job handed to the worker for as long as the job exists.
struct PendingTicket {
    explicit PendingTicket(std::shared_ptr<std::atomic<int>> counter) : pending(std::move(counter)) { ++*pending; }
    ~PendingTicket() { --*pending; }
    PendingTicket(const PendingTicket&) = delete;
    PendingTicket& operator=(const PendingTicket&) = delete;
    std::shared_ptr<std::atomic<int>> pending;
};

}  // namespace

MarrowinEditorContext::MarrowinEditorContext() = default;

MarrowinEditorContext::~MarrowinEditorContext() {
    alive_.reset();
    if (!worker_) return;
    if (*pending_ == 0) return;  // an idle worker is joined at once
    // The worker finishes what the user asked for without holding up the window.
    SerialWorker::retire(std::move(worker_), std::move(deviceComm));
}

void MarrowinEditorContext::open(const HidHandleRef& device) {
    if (deviceComm || !device) return;
    deviceComm = std::make_shared<MarrowinV2>(device);
    const int64_t productId = integerProperty(*device, "ProductID");
    const std::string productName = textProperty(*device, "Product");
    choice_ = chooseMarrowinModel(productName, productId);
    deviceDBfile = choice_.deviceDBfile;
    deviceType = choice_.deviceType;
    deviceDB = std::make_unique<MarrowinDeviceSQLite>(deviceDBfile);
    worker_ = std::make_unique<SerialWorker>();
}

void MarrowinEditorContext::useLayout(int64_t index) {
    layoutIndex = index;
    model_ = findKeyModel(picture().model);
    caps_.clear();
    capNames_.clear();
    if (!model_) return;
    setCurrentKeyMaps(model_->nameMap(), model_->codeMap());
    caps_ = placeCaps(*model_);
    for (const PlacedCap& cap : caps_) capNames_.push_back(cap.keyname);
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
    // The ticket counts the job until it has run or been replaced (its lambda is destroyed either way).
    auto ticket = std::make_shared<PendingTicket>(pending_);
    worker_->postReplacing(kind, [alive = std::weak_ptr<int>(alive_), channel = deviceComm, job = std::move(job),
                                  done = std::move(done), ticket = std::move(ticket)] {
        job(*channel);
        if (!done) return;
        runOnMain([alive, done] {
            if (alive.lock()) done();  // not once the editor has closed
        });
    });
}

void MarrowinEditorContext::waitForExchanges() {
    if (worker_) worker_->waitForIdle();
}

}  // namespace keyloom
