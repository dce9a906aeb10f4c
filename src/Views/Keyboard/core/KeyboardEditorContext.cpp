#include "Views/Keyboard/core/KeyboardEditorContext.h"

#include <QCoreApplication>
#include <QVariant>
#include <vector>

#include "Views/Keyboard/core/QuorvathEditorModel.h"
#include "platform/SerialWorker.h"

namespace keyloom {

struct KeyboardEditorContext::Lane {
    std::unique_ptr<Quorvath> channel;
    std::unique_ptr<SerialWorker> worker;  // declared last: joined before the channel goes
};

namespace {

// The editor opens its channel with the layout of older firmware; the version read may switch it.
constexpr int64_t kInitialVersionType = 2;

// Every editor's lane, open or closed and still sending. Quitting lets each worker finish first: a key record cut
// short would leave the key with half a record, and nothing a worker uses may be torn down under it. Main thread
// only.
std::vector<std::weak_ptr<KeyboardEditorContext::Lane>>& lanes() {
    static std::vector<std::weak_ptr<KeyboardEditorContext::Lane>> list;
    if (QCoreApplication* app = QCoreApplication::instance(); app && !app->property("keyloomQuorvathLanes").toBool()) {
        app->setProperty("keyloomQuorvathLanes", true);
        QObject::connect(app, &QCoreApplication::aboutToQuit, [] {
            for (const auto& weak : lanes())
                if (auto lane = weak.lock()) lane->worker->waitForIdle();
        });
    }
    std::erase_if(list, [](const auto& weak) { return weak.expired(); });
    return list;
}

}  // namespace

KeyboardEditorContext::KeyboardEditorContext(HidHandleRef device)
    : device_(std::move(device)), lane_(std::make_shared<Lane>()) {
    lane_->channel = std::make_unique<Quorvath>(device_, kInitialVersionType);
    lane_->worker = std::make_unique<SerialWorker>();
    lanes().push_back(lane_);
    // The first exchange: its answer picks the bulk layout of every later key record and colour block.
    send([](Quorvath& q) { q.getVersion(); });
    if (device_) {
        vendorId_ = integerProperty(*device_, "VendorID");
        productId_ = integerProperty(*device_, "ProductID");
    }
    deviceDBfile_ = DeviceSQLite::databaseName(vendorId_, productId_);
    deviceType_ = quorvathDeviceType(productId_).value_or(1);
    model_ = findKeyModel(quorvathLayout(deviceType_));
    deviceDB_ = std::make_unique<DeviceSQLite>(deviceDBfile_);
}

KeyboardEditorContext::~KeyboardEditorContext() {
    alive_.reset();
    if (QCoreApplication::closingDown() || !QCoreApplication::instance()) {
        // Nothing runs on the main thread any more: finish here (the lane goes with the last reference).
        lane_->worker->waitForIdle();
        return;
    }
    // The worker finishes what the user asked for without holding up the window; the channel and the worker are
    // released on the main thread once its last job has run (a worker cannot join itself).
    SerialWorker* worker = lane_->worker.get();
    worker->post([lane = std::move(lane_)]() mutable { runOnMain([keep = std::move(lane)] {}); });
}

bool KeyboardEditorContext::store(const std::function<bool(DeviceSQLite&)>& writes) {
    if (!deviceDB_->isConnected()) return false;
    Transaction action = deviceDB_->transaction();
    if (!action.active()) return false;
    if (!writes(*deviceDB_)) return false;  // rolled back when `action` goes
    return action.commit();
}

void KeyboardEditorContext::send(Job job) {
    lane_->worker->post([job = std::move(job), channel = lane_->channel.get()] { job(*channel); });
}

void KeyboardEditorContext::sendLatest(const std::string& kind, Job job) {
    lane_->worker->postReplacing(kind, [job = std::move(job), channel = lane_->channel.get()] { job(*channel); });
}

void KeyboardEditorContext::waitForIdle() {
    lane_->worker->waitForIdle();
}

SerialWorker* KeyboardEditorContext::worker() const {
    return lane_->worker.get();
}

int64_t KeyboardEditorContext::versionType() const {
    return lane_->channel->versionType();
}

}  // namespace keyloom
