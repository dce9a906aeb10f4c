#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/HidHandle.h"
#include "platform/hid/HidReportDescriptor.h"

namespace keyloom {

class SimulatedHidDevice;

// The keyboard's side of one simulated HID interface: it answers the reports of its generation, records every
// transfer, and can be told to fail or hold a transfer. Plug it with SimulatedHid (or plug()): every plug is a new
// arrival with new device handles; unplugging makes all of them fail.
//
//   auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
//   Quorvath channel(kb->device(), 2);  ...  kb->transfers()
class SimulatedKeyboard : public std::enable_shared_from_this<SimulatedKeyboard> {
  public:
    enum class Protocol {
        FirstGeneration,   // 8-byte feature and output reports with id 5: version (F4), lighting read (FA)
        SecondGeneration,  // 64-byte feature reports with id 4, each read back
        Receiver,          // 2.4 GHz receiver: 32-byte input reports starting with 0xE4 carry the battery level
        Plain,             // answers nothing of its own (boot keyboards, vendor key interfaces, the Bluetooth link)
    };
    enum class Direction { Set, Get };

    struct Transfer {
        Direction direction = Direction::Set;
        HidReportType type = HidReportType::Feature;
        int64_t reportId = 0;
        std::vector<uint8_t> bytes;  // sent bytes, or the bytes a get returned (empty when it failed)
        int status = kHidSuccess;
        bool operator==(const Transfer&) const = default;
    };

    struct Identity {
        std::string model;  // the KEYLOOM_SIMULATE name, or "" for ad-hoc interfaces
        int64_t vendorId = 0;
        int64_t productId = 0;
        std::string product;
        Protocol protocol = Protocol::Plain;
        std::vector<uint8_t> reportDescriptor;
    };

    explicit SimulatedKeyboard(Identity identity);

    // One factory per model name (see modelNames()).
    static std::shared_ptr<SimulatedKeyboard> quorvath87();     // 0x1A2C:0xB57E
    static std::shared_ptr<SimulatedKeyboard> quorvath87te();   // 0x1A2C:0xB51F
    static std::shared_ptr<SimulatedKeyboard> quorvath88();     // 0x1A2C:0xB58E
    static std::shared_ptr<SimulatedKeyboard> quorvath88te();   // 0x1A2C:0xB58F
    static std::shared_ptr<SimulatedKeyboard> quorvath91();     // 0x1A2C:0xB5BE
    static std::shared_ptr<SimulatedKeyboard> quorvath91te();   // 0x1A2C:0xB5BF
    static std::shared_ptr<SimulatedKeyboard> marrowinv2_71();  // 0x05AC:0x024F "Marrowin V2 PRO"
    static std::shared_ptr<SimulatedKeyboard> marrowinv2_72();  // 0x05AC:0x0250 "Marrowin V2 PRO"
    static std::shared_ptr<SimulatedKeyboard> marrowinv2max();  // 0x05AC:0x024F "Marrowin V2 MAX"
    static std::shared_ptr<SimulatedKeyboard> marrowinv2te();   // 0x05AC:0x024F "Marrowin V2 TE"
    static std::shared_ptr<SimulatedKeyboard> vindle68();       // 0x05AC:0x024F "Vindle"
    static std::shared_ptr<SimulatedKeyboard> tolmek84();       // 0x05AC:0x024F "Tolmek V2 TE"
    static std::shared_ptr<SimulatedKeyboard> ostrel61();       // 0x05AC:0x024F "Ostrel PRO"
    static std::shared_ptr<SimulatedKeyboard> ostrelmax();      // 0x05AC:0x024F "Ostrel MAX"
    static std::shared_ptr<SimulatedKeyboard> ostrelte61();     // 0x05AC:0x024F "Ostrel TE"
    static std::shared_ptr<SimulatedKeyboard> ostrelte62();     // 0x05AC:0x0250 "Ostrel TE"
    static std::shared_ptr<SimulatedKeyboard> receiver24g();    // 0x1A2C:0xB31F
    static std::shared_ptr<SimulatedKeyboard> bluetooth();      // 0x1A2C:0xB20D

    // Ad-hoc interfaces: any product id or name of a generation, a boot keyboard without feature reports (the
    // sibling interface of a keyboard), and a vendor interface that sends key reports.
    static std::shared_ptr<SimulatedKeyboard> firstGeneration(int64_t productId, std::string product);
    static std::shared_ptr<SimulatedKeyboard> secondGeneration(int64_t productId, std::string product);
    static std::shared_ptr<SimulatedKeyboard> bootKeyboard(int64_t vendorId, int64_t productId, std::string product);
    static std::shared_ptr<SimulatedKeyboard> vendorInterface(int64_t vendorId, int64_t productId, std::string product,
                                                              int64_t usagePage = 0xFF0A, int64_t usage = 1);

    // By model name; nullptr when the name is unknown.
    static std::shared_ptr<SimulatedKeyboard> byModel(std::string_view name);
    static std::vector<std::string> modelNames();
    // "quorvath87,ostrelte62": one new keyboard per known name (blanks around names ignored); unknown names are
    // appended to *unknown.
    static std::vector<std::shared_ptr<SimulatedKeyboard>> parseModelList(std::string_view list,
                                                                          std::vector<std::string>* unknown = nullptr);

