#include "platform/NotificationCenter.h"

#include <algorithm>

namespace keyloom {

std::optional<int64_t> dictionaryInteger(const NotificationDictionary& dict, const std::string& key) {
    auto it = dict.find(key);
    if (it == dict.end()) return std::nullopt;
    const std::any& v = it->second;
    if (auto p = std::any_cast<int64_t>(&v)) return *p;
    if (auto p = std::any_cast<uint8_t>(&v)) return *p;
    if (auto p = std::any_cast<int>(&v)) return *p;
    if (auto p = std::any_cast<unsigned>(&v)) return *p;
    if (auto p = std::any_cast<int32_t>(&v)) return *p;
    if (auto p = std::any_cast<uint32_t>(&v)) return *p;
    if (auto p = std::any_cast<int16_t>(&v)) return *p;
    if (auto p = std::any_cast<uint16_t>(&v)) return *p;
    if (auto p = std::any_cast<int8_t>(&v)) return *p;
    if (auto p = std::any_cast<uint64_t>(&v)) {
        if (*p <= static_cast<uint64_t>(INT64_MAX)) return static_cast<int64_t>(*p);
    }
    return std::nullopt;
}

const NotificationDictionary* notificationDictionary(const Notification& note) {
    return std::any_cast<NotificationDictionary>(&note.object);
}

Observation::Observation(Observation&& other) noexcept : center_(other.center_), id_(other.id_) {
    other.center_ = nullptr;
    other.id_ = 0;
}

Observation& Observation::operator=(Observation&& other) noexcept {
    if (this != &other) {
        reset();
        center_ = other.center_;
        id_ = other.id_;
        other.center_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Observation::~Observation() {
    reset();
}

void Observation::reset() {
    if (center_ && id_) center_->remove(id_);
    center_ = nullptr;
    id_ = 0;
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

Observation NotificationCenter::addObserver(const std::string& name, Handler handler) {
    std::lock_guard lock(mutex_);
    auto entry = std::make_shared<Entry>();
    entry->id = nextId_++;
    entry->name = name;
    entry->handler = std::move(handler);
    entries_.push_back(entry);
    return Observation(this, entry->id);
}

void NotificationCenter::post(const std::string& name, std::any object) {
    const Notification note{name, std::move(object)};
    std::vector<std::shared_ptr<Entry>> targets;
    {
        std::lock_guard lock(mutex_);
        for (auto& e : entries_)
            if (e->name == name) targets.push_back(e);
    }
    const auto self = std::this_thread::get_id();
    for (auto& e : targets) {
        {
            std::lock_guard lock(mutex_);
            if (e->removed) continue;
            e->inFlight.push_back(self);
        }
        // Handlers run outside the lock so they may post or (un)register themselves.
        e->handler(note);
        {
            std::lock_guard lock(mutex_);
            auto it = std::find(e->inFlight.begin(), e->inFlight.end(), self);
            if (it != e->inFlight.end()) e->inFlight.erase(it);
        }
        idle_.notify_all();
    }
}

void NotificationCenter::remove(uint64_t id) {
    std::unique_lock lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(), [id](const auto& e) { return e->id == id; });
    if (it == entries_.end()) return;
    auto entry = *it;
    entries_.erase(it);
    entry->removed = true;
    // Wait for calls running on other threads; a handler removing itself on its own thread must not wait for itself.
    const auto self = std::this_thread::get_id();
    idle_.wait(lock, [&] {
        return std::all_of(entry->inFlight.begin(), entry->inFlight.end(), [&](auto t) { return t == self; });
    });
}

size_t NotificationCenter::observerCount(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return std::count_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e->name == name; });
}

}  // namespace keyloom
