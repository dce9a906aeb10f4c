#pragma once

#include <any>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace keyloom {

// The object of a notification: the device notifications carry a small dictionary ("device", "type", "value").
using NotificationDictionary = std::map<std::string, std::any>;

struct Notification {
    std::string name;
    std::any object;  // usually a NotificationDictionary
};

// Reads an integer entry of a dictionary whatever its stored width; nullopt when absent or not an integer.
std::optional<int64_t> dictionaryInteger(const NotificationDictionary& dict, const std::string& key);
// The notification's object as a dictionary, or nullptr when it holds something else.
const NotificationDictionary* notificationDictionary(const Notification& note);

class NotificationCenter;

// Keeps one observer registered; destroying it removes the observer and waits for calls in flight on other threads.
class Observation {
  public:
    Observation() = default;
    Observation(Observation&& other) noexcept;
    Observation& operator=(Observation&& other) noexcept;
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;
    ~Observation();

    void reset();
    explicit operator bool() const { return id_ != 0; }

  private:
    friend class NotificationCenter;
    Observation(NotificationCenter* center, uint64_t id) : center_(center), id_(id) {}
    NotificationCenter* center_ = nullptr;
    uint64_t id_ = 0;
};

// Post by name with an object; every observer of that name runs synchronously on the posting thread
// before post() returns. Registration and removal are thread-safe.
class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // The returned Observation removes the observer when destroyed: keep it as a member of the owner.
    [[nodiscard]] Observation addObserver(const std::string& name, Handler handler);
    void post(const std::string& name, std::any object = {});

    size_t observerCount(const std::string& name) const;

  private:
    friend class Observation;
    struct Entry {
        uint64_t id;
        std::string name;
        Handler handler;
        bool removed = false;
        std::vector<std::thread::id> inFlight;  // threads currently running this handler
    };
    void remove(uint64_t id);

    mutable std::mutex mutex_;
    std::condition_variable idle_;
    uint64_t nextId_ = 1;
    std::vector<std::shared_ptr<Entry>> entries_;
};

// Names of the device notifications; each string equals its constant's name.
inline constexpr const char* HIDDeviceConnected = "HIDDeviceConnected";
inline constexpr const char* HIDDeviceDisconnected = "HIDDeviceDisconnected";
inline constexpr const char* HIDWirelessConnected = "HIDWirelessConnected";
inline constexpr const char* HIDWirelessDisconnected = "HIDWirelessDisconnected";
inline constexpr const char* HIDDeviceDataReceived = "HIDDeviceDataReceived";

}  // namespace keyloom
