#include "Views/Keyboard/Quorvath/KeyCombinationCapture.h"

#include "Keylogger/KeyState.h"
#include "Keylogger/LocalKeyMonitor.h"
#include "Views/Keyboard/Shared/core/KeyCombination.h"

namespace keyloom {

KeyCombinationCapture::KeyCombinationCapture() = default;

KeyCombinationCapture::~KeyCombinationCapture() = default;

void KeyCombinationCapture::start(const void* tab, Fill fill) {
    tabs_[tab] = std::move(fill);
    if (!monitor_) monitor_ = std::make_unique<LocalKeyMonitor>([this] { keyChanged(); });
}

void KeyCombinationCapture::stop(const void* tab) {
    tabs_.erase(tab);
    if (tabs_.empty()) monitor_.reset();
}

void KeyCombinationCapture::stopAll() {
    tabs_.clear();
    monitor_.reset();
}

void KeyCombinationCapture::setCombination(std::vector<int64_t> codes) {
    currentModifyKeysStr = combinationCodesText(codes);
    currentModifyKeys = std::move(codes);
}

void KeyCombinationCapture::keyChanged() {
    // A release leaves the combination shown as it was.
    if (lastKeyOperate() != "down") return;
    // A fill may stop a capture (and so change the map): walk a copy.
    const auto tabs = tabs_;
    for (const auto& [tab, fill] : tabs)
        if (capturing(tab)) fill();
}

}  // namespace keyloom
