#pragma once

#include <sys/types.h>

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace keyloom {

// One running copy per user: the first start listens on a local socket in the user's own runtime folder; a later
// start finds it, asks it to come forward, and ends. Only a listener of the same user is asked (its credentials are
// checked), and only the same user's starts are heard: another user's listener does not stop the program. A plain
// Unix socket, so that the start needs no network library.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy of the same user is running (it has been asked to come forward, and a line says so);
    // false when this copy now owns the key, or runs without it because its folder is unusable (a line says why).
    bool forwardToRunningInstance();

  Q_SIGNALS:
    void activationRequested();

  private:
    bool listen();
    void acceptStarts();

    QString key_;
    std::string path_;  // the socket's file while this copy listens on it
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// The key of this program for the current user: the path of its socket in $XDG_RUNTIME_DIR when that is the user's
// own and closed to others, else in a folder of our own (mode 0700) in the temporary folder.
QString defaultInstanceKey();

// The user on the other end of a connected local socket; nullopt when it cannot be told. Tests put a fake peer's user
// in place.
std::optional<uid_t> peerUserId(qintptr socketDescriptor);
void setPeerUserIdForTesting(std::optional<uid_t> uid);

}  // namespace keyloom
