#include "Views/Keyboard/KeyLayout/CurrentDevice.h"

#include <cassert>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/MainThread.h"

namespace keyloom {

namespace {

struct CurrentDeviceState {
    std::shared_ptr<const KeyNameMap> nameMap = std::make_shared<const KeyNameMap>();
    std::shared_ptr<const KeyCodeMap> codeMap = std::make_shared<const KeyCodeMap>();
    std::vector<int64_t> flagKeys;
    std::vector<int64_t> normalKeys;
};

CurrentDeviceState& state() {
    assert(isMainThread());
    static CurrentDeviceState current;
    return current;
}

}  // namespace

std::shared_ptr<const KeyNameMap> QV_SuperKeyNameMap() {
    return state().nameMap;
}
std::shared_ptr<const KeyCodeMap> QV_SuperKeyCodeMap() {
    return state().codeMap;
}
const std::vector<int64_t>& QV_FlagKeys() {
    return state().flagKeys;
}
const std::vector<int64_t>& QV_NormalKeys() {
    return state().normalKeys;
}

void setCurrentKeyNameMap(const KeyNameMap& map) {
    state().nameMap = std::make_shared<const KeyNameMap>(map);
}

void setCurrentKeyMaps(const KeyNameMap& nameMap, const KeyCodeMap& codeMap) {
    CurrentDeviceState& s = state();
    s.nameMap = std::make_shared<const KeyNameMap>(nameMap);
    s.codeMap = std::make_shared<const KeyCodeMap>(codeMap);
}

void makeCurrentDevice(const KeyModel& model) {
    setCurrentKeyMaps(model.nameMap(), model.codeMap());
    CurrentDeviceState& s = state();
    s.flagKeys.clear();
    s.normalKeys.clear();
    for (const auto& [name, row] : *s.nameMap) {
        if (!row.key_code) continue;  // not a valid name-map row
        (row.key_type ? s.flagKeys : s.normalKeys).push_back(*row.key_code);
    }
}

void resetCurrentDevice() {
    CurrentDeviceState& s = state();
    s = CurrentDeviceState{};
}

}  // namespace keyloom
