#pragma once

#include <QMetaObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "SQLite/DeviceSQLite.h"
#include "VelkorDevice/Quorvath.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/MainThread.h"
#include "platform/hid/HidHandle.h"

namespace keyloom {

class SerialWorker;

// What the panels of one first-generation editor share, made when the editor first appears.
//
// - The keyboard's command channel, driven only on the device's own serial worker: the window never waits on the
//   keyboard. send() queues an exchange; jobs run one after another in the order given, so the bytes a keyboard
//   receives keep the order of the user's actions.
// - The profile database, used on the main thread only: store() runs the writes of one user action in one
//   transaction. Without a usable database nothing is stored and store() says so; sending goes on regardless.
// - The model's own key maps, taken at opening: another keyboard plugged later never changes what this editor
//   resolves or writes.
//
// Main thread only, except the jobs, which run on the worker and receive the channel.
class KeyboardEditorContext {
  public:
    using Job = std::function<void(Quorvath&)>;

    // Opens the editor's side of the keyboard: the channel (version type 2) with the version read queued as its
    // first exchange, the vendor and product ids (0 when missing), the database file name, the device type from the
    // product id (1 when unknown) and the profile database.
    explicit KeyboardEditorContext(HidHandleRef device);
    // Closes the database at once. Exchanges already queued still reach the keyboard, off the main thread; the
    // channel is released after the last of them. Quitting the program, with the editor open or just closed, waits
    // for them: a key record is never cut short.
    ~KeyboardEditorContext();
    KeyboardEditorContext(const KeyboardEditorContext&) = delete;
    KeyboardEditorContext& operator=(const KeyboardEditorContext&) = delete;

    const HidHandleRef& device() const { return device_; }
    int64_t vendorId() const { return vendorId_; }
    int64_t productId() const { return productId_; }
    int64_t deviceType() const { return deviceType_; }
    const std::string& deviceDBfile() const { return deviceDBfile_; }
    // Profile 1 in the database for the life of the editor; key profile 0 on the keyboard.
    int64_t currentProfile() const { return 1; }
    static constexpr int64_t kKeyboardProfile = 0;
    // The channel's bulk layout: 2 until the version read has found "180905" firmware, then 1.
    int64_t versionType() const { return channel_->versionType(); }

    const KeyModel& keyModel() const { return *model_; }
    const KeyNameMap& nameMap() const { return model_->nameMap(); }
    const KeyCodeMap& codeMap() const { return model_->codeMap(); }

    // Reads only; writes go through store().
    const DeviceSQLite& deviceDB() const { return *deviceDB_; }
    bool hasDatabase() const { return deviceDB_->isConnected(); }

    // Runs writes(db) inside one transaction and commits when it returns true. False, storing nothing, without a
    // usable database, when writes returns false, or when the commit fails.
    bool store(const std::function<bool(DeviceSQLite&)>& writes);

    // Queues job for the device's worker.
    void send(Job job);
    // The same, for changes that only the latest value matters of (a dragged colour, a whole table): a job of this
    // kind that is still queued when a newer one arrives is dropped, and the newer one goes last in the queue.
    void sendLatest(const std::string& kind, Job job);
    // Runs job on the worker, then onMain with its result on the main thread, unless the editor closed meanwhile.
    template <typename T>
    void exchange(std::function<T(Quorvath&)> job, std::function<void(T)> onMain) {
        send([job = std::move(job), onMain = std::move(onMain), alive = std::weak_ptr<int>(alive_)](Quorvath& q) {
            runOnMain([result = job(q), onMain, alive] {
                if (alive.lock()) onMain(result);
            });
        });
    }

    // Blocks until every job queued so far has run (tests and benchmarks).
    void waitForIdle();
    // The device's worker, for the tests' wait helper.
    SerialWorker* worker() const { return worker_.get(); }

  private:
    HidHandleRef device_;
    std::unique_ptr<Quorvath> channel_;
    std::unique_ptr<SerialWorker> worker_;  // after the channel: destroyed first
    QMetaObject::Connection quitting_;
    int64_t vendorId_ = 0;
    int64_t productId_ = 0;
    int64_t deviceType_ = 1;
    std::string deviceDBfile_;
    const KeyModel* model_ = nullptr;
    std::unique_ptr<DeviceSQLite> deviceDB_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // results of exchanges are dropped once it is gone
};

}  // namespace keyloom
