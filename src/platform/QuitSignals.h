#pragma once

#include <QObject>
#include <csignal>
#include <iterator>
#include <memory>

class QSocketNotifier;

namespace keyloom {

// SIGTERM, SIGINT and SIGHUP become a call on the main thread's event loop, so that the program can end the way its
// quit item ends it (the loop ends, threads are joined, the instance socket is removed) instead of dying on the spot.
// The handler only writes to a pipe. A second signal of the same kind gets the default action: a quit that hangs can
// still be ended. One object at a time; the destructor puts the previous handlers back.
class QuitSignals : public QObject {
    Q_OBJECT

  public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

  Q_SIGNALS:
    void received(int signalNumber);

  private:
    void readPipe();

    int pipe_[2] = {-1, -1};
    struct sigaction previous_[std::size(kSignals)] = {};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace keyloom
