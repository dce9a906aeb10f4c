#include "VelkorDevice/Quorvath.h"

#include <QString>
#include <mutex>

#include "VelkorDevice/QuorvathFlashMap.h"

namespace keyloom {

namespace {

using Report = std::array<uint8_t, Quorvath::kReportSize>;

constexpr uint8_t kVersionCommand = 0xF4;
constexpr uint8_t kResetCommand = 0xF6;
constexpr uint8_t kReportRateCommand = 0xF7;
constexpr uint8_t kSettingCommand = 0xFE;
constexpr uint8_t kSleepSetting = 0x0E;
constexpr uint8_t kUSBSleep = 0x01;
constexpr uint8_t kWirelessSleep = 0x02;
constexpr int64_t kVersionReadSize = 32;

// Firmware that reports this build takes seven data bytes in every bulk report.
constexpr const char* kSevenByteFirmware = "180905";
constexpr int64_t kSevenByteLayout = 1;

// Report counts of the two bulk writes, per layout: fixed by the keyboard, not by the caller's length.
constexpr size_t kKeyRecordReportsLayout1 = 36;
constexpr size_t kKeyRecordReportsOther = 42;
constexpr size_t kBacklightReportsLayout1 = 58;
constexpr size_t kBacklightReportsOther = 67;

constexpr uint8_t kRecordHead = 0xFF;
constexpr uint8_t kCombinationMark = 0x01;
constexpr uint8_t kPress = 0x01;
constexpr uint8_t kRelease = 0x80;
constexpr size_t kCombinationStart = 5;

bool fitsU16(int64_t v) {
    return v >= 0 && v <= 0xFFFF;
}

// Number of leading data bytes a bulk write of this many reports carries.
size_t bulkSpan(bool layout1, size_t reports) {
    return layout1 ? 7 * reports : 7 + 6 * (reports - 1);
}

std::string decodeVersion(const std::vector<uint8_t>& bytes) {
    // Invalid sequences become U+FFFD rather than failing the read.
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QChar(u'\0')) ++begin;
    while (end > begin && text.at(end - 1) == QChar(u'\0')) --end;
    return text.mid(begin, end - begin).toStdString();
}

}  // namespace

Quorvath::Quorvath(HidHandleRef device, int64_t versionType) : device_(std::move(device)), versionType_(versionType) {
    if (device_) productId_ = integerProperty(*device_, "ProductID");
}

std::string Quorvath::getVersion() {
    const Report command{kReportId, kVersionCommand, 0, 0, 0, 0, 0, 0};
    const std::optional<std::vector<uint8_t>> reply = getDeviceData(command, kVersionReadSize);
    if (!reply) return "Quorvath";
    std::string text = decodeVersion(*reply);
    if (text.find(kSevenByteFirmware) != std::string::npos) versionType_.store(kSevenByteLayout);
    return text;
}

void Quorvath::resetKeyboard() {
    sendCommand({kReportId, kResetCommand, 0, 0, 0, 0, 0, 0});
}

void Quorvath::setKeyboardReport(int64_t report) {
    if (report < 0 || report > 0xFF) return;
    sendCommand({kReportId, kReportRateCommand, static_cast<uint8_t>(report), 0, 0, 0, 0, 0});
}

void Quorvath::setUSBSleepTime(int64_t time) {
    if (!fitsU16(time)) return;
    sendCommand({kReportId, kSettingCommand, kSleepSetting, kUSBSleep, static_cast<uint8_t>(time >> 8),
                 static_cast<uint8_t>(time & 0xFF), 0, 0});
}

void Quorvath::setWirelessSleepTime(int64_t backlightTime, int64_t wirelessTime) {
    if (!fitsU16(backlightTime) || !fitsU16(wirelessTime)) return;
    sendCommand({kReportId, kSettingCommand, kSleepSetting, kWirelessSleep, static_cast<uint8_t>(backlightTime >> 8),
                 static_cast<uint8_t>(backlightTime & 0xFF), static_cast<uint8_t>(wirelessTime >> 8),
                 static_cast<uint8_t>(wirelessTime & 0xFF)});
}

bool Quorvath::sendDeviceData(std::span<const uint8_t> data) {
    if (data.size() < kReportSize) return false;
    Report command;
    std::copy_n(data.begin(), kReportSize, command.begin());
    return sendCommand(command);
}

bool Quorvath::sendDeviceData(std::span<const uint8_t> data, int64_t /*length*/) {
    return sendBulk(data, kKeyRecordReportsLayout1, kKeyRecordReportsOther);
}

bool Quorvath::setBacklightData(std::span<const uint8_t> data, int64_t /*length*/) {
    return sendBulk(data, kBacklightReportsLayout1, kBacklightReportsOther);
}

