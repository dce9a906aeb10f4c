#pragma once

#include <QString>
#include <any>
#include <functional>
#include <map>

class QWidget;

namespace keyloom {

// Transitions between screens, by identifier. The screen that starts a transition depends on no destination: the
// program's entry registers the editors and the account screens, tests register their own. A transition nobody
// registered does nothing. Main thread only.
class SegueRegistry {
  public:
    // source: the screen performing the transition; sender: what it hands over (the destination knows the type).
    using Perform = std::function<void(QWidget* source, const std::any& sender)>;

    static SegueRegistry& shared();

    // A later registration under the same identifier replaces the earlier one; an empty perform removes it.
    void registerSegue(const QString& identifier, Perform perform);
    void unregisterSegue(const QString& identifier);
    bool isRegistered(const QString& identifier) const;
    // Removes and returns the transition under identifier (empty when none).
    Perform take(const QString& identifier);

    // False, doing nothing, when no transition is registered under identifier.
    bool perform(const QString& identifier, QWidget* source, const std::any& sender = {}) const;

  private:
    std::map<QString, Perform> segues_;
};

// Registers a transition for the lifetime of a scope (tests), putting back what was registered before.
class ScopedSegue {
  public:
    ScopedSegue(QString identifier, SegueRegistry::Perform perform);
    ~ScopedSegue();
    ScopedSegue(const ScopedSegue&) = delete;
    ScopedSegue& operator=(const ScopedSegue&) = delete;

  private:
    QString identifier_;
    SegueRegistry::Perform previous_;
};

}  // namespace keyloom
