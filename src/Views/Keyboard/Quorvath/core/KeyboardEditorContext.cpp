#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"

#include <QCoreApplication>

#include "Views/Keyboard/Quorvath/core/QuorvathEditorModel.h"
#include "platform/SerialWorker.h"

namespace keyloom {

namespace {

// The editor opens its channel with the layout of older firmware; the version read may switch it.
constexpr int64_t kInitialVersionType = 2;

}  // namespace

KeyboardEditorContext::KeyboardEditorContext(HidHandleRef device)
    : device_(std::move(device)),
      channel_(std::make_unique<Quorvath>(device_, kInitialVersionType)),
      worker_(std::make_unique<SerialWorker>()) {
    // The first exchange: its answer picks the bulk layout of every later key record and colour block.
    send([](Quorvath& q) { q.getVersion(); });
    // An editor still open when the program quits is never closed (its window is not destroyed): what it handed to
    // the keyboard is finished before the program goes on to its end.
    if (QCoreApplication* app = QCoreApplication::instance())
        quitting_ =
            QObject::connect(app, &QCoreApplication::aboutToQuit, [worker = worker_.get()] { worker->waitForIdle(); });
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
    QObject::disconnect(quitting_);
    // The worker finishes what the user asked for without holding up the window.
    SerialWorker::retire(std::move(worker_), std::shared_ptr<Quorvath>(std::move(channel_)));
}

bool KeyboardEditorContext::store(const std::function<bool(DeviceSQLite&)>& writes) {
    if (!deviceDB_->isConnected()) return false;
    Transaction action = deviceDB_->transaction();
    if (!action.active()) return false;
    if (!writes(*deviceDB_)) return false;  // rolled back when `action` goes
    return action.commit();
}

void KeyboardEditorContext::send(Job job) {
    worker_->post([job = std::move(job), channel = channel_.get()] { job(*channel); });
}

void KeyboardEditorContext::sendLatest(const std::string& kind, Job job) {
    worker_->postReplacing(kind, [job = std::move(job), channel = channel_.get()] { job(*channel); });
}

void KeyboardEditorContext::waitForIdle() {
    worker_->waitForIdle();
}

}  // namespace keyloom