    // Report descriptors of the simulated interfaces (real-shaped, also used by the parser's tests).
    static std::vector<uint8_t> firstGenerationDescriptor();
    static std::vector<uint8_t> secondGenerationDescriptor();
    static std::vector<uint8_t> receiverDescriptor();
    static std::vector<uint8_t> bootKeyboardDescriptor();
    static std::vector<uint8_t> vendorKeyDescriptor(int64_t usagePage, int64_t usage);

    const Identity& identity() const { return identity_; }
    const std::string& model() const { return identity_.model; }
    int64_t vendorId() const { return identity_.vendorId; }
    int64_t productId() const { return identity_.productId; }
    const std::string& product() const { return identity_.product; }
    Protocol protocol() const { return identity_.protocol; }
    const HidReportDescriptor& descriptor() const { return descriptor_; }

    // Device properties as handles report them; a handle takes them when it is made (at plug time), so change
    // them before plugging. std::monostate removes a property.
    HidPropertyValue property(std::string_view key) const;
    std::map<std::string, HidPropertyValue, std::less<>> properties() const;
    void setProperty(const std::string& key, HidPropertyValue value);

    // Plugging through SimulatedHid::instance().
    std::shared_ptr<SimulatedKeyboard> plug();
    void unplug();
    bool plugged() const;
    // This arrival's own handle (managers make their own); nullptr while unplugged.
    HidHandleRef device() const;

    // What reached the keyboard, in order (calls on a removed handle never reach it).
    std::vector<Transfer> transfers() const;
    // The bytes of the successful sets of one report type.
    std::vector<std::vector<uint8_t>> sentReports(HidReportType type) const;
    void clearTransfers();
    // Waits (without a deadline of its own beyond timeout) until at least count transfers are recorded.
    bool waitForTransfers(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // n counts transfers from now: 1 is the next one. The failing transfer is recorded with its status.
    void failTransfer(size_t n, int status = kHidErrorIO);
    // The n-th transfer from now blocks when it reaches the keyboard until releaseHeldTransfer(); if the keyboard
    // is unplugged meanwhile, it then fails with kHidErrorNotAttached.
    void holdTransfer(size_t n);
    bool waitForHeldTransfer(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    void releaseHeldTransfer();

    // Replies to the next gets, in order, before anything else answers.
    void queueReply(std::vector<uint8_t> bytes);
    // First generation: the text of the F4 answer (32 bytes, NUL-padded).
    void setFirmwareVersion(std::string text);
    // First generation: bytes 2..7 of the FA answer (the current lighting record); all zero means "not set".
    void setLightingState(std::vector<uint8_t> bytes2to7);
    // Second generation: the next count read-backs carry 0xFF in byte 3 (busy).
    void setBusyReadBacks(int count);

    // Input reports to every manager that announced this keyboard.
    void sendInputReport(std::vector<uint8_t> report);
    // The receiver's battery report: 32 bytes, 0xE4 at byte 0, level at byte 13.
    void sendBatteryReport(uint8_t level);
    // Receiver: the level of the keyboard behind it (87 at first). A receiver reports it to every host that opens
    // it, and again at once when it changes; nullopt is a keyboard that is off, of which the receiver reports nothing.
    void setBatteryLevel(std::optional<uint8_t> level);
    std::optional<uint8_t> batteryLevel() const;
    // What this interface reports by itself when a host opens it: the receiver's battery report, if any.
    std::optional<std::vector<uint8_t>> reportOnOpen() const;

    // Used by the handles and SimulatedHid.
    int transfer(uint64_t arrival, Direction direction, HidReportType type, int64_t reportId, const uint8_t* bytes,
                 uint8_t* buffer, size_t& length);
    uint64_t arrival() const;
    void attach(uint64_t arrival, std::shared_ptr<SimulatedHidDevice> handle);
    void detach();

  private:
    int answerSet(HidReportType type, int64_t reportId, const std::vector<uint8_t>& bytes);
    std::optional<std::vector<uint8_t>> answerGet(HidReportType type, int64_t reportId);
    void record(Transfer t);

    const Identity identity_;
    const HidReportDescriptor descriptor_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::map<std::string, HidPropertyValue, std::less<>> properties_;
    uint64_t arrival_ = 0;
    std::shared_ptr<SimulatedHidDevice> handle_;
    std::vector<Transfer> transfers_;
    size_t transferCount_ = 0;  // every transfer ever, not reset by clearTransfers()
    std::map<size_t, int> failAt_;
    size_t holdAt_ = 0;
    bool holding_ = false;
    bool released_ = false;
    std::deque<std::vector<uint8_t>> queuedReplies_;
    std::vector<uint8_t> lastSet_;
    std::deque<uint8_t> pendingAnswer_;  // first generation: the rest of a multi-report answer
    std::string firmwareVersion_ = "V2.0.3";
    std::vector<uint8_t> lighting_ = std::vector<uint8_t>(6, 0);
    int busyReadBacks_ = 0;
    std::optional<uint8_t> batteryLevel_;
};

}  // namespace keyloom
