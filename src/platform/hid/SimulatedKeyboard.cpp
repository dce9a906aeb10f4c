#include "platform/hid/SimulatedKeyboard.h"

#include <algorithm>
#include <atomic>

#include "USB/KeyboardProducts.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidDevice.h"

namespace keyloom {

namespace {

constexpr uint8_t kReceiverBatteryLevel = 87;

using P = SimulatedKeyboard::Protocol;

P protocolOf(ProductKind kind) {
    switch (kind) {
        case ProductKind::FirstGeneration:
            return P::FirstGeneration;
        case ProductKind::SecondGeneration:
            return P::SecondGeneration;
        case ProductKind::Receiver:
            return P::Receiver;
        case ProductKind::BluetoothLink:
            break;
    }
    return P::Plain;
}

std::vector<uint8_t> descriptorFor(SimulatedKeyboard::Protocol protocol) {
    switch (protocol) {
        case P::FirstGeneration:
            return SimulatedKeyboard::firstGenerationDescriptor();
        case P::SecondGeneration:
            return SimulatedKeyboard::secondGenerationDescriptor();
        case P::Receiver:
            return SimulatedKeyboard::receiverDescriptor();
        case P::Plain:
            break;
    }
    return SimulatedKeyboard::bootKeyboardDescriptor();
}

std::shared_ptr<SimulatedKeyboard> fromRow(const KeyboardProduct& row) {
    const P protocol = protocolOf(row.kind);
    return std::make_shared<SimulatedKeyboard>(SimulatedKeyboard::Identity{
        row.simulatedModel, row.vendorId, row.productId, row.simulatedProduct ? row.simulatedProduct : row.productName,
        protocol, descriptorFor(protocol)});
}

std::shared_ptr<SimulatedKeyboard> named(std::string_view name) {
    return SimulatedKeyboard::byModel(name);
}

std::vector<uint8_t> padded(const std::vector<uint8_t>& bytes, size_t size) {
    std::vector<uint8_t> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(size, bytes.size())));
    out.resize(size, 0);
    return out;
}

