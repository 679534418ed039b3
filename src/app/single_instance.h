#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace dorodure {

// Lets one copy of the program run per user and data folder. The first copy
// listens on a local socket; a second start connects to it, asks it to come
// to the front and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QString key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name for a data folder: the user and a digest of the folder.
    static QString keyFor(const QString& dataFolder);

    // Asks a running copy to come to the front; true when one answered.
    bool raiseRunningCopy(int timeoutMs = 1000) const;
    // Starts listening as the running copy; false when that failed.
    bool listen();

  signals:
    // A second start asked this copy to come to the front.
    void raiseRequested();

  private:
    void onConnection();

    QString key_;
    QLocalServer* server_ = nullptr;
};

}  // namespace dorodure
