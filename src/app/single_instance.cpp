#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace dorodure {

namespace {

const QByteArray kRaiseMessage("raise\n");

QString userName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        user = qEnvironmentVariable("LOGNAME", QStringLiteral("user"));
    }
    return user;
}

}  // namespace

SingleInstance::SingleInstance(QString key, QObject* parent)
    : QObject(parent), key_(std::move(key)) {}

SingleInstance::~SingleInstance() {
    if (server_ != nullptr) {
        server_->close();
    }
}

QString SingleInstance::keyFor(const QString& dataFolder) {
    const QByteArray folder = QDir(dataFolder).canonicalPath().toUtf8();
    const QByteArray digest =
        QCryptographicHash::hash(folder.isEmpty() ? dataFolder.toUtf8() : folder,
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QStringLiteral("dorodure-%1-%2").arg(userName(), QString::fromLatin1(digest));
}

bool SingleInstance::raiseRunningCopy(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kRaiseMessage);
    socket.waitForBytesWritten(timeoutMs);
    // The running copy answers once it has taken the request.
    socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    if (server_->listen(key_)) {
        return true;
    }
    // A socket left by a copy that crashed: nobody answers on it, so remove it.
    QLocalServer::removeServer(key_);
    return server_->listen(key_);
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("raise")) {
                socket->write("ok\n");
                socket->flush();
                emit raiseRequested();
            }
        });
    }
}

}  // namespace dorodure