// The receiver's battery report: 32 bytes, 0xE4 at byte 0, level at byte 13.
std::vector<uint8_t> batteryReport(uint8_t level) {
    std::vector<uint8_t> report(32, 0);
    report[0] = 0xE4;
    report[13] = level;
    return report;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

SimulatedKeyboard::SimulatedKeyboard(Identity identity)
    : identity_(std::move(identity)), descriptor_(HidReportDescriptor::parse(identity_.reportDescriptor)) {
    static std::atomic<int64_t> nextLocation{1};
    properties_["LocationID"] = int64_t{0x14000000} + (nextLocation++ << 8);
    properties_["VendorID"] = identity_.vendorId;
    properties_["ProductID"] = identity_.productId;
    properties_["Product"] = identity_.product;
    properties_["MaxInputReportSize"] = descriptor_.maxInputReportSize();
    properties_["MaxOutputReportSize"] = descriptor_.maxOutputReportSize();
    properties_["MaxFeatureReportSize"] = descriptor_.maxFeatureReportSize();
    properties_["PrimaryUsagePage"] = descriptor_.primaryUsagePage();
    properties_["PrimaryUsage"] = descriptor_.primaryUsage();
    if (identity_.protocol == Protocol::Receiver) batteryLevel_ = kReceiverBatteryLevel;
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath87() {
    return named("quorvath87");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath87te() {
    return named("quorvath87te");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath88() {
    return named("quorvath88");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath88te() {
    return named("quorvath88te");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath91() {
    return named("quorvath91");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::quorvath91te() {
    return named("quorvath91te");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::marrowinv2_71() {
    return named("marrowinv2_71");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::marrowinv2_72() {
    return named("marrowinv2_72");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::marrowinv2max() {
    return named("marrowinv2max");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::marrowinv2te() {
    return named("marrowinv2te");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::vindle68() {
    return named("vindle68");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::tolmek84() {
    return named("tolmek84");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::ostrel61() {
    return named("ostrel61");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::ostrelmax() {
    return named("ostrelmax");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::ostrelte61() {
    return named("ostrelte61");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::ostrelte62() {
    return named("ostrelte62");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::receiver24g() {
    return named("receiver24g");
}
std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::bluetooth() {
    return named("bluetooth");
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::firstGeneration(int64_t productId, std::string product) {
    return std::make_shared<SimulatedKeyboard>(Identity{"", kFirstGenerationVendor, productId, std::move(product),
                                                        P::FirstGeneration, firstGenerationDescriptor()});
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::secondGeneration(int64_t productId, std::string product) {
    return std::make_shared<SimulatedKeyboard>(Identity{"", kSecondGenerationVendor, productId, std::move(product),
                                                        P::SecondGeneration, secondGenerationDescriptor()});
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::bootKeyboard(int64_t vendorId, int64_t productId,
                                                                   std::string product) {
    return std::make_shared<SimulatedKeyboard>(
        Identity{"", vendorId, productId, std::move(product), P::Plain, bootKeyboardDescriptor()});
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::vendorInterface(int64_t vendorId, int64_t productId,
                                                                      std::string product, int64_t usagePage,
                                                                      int64_t usage) {
    return std::make_shared<SimulatedKeyboard>(
        Identity{"", vendorId, productId, std::move(product), P::Plain, vendorKeyDescriptor(usagePage, usage)});
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::byModel(std::string_view name) {
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (row.simulatedModel && name == row.simulatedModel) return fromRow(row);
    return nullptr;
}

std::vector<std::string> SimulatedKeyboard::modelNames() {
    std::vector<std::string> names;
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (row.simulatedModel) names.emplace_back(row.simulatedModel);
    return names;
}

std::vector<std::shared_ptr<SimulatedKeyboard>> SimulatedKeyboard::parseModelList(std::string_view list,
                                                                                  std::vector<std::string>* unknown) {
    std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view name = trimmed(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        if (name.empty()) continue;
        if (auto kb = byModel(name))
            keyboards.push_back(std::move(kb));
        else if (unknown)
            unknown->emplace_back(name);
    }
    return keyboards;
}

std::vector<uint8_t> SimulatedKeyboard::firstGenerationDescriptor() {
    return {
        0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (Application)
        0x85, 0x05,        //   Report ID (5)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x07,        //   Report Count (7)
        0x09, 0x02,        //   Usage (2)
        0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
        0x09, 0x03,        //   Usage (3)
        0x91, 0x02,        //   Output (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
}

std::vector<uint8_t> SimulatedKeyboard::secondGenerationDescriptor() {
    return {
        0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (Application)
        0x85, 0x04,        //   Report ID (4)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x3F,        //   Report Count (63)
        0x09, 0x02,        //   Usage (2)
        0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
}

std::vector<uint8_t> SimulatedKeyboard::receiverDescriptor() {
    return {
        0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
        0x09, 0x02,        // Usage (2)
        0xA1, 0x01,        // Collection (Application)
        0x85, 0xE4,        //   Report ID (0xE4)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x1F,        //   Report Count (31)
        0x09, 0x03,        //   Usage (3)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
}

std::vector<uint8_t> SimulatedKeyboard::bootKeyboardDescriptor() {
    return {
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x06,  // Usage (Keyboard)
        0xA1, 0x01,  // Collection (Application)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,  //   Usage Minimum (Left Control)
        0x29, 0xE7,  //   Usage Maximum (Right GUI)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x08,  //   Report Count (8)
        0x81, 0x02,  //   Input (Data, Variable, Absolute): modifiers
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x08,  //   Report Size (8)
        0x81, 0x01,  //   Input (Constant): reserved
        0x95, 0x05,  //   Report Count (5)
        0x75, 0x01,  //   Report Size (1)
        0x05, 0x08,  //   Usage Page (LEDs)
        0x19, 0x01,  //   Usage Minimum (Num Lock)
        0x29, 0x05,  //   Usage Maximum (Kana)
        0x91, 0x02,  //   Output (Data, Variable, Absolute): LEDs
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x03,  //   Report Size (3)
        0x91, 0x01,  //   Output (Constant): padding
        0x95, 0x06,  //   Report Count (6)
        0x75, 0x08,  //   Report Size (8)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x65,  //   Logical Maximum (101)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0x00,  //   Usage Minimum (0)
        0x29, 0x65,  //   Usage Maximum (101)
        0x81, 0x00,  //   Input (Data, Array, Absolute): keys
        0xC0,        // End Collection
    };
}

std::vector<uint8_t> SimulatedKeyboard::vendorKeyDescriptor(int64_t usagePage, int64_t usage) {
    const auto lo = [](int64_t v) { return static_cast<uint8_t>(v & 0xFF); };
    const auto hi = [](int64_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); };
    return {
        0x06, lo(usagePage), hi(usagePage),  // Usage Page
        0x0A, lo(usage),     hi(usage),      // Usage
        0xA1, 0x01,                          // Collection (Application)
        0x85, 0x06,                          //   Report ID (6)
        0x15, 0x00,                          //   Logical Minimum (0)
        0x26, 0xFF,          0x00,           //   Logical Maximum (255)
        0x75, 0x08,                          //   Report Size (8)
        0x95, 0x0F,                          //   Report Count (15)
        0x19, 0x00,                          //   Usage Minimum (0)
        0x2A, 0xFF,          0x00,           //   Usage Maximum (255)
        0x81, 0x00,                          //   Input (Data, Array, Absolute)
        0xC0,                                // End Collection
    };
}

HidPropertyValue SimulatedKeyboard::property(std::string_view key) const {
    std::lock_guard lock(mutex_);
    auto it = properties_.find(key);
    return it == properties_.end() ? HidPropertyValue{} : it->second;
}

std::map<std::string, HidPropertyValue, std::less<>> SimulatedKeyboard::properties() const {
    std::lock_guard lock(mutex_);
    return properties_;
}

void SimulatedKeyboard::setProperty(const std::string& key, HidPropertyValue value) {
    std::lock_guard lock(mutex_);
    if (std::holds_alternative<std::monostate>(value))
        properties_.erase(key);
    else
        properties_[key] = std::move(value);
}

std::shared_ptr<SimulatedKeyboard> SimulatedKeyboard::plug() {
    return SimulatedHid::instance().plug(shared_from_this());
}

void SimulatedKeyboard::unplug() {
    SimulatedHid::instance().unplug(shared_from_this());
}

bool SimulatedKeyboard::plugged() const {
    std::lock_guard lock(mutex_);
    return arrival_ != 0;
}

HidHandleRef SimulatedKeyboard::device() const {
    std::lock_guard lock(mutex_);
    return handle_;
}

uint64_t SimulatedKeyboard::arrival() const {
    std::lock_guard lock(mutex_);
    return arrival_;
}

void SimulatedKeyboard::attach(uint64_t arrival, std::shared_ptr<SimulatedHidDevice> handle) {
    std::lock_guard lock(mutex_);
    arrival_ = arrival;
    handle_ = std::move(handle);
}

void SimulatedKeyboard::detach() {
    std::lock_guard lock(mutex_);
    arrival_ = 0;
    handle_.reset();
    pendingAnswer_.clear();
    changed_.notify_all();
}

std::vector<SimulatedKeyboard::Transfer> SimulatedKeyboard::transfers() const {
    std::lock_guard lock(mutex_);
    return transfers_;
}

std::vector<std::vector<uint8_t>> SimulatedKeyboard::sentReports(HidReportType type) const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<uint8_t>> out;
    for (const auto& t : transfers_)
        if (t.direction == Direction::Set && t.type == type && t.status == kHidSuccess) out.push_back(t.bytes);
    return out;
}

void SimulatedKeyboard::clearTransfers() {
    std::lock_guard lock(mutex_);
    transfers_.clear();
}

bool SimulatedKeyboard::waitForTransfers(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return transfers_.size() >= count; });
}

void SimulatedKeyboard::failTransfer(size_t n, int status) {
    if (n == 0) return;
    std::lock_guard lock(mutex_);
    failAt_[transferCount_ + n] = status;
}

void SimulatedKeyboard::holdTransfer(size_t n) {
    if (n == 0) return;
    std::lock_guard lock(mutex_);
    holdAt_ = transferCount_ + n;
    holding_ = false;
    released_ = false;
}

bool SimulatedKeyboard::waitForHeldTransfer(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return holding_; });
}

void SimulatedKeyboard::releaseHeldTransfer() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

void SimulatedKeyboard::queueReply(std::vector<uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    queuedReplies_.push_back(std::move(bytes));
}

void SimulatedKeyboard::setFirmwareVersion(std::string text) {
    std::lock_guard lock(mutex_);
    firmwareVersion_ = std::move(text);
}

void SimulatedKeyboard::setLightingState(std::vector<uint8_t> bytes2to7) {
    std::lock_guard lock(mutex_);
    lighting_ = padded(bytes2to7, 6);
}

void SimulatedKeyboard::setBusyReadBacks(int count) {
    std::lock_guard lock(mutex_);
    busyReadBacks_ = std::max(0, count);
}

void SimulatedKeyboard::sendInputReport(std::vector<uint8_t> report) {
    SimulatedHid::instance().sendInputReport(this, report);
}

void SimulatedKeyboard::sendBatteryReport(uint8_t level) {
    sendInputReport(batteryReport(level));
}

void SimulatedKeyboard::setBatteryLevel(std::optional<uint8_t> level) {
    {
        std::lock_guard lock(mutex_);
        if (identity_.protocol != Protocol::Receiver || batteryLevel_ == level) return;
        batteryLevel_ = level;
    }
    if (level) sendBatteryReport(*level);
}

std::optional<uint8_t> SimulatedKeyboard::batteryLevel() const {
    std::lock_guard lock(mutex_);
    return batteryLevel_;
}

std::optional<std::vector<uint8_t>> SimulatedKeyboard::reportOnOpen() const {
    std::lock_guard lock(mutex_);
    if (!batteryLevel_) return std::nullopt;
    return batteryReport(*batteryLevel_);
}

void SimulatedKeyboard::record(Transfer t) {
    transfers_.push_back(std::move(t));
    changed_.notify_all();
}

int SimulatedKeyboard::transfer(uint64_t arrival, Direction direction, HidReportType type, int64_t reportId,
                                const uint8_t* bytes, uint8_t* buffer, size_t& length) {
    std::unique_lock lock(mutex_);
    if (arrival == 0 || arrival != arrival_) {
        if (direction == Direction::Get) length = 0;
        return kHidErrorNotAttached;
    }
    const size_t index = ++transferCount_;
    Transfer t{direction, type, reportId, {}, kHidSuccess};
    if (direction == Direction::Set && bytes) t.bytes.assign(bytes, bytes + length);

    const auto fail = [&](int status) {
        t.status = status;
        if (direction == Direction::Get) {
            t.bytes.clear();
            length = 0;
        }
        record(std::move(t));
        return status;
    };

    if (holdAt_ == index) {
        holding_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_; });
        holding_ = false;
        holdAt_ = 0;
        if (arrival != arrival_) return fail(kHidErrorNotAttached);
    }
    if (auto it = failAt_.find(index); it != failAt_.end()) {
        const int status = it->second;
        failAt_.erase(it);
        return fail(status);
    }
    if (direction == Direction::Set) {
        const int status = answerSet(type, reportId, t.bytes);
        if (status != kHidSuccess) return fail(status);
        record(std::move(t));
        return kHidSuccess;
    }
    auto reply = answerGet(type, reportId);
    if (!reply) return fail(kHidErrorIO);
    const size_t n = std::min(length, reply->size());
    if (n > 0 && !buffer) return fail(kHidErrorBadArgument);
    std::copy_n(reply->begin(), n, buffer);
    length = n;
    t.bytes.assign(reply->begin(), reply->begin() + static_cast<std::ptrdiff_t>(n));
    record(std::move(t));
    return kHidSuccess;
}

int SimulatedKeyboard::answerSet(HidReportType type, int64_t reportId, const std::vector<uint8_t>& bytes) {
    // A report the interface does not declare, or a longer one, is refused as a real device stalls it.
    const int64_t declared = descriptor_.reportSize(static_cast<int>(type), reportId);
    if (declared == 0 || static_cast<int64_t>(bytes.size()) > declared) return kHidErrorIO;
    lastSet_ = bytes;
    if (identity_.protocol == Protocol::FirstGeneration && type == HidReportType::Feature) {
        const uint8_t command = bytes.size() > 1 ? bytes[1] : 0;
        pendingAnswer_.clear();
        if (command == 0xF4) {
            std::vector<uint8_t> text(firmwareVersion_.begin(), firmwareVersion_.end());
            text = padded(text, 32);
            pendingAnswer_.assign(text.begin(), text.end());
        } else if (command == 0xFA) {
            pendingAnswer_ = {0x05, 0xFA};
            pendingAnswer_.insert(pendingAnswer_.end(), lighting_.begin(), lighting_.end());
        } else if (command == 0xFE && bytes.size() >= 8 && bytes[2] != 0x0E) {
            lighting_.assign(bytes.begin() + 2, bytes.begin() + 8);  // a lighting record (0x0E: sleep times)
        }
    }
    return kHidSuccess;
}

std::optional<std::vector<uint8_t>> SimulatedKeyboard::answerGet(HidReportType type, int64_t reportId) {
    const int64_t declared = descriptor_.reportSize(static_cast<int>(type), reportId);
    if (declared == 0) return std::nullopt;
    const auto size = static_cast<size_t>(declared);
    if (!queuedReplies_.empty()) {
        auto reply = std::move(queuedReplies_.front());
        queuedReplies_.pop_front();
        return reply;
    }
    if (identity_.protocol == Protocol::FirstGeneration && type == HidReportType::Feature && !pendingAnswer_.empty()) {
        std::vector<uint8_t> chunk;
        while (chunk.size() < size && !pendingAnswer_.empty()) {
            chunk.push_back(pendingAnswer_.front());
            pendingAnswer_.pop_front();
        }
        return padded(chunk, size);
    }
    auto echo = padded(lastSet_, size);  // the read-back of the last report
    if (identity_.protocol == Protocol::SecondGeneration && busyReadBacks_ > 0 && echo.size() > 3) {
        echo[3] = 0xFF;
        --busyReadBacks_;
    }
    return echo;
}

}  // namespace keyloom