std::optional<std::vector<uint8_t>> Quorvath::getDeviceData(std::span<const uint8_t> data, int64_t size) {
    if (deviceStatus_.load() == 0 || !device_ || data.size() < kReportSize || size < 0) return std::nullopt;
    std::scoped_lock lock(device_->exchangeLock());
    if (device_->setReport(HidReportType::Feature, kReportId, data.data(), kReportSize) != kHidSuccess)
        return std::nullopt;
    std::vector<uint8_t> result;
    const int64_t reads = size / static_cast<int64_t>(kReportSize);
    result.reserve(static_cast<size_t>(reads) * kReportSize);
    for (int64_t i = 0; i < reads; ++i) {
        Report buffer;
        std::copy_n(data.begin(), kReportSize, buffer.begin());
        size_t length = kReportSize;
        if (device_->getReport(HidReportType::Feature, kReportId, buffer.data(), length) != kHidSuccess)
            return std::nullopt;
        result.insert(result.end(), buffer.begin(), buffer.begin() + std::min(length, kReportSize));
    }
    return result;
}

bool Quorvath::getKeyFlashAddress(int64_t keyValue, int64_t kbProfile, uint8_t& addr01, uint8_t& addr02) const {
    const std::optional<int64_t> slot = quorvathFlashSlot(productId_, keyValue, kbProfile);
    if (!slot || *slot < 0 || *slot > kMaxSlot) return false;
    addr01 = static_cast<uint8_t>(*slot / 16);
    addr02 = static_cast<uint8_t>((*slot % 16) * 16);
    return true;
}

std::optional<Quorvath::KeyRecord> Quorvath::keyRecord(int64_t keyValue, int64_t kbProfile, uint8_t fill) const {
    uint8_t addr01 = 0;
    uint8_t addr02 = 0;
    if (!getKeyFlashAddress(keyValue, kbProfile, addr01, addr02)) return std::nullopt;
    KeyRecord record;
    record.fill(fill);
    record[0] = kRecordHead;
    record[1] = 0x00;
    record[2] = addr01;
    record[3] = addr02;
    return record;
}

void Quorvath::setKeyDefaultValue(int64_t keyValue, int64_t kbProfile) {
    if (const auto record = keyRecord(keyValue, kbProfile, 0x00)) sendDeviceData(*record, kKeyRecordSize);
}

void Quorvath::setKeyDisable(int64_t keyValue, int64_t kbProfile) {
    if (const auto record = keyRecord(keyValue, kbProfile, 0xFF)) sendDeviceData(*record, kKeyRecordSize);
}

size_t Quorvath::maxCombinationCodes() const {
    // The record's last byte is at 4n + 4 and must be among the bytes the layout sends.
    const bool layout1 = versionType_.load() == kSevenByteLayout;
    const size_t sent = bulkSpan(layout1, layout1 ? kKeyRecordReportsLayout1 : kKeyRecordReportsOther);
    return (sent - 5) / 4;
}

void Quorvath::setKeyNewValue(int64_t keyValue, std::span<const int64_t> combKeyValue, int64_t kbProfile, bool write) {
    if (combKeyValue.size() > maxCombinationCodes()) return;
    for (const int64_t code : combKeyValue)
        if (code < 0 || code > 0xFF) return;
    std::optional<KeyRecord> record = keyRecord(keyValue, kbProfile, 0x00);
    if (!record) return;
    (*record)[1] = write ? 0x00 : 0x01;
    (*record)[4] = kCombinationMark;
    const size_t n = combKeyValue.size();
    for (size_t i = 0; i < n; ++i) {
        const auto code = static_cast<uint8_t>(combKeyValue[i]);
        (*record)[kCombinationStart + 2 * i] = code;
        (*record)[kCombinationStart + 2 * i + 1] = kPress;
        (*record)[kCombinationStart + 2 * n + 2 * i] = code;
        (*record)[kCombinationStart + 2 * n + 2 * i + 1] = kRelease;
    }
    sendDeviceData(*record, kKeyRecordSize);
}

bool Quorvath::sendCommand(const Report& command) {
    if (deviceStatus_.load() == 0 || !device_) return false;
    std::scoped_lock lock(device_->exchangeLock());
    return device_->setReport(HidReportType::Feature, kReportId, command.data(), kReportSize) == kHidSuccess;
}

bool Quorvath::sendBulk(std::span<const uint8_t> data, size_t reportsLayout1, size_t reportsOtherLayout) {
    if (deviceStatus_.load() == 0 || !device_) return false;
    const bool layout1 = versionType_.load() == kSevenByteLayout;
    const size_t reports = layout1 ? reportsLayout1 : reportsOtherLayout;
    if (data.size() < bulkSpan(layout1, reports)) return false;

    std::scoped_lock lock(device_->exchangeLock());
    bool allAccepted = true;
    Report report;
    report[0] = kReportId;
    // First report: seven data bytes in both layouts.
    std::copy_n(data.begin(), 7, report.begin() + 1);
    allAccepted &= device_->setReport(HidReportType::Output, kReportId, report.data(), kReportSize) == kHidSuccess;
    size_t offset = 7;
    for (size_t k = 1; k < reports; ++k) {
        if (layout1) {
            std::copy_n(data.begin() + offset, 7, report.begin() + 1);
            offset += 7;
        } else {
            report[1] = 0x00;
            std::copy_n(data.begin() + offset, 6, report.begin() + 2);
            offset += 6;
        }
        // Every report goes out even after a failure: the keyboard counts them.
        allAccepted &= device_->setReport(HidReportType::Output, kReportId, report.data(), kReportSize) == kHidSuccess;
    }
    return allAccepted;
}

}  // namespace keyloom
