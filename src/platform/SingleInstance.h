#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace keyloom {

// One running copy per user: the first start listens on a per-user local socket; a later start finds it,
// asks it to come forward, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy is running (it has been asked to come forward); false when this copy now owns the key.
    bool forwardToRunningInstance();

  Q_SIGNALS:
    void activationRequested();

  private:
    QString key_;
    std::unique_ptr<QLocalServer> server_;
};

// The key of this program for the current user.
QString defaultInstanceKey();

}  // namespace keyloom
