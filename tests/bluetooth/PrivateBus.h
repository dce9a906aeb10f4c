#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace keyloom::test {

// A D-Bus daemon of the test's own, on a socket in a temporary folder; stopped with the object.
class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !address_.isEmpty(); }
    // A new connection to the bus under this name; closed when the bus object goes.
    QDBusConnection connect(const QString& name);

  private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList connections_;
};

}  // namespace keyloom::test
