#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/Marrowin/core/MarrowinModelChoice.h"
#include "platform/hid/HidHandle.h"

namespace keyloom {

class MarrowinV2;
class MarrowinDeviceSQLite;
class SerialWorker;

// What the panels of the second-generation editor share: the keyboard's command channel and the worker that runs its
// exchanges, the profile database, the model and its key maps, the placed caps, the profile and the layout.
//
// Storing and sending (the window never waits on a keyboard): a panel writes the rows of one user action on the main
// thread inside one deviceDB->transaction(), builds the bytes to send from what it stored, and hands the exchange to
// exchange(); the keyboard's answers that the screen needs come back through `done`, on the main thread.
//
// The maps are the editor's own: taken when the pictures are built (useLayout) and used for every later look-up and
// upload, whatever keyboard the home screen tracks meanwhile. Main thread only, but for the jobs given to exchange().
class MarrowinEditorContext {
  public:
    MarrowinEditorContext();
    // Closes the database at once. The exchanges already handed over still reach the keyboard, off the main thread
    // (so it gets the last change the user made); the channel goes after the last of them. No `done` runs any more.
    ~MarrowinEditorContext();
    MarrowinEditorContext(const MarrowinEditorContext&) = delete;
    MarrowinEditorContext& operator=(const MarrowinEditorContext&) = delete;

    // Opens the channel on device, tells the model from its product name and id, and opens the model's database.
    // Once per editor; a second call changes nothing.
    void open(const HidHandleRef& device);
    bool isOpen() const { return deviceComm != nullptr; }

    // Places the caps of the model for this layout index and makes the model's maps the current ones (the editor's
    // and the process-wide pair). Nothing is stored or sent.
    void useLayout(int64_t layoutIndex);

    const KeyModel* keyModel() const { return model_; }
    const KeyNameMap& nameMap() const;
    const KeyCodeMap& codeMap() const;
    // One per cap of both pictures, in picture order.
    const std::vector<PlacedCap>& caps() const { return caps_; }
    // The caps' key names, in the same order.
    const std::vector<std::string>& capNames() const { return capNames_; }
    MarrowinPicture picture() const { return marrowinPicture(choice_, layoutIndex); }

    // Runs job with the channel on the keyboard's worker, after every exchange handed over before it. A job of the
    // same kind that has not started yet is dropped (only the latest table of a kind goes out). done, when given,
    // runs afterwards on the main thread, unless the editor has closed. Without a channel nothing runs.
    void exchange(const std::string& kind, std::function<void(MarrowinV2&)> job, std::function<void()> done = {});
    // Blocks until the exchanges handed over so far have run (tests, and the close).
    void waitForExchanges();

    // The state the editor's Parts switch on, kept as plain fields.
    std::shared_ptr<MarrowinV2> deviceComm;
    std::unique_ptr<MarrowinDeviceSQLite> deviceDB;
    std::string deviceDBfile;
    int64_t deviceType = kMarrowinV2DeviceType;
    int64_t currentProfile = 1;
    int64_t layoutIndex = 0;

  private:
    MarrowinModelChoice choice_;
    const KeyModel* model_ = nullptr;
    std::vector<PlacedCap> caps_;
    std::vector<std::string> capNames_;
    std::shared_ptr<std::atomic<int>> pending_ = std::make_shared<std::atomic<int>>(0);  // jobs not yet done
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // `done` calls are dropped once it is gone
    std::unique_ptr<SerialWorker> worker_;
};

}  // namespace keyloom
