#include "Customized/SegueRegistry.h"

namespace keyloom {

SegueRegistry& SegueRegistry::shared() {
    static SegueRegistry registry;
    return registry;
}

void SegueRegistry::registerSegue(const QString& identifier, Perform perform) {
    if (!perform) {
        segues_.erase(identifier);
        return;
    }
    segues_[identifier] = std::move(perform);
}

void SegueRegistry::unregisterSegue(const QString& identifier) { segues_.erase(identifier); }

bool SegueRegistry::isRegistered(const QString& identifier) const { return segues_.count(identifier) != 0; }

SegueRegistry::Perform SegueRegistry::take(const QString& identifier) {
    auto it = segues_.find(identifier);
    if (it == segues_.end()) return {};
    Perform perform = std::move(it->second);
    segues_.erase(it);
    return perform;
}

bool SegueRegistry::perform(const QString& identifier, QWidget* source, const std::any& sender) const {
    auto it = segues_.find(identifier);
    if (it == segues_.end()) return false;
    // A copy: the transition may register or remove transitions while it runs.
    Perform perform = it->second;
    perform(source, sender);
    return true;
}

ScopedSegue::ScopedSegue(QString identifier, SegueRegistry::Perform perform) : identifier_(std::move(identifier)) {
    auto& registry = SegueRegistry::shared();
    previous_ = registry.take(identifier_);
    registry.registerSegue(identifier_, std::move(perform));
}

ScopedSegue::~ScopedSegue() { SegueRegistry::shared().registerSegue(identifier_, std::move(previous_)); }

}  // namespace keyloom
