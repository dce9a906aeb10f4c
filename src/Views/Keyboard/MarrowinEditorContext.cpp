#include "Views/Keyboard/MarrowinEditorContext.h"

#include <QCoreApplication>
#include <QVariant>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "USB/HIDDevice.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/MainThread.h"
#include "platform/SerialWorker.h"

namespace keyloom {

namespace {

// A closed editor's channel and worker while the worker finishes the exchanges handed over before the close.
struct Retiring {
    std::shared_ptr<MarrowinV2> channel;
    std::unique_ptr<SerialWorker> worker;
};

// The retiring workers, so that quitting the program lets them finish before anything they use is torn down.
// Main thread only.
std::vector<std::weak_ptr<Retiring>>& retiringWorkers() {
    static std::vector<std::weak_ptr<Retiring>> list;
    if (QCoreApplication* app = QCoreApplication::instance(); app && !app->property("keyloomRetiring").toBool()) {
        app->setProperty("keyloomRetiring", true);
        QObject::connect(app, &QCoreApplication::aboutToQuit, [] {
            for (const auto& weak : retiringWorkers())
                if (auto retiring = weak.lock()) retiring->worker->waitForIdle();
        });
    }
    std::erase_if(list, [](const auto& weak) { return weak.expired(); });
    return list;
}

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
    // The worker finishes what the user asked for without holding up the window; channel and worker are released on
    // the main thread after its last job (a worker cannot join itself).
    auto retiring = std::make_shared<Retiring>();
    retiring->channel = std::move(deviceComm);
    retiring->worker = std::move(worker_);
    retiringWorkers().push_back(retiring);
    SerialWorker* worker = retiring->worker.get();
    worker->post([retiring]() mutable { runOnMain([keep = std::move(retiring)] {}); });
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
