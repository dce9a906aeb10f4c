#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/hid/HidHandle.h"

namespace keyloom {

// Command channel of the first keyboard generation: 8-byte reports with report id 5 (feature reports for commands
// and reads, output reports for bulk data), and the key records and colour block built on its bulk writes.
//
// Every operation holds the device's exchange lock for its whole exchange, so two channels on one keyboard (the
// home screen's version read and an editor) never interleave their reports.
class Quorvath {
  public:
    static constexpr int64_t kReportId = 5;
    static constexpr size_t kReportSize = 8;
    static constexpr size_t kKeyRecordSize = 256;
    // A flash slot is 16 bytes and its address two bytes: slots beyond this do not exist.
    static constexpr int64_t kMaxSlot = 4095;

    Quorvath(HidHandleRef device, int64_t versionType);
    Quorvath(const Quorvath&) = delete;
    Quorvath& operator=(const Quorvath&) = delete;

    const HidHandleRef& device() const { return device_; }
    int64_t versionType() const { return versionType_.load(); }
    int64_t deviceStatus() const { return deviceStatus_.load(); }
    int64_t productId() const { return productId_; }
    void setDeviceStatus(int64_t devStatus) { deviceStatus_.store(devStatus); }

    // Firmware version text; "Quorvath" when the read fails. A text containing "180905" switches the bulk layout.
    std::string getVersion();
    void resetKeyboard();
    // report: 0..255; anything else sends nothing.
    void setKeyboardReport(int64_t report);
    // Times: 0..65535 each; anything else sends nothing.
    void setUSBSleepTime(int64_t time);
    void setWirelessSleepTime(int64_t backlightTime, int64_t wirelessTime);

    // One feature report: the first 8 bytes of data (byte 0 = 05). False when data is shorter or the send fails.
    bool sendDeviceData(std::span<const uint8_t> data);
    // Bulk write of a key record: 36 reports (layout 1) or 42 (7-then-6 layout); length has no effect. True only
    // when every report was accepted; every report is sent in any case.
    bool sendDeviceData(std::span<const uint8_t> data, int64_t length);
    // Sends the 8-byte command data and reads size/8 reports of 8 bytes. None when a transfer fails.
    std::optional<std::vector<uint8_t>> getDeviceData(std::span<const uint8_t> data, int64_t size);

    // Key records, written at the key's flash address on this channel's own keyboard model. Nothing is sent when
    // the address is unknown (unknown product id, key not on the model, slot out of range).
    void setKeyDefaultValue(int64_t keyValue, int64_t kbProfile);
    void setKeyDisable(int64_t keyValue, int64_t kbProfile);
    // Presses of combKeyValue in order, then releases in the same order. Nothing is sent when a code lies outside
    // 0..255 or the combination does not fit the part of the record that the bulk layout sends.
    void setKeyNewValue(int64_t keyValue, std::span<const int64_t> combKeyValue, int64_t kbProfile, bool write);
    // Sets addr01/addr02 to the big-endian slot * 16 and returns true; returns false and leaves them unchanged
    // when no address can be worked out.
    bool getKeyFlashAddress(int64_t keyValue, int64_t kbProfile, uint8_t& addr01, uint8_t& addr02) const;

    // Per-key colour block: 58 reports (layout 1) or 67 (7-then-6 layout); length has no effect. True only when
    // every report was accepted.
    bool setBacklightData(std::span<const uint8_t> data, int64_t length);

  private:
    using KeyRecord = std::array<uint8_t, kKeyRecordSize>;
    // A record filled with fill whose head is FF 00 addr01 addr02; none when the key has no flash address.
    std::optional<KeyRecord> keyRecord(int64_t keyValue, int64_t kbProfile, uint8_t fill) const;
    bool sendCommand(const std::array<uint8_t, kReportSize>& command);
    bool sendBulk(std::span<const uint8_t> data, size_t reportsLayout1, size_t reportsOtherLayout);
    // Highest number of codes a combination record may hold in the current bulk layout.
    size_t maxCombinationCodes() const;

    HidHandleRef device_;
    std::atomic<int64_t> versionType_;
    std::atomic<int64_t> deviceStatus_{1};
    int64_t productId_ = 0;
};

}  // namespace keyloom
