#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <string>
#include <utility>

namespace keyloom::test {

// Another program holding the write lock of a database file (the sqlite_lock_holder program) until it is released
// or the object goes. Suites that use it call keyloom_uses_lock_holder() in their CMakeLists.txt.
class LockHolder {
  public:
    explicit LockHolder(const std::string& path) {
        process_.start(QStringLiteral(KEYLOOM_LOCK_HOLDER), {QString::fromStdString(path)});
        held_ = process_.waitForStarted() && readLine() == "held";
    }
    // The lock is gone when it returns.
    ~LockHolder() {
        release(0);
        process_.waitForFinished();
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool held() const { return held_; }
    // The lock goes `ms` milliseconds from now; returns at once.
    void release(int ms) {
        if (std::exchange(released_, true)) return;
        process_.write(QByteArray::fromStdString("release " + std::to_string(ms) + "\n"));
        process_.waitForBytesWritten();
    }

  private:
    std::string readLine() {
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        return process_.readLine().trimmed().toStdString();
    }
    QProcess process_;
    bool held_ = false;
    bool released_ = false;
};

}  // namespace keyloom::test
