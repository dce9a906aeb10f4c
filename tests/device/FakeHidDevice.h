#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/hid/HidDevice.h"

namespace keyloom::test {

// A scriptable HID handle: records every transfer, answers reads from a queue, fails chosen transfers.
class FakeHidDevice : public HidDevice {
  public:
    struct Transfer {
        bool isSet;
        HidReportType type;
        int64_t reportId;
        std::vector<uint8_t> bytes;
    };

    explicit FakeHidDevice(int64_t productId = 0) {
        if (productId != 0) properties_["ProductID"] = productId;
    }

    HidPropertyValue property(std::string_view key) const override {
        std::scoped_lock lock(mutex_);
        const auto it = properties_.find(std::string(key));
        return it == properties_.end() ? HidPropertyValue{} : it->second;
    }

    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override {
        std::unique_lock lock(mutex_);
        transfers_.push_back({true, type, reportId, std::vector<uint8_t>(bytes, bytes + length)});
        const bool fail = failing_.count(transfers_.size()) > 0;
        yieldIfAsked(lock);
        return fail ? kHidErrorIO : kHidSuccess;
    }

    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override {
        std::unique_lock lock(mutex_);
        transfers_.push_back({false, type, reportId, {}});
        const bool fail = failing_.count(transfers_.size()) > 0;
        yieldIfAsked(lock);
        if (fail) return kHidErrorIO;
        if (!replies_.empty()) {
            const std::vector<uint8_t> reply = replies_.front();
            replies_.pop_front();
            length = std::min(length, reply.size());
            std::copy_n(reply.begin(), length, buffer);
        }
        return kHidSuccess;
    }

    bool removed() const override { return false; }

    void setProperty(const std::string& key, HidPropertyValue value) {
        std::scoped_lock lock(mutex_);
        properties_[key] = std::move(value);
    }
    // The n-th transfer (counted from 1, sets and gets alike) fails.
    void failTransfer(size_t n) {
        std::scoped_lock lock(mutex_);
        failing_.insert(n);
    }
    void queueReply(std::vector<uint8_t> reply) {
        std::scoped_lock lock(mutex_);
        replies_.push_back(std::move(reply));
    }
    // Gives other threads a chance to run inside every transfer, which would expose an unlocked exchange.
    void yieldInTransfers(bool on) { yield_ = on; }

    std::vector<Transfer> transfers() const {
        std::scoped_lock lock(mutex_);
        return transfers_;
    }

  private:
    void yieldIfAsked(std::unique_lock<std::mutex>& lock) {
        if (!yield_) return;
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
    }

    mutable std::mutex mutex_;
    std::map<std::string, HidPropertyValue> properties_;
    std::vector<Transfer> transfers_;
    std::set<size_t> failing_;
    std::deque<std::vector<uint8_t>> replies_;
    std::atomic<bool> yield_{false};
};

}  // namespace keyloom::test
